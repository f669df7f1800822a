#pragma once
// The function-test sub-page of a model's device page: on each poll tick, while the page is
// selected and the main window is in front, it shows the polled joystick state and, while
// button 1 is held, lets the motors run at the levels of the stick's deflection. One class
// for both designs of the page; the controls are found once, when the page is attached, and
// a control the page lacks is skipped. Controls redraw only what changed.
#include "core/SEventArgs.h"
#include "core/SString.h"
#include "handlers/CMyHandlerBase.h"
#include "pages/FunctionTestView.h"

namespace SKEIN {
class SAixsCtrl;
class SLampCtrl;
class SPovCtrlEx;
class SProgress;
} // namespace SKEIN

class CFuctionTestHandler : public CMyHandlerBase {
public:
    // A page of the older design takes only commands from windows inside it; one of model
    // 6891 also takes commands that come from no window.
    enum SenderRule { kSendersInside, kSendersInsideOrNone };

    // leftStrength and rightStrength: the model's vibration strengths in its settings record,
    // read on every tick.
    CFuctionTestHandler(const FunctionTestDesign& design, USHORT productId, const UINT32& leftStrength,
                        const UINT32& rightStrength, SenderRule senders);

    void AttachPage(SKEIN::SWindow* page) override;
    // A command from the page is taken with no effect; anything else is left alone.
    BOOL HandlePageEvent(SKEIN::EventArgs* evt);
    // Set by the device handler exactly while this sub-page is selected.
    void SetActive(bool active) { m_active = active; }
    bool IsActive() const { return m_active; }
    // The poll tick.
    void Tick();

private:
    // The main window is shown, not minimised, and in front.
    bool HostInFront() const;
    void Show(const FunctionTestView& view);
    void ShowConnection(bool connected);

    const FunctionTestDesign& m_design;
    USHORT m_productId;
    const UINT32& m_leftStrength;
    const UINT32& m_rightStrength;
    SenderRule m_senders;
    bool m_active = false;

    SKEIN::SWindow* m_status = nullptr;
    SKEIN::SAixsCtrl* m_stick = nullptr;
    SKEIN::SPovCtrlEx* m_hat = nullptr;
    SKEIN::SPovCtrlEx* m_secondHat = nullptr;
    SKEIN::SLampCtrl* m_lamps[FunctionTestDesign::kMaxLamps] = {};
    SKEIN::SStringW m_lampTexts[FunctionTestDesign::kMaxLamps];
    SKEIN::SLampCtrl* m_modeLamps[FunctionTestDesign::kMaxModeLamps] = {};
    SKEIN::SProgress* m_bars[FunctionTestDesign::kMaxBars] = {};
    int m_shownConnection = -1; // the status picture shown: 1 connected, 0 not, -1 none yet
};
