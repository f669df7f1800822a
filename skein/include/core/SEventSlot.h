#pragma once
// Subscribers of events: the interface and the member-function subscriber.
#include <new>
#include <type_traits>
#include "core/SEventArgs.h"

namespace SKEIN {

class ISlotFunctor {
public:
    virtual ~ISlotFunctor() {}
    // true: the subscriber handled the event.
    virtual bool Invoke(EventArgs* evt) = 0;
    virtual ISlotFunctor* Clone() const = 0;
    virtual bool Equals(const ISlotFunctor& other) const = 0;
    virtual UINT32 Kind() const = 0;
};

// Calls obj->*handler with the event. A is EventArgs (any event) or one event class, whose
// events are the only ones passed on.
template <class T, class A = EventArgs>
class MemberFunctionSlot : public ISlotFunctor {
public:
    typedef bool (T::*Handler)(A* evt);

    MemberFunctionSlot(Handler handler, T* obj) : m_handler(handler), m_obj(obj) {}

    bool Invoke(EventArgs* evt) override
    {
        if constexpr (!kUntyped) {
            if (evt->GetId() != A::EventID)
                return false;
        }
        return (m_obj->*m_handler)(static_cast<A*>(evt));
    }

    ISlotFunctor* Clone() const override { return new (std::nothrow) MemberFunctionSlot(m_handler, m_obj); }

    bool Equals(const ISlotFunctor& other) const override
    {
        if (other.Kind() != Kind())
            return false;
        const MemberFunctionSlot* same = dynamic_cast<const MemberFunctionSlot*>(&other);
        return same && same->m_handler == m_handler && same->m_obj == m_obj;
    }

    // 1 for any event; the event id plus 3 for one event class.
    UINT32 Kind() const override
    {
        if constexpr (kUntyped)
            return 1;
        else
            return static_cast<UINT32>(A::EventID) + 3;
    }

private:
    static constexpr bool kUntyped = std::is_same<A, EventArgs>::value;

    Handler m_handler;
    T* m_obj;
};

// Subscriber(&CMyDlg::OnCommand, this)
template <class T, class A>
MemberFunctionSlot<T, A> Subscriber(bool (T::*handler)(A*), T* obj)
{
    return MemberFunctionSlot<T, A>(handler, obj);
}

} // namespace SKEIN
