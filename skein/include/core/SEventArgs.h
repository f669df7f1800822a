#pragma once
// The base of every event object: its sender and two words of dispatch state.
#include "core/SObjRef.h"
#include "core/SObject.h"

namespace SKEIN {

class EventArgs : public TObjRefImpl<IObjRef>, public SObjectImpl<IObject> {
public:
    // sender may be null; idFrom and nameFrom are read from it here.
    explicit EventArgs(IObject* sender)
        : bubbleUp(true), handled(0), idFrom(sender ? sender->GetId() : 0),
          nameFrom(sender ? sender->GetName() : nullptr), sender(sender)
    {
    }

    BOOL MatchesClassName(const wchar_t* name) const override { return name && wcscmp(name, L"eventargs") == 0; }
    const wchar_t* XmlClassName() const override { return L"eventargs"; }

    bool bubbleUp;        // a subscriber clears it to stop the event
    int handled;          // subscribers that reported the event as handled
    int idFrom;           // the sender's id
    const wchar_t* nameFrom; // the sender's name
    IObject* sender;
};

} // namespace SKEIN

// Inside the body of an event class: its id (EventID) and its event name.
#define SKEIN_EVENT_CLASS(eventId, eventName)                                                       \
public:                                                                                             \
    enum { EventID = eventId };                                                                     \
    static const wchar_t* EventName() { return eventName; }                                         \
    int GetId() const override { return EventID; }                                                  \
    const wchar_t* GetName() const override { return eventName; }                                   \
    const wchar_t* XmlClassName() const override { return eventName; }                              \
    BOOL MatchesClassName(const wchar_t* name) const override                                       \
    {                                                                                               \
        return (name && wcscmp(name, eventName) == 0) || EventArgs::MatchesClassName(name);         \
    }

// An event class without fields of its own.
#define SKEIN_SIMPLE_EVENT(ClassName, eventId, eventName)               \
    class ClassName : public EventArgs {                                \
        SKEIN_EVENT_CLASS(eventId, eventName)                           \
        explicit ClassName(IObject* sender) : EventArgs(sender) {}      \
    };
