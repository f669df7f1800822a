#pragma once
// Push buttons: skin-drawn, with an optional hover fade on the host's timeline, space/return
// activation and a keyboard accelerator; the image button draws no focus frame.
#include "core/SAccelerator.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

// XML "button".
class SButton : public SWindow, public IAcceleratorTarget, public ITimelineHandler {
    SKEIN_CLASS_NAME(SWindow, L"button")

public:
    SButton();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Then a text ending in "(&X)" gives the accelerator Alt+X.
    BOOL LoadFromXml(pugi::xml_node node) override;
    void NotifyStateChanged(DWORD oldState, DWORD newState) override;
    UINT QueryWantedKeys(const MSG*) override { return 8; }
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL NeedsRedrawOnStateChange() const override { return TRUE; }
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnTimelineTick() override;

    // The accelerator's action: a command unless the button is disabled, or hidden while
    // disableAccelIfInvisible is set; returns whether it acted.
    bool OnAcceleratorPressed(const CAccelerator& accel) override;
    // The registered accelerator (packed), 0 for none.
    DWORD GetAccelerator() const { return m_accel; }

    // 255 while no fade runs.
    int GetFadeAlpha() const { return m_fadeAlpha; }

protected:
    void Paint(IRenderTarget* rt);
    void StopFade();
    bool OnKey(UINT msg, WPARAM key);
    // Moves the registration with the host's focus manager from the old accelerator to code.
    void SetAccelerator(DWORD code);

    DWORD m_accel;
    int m_animate;
    WORD m_fadeAlpha;
    BYTE m_animateStep;
    int m_disableAccelIfInvisible;
};

// XML "imgbtn".
class SImageButton : public SButton {
    SKEIN_CLASS_NAME(SButton, L"imgbtn")

public:
    SImageButton();
};

} // namespace SKEIN
