// SItemPanel: an item's window tree hosted by an adapter-driven view.
#include "control/SItemPanel.h"
#include "core/SApp.h"
#include "res.mgr/SFontPool.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

const COLORREF kDefaultSelectedColor = 0xFF800000;
const COLORREF kDefaultTextColor = 0xFF000000;

} // namespace

SItemPanel* SItemPanel::Create(SWindow* hostView, pugi::xml_node templateNode, IItemContainer* itemContainer)
{
    SItemPanel* panel = new (std::nothrow) SItemPanel(hostView, templateNode, itemContainer);
    SApplication* app = SApplication::Instance();
    if (panel && app)
        app->ApplyClassDefaults(panel);
    return panel;
}

SItemPanel::SItemPanel(SWindow* hostView, pugi::xml_node templateNode, IItemContainer* itemContainer)
    : m_hostView(hostView), m_itemContainer(itemContainer), m_colorNormal(kColorUnset),
      m_colorSelected(kDefaultSelectedColor), m_colorHover(kColorUnset), m_itemData(0), m_itemIndex(-1),
      m_updateGuard(FALSE), m_redrawWanted(FALSE), m_onTimeline(FALSE), m_released(FALSE),
      m_pressed(FALSE)
{
    m_eventSet.DeclareEvent(EventItemPanelClick::EventID, EventItemPanelClick::EventName());
    m_eventSet.DeclareEvent(EventItemPanelDbclick::EventID, EventItemPanelDbclick::EventName());
    m_eventSet.DeclareEvent(EventItemPanelRclick::EventID, EventItemPanelRclick::EventName());
    m_eventSet.DeclareEvent(EventItemPanelHover::EventID, EventItemPanelHover::EventName());
    m_eventSet.DeclareEvent(EventItemPanelLeave::EventID, EventItemPanelLeave::EventName());
    if (templateNode) {
        LoadFromXml(templateNode);
        SetZOrderDirty();
        RebuildZOrder();
    }
}

void SItemPanel::OnLastRelease()
{
    // The destroy message takes and drops a reference of its own, which ends here again.
    if (m_released)
        return;
    m_released = TRUE;
    SendUiMessage(WM_DESTROY);
    delete this;
}

// ---- geometry ----

BOOL SItemPanel::ItemRectOf(RECT* rect) const
{
    *rect = RECT{0, 0, 0, 0};
    return m_itemContainer->ItemRect(const_cast<SItemPanel*>(this), rect);
}

POINT SItemPanel::ItemOrigin() const
{
    RECT rect;
    ItemRectOf(&rect);
    return POINT{rect.left, rect.top};
}

RECT SItemPanel::GetContainerRect() const
{
    RECT rect;
    ItemRectOf(&rect);
    return rect;
}

void SItemPanel::FrameToHost(RECT& rect) const
{
    POINT origin = ItemOrigin();
    ::OffsetRect(&rect, origin.x, origin.y);
}

SwndHandle SItemPanel::FindWindowAtPoint(POINT pt, BOOL flag)
{
    SwndHandle hit = SWindow::FindWindowAtPoint(pt, flag);
    return hit == m_handle ? 0 : hit;
}

// ---- what the host view's container answers ----

HWND SItemPanel::GetHostHwnd()
{
    ISwndContainer* host = HostContainer();
    return host ? host->GetHostHwnd() : nullptr;
}

SStringW SItemPanel::TranslationContext() const
{
    ISwndContainer* host = HostContainer();
    return host ? host->TranslationContext() : SStringW();
}

BOOL SItemPanel::IsTranslucent() const
{
    ISwndContainer* host = HostContainer();
    return host && host->IsTranslucent();
}

BOOL SItemPanel::IsSendWheel2Hover() const
{
    ISwndContainer* host = HostContainer();
    return host && host->IsSendWheel2Hover();
}

SMessageLoop* SItemPanel::GetMessageLoop()
{
    ISwndContainer* host = HostContainer();
    return host ? host->GetMessageLoop() : nullptr;
}

IScriptModule* SItemPanel::GetScriptModule()
{
    ISwndContainer* host = HostContainer();
    return host ? host->GetScriptModule() : nullptr;
}

int SItemPanel::GetScale() const
{
    ISwndContainer* host = HostContainer();
    return host ? host->GetScale() : 100;
}

BOOL SItemPanel::CreateCaret(SwndHandle owner, HBITMAP bitmap, int width, int height)
{
    ISwndContainer* host = HostContainer();
    return host && host->CreateCaret(owner, bitmap, width, height);
}

BOOL SItemPanel::ShowCaret(BOOL show)
{
    ISwndContainer* host = HostContainer();
    return host && host->ShowCaret(show);
}

