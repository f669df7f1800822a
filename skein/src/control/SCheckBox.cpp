// Check box, radio box and toggle.
#include "control/SCheckBox.h"
#include <algorithm>
#include "control/SCtrlAttr.h"
#include "res.mgr/SSkinPoolMgr.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const int kBoxGap = 4;
const int kIconLeft = 0, kIconCenter = 0x100, kIconRight = 0x200;
const int kIconTop = 0, kIconMiddle = 0x1000, kIconBottom = 0x2000;

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Where an extent of size lands between low and high: at low, centred or at high.
int Place(int low, int high, int size, int where, int centre, int end)
{
    if (where == centre)
        return (low + high - size) / 2;
    return where == end ? high - size : low;
}

void TintSkin(ISkinObj* skin, COLORREF color)
{
    if (skin)
        skin->ApplyColorize(color);
}

} // namespace

// ---- SCheckBox ----

SCheckBox::SCheckBox()
    : m_boxSkin(ctrl::FindSystemSkin(kSysSkinCheckbox, 100)),
      m_focusSkin(ctrl::FindSystemSkin(kSysSkinFocusCheckbox, 100))
{
    m_flags |= kWndFocusable;
    m_style.ApplyAttribute(SStringW(L"align"), SStringW(L"left"), TRUE);
}

HRESULT SCheckBox::ApplySkinAttribute(const SStringW& name, const SStringW& value)
{
    (Is(name, L"skin") ? m_boxSkin : m_focusSkin) = ctrl::FindSkin(value, GetScale());
    return S_FALSE;
}

HRESULT SCheckBox::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"skin") || Is(name, L"focusSkin"))
        ApplySkinAttribute(name, value);
    else if (Is(name, L"checked"))
        SetCheckedState(ctrl::ParseBool(value), !loading);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

void SCheckBox::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    TintSkin(m_boxSkin, color);
    TintSkin(m_focusSkin, color);
}

void SCheckBox::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    ctrl::RescaleSkin(m_boxSkin, scale);
    ctrl::RescaleSkin(m_focusSkin, scale);
}

RECT SCheckBox::ComputeBoxRect() const
{
    RECT inner;
    ComputeInnerRect(&inner);
    SIZE size = ctrl::SkinSize(m_boxSkin);
    int top = (inner.top + inner.bottom - size.cy) / 2;
    return RECT{inner.left, top, inner.left + size.cx, top + size.cy};
}

void SCheckBox::ComputeTextRect(RECT* out) const
{
    GetInnerRect(out);
    out->left += ctrl::SkinSize(m_boxSkin).cx + kBoxGap;
}

SIZE SCheckBox::ComputePreferredSize(const RECT* available)
{
    SIZE size = SWindow::ComputePreferredSize(available);
    SIZE box = ctrl::SkinSize(m_boxSkin);
    size.cx += box.cx + kBoxGap;
    size.cy = std::max(size.cy, box.cy);
    return size;
}

int SCheckBox::BoxState() const
{
    int state = 0;
    if (m_state & kStateDisabled)
        state = 3;
    else if (m_state & kStatePushed)
        state = 2;
    else if (m_state & kStateHover)
        state = 1;
    return TestChecked() ? state + 4 : state;
}

void SCheckBox::PaintFocusIndicator(IRenderTarget* rt)
{
    if (!m_focusSkin) {
        SWindow::PaintFocusIndicator(rt);
        return;
    }
    RECT box = ComputeBoxRect();
    m_focusSkin->DrawByState(rt, &box, 0);
}

void SCheckBox::Paint(IRenderTarget* rt)
{
    if (m_boxSkin) {
        RECT box = ComputeBoxRect();
        m_boxSkin->DrawByState(rt, &box, BoxState());
    }
    DrawTextContent(rt);
}

BOOL SCheckBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_LBUTTONDBLCLK: return SWindow::HandleMessage(WM_LBUTTONDOWN, wParam, lParam, result);
    case WM_LBUTTONUP: {
        POINT pt = PointOf(lParam);
        if ((m_state & kStatePushed) && ::PtInRect(&m_windowRect, pt))
            SetCheckedState(!TestChecked());
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) {
            SetCheckedState(!TestChecked());
            FireCommand();
        }
        return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

// ---- SRadioBox ----

SRadioBox::SRadioBox() : m_iconAlign(kIconLeft), m_iconValign(kIconMiddle)
{
    m_boxSkin = ctrl::FindSystemSkin(kSysSkinRadio, 100);
    m_focusSkin = ctrl::FindSystemSkin(kSysSkinFocusRadio, 100);
}

