// SRealWnd: lazy creation of the native window and its following of the window's rectangle
// and visibility.
#include "control/SRealWnd.h"
#include "control/SCtrlAttr.h"
#include "core/SApp.h"
#include "interface/SwndContainer-i.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;
using ctrl::ParseInt;

SRealWnd::SRealWnd() : m_initAtLoad(0), m_hwnd(nullptr), m_realUserData(nullptr) {}

IRealWndHandler* SRealWnd::Handler()
{
    SApplication* app = SApplication::Instance();
    return app ? app->RealWndHandler() : nullptr;
}

HRESULT SRealWnd::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"wndclass"))
        m_param.wndClass = ResolveNamedString(value.c_str());
    else if (Is(name, L"wndname"))
        m_param.wndName = ResolveNamedString(value.c_str());
    else if (Is(name, L"style"))
        m_param.style = static_cast<DWORD>(ParseInt(value));
    else if (Is(name, L"exstyle"))
        m_param.exStyle = static_cast<DWORD>(ParseInt(value));
    else if (Is(name, L"init"))
        m_initAtLoad = ParseInt(value);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

BOOL SRealWnd::LoadFromXml(pugi::xml_node node)
{
    // The parameters are there before the load's show message may create the window.
    m_param.params.reset();
    if (pugi::xml_node params = node.child(L"params"))
        m_param.params.append_copy(params);
    if (!SWindow::LoadFromXml(node))
        return FALSE;
    if (m_initAtLoad && !IsNativeLive())
        CreateNativeWindow();
    return TRUE;
}

BOOL SRealWnd::CreateNativeWindow()
{
    // A popup keeps its style: WS_CHILD with WS_POPUP is no valid window.
    if (!(m_param.style & WS_POPUP))
        m_param.style |= WS_CHILD;
    IRealWndHandler* handler = Handler();
    if (!handler)
        return FALSE;
    m_hwnd = handler->CreateRealWindow(this);
    if (!IsNativeLive())
        return FALSE;
    if (!m_initAtLoad && !handler->PositionRealWindow(this)) {
        RECT inner;
        GetInnerRect(&inner);
        MoveNative(inner);
    }
    handler->InitRealWindow(this);
    return TRUE;
}

void SRealWnd::DestroyNativeWindow()
{
    IRealWndHandler* handler = Handler();
    if (handler && IsNativeLive())
        handler->DestroyRealWindow(this);
    m_hwnd = nullptr;
}

void SRealWnd::MoveNative(const RECT& rect)
{
    POINT origin = {rect.left, rect.top};
    HWND host = m_container ? m_container->GetHostHwnd() : nullptr;
    if (host && (::GetWindowLongW(m_hwnd, GWL_STYLE) & WS_POPUP))
        ::ClientToScreen(host, &origin);
    ::SetWindowPos(m_hwnd, nullptr, origin.x, origin.y, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

int SRealWnd::ApplyRect(const RECT& rect)
{
    if (SWindow::ApplyRect(rect) == 0)
        return 0;
    IRealWndHandler* handler = Handler();
    if (handler && IsNativeLive() && !handler->ResizeRealWindow(this, m_windowRect))
        MoveNative(m_windowRect);
    return 1;
}

void SRealWnd::OnShow(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    SWindow::HandleMessage(WM_SHOWWINDOW, wParam, lParam, result);
    BOOL visible = TestVisible(TRUE);
    if (visible && !IsNativeLive())
        CreateNativeWindow();
    if (IsNativeLive())
        ::ShowWindow(m_hwnd, visible ? SW_SHOW : SW_HIDE);
}

BOOL SRealWnd::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_PAINT: break; // the native window draws itself
    case WM_DESTROY:
        DestroyNativeWindow();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_SHOWWINDOW: OnShow(wParam, lParam, result); break;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    *result = 0;
    SetMsgHandled(TRUE);
    return TRUE;
}

} // namespace SKEIN
