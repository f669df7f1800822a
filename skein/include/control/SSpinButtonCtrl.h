#pragma once
// The spin button ("spinButton"): an up half and a down half that step an integer value within
// min..max (wrapping around with "circle") and mirror it into a buddy window found by name among
// the parent's descendants. Holding a half down repeats the step every 200 ms; text typed into
// the buddy sets the value when it lies in range.
#include "core/SWnd.h"

namespace SKEIN {

// Fired before the buddy's text is set; handlers may replace text.
class EventSpinValue2String : public EventArgs {
    SKEIN_EVENT_CLASS(21000, L"on_spin_value2string")
    explicit EventSpinValue2String(IObject* sender) : EventArgs(sender), isInit(false), value(0) {}
    bool isInit; // the notification at creation
    int value;
    SStringW text;
};

class SSpinButtonCtrl : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"spinButton")

public:
    // Halves of the button.
    enum { kPartNone = -1, kPartUp = 0, kPartDown = 1 };

    SSpinButtonCtrl();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL NeedsRedrawOnStateChange() const override { return TRUE; }
    void ApplyColorTint(COLORREF color) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    int GetValue() const { return m_value; }
    int ActivePart() const { return m_activePart; }
    // The descendant of the parent named by "buddy"; null when none.
    SWindow* FindBuddy() const;

private:
    class BuddySlot;

    // Fires EventSpinValue2String and gives the buddy its text; nothing without a buddy.
    void Notify(bool isInit);
    // One step in the direction of the active half.
    void StepOnce();
    void TrackPart(POINT pt);
    int CreateSpin();
    void Paint(IRenderTarget* rt);
    // The buddy's text changed: an in-range number becomes the value.
    bool OnBuddyTextChanged(EventArgs* evt);
    void SetSkin(SRefPtr<ISkinObj>& skin, const SStringW& name);

    int m_max;
    int m_min;
    int m_value;
    int m_step;
    int m_circle;
    SStringW m_buddyName;
    SRefPtr<ISkinObj> m_upSkin;
    SRefPtr<ISkinObj> m_downSkin;
    int m_activePart;
    // While the spin writes the buddy's text, whose change notice must not come back as typing.
    bool m_writingBuddy;
};

} // namespace SKEIN
