// The bare Win32 twin of the host start-up benchmark: one window of the demo layout's size
// whose WM_PAINT draws about as many items (colour cells, push buttons, check and radio boxes,
// progress bars, texts) through an off-screen bitmap with plain GDI. Started by
// skein_bench_host as "skein_bench_bare --child <event>": sets the event after its first
// painted frame and closes.
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

namespace {

const int kWidth = 640;
const int kHeight = 460;
HANDLE g_firstFrame = nullptr;
HFONT g_font = nullptr;

void Text(HDC dc, int x, int y, int cx, int cy, const wchar_t* text, UINT format = DT_LEFT)
{
    RECT rect = {x, y, x + cx, y + cy};
    DrawTextW(dc, text, -1, &rect, format | DT_SINGLELINE | DT_VCENTER);
}

void Fill(HDC dc, int x, int y, int cx, int cy, COLORREF color)
{
    RECT rect = {x, y, x + cx, y + cy};
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

void Frame(HDC dc, int x, int y, int cx, int cy, UINT type, UINT state, const wchar_t* text)
{
    RECT rect = {x, y, x + cx, y + cy};
    if (type == DFC_BUTTON && (state & DFCS_BUTTONPUSH)) {
        DrawFrameControl(dc, &rect, type, state);
        Text(dc, x, y, cx, cy, text, DT_CENTER);
        return;
    }
    RECT box = {x, y + (cy - 13) / 2, x + 13, y + (cy - 13) / 2 + 13};
    DrawFrameControl(dc, &box, type, state);
    Text(dc, x + 18, y, cx - 18, cy, text);
}

void Draw(HDC dc)
{
    static const COLORREF kSwatches[] = {RGB(47, 123, 216), RGB(58, 166, 87), RGB(224, 160, 32), RGB(210, 74, 60)};
    wchar_t label[32];
    Fill(dc, 0, 0, kWidth, kHeight, RGB(243, 245, 248));
    Fill(dc, 0, 0, kWidth, 56, RGB(36, 70, 110));
    SelectObject(dc, g_font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    Text(dc, 72, 8, 400, 24, L"Bare demo");
    Text(dc, 72, 32, 400, 18, L"A plain window drawn with GDI");
    SetTextColor(dc, RGB(29, 39, 51));
    Frame(dc, 548, 14, 80, 28, DFC_BUTTON, DFCS_BUTTONPUSH, L"Close");
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 8; ++c)
            Fill(dc, 24 + c * 34, 92 + r * 34, 28, 28, kSwatches[(r + c) % 4]);
    }
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < 8; ++i) {
        swprintf(label, 32, L"Button %d", i + 1);
        Frame(dc, 336 + (i % 2) * 144, 92 + (i / 2) * 34, 136, 28, DFC_BUTTON, DFCS_BUTTONPUSH, label);
    }
    Fill(dc, 12, 244, kWidth - 24, 2, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < 4; ++i) {
        swprintf(label, 32, L"Option %d", i + 1);
        Frame(dc, 12 + i * 154, 254, 150, 20, DFC_BUTTON, DFCS_BUTTONCHECK | (i % 2 ? DFCS_CHECKED : 0), label);
        swprintf(label, 32, L"Choice %d", i + 1);
        Frame(dc, 12 + i * 154, 280, 150, 20, DFC_BUTTON, DFCS_BUTTONRADIO | (i == 0 ? DFCS_CHECKED : 0), label);
    }
    for (int i = 0; i < 3; ++i) {
        swprintf(label, 32, L"Axis %c", L"XYZ"[i]);
        Text(dc, 12, 312 + i * 22, 70, 18, label);
        Fill(dc, 84, 314 + i * 22, 228, 14, RGB(224, 224, 224));
        Fill(dc, 84, 314 + i * 22, 228 * (30 + i * 25) / 100, 14, RGB(47, 123, 216));
        SetBkMode(dc, TRANSPARENT);
    }
    for (int n = 0; n < 30; ++n) {
        swprintf(label, 32, L"Cell %d", n + 1);
        Text(dc, 324 + (n % 5) * 62, 310 + (n / 5) * 18, 60, 16, label);
    }
    Text(dc, 12, 384, 200, 18, L"About this demo");
    Fill(dc, 0, kHeight - 28, kWidth, 28, RGB(227, 232, 239));
    SetBkMode(dc, TRANSPARENT);
    Text(dc, 12, kHeight - 24, 600, 20, L"Ready");
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, kWidth, kHeight);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Draw(memory);
    BitBlt(dc, 0, 0, kWidth, kHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_PAINT:
        Paint(hwnd);
        if (g_firstFrame) {
            SetEvent(g_firstFrame);
            g_firstFrame = nullptr;
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    HANDLE firstFrame = argc >= 3 ? OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]) : nullptr;
    g_firstFrame = firstFrame;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    g_font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(0x7F00));
    wc.lpszClassName = L"SkeinBareBench";
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Bare demo", WS_POPUP, 320, 280, kWidth, kHeight, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DeleteObject(g_font);
    if (firstFrame)
        CloseHandle(firstFrame);
    return static_cast<int>(msg.wParam);
}
