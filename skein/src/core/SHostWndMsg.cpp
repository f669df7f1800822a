#include "core/SHostWnd.h"
#include <windowsx.h>
#include <commctrl.h>

namespace SKEIN {

namespace {

bool IsPress(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK
           || msg == WM_MBUTTONDOWN || msg == WM_MBUTTONDBLCLK;
}

bool IsRelease(UINT msg)
{
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

bool IsKeyOrIme(UINT msg)
{
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_IME_STARTCOMPOSITION && msg <= WM_IME_COMPOSITION)
           || msg == WM_IME_CHAR;
}

} // namespace

BOOL SHostWnd::HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    BOOL saved = m_hostHandled;
    m_hostHandled = TRUE;
    result = 0;
    BOOL handled = HandleHostMessage(msg, wParam, lParam, result) && m_hostHandled;
    m_hostHandled = saved;
    return handled;
}

// FALSE for messages the host does not take.
BOOL SHostWnd::HandleHostMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_SIZE: OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); return TRUE;
    case WM_PRINT: PaintPass(reinterpret_cast<HDC>(wParam), static_cast<DWORD>(lParam)); return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hwnd, &ps);
        PaintPass(IsTranslucent() ? nullptr : dc, 0);
        ::EndPaint(m_hwnd, &ps);
        return TRUE;
    }
    case WM_CREATE: result = OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam)); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    case WM_ERASEBKGND:
    case WM_NCACTIVATE: result = 1; return TRUE;
    case WM_MOUSELEAVE: OnMouseLeft(); return TRUE;
    case WM_MOUSEWHEEL: {
        POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hwnd, &pt);
        result = DispatchHostMessage(msg, wParam, MAKELPARAM(pt.x, pt.y)) ? 1 : 0;
        m_hostHandled = ContainerHandled();
        return TRUE;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) {
            ::SetFocus(m_hwnd);
        } else {
            ::SetFocus(nullptr);
            EndInterruptedPress();
        }
        return TRUE;
    case WM_CANCELMODE:
        EndInterruptedPress();
        m_hostHandled = FALSE; // the default procedure ends a native menu's mode
        return TRUE;
    case WM_WINDOWPOSCHANGED:
        if (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW) {
            EndInterruptedPress();
            UpdateTooltip(); // a hidden host shows no tip
        }
        m_hostHandled = FALSE;
        return TRUE;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ACTIVATEAPP: DispatchHostMessage(msg, msg == WM_ACTIVATEAPP ? wParam : 0, msg == WM_ACTIVATEAPP ? lParam : 0); return TRUE;
    case WM_SETCURSOR: result = OnSetCursor(wParam, lParam); return TRUE;
    case WM_TIMER: OnTimer(wParam); return TRUE;
    case WM_NCCALCSIZE: result = OnNcCalcSize(static_cast<BOOL>(wParam), lParam); return TRUE;
    case WM_NCHITTEST: result = OnNcHitTest(lParam); return TRUE;
    case WM_GETMINMAXINFO: OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)); return TRUE;
    case WM_CAPTURECHANGED: OnCaptureChanged(reinterpret_cast<HWND>(lParam)); return TRUE;
    case kHostMsgUpdateSwnd: result = OnDeferredUpdate(static_cast<SwndHandle>(wParam)); return TRUE;
    case kHostMsgScriptTimer: return TRUE; // no script module in this program
    case kHostMsgFireEvent: result = OnFireEventMessage(lParam); return TRUE;
    case kHostMsgEndWindow:
        if (WindowHoldsLastRef())
            ::DestroyWindow(m_hwnd);
        return TRUE;
    case WM_WINDOWPOSCHANGING: return TRUE;
    case WM_ENABLE:
        if (!wParam)
            UpdateTooltip(); // nor a disabled one, such as the owner of a modal dialog
        return FALSE;
    case WM_NOTIFY:
        if (reinterpret_cast<NMHDR*>(lParam)->code != static_cast<UINT>(NM_CUSTOMDRAW))
            return FALSE;
        result = ReflectToChild(msg, wParam, lParam, m_hostHandled);
        return TRUE;
    default: break;
    }
    if (msg >= kHostMsgSpyAnnounce && msg <= kHostMsgSpyHitTest) {
        result = OnSpyMessage(msg, wParam, lParam);
        return TRUE;
    }
    if (msg >= WM_MOUSEFIRST && msg <= kLastRoutedMouseMsg) {
        result = OnMouseMessage(msg, wParam, lParam);
        return TRUE;
    }
    if (IsKeyOrIme(msg)) {
        result = OnKeyMessage(msg, wParam, lParam);
        return TRUE;
    }
    return FALSE;
}

