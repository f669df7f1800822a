// SWindow: construction, the tree, lookups, state, capture, focus and timers.
#include "core/SWnd.h"
#include "core/STimer2.h"
#include "helper/SLog.h"
#include "helper/SwndFinder.h"
#include "helper/SStringConv.h"
#include "interface/SwndContainer-i.h"
#include "layout/SLayout-i.h"
#include "layout/SLayoutPass.h"

namespace SKEIN {

SWindow::SWindow()
    : m_windowRect{0, 0, 0, 0}, m_handle(0), m_isFloat(FALSE), m_container(nullptr), m_owner(nullptr),
      m_parent(nullptr), m_firstChild(nullptr), m_lastChild(nullptr), m_nextSibling(nullptr),
      m_prevSibling(nullptr), m_childCount(0), m_currentMessage(nullptr), m_text(this), m_tooltip(this), m_id(0),
      m_zOrder(0), m_redrawLock(0), m_state(0), m_flags(kWndInitialFlags), m_layoutDirty(1), m_userData(0),
      m_maxWidth(SLayoutSize::kWrapContent, SLayoutSize::kPx), m_tintColor(0)
{
    if (SWindowMgr* manager = SWindowMgr::Instance())
        m_handle = manager->NewWindow(this);
    static const struct {
        int id;
        const wchar_t* name;
    } kEvents[] = {
        {EventSwndCreate::EventID, EventSwndCreate::EventName()},
        {EventSwndDestroy::EventID, EventSwndDestroy::EventName()},
        {EventSwndSize::EventID, EventSwndSize::EventName()},
        {EventSwndMouseHover::EventID, EventSwndMouseHover::EventName()},
        {EventSwndMouseLeave::EventID, EventSwndMouseLeave::EventName()},
        {EventSwndStateChanged::EventID, EventSwndStateChanged::EventName()},
        {EventSwndVisibleChanged::EventID, EventSwndVisibleChanged::EventName()},
        {EventSwndUpdateTooltip::EventID, EventSwndUpdateTooltip::EventName()},
        {EventLButtonDown::EventID, EventLButtonDown::EventName()},
        {EventLButtonUp::EventID, EventLButtonUp::EventName()},
        {EventCmd::EventID, EventCmd::EventName()},
        {EventCtxMenu::EventID, EventCtxMenu::EventName()},
        {EventSetFocus::EventID, EventSetFocus::EventName()},
        {EventKillFocus::EventID, EventKillFocus::EventName()},
    };
    for (const auto& event : kEvents)
        m_eventSet.DeclareEvent(event.id, event.name);
    InstallDefaultLayout();
}

SWindow::~SWindow()
{
    if (SWindowMgr* manager = SWindowMgr::Instance())
        manager->DestroyWindow(m_handle);
}

// ---- tree ----

void SWindow::LinkChild(SWindow* child, SWindow* after)
{
    // A window never becomes its own ancestor: that would make the tree a cycle.
    if (!child || child->m_parent == this || child == this || HasAncestor(child))
        return;
    child->AttachContainer(m_container);
    child->m_prevSibling = child->m_nextSibling = nullptr;
    child->m_parent = this;
    if (!after || after == m_lastChild) {
        child->m_prevSibling = m_lastChild;
        (m_lastChild ? m_lastChild->m_nextSibling : m_firstChild) = child;
        m_lastChild = child;
    } else if (after == SKEIN_ICWND_FIRST) {
        child->m_nextSibling = m_firstChild;
        (m_firstChild ? m_firstChild->m_prevSibling : m_lastChild) = child;
        m_firstChild = child;
    } else {
        child->m_prevSibling = after;
        child->m_nextSibling = after->m_nextSibling;
        after->m_nextSibling->m_prevSibling = child;
        after->m_nextSibling = child;
    }
    ++m_childCount;
    m_layoutDirty = 1;
    SLayoutPass::NoteChange();
    if (m_layout && !m_layout->IsParamAcceptable(child->m_layoutParam)) {
        ILayoutParam* param = m_layout->CreateLayoutParam();
        if (param) {
            child->AssignLayoutParam(param);
            param->Release();
        }
    }
    child->HandleEnable(!TestDisabled(TRUE), 1);
    if (m_container)
        m_container->SetZOrderDirty();
}

BOOL SWindow::UnlinkChild(SWindow* child)
{
    if (!child || child->m_parent != this)
        return FALSE;
    (child->m_prevSibling ? child->m_prevSibling->m_nextSibling : m_firstChild) = child->m_nextSibling;
    (child->m_nextSibling ? child->m_nextSibling->m_prevSibling : m_lastChild) = child->m_prevSibling;
    child->m_parent = child->m_prevSibling = child->m_nextSibling = nullptr;
    --m_childCount;
    SLayoutPass::NoteChange();
    return TRUE;
}

BOOL SWindow::DestroyChild(SWindow* child)
{
    if (!child || child->m_parent != this)
        return FALSE;
    child->InvalidateArea();
    EndChild(child);
    return TRUE;
}

void SWindow::EndChild(SWindow* child)
{
    child->SendUiMessage(WM_DESTROY);
    UnlinkChild(child);
    // The tip of a hovered window that left the tree goes with it.
    if (m_container && m_container->GetHover() == child->m_handle)
        m_container->UpdateTooltip();
    child->Release();
}

BOOL SWindow::Dispose()
{
    if (m_parent)
        return m_parent->DestroyChild(this);
    SendUiMessage(WM_DESTROY);
    Release();
    return TRUE;
}

void SWindow::RaiseToTop()
{
    SWindow* parent = m_parent;
    if (!parent || parent->m_lastChild == this)
        return;
    parent->UnlinkChild(this);
    parent->LinkChild(this);
}

SWindow* SWindow::GetRelative(int kind) const
{
    switch (kind) {
    case kRelFirstChild: return m_firstChild;
    case kRelLastChild: return m_lastChild;
    case kRelPrevSibling: return m_prevSibling;
    case kRelNextSibling: return m_nextSibling;
    case kRelParent: return m_parent;
    case kRelOwner: return m_owner;
    default: return nullptr;
    }
}

SWindow* SWindow::GetRootWindow()
{
    SWindow* root = this;
    while (root->m_parent)
        root = root->m_parent;
    return root;
}

BOOL SWindow::HasAncestor(const SWindow* window) const
{
    if (!window)
        return FALSE;
    for (SWindow* parent = m_parent; parent; parent = parent->m_parent) {
        if (parent == window)
            return TRUE;
    }
    return FALSE;
}

void SWindow::AttachContainer(ISwndContainer* container)
{
    m_container = container;
    for (SWindow* child = m_firstChild; child; child = child->m_nextSibling)
        child->AttachContainer(container);
}

// ---- lookups ----

SWindow* SWindow::SearchChild(int id, const SStringW& name, int depth) const
{
    for (SWindow* child = m_firstChild; child; child = child->m_nextSibling) {
        if (id ? child->m_id == id : child->m_name == name)
            return child;
    }
    if (depth == 1)
        return nullptr;
    int next = depth < 0 ? depth : depth - 1;
    for (SWindow* child = m_firstChild; child; child = child->m_nextSibling) {
        if (SWindow* found = child->SearchChild(id, name, next))
            return found;
    }
    return nullptr;
}

// A cached answer counts only while that window still lies below this one with the key: a
// window moved elsewhere, renamed or given another id is searched for again.
bool SWindow::IsCachedMatch(const SWindow* found, int id, const SStringW& name) const
{
    return found && found->HasAncestor(this) && (id ? found->m_id == id : found->m_name == name);
}

SWindow* SWindow::LookupChildById(int id, int depth)
{
    if (id == 0 || depth == 0)
        return nullptr;
    SWindowFinder* finder = SWindowFinder::Instance();
    SWindow* found = finder ? finder->FindChildByID(m_handle, id, depth) : nullptr;
    if (IsCachedMatch(found, id, SStringW()))
        return found;
    found = SearchChild(id, SStringW(), depth);
    if (found && finder)
        finder->CacheResultForID(m_handle, id, depth, found->m_handle);
    return found;
}

SWindow* SWindow::LookupChildByName(const SStringW& name, int depth)
{
    if (name.IsEmptyText() || depth == 0)
        return nullptr;
    SWindowFinder* finder = SWindowFinder::Instance();
    SWindow* found = finder ? finder->FindChildByName(m_handle, name, depth) : nullptr;
    if (IsCachedMatch(found, 0, name))
        return found;
    found = SearchChild(0, name, depth);
    if (found && finder)
        finder->CacheResultForName(m_handle, name, depth, found->m_handle);
    return found;
}

void SWindow::LogFindByNameFailed(const wchar_t* className, const SStringW& name, int depth) const
{
    SKEIN_LOG(3, "SKEIN::SWindow::FindChildByName2")
        .Line()
        .AppendText("FindChildByName2 Failed, no window of class ")
        .AppendWide(className)
        .AppendText(" with name of [")
        .AppendWide(name.c_str())
        .AppendText("] was found within [")
        .AppendInt(depth)
        .AppendText("] levels");
}

void SWindow::LogFindByIdFailed(const wchar_t* className, int id, int depth) const
{
    SKEIN_LOG(3, "SKEIN::SWindow::FindChildByID2")
        .FormatW(L"FindChildByID2 Failed, no window of class [%s] with id of [%d] was found within [%d] levels",
                 className, id, depth);
}

// ---- state ----

BOOL SWindow::TestVisible(BOOL inherited) const
{
    return inherited ? (m_state & kStateInvisible) == 0 : (m_flags & kWndVisible) != 0;
}

BOOL SWindow::TestDisabled(BOOL inherited) const
{
    return inherited ? (m_state & kStateDisabled) != 0 : (m_flags & kWndDisabled) != 0;
}

int SWindow::StateIndex() const
{
    if (m_state & kStateDisabled)
        return 3;
    if (m_state & (kStatePushed | kStateChecked))
        return 2;
    return (m_state & kStateHover) ? 1 : 0;
}

DWORD SWindow::ChangeState(DWORD add, DWORD remove, BOOL redraw)
{
    DWORD oldState = m_state;
    DWORD newState = add | (oldState & ~remove);
    BeforeStateChange(oldState, newState);
    m_state = newState;
    SLayoutPass::NoteChange(); // fonts and texts may follow the state
    NotifyStateChanged(oldState, newState);
    if (redraw && NeedsRedrawOnStateChange())
        InvalidateArea();
    return oldState;
}

void SWindow::SetCheckedState(BOOL checked, BOOL redraw)
{
    ChangeState(checked ? kStateChecked : 0, checked ? 0 : kStateChecked, redraw);
}

void SWindow::NotifyStateChanged(DWORD oldState, DWORD newState)
{
    EventSwndStateChanged evt(this);
    evt.oldState = oldState;
    evt.newState = newState;
    RaiseEvent(evt);
}

BOOL SWindow::NeedsRedrawOnStateChange() const
{
    return (m_skin && !m_skin->IsStateless()) || m_style.GetStateCount() > 1;
}

void SWindow::ChangeVisibility(BOOL show, BOOL redraw)
{
    if (redraw)
        InvalidateArea();
    SendUiMessage(WM_SHOWWINDOW, show);
    if (redraw)
        InvalidateArea();
}

void SWindow::EnableWindow(BOOL enable, BOOL redraw)
{
    SendUiMessage(WM_ENABLE, enable);
    if (redraw)
        InvalidateArea();
}

// ---- capture, focus, caret, timers ----

SwndHandle SWindow::TakeMouseCapture()
{
    return m_container ? m_container->SetCapture(m_handle) : 0;
}

BOOL SWindow::DropMouseCapture()
{
    return m_container ? m_container->ReleaseCapture() : FALSE;
}

SwndHandle SWindow::QueryMouseCapture() const
{
    return m_container ? m_container->GetCapture() : 0;
}

void SWindow::TakeFocus()
{
    if (!m_container || (m_state & kStateInvisible))
        return;
    if ((m_state & kStateDisabled) && IsFocusable())
        return;
    m_container->SetFocusedWindow(m_handle);
}

void SWindow::DropFocus()
{
    if (HoldsFocus())
        m_container->SetFocusedWindow(0);
}

BOOL SWindow::HoldsFocus() const
{
    return m_container && m_container->GetFocus() == m_handle;
}

BOOL SWindow::CreateCaret(HBITMAP bitmap, int width, int height)
{
    return m_container ? m_container->CreateCaret(m_handle, bitmap, width, height) : FALSE;
}

BOOL SWindow::ShowCaret(BOOL show)
{
    return m_container ? m_container->ShowCaret(show) : FALSE;
}

BOOL SWindow::SetCaretPosition(int x, int y)
{
    return m_container ? m_container->SetCaretPos(x, y) : FALSE;
}

BOOL SWindow::StartHostTimer(UINT id, UINT elapse)
{
    UINT_PTR packed = 0;
    HWND host = m_container ? m_container->GetHostHwnd() : nullptr;
    if (!host || !PackSwndTimerId(m_handle, id, packed))
        return FALSE;
    return ::SetTimer(host, packed, elapse, nullptr) != 0;
}

void SWindow::StopHostTimer(UINT id)
{
    UINT_PTR packed = 0;
    HWND host = m_container ? m_container->GetHostHwnd() : nullptr;
    if (host && PackSwndTimerId(m_handle, id, packed))
        ::KillTimer(host, packed);
}

BOOL SWindow::StartTimer2(UINT id, UINT elapse)
{
    STimer2* timers = STimer2::Instance();
    return timers && timers->SetTimer(m_handle, id, elapse);
}

void SWindow::StopTimer2(UINT id)
{
    if (STimer2* timers = STimer2::Instance())
        timers->KillTimer(m_handle, id);
}

} // namespace SKEIN
