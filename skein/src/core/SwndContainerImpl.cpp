#include "core/SwndContainerImpl.h"
#include "core/SObjRef.h"

namespace SKEIN {

namespace {

POINT PointOf(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool IsCharMessage(UINT msg)
{
    return msg == WM_CHAR || msg == WM_DEADCHAR || msg == WM_SYSCHAR || msg == WM_SYSDEADCHAR || msg == WM_IME_CHAR;
}

// Numbers window and its descendants in pre-order.
void NumberZOrder(SWindow* window, UINT& next)
{
    window->SetZOrder(next++);
    for (SWindow* child = window->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling))
        NumberZOrder(child, next);
}

} // namespace

SwndContainerImpl::SwndContainerImpl()
    : m_capture(0), m_hover(0), m_ncHover(FALSE), m_focusMgr(this), m_zOrderDirty(TRUE), m_timelineHandlers(10),
      m_trackedWindows(10)
{
    AttachContainer(this);
}

SwndContainerImpl::~SwndContainerImpl() {}

BOOL SwndContainerImpl::RegisterDropTarget(SwndHandle handle, IDropTarget* target)
{
    return m_dropTargets.Register(handle, target);
}

BOOL SwndContainerImpl::UnregisterDropTarget(SwndHandle handle)
{
    return m_dropTargets.Unregister(handle);
}

BOOL SwndContainerImpl::ReleaseCapture()
{
    m_capture = 0;
    return TRUE;
}

SwndHandle SwndContainerImpl::SetCapture(SwndHandle handle)
{
    SWindow* window = Window(handle);
    if (!window || window->TestDisabled())
        return 0;
    SwndHandle previous = m_capture;
    m_capture = handle;
    return previous;
}

void SwndContainerImpl::CancelCapture()
{
    SwndHandle handle = m_capture;
    m_capture = 0;
    if (SWindow* window = Window(handle))
        window->SendUiMessage(WM_CAPTURECHANGED);
}

void SwndContainerImpl::SetFocusedWindow(SwndHandle handle)
{
    HWND host = GetHostHwnd();
    if (handle && host && ::GetFocus() != host && !(GetWindowLongW(host, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        ::SetFocus(host);
    m_focusMgr.SetFocusedWindow(handle, kFocusReasonDirect);
}

BOOL SwndContainerImpl::AddTimelineHandler(ITimelineHandler* handler)
{
    if (m_timelineHandlers.Find(handler))
        return FALSE;
    m_timelineHandlers.AddTail(handler);
    return TRUE;
}

BOOL SwndContainerImpl::RemoveTimelineHandler(ITimelineHandler* handler)
{
    auto* node = m_timelineHandlers.Find(handler);
    if (!node)
        return FALSE;
    m_timelineHandlers.RemoveNode(node);
    return TRUE;
}

BOOL SwndContainerImpl::AddTrackedWindow(SwndHandle handle)
{
    if (m_trackedNodes.Lookup(handle))
        return FALSE;
    m_trackedNodes.SetAt(handle, m_trackedWindows.AddTail(handle));
    return TRUE;
}

BOOL SwndContainerImpl::RemoveTrackedWindow(SwndHandle handle)
{
    auto* entry = m_trackedNodes.Lookup(handle);
    if (!entry)
        return FALSE;
    m_trackedWindows.RemoveNode(entry->value);
    m_trackedNodes.RemoveKey(handle);
    return TRUE;
}

void SwndContainerImpl::RebuildZOrder()
{
    if (!m_zOrderDirty)
        return;
    UINT next = 0;
    NumberZOrder(this, next);
    m_zOrderDirty = FALSE;
}

void SwndContainerImpl::OnTimelineTick()
{
    if (!TestVisible() || m_timelineHandlers.Count() == 0)
        return;
    // A copy, so handlers may remove themselves (or others) during the tick.
    SListSnapshot<ITimelineHandler*> handlers(m_timelineHandlers);
    for (int i = 0; i < handlers.Count(); ++i)
        handlers[i]->OnTimelineTick();
}

// ---- input routing ----

LRESULT SwndContainerImpl::DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SRefPtr<SWindow> hold(this);
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            m_focusMgr.SaveFocus();
        else if (LOWORD(wParam) == WA_ACTIVE)
            m_focusMgr.RestoreFocus();
        return 0;
    case WM_SETFOCUS:
        m_focusMgr.RestoreFocus();
        return 0;
    case WM_KILLFOCUS:
        m_focusMgr.SaveFocus();
        return 0;
    case WM_ACTIVATEAPP:
        SendUiMessageToTree(msg, wParam, lParam);
        return 0;
    case WM_SETCURSOR:
        return RouteSetCursor(lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return RouteWheel(msg, wParam, lParam);
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    default:
        break;
    }
    if ((msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_IME_STARTCOMPOSITION && msg <= WM_IME_COMPOSITION)
        || msg == WM_IME_CHAR)
        return RouteKey(msg, wParam, lParam);
    if ((msg >= WM_MOUSEFIRST && msg <= kLastRoutedMouseMsg) || msg == WM_MOUSEHOVER)
        return RouteMouse(msg, wParam, lParam);
    SetMsgHandled(FALSE);
    return 0;
}

LRESULT SwndContainerImpl::SendToTarget(SWindow* target, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!target) {
        SetMsgHandled(FALSE);
        return 0;
    }
    BOOL handled = FALSE;
    LRESULT result = target->SendUiMessage(msg, wParam, lParam, &handled);
    SetMsgHandled(handled);
    return result;
}

LRESULT SwndContainerImpl::RouteKey(UINT msg, WPARAM wParam, LPARAM lParam)
{
    // Key-downs, and with Alt held the other key messages (characters in upper case), go to the
    // focus manager first: navigation and accelerators.
    bool offer = msg == WM_KEYDOWN;
    if (!offer && (::GetKeyState(VK_MENU) & 0x80)) {
        // Only characters: the same codes are keys in the key messages (VK_F5 is 't').
        if (IsCharMessage(msg) && wParam >= 'a' && wParam <= 'z')
            wParam -= 32;
        offer = true;
    }
    if (offer && m_focusMgr.OnKeyDown(static_cast<UINT>(wParam)))
        return 0;
    SendToTarget(Window(GetFocus()), msg, wParam, lParam);
    return 0;
}

LRESULT SwndContainerImpl::RouteWheel(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWindow* target = Window(m_capture);
    if (!target && IsSendWheel2Hover()) {
        m_hover = FindWindowAtPoint(PointOf(lParam), FALSE);
        target = Window(m_hover);
    } else if (!target) {
        target = Window(GetFocus());
    }
    return SendToTarget(Enabled(target) ? target : nullptr, msg, wParam, lParam);
}

LRESULT SwndContainerImpl::RouteMouse(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SWindow* target = Window(m_capture);
    if (!target) {
        m_hover = FindWindowAtPoint(PointOf(lParam), FALSE);
        target = Window(m_hover);
        if (!Enabled(target))
            target = nullptr;
    }
    if (target && m_ncHover && msg != WM_MOUSEHOVER)
        msg -= WM_MOUSEMOVE - WM_NCMOUSEMOVE;
    SendToTarget(target, msg, wParam, lParam);
    return 0;
}

LRESULT SwndContainerImpl::RouteSetCursor(LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    SWindow* target = Window(m_capture);
    if (!target) {
        target = Window(m_hover);
        if (!Enabled(target))
            target = nullptr;
    }
    BOOL applied = target ? target->ApplyCursor(pt) : FALSE;
    if (!applied)
        ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(0x7F00)));
    return applied;
}

