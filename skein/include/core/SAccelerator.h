#pragma once
// Keyboard accelerators: one key with its modifiers, its text form ("Ctrl+Shift+F5"), and the
// interfaces of the windows that react to one and of the manager that dispatches them.
#include <windows.h>
#include "core/SString.h"

namespace SKEIN {

// Modifier bits of an accelerator.
enum { kAccelAlt = 1, kAccelCtrl = 2, kAccelShift = 4 };

class CAccelerator {
public:
    CAccelerator(UINT vk, bool ctrl, bool alt, bool shift);
    // From the packed form (modifiers << 16) | key.
    explicit CAccelerator(DWORD packed);
    ~CAccelerator() {}

    WORD GetModifier() const { return m_modifier; }
    WORD GetKey() const { return m_key; }
    DWORD Packed() const { return (static_cast<DWORD>(m_modifier) << 16) | m_key; }

    // Modifier words and a key name joined by "+", without regard to case; 0 when the text
    // is longer than 99 characters. The first token that is no modifier is the key.
    static DWORD ParseText(const SStringW& text);
    // The virtual key of a key name; 0 for a name that is not a key.
    static WORD TranslateKeyName(const SStringW& token);
    // The display name of a key; empty for keys without one.
    static SStringW KeyName(WORD vk);
    // "Ctrl+", "Shift+", "Alt+" as set, then the key's name; "无" for 0.
    static SStringW FormatText(DWORD packed);

private:
    WORD m_modifier;
    WORD m_key;
};

struct IAcceleratorTarget {
    // True when the accelerator was consumed.
    virtual bool OnAcceleratorPressed(const CAccelerator& accel) = 0;
};

struct IAcceleratorMgr {
    // A target registered twice is called twice.
    virtual void RegisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) = 0;
    // Removes the first registration of target for accel; true when there was one.
    virtual bool UnregisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) = 0;
    // Removes the first registration of target from every accelerator.
    virtual void UnregisterAccelerators(IAcceleratorTarget* target) = 0;
};

} // namespace SKEIN
