// SListView: adapter, locator and template; the recycling refresh of the visible items;
// selection, scrolling, painting and the window's life.
#include "control/SListView.h"
#include <algorithm>
#include "control/SListViewItemLocator.h"
#include "helper/SLog.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

// Pending item values: nothing pending, a full refresh pending (else the one item).
const int kNothingPending = -2;
const int kFullRefreshPending = -1;
// Repaints while the thumb is dragged come at most this often (ms).
const int kThumbTrackInterval = 40;
// A refresh runs again once when it changed the flexible total height, and no more.
const int kMaxRefreshPasses = 2;
const wchar_t kDefaultItemHeight[] = L"30dp";

} // namespace

// ---- observer ----

void SListViewDataSetObserver::DataChanged()
{
    if (m_view)
        m_view->OnDataChanged();
}

void SListViewDataSetObserver::DataInvalidated()
{
    if (m_view)
        m_view->OnDataInvalidated();
}

void SListViewDataSetObserver::ItemDataChanged(int index)
{
    if (m_view)
        m_view->OnItemChanged(index);
}

// ---- construction ----

SListView::SListView()
    : m_observer(new SListViewDataSetObserver(this), false), m_pendingRefresh(FALSE), m_pendingItem(kNothingPending),
      m_firstVisible(-1), m_selection(-1), m_refreshOnPaint(FALSE)
{
    m_flags |= kWndFocusable;
    m_updateInterval = kThumbTrackInterval;
    m_eventSet.DeclareEvent(EventLVSelChanging::EventID, EventLVSelChanging::EventName());
    m_eventSet.DeclareEvent(EventLVSelChanged::EventID, EventLVSelChanged::EventName());
    m_eventSet.DeclareEvent(EventOfPanel::EventID, EventOfPanel::EventName());
}

SListView::~SListView()
{
    ReleaseAllPanels();
    // An adapter that still holds the observer reaches no dead view through it.
    m_observer->ForgetView();
    m_observer = nullptr;
    m_locator = nullptr;
    m_adapter = nullptr;
}

