#include "PovControl.h"

#include <cmath>

#include "SheetControls.h"

namespace pelko {
namespace {

const char kArrowProperty[] = "PelkoHatArrow";
const int kArrowPoints = 7;
const double kPi = 3.14159265358979323846;

struct HatFrame {
    RECT box;
    int cx, cy;
};

HatFrame Frame(const RECT& client)
{
    HatFrame f;
    f.box = {client.left + 10, client.top + 10, client.right - 1 - 10, client.bottom - 1 - 10};
    f.cx = (f.box.left + f.box.right) / 2;
    f.cy = (f.box.top + f.box.bottom) / 2;
    return f;
}

POINT At(double x, double y) { return POINT{LONG(x), LONG(y)}; }

// The arrow for a hat value; false when the hat is centred.
bool Arrow(const RECT& client, DWORD value, POINT points[kArrowPoints])
{
    const DWORD angle = LOWORD(value);
    if (angle >= 36000)
        return false;
    const HatFrame f = Frame(client);
    const double theta = angle / 100.0 * kPi / 180.0;
    const double k = HIWORD(value) / 100.0;
    const int halfWidth = (f.box.right - f.box.left) / 2, halfHeight = (f.box.bottom - f.box.top) / 2;
    const double s = std::sin(theta), c = std::cos(theta);
    const double tipX = f.cx + s * halfWidth * k, tipY = f.cy - c * halfHeight * k;
    const double dx = s, dy = -c, px = c, py = s;
    const double baseX = LONG(tipX - 10 * k * dx), baseY = LONG(tipY - 10 * k * dy);
    const double tx = LONG(tipX), ty = LONG(tipY);
    points[0] = At(tx + 6 * k * dx, ty + 6 * k * dy);
    points[1] = At(tx + 6 * k * px, ty + 6 * k * py);
    points[2] = At(tx + 3 * k * px, ty + 3 * k * py);
    points[3] = At(baseX + 3 * k * px, baseY + 3 * k * py);
    points[4] = At(baseX - 3 * k * px, baseY - 3 * k * py);
    points[5] = At(tx - 3 * k * px, ty - 3 * k * py);
    points[6] = At(tx - 6 * k * px, ty - 6 * k * py);
    return true;
}

void InvalidateAround(HWND control, HRGN region)
{
    if (!region)
        return;
    RECT box;
    GetRgnBox(region, &box);
    InflateRect(&box, 3, 3);
    InvalidateRect(control, &box, TRUE);
}

} // namespace

void PaintHat(HWND control, HDC dc, const RECT& client)
{
    const HatFrame f = Frame(client);
    HPEN pen = CreatePen(PS_SOLID, 1, kHatGrey);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Ellipse(dc, f.box.left, f.box.top, f.box.right, f.box.bottom);

    HBRUSH brush = CreateSolidBrush(kHatGrey);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, f.cx - 5, f.cy - 5, f.cx + 6, f.cy + 6);
    POINT points[kArrowPoints];
    if (Arrow(client, ControlValue(control), points))
        Polygon(dc, points, kArrowPoints);

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
}

void InvalidateHatArrow(HWND control)
{
    RECT client;
    GetClientRect(control, &client);
    POINT points[kArrowPoints];
    HRGN arrow = Arrow(client, ControlValue(control), points)
                     ? CreatePolygonRgn(points, kArrowPoints, WINDING)
                     : nullptr;
    HRGN previous = HRGN(RemovePropA(control, kArrowProperty));
    InvalidateAround(control, previous);
    InvalidateAround(control, arrow);
    if (previous)
        DeleteObject(previous);
    if (arrow)
        SetPropA(control, kArrowProperty, arrow);
}

void ForgetHatArrow(HWND control)
{
    if (HRGN arrow = HRGN(RemovePropA(control, kArrowProperty)))
        DeleteObject(arrow);
}

} // namespace pelko