BOOL SItemPanel::SetCaretPos(int x, int y)
{
    ISwndContainer* host = HostContainer();
    POINT origin = ItemOrigin();
    return host && host->SetCaretPos(x + origin.x, y + origin.y);
}

BOOL SItemPanel::UpdateWindow()
{
    ISwndContainer* host = HostContainer();
    return host && host->UpdateWindow();
}

void SItemPanel::UpdateTooltip()
{
    if (ISwndContainer* host = HostContainer())
        host->UpdateTooltip();
}

// ---- events, capture ----

BOOL SItemPanel::OnFireEvent(EventArgs* evt)
{
    EventOfPanel wrapped(m_hostView, this, evt);
    return m_hostView->RaiseEvent(wrapped);
}

BOOL SItemPanel::ReleaseCapture()
{
    if (!SwndContainerImpl::ReleaseCapture())
        return FALSE;
    m_itemContainer->SetItemCapture(this, FALSE);
    return TRUE;
}

SwndHandle SItemPanel::SetCapture(SwndHandle handle)
{
    m_itemContainer->SetItemCapture(this, TRUE);
    return SwndContainerImpl::SetCapture(handle);
}

template <class E>
void SItemPanel::RaiseMouseEvent(WPARAM wParam, LPARAM lParam)
{
    E evt(this);
    evt.wParam = wParam;
    evt.lParam = lParam;
    RaiseEvent(evt);
}

LRESULT SItemPanel::DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SRefPtr<SWindow> hold(this);
    if (!TestDisabled()) {
        switch (msg) {
        case WM_LBUTTONDOWN: RaiseMouseEvent<EventItemPanelClick>(wParam, lParam); break;
        case WM_LBUTTONDBLCLK: RaiseMouseEvent<EventItemPanelDbclick>(wParam, lParam); break;
        case WM_RBUTTONDOWN: RaiseMouseEvent<EventItemPanelRclick>(wParam, lParam); break;
        case WM_MOUSEHOVER:
            ChangeState(kStateHover, 0, TRUE);
            RaiseMouseEvent<EventItemPanelHover>(wParam, lParam);
            break;
        case WM_MOUSELEAVE: {
            ChangeState(0, kStateHover, TRUE);
            EventItemPanelLeave evt(this);
            RaiseEvent(evt);
            break;
        }
        default: break;
        }
    }
    SetMsgHandled(FALSE);
    bool released = msg == WM_LBUTTONUP && m_pressed;
    if (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_LBUTTONUP)
        m_pressed = msg != WM_LBUTTONUP;
    bool guarded = released && !m_updateGuard;
    if (guarded)
        SetUpdateGuard(TRUE);
    LRESULT result = SwndContainerImpl::DispatchHostMessage(msg, wParam, lParam);
    if (guarded) {
        SetUpdateGuard(FALSE);
        FireCommand();
    }
    return result;
}

void SItemPanel::EndPress()
{
    m_pressed = FALSE;
    CancelCapture();
}

// ---- painting ----

void SItemPanel::SetUpdateGuard(BOOL guard)
{
    m_updateGuard = guard;
    if (guard || !m_redrawWanted)
        return;
    m_redrawWanted = FALSE;
    InvalidateArea();
}

// The views release their panels as they are destroyed: a panel on its way out asks nothing of
// its view.
void SItemPanel::InvalidateRect(const RECT* rect)
{
    RECT item;
    if (m_released || !m_hostView->TestVisible(TRUE) || !ItemRectOf(&item) || ::IsRectEmpty(&item))
        return;
    if (m_updateGuard) {
        m_redrawWanted = TRUE;
        return;
    }
    RECT area = *rect;
    ::OffsetRect(&area, item.left, item.top);
    RECT client;
    m_hostView->GetInnerRect(&client);
    if (!::IntersectRect(&area, &area, &item) || !::IntersectRect(&area, &area, &client))
        return;
    if (m_itemContainer->DefersItemRedraw()) {
        m_hostView->InvalidateArea(&area);
        return;
    }
    ::OffsetRect(&area, -item.left, -item.top);
    PaintNow(area);
}

void SItemPanel::PaintNow(const RECT& rect)
{
    IRenderTarget* rt = AcquireRenderTarget(&rect, kPaintWithBackground);
    if (!rt)
        return;
    SRefPtr<IRegion> region = NewRegion(&rect);
    RebuildZOrder();
    PaintSubtree(rt, region);
    ReleaseRenderTarget(rt, &rect, kPaintWithBackground);
}

