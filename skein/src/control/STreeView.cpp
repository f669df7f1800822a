// STreeView: adapter, locator and template; the refresh of the shown items; selection,
// scrolling and painting.
#include "control/STreeView.h"
#include <algorithm>
#include "helper/SLog.h"
#include "helper/SXmlLookup.h"
#include "SCtrlAttr.h"
#include "STwoBarScroll.h"

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
    : m_observer(new STreeViewDataSetObserver(this), false), m_locator(new STreeViewItemLocator(kDefaultIndent), false),
      m_selection(0)
{
    m_flags |= kWndFocusable;
    m_eventSet.DeclareEvent(EventTVSelChanging::EventID, EventTVSelChanging::EventName());
    m_eventSet.DeclareEvent(EventTVSelChanged::EventID, EventTVSelChanged::EventName());
    m_eventSet.DeclareEvent(EventOfPanel::EventID, EventOfPanel::EventName());
}

STreeView::~STreeView()
{
    ReleaseAllPanels();
    m_observer->ForgetView();
    m_observer = nullptr;
    m_locator = nullptr;
    m_adapter = nullptr;
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
        return SItemPanelHost::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_FALSE);
}

BOOL STreeView::CreateChildrenFromXml(pugi::xml_node node)
{
    pugi::xml_node itemTemplate = XmlChildNoCase(node, L"template");
    if (itemTemplate) {
        m_itemTemplate.reset();
        m_itemTemplate.append_copy(itemTemplate);
    }
    return TRUE;
}

int STreeView::GetScrollLineSize(BOOL)
{
    return m_locator->LineSize();
}

// ---- adapter ----

void STreeView::SetAdapter(TreeItemAdapter* adapter)
{
    if (m_adapter)
        m_adapter->UnregisterObserver(m_observer);
    ReleaseAllPanels();
    m_adapter = adapter;
    m_selection = 0;
    m_locator->AttachAdapter(adapter);
    m_bins.clear();
    if (adapter) {
        adapter->RegisterObserver(m_observer);
        m_bins.resize(std::max(1, adapter->ViewTypeCount()));
        m_locator->MeasureBranch(kTviRoot);
    }
    UpdateScrollBar();
    RefreshVisibleItems();
}

void STreeView::OnBranchChanged(STreeHandle item)
{
    m_locator->MeasureBranch(item);
    UpdateScrollBar();
    RefreshVisibleItems();
}

void STreeView::OnExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded)
{
    m_locator->ExpansionChanged(item, wasExpanded, isExpanded);
    UpdateScrollBar();
    RefreshVisibleItems();
}

// ---- panels ----

void STreeView::ReleaseAllPanels()
{
    m_hoveredPanel = nullptr;
    m_capturedPanel = nullptr;
    m_visible.clear();
    m_oldPanels.clear();
    PanelMap panels;
    panels.swap(m_panels);
    for (const auto& entry : panels)
        entry.second.panel->Release();
    for (std::vector<SItemPanel*>& bin : m_bins) {
        std::vector<SItemPanel*> recycled;
        recycled.swap(bin);
        for (SItemPanel* panel : recycled)
            panel->Release();
    }
}

void STreeView::BroadcastToPanels(UINT msg, WPARAM wParam)
{
    for (const auto& entry : m_panels)
        entry.second.panel->SendUiMessageToTree(msg, wParam);
    for (const std::vector<SItemPanel*>& bin : m_bins) {
        for (SItemPanel* panel : bin)
            panel->SendUiMessageToTree(msg, wParam);
    }
}

SItemPanel* STreeView::ItemPanelOf(STreeHandle item) const
{
    auto found = m_panels.find(item);
    return found == m_panels.end() ? nullptr : found->second.panel;
}

int STreeView::CheckedViewType(STreeHandle item)
{
    int type = m_adapter->ItemViewType(item);
    if (type >= 0 && type < static_cast<int>(m_bins.size()))
        return type;
    SKEIN_LOG(3, "SKEIN::STreeView::RefreshVisibleItems")
        .FormatW(L"view type %d is outside 0..%d, type 0 used", type, static_cast<int>(m_bins.size()) - 1);
    return 0;
}

SItemPanel* STreeView::NewPanel()
{
    SItemPanel* panel = SItemPanel::Create(this, m_itemTemplate.first_child(), this);
    if (!panel)
        return nullptr;
    panel->GetEventSet()->AddSubscriber(EventItemPanelClick::EventID, Subscriber(&STreeView::OnItemClick, this));
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
    std::vector<SItemPanel*>& bin = m_bins[type];
    SItemPanel* panel = nullptr;
    if (!bin.empty()) {
        panel = bin.back();
        bin.pop_back();
    } else {
        panel = NewPanel();
    }
    if (panel)
        panel->StoreValue(item);
    return panel;
}

