#pragma once
// The events a window declares, with their subscribers and script handlers.
#include "core/SDynArray.h"
#include "core/SEventSlot.h"

namespace SKEIN {

class SEvent {
public:
    SEvent(int id, const wchar_t* name);
    ~SEvent();
    SEvent(const SEvent&) = delete;
    SEvent& operator=(const SEvent&) = delete;

    int Id() const { return m_id; }
    const SStringW& Name() const { return m_name; }
    const SStringW& ScriptHandler() const { return m_scriptHandler; }
    void SetScriptHandler(const SStringW& handler) { m_scriptHandler = handler; }

    // Stores a clone; false when an equal subscriber is already present.
    bool Subscribe(const ISlotFunctor& subscriber);
    // Newest subscriber first; a handled event whose bubbleUp is cleared stops the walk.
    void Fire(EventArgs& evt);
    int FindSubscriber(const ISlotFunctor& subscriber) const;
    int SubscriberCount() const { return m_subscribers.Count(); }

private:
    int m_id;
    SStringW m_name;
    SStringW m_scriptHandler;
    SDynArray<ISlotFunctor*> m_subscribers;
};

class SEventSet {
public:
    SEventSet() : m_muted(false) {}
    ~SEventSet();
    SEventSet(const SEventSet&) = delete;
    SEventSet& operator=(const SEventSet&) = delete;

    // Nothing when an event with this id is already declared.
    void DeclareEvent(int id, const wchar_t* name);
    // false when the event is not declared or the subscriber is already there.
    bool AddSubscriber(int id, const ISlotFunctor& subscriber);
    // Calls the subscribers of the event's id; nothing while muted or for an undeclared id.
    void FireEvent(EventArgs& evt);
    bool SetScriptHandler(const SStringW& eventName, const SStringW& handler);
    SStringW GetScriptHandler(const SStringW& eventName) const;
    SEvent* FindEvent(int id) const;

    bool IsMuted() const { return m_muted; }
    void SetMuted(bool muted) { m_muted = muted; }

private:
    SEvent* FindEventByName(const SStringW& name) const;

    SDynArray<SEvent*> m_events;
    bool m_muted;
};

} // namespace SKEIN
