// SListView: adapter, locator and template; the recycling refresh of the visible items;
// selection, scrolling, painting and the window's life.
#include "control/SListView.h"
#include <algorithm>
#include "control/SListViewItemLocator.h"
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
// Aiming at an item again as its neighbours are measured stops after this many scrolls.
const int kMaxAimPasses = 16;
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
    m_updateInterval = kThumbTrackInterval;
    m_eventSet.DeclareEvent(EventLVSelChanging::EventID, EventLVSelChanging::EventName());
    m_eventSet.DeclareEvent(EventLVSelChanged::EventID, EventLVSelChanged::EventName());
}

SListView::~SListView()
{
    ReleaseAllPanels();
    m_observer->ForgetView();
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
        return SAdapterView::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

BOOL SListView::CreateChildrenFromXml(pugi::xml_node node)
{
    pugi::xml_node itemTemplate = CopyItemTemplate(node);
    if (!itemTemplate)
        return TRUE;
    SRefPtr<IListViewItemLocator> locator(NewLocator(itemTemplate), false);
    SetLocator(locator);
    return TRUE;
}

// A positive "itemHeight" gives every item that height; otherwise items are measured.
IListViewItemLocator* SListView::NewLocator(pugi::xml_node itemTemplate)
{
    pugi::xml_attribute itemHeight = XmlAttributeNoCase(itemTemplate, L"itemHeight");
    SLayoutSize fixedHeight = ResolveNamedDimension(itemHeight ? itemHeight.value() : L"0");
    if (fixedHeight.value > 0)
        return new SListViewItemLocatorFix(fixedHeight, m_dividerSize);
    pugi::xml_attribute defHeight = XmlAttributeNoCase(itemTemplate, L"defHeight");
    SLayoutSize height = ResolveNamedDimension(defHeight ? defHeight.value() : kDefaultItemHeight);
    return new SListViewItemLocatorFlex(height, m_dividerSize);
}

int SListView::GetScrollLineSize(BOOL vertical)
{
    return m_locator ? m_locator->LineSize() : SPanel::GetScrollLineSize(vertical);
}

// ---- adapter and locator ----

void SListView::SetAdapter(ListItemAdapter* adapter)
{
    UnregisterObserver();
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

void SListView::UnregisterObserver()
{
    if (m_adapter)
        m_adapter->UnregisterObserver(m_observer);
}

// ---- data reports ----

void SListView::OnDataChanged()
{
    if (!m_adapter)
        return;
    // A hidden view too (a closed combo's list) never reports a selection past the items.
    if (m_selection >= m_adapter->ItemCount())
        m_selection = -1;
    if (!TestVisible(TRUE)) {
        m_pendingItem = kFullRefreshPending;
        m_pendingRefresh = TRUE;
        return;
    }
    // A rebuild forgets measured heights: the first item shown stays where it was, measured
    // first at the top of the view.
    int anchor = m_firstVisible;
    int offset = anchor >= 0 ? ScrollPosOf(TRUE) - m_locator->ItemTop(anchor) : 0;
    if (m_locator)
        m_locator->Rebuild();
    UpdateScrollBar();
    RefreshVisibleItems();
    if (anchor < 0 || anchor >= m_adapter->ItemCount() || m_locator->HasFixedHeight())
        return;
    AimAt(anchor, 0, &SListView::PositionWithTopAt);
    AimAt(anchor, offset, &SListView::PositionWithTopAt);
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
        m_adapter->BindItemView(index, panel, ItemTemplate());
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
            int type = CheckedViewType(m_adapter->ItemViewType(i, state), i);
            SItemPanel* panel = TakePanel(i, type, oldFirst, previous);
            if (!panel)
                break;
            m_visible.push_back(VisibleItem{panel, type});
            PlacePanel(panel, state);
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

SItemPanel* SListView::TakePanel(int index, int type, int oldFirst, std::vector<VisibleItem>& previous)
{
    int slot = index - oldFirst;
    if (oldFirst >= 0 && slot >= 0 && slot < static_cast<int>(previous.size()) && previous[slot].panel
        && previous[slot].type == type) {
        SItemPanel* kept = previous[slot].panel;
        previous[slot].panel = nullptr;
        return kept;
    }
    SItemPanel* panel = PanelFromBin(type);
    if (panel)
        panel->SetItemIndex(index);
    return panel;
}

// A fixed height places the panel before the bind; a measured one after it.
void SListView::BindPanel(SItemPanel* panel)
{
    int index = panel->ItemIndex();
    if (m_locator->HasFixedHeight())
        panel->ApplyRect(RECT{0, 0, ItemWidth(), m_locator->ItemHeight(index)});
    m_adapter->BindItemView(index, panel, ItemTemplate());
}

void SListView::MeasurePanel(SItemPanel* panel)
{
    if (m_locator->HasFixedHeight())
        return;
    int index = panel->ItemIndex();
    SIZE size = m_adapter->ItemDesiredSize(index, panel, RECT{0, 0, ItemWidth(), OfferedItemBottom()});
    panel->ApplyRect(RECT{0, 0, ItemWidth(), size.cy});
    m_locator->SetItemHeight(index, size.cy);
}

SItemPanel* SListView::ItemPanelOf(int index) const
{
    int slot = index - m_firstVisible;
    if (m_firstVisible < 0 || slot < 0 || slot >= static_cast<int>(m_visible.size()))
        return nullptr;
    return m_visible[slot].panel;
}

void SListView::OnItemClicked(SItemPanel* panel)
{
    if (panel->ItemIndex() != m_selection)
        SetSelection(panel->ItemIndex(), TRUE);
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
    MoveSelectedState(ItemPanelOf(old), ItemPanelOf(index));
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
    AimAt(index, 0, &SListView::PositionShowing);
}

// Scrolling to an item measures the items it brings into view, which can move the item: the
// view aims again from the measured heights until the item stays where it was aimed.
void SListView::AimAt(int index, int arg, int (SListView::*position)(int, int) const)
{
    for (int pass = 0; pass < kMaxAimPasses; ++pass) {
        int target = (this->*position)(index, arg);
        if (target == ScrollPosOf(TRUE) || !OnScroll(TRUE, SB_THUMBPOSITION, target))
            return;
    }
}

// As little scrolling as shows the item and the divider below it whole, or at least its top.
int SListView::PositionShowing(int index, int) const
{
    int top = m_locator->ItemTop(index);
    int bottom = top + m_locator->ItemHeight(index);
    if (index < m_adapter->ItemCount() - 1)
        bottom += m_locator->DividerSize();
    return std::min(std::max(ScrollPosOf(TRUE), bottom - Page()), top);
}

int SListView::PositionWithTopAt(int index, int offset) const
{
    return m_locator->ItemTop(index) + offset;
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
    SAdapterView::OnPaint(rt);
}

// The divider band below the item.
void SListView::ItemPainted(IRenderTarget* rt, const RECT& item)
{
    int divider = m_locator->DividerSize();
    RECT band = {item.left, item.bottom, item.right, item.bottom + divider};
    if (m_dividerSkin && divider > 0)
        m_dividerSkin->DrawByState(rt, &band, 0);
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

void SListView::OnScaleChanged(int scale)
{
    RescaleSkin(m_dividerSkin, scale);
    if (m_locator)
        m_locator->SetScale(scale);
}

// ---- dispatch ----

BOOL SListView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_SHOWWINDOW)
        return SAdapterView::HandleMessage(msg, wParam, lParam, result);
    BOOL handled = SPanel::HandleMessage(msg, wParam, lParam, result);
    OnShow();
    return handled;
}

} // namespace SKEIN
