// The progress bar.
#include "control/SProgress.h"
#include <algorithm>
#include <cwchar>
#include "control/SCtrlAttr.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SSkinPoolMgr.h"

namespace SKEIN {

using ctrl::Is;

namespace {

const UINT kPercentFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// part of length that value covers in min..max (64-bit product); 0 for an empty range.

} // namespace

SProgress::SProgress() : m_minValue(0), m_maxValue(100), m_value(0), m_showPercent(0), m_vertical(0)
{
    m_flags |= kWndFocusable;
}

HRESULT SProgress::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    if (Is(name, L"bkgndSkin") || Is(name, L"posSkin")) {
        (Is(name, L"bkgndSkin") ? m_bkgndSkin : m_posSkin) = ctrl::FindSkin(value, GetScale());
        result = S_OK;
    } else if (Is(name, L"min")) {
        m_minValue = ctrl::ParseInt(value);
    } else if (Is(name, L"max")) {
        m_maxValue = ctrl::ParseInt(value);
    } else if (Is(name, L"value")) {
        m_value = ctrl::ParseInt(value);
    } else if (Is(name, L"vertical")) {
        m_vertical = ctrl::ParseInt(value);
    } else if (Is(name, L"showPercent")) {
        m_showPercent = ctrl::ParseInt(value);
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

void SProgress::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    for (ISkinObj* skin : {m_bkgndSkin.Get(), m_posSkin.Get()}) {
        if (skin)
            skin->ApplyColorize(color);
    }
}

void SProgress::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    ctrl::RescaleSkin(m_bkgndSkin, scale);
    ctrl::RescaleSkin(m_posSkin, scale);
}

SIZE SProgress::ComputePreferredSize(const RECT*)
{
    RECT margin = m_style.GetMarginRect();
    SIZE skin = ctrl::SkinSize(m_bkgndSkin);
    int across = m_vertical ? margin.left + margin.right + skin.cx : margin.top + margin.bottom + skin.cy;
    int axis = m_vertical ? kOrientVert : kOrientHorz;
    int along = m_vertical ? margin.top + margin.bottom + skin.cy : margin.left + margin.right + skin.cx;
    if (m_layoutParam && m_layoutParam->IsSpecifiedSize(axis))
        along = m_layoutParam->GetSpecifiedSize(axis).ToPixels(GetScale());
    return m_vertical ? SIZE{across, along} : SIZE{along, across};
}

BOOL SProgress::SetClampedValue(int value)
{
    int clamped = std::min(std::max(value, m_minValue), m_maxValue);
    // Values are pushed many times a second: an unchanged one needs no redraw.
    if (clamped == m_value)
        return TRUE;
    m_value = clamped;
    RECT inner;
    ComputeInnerRect(&inner);
    InvalidateArea(&inner);
    return TRUE;
}

int SProgress::OnCreate()
{
    int scale = GetScale();
    if (!m_bkgndSkin)
        m_bkgndSkin = ctrl::FindSystemSkin(m_vertical ? kSysSkinVertProgBkgnd : kSysSkinProgBkgnd, scale);
    if (!m_posSkin)
        m_posSkin = ctrl::FindSystemSkin(m_vertical ? kSysSkinVertProgBar : kSysSkinProgBar, scale);
    return (m_bkgndSkin && m_posSkin) ? 0 : -1;
}

INT64 SProgress::ValuePortion(int length) const
{
    if (m_maxValue == m_minValue)
        return 0;
    return static_cast<INT64>(length) * (static_cast<INT64>(m_value) - m_minValue) /
           (static_cast<INT64>(m_maxValue) - m_minValue);
}

RECT SProgress::FilledRect(const RECT& rect) const
{
    RECT filled = rect;
    if (m_vertical)
        filled.bottom = rect.top + static_cast<LONG>(ValuePortion(rect.bottom - rect.top));
    else
        filled.right = rect.left + static_cast<LONG>(ValuePortion(rect.right - rect.left));
    return filled;
}

void SProgress::DrawPercent(IRenderTarget* rt, RECT rect) const
{
    wchar_t text[16];
    int length = swprintf(text, 16, L"%d%%", static_cast<int>(ValuePortion(100)));
    rt->DrawText(text, length, &rect, kPercentFormat);
}

void SProgress::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT inner;
    ComputeInnerRect(&inner);
    if (m_bkgndSkin)
        m_bkgndSkin->DrawByState(rt, &inner, 0);
    if (m_maxValue != m_minValue) {
        RECT filled = FilledRect(inner);
        if (m_posSkin && m_value > m_minValue)
            m_posSkin->DrawByState(rt, &filled, 0);
        if (m_showPercent && !m_vertical)
            DrawPercent(rt, m_windowRect);
    }
    EndPaintState(rt, &saved);
}

BOOL SProgress::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_CREATE: {
        SWindow::HandleMessage(msg, wParam, lParam, result);
        *result = OnCreate();
        return TRUE;
    }
    case WM_PAINT:
        *result = 0;
        Paint(reinterpret_cast<IRenderTarget*>(wParam));
        return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
