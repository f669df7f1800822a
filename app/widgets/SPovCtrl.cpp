// The hat display with a deflection-scaled arrow.
#include "widgets/SPovCtrl.h"
#include <cmath>
#include <cstdlib>
#include "widgets/SWidgetPaint.h"

namespace SKEIN {

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const int kSectorSize = 4500;
const int kArrowPoints = 7;

// The arrow of the hat reading value (below 36000) at the fraction scale of the half sizes
// from the centre, its size also scaled; the seven corners of the polygon.
void BuildArrow(int value, double scale, POINT centre, int halfWidth, int halfHeight, POINT* points)
{
    double angle = (value / 100) * kWidgetPi / 180;
    double s = std::sin(angle);
    double c = std::cos(angle);
    double x0 = std::trunc(centre.x + s * halfWidth * scale);
    double y0 = std::trunc(centre.y - c * halfHeight * scale);
    double x1 = std::trunc(centre.x + s * halfWidth * scale - s * 10 * scale);
    double y1 = std::trunc(centre.y - c * halfHeight * scale + c * 10 * scale);
    const double corners[kArrowPoints][2] = {
        {x0 + s * 6 * scale, y0 - c * 6 * scale}, {x0 + c * 6 * scale, y0 + s * 6 * scale},
        {x0 + c * 3 * scale, y0 + s * 3 * scale}, {x1 + c * 3 * scale, y1 + s * 3 * scale},
        {x1 - c * 3 * scale, y1 - s * 3 * scale}, {x0 - c * 3 * scale, y0 - s * 3 * scale},
        {x0 - c * 6 * scale, y0 - s * 6 * scale},
    };
    for (int i = 0; i < kArrowPoints; ++i)
        points[i] = POINT{static_cast<LONG>(corners[i][0]), static_cast<LONG>(corners[i][1])};
}

// The magnitude of a deflection in the hat's sector: the axis along an edge direction, the
// mean of both along a diagonal, 0 when centred.
int SectorMagnitude(int value, int x, int y)
{
    switch (static_cast<unsigned>(value) / kSectorSize) {
    case 0:
    case 4: return std::abs(y);
    case 2:
    case 6: return std::abs(x);
    case 1:
    case 3:
    case 5:
    case 7: return (std::abs(x) + std::abs(y)) / 2;
    default: return 0;
    }
}

} // namespace

SPovCtrl::SPovCtrl() : m_currentRegion(nullptr), m_previousRegion(nullptr), m_povValue(0), m_magnitude(0.0) {}

SPovCtrl::~SPovCtrl()
{
    DeleteRegions();
}

void SPovCtrl::DeleteRegions()
{
    if (m_previousRegion && m_previousRegion != m_currentRegion)
        ::DeleteObject(m_previousRegion);
    if (m_currentRegion)
        ::DeleteObject(m_currentRegion);
    m_previousRegion = nullptr;
    m_currentRegion = nullptr;
}

void SPovCtrl::SetPovState(int value, int x, int y)
{
    int hat = value & 0xFFFF;
    int magnitude = SectorMagnitude(hat, x, y);
    // The poll pushes the same reading many times a second: nothing changes on screen then.
    if (m_previousRegion && hat == m_povValue && magnitude == m_magnitude)
        return;
    m_povValue = hat;
    m_magnitude = magnitude;
    if (static_cast<unsigned>(hat) < kHatCentred) {
        RECT area;
        ComputeInnerRect(&area);
        ::InflateRect(&area, -12, -12);
        POINT centre = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        POINT points[kArrowPoints + 1];
        BuildArrow(hat, magnitude / 100.0, centre, (area.right - area.left) / 2, (area.bottom - area.top) / 2,
                   points);
        points[kArrowPoints] = points[0];
        m_currentRegion = ::CreatePolygonRgn(points, kArrowPoints + 1, ALTERNATE);
    }
    InvalidateArrow();
}

void SPovCtrl::InvalidateArrow()
{
    // Centred before any arrow was computed: nothing was drawn that must go.
    if (!m_currentRegion)
        return;
    RECT box;
    if (m_previousRegion && m_previousRegion != m_currentRegion) {
        ::GetRgnBox(m_previousRegion, &box);
        ::InflateRect(&box, 3, 3);
        InvalidateArea(&box);
        ::DeleteObject(m_previousRegion);
    }
    ::GetRgnBox(m_currentRegion, &box);
    ::InflateRect(&box, 3, 3);
    InvalidateArea(&box);
    m_previousRegion = m_currentRegion;
}

void SPovCtrl::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    HDC dc = rt->GetDC(0);
    double scale = m_magnitude / 100;
    HPEN pen = ::CreatePen(PS_SOLID, 1, kRed);
    HBRUSH brush = ::CreateSolidBrush(kRed);
    RECT area;
    ComputeInnerRect(&area);
    area.right -= 1;
    area.bottom -= 1;
    ::InflateRect(&area, -10, -10);
    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    ::Ellipse(dc, area.left, area.top, area.right, area.bottom);
    POINT centre = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    HGDIOBJ oldBrush = ::SelectObject(dc, brush);
    ::Ellipse(dc, centre.x - 5, centre.y - 5, centre.x + 6, centre.y + 6);
    if (static_cast<unsigned>(m_povValue) < kHatCentred) {
        POINT points[kArrowPoints];
        BuildArrow(m_povValue, scale, centre, (area.right - area.left) / 2, (area.bottom - area.top) / 2, points);
        ::Polygon(dc, points, kArrowPoints);
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
    rt->ReleaseDC(dc);
    EndPaintState(rt, &saved);
}

BOOL SPovCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_PAINT:
        *result = 0;
        Paint(reinterpret_cast<IRenderTarget*>(wParam));
        return TRUE;
    case WM_DESTROY:
        // The default handling still runs: it raises the destroy event and frees the children.
        DeleteRegions();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
