// The axis square.
#include "widgets/SAixsCtrl.h"
#include <algorithm>
#include "widgets/SWidgetPaint.h"

namespace SKEIN {

namespace {

const COLORREF kBevelShadow = 0xff9d9da1;
const COLORREF kBevelLight = 0xffffffff;
const COLORREF kInnerLight = 0xffe2eff1;
const COLORREF kFace = 0xffffffff;
const COLORREF kCross = 0xff000000;
// Half the length of a cross bar, and the margin that keeps the cross inside the bevel.
const int kHalfBar = 7;
const int kEdge = 3;
const int kMaxAxis = 65535;

// The cross position along one side of size pixels, kept inside the bevel; a value outside
// 0..65535 counts as the nearer end.
int CrossPosition(int size, int value)
{
    UINT scaled = static_cast<UINT>(std::min(std::max(value, 0), kMaxAxis));
    int position = static_cast<int>((static_cast<UINT>(size) * scaled) >> 16);
    return std::min(std::max(position, kEdge), size - kEdge - 1);
}

// The start and end (exclusive) of the bar through position, cut at the bevel.
void BarEnds(int position, int size, int* first, int* last)
{
    *first = position < kHalfBar + kEdge ? kEdge : position - kHalfBar;
    *last = position + kHalfBar > size - kEdge - 1 ? size - kEdge - 1 : position + kHalfBar + 1;
}

} // namespace

SAixsCtrl::SAixsCtrl() : m_axisX(0), m_axisY(0) {}

POINT SAixsCtrl::CrossCentre(int width, int height) const
{
    return POINT{CrossPosition(width, m_axisX), CrossPosition(height, m_axisY)};
}

void SAixsCtrl::SetAxisXY(int x, int y)
{
    RECT inner;
    ComputeInnerRect(&inner);
    int width = inner.right - inner.left;
    int height = inner.bottom - inner.top;
    POINT before = CrossCentre(width, height);
    m_axisX = x;
    m_axisY = y;
    POINT after = CrossCentre(width, height);
    // The poll pushes the same reading many times a second: redraw only a moved cross.
    if (before.x != after.x || before.y != after.y)
        InvalidateArea(&inner);
}

void SAixsCtrl::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT inner;
    ComputeInnerRect(&inner);
    const int l = inner.left, t = inner.top, r = inner.right - 1, b = inner.bottom - 1;
    {
        SPenScope pen(rt, PS_SOLID, kBevelShadow, 1);
        POINT outer[3] = {{l, b}, {l, t}, {r, t}};
        rt->DrawLines(outer, 3);
        POINT inside[3] = {{l + 1, b - 1}, {l + 1, t + 1}, {r - 1, t + 1}};
        rt->DrawLines(inside, 3);
    }
    {
        SPenScope pen(rt, PS_SOLID, kBevelLight, 1);
        POINT outer[3] = {{r, t}, {r, b}, {l, b}};
        rt->DrawLines(outer, 3);
    }
    {
        SPenScope pen(rt, PS_SOLID, kInnerLight, 1);
        POINT bottom[2] = {{r - 1, b - 1}, {l + 1, b - 1}};
        rt->DrawLines(bottom, 2);
    }
    RECT face = {l + 2, t + 2, inner.right - 2, inner.bottom - 2};
    rt->FillSolidRect(&face, kFace);

    int width = inner.right - inner.left;
    int height = inner.bottom - inner.top;
    // Below 7 pixels the bevel leaves no room for a cross.
    if (width >= 2 * kEdge + 1 && height >= 2 * kEdge + 1) {
        POINT centre = CrossCentre(width, height);
        int x1, x2, y1, y2;
        BarEnds(centre.x, width, &x1, &x2);
        BarEnds(centre.y, height, &y1, &y2);
        SPenScope pen(rt, PS_SOLID, kCross, 1);
        POINT across[2] = {{l + x1, t + centre.y}, {l + x2, t + centre.y}};
        rt->DrawLines(across, 2);
        POINT down[2] = {{l + centre.x, t + y1}, {l + centre.x, t + y2}};
        rt->DrawLines(down, 2);
    }
    EndPaintState(rt, &saved);
}

BOOL SAixsCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    Paint(reinterpret_cast<IRenderTarget*>(wParam));
    return TRUE;
}

} // namespace SKEIN
