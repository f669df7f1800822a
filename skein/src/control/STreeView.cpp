// STreeView: adapter, locator and template; the refresh of the shown items; selection,
// scrolling and painting.
#include "control/STreeView.h"
#include <algorithm>
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

// The height of the rectangle offered to ItemDesiredSize.
const int kMeasureHeight = 10000;
// A refresh that changed the content size runs once more, and no more.
const int kMaxRefreshPasses = 2;

} // namespace

// ---- observer ----

void STreeViewDataSetObserver::BranchChanged(STreeHandle item)
{
    if (m_view)
        m_view->OnBranchChanged(item);
}

void STreeViewDataSetObserver::BranchInvalidated(STreeHandle item)
{
    if (m_view)
        m_view->OnBranchChanged(item);
}

void STreeViewDataSetObserver::ExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded)
{
    if (m_view)
        m_view->OnExpansionChanged(item, wasExpanded, isExpanded);
}

// ---- construction ----

STreeView::STreeView()
    : m_locator(new STreeViewItemLocator(kDefaultIndent), false), m_observer(new STreeViewDataSetObserver(this), false),
      m_selection(0), m_topOffset(0)
{
    m_eventSet.DeclareEvent(EventTVSelChanging::EventID, EventTVSelChanging::EventName());
    m_eventSet.DeclareEvent(EventTVSelChanged::EventID, EventTVSelChanged::EventName());
}

STreeView::~STreeView()
{
    ReleaseAllPanels();
    m_observer->ForgetView();
}

HRESULT STreeView::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"indent")) {
        // The locator keeps its indent: a new one is made, only while loading.
        if (!loading)
            return E_FAIL;
        m_locator.Attach(new STreeViewItemLocator(ParseInt(value)));
        m_locator->AttachAdapter(m_adapter);
    } else {
        return SAdapterView::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_FALSE);
}

BOOL STreeView::CreateChildrenFromXml(pugi::xml_node node)
{
    CopyItemTemplate(node);
    return TRUE;
}

int STreeView::GetScrollLineSize(BOOL)
{
    return m_locator->LineSize();
}

// ---- adapter ----

void STreeView::SetAdapter(TreeItemAdapter* adapter)
{
    UnregisterObserver();
    ReleaseAllPanels();
    m_adapter = adapter;
    m_selection = 0;
    m_locator->AttachAdapter(adapter);
    ResetBins(adapter ? std::max(1, adapter->ViewTypeCount()) : 0);
    if (adapter) {
        adapter->RegisterObserver(m_observer);
        m_locator->MeasureBranch(kTviRoot);
    }
    UpdateScrollBar();
    RefreshVisibleItems();
}

// A selected item the adapter removed is never asked about again: the selection becomes none.
// In a scrolled view the item at the top stays where it was while the branch is measured
// anew; the adapter may have removed it already, so its place is the one the last refresh noted.
void STreeView::OnBranchChanged(STreeHandle item)
{
    STreeHandle top = m_visible.empty() || ScrollPosOf(TRUE) == 0 ? 0 : HandleOf(m_visible.front().panel);
    int offset = m_topOffset;
    m_locator->MeasureBranch(item);
    STreeHandle removed = m_selection && !TreeHolds(m_selection) ? m_selection : 0;
    if (removed)
        m_selection = 0;
    UpdateScrollBar();
    RefreshVisibleItems();
    if (top && TreeHolds(top) && m_adapter->IsItemVisible(top))
        KeepTopAt(top, offset);
    if (removed)
        RaiseSelChanged(removed, 0);
}

// Measured at the view's top first, as the heights above it may have been forgotten.
void STreeView::KeepTopAt(STreeHandle item, int offset)
{
    for (int wanted : {0, offset}) {
        for (int pass = 0; pass < kMaxRefreshPasses; ++pass) {
            int target = m_locator->ItemTop(item) + wanted;
            if (target == ScrollPosOf(TRUE) || !OnScroll(TRUE, SB_THUMBPOSITION, target))
                break;
        }
    }
}

// Collapsing a branch that holds the selection selects the branch.
void STreeView::OnExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded)
{
    m_locator->ExpansionChanged(item, wasExpanded, isExpanded);
    UpdateScrollBar();
    RefreshVisibleItems();
    if (wasExpanded && !isExpanded && IsAncestor(item, m_selection))
        SetSelection(item, TRUE);
}

