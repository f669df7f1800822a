// The drop-down popup: its message map, its filter in the owner's loop and its end of life.
#include "control/SDropDownWnd.h"
#include <windowsx.h>
#include <algorithm>

namespace SKEIN {

RECT PlaceDropDown(HWND host, const RECT& anchor, int left, SIZE size)
{
    RECT monitor = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    MONITORINFO info = {sizeof(info)};
    if (HMONITOR handle = ::MonitorFromWindow(host, MONITOR_DEFAULTTONULL); handle && ::GetMonitorInfoW(handle, &info))
        monitor = info.rcMonitor;
    LONG below = monitor.bottom - anchor.bottom;
    LONG above = anchor.top - monitor.top;
    bool down = size.cy <= below || (size.cy > above && below >= above);
    LONG height = std::min(size.cy, std::max<LONG>(down ? below : above, 0));
    LONG x = std::max(std::min<LONG>(left, monitor.right - size.cx), monitor.left);
    return down ? RECT{x, anchor.bottom, x + size.cx, anchor.bottom + height}
                : RECT{x, anchor.top - height, x + size.cx, anchor.top};
}

SDropDownWnd::SDropDownWnd(ISDropDownOwner* owner)
    : SHostWnd(L""), m_owner(owner), m_loop(nullptr), m_clickStartedInside(false), m_exitCode(kDropDownOpen)
{
    m_loop = GetMessageLoop();
    if (m_loop)
        m_loop->AddFilter(this);
}

SDropDownWnd::~SDropDownWnd()
{
    if (m_loop)
        m_loop->RemoveFilter(this);
}

SMessageLoop* SDropDownWnd::GetMessageLoop()
{
    SWindow* owner = m_owner ? m_owner->OwnerWindow() : nullptr;
    ISwndContainer* container = owner ? owner->GetHostContainer() : nullptr;
    return container ? container->GetMessageLoop() : SHostWnd::GetMessageLoop();
}

BOOL SDropDownWnd::CreatePopup(const RECT& rect, LPVOID, DWORD style, DWORD exStyle)
{
    SWindow* owner = m_owner->OwnerWindow();
    ISwndContainer* container = owner ? owner->GetHostContainer() : nullptr;
    HWND parent = container ? container->GetHostHwnd() : nullptr;
    if (!CreateNative(nullptr, style, exStyle, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                      parent, nullptr))
        return FALSE;
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    ApplyRect(client); // the root fills the popup before the owner fills the root
    m_owner->OnDropDownCreated(this);
    return TRUE;
}

void SDropDownWnd::EndPopup(int code)
{
    if (m_exitCode != kDropDownOpen)
        return;
    m_exitCode = code;
    ::DestroyWindow(m_hwnd);
}

BOOL SDropDownWnd::ReleaseCapture()
{
    SHostWnd::ReleaseCapture();
    ::SetCapture(m_hwnd);
    return TRUE;
}

bool SDropDownWnd::OutsideClient(LPARAM lParam) const
{
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return !::PtInRect(&client, pt);
}

BOOL SDropDownWnd::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                       DWORD mapId)
{
    if (mapId == 0 && HandlePopupMessage(hwnd, msg, wParam, lParam, result))
        return TRUE;
    return SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
}

BOOL SDropDownWnd::HandlePopupMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    switch (msg) {
    case WM_DESTROY: m_owner->OnDropDownDestroyed(this); return FALSE;
    case WM_ACTIVATE: return TRUE;
    case WM_KILLFOCUS:
        if (reinterpret_cast<HWND>(wParam) == m_hwnd)
            return FALSE;
        EndPopup(kDropDownCancelled);
        return TRUE;
    case WM_ACTIVATEAPP:
        if (wParam)
            return FALSE;
        EndPopup(kDropDownCancelled);
        return TRUE;
    case WM_MOUSEACTIVATE: result = MA_NOACTIVATEANDEAT; return TRUE;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN)
            EndPopup(kDropDownAccepted);
        else if (wParam == VK_ESCAPE)
            EndPopup(kDropDownCancelled);
        else
            return FALSE;
        return TRUE;
    case WM_LBUTTONDOWN:
        if (OutsideClient(lParam)) {
            EndPopup(kDropDownCancelled);
            return TRUE;
        }
        m_clickStartedInside = true;
        return FALSE;
    case WM_LBUTTONUP:
        if (m_clickStartedInside) {
            SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, 0);
            if (::IsWindow(hwnd) && OutsideClient(lParam))
                EndPopup(kDropDownCancelled);
        }
        return TRUE;
    default: return FALSE;
    }
}

// The window holds the popup's reference. When the popup's last release came while the window
// lived, the host drops the reference the window then took, and the popup is gone after it.
void SDropDownWnd::OnLastMessage(HWND hwnd)
{
    bool releasedByHost = WindowHoldsLastRef() != FALSE;
    SHostWnd::OnLastMessage(hwnd);
    if (!releasedByHost)
        Release();
}

BOOL SDropDownWnd::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_ACTIVATEAPP)
        ::SendMessageW(m_hwnd, WM_ACTIVATEAPP, msg->wParam, msg->lParam);
    else if (msg->message == WM_MOUSEMOVE)
        ::SendMessageW(m_hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return FALSE;
}

BOOL SDropDownWnd_ComboBox::PreTranslateMessage(MSG* msg)
{
    HWND popup = m_hwnd;
    if (SDropDownWnd::PreTranslateMessage(msg))
        return TRUE;
    bool steering = msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE || msg->wParam == VK_UP
                    || msg->wParam == VK_DOWN;
    if (((msg->message == WM_KEYDOWN || msg->message == WM_KEYUP) && steering) || msg->message == WM_MOUSEWHEEL) {
        ::SendMessageW(popup, msg->message, msg->wParam, msg->lParam);
        return TRUE;
    }
    return FALSE;
}

} // namespace SKEIN
