#include "core/SDragWnd.h"
#include <new>

namespace SKEIN {

CDragWnd* CDragWnd::s_dragWnd = nullptr;

namespace {

const DWORD kDragExStyle = WS_EX_TOPMOST | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW;
const UINT kMoveFlags = SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;

} // namespace

bool CDragWnd::StartDragImage(HBITMAP bitmap, int hotX, int hotY, COLORREF colorKey, BYTE alpha, DWORD lwaFlags)
{
    if (s_dragWnd)
        return false;
    CDragWnd* window = new (std::nothrow) CDragWnd;
    if (!window)
        return false;
    if (!window->Create(bitmap, colorKey, alpha, lwaFlags)) {
        delete window;
        return false;
    }
    window->m_hotX = hotX;
    window->m_hotY = hotY;
    s_dragWnd = window;
    return true;
}

bool CDragWnd::Create(HBITMAP bitmap, COLORREF colorKey, BYTE alpha, DWORD lwaFlags)
{
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    if (!CreateNative(L"", WS_POPUP, kDragExStyle, 0, 0, info.bmWidth, info.bmHeight, nullptr, nullptr))
        return false;
    ModifyStyleEx(0, WS_EX_LAYERED);
    if (info.bmBitsPixel == 32) {
        HDC windowDC = ::GetDC(m_hwnd);
        HDC memory = ::CreateCompatibleDC(windowDC);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        POINT origin = {0, 0};
        SIZE size = {info.bmWidth, info.bmHeight};
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
        ::UpdateLayeredWindow(m_hwnd, windowDC, &origin, &size, memory, &origin, colorKey, &blend, ULW_ALPHA);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
        ::ReleaseDC(m_hwnd, windowDC);
    } else {
        m_bitmap = bitmap;
        ::SetLayeredWindowAttributes(m_hwnd, colorKey, alpha, lwaFlags);
        InvalidateRect(nullptr, TRUE);
    }
    return true;
}

void CDragWnd::MoveDragImage(int x, int y)
{
    if (s_dragWnd)
        ::SetWindowPos(s_dragWnd->m_hwnd, HWND_TOPMOST, x - s_dragWnd->m_hotX, y - s_dragWnd->m_hotY, 0, 0,
                       kMoveFlags);
}

void CDragWnd::EndDragImage()
{
    if (!s_dragWnd)
        return;
    s_dragWnd->DestroyWindow();
    delete s_dragWnd;
    s_dragWnd = nullptr;
}

HWND CDragWnd::DragImageWindow()
{
    return s_dragWnd ? s_dragWnd->m_hwnd : nullptr;
}

void CDragWnd::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hwnd, &ps);
    if (m_bitmap) {
        BITMAP info = {};
        ::GetObjectW(m_bitmap, sizeof(info), &info);
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, m_bitmap);
        ::BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    ::EndPaint(m_hwnd, &ps);
}

BOOL CDragWnd::HandleWindowMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result, DWORD mapId)
{
    if (mapId != 0 || msg != WM_PAINT)
        return FALSE;
    BOOL saved = m_handled;
    m_handled = TRUE;
    OnPaint();
    result = 0;
    BOOL handled = m_handled;
    m_handled = saved;
    return handled;
}

} // namespace SKEIN
