// The program's axis bar.
#include "widgets/SProgressExV.h"
#include <algorithm>

namespace SKEIN {

RECT SProgressExV::PositionRect(const RECT& inner) const
{
    RECT position = inner;
    if (m_maxValue == m_minValue) {
        position.right = position.left;
        return position;
    }
    if (m_vertical) {
        // Grows from the bottom; a value outside the range stays inside the bar.
        INT64 top = inner.bottom - ValuePortion(inner.bottom - inner.top);
        position.top = static_cast<LONG>(std::min<INT64>(std::max<INT64>(top, inner.top), inner.bottom));
    } else {
        INT64 x = inner.left + ValuePortion(inner.right - inner.left);
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
        if (m_showPercent && !m_vertical)
            DrawPercent(rt, inner);
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