IRenderTarget* SItemPanel::AcquireRenderTarget(const RECT* rect, int paintFlags)
{
    POINT origin = ItemOrigin();
    RECT area = *rect;
    ::OffsetRect(&area, origin.x, origin.y);
    IRenderTarget* rt = m_hostView->AcquirePaintTarget(&area, paintFlags, TRUE);
    if (!rt)
        return nullptr;
    if (paintFlags == kPaintWithBackground)
        m_hostView->SendUiMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    rt->OffsetViewportOrg(origin.x, origin.y, nullptr);
    return rt;
}

void SItemPanel::ReleaseRenderTarget(IRenderTarget* rt, const RECT*, int)
{
    POINT origin = ItemOrigin();
    rt->OffsetViewportOrg(-origin.x, -origin.y, nullptr);
    m_hostView->ReturnPaintTarget(rt);
}

void SItemPanel::Draw(IRenderTarget* rt, const RECT& itemRect)
{
    RelayoutIfDirty();
    SPaintState saved;
    BeginPaintState(rt, &saved);
    IRegion* clip = nullptr;
    rt->GetClipRegion(&clip);
    SRefPtr<IRegion> region;
    region.Attach(clip);
    rt->OffsetViewportOrg(itemRect.left, itemRect.top, nullptr);
    if (region)
        region->Offset(POINT{-itemRect.left, -itemRect.top});
    RebuildZOrder();
    PaintSubtree(rt, region);
    rt->OffsetViewportOrg(-itemRect.left, -itemRect.top, nullptr);
    EndPaintState(rt, &saved);
}

COLORREF SItemPanel::BackgroundColor() const
{
    COLORREF color = m_colorNormal;
    if ((m_state & kStateHover) && m_colorHover != kColorUnset)
        color = m_colorHover;
    if ((m_state & kStateChecked) && m_colorSelected != kColorUnset)
        color = m_colorSelected;
    return color;
}

void SItemPanel::SetColors(COLORREF normal, COLORREF selected)
{
    m_colorNormal = normal;
    m_colorSelected = selected;
}

void SItemPanel::BeginPaintState(IRenderTarget* rt, SPaintState* saved)
{
    int state = StateIndex();
    IFont* font = m_style.GetStateFont(state);
    if (!font) {
        SFontPool* fonts = SFontPool::Instance();
        font = fonts ? fonts->ObtainFont(L"", GetScale()) : nullptr;
    }
    if (font)
        rt->SelectObject(font, &saved->font);
    COLORREF color = m_style.GetStateTextColor(state);
    saved->textColor = rt->SetTextColor(color == kColorUnset ? kDefaultTextColor : color);
}

// ---- window ----

HRESULT SItemPanel::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    COLORREF* color = Is(name, L"colorNormal")     ? &m_colorNormal
                      : Is(name, L"colorSelected") ? &m_colorSelected
                      : Is(name, L"colorHover")    ? &m_colorHover
                                                   : nullptr;
    if (!color)
        return SwndContainerImpl::ApplyAttribute(name, value, loading);
    if (!ParseColor(value, color))
        return E_FAIL;
    return AfterAttribute(name, value, loading, S_OK);
}

BOOL SItemPanel::ProvideTooltip(POINT pt, SwndToolInfo* info)
{
    SWindow* hover = SWindowMgr::GetWindow(GetHover());
    if (!hover || hover == this) {
        info->handle = m_handle;
        info->cookie = 0;
        ItemRectOf(&info->rect);
        info->text = QueryTooltipText();
        return !info->text.IsEmptyText();
    }
    if (!hover->ProvideTooltip(pt, info))
        return FALSE;
    FrameToHost(info->rect);
    return TRUE;
}

void SItemPanel::FlagLayoutDirty(SwndHandle source, BOOL force)
{
    SwndContainerImpl::FlagLayoutDirty(source, force);
    m_itemContainer->ItemRelayoutRequested(this);
}

void SItemPanel::OnShow(BOOL show)
{
    ISwndContainer* host = HostContainer();
    if (!host || show == m_onTimeline)
        return;
    m_onTimeline = show;
    if (show)
        host->AddTimelineHandler(this);
    else
        host->RemoveTimelineHandler(this);
}

BOOL SItemPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        COLORREF color = BackgroundColor();
        if (m_skin || color == kColorUnset)
            break;
        RECT inner;
        ComputeInnerRect(&inner);
        reinterpret_cast<IRenderTarget*>(wParam)->FillSolidRect(&inner, color);
        *result = 1;
        return TRUE;
    }
    case WM_SHOWWINDOW: {
        BOOL handled = SwndContainerImpl::HandleMessage(msg, wParam, lParam, result);
        OnShow(TestVisible(TRUE));
        return handled;
    }
    case WM_DESTROY: OnShow(FALSE); break;
    default: break;
    }
    return SwndContainerImpl::HandleMessage(msg, wParam, lParam, result);
}

} // namespace SKEIN
