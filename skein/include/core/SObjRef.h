#pragma once
// Intrusive reference counting: the interface, its two implementations, reference
// replacement and the counted pointer.
#include <windows.h>

namespace SKEIN {

struct IObjRef {
    virtual long AddRef() = 0;
    virtual long Release() = 0;
    virtual void OnLastRelease() = 0;
};

// Count starts at 1; the last Release deletes the object through its virtual destructor.
template <class I>
class TObjRefImpl : public I {
public:
    TObjRefImpl() : m_refCount(1) {}
    virtual ~TObjRefImpl() {}

    long AddRef() override { return InterlockedIncrement(&m_refCount); }

    long Release() override
    {
        long count = InterlockedDecrement(&m_refCount);
        if (count == 0)
            OnLastRelease();
        return count;
    }

    void OnLastRelease() override { delete this; }

protected:
    LONG m_refCount;
};

// The same for a counting part that is a base of Owner: the last Release deletes the Owner.
template <class I, class Owner>
class TObjRefImpl2 : public TObjRefImpl<I> {
public:
    void OnLastRelease() override { delete static_cast<Owner*>(this); }
};

// Replaces the reference held in slot; returns the held pointer.
template <class T>
T* AssignObjRef(T*& slot, T* obj)
{
    if (slot != obj) {
        T* old = slot;
        slot = obj;
        if (obj)
            obj->AddRef();
        if (old)
            old->Release();
    }
    return slot;
}

// Holds one reference to a counted object.
template <class T>
class SRefPtr {
public:
    typedef void SRelocatable;

    SRefPtr() : m_obj(nullptr) {}
    // addRef false adopts a reference the caller already owns (a freshly created object).
    SRefPtr(T* obj, bool addRef = true) : m_obj(obj)
    {
        if (m_obj && addRef)
            m_obj->AddRef();
    }
    SRefPtr(const SRefPtr& other) : SRefPtr(other.m_obj) {}
    SRefPtr(SRefPtr&& other) noexcept : m_obj(other.m_obj) { other.m_obj = nullptr; }
    ~SRefPtr()
    {
        if (m_obj)
            m_obj->Release();
    }

    SRefPtr& operator=(const SRefPtr& other)
    {
        AssignObjRef(m_obj, other.m_obj);
        return *this;
    }
    SRefPtr& operator=(T* obj)
    {
        AssignObjRef(m_obj, obj);
        return *this;
    }
    SRefPtr& operator=(SRefPtr&& other) noexcept
    {
        if (this != &other) {
            T* old = m_obj;
            m_obj = other.m_obj;
            other.m_obj = nullptr;
            if (old)
                old->Release();
        }
        return *this;
    }

    T* operator->() const { return m_obj; }
    T& operator*() const { return *m_obj; }
    operator T*() const { return m_obj; }
    T* Get() const { return m_obj; }

    // Takes over a reference without adding one.
    void Attach(T* obj)
    {
        T* old = m_obj;
        m_obj = obj;
        if (old)
            old->Release();
    }
    // Gives up the reference without releasing it.
    T* Detach()
    {
        T* obj = m_obj;
        m_obj = nullptr;
        return obj;
    }

private:
    T* m_obj;
};

} // namespace SKEIN
