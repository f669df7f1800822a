#pragma once
// Push buttons: skin-drawn, with an optional hover fade on the host's timeline and
// space/return activation; the image button draws no focus frame.
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

// XML "button".
class SButton : public SWindow, public ITimelineHandler {
    SKEIN_CLASS_NAME(SWindow, L"button")

public:
    SButton();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void NotifyStateChanged(DWORD oldState, DWORD newState) override;
    UINT QueryWantedKeys(const MSG*) override { return 8; }
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL NeedsRedrawOnStateChange() const override { return TRUE; }
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnTimelineTick() override;

    // The accelerator's action: a command unless the button is disabled, or hidden while
    // disableAccelIfInvisible is set; returns whether it acted.
    bool OnAcceleratorPressed();

    // 255 while no fade runs.
    int GetFadeAlpha() const { return m_fadeAlpha; }

protected:
    void Paint(IRenderTarget* rt);
    void StopFade();
    bool OnKey(UINT msg, WPARAM key);

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