void STreeView::PlacePanel(SItemPanel* panel, STreeHandle item)
{
    panel->SetUpdateGuard(TRUE);
    if (!(panel->GetOwnFlags() & kWndVisible))
        panel->ChangeVisibility(TRUE, FALSE);
    bool hovered = m_hoveredPanel && HandleOf(m_hoveredPanel) == item;
    panel->ModifyItemState((item == m_selection ? kItemStateSelected : 0) | (hovered ? kItemStateHover : 0),
                           (item == m_selection ? 0 : kItemStateSelected) | (hovered ? 0 : kItemStateHover));
    m_adapter->BindItemView(item, panel, m_itemTemplate.first_child());
    if (panel->GetColorTint() != GetColorTint())
        panel->BroadcastColorTint(GetColorTint());
    RECT offer = {m_locator->ItemIndent(item), 0, ClientWidth(), kMeasureHeight};
    SIZE size = m_adapter->ItemDesiredSize(item, panel, offer);
    panel->ApplyRect(RECT{0, 0, size.cx, size.cy});
    m_locator->SetItemWidth(item, size.cx);
    m_locator->SetItemHeight(item, size.cy);
    panel->RelayoutIfDirty();
    panel->SetUpdateGuard(FALSE);
}

void STreeView::RetirePanel(const Shown& shown)
{
    SItemPanel* panel = shown.panel;
    if (panel == m_hoveredPanel) {
        m_hoveredPanel = nullptr;
        panel->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
    }
    panel->SetUpdateGuard(TRUE);
    if (panel->GetStateFlags() & kItemStateSelected) {
        panel->ModifyItemState(0, kItemStateSelected);
        panel->SetFocusedWindow(0);
    }
    panel->ChangeVisibility(FALSE, FALSE);
    panel->SetUpdateGuard(FALSE);
    m_bins[shown.type].push_back(panel);
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
        RetireItemsOutside(item, y);
        for (; item; item = m_adapter->NextVisibleItem(item)) {
            int type = CheckedViewType(item);
            SItemPanel* panel = TakePanel(item, type);
            if (!panel)
                break;
            Shown shown = {panel, type};
            m_panels[item] = shown;
            m_visible.push_back(shown);
            PlacePanel(panel, item);
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
    RECT frame = FrameRect();
    bool keepWidth = m_adapter && m_adapter->KeepsViewWidth();
    TwoBarScroll plan = PlanTwoBars(Info(TRUE), Info(FALSE), m_locator->TotalWidth(), m_locator->TotalHeight(),
                                    frame.right - frame.left, frame.bottom - frame.top, BarWidth(), keepWidth);
    SetScrollBarShown(kPanelBarVert, plan.showVert);
    SetScrollBarShown(kPanelBarHorz, plan.showHorz);
    SendUiMessage(WM_NCCALCSIZE);
    InvalidateArea();
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
    if (SItemPanel* panel = ItemPanelOf(old)) {
        panel->SetFocusedWindow(0);
        panel->ModifyItemState(0, kItemStateSelected);
        panel->InvalidateArea();
    }
    m_selection = item;
    if (SItemPanel* panel = ItemPanelOf(item)) {
        panel->ModifyItemState(kItemStateSelected, 0);
        panel->InvalidateArea();
    }
    if (notify) {
        EventTVSelChanged changed(this);
        changed.oldSel = old;
        changed.newSel = item;
        RaiseEvent(changed);
    }
}

bool STreeView::OnItemClick(EventItemPanelClick* evt)
{
    STreeHandle item = HandleOf(static_cast<SItemPanel*>(static_cast<SWindow*>(evt->sender)));
    if (item != m_selection)
        SetSelection(item, TRUE);
    return true;
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
    for (BOOL vertical : {TRUE, FALSE}) {
        int start = vertical ? m_locator->ItemTop(item) : m_locator->ItemIndent(item);
        int extent = vertical ? m_locator->ItemHeight(item) : m_locator->ItemWidth(item);
        int position = ScrollPosOf(vertical);
        int page = static_cast<int>(ScrollInfoOf(vertical).nPage);
        if (position >= start + extent)
            OnScroll(vertical, SB_THUMBPOSITION, start);
        else if (position + page < start)
            OnScroll(vertical, SB_THUMBPOSITION, start + extent - page);
    }
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

// ---- painting and look ----

void STreeView::OnPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    rt->PushClipRect(&m_clientRect, RGN_AND);
    RECT clip;
    rt->GetClipBox(&clip);
    for (const Shown& shown : m_visible) {
        RECT item;
        RECT common;
        if (ItemRect(shown.panel, &item) && ::IntersectRect(&common, &item, &clip))
            shown.panel->Draw(rt, item);
    }
    rt->PopClip();
    EndPaintState(rt, &saved);
}

void STreeView::ApplyScale(int scale)
{
    SPanel::ApplyScale(scale);
    BroadcastToPanels(kUiMsgScaleChanged, scale);
}

BOOL STreeView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_SIZE: {
        BOOL handled = SPanel::HandleMessage(msg, wParam, lParam, result);
        if (m_adapter) {
            UpdateScrollBar();
            RefreshVisibleItems();
        }
        return handled;
    }
    case WM_DESTROY:
        if (m_adapter)
            m_adapter->UnregisterObserver(m_observer);
        ReleaseAllPanels();
        m_bins.clear();
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    default: return SItemPanelHost::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
