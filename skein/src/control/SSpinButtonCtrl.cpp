// The spin button and its buddy.
#include "control/SSpinButtonCtrl.h"
#include <windowsx.h>
#include <climits>
#include <cwchar>
#include "control/SCtrlAttr.h"
#include "control/SRichEdit.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const UINT kRepeatTimer = 1;
const UINT kRepeatElapse = 200;
// The buddy edit's notification that its text changed.
const int kEventBuddyTextChanged = EventRENotify::EventID;
enum { kSkinNormal = 0, kSkinHover = 1, kSkinPushed = 2 };

// Signed decimal after leading white space; reading stops at the first non-digit, no digits
// give 0.
int ParseDecimal(const SStringW& text)
{
    return static_cast<int>(wcstol(text.c_str() ? text.c_str() : L"", nullptr, 10));
}

int Saturate(long long value)
{
    return static_cast<int>(value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value);
}

} // namespace

// Calls the spin's buddy handler while the spin lives: the buddy may outlive it.
class SSpinButtonCtrl::BuddySlot : public ISlotFunctor {
public:
    explicit BuddySlot(SwndHandle spin) : m_spin(spin) {}
    bool Invoke(EventArgs* evt) override
    {
        // Handles are never reused: a live one is still the spin.
        SWindow* spin = SWindowMgr::GetWindow(m_spin);
        return spin && static_cast<SSpinButtonCtrl*>(spin)->OnBuddyTextChanged(evt);
    }
    ISlotFunctor* Clone() const override { return new (std::nothrow) BuddySlot(m_spin); }
    bool Equals(const ISlotFunctor& other) const override
    {
        const BuddySlot* same = dynamic_cast<const BuddySlot*>(&other);
        return same && same->m_spin == m_spin;
    }
    UINT32 Kind() const override { return kEventBuddyTextChanged + 3; }

private:
    SwndHandle m_spin;
};

SSpinButtonCtrl::SSpinButtonCtrl()
    : m_max(100), m_min(0), m_value(0), m_step(1), m_circle(1), m_activePart(kPartNone), m_writingBuddy(false)
{
    m_upSkin = ctrl::FindSystemSkin(kSysSkinSpinUp, 100);
    m_downSkin = ctrl::FindSystemSkin(kSysSkinSpinDown, 100);
    m_eventSet.DeclareEvent(EventSpinValue2String::EventID, EventSpinValue2String::EventName());
}

HRESULT SSpinButtonCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT hr = S_FALSE;
    if (Is(name, L"max")) {
        m_max = ctrl::ParseInt(value);
    } else if (Is(name, L"min")) {
        m_min = ctrl::ParseInt(value);
    } else if (Is(name, L"step")) {
        m_step = ctrl::ParseInt(value);
    } else if (Is(name, L"circle")) {
        m_circle = ctrl::ParseInt(value);
    } else if (Is(name, L"value")) {
        m_value = ParseDecimal(value);
        if (!loading)
            Notify(false);
        hr = S_OK;
    } else if (Is(name, L"buddy")) {
        m_buddyName = ResolveNamedString(value.c_str());
    } else if (Is(name, L"upskin")) {
        SetSkin(m_upSkin, value);
        hr = S_OK;
    } else if (Is(name, L"downSkin")) {
        SetSkin(m_downSkin, value);
        hr = S_OK;
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, hr);
}

void SSpinButtonCtrl::SetSkin(SRefPtr<ISkinObj>& skin, const SStringW& name)
{
    // A name that finds no skin keeps the one drawn so far: both halves always draw.
    if (ISkinObj* found = ctrl::FindSkin(name, GetScale()))
        skin = found;
}

SIZE SSpinButtonCtrl::ComputePreferredSize(const RECT* available)
{
    int scale = GetScale();
    SIZE size = {ctrl::SkinSize(m_downSkin).cx, available ? available->bottom - available->top : 0};
    if (m_layoutParam && m_layoutParam->IsSpecifiedSize(kOrientHorz))
        size.cx = m_layoutParam->GetSpecifiedSize(kOrientHorz).ToPixels(scale);
    if (m_layoutParam && m_layoutParam->IsSpecifiedSize(kOrientVert))
        size.cy = m_layoutParam->GetSpecifiedSize(kOrientVert).ToPixels(scale);
    return size;
}

