// The program's axis bar.
#include "widgets/SProgressExV.h"
#include <algorithm>
#include <cwchar>
#include "widgets/SWidgetPaint.h"

namespace SKEIN {

namespace {

// length * (value - min) / (max - min) in 64 bits; the range must not be empty.
INT64 Portion(int length, int value, int minValue, int maxValue)
{
    return static_cast<INT64>(length) * (static_cast<INT64>(value) - minValue) /
           (static_cast<INT64>(maxValue) - minValue);
}

} // namespace

RECT SProgressExV::PositionRect(const RECT& inner) const
{
    RECT position = inner;
    if (m_maxValue == m_minValue) {
        position.right = position.left;
        return position;
    }
    if (m_vertical) {
        // Grows from the bottom; a value outside the range stays inside the bar.
        INT64 top = inner.bottom - Portion(inner.bottom - inner.top, m_value, m_minValue, m_maxValue);
        position.top = static_cast<LONG>(std::min<INT64>(std::max<INT64>(top, inner.top), inner.bottom));
    } else {
        INT64 x = inner.left + Portion(inner.right - inner.left, m_value, m_minValue, m_maxValue);
        x = std::max<INT64>(std::min<INT64>(x, inner.right - 1), inner.left);
        position.left = static_cast<LONG>(x);
        position.right = position.left + 1;
    }
    return position;
}

void SProgressExV::PaintBar(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT inner;
    ComputeInnerRect(&inner);
    if (m_bkgndSkin)
        m_bkgndSkin->DrawByState(rt, &inner, 0);
    // An empty range has no position: only the background shows.
    if (m_maxValue != m_minValue) {
        RECT position = PositionRect(inner);
        if (m_posSkin)
            m_posSkin->DrawByState(rt, &position, 0);
        if (m_showPercent && !m_vertical) {
            wchar_t text[24];
            int length = swprintf(text, 24, L"%d%%", static_cast<int>(Portion(100, m_value, m_minValue, m_maxValue)));
            rt->DrawText(text, length, &inner, kWidgetCaptionFormat);
        }
    }
    EndPaintState(rt, &saved);
}

BOOL SProgressExV::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SProgress::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    PaintBar(reinterpret_cast<IRenderTarget*>(wParam));
    return TRUE;
}

} // namespace SKEIN