void SwndContainerImpl::SendLeave(SWindow* window)
{
    if (!window)
        return;
    if (m_ncHover)
        window->SendUiMessage(WM_NCMOUSELEAVE);
    window->SendUiMessage(WM_MOUSELEAVE);
}

void SwndContainerImpl::MoveHover(SWindow* oldHover, SWindow* newHover, WPARAM flags, LPARAM lParam, BOOL keepTracked)
{
    POINT pt = PointOf(lParam);
    if (oldHover && !(keepTracked && oldHover->GetStyle().IsTrackMouseEvent() && oldHover->ContainsPoint(pt, FALSE)))
        SendLeave(oldHover);
    if (!newHover || (newHover->GetStateFlags() & kStateHover))
        return;
    if (keepTracked)
        m_ncHover = newHover->IsInNonClientArea(pt);
    if (m_ncHover)
        newHover->SendUiMessage(WM_NCMOUSEHOVER, flags, lParam);
    newHover->SendUiMessage(WM_MOUSEHOVER, flags, lParam);
}

void SwndContainerImpl::OnMouseMove(WPARAM flags, LPARAM lParam)
{
    POINT pt = PointOf(lParam);
    SWindow* oldHover = Window(m_hover);
    if (SWindow* capture = Window(m_capture)) {
        SWindow* newHover = capture->ContainsPoint(pt, FALSE) ? capture : nullptr;
        if (newHover != oldHover) {
            m_hover = newHover ? newHover->GetHandle() : 0;
            MoveHover(oldHover, newHover, flags, lParam, FALSE);
        }
        capture->SendUiMessage(m_ncHover ? WM_NCMOUSEMOVE : WM_MOUSEMOVE, flags, lParam);
    } else {
        SwndHandle hit = FindWindowAtPoint(pt, FALSE);
        SWindow* newHover = Window(hit);
        if (newHover == oldHover) {
            if (Enabled(newHover) && newHover->IsInNonClientArea(pt) != m_ncHover) {
                m_ncHover = !m_ncHover;
                newHover->SendUiMessage(m_ncHover ? WM_NCMOUSEHOVER : WM_NCMOUSELEAVE, flags, lParam);
            }
        } else {
            m_hover = hit;
            MoveHover(oldHover, Enabled(newHover) ? newHover : nullptr, flags, lParam, TRUE);
        }
        if (Enabled(newHover))
            newHover->SendUiMessage(m_ncHover ? WM_NCMOUSEMOVE : WM_MOUSEMOVE, flags, lParam);
    }
    UpdateTrackedWindows(pt, FALSE);
}

