// SWindow: message dispatch, the default message map, events and translatable texts.
#include "core/SApp.h"
#include "core/SWnd.h"
#include "helper/SLog.h"
#include "interface/SwndContainer-i.h"
#include "layout/SLayout-i.h"
#include "layout/SLayoutPass.h"

namespace SKEIN {

namespace {

// The events being raised on this thread, innermost first: an event that comes back to a
// window it already visits has gone round an owner cycle.
struct SRaiseFrame {
    const SWindow* window;
    const EventArgs* evt;
    SRaiseFrame* outer;
};
thread_local SRaiseFrame* t_raising = nullptr;

bool IsBeingRaisedAt(const SWindow* window, const EventArgs* evt)
{
    for (SRaiseFrame* frame = t_raising; frame; frame = frame->outer) {
        if (frame->window == window && frame->evt == evt)
            return true;
    }
    return false;
}

POINT PointFromLParam(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace

// ---- translatable text ----

void STranslatableText::SetSource(const SStringW& text)
{
    m_source = text;
    Retranslate();
}

void STranslatableText::Retranslate()
{
    SLayoutPass::NoteChange();
    SApplication* app = SApplication::Instance();
    if (!m_provider)
        return;
    m_translated = app ? app->TranslateText(m_source.c_str(), m_provider->GetTrCtx().c_str()) : m_source;
}

SStringW SWindow::GetTrCtx() const
{
    if (!m_trCtx.IsEmptyText() || !m_container)
        return m_trCtx;
    return m_container->TranslationContext();
}

SStringW SWindow::QueryText(bool raw) const
{
    return m_text.GetText(raw);
}

BOOL SWindow::AssignText(const SStringW& text)
{
    m_text.SetSource(text);
    return OnContentChanged();
}

void SWindow::AssignTooltipText(const SStringW& text)
{
    m_tooltip.SetSource(text);
    if (m_container && m_container->GetHover() == m_handle)
        m_container->UpdateTooltip();
}

SStringW SWindow::QueryTooltipText() const
{
    return m_tooltip.GetText(false);
}

SStringW SWindow::TranslateText(const SStringW& text) const
{
    SApplication* app = SApplication::Instance();
    return app ? app->TranslateText(text.c_str(), GetTrCtx().c_str()) : text;
}

int SWindow::RetranslateTexts()
{
    m_text.Retranslate();
    m_tooltip.Retranslate();
    return WrapsContent(kOrientAny) ? 0 : 1;
}

BOOL SWindow::OnContentChanged()
{
    SLayoutPass::NoteChange();
    BOOL visible = TestVisible(TRUE);
    if (visible)
        InvalidateClientArea();
    if (WrapsContent(kOrientAny)) {
        InvalidateLayout();
        if (visible)
            InvalidateClientArea();
    } else if (MatchesParent(kOrientAny) && m_parent) {
        return m_parent->OnContentChanged();
    }
    return TRUE;
}

BOOL SWindow::ProvideTooltip(POINT, SwndToolInfo* info)
{
    info->handle = m_handle;
    info->cookie = 0;
    info->rect = m_windowRect;
    EventSwndUpdateTooltip evt(this);
    RaiseEvent(evt);
    if (evt.updated) {
        info->text = evt.text;
        return !evt.text.IsEmptyText();
    }
    info->text = QueryTooltipText();
    return !info->text.IsEmptyText();
}

SWindow* SWindow::FindFirstGroupMemberChild()
{
    for (SWindow* child = m_firstChild; child; child = child->m_nextSibling) {
        if (child->IsGroupMember())
            return child->FindCheckedGroupMember();
    }
    return nullptr;
}

BOOL SWindow::ApplyCursor(POINT)
{
    SApplication* app = SApplication::Instance();
    HCURSOR cursor = app ? app->LoadCursorRes(m_style.GetCursor().c_str()) : nullptr;
    if (cursor)
        ::SetCursor(cursor);
    return TRUE;
}

// ---- dispatch ----

LRESULT SWindow::SendUiMessage(UINT msg, WPARAM wParam, LPARAM lParam, BOOL* handled)
{
    AddRef();
    SwndMsg record{msg, wParam, lParam, m_currentMessage};
    m_currentMessage = &record;
    BOOL savedHandled = m_msgHandled;
    m_msgHandled = FALSE;
    LRESULT result = 0;
    BOOL wasHandled = HandleMessage(msg, wParam, lParam, &result);
    if (handled)
        *handled = wasHandled;
    m_msgHandled = savedHandled;
    m_currentMessage = record.previous;
    Release();
    return result;
}

LRESULT SWindow::SendUiMessageToTree(UINT msg, WPARAM wParam, LPARAM lParam)
{
    AddRef();
    LRESULT result = SendUiMessage(msg, wParam, lParam);
    for (SWindow* child = m_firstChild; child; child = child->m_nextSibling)
        result = child->SendUiMessageToTree(msg, wParam, lParam);
    Release();
    return result;
}

BOOL SWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    IRenderTarget* rt = reinterpret_cast<IRenderTarget*>(wParam);
    *result = 0;
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_PAINT: DrawTextContent(rt); break;
    case WM_ERASEBKGND:
        PaintBackground(rt);
        *result = 1;
        break;
    case WM_NCPAINT: PaintBorder(rt); break;
    case WM_CREATE: *result = HandleCreate(); break;
    case WM_SIZE: HandleSize(LOWORD(lParam), HIWORD(lParam)); break;
    case WM_DESTROY: HandleDestroy(); break;
    case WM_SHOWWINDOW: HandleShow(static_cast<BOOL>(wParam), static_cast<int>(lParam)); break;
    case WM_ENABLE: HandleEnable(static_cast<BOOL>(wParam), static_cast<int>(lParam)); break;
    case WM_LBUTTONDOWN: *result = HandleLeftButtonDown(static_cast<UINT>(wParam), PointFromLParam(lParam)); break;
    case WM_LBUTTONUP: HandleLeftButtonUp(static_cast<UINT>(wParam), PointFromLParam(lParam)); break;
    case WM_RBUTTONDOWN: *result = FireContextMenu(PointFromLParam(lParam)); break;
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: break;
    case WM_MOUSEHOVER: HandleMouseHover(); break;
    case WM_MOUSELEAVE: HandleMouseLeave(); break;
    case WM_CAPTURECHANGED: HandleCaptureLost(); break;
    case WM_MOUSEWHEEL: *result = m_parent ? m_parent->SendUiMessage(msg, wParam, lParam) : 0; break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: HandleFocusChange(msg == WM_SETFOCUS); break;
    case kUiMsgLanguageChanged: HandleLanguageChanged(); break;
    case kUiMsgScaleChanged: ApplyScale(static_cast<int>(wParam)); break;
    case kUiMsgColorTint: ApplyColorTint(static_cast<COLORREF>(wParam)); break;
    default: return HandleUnmappedMessage(msg, wParam, lParam, result);
    }
    return IsMsgHandled();
}

// ---- handlers ----

int SWindow::HandleCreate()
{
    if (m_container) {
        if (m_style.IsTrackMouseEvent())
            m_container->AddTrackedWindow(m_handle);
        else
            m_container->RemoveTrackedWindow(m_handle);
    }
    m_style.ApplyScale(GetScale());
    EventSwndCreate evt(this);
    RaiseEvent(evt);
    return 0;
}

void SWindow::HandleDestroy()
{
    EventSwndDestroy evt(this);
    RaiseEvent(evt);
    while (SWindow* child = m_firstChild)
        EndChild(child);
}

void SWindow::HandleSize(int width, int height)
{
    if (NeedsOwnLayer()) {
        UpdateCacheTarget();
        m_flags |= kWndCacheDirty;
    }
    if (IsLayered())
        UpdateLayerTarget();
    EventSwndSize evt(this);
    evt.size = SIZE{width, height};
    RaiseEvent(evt);
}

void SWindow::HandleShow(BOOL show, int reason)
{
    SLayoutPass::NoteChange();
    if (reason != 1)
        m_flags = show ? (m_flags | kWndVisible) : (m_flags & ~kWndVisible);
    else if (!(m_flags & kWndVisible))
        show = FALSE;
    if (m_parent && (m_parent->m_state & kStateInvisible))
        show = FALSE;
    if (show) {
        RelayoutIfDirty();
        m_state &= ~kStateInvisible;
    } else {
        m_state |= kStateInvisible;
    }
    for (SWindow* child = m_firstChild; child;) {
        SWindow* next = child->m_nextSibling;
        child->AddRef();
        child->SendUiMessage(WM_SHOWWINDOW, show, 1);
        child->Release();
        child = next;
    }
    if (!show) {
        DropFocus();
        if (QueryMouseCapture() == m_handle) {
            SendUiMessage(WM_CAPTURECHANGED); // its press or drag ends with it
            DropMouseCapture();
        }
        if (m_container && m_container->GetHover() == m_handle)
            m_container->UpdateTooltip();
    }
    if (!(m_flags & kWndDisplay))
        InvalidateLayout();
    EventSwndVisibleChanged evt(this);
    RaiseEvent(evt);
}

void SWindow::HandleEnable(BOOL enable, int reason)
{
    SLayoutPass::NoteChange();
    if (reason != 1)
        m_flags = enable ? (m_flags & ~kWndDisabled) : (m_flags | kWndDisabled);
    else if (m_flags & kWndDisabled)
        enable = FALSE;
    if (m_parent && (m_parent->m_state & kStateDisabled))
        enable = FALSE;
    if (enable)
        m_state &= ~kStateDisabled;
    else
        m_state = (m_state | kStateDisabled) & ~kStateHover;
    for (SWindow* child = m_firstChild; child; child = child->m_nextSibling)
        child->SendUiMessage(WM_ENABLE, enable, 1);
    if (!enable)
        DropFocus();
}

LRESULT SWindow::HandleLeftButtonDown(UINT, POINT pt)
{
    if (IsFocusable())
        TakeFocus();
    TakeMouseCapture();
    ChangeState(kStatePushed, 0, TRUE);
    EventLButtonDown evt(this);
    evt.pt = pt;
    return RaiseEvent(evt);
}

void SWindow::HandleLeftButtonUp(UINT, POINT pt)
{
    DropMouseCapture();
    if (!(m_state & kStatePushed))
        return;
    ChangeState(0, kStatePushed, TRUE);
    if (!::PtInRect(&m_windowRect, pt))
        return;
    EventLButtonUp evt(this);
    evt.pt = pt;
    RaiseEvent(evt);
    FireCommand();
}

void SWindow::HandleMouseHover()
{
    if (QueryMouseCapture() == m_handle)
        ChangeState(kStatePushed, 0, FALSE);
    ChangeState(kStateHover, 0, TRUE);
    RedrawNonClient();
    EventSwndMouseHover evt(this);
    RaiseEvent(evt);
}

void SWindow::HandleMouseLeave()
{
    ChangeState(0, kStatePushed | kStateHover, TRUE);
    EventSwndMouseLeave evt(this);
    RaiseEvent(evt);
}

// The press ends without a click: no release will come.
void SWindow::HandleCaptureLost()
{
    ChangeState(0, kStatePushed, TRUE);
}

void SWindow::HandleFocusChange(bool gained)
{
    if (gained) {
        EventSetFocus evt(this);
        RaiseEvent(evt);
    } else {
        EventKillFocus evt(this);
        RaiseEvent(evt);
    }
    InvalidateArea();
}

void SWindow::HandleLanguageChanged()
{
    int answer = RetranslateTexts();
    if (answer == 1) {
        RECT inner;
        ComputeInnerRect(&inner);
        InvalidateAreaCore(inner, TRUE);
    } else if (answer == 0) {
        FlagLayoutDirty(m_handle, TRUE);
    }
}

void SWindow::ApplyScale(int scale)
{
    SLayoutPass::NoteChange();
    m_style.ApplyScale(scale);
    SRefPtr<ISkinObj>* skins[2] = {&m_ncSkin, &m_skin};
    for (SRefPtr<ISkinObj>* skin : skins) {
        if (!*skin)
            continue;
        if (ISkinObj* scaled = LookupSkin(SStringW((*skin)->GetName()), scale))
            *skin = scaled;
    }
    m_layoutDirty = 1;
}

void SWindow::ApplyColorTint(COLORREF color)
{
    if (color == m_tintColor)
        return;
    m_tintColor = color;
    if (m_ncSkin)
        m_ncSkin->ApplyColorize(color);
    if (m_skin)
        m_skin->ApplyColorize(color);
    InvalidateArea();
}

void SWindow::BroadcastColorTint(COLORREF color)
{
    SendUiMessageToTree(kUiMsgColorTint, color);
}

// ---- events ----

BOOL SWindow::RaiseEvent(EventArgs& evt)
{
    if (m_eventSet.IsMuted())
        return FALSE;
    SRaiseFrame frame{this, &evt, t_raising};
    t_raising = &frame;
    m_eventSet.FireEvent(evt);
    BOOL result = evt.handled != 0;
    if (evt.bubbleUp) {
        if (m_owner && IsBeingRaisedAt(m_owner, &evt)) {
            SKEIN_LOG(3, "SKEIN::SWindow::RaiseEvent")
                .FormatW(L"event %d of [%s] stopped: its owner windows form a cycle", evt.GetId(), m_name.c_str());
        } else if (m_owner) {
            result = m_owner->RaiseEvent(evt);
        } else if (m_container) {
            result = m_container->OnFireEvent(&evt);
        }
    }
    t_raising = frame.outer;
    return result;
}

BOOL SWindow::FireCommand()
{
    EventCmd evt(this);
    return RaiseEvent(evt);
}

BOOL SWindow::FireContextMenu(POINT pt)
{
    EventCtxMenu evt(this);
    evt.pt = pt;
    RaiseEvent(evt);
    return evt.cancel;
}

} // namespace SKEIN
