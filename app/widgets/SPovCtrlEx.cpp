// The hat displays by direction.
#include "widgets/SPovCtrlEx.h"
#include <cmath>
#include "widgets/SWidgetPaint.h"

namespace SKEIN {

namespace {

const COLORREF kOutline = RGB(100, 100, 100);
const COLORREF kActive = RGB(255, 0, 0);
const int kArrowPoints = 7;
const int kDirections = 8;
const int kDegreesPerDirection = 45;
const int kCentredFrame = 8;

// The arrow pointing up from the centre (y axis up), sized by the half width and height.
void BuildUpArrow(int halfWidth, int halfHeight, POINT* points)
{
    const double corners[kArrowPoints][2] = {
        {0.055, 0.47}, {0.055, 0.7}, {0.12, 0.7}, {0, 1}, {-0.12, 0.7}, {-0.055, 0.7}, {-0.055, 0.47},
    };
    for (int i = 0; i < kArrowPoints; ++i)
        points[i] = POINT{static_cast<LONG>(halfWidth * corners[i][0]), static_cast<LONG>(halfHeight * corners[i][1])};
}

// The up arrow turned by angle degrees, drawn around centre with the selected pen and brush.
void DrawArrow(HDC dc, const POINT* upArrow, int angle, POINT centre)
{
    POINT points[kArrowPoints];
    for (int i = 0; i < kArrowPoints; ++i)
        points[i] = upArrow[i];
    SPovCtrlEx::RotatePoints(points, kArrowPoints, angle);
    for (POINT& point : points)
        point = POINT{centre.x + point.x, centre.y - point.y};
    ::Polygon(dc, points, kArrowPoints);
}

} // namespace

SPovCtrlEx::SPovCtrlEx() : m_povValue(0) {}

void SPovCtrlEx::SetPovValue(int value)
{
    // The poll pushes the same reading many times a second: redraw only a change.
    if (static_cast<unsigned>(value) == m_povValue)
        return;
    m_povValue = static_cast<unsigned>(value);
    RECT inner;
    ComputeInnerRect(&inner);
    InvalidateArea(&inner);
}

void SPovCtrlEx::RotatePoints(POINT* points, int count, int angle)
{
    double radians = angle * 2 * kWidgetPi / 360;
    double s = std::sin(radians);
    double c = std::cos(radians);
    for (int i = 0; i < count; ++i) {
        double x = points[i].x;
        double y = points[i].y;
        points[i] = POINT{static_cast<LONG>(s * y + c * x), static_cast<LONG>(c * y - s * x)};
    }
}

void SPovCtrlEx::DrawPov(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    HDC dc = rt->GetDC(0);
    HPEN pen = ::CreatePen(PS_SOLID, 1, kOutline);
    HBRUSH active = ::CreateSolidBrush(kActive);
    RECT area;
    ComputeInnerRect(&area);
    area.right -= 1;
    area.bottom -= 1;
    POINT upArrow[kArrowPoints];
    BuildUpArrow((area.right - area.left) / 2, (area.bottom - area.top) / 2, upArrow);
    ::InflateRect(&area, -10, -10);
    POINT centre = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};

    HGDIOBJ oldPen = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, active);
    ::Ellipse(dc, centre.x - 5, centre.y - 5, centre.x + 6, centre.y + 6);
    ::SelectObject(dc, ::GetStockObject(GRAY_BRUSH));
    for (int i = 0; i < kDirections; ++i)
        DrawArrow(dc, upArrow, i * kDegreesPerDirection, centre);
    if (m_povValue < kHatCentred) {
        ::SelectObject(dc, active);
        DrawArrow(dc, upArrow, static_cast<int>(m_povValue / 100), centre);
    }
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(active);
    ::DeleteObject(pen);
    rt->ReleaseDC(dc);
    EndPaintState(rt, &saved);
}

BOOL SPovCtrlEx::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_PAINT)
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    *result = 0;
    DrawPov(reinterpret_cast<IRenderTarget*>(wParam));
    return TRUE;
}

// ---- SPovCtrlEx2 ----

int SPovCtrlEx2::FrameOf(unsigned value)
{
    unsigned degrees = value / 100;
    if (degrees % kDegreesPerDirection != 0 || degrees >= kDirections * kDegreesPerDirection)
        return kCentredFrame;
    return static_cast<int>(degrees / kDegreesPerDirection);
}

void SPovCtrlEx2::DrawPov(IRenderTarget* rt)
{
    if (!m_skin)
        return;
    RECT inner;
    ComputeInnerRect(&inner);
    m_skin->DrawByState(rt, &inner, FrameOf(m_povValue));
    DrawTextContent(rt);
}

BOOL SPovCtrlEx2::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    // The skin is the frame set that the paint draws by the hat's direction; drawing it by
    // window state beneath would show the "up" frame through a translucent frame.
    if (msg != WM_ERASEBKGND || !m_skin)
        return SPovCtrlEx::HandleMessage(msg, wParam, lParam, result);
    *result = 1;
    return TRUE;
}

} // namespace SKEIN
