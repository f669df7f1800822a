#pragma once
// The hot-key control ("hotkey"): the user presses a key combination and the control shows it
// as text ("Ctrl+Shift+F5"). A modifier combination that the layout declares invalid is
// replaced by a default one; every change fires EventSetHotKey. While focused it shows a
// one-pixel caret after the text.
#include "core/SAccelerator.h"
#include "core/SWnd.h"

namespace SKEIN {

class EventSetHotKey : public EventArgs {
    SKEIN_EVENT_CLASS(23000, L"on_hot_key_set_event")
    explicit EventSetHotKey(IObject* sender) : EventArgs(sender), key(0), modifiers(0) {}
    WORD key;
    WORD modifiers;
};

// Bits of "invalidComb": one per combination of held modifiers.
enum {
    kCombNone = 0x01,
    kCombShift = 0x02,
    kCombCtrl = 0x04,
    kCombAlt = 0x08,
    kCombCtrlShift = 0x10,
    kCombAltShift = 0x20,
    kCombAltCtrl = 0x40,
    kCombAltCtrlShift = 0x80,
};

class SHotKeyCtrl : public SWindow, public CAccelerator {
    SKEIN_CLASS_NAME(SWindow, L"hotkey")

public:
    SHotKeyCtrl();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SStringW QueryText(bool raw = false) const override;
    // Every key but Tab, and the system keys.
    UINT QueryWantedKeys(const MSG*) override { return 0x8000FFFD; }
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    bool IsCapturing() const { return m_capturing; }

private:
    void SetCombination(WORD modifiers, WORD key);
    // Modifiers from the keys held now, or the default combination for an invalid one; fires
    // EventSetHotKey.
    void UpdateModifiers();
    void ApplyModifiers(WORD held);
    void EndCapturing();
    void UpdateCaret();
    SIZE TextExtent(const SStringW& text) const;
    int CreateHotKey();
    void OnKeyDown(WPARAM vk);
    void OnKeyUp(WPARAM vk);
    void OnFocus(bool gained);
    void Paint(IRenderTarget* rt);
    void Changed();

    WORD m_invalidComb;
    WORD m_defCombKey;
    bool m_capturing;
    // Holds the font current at creation, to measure the text.
    SRefPtr<IRenderTarget> m_measure;
};

} // namespace SKEIN
