#include "SheetControls.h"

#include <algorithm>
#include <cstdlib>

#include "LibraryLock.h"
#include "PovControl.h"

namespace pelko {
namespace {

struct ControlKind {
    const char* className;
    DWORD initial;  // user data at creation
    void (*paint)(HWND, HDC, const RECT&);
    void (*destroy)(HWND);
};

void FillSolid(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    const RECT r = {left, top, right, bottom};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// One ring of the frame: top and left edges in one colour, right and bottom
// in the other; r and b are the coordinates of the last column and row.
void DrawRing(HDC dc, int l, int t, int r, int b, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolid(dc, l, t, r, t + 1, topLeft);
    FillSolid(dc, l, t, l + 1, b, topLeft);
    FillSolid(dc, r, t, r + 1, b + 1, bottomRight);
    FillSolid(dc, l, b, r + 1, b + 1, bottomRight);
}

// Two rings, shadowed at the top and left, around a white inside.
void DrawSunkenFrame(HDC dc, const RECT& client)
{
    const int l = client.left, t = client.top, r = client.right - 1, b = client.bottom - 1;
    DrawRing(dc, l, t, r, b, kFrameShadow, RGB(255, 255, 255));
    DrawRing(dc, l + 1, t + 1, r - 1, b - 1, RGB(0, 0, 0), kFrameLight);
    FillSolid(dc, l + 2, t + 2, r - 1, b - 1, RGB(255, 255, 255));
}

void PaintLamp(HWND control, HDC dc, const RECT& client)
{
    const int w = client.right, h = client.bottom;
    HBRUSH fill = CreateSolidBrush(ControlValue(control));
    HGDIOBJ oldBrush = SelectObject(dc, fill);
    Ellipse(dc, 0, 0, w, h);
    SelectObject(dc, oldBrush);
    DeleteObject(fill);

    char text[64];
    const int length = GetWindowTextA(control, text, sizeof text);
    RECT band = {0, h / 2 - 8, w, h / 2 + 8};
    SetTextColor(dc, kLampText);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, length, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, oldMode);

    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(WHITE_PEN));
    Arc(dc, 0, 0, w, h, int(0.3 * w), int(0.8 * h), int(0.8 * w), int(0.3 * h));
    SelectObject(dc, oldPen);
}

void Line(HDC dc, int x0, int y0, int x1, int y1)
{
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void PaintAxes(HWND control, HDC dc, const RECT& client)
{
    DrawSunkenFrame(dc, client);
    const DWORD value = ControlValue(control);
    const int w = client.right, h = client.bottom;
    const int x = std::max(3, std::min(w - 4, int(LONGLONG(w) * HIWORD(value) / 65536)));
    const int y = std::max(3, std::min(h - 4, int(LONGLONG(h) * LOWORD(value) / 65536)));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Line(dc, std::max(3, x - 5), y, std::min(w - 4, x + 6), y);
    Line(dc, x, std::max(3, y - 5), x, std::min(h - 4, y + 6));
    SelectObject(dc, oldPen);
}

void PaintRumble(HWND control, HDC dc, const RECT& client)
{
    DrawSunkenFrame(dc, client);
    const DWORD value = ControlValue(control);
    const RECT area = {client.left + 5, client.top + 5, client.right - 5, client.bottom - 5};
    const int cx = (area.left + area.right) / 2, cy = (area.top + area.bottom) / 2;
    const int halfWidth = (area.right - area.left) / 2, halfHeight = (area.bottom - area.top) / 2;

    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    Line(dc, cx - 9, cy, cx + 10, cy);
    Line(dc, cx, cy - 9, cx, cy + 10);

    const int px = cx + int(short(HIWORD(value)) / 10000.0 * halfWidth);
    const int py = cy + int(short(LOWORD(value)) / 10000.0 * halfHeight);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HBRUSH brush = CreateSolidBrush(kRed);
    SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    Ellipse(dc, px - 5, py - 5, px + 6, py + 6);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void PaintSingleAxis(HWND control, HDC dc, const RECT& client)
{
    DrawSunkenFrame(dc, client);
    const int innerTop = client.top + 2, innerBottom = client.bottom - 2;
    const int innerHeight = std::max(0, innerBottom - innerTop);
    const int value = std::min(255, std::abs(int(ControlValue(control))));
    const int barHeight = value * innerHeight / 255;
    FillSolid(dc, client.left + 2, innerBottom - barHeight, client.right - 2, innerBottom, kRed);
}

const ControlKind kKinds[] = {
    {"LampControl", 0, PaintLamp, nullptr},
    {"AxesControl", 0x80008000, PaintAxes, nullptr},
    {"PovControl", 0x0064FFFF, PaintHat, ForgetHatArrow},
    {"RumbleControl", 0, PaintRumble, nullptr},
    {"SingleAxesControl", 255, PaintSingleAxis, nullptr},
};

void Paint(const ControlKind& kind, HWND control, HDC dc)
{
    RECT client;
    GetClientRect(control, &client);
    kind.paint(control, dc, client);
}

template <int K>
LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    const ControlKind& kind = kKinds[K];
    switch (message) {
    case WM_CREATE:
        SetWindowLongPtrA(control, GWLP_USERDATA, LONG_PTR(kind.initial));
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(control, &ps);
        Paint(kind, control, dc);
        EndPaint(control, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(kind, control, HDC(wParam));
        return 0;
    case WM_DESTROY:
        if (kind.destroy)
            kind.destroy(control);
        break;
    }
    return DefWindowProcA(control, message, wParam, lParam);
}

const WNDPROC kProcs[] = {ControlProc<0>, ControlProc<1>, ControlProc<2>, ControlProc<3>, ControlProc<4>};

LONG g_users = 0;

HWND Control(HWND dialog, int id) { return GetDlgItem(dialog, id); }

} // namespace

DWORD ControlValue(HWND control)
{
    return DWORD(GetWindowLongPtrA(control, GWLP_USERDATA));
}

void AcquireSheetControls(HINSTANCE module)
{
    LibraryLock lock;
    if (g_users++ > 0)
        return;
    for (int k = 0; k < int(sizeof kKinds / sizeof kKinds[0]); ++k) {
        WNDCLASSA wc = {};
        wc.style = CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = kProcs[k];
        wc.hInstance = module;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
        wc.lpszClassName = kKinds[k].className;
        RegisterClassA(&wc);
    }
}

void ReleaseSheetControls(HINSTANCE module)
{
    LibraryLock lock;
    if (--g_users > 0)
        return;
    for (const ControlKind& kind : kKinds)
        UnregisterClassA(kind.className, module);
}

void SetControlValue(HWND dialog, int id, DWORD value)
{
    HWND control = Control(dialog, id);
    SetWindowLongPtrA(control, GWLP_USERDATA, LONG_PTR(value));
    RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE);
}

void SetControlPoint(HWND dialog, int id, int x, int y)
{
    HWND control = Control(dialog, id);
    const DWORD value = (DWORD(x) << 16) | (DWORD(y) & 0xFFFF);
    SetWindowLongPtrA(control, GWLP_USERDATA, LONG_PTR(value));
    InvalidateRect(control, nullptr, TRUE);
}

void SetHat(HWND dialog, int id, DWORD angle, int b, int c)
{
    HWND control = Control(dialog, id);
    const int lengthB = std::abs(b), lengthC = std::abs(c);
    int factor = 100;
    if (angle < 36000) {
        const DWORD octant = angle / 4500;
        factor = (octant % 2) ? (lengthB + lengthC) / 2 : (octant % 4 == 0 ? lengthC : lengthB);
    }
    SetWindowLongPtrA(control, GWLP_USERDATA, LONG_PTR((angle & 0xFFFF) | (DWORD(factor) << 16)));
    InvalidateHatArrow(control);
}

} // namespace pelko
