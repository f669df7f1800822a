// SMCListView: the header child, columns inside the items, two scroll bars and sorting.
#include "control/SMCListView.h"
#include <algorithm>
#include <vector>
#include "core/SXmlFlags.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

// The height of the rectangle offered to ItemDesiredSize.
const int kOfferedItemHeight = 100000;

} // namespace

SMCListView::SMCListView() : m_header(nullptr), m_headerHeight(L"25dp"), m_hotTrack(0)
{
    m_flags |= kWndFocusable | kWndClipClient;
    m_refreshOnPaint = TRUE;
}

HRESULT SMCListView::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"headerHeight"))
        m_headerHeight = ResolveNamedDimension(value.c_str());
    else if (Is(name, L"hotTrack"))
        m_hotTrack = ParseInt(value);
    else
        return SListView::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

// ---- creation ----

BOOL SMCListView::LoadFromXml(pugi::xml_node node)
{
    if (!SListView::LoadFromXml(node))
        return FALSE;
    if (m_header)
        return TRUE;
    if (m_parent)
        m_parent->DestroyChild(this);
    return FALSE;
}

BOOL SMCListView::CreateChildrenFromXml(pugi::xml_node node)
{
    pugi::xml_node itemTemplate = XmlChildNoCase(node, L"template");
    if (itemTemplate)
        SXmlFlags::SetSkipped(itemTemplate, true);
    BOOL created = SWindow::CreateChildrenFromXml(node);
    if (itemTemplate)
        SXmlFlags::SetSkipped(itemTemplate, false);
    if (!created || !SListView::CreateChildrenFromXml(node))
        return FALSE;
    for (SWindow* child = GetRelative(kRelFirstChild); child && !m_header; child = child->GetRelative(kRelNextSibling)) {
        if (child->MatchesClassName(SHeaderCtrl::StaticXmlClassName()))
            m_header = static_cast<SHeaderCtrl*>(child);
    }
    if (!m_header)
        return FALSE;
    SStringW pos;
    pos.Printf(L"0,0,-0,%d", HeaderHeight());
    m_header->ApplyAttribute(SStringW(L"pos"), pos, TRUE);
    SEventSet* events = m_header->GetEventSet();
    events->AddSubscriber(EventHeaderItemChanging::EventID, Subscriber(&SMCListView::OnColumnsChanged, this));
    events->AddSubscriber(EventHeaderItemSwap::EventID, Subscriber(&SMCListView::OnColumnsChanged, this));
    events->AddSubscriber(EventHeaderClick::EventID, Subscriber(&SMCListView::OnHeaderClick, this));
    return TRUE;
}

// ---- geometry ----

int SMCListView::ItemWidth() const
{
    return m_header ? m_header->GetTotalWidth() : 0;
}

int SMCListView::OfferedItemBottom() const
{
    return kOfferedItemHeight;
}

RECT SMCListView::ItemsArea() const
{
    RECT area = m_clientRect;
    area.top = std::min<LONG>(area.bottom, area.top + HeaderHeight());
    return area;
}