HRESULT SRadioBox::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const wchar_t* const kAligns[] = {L"left", L"center", L"right"};
    static const wchar_t* const kVAligns[] = {L"top", L"middle", L"bottom"};
    if (Is(name, L"skin") || Is(name, L"focusSkin")) {
        ApplySkinAttribute(name, value);
    } else if (Is(name, L"checked")) {
        BOOL checked = !(value == L"0");
        bool muted = m_eventSet.IsMuted();
        if (loading)
            m_eventSet.SetMuted(true);
        SetCheckedState(checked, !loading);
        m_eventSet.SetMuted(muted);
    } else if (Is(name, L"iconAlign") || Is(name, L"iconValign")) {
        bool horizontal = Is(name, L"iconAlign");
        int code = ctrl::ParseWord(value, horizontal ? kAligns : kVAligns, 3);
        if (code < 0)
            return E_FAIL;
        (horizontal ? m_iconAlign : m_iconValign) = code * (horizontal ? kIconCenter : kIconMiddle);
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_FALSE);
}

RECT SRadioBox::ComputeBoxRect() const
{
    RECT inner;
    ComputeInnerRect(&inner);
    SIZE size = ctrl::SkinSize(m_boxSkin);
    int left = Place(inner.left, inner.right, size.cx, m_iconAlign, kIconCenter, kIconRight);
    int top = Place(inner.top, inner.bottom, size.cy, m_iconValign, kIconMiddle, kIconBottom);
    return RECT{left, top, left + size.cx, top + size.cy};
}

void SRadioBox::ComputeTextRect(RECT* out) const
{
    GetInnerRect(out);
    SIZE size = ctrl::SkinSize(m_boxSkin);
    if (m_iconAlign == kIconLeft)
        out->left += size.cx + kBoxGap;
    else if (m_iconAlign == kIconRight)
        out->right -= size.cx + kBoxGap;
    if (m_iconValign == kIconTop)
        out->top += size.cy + kBoxGap;
    else if (m_iconValign == kIconBottom)
        out->bottom -= size.cy + kBoxGap;
}

void SRadioBox::PaintFocusIndicator(IRenderTarget* rt)
{
    if ((m_flags & kWndDrawFocusRect) && IsFocusable())
        SCheckBox::PaintFocusIndicator(rt);
}

SWindow* SRadioBox::FindCheckedGroupMember()
{
    SWindow* parent = GetParentWindow();
    if (!parent)
        return TestChecked() ? this : nullptr;
    for (SWindow* child = parent->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
        if (child->MatchesClassName(L"radio") && child->TestChecked())
            return child;
    }
    return nullptr;
}

void SRadioBox::CheckSilently(SWindow* window, BOOL checked)
{
    SEventSet* events = window->GetEventSet();
    bool muted = events->IsMuted();
    events->SetMuted(true);
    window->SetCheckedState(checked);
    events->SetMuted(muted);
}

void SRadioBox::BeforeStateChange(DWORD oldState, DWORD newState)
{
    if ((oldState & kStateChecked) || !(newState & kStateChecked))
        return;
    SWindow* member = FindCheckedGroupMember();
    if (member && member != this)
        CheckSilently(member, FALSE);
}

BOOL SRadioBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_LBUTTONUP:
        SWindow::HandleMessage(msg, wParam, lParam, result);
        if (!TestChecked())
            SetCheckedState(TRUE);
        return TRUE;
    case WM_SETFOCUS: {
        SWindow::HandleMessage(msg, wParam, lParam, result);
        if (lParam != 2 && !TestChecked())
            SetCheckedState(TRUE);
        RECT inner;
        ComputeInnerRect(&inner);
        InvalidateArea(&inner);
        return TRUE;
    }
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN: return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SCheckBox::HandleMessage(msg, wParam, lParam, result);
    }
}

// ---- SToggle ----

SToggle::SToggle() : m_toggled(0), m_toggleSkin(ctrl::FindSystemSkin(kSysSkinTreeToggle, 100)) {}

HRESULT SToggle::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"toggled"))
        m_toggled = ctrl::ParseInt(value);
    else if (Is(name, L"skin"))
        m_toggleSkin = ctrl::FindSkin(value, GetScale());
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_OK);
}

void SToggle::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    TintSkin(m_toggleSkin, color);
}

void SToggle::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    ctrl::RescaleSkin(m_toggleSkin, scale);
}

SIZE SToggle::ComputePreferredSize(const RECT*)
{
    return ctrl::SkinSize(m_toggleSkin);
}

void SToggle::Paint(IRenderTarget* rt)
{
    if (!m_toggleSkin)
        return;
    int state = (m_state & kStatePushed) ? 2 : (m_state & kStateHover) ? 1 : 0;
    if (m_toggled)
        state += 3;
    m_toggleSkin->DrawByState(rt, &m_windowRect, state);
}

BOOL SToggle::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    if (msg == WM_PAINT) {
        Paint(reinterpret_cast<IRenderTarget*>(wParam));
        return TRUE;
    }
    if (msg == WM_LBUTTONUP && ::PtInRect(&m_windowRect, PointOf(lParam)))
        m_toggled = !m_toggled;
    return SWindow::HandleMessage(msg, wParam, lParam, result);
}

} // namespace SKEIN