void SwndContainerImpl::OnMouseLeave()
{
    if (SWindow* capture = Window(m_capture)) {
        capture->SendUiMessage(WM_MOUSELEAVE);
    } else if (SWindow* hover = Window(m_hover)) {
        if (Enabled(hover)) {
            SRefPtr<SWindow> hold(hover);
            hover->SendUiMessage(WM_MOUSELEAVE);
            if (m_ncHover)
                hover->SendUiMessage(WM_NCMOUSELEAVE);
        }
    }
    UpdateTrackedWindows(POINT{0, 0}, TRUE);
    m_hover = 0;
}

void SwndContainerImpl::UpdateTrackedWindows(POINT pt, BOOL leaveAll)
{
    for (auto* node = m_trackedWindows.First(); node;) {
        auto* next = node->next;
        SWindow* window = Window(node->value);
        if (!window) {
            RemoveTrackedWindow(node->value);
        } else if (window->TestVisible()) {
            BOOL inside = !leaveAll && window->ContainsPoint(pt, FALSE);
            BOOL hovered = (window->GetStateFlags() & kStateHover) != 0;
            if (inside && !hovered)
                window->SendUiMessage(WM_MOUSEHOVER);
            else if (!inside && hovered)
                window->SendUiMessage(WM_MOUSELEAVE);
        }
        node = next;
    }
}

} // namespace SKEIN
