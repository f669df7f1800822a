// SCaption: system commands to the host window from the mouse.
#include "control/SCaption.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

namespace {

const WPARAM kCommandMoveByCaption = SC_MOVE | HTCAPTION;

DWORD HostStyle(HWND host)
{
    return static_cast<DWORD>(::GetWindowLongW(host, GWL_STYLE));
}

} // namespace

SCaption::SCaption() : m_dragPending(0) {}

BOOL SCaption::IsVersion6Workstation()
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) {
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOW);
        if (!::GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)))
            return FALSE;
    }
    return info.wProductType == VER_NT_WORKSTATION && info.dwMajorVersion == 6;
}

HWND SCaption::HostHwnd() const
{
    return m_container ? m_container->GetHostHwnd() : nullptr;
}

void SCaption::OnLeftButtonDown(WPARAM keys, LPARAM lParam)
{
    if (IsFocusable())
        TakeFocus();
    HWND host = HostHwnd();
    if (!host)
        return;
    if (HostStyle(host) & WS_MAXIMIZE) {
        m_dragPending = 1;
        return;
    }
    ::SendMessageW(host, WM_SYSCOMMAND, kCommandMoveByCaption, 0);
    // The move loop consumed the real release.
    ::SendMessageW(host, WM_LBUTTONUP, keys, lParam);
}

void SCaption::OnLeftButtonDoubleClick()
{
    HWND host = HostHwnd();
    DWORD style = host ? HostStyle(host) : 0;
    if ((style & (WS_THICKFRAME | WS_MAXIMIZEBOX)) != (WS_THICKFRAME | WS_MAXIMIZEBOX))
        return;
    ::SendMessageW(host, WM_SYSCOMMAND, (style & WS_MAXIMIZE) ? SC_RESTORE : SC_MAXIMIZE, 0);
}

void SCaption::OnMouseMove()
{
    HWND host = HostHwnd();
    if (!host || !m_dragPending || !(HostStyle(host) & WS_MAXIMIZE) || !IsVersion6Workstation())
        return;
    m_dragPending = 0;
    ::SendMessageW(host, WM_SYSCOMMAND, kCommandMoveByCaption, 0);
}

BOOL SCaption::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_LBUTTONDOWN: OnLeftButtonDown(wParam, lParam); break;
    case WM_LBUTTONDBLCLK: OnLeftButtonDoubleClick(); break;
    case WM_MOUSEMOVE: OnMouseMove(); break;
    case WM_LBUTTONUP: m_dragPending = 0; break;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    *result = 0;
    SetMsgHandled(TRUE);
    return TRUE;
}

} // namespace SKEIN
