// SAdapterView: the shown panels, the recycle bins and the item template of the
// adapter-driven views; placing, retiring and painting panels.
#include "control/SAdapterView.h"
#include <algorithm>
#include "helper/SLog.h"
#include "helper/SXmlLookup.h"
#include "STwoBarScroll.h"

namespace SKEIN {

namespace {

const DWORD kItemStates = kItemStateHover | kItemStateSelected;

} // namespace

SAdapterView::SAdapterView()
{
    m_flags |= kWndFocusable;
    m_eventSet.DeclareEvent(EventOfPanel::EventID, EventOfPanel::EventName());
}

pugi::xml_node SAdapterView::CopyItemTemplate(pugi::xml_node viewNode)
{
    pugi::xml_node itemTemplate = XmlChildNoCase(viewNode, L"template");
    if (itemTemplate) {
        m_itemTemplate.reset();
        m_itemTemplate.append_copy(itemTemplate);
    }
    return itemTemplate;
}

// ---- panels ----

void SAdapterView::ResetBins(int count)
{
    for (std::vector<SItemPanel*>& bin : m_bins) {
        std::vector<SItemPanel*> panels;
        panels.swap(bin);
        for (SItemPanel* panel : panels)
            panel->Release();
    }
    m_bins.clear();
    m_bins.resize(count);
}

void SAdapterView::ReleaseAllPanels()
{
    m_hoveredPanel = nullptr;
    if (m_capturedPanel)
        EndPressOf(m_capturedPanel);
    std::vector<VisibleItem> visible;
    visible.swap(m_visible);
    ForgetShownItems();
    for (const VisibleItem& item : visible)
        item.panel->Release();
    ResetBins(static_cast<int>(m_bins.size()));
}

void SAdapterView::BroadcastToPanels(UINT msg, WPARAM wParam)
{
    for (const VisibleItem& item : m_visible)
        item.panel->SendUiMessageToTree(msg, wParam);
    for (const std::vector<SItemPanel*>& bin : m_bins) {
        for (SItemPanel* panel : bin)
            panel->SendUiMessageToTree(msg, wParam);
    }
}

int SAdapterView::CheckedViewType(int type, LONG_PTR item) const
{
    if (type >= 0 && type < static_cast<int>(m_bins.size()))
        return type;
    SKEIN_LOG(3, "SKEIN::SAdapterView::CheckedViewType")
        .FormatW(L"view type %d of item %I64d is outside 0..%d, type 0 used", type, static_cast<long long>(item),
                 static_cast<int>(m_bins.size()) - 1);
    return 0;
}

SItemPanel* SAdapterView::PanelFromBin(int type)
{
    std::vector<SItemPanel*>& bin = m_bins[type];
    if (bin.empty())
        return NewPanel();
    SItemPanel* panel = bin.front();
    bin.erase(bin.begin());
    return panel;
}

SItemPanel* SAdapterView::NewPanel()
{
    SItemPanel* panel = SItemPanel::Create(this, ItemTemplate(), this);
    if (panel)
        panel->GetEventSet()->AddSubscriber(EventItemPanelClick::EventID, Subscriber(&SAdapterView::OnPanelClick, this));
    return panel;
}

bool SAdapterView::OnPanelClick(EventItemPanelClick* evt)
{
    OnItemClicked(static_cast<SItemPanel*>(static_cast<SWindow*>(evt->sender)));
    return true;
}

void SAdapterView::PlacePanel(SItemPanel* panel, DWORD state)
{
    panel->SetUpdateGuard(TRUE);
    if (!(panel->GetOwnFlags() & kWndVisible))
        panel->ChangeVisibility(TRUE, FALSE);
    panel->ModifyItemState(state, kItemStates & ~state);
    if (state & kItemStateHover)
        m_hoveredPanel = panel;
    BindPanel(panel);
    if (panel->GetColorTint() != GetColorTint())
        panel->BroadcastColorTint(GetColorTint());
    MeasurePanel(panel);
    panel->RelayoutIfDirty();
    ItemLaidOut(panel);
    panel->SetUpdateGuard(FALSE);
}

void SAdapterView::RetirePanel(const VisibleItem& item)
{
    SItemPanel* panel = item.panel;
    EndPressOf(panel);
    if (panel == m_hoveredPanel)
        m_hoveredPanel = nullptr;
    if (panel->GetStateFlags() & kItemStateHover)
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

void SAdapterView::MoveSelectedState(SItemPanel* from, SItemPanel* to)
{
    if (from) {
        from->SetFocusedWindow(0);
        from->ModifyItemState(0, kItemStateSelected);
        from->InvalidateArea();
    }
    if (to) {
        to->ModifyItemState(kItemStateSelected, 0);
        to->InvalidateArea();
    }
}

SItemPanel* SAdapterView::PanelAtPoint(POINT pt, RECT* rect)
{
    for (const VisibleItem& item : m_visible) {
        if (ItemRect(item.panel, rect) && ::PtInRect(rect, pt))
            return item.panel;
    }
    *rect = RECT{0, 0, 0, 0};
    return nullptr;
}

// ---- scrolling, painting and life ----

void SAdapterView::ScrollBothWays(int contentWidth, int contentHeight, int topBand, bool keepWidth)
{
    RECT frame = FrameRect();
    int height = std::max(0, static_cast<int>(frame.bottom - frame.top) - topBand);
    TwoBarScroll plan = PlanTwoBars(Info(TRUE), Info(FALSE), contentWidth, contentHeight, frame.right - frame.left,
                                    height, BarWidth(), keepWidth);
    SetScrollBarShown(kPanelBarVert, plan.showVert);
    SetScrollBarShown(kPanelBarHorz, plan.showHorz);
    SendUiMessage(WM_NCCALCSIZE);
    InvalidateArea();
}

void SAdapterView::OnPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT area = ItemsArea();
    rt->PushClipRect(&area, RGN_AND);
    RECT clip;
    rt->GetClipBox(&clip);
    for (const VisibleItem& visible : m_visible) {
        RECT item;
        RECT common;
        if (!ItemRect(visible.panel, &item))
            continue;
        if (::IntersectRect(&common, &item, &clip))
            visible.panel->Draw(rt, item);
        ItemPainted(rt, item);
    }
    rt->PopClip();
    EndPaintState(rt, &saved);
}

BOOL SAdapterView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_SIZE: {
        BOOL handled = SPanel::HandleMessage(msg, wParam, lParam, result);
        OnSize();
        return handled;
    }
    case WM_DESTROY:
        UnregisterObserver();
        ReleaseAllPanels();
        ResetBins(0);
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    default: return SItemPanelHost::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