void SSpinButtonCtrl::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    for (ISkinObj* skin : {m_upSkin.Get(), m_downSkin.Get()}) {
        if (skin)
            skin->ApplyColorize(color);
    }
}

SWindow* SSpinButtonCtrl::FindBuddy() const
{
    return m_parent && !m_buddyName.IsEmptyText() ? m_parent->LookupChildByName(m_buddyName, -1) : nullptr;
}

void SSpinButtonCtrl::Notify(bool isInit)
{
    SWindow* buddy = FindBuddy();
    if (!buddy)
        return;
    EventSpinValue2String evt(this);
    evt.isInit = isInit;
    evt.value = m_value;
    evt.text.Printf(L"%d", m_value);
    RaiseEvent(evt);
    m_writingBuddy = true;
    buddy->AssignText(evt.text);
    m_writingBuddy = false;
}

void SSpinButtonCtrl::StepOnce()
{
    // In 64 bits, so that a step past the end of int lands at the range's end, not around it.
    long long value = m_value;
    if (m_activePart == kPartDown) {
        value -= m_step;
        if (value < m_min)
            value = m_circle ? m_max : m_min;
    } else {
        value += m_step;
        if (value > m_max)
            value = m_circle ? m_min : m_max;
    }
    m_value = Saturate(value);
    Notify(false);
}

bool SSpinButtonCtrl::OnBuddyTextChanged(EventArgs* evt)
{
    SWindow* buddy = dynamic_cast<SWindow*>(evt->sender);
    if (!buddy || m_writingBuddy)
        return true;
    int number = ParseDecimal(buddy->QueryText(true));
    if (number > m_max || number < m_min)
        return true;
    m_value = number;
    EventSpinValue2String changed(this);
    changed.value = m_value;
    changed.text.Printf(L"%d", m_value);
    RaiseEvent(changed);
    return true;
}

void SSpinButtonCtrl::TrackPart(POINT pt)
{
    RECT inner;
    GetInnerRect(&inner);
    int part = kPartNone;
    if (::PtInRect(&inner, pt))
        part = pt.y > inner.top + (inner.bottom - inner.top) / 2 ? kPartDown : kPartUp;
    if (part == m_activePart)
        return;
    m_activePart = part;
    InvalidateArea();
}

int SSpinButtonCtrl::CreateSpin()
{
    int result = HandleCreate();
    if (result != 0)
        return result;
    Notify(true);
    if (SWindow* buddy = FindBuddy())
        buddy->GetEventSet()->AddSubscriber(kEventBuddyTextChanged, BuddySlot(m_handle));
    return 0;
}

void SSpinButtonCtrl::Paint(IRenderTarget* rt)
{
    RECT upper;
    GetInnerRect(&upper);
    RECT lower = upper;
    upper.bottom = lower.top = upper.top + (upper.bottom - upper.top) / 2;
    int state = StateIndex();
    // The half under the mouse shows the window's state; while pushed, the other half shows
    // hover, or both normal with the mouse outside.
    auto halfState = [this, state](int half) {
        if (m_activePart == half || state != kSkinPushed)
            return state;
        return m_activePart == kPartNone ? static_cast<int>(kSkinNormal) : static_cast<int>(kSkinHover);
    };
    if (m_upSkin)
        m_upSkin->DrawByState(rt, &upper, halfState(kPartUp));
    if (m_downSkin)
        m_downSkin->DrawByState(rt, &lower, halfState(kPartDown));
}

BOOL SSpinButtonCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    *result = 0;
    switch (msg) {
    case WM_CREATE: *result = CreateSpin(); return TRUE;
    case WM_PAINT:
        SWindow::HandleMessage(msg, wParam, lParam, result);
        Paint(reinterpret_cast<IRenderTarget*>(wParam));
        return TRUE;
    case WM_MOUSEMOVE: TrackPart(pt); return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        HandleLeftButtonDown(static_cast<UINT>(wParam), pt);
        // The press's own point decides the direction: no move may have come before it.
        TrackPart(pt);
        StepOnce();
        InvalidateArea();
        StartHostTimer(kRepeatTimer, kRepeatElapse);
        return TRUE;
    case WM_TIMER:
        if (m_activePart != kPartNone)
            StepOnce();
        return TRUE;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        SWindow::HandleMessage(msg, wParam, lParam, result);
        StopHostTimer(kRepeatTimer);
        InvalidateArea();
        return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