// Walks the whole tree through the adapter, so that a handle that may be gone is only compared.
bool STreeView::TreeHolds(STreeHandle target) const
{
    STreeHandle item = m_adapter->FirstChild(kTviRoot);
    while (item && item != target) {
        STreeHandle next = m_adapter->FirstChild(item);
        for (; !next && item && item != kTviRoot; item = m_adapter->ParentItem(item))
            next = m_adapter->NextSibling(item);
        item = next;
    }
    return item != 0;
}

bool STreeView::IsAncestor(STreeHandle ancestor, STreeHandle item) const
{
    if (!item)
        return false;
    for (STreeHandle parent = m_adapter->ParentItem(item); parent && parent != kTviRoot;
         parent = m_adapter->ParentItem(parent)) {
        if (parent == ancestor)
            return true;
    }
    return false;
}

// ---- panels ----

void STreeView::UnregisterObserver()
{
    if (m_adapter)
        m_adapter->UnregisterObserver(m_observer);
}

void STreeView::ForgetShownItems()
{
    m_panels.clear();
    m_oldPanels.clear();
}

SItemPanel* STreeView::ItemPanelOf(STreeHandle item) const
{
    auto found = m_panels.find(item);
    return found == m_panels.end() ? nullptr : found->second.panel;
}

SItemPanel* STreeView::NewPanel()
{
    SItemPanel* panel = SAdapterView::NewPanel();
    if (panel)
        panel->GetEventSet()->AddSubscriber(EventItemPanelDbclick::EventID,
                                            Subscriber(&STreeView::OnItemDoubleClick, this));
    return panel;
}

// The item's panel from the last refresh when its type still fits, else one from the bin.
SItemPanel* STreeView::TakePanel(STreeHandle item, int type)
{
    auto found = m_oldPanels.find(item);
    if (found != m_oldPanels.end() && found->second.type == type) {
        SItemPanel* kept = found->second.panel;
        m_oldPanels.erase(found);
        return kept;
    }
    SItemPanel* panel = PanelFromBin(type);
    if (panel)
        panel->StoreValue(item);
    return panel;
}

void STreeView::BindPanel(SItemPanel* panel)
{
    m_adapter->BindItemView(HandleOf(panel), panel, ItemTemplate());
}

void STreeView::MeasurePanel(SItemPanel* panel)
{
    STreeHandle item = HandleOf(panel);
    RECT offer = {m_locator->ItemIndent(item), 0, ClientWidth(), kMeasureHeight};
    SIZE size = m_adapter->ItemDesiredSize(item, panel, offer);
    panel->ApplyRect(RECT{0, 0, size.cx, size.cy});
    m_locator->SetItemWidth(item, size.cx);
    m_locator->SetItemHeight(item, size.cy);
}

void STreeView::RetireAll(PanelMap& panels)
{
    for (const auto& entry : panels)
        RetirePanel(entry.second);
    panels.clear();
}

// ---- refresh ----

void STreeView::RefreshVisibleItems()
{
    if (!m_adapter)
        return;
    for (int pass = 0; pass < kMaxRefreshPasses; ++pass) {
        int oldHeight = m_locator->TotalHeight();
        int oldWidth = m_locator->TotalWidth();
        LayoutVisibleItems();
        if (m_locator->TotalHeight() == oldHeight && m_locator->TotalWidth() == oldWidth)
            return;
        UpdateScrollBar();
    }
}

void STreeView::LayoutVisibleItems()
{
    int position = ScrollPosOf(TRUE);
    STreeHandle item = m_locator->ItemAt(position);
    m_visible.clear();
    m_oldPanels.swap(m_panels);
    if (item) {
        int y = m_locator->ItemTop(item) - position;
        m_topOffset = -y;
        RetireItemsOutside(item, y);
        STreeHandle hovered = m_hoveredPanel ? HandleOf(m_hoveredPanel) : 0;
        for (; item; item = m_adapter->NextVisibleItem(item)) {
            int type = CheckedViewType(m_adapter->ItemViewType(item), static_cast<LONG_PTR>(item));
            SItemPanel* panel = TakePanel(item, type);
            if (!panel)
                break;
            VisibleItem shown = {panel, type};
            m_panels[item] = shown;
            m_visible.push_back(shown);
            PlacePanel(panel, (item == m_selection ? kItemStateSelected : 0) | (item == hovered ? kItemStateHover : 0));
            y += m_locator->ItemHeight(item);
            if (y >= ClientHeight())
                break;
        }
    }
    RetireAll(m_oldPanels);
}