// ---- input ----

void SHostWnd::RecordMouse(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MOUSEMOVE) {
        m_lastMouseMsg = 0;
        m_lastMouseWParam = wParam;
        m_lastMouseLParam = lParam;
    } else if (IsPress(msg)) {
        m_lastMouseMsg = msg;
        m_lastMouseWParam = wParam;
        m_lastMouseLParam = lParam;
        if (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD)
            ::SetFocus(m_hwnd);
    } else if (IsRelease(msg)) {
        m_lastMouseMsg = 0;
    } else if (msg == WM_MOUSELEAVE) {
        m_lastMouseMsg = WM_MOUSELEAVE;
        m_lastMouseWParam = 0;
        m_lastMouseLParam = 0;
    }
}

LRESULT SHostWnd::OnMouseMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MOUSEMOVE && !m_tracking) {
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hwnd, 0};
        m_tracking = ::TrackMouseEvent(&tme);
    }
    RecordMouse(msg, wParam, lParam);
    DispatchHostMessage(msg, wParam, lParam);
    // The window that held the capture went during the press: nobody else lets it go.
    if (IsRelease(msg) && GetCapture() && !SWindowMgr::GetWindow(GetCapture()))
        ReleaseCapture();
    UpdateTooltip();
    return 0;
}

LRESULT SHostWnd::OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP) {
        SWindow* focused = SWindowMgr::GetWindow(GetFocus());
        MSG native = {m_hwnd, msg, wParam, lParam, 0, {0, 0}};
        if (!focused || !(focused->QueryWantedKeys(&native) & 0x80000000u)) {
            m_hostHandled = FALSE;
            return 0;
        }
    }
    LRESULT result = DispatchHostMessage(msg, wParam, lParam);
    m_hostHandled = ContainerHandled();
    return result;
}

LRESULT SHostWnd::OnSetCursor(WPARAM wParam, LPARAM lParam)
{
    if (reinterpret_cast<HWND>(wParam) != m_hwnd)
        return 0;
    if (LOWORD(lParam) != HTCLIENT)
        return DefWindowProc(WM_SETCURSOR, wParam, lParam) ? 1 : 0;
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hwnd, &pt);
    return DispatchHostMessage(WM_SETCURSOR, 0, MAKELPARAM(pt.x, pt.y)) ? 1 : 0;
}

void SHostWnd::SendMissingRelease()
{
    UINT release = 0;
    if (m_lastMouseMsg == WM_LBUTTONDOWN || m_lastMouseMsg == WM_LBUTTONDBLCLK)
        release = WM_LBUTTONUP;
    else if (m_lastMouseMsg == WM_RBUTTONDOWN || m_lastMouseMsg == WM_RBUTTONDBLCLK)
        release = WM_RBUTTONUP;
    else if (m_lastMouseMsg == WM_MBUTTONDOWN || m_lastMouseMsg == WM_MBUTTONDBLCLK)
        release = WM_MBUTTONUP;
    if (release)
        ::SendMessageW(m_hwnd, release, m_lastMouseWParam, m_lastMouseLParam);
}

void SHostWnd::OnMouseLeft()
{
    m_tracking = FALSE;
    RecordMouse(WM_MOUSELEAVE, 0, 0);
    DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    UpdateTooltip();
}

// A press or drag cut short: a press with no move still gets its release; whatever then holds
// the capture ends its press or drag, and nothing stays under the mouse.
void SHostWnd::EndInterruptedPress()
{
    bool pressed = IsPress(m_lastMouseMsg);
    SendMissingRelease();
    if (!pressed && !GetCapture())
        return;
    CancelCapture();
    if (::GetCapture() == m_hwnd)
        ::ReleaseCapture();
    OnMouseLeft();
}

void SHostWnd::OnCaptureChanged(HWND gaining)
{
    wchar_t className[31] = {};
    if (gaining == m_hwnd)
        return;
    if (gaining && ::GetClassNameW(gaining, className, 30) && wcscmp(className, L"CLIPBRDWNDCLASS") == 0)
        return;
    EndInterruptedPress();
}

namespace {

// The event being sent by SendHostEvent on this thread.
thread_local EventArgs* t_sendingEvent = nullptr;

} // namespace

LRESULT SHostWnd::SendHostEvent(HWND host, EventArgs* evt)
{
    EventArgs* outer = t_sendingEvent;
    t_sendingEvent = evt;
    LRESULT result = ::SendMessageW(host, kHostMsgFireEvent, 0, reinterpret_cast<LPARAM>(evt));
    t_sendingEvent = outer;
    return result;
}

