#include "core/SEventSet.h"

namespace SKEIN {

SEvent::SEvent(int id, const wchar_t* name) : m_id(id), m_name(name) {}

SEvent::~SEvent()
{
    for (int i = 0; i < m_subscribers.Count(); ++i)
        delete m_subscribers[i];
}

bool SEvent::Subscribe(const ISlotFunctor& subscriber)
{
    if (FindSubscriber(subscriber) >= 0)
        return false;
    ISlotFunctor* clone = subscriber.Clone();
    if (!clone)
        return false;
    if (m_subscribers.Add(clone) < 0) {
        delete clone;
        return false;
    }
    return true;
}

void SEvent::Fire(EventArgs& evt)
{
    for (int i = m_subscribers.Count() - 1; i >= 0; --i) {
        if (m_subscribers[i]->Invoke(&evt)) {
            ++evt.handled;
            if (!evt.bubbleUp)
                break;
        }
    }
}

int SEvent::FindSubscriber(const ISlotFunctor& subscriber) const
{
    for (int i = 0; i < m_subscribers.Count(); ++i) {
        if (m_subscribers[i]->Equals(subscriber))
            return i;
    }
    return -1;
}

SEventSet::~SEventSet()
{
    for (int i = 0; i < m_events.Count(); ++i)
        delete m_events[i];
}

void SEventSet::DeclareEvent(int id, const wchar_t* name)
{
    if (FindEvent(id))
        return;
    SEvent* evt = new (std::nothrow) SEvent(id, name);
    if (evt && m_events.Add(evt) < 0)
        delete evt;
}

bool SEventSet::AddSubscriber(int id, const ISlotFunctor& subscriber)
{
    SEvent* evt = FindEvent(id);
    return evt && evt->Subscribe(subscriber);
}

void SEventSet::FireEvent(EventArgs& evt)
{
    if (m_muted)
        return;
    if (SEvent* declared = FindEvent(evt.GetId()))
        declared->Fire(evt);
}

bool SEventSet::SetScriptHandler(const SStringW& eventName, const SStringW& handler)
{
    SEvent* evt = FindEventByName(eventName);
    if (!evt)
        return false;
    evt->SetScriptHandler(handler);
    return true;
}

SStringW SEventSet::GetScriptHandler(const SStringW& eventName) const
{
    SEvent* evt = FindEventByName(eventName);
    return evt ? evt->ScriptHandler() : SStringW();
}

SEvent* SEventSet::FindEvent(int id) const
{
    for (int i = 0; i < m_events.Count(); ++i) {
        if (m_events[i]->Id() == id)
            return m_events[i];
    }
    return nullptr;
}

SEvent* SEventSet::FindEventByName(const SStringW& name) const
{
    for (int i = 0; i < m_events.Count(); ++i) {
        if (m_events[i]->Name() == name)
            return m_events[i];
    }
    return nullptr;
}

} // namespace SKEIN