// Items that leave the viewport (as their known heights tell) give their panels back first,
// so that the items entering reuse them.
void STreeView::RetireItemsOutside(STreeHandle first, int top)
{
    m_staying.clear();
    for (STreeHandle item = first; item && top < ClientHeight(); item = m_adapter->NextVisibleItem(item)) {
        m_staying.push_back(item);
        top += m_locator->ItemHeight(item);
    }
    for (auto entry = m_oldPanels.begin(); entry != m_oldPanels.end();) {
        if (std::find(m_staying.begin(), m_staying.end(), entry->first) != m_staying.end()) {
            ++entry;
            continue;
        }
        RetirePanel(entry->second);
        entry = m_oldPanels.erase(entry);
    }
}

void STreeView::UpdateScrollBar()
{
    ScrollBothWays(m_locator->TotalWidth(), m_locator->TotalHeight(), 0, m_adapter && m_adapter->KeepsViewWidth());
}

// ---- IItemContainer ----

BOOL STreeView::ItemRect(SItemPanel* panel, RECT* rect)
{
    STreeHandle item = HandleOf(panel);
    if (m_panels.find(item) == m_panels.end()) {
        *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    int left = m_clientRect.left + m_locator->ItemIndent(item) - ScrollPosOf(FALSE);
    int top = m_clientRect.top + m_locator->ItemTop(item) - ScrollPosOf(TRUE);
    *rect = RECT{left, top, left + m_locator->ItemWidth(item), top + m_locator->ItemHeight(item)};
    return TRUE;
}

// ---- selection and scrolling ----

void STreeView::SetSelection(STreeHandle item, BOOL notify)
{
    if (!m_adapter)
        return;
    STreeHandle old = m_selection;
    if (notify) {
        EventTVSelChanging changing(this);
        changing.oldSel = old;
        changing.newSel = item;
        RaiseEvent(changing);
        if (changing.cancel)
            return;
    }
    if (item == old)
        return;
    MoveSelectedState(ItemPanelOf(old), ItemPanelOf(item));
    m_selection = item;
    if (notify)
        RaiseSelChanged(old, item);
}

void STreeView::RaiseSelChanged(STreeHandle oldSel, STreeHandle newSel)
{
    EventTVSelChanged changed(this);
    changed.oldSel = oldSel;
    changed.newSel = newSel;
    RaiseEvent(changed);
}

void STreeView::OnItemClicked(SItemPanel* panel)
{
    STreeHandle item = HandleOf(panel);
    if (item != m_selection)
        SetSelection(item, TRUE);
}

bool STreeView::OnItemDoubleClick(EventItemPanelDbclick* evt)
{
    STreeHandle item = HandleOf(static_cast<SItemPanel*>(static_cast<SWindow*>(evt->sender)));
    if (m_adapter && m_adapter->HasChildren(item))
        m_adapter->ExpandItem(item, 3);
    return true;
}

void STreeView::EnsureVisible(STreeHandle item)
{
    if (!m_adapter || !item)
        return;
    for (STreeHandle parent = m_adapter->ParentItem(item); parent && parent != kTviRoot;
         parent = m_adapter->ParentItem(parent)) {
        if (!m_adapter->IsExpanded(parent))
            m_adapter->ExpandItem(parent, 2);
    }
    // An item shown for the first time is measured by the scroll that brings it in: once more
    // with its measured height, from where the view was.
    int from = ScrollPosOf(TRUE);
    for (int pass = 0; pass < kMaxRefreshPasses; ++pass)
        ScrollToShow(TRUE, from, m_locator->ItemTop(item), m_locator->ItemHeight(item));
    ScrollToShow(FALSE, ScrollPosOf(FALSE), m_locator->ItemIndent(item), m_locator->ItemWidth(item));
}

// Unlike a bare comparison of the start with the page's end, this also brings in an item that
// starts right at the end of the page or is cut off at either end: Down from the last whole row
// would otherwise select an item that stays off-screen without a panel.
void STreeView::ScrollToShow(BOOL vertical, int from, int start, int extent)
{
    int page = static_cast<int>(ScrollInfoOf(vertical).nPage);
    int wanted = std::min(std::max(from, start + extent - page), start);
    if (wanted != ScrollPosOf(vertical))
        OnScroll(vertical, SB_THUMBPOSITION, wanted);
}

BOOL STreeView::OnScroll(BOOL vertical, UINT code, int position)
{
    int old = ScrollPosOf(vertical);
    SPanel::OnScroll(vertical, code, position);
    if (!vertical || ScrollPosOf(TRUE) == old)
        return FALSE;
    RefreshVisibleItems();
    return TRUE;
}

// ---- size ----

void STreeView::OnSize()
{
    if (!m_adapter)
        return;
    UpdateScrollBar();
    RefreshVisibleItems();
}

} // namespace SKEIN