// 11226 carries a pointer: it is taken only when sent by SendHostEvent on the host's own
// thread, so a message posted or sent by another thread or process cannot make the host read
// an arbitrary address.
LRESULT SHostWnd::OnFireEventMessage(LPARAM lParam)
{
    EventArgs* evt = reinterpret_cast<EventArgs*>(lParam);
    if (!evt || evt != t_sendingEvent || ::InSendMessageEx(nullptr) != ISMEX_NOSEND)
        return 0;
    return OnHostEvent(evt);
}

void SHostWnd::OnTimer(UINT_PTR id)
{
    SwndHandle handle = 0;
    UINT timerId = 0;
    if (!UnpackSwndTimerId(id, handle, timerId)) {
        m_hostHandled = FALSE;
        return;
    }
    SWindow* window = SWindowMgr::GetWindow(handle);
    if (!window) {
        ::KillTimer(m_hwnd, id);
    } else if (window == static_cast<SWindow*>(this)) {
        if (timerId == kHostTimerCaret)
            BlinkCaret();
        else if (timerId == kHostTimerTimeline && !::IsIconic(m_hwnd))
            OnTimelineTick();
    } else {
        window->SendUiMessage(WM_TIMER, timerId);
    }
}

// ---- frame ----

void SHostWnd::OnSize(UINT type, int cx, int cy)
{
    if (type == SIZE_MINIMIZED || cx == 0 || cy == 0)
        return;
    m_resizing = TRUE;
    if (m_memTarget)
        m_memTarget->Resize(SIZE{cx, cy});
    ApplyRect(RECT{0, 0, cx, cy});
    RequestFullRepaint();
    m_resizing = FALSE;
}

LRESULT SHostWnd::OnNcCalcSize(BOOL calcValid, LPARAM lParam)
{
    if (!calcValid) {
        ::GetWindowRect(m_hwnd, reinterpret_cast<RECT*>(lParam));
        return 0;
    }
    NCCALCSIZE_PARAMS* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS* pos = params->lppos;
    if (pos->flags & SWP_NOSIZE)
        return 0;
    RECT& rect = params->rgrc[0];
    if (pos->flags & SWP_NOMOVE) {
        RECT current = {};
        ::GetWindowRect(m_hwnd, &current);
        if (HWND parent = (GetWindowLongW(m_hwnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(m_hwnd) : nullptr)
            ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&current), 2);
        rect.left = current.left;
        rect.top = current.top;
    } else {
        rect.left = pos->x;
        rect.top = pos->y;
    }
    rect.right = rect.left + pos->cx;
    rect.bottom = rect.top + pos->cy;
    return 0;
}

LRESULT SHostWnd::OnNcHitTest(LPARAM lParam)
{
    if (!m_attr.Has(kHostResizable) || ::IsZoomed(m_hwnd))
        return HTCLIENT;
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(m_hwnd, &pt);
    int left = m_attr.m_margin[0].ToPixels(m_scale);
    int top = m_attr.m_margin[1].ToPixels(m_scale);
    int right = m_windowRect.right - m_attr.m_margin[2].ToPixels(m_scale);
    int bottom = m_windowRect.bottom - m_attr.m_margin[3].ToPixels(m_scale);
    if (pt.x > right)
        return pt.y > bottom ? HTBOTTOMRIGHT : (pt.y < top ? HTTOPRIGHT : HTRIGHT);
    if (pt.x < left)
        return pt.y > bottom ? HTBOTTOMLEFT : (pt.y < top ? HTTOPLEFT : HTLEFT);
    return pt.y > bottom ? HTBOTTOM : (pt.y < top ? HTTOP : HTCLIENT);
}

void SHostWnd::OnGetMinMaxInfo(MINMAXINFO* info)
{
    HMONITOR monitor = ::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTONULL);
    MONITORINFO mi = {sizeof(mi)};
    if (!monitor || !::GetMonitorInfoW(monitor, &mi))
        return;
    int inset[4];
    for (int i = 0; i < 4; ++i)
        inset[i] = m_attr.m_maxInset[i].ToPixels(m_scale);
    const RECT& work = mi.rcWork;
    info->ptMaxPosition.x = abs(work.left - mi.rcMonitor.left) - inset[0];
    info->ptMaxPosition.y = abs(work.top - mi.rcMonitor.top) - inset[1];
    info->ptMaxSize.x = work.right - work.left + inset[0] + inset[2];
    info->ptMaxSize.y = work.bottom - work.top + inset[1] + inset[3];
    info->ptMaxTrackSize = info->ptMaxSize;
    info->ptMinTrackSize.x = m_attr.m_minSize[0].ToPixels(m_scale);
    info->ptMinTrackSize.y = m_attr.m_minSize[1].ToPixels(m_scale);
}

} // namespace SKEIN