BOOL SMCListView::ItemRect(SItemPanel* panel, RECT* rect)
{
    if (!m_locator) {
        *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    int index = panel->ItemIndex();
    int left = m_clientRect.left - ScrollPosOf(FALSE);
    int top = m_clientRect.top + HeaderHeight() + m_locator->ItemTop(index) - ScrollPosOf(TRUE);
    *rect = RECT{left, top, left + ItemWidth(), top + m_locator->ItemHeight(index)};
    return TRUE;
}

void SMCListView::PlaceHeader()
{
    if (!m_header)
        return;
    RECT rect = {m_clientRect.left - ScrollPosOf(FALSE), m_clientRect.top, m_clientRect.right,
                 m_clientRect.top + HeaderHeight()};
    m_header->SetFixedRect(&rect);
}

void SMCListView::ArrangeChildren()
{
    SListView::ArrangeChildren();
    PlaceHeader();
}

int SMCListView::CaptionColumn(int caption) const
{
    HeaderItem item;
    item.mask = kHeaderMaskOrder;
    m_header->GetItem(caption, item);
    return item.order;
}

void SMCListView::PlaceColumns(SItemPanel* panel, bool showColumns)
{
    ColumnListAdapter* adapter = ColumnAdapter();
    if (!adapter || !m_header)
        return;
    const RECT& item = panel->GetWindowRect();
    int height = item.bottom - item.top;
    int x = 0;
    for (int i = 0; i < m_header->GetItemCount(); ++i) {
        int width = m_header->GetItemWidth(i);
        SWindow* column = panel->LookupChildByName(adapter->ColumnName(CaptionColumn(i)));
        if (showColumns && column)
            column->ChangeVisibility(m_header->IsItemVisible(i), FALSE);
        if (column) {
            RECT rect = {x, 0, x + width, height};
            column->SetFixedRect(&rect);
        }
        x += width;
    }
}

void SMCListView::ItemLaidOut(SItemPanel* panel)
{
    PlaceColumns(panel, true);
}

// Header captions resized or moved: the columns follow without a data refresh.
bool SMCListView::OnColumnsChanged(EventArgs*)
{
    UpdateScrollBar();
    PlaceHeader();
    for (const VisibleItem& visible : m_visible) {
        RECT rect = visible.panel->GetWindowRect();
        rect.right = rect.left + ItemWidth();
        visible.panel->ApplyRect(rect);
        PlaceColumns(visible.panel, false);
    }
    RECT area = ItemsArea();
    InvalidateArea(&area);
    return true;
}

// ---- scrolling ----

void SMCListView::UpdateScrollBar()
{
    ScrollBothWays(ItemWidth(), m_locator ? m_locator->TotalHeight() : 0, HeaderHeight(), false);
}

BOOL SMCListView::OnScroll(BOOL vertical, UINT code, int position)
{
    if (vertical)
        return SListView::OnScroll(vertical, code, position);
    int old = ScrollPosOf(FALSE);
    SPanel::OnScroll(FALSE, code, position);
    if (ScrollPosOf(FALSE) == old)
        return FALSE;
    PlaceHeader();
    InvalidateArea();
    if (code == SB_THUMBTRACK)
        ThrottledUpdate();
    return TRUE;
}

void SMCListView::OnSize()
{
    SListView::OnSize();
    PlaceHeader();
}

// ---- data ----

// The adapter answers by column number; a caption may have been moved away from its column.
void SMCListView::OnDataChanged()
{
    if (ColumnListAdapter* adapter = ColumnAdapter()) {
        if (m_header && TestVisible(TRUE)) {
            for (int i = 0; i < m_header->GetItemCount(); ++i)
                m_header->SetItemVisible(i, adapter->IsColumnVisible(CaptionColumn(i)));
        }
    }
    SListView::OnDataChanged();
}

bool SMCListView::OnHeaderClick(EventHeaderClick* evt)
{
    ColumnListAdapter* adapter = ColumnAdapter();
    int count = m_header->GetItemCount();
    if (!adapter || count == 0)
        return true;
    std::vector<UINT> flags(count, 0);
    std::vector<int> position(count, -1);
    int clicked = -1;
    for (int i = 0; i < count; ++i) {
        HeaderItem caption;
        caption.mask = kHeaderMaskOrder | kHeaderMaskSort;
        m_header->GetItem(i, caption);
        // A caption whose column number lies outside the columns takes part in no sort.
        if (caption.order < 0 || caption.order >= count)
            continue;
        flags[caption.order] = static_cast<UINT>(caption.sortFlag);
        position[caption.order] = i;
        if (i == evt->item)
            clicked = caption.order;
    }
    if (clicked < 0 || !adapter->SortColumns(clicked, flags.data(), count))
        return true;
    for (int k = 0; k < count; ++k) {
        if (position[k] >= 0)
            m_header->SetItemSort(position[k], static_cast<int>(flags[k]));
    }
    OnDataChanged();
    return true;
}

// ---- messages ----

BOOL SMCListView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    BOOL handled = SListView::HandleMessage(msg, wParam, lParam, result);
    bool press = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
    if (press && m_adapter && !m_capturedPanel) {
        POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        RECT rect;
        if (!PanelAtPoint(pt, &rect))
            SetSelection(-1, TRUE);
    }
    return handled;
}

} // namespace SKEIN