HRESULT SListView::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    if (Is(name, L"dividerSkin")) {
        m_dividerSkin = FindSkin(value, GetScale());
        result = S_OK;
    } else if (Is(name, L"dividerSize")) {
        m_dividerSize = ResolveNamedDimension(value.c_str());
    } else {
        return SItemPanelHost::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

BOOL SListView::CreateChildrenFromXml(pugi::xml_node node)
{
    pugi::xml_node itemTemplate = XmlChildNoCase(node, L"template");
    if (!itemTemplate)
        return TRUE;
    m_itemTemplate.reset();
    m_itemTemplate.append_copy(itemTemplate);
    pugi::xml_attribute itemHeight = XmlAttributeNoCase(itemTemplate, L"itemHeight");
    SLayoutSize fixedHeight = ResolveNamedDimension(itemHeight ? itemHeight.value() : L"0");
    SRefPtr<IListViewItemLocator> locator;
    if (fixedHeight.value > 0) {
        locator.Attach(new SListViewItemLocatorFix(fixedHeight, m_dividerSize));
    } else {
        pugi::xml_attribute defHeight = XmlAttributeNoCase(itemTemplate, L"defHeight");
        SLayoutSize height = ResolveNamedDimension(defHeight ? defHeight.value() : kDefaultItemHeight);
        locator.Attach(new SListViewItemLocatorFlex(height, m_dividerSize));
    }
    SetLocator(locator);
    return TRUE;
}

int SListView::GetScrollLineSize(BOOL vertical)
{
    return m_locator ? m_locator->LineSize() : SPanel::GetScrollLineSize(vertical);
}

// ---- adapter and locator ----

void SListView::SetAdapter(ListItemAdapter* adapter)
{
    if (m_adapter)
        m_adapter->UnregisterObserver(m_observer);
    ReleaseAllPanels();
    m_adapter = adapter;
    m_selection = -1;
    if (m_locator)
        m_locator->AttachAdapter(adapter);
    if (!adapter) {
        ResetBins(0);
        UpdateScrollBar();
        return;
    }
    adapter->RegisterObserver(m_observer);
    ResetBins(std::max(1, adapter->ViewTypeCount()));
    OnDataChanged();
}

void SListView::SetLocator(IListViewItemLocator* locator)
{
    m_locator = locator;
    if (locator) {
        locator->AttachAdapter(m_adapter);
        locator->SetScale(GetScale());
    }
    OnDataChanged();
}

void SListView::ResetBins(int count)
{
    m_bins.clear();
    m_bins.resize(count);
}

void SListView::ReleaseAllPanels()
{
    m_hoveredPanel = nullptr;
    m_capturedPanel = nullptr;
    m_firstVisible = -1;
    std::vector<VisibleItem> visible;
    visible.swap(m_visible);
    for (const VisibleItem& item : visible)
        item.panel->Release();
    for (std::vector<SItemPanel*>& bin : m_bins) {
        std::vector<SItemPanel*> panels;
        panels.swap(bin);
        for (SItemPanel* panel : panels)
            panel->Release();
    }
}

void SListView::BroadcastToPanels(UINT msg, WPARAM wParam)
{
    for (const VisibleItem& item : m_visible)
        item.panel->SendUiMessageToTree(msg, wParam);
    for (const std::vector<SItemPanel*>& bin : m_bins) {
        for (SItemPanel* panel : bin)
            panel->SendUiMessageToTree(msg, wParam);
    }
}

// ---- data reports ----

void SListView::OnDataChanged()
{
    if (!m_adapter)
        return;
    if (!TestVisible(TRUE)) {
        m_pendingItem = kFullRefreshPending;
        m_pendingRefresh = TRUE;
        return;
    }
    if (m_locator)
        m_locator->Rebuild();
    if (m_selection >= m_adapter->ItemCount())
        m_selection = -1;
    UpdateScrollBar();
    RefreshVisibleItems();
}

void SListView::OnDataInvalidated()
{
    m_refreshOnPaint = TRUE;
    InvalidateArea();
}

void SListView::OnItemChanged(int index)
{
    if (!m_adapter)
        return;
    if (!TestVisible(TRUE)) {
        m_pendingItem = m_pendingItem == kNothingPending ? index : kFullRefreshPending;
        m_pendingRefresh = TRUE;
        return;
    }
    SItemPanel* panel = ItemPanelOf(index);
    if (!panel)
        return;
    if (m_locator->HasFixedHeight())
        m_adapter->BindItemView(index, panel, m_itemTemplate.first_child());
    else
        RefreshVisibleItems();
}

void SListView::OnShow()
{
    if (!TestVisible(TRUE) || !m_pendingRefresh)
        return;
    int item = m_pendingItem;
    m_pendingRefresh = FALSE;
    m_pendingItem = kNothingPending;
    if (item == kFullRefreshPending)
        OnDataChanged();
    else
        OnItemChanged(item);
}

// ---- the visible items ----

void SListView::UpdateScrollBar()
{
    SetScrollBarShown(kPanelBarHorz, FALSE);
    int page = m_clientRect.bottom - m_clientRect.top;
    int total = m_locator ? m_locator->TotalHeight() : 0;
    SCROLLINFO& info = Info(TRUE);
    info.nMin = 0;
    info.nPage = static_cast<UINT>(std::max(0, page));
    bool scrolls = page < total;
    // The last position shows the last pixel row of the content at the bottom.
    info.nMax = scrolls ? total - 1 : page - 1;
    info.nPos = scrolls ? std::min(info.nPos, total - page) : 0;
    SetScrollBarShown(kPanelBarVert, scrolls);
    SendUiMessage(WM_NCCALCSIZE);
    InvalidateArea();
}

void SListView::RefreshVisibleItems()
{
    if (!m_adapter || !m_locator)
        return;
    for (int pass = 0; pass < kMaxRefreshPasses; ++pass) {
        int oldTotal = m_locator->TotalHeight();
        LayoutVisibleItems();
        if (m_locator->HasFixedHeight() || m_locator->TotalHeight() == oldTotal)
            return;
        // The items were placed with their measured heights: only a new scroll position or
        // a new width (the bar came or went) places them differently.
        int position = ScrollPosOf(TRUE);
        int width = ClientWidth();
        UpdateScrollBar();
        if (ScrollPosOf(TRUE) == position && ClientWidth() == width)
            return;
    }
}

void SListView::LayoutVisibleItems()
{
    int oldFirst = m_firstVisible;
    int position = ScrollPosOf(TRUE);
    int end = position + Page();
    int newFirst = m_locator->ItemAt(position);
    int hoverIndex = m_hoveredPanel ? m_hoveredPanel->ItemIndex() : -1;
    m_hoveredPanel = nullptr;
    std::vector<VisibleItem>& previous = m_refreshScratch;
    previous.swap(m_visible);
    RetireItemsOutside(previous, oldFirst, newFirst, end);
    int count = m_adapter->ItemCount();
    if (newFirst != -1) {
        int y = m_locator->ItemTop(newFirst);
        for (int i = newFirst; i < count && y < end; ++i) {
            DWORD state = (i == hoverIndex ? kItemStateHover : 0) | (i == m_selection ? kItemStateSelected : 0);
            int type = CheckedViewType(i, state);
            SItemPanel* panel = TakePanel(i, type, oldFirst, previous);
            if (!panel)
                break;
            m_visible.push_back(VisibleItem{panel, type});
            PlacePanel(panel, i, state);
            y = NextItemTop(i, y);
        }
    }
    for (const VisibleItem& item : previous) {
        if (item.panel)
            RetirePanel(item);
    }
    previous.clear();
    m_firstVisible = newFirst;
}

int SListView::NextItemTop(int index, int top) const
{
    return top + m_locator->ItemHeight(index) + m_locator->DividerSize();
}

// Items above the new first or below the viewport as the locator knows it now leave at once,
// so that the items entering reuse their panels.
void SListView::RetireItemsOutside(std::vector<VisibleItem>& previous, int oldFirst, int newFirst, int end)
{
    for (size_t k = 0; k < previous.size(); ++k) {
        int index = oldFirst + static_cast<int>(k);
        if (newFirst == -1 || index < newFirst || m_locator->ItemTop(index) >= end) {
            RetirePanel(previous[k]);
            previous[k].panel = nullptr;
        }
    }
}

int SListView::CheckedViewType(int index, DWORD state)
{
    int type = m_adapter->ItemViewType(index, state);
    if (type >= 0 && type < static_cast<int>(m_bins.size()))
        return type;
    SKEIN_LOG(3, "SKEIN::SListView::RefreshVisibleItems")
        .FormatW(L"view type %d of item %d is outside 0..%d, type 0 used", type, index,
                 static_cast<int>(m_bins.size()) - 1);
    return 0;
}

SItemPanel* SListView::TakePanel(int index, int type, int oldFirst, std::vector<VisibleItem>& previous)
{
    int slot = index - oldFirst;
    if (oldFirst >= 0 && slot >= 0 && slot < static_cast<int>(previous.size()) && previous[slot].panel
        && previous[slot].type == type) {
        SItemPanel* kept = previous[slot].panel;
        previous[slot].panel = nullptr;
        return kept;
    }
    std::vector<SItemPanel*>& bin = m_bins[type];
    SItemPanel* panel = nullptr;
    if (!bin.empty()) {
        panel = bin.front();
        bin.erase(bin.begin());
    } else {
        panel = NewPanel();
    }
    if (panel)
        panel->SetItemIndex(index);
    return panel;
}

SItemPanel* SListView::NewPanel()
{
    SItemPanel* panel = SItemPanel::Create(this, m_itemTemplate.first_child(), this);
    if (panel)
        panel->GetEventSet()->AddSubscriber(EventItemPanelClick::EventID, Subscriber(&SListView::OnItemClick, this));
    return panel;
}

// Under the update guard: the many repaints that showing, placing, binding and laying out
// ask for become one of the whole item.
void SListView::PlacePanel(SItemPanel* panel, int index, DWORD state)
{
    panel->SetUpdateGuard(TRUE);
    if (!(panel->GetOwnFlags() & kWndVisible))
        panel->ChangeVisibility(TRUE, FALSE);
    RECT rect = {0, 0, ItemWidth(), 0};
    bool fixed = m_locator->HasFixedHeight() != FALSE;
    if (fixed) {
        rect.bottom = m_locator->ItemHeight(index);
        panel->ApplyRect(rect);
    }
    if (state & ~panel->GetStateFlags())
        panel->ModifyItemState(state, 0);
    if (state & kItemStateHover)
        m_hoveredPanel = panel;
    m_adapter->BindItemView(index, panel, m_itemTemplate.first_child());
    if (panel->GetColorTint() != GetColorTint())
        panel->BroadcastColorTint(GetColorTint());
    if (!fixed) {
        SIZE size = m_adapter->ItemDesiredSize(index, panel, rect);
        rect.bottom = size.cy;
        panel->ApplyRect(rect);
        m_locator->SetItemHeight(index, size.cy);
    }
    panel->RelayoutIfDirty();
    ItemLaidOut(panel, index);
    panel->SetUpdateGuard(FALSE);
}

void SListView::RetirePanel(const VisibleItem& item)
{
    SItemPanel* panel = item.panel;
    if (panel->GetStateFlags() & kStateHover)
        panel->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    panel->SetUpdateGuard(TRUE);
    if (panel->GetStateFlags() & kItemStateSelected) {
        panel->ModifyItemState(0, kItemStateSelected);
        panel->SetFocusedWindow(0);
    }
    panel->ChangeVisibility(FALSE, FALSE);
    panel->SetUpdateGuard(FALSE);
    m_bins[item.type].push_back(panel);
}

SItemPanel* SListView::ItemPanelOf(int index) const
{
    int slot = index - m_firstVisible;
    if (m_firstVisible < 0 || slot < 0 || slot >= static_cast<int>(m_visible.size()))
        return nullptr;
    return m_visible[slot].panel;
}

bool SListView::OnItemClick(EventItemPanelClick* evt)
{
    SItemPanel* panel = static_cast<SItemPanel*>(static_cast<SWindow*>(evt->sender));
    if (panel->ItemIndex() != m_selection)
        SetSelection(panel->ItemIndex(), TRUE);
    return true;
}

// ---- IItemContainer ----

BOOL SListView::ItemRect(SItemPanel* panel, RECT* rect)
{
    if (!m_locator) {
        *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    int index = panel->ItemIndex();
    int top = m_clientRect.top + m_locator->ItemTop(index) - ScrollPosOf(TRUE);
    *rect = RECT{m_clientRect.left, top, m_clientRect.right, top + m_locator->ItemHeight(index)};
    return TRUE;
}

// ---- selection and scrolling ----

void SListView::SetSelection(int index, BOOL notify)
{
    if (!m_adapter || index >= m_adapter->ItemCount())
        return;
    index = std::max(index, -1);
    int old = m_selection;
    m_selection = index;
    if (notify) {
        EventLVSelChanging changing(this);
        changing.oldSel = old;
        changing.newSel = index;
        RaiseEvent(changing);
        if (changing.cancel) {
            m_selection = old;
            return;
        }
    }
    if (index == old)
        return;
    if (SItemPanel* panel = ItemPanelOf(old)) {
        panel->SetFocusedWindow(0);
        panel->ModifyItemState(0, kItemStateSelected);
        panel->InvalidateArea();
    }
    if (SItemPanel* panel = ItemPanelOf(index)) {
        panel->ModifyItemState(kItemStateSelected, 0);
        panel->InvalidateArea();
    }
    m_selection = index;
    if (notify) {
        EventLVSelChanged changed(this);
        changed.oldSel = old;
        changed.newSel = index;
        RaiseEvent(changed);
    }
}

void SListView::EnsureVisible(int index)
{
    if (!m_adapter || !m_locator || index < 0 || index >= m_adapter->ItemCount())
        return;
    int lastVisible = m_firstVisible + static_cast<int>(m_visible.size()) - 1;
    if (index <= m_firstVisible)
        OnScroll(TRUE, SB_THUMBPOSITION, m_locator->ItemTop(index));
    else if (index < lastVisible)
        return;
    else if (index == m_adapter->ItemCount() - 1)
        OnScroll(TRUE, SB_BOTTOM, 0);
    else
        OnScroll(TRUE, SB_THUMBPOSITION, m_locator->ItemTop(index + 1) - Page());
}

BOOL SListView::OnScroll(BOOL vertical, UINT code, int position)
{
    int old = ScrollPosOf(TRUE);
    SPanel::OnScroll(vertical, code, position);
    if (ScrollPosOf(TRUE) == old)
        return FALSE;
    RefreshVisibleItems();
    if (code == SB_THUMBTRACK)
        ThrottledUpdate();
    return TRUE;
}

// ---- painting, size, look ----

void SListView::OnPaint(IRenderTarget* rt)
{
    if (m_refreshOnPaint) {
        m_refreshOnPaint = FALSE;
        RefreshVisibleItems();
    }
    SPaintState saved;
    BeginPaintState(rt, &saved);
    if (m_firstVisible != -1 && m_locator) {
        RECT area = ItemsArea();
        rt->PushClipRect(&area, RGN_AND);
        RECT clip;
        rt->GetClipBox(&clip);
        int divider = m_locator->DividerSize();
        for (const VisibleItem& visible : m_visible) {
            RECT item;
            ItemRect(visible.panel, &item);
            RECT common;
            if (::IntersectRect(&common, &item, &clip))
                visible.panel->Draw(rt, item);
            RECT band = {item.left, item.bottom, item.right, item.bottom + divider};
            if (m_dividerSkin && divider > 0)
                m_dividerSkin->DrawByState(rt, &band, 0);
        }
        rt->PopClip();
    }
    EndPaintState(rt, &saved);
}

void SListView::OnSize()
{
    UpdateScrollBar();
    if (m_locator) {
        for (size_t k = 0; k < m_visible.size(); ++k) {
            RECT rect = {0, 0, ItemWidth(), m_locator->ItemHeight(m_firstVisible + static_cast<int>(k))};
            m_visible[k].panel->ApplyRect(rect);
        }
    }
    RefreshVisibleItems();
}

void SListView::ApplyScale(int scale)
{
    SPanel::ApplyScale(scale);
    RescaleSkin(m_dividerSkin, scale);
    if (m_locator)
        m_locator->SetScale(scale);
    BroadcastToPanels(kUiMsgScaleChanged, scale);
}

// ---- dispatch ----

BOOL SListView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_SIZE: {
        BOOL handled = SPanel::HandleMessage(msg, wParam, lParam, result);
        OnSize();
        return handled;
    }
    case WM_SHOWWINDOW: {
        BOOL handled = SPanel::HandleMessage(msg, wParam, lParam, result);
        OnShow();
        return handled;
    }
    case WM_DESTROY:
        if (m_adapter)
            m_adapter->UnregisterObserver(m_observer);
        ReleaseAllPanels();
        ResetBins(0);
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    case WM_MOUSEWHEEL: OnMouseWheel(msg, wParam, lParam); return TRUE;
    default: return SItemPanelHost::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
