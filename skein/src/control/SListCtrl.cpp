// SListCtrl: attributes, the header child, rows and cells, scroll bars and painting.
#include "control/SListCtrl.h"
#include <algorithm>
#include "control/SHeaderCtrl.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

const UINT kCellFormat = DT_SINGLELINE | DT_VCENTER;
// Checked frame of the check-box skin.
const int kCheckedFrame = 4;

} // namespace

SListCtrl::SListCtrl()
    : m_headerHeight(20), m_itemHeight(20), m_selection(-1), m_hot(-1), m_hotTrack(0), m_iconX(-1), m_iconY(-1),
      m_textX(-1), m_textY(-1), m_colorItemBkgnd(0xFFFFFFFF), m_colorItemBkgnd2(0xFFE2E2E2),
      m_colorItemSelBkgnd(0xFFD19139), m_colorItemHotBkgnd(0x80D19139), m_colorText(0xFF000000),
      m_colorSelText(0xFF00FFFF), m_checkSkin(FindSystemSkin(kSysSkinCheckbox, 100)), m_checkBox(0),
      m_multiSelection(0), m_header(nullptr), m_scrollX(0), m_scrollY(0)
{
    m_flags |= kWndClipClient | kWndFocusable;
    m_eventSet.DeclareEvent(EventLCSelChanging::EventID, EventLCSelChanging::EventName());
    m_eventSet.DeclareEvent(EventLCSelChanged::EventID, EventLCSelChanged::EventName());
    m_eventSet.DeclareEvent(EventLCDbClick::EventID, EventLCDbClick::EventName());
    m_eventSet.DeclareEvent(EventLCItemDeleted::EventID, EventLCItemDeleted::EventName());
}

// ---- attributes and the header ----

HRESULT SListCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    int* number = Is(name, L"headerHeight") ? &m_headerHeight
                  : Is(name, L"hotTrack")   ? &m_hotTrack
                  : Is(name, L"icon-x")     ? &m_iconX
                  : Is(name, L"icon-y")     ? &m_iconY
                  : Is(name, L"text-x")     ? &m_textX
                  : Is(name, L"text-y")     ? &m_textY
                                            : nullptr;
    COLORREF* color = Is(name, L"colorItemBkgnd")      ? &m_colorItemBkgnd
                      : Is(name, L"colorItemBkgnd2")   ? &m_colorItemBkgnd2
                      : Is(name, L"colorItemSelBkgnd") ? &m_colorItemSelBkgnd
                      : Is(name, L"colorItemHotBkgnd") ? &m_colorItemHotBkgnd
                      : Is(name, L"colorText")         ? &m_colorText
                      : Is(name, L"colorSelText")      ? &m_colorSelText
                                                       : nullptr;
    if (number) {
        *number = ParseInt(value);
        if (number == &m_headerHeight && !loading)
            UpdateScrollBars();
    } else if (color) {
        if (!ParseColor(value, color))
            return E_FAIL;
    } else if (Is(name, L"itemHeight")) {
        int height = ParseInt(value);
        if (height <= 0)
            return E_INVALIDARG; // rows are counted by dividing by it
        m_itemHeight = height;
        if (!loading)
            UpdateScrollBars();
    } else {
        result = S_OK;
        if (Is(name, L"checkBox"))
            m_checkBox = ParseInt(value);
        else if (Is(name, L"multiSelection"))
            m_multiSelection = ParseInt(value);
        else if (Is(name, L"itemSkin"))
            m_itemSkin = FindSkin(value, GetScale());
        else if (Is(name, L"iconSkin"))
            m_iconSkin = FindSkin(value, GetScale());
        else if (Is(name, L"checkSkin"))
            m_checkSkin = FindSkin(value, GetScale());
        else
            return SPanel::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

BOOL SListCtrl::CreateChildrenFromXml(pugi::xml_node node)
{
    if (!SPanel::CreateChildrenFromXml(node))
        return FALSE;
    m_header = nullptr;
    for (SWindow* child = GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
        if (child->MatchesClassName(SHeaderCtrl::StaticXmlClassName())) {
            m_header = static_cast<SHeaderCtrl*>(child);
            break;
        }
    }
    if (!m_header)
        return FALSE;
    m_header->ApplyAttribute(SStringW(L"pos"), SStringW().Printf(L"0,0,-0,%d", m_headerHeight), TRUE);
    SEventSet* events = m_header->GetEventSet();
    events->AddSubscriber(EventHeaderItemChanging::EventID, Subscriber(&SListCtrl::OnHeaderItemChanging, this));
    events->AddSubscriber(EventHeaderItemSwap::EventID, Subscriber(&SListCtrl::OnHeaderItemSwap, this));
    return TRUE;
}

bool SListCtrl::OnHeaderItemChanging(EventArgs*)
{
    UpdateScrollBars();
    RECT list = ListRect();
    InvalidateArea(&list);
    return true;
}

bool SListCtrl::OnHeaderItemSwap(EventArgs*)
{
    RECT list = ListRect();
    InvalidateArea(&list);
    return true;
}

void SListCtrl::ArrangeChildren()
{
    SPanel::ArrangeChildren();
    UpdateHeaderPosition();
}

void SListCtrl::UpdateHeaderPosition()
{
    if (!m_header)
        return;
    RECT rect = {m_clientRect.left - m_scrollX, m_clientRect.top, m_clientRect.right,
                 m_clientRect.top + m_headerHeight};
    m_header->SetFixedRect(&rect);
}

int SListCtrl::ColumnCount() const
{
    return m_header ? m_header->GetItemCount() : 0;
}

RECT SListCtrl::ListRect() const
{
    RECT list = m_clientRect;
    list.top = std::min<LONG>(list.bottom, list.top + m_headerHeight);
    return list;
}

// ---- rows ----

int SListCtrl::GetItemCount() const
{
    return ColumnCount() > 0 ? static_cast<int>(m_rows.size()) : 0;
}

int SListCtrl::GetCountPerPage(BOOL partial) const
{
    RECT list = ListRect();
    int height = list.bottom - list.top;
    int count = height / m_itemHeight;
    if (partial && height % m_itemHeight)
        ++count;
    return std::max(count, 1);
}

ListSubItem* SListCtrl::Cell(int row, int column, bool grow)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()) || column < 0)
        return nullptr;
    std::vector<ListSubItem>& cells = m_rows[row].subItems;
    if (column >= static_cast<int>(cells.size())) {
        if (!grow)
            return nullptr;
        cells.resize(column + 1);
    }
    return &cells[column];
}

int SListCtrl::InsertItem(int index, const SStringW& text, int image)
{
    int count = static_cast<int>(m_rows.size());
    if (index < 0 || index > count)
        index = count;
    ListRow row;
    row.subItems.resize(std::max(1, ColumnCount()));
    row.subItems[0].text = text;
    row.subItems[0].image = image;
    m_rows.insert(m_rows.begin() + index, std::move(row));
    if (m_selection >= index)
        ++m_selection;
    if (m_hot >= index)
        ++m_hot;
    UpdateScrollBars();
    return index;
}

BOOL SListCtrl::SetSubItemText(int row, int column, const SStringW& text)
{
    ListSubItem* cell = Cell(row, column, true);
    if (!cell)
        return FALSE;
    cell->text = text;
    RedrawItem(row);
    return TRUE;
}

BOOL SListCtrl::SetSubItemImage(int row, int column, int image)
{
    ListSubItem* cell = Cell(row, column, true);
    if (!cell)
        return FALSE;
    cell->image = image;
    RedrawItem(row);
    return TRUE;
}

SStringW SListCtrl::GetSubItemText(int row, int column) const
{
    ListSubItem* cell = const_cast<SListCtrl*>(this)->Cell(row, column, false);
    return cell ? cell->text : SStringW();
}

BOOL SListCtrl::SetItemData(int row, DWORD data)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return FALSE;
    m_rows[row].data = data;
    return TRUE;
}

DWORD SListCtrl::GetItemData(int row) const
{
    return row >= 0 && row < static_cast<int>(m_rows.size()) ? m_rows[row].data : 0;
}

BOOL SListCtrl::IsItemSelected(int row) const
{
    return row >= 0 && row < static_cast<int>(m_rows.size()) && m_rows[row].selected;
}

BOOL SListCtrl::DeleteItem(int row)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return FALSE;
    DWORD data = m_rows[row].data;
    m_rows.erase(m_rows.begin() + row);
    for (int* index : {&m_selection, &m_hot}) {
        if (*index == row)
            *index = -1;
        else if (*index > row)
            --*index;
    }
    EventLCItemDeleted evt(this);
    evt.item = row;
    evt.data = data;
    RaiseEvent(evt);
    UpdateScrollBars();
    return TRUE;
}

void SListCtrl::DeleteAllItems()
{
    m_selection = -1;
    m_hot = -1;
    // Handlers of the events see the list empty already.
    std::vector<ListRow> rows;
    rows.swap(m_rows);
    for (size_t i = 0; i < rows.size(); ++i) {
        EventLCItemDeleted evt(this);
        evt.item = static_cast<int>(i);
        evt.data = rows[i].data;
        RaiseEvent(evt);
    }
    UpdateScrollBars();
}

// ---- scrolling ----

// Decided on the panel's rectangle before the bars are taken off, so the outcome does not
// depend on which bars were shown before.
void SListCtrl::UpdateScrollBars()
{
    RECT frame = FrameRect();
    int totalW = m_header ? m_header->GetTotalWidth() : 0;
    int totalH = GetItemCount() * m_itemHeight;
    int listH = std::max<int>(0, frame.bottom - frame.top - m_headerHeight);
    int cw = frame.right - frame.left;
    int sb = BarWidth();
    SCROLLINFO& vert = Info(TRUE);
    SCROLLINFO& horz = Info(FALSE);
    vert.nMin = horz.nMin = 0;
    m_shownBars = 0;
    bool vertical = listH < totalH || (listH < totalH + sb && cw < totalW);
    bool horizontal = vertical ? cw - sb < totalW : cw < totalW;
    if (vertical) {
        m_shownBars |= kPanelBarVert;
        vert.nMax = totalH - 1;
        vert.nPage = static_cast<UINT>(horizontal ? std::max(listH - sb, 0)
                                                  : std::max(listH / m_itemHeight, 1) * m_itemHeight);
    } else {
        vert.nMax = listH - 1;
        vert.nPage = static_cast<UINT>(listH);
        m_scrollY = 0;
    }
    if (horizontal) {
        m_shownBars |= kPanelBarHorz;
        horz.nMax = totalW - 1;
        horz.nPage = static_cast<UINT>(std::max(vertical ? cw - sb : cw, 0));
    } else {
        horz.nMax = cw - 1;
        horz.nPage = static_cast<UINT>(std::max(cw, 0));
        m_scrollX = 0;
    }
    // The offsets stay within what the content leaves to scroll.
    m_scrollX = std::max(0, std::min(m_scrollX, totalW - static_cast<int>(horz.nPage)));
    m_scrollY = std::max(0, std::min(m_scrollY, totalH - static_cast<int>(vert.nPage)));
    horz.nPos = m_scrollX;
    vert.nPos = m_scrollY;
    RedrawBar(TRUE);
    RedrawBar(FALSE);
    SendUiMessage(WM_NCCALCSIZE);
    UpdateHeaderPosition();
    InvalidateClientArea();
}

BOOL SListCtrl::OnScroll(BOOL vertical, UINT code, int position)
{
    BOOL moved = SPanel::OnScroll(vertical, code, position);
    if (vertical) {
        m_scrollY = ScrollPosOf(TRUE);
    } else {
        m_scrollX = ScrollPosOf(FALSE);
        UpdateHeaderPosition();
    }
    InvalidateClientArea();
    if (code == SB_THUMBTRACK)
        ThrottledUpdate();
    return moved;
}

// ---- painting ----

void SListCtrl::OnPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT list = ListRect();
    rt->PushClipRect(&list, RGN_AND);
    int top = m_scrollY / m_itemHeight;
    int last = std::min(top + GetCountPerPage(TRUE), GetItemCount() - 1);
    RECT row = {list.left, list.top - m_scrollY % m_itemHeight, list.right, 0};
    row.bottom = row.top + m_itemHeight;
    for (int i = top; i <= last; ++i) {
        DrawItem(rt, row, i);
        ::OffsetRect(&row, 0, m_itemHeight);
    }
    rt->PopClip();
    EndPaintState(rt, &saved);
}

void SListCtrl::DrawItem(IRenderTarget* rt, const RECT& rowRect, int index)
{
    const ListRow& row = m_rows[index];
    COLORREF background = (index & 1) && m_colorItemBkgnd2 != kColorUnset ? m_colorItemBkgnd2 : m_colorItemBkgnd;
    COLORREF text = m_colorText;
    int state = 0;
    if (row.selected) {
        if (m_itemSkin)
            state = 2;
        else if (m_colorItemSelBkgnd != kColorUnset)
            background = m_colorItemSelBkgnd;
        if (m_colorSelText != kColorUnset)
            text = m_colorSelText;
    } else if (m_hotTrack && index == m_hot) {
        if (m_itemSkin)
            state = 1;
        else
            background = m_colorItemHotBkgnd;
        text = m_colorSelText;
    }
    if (background != kColorUnset)
        rt->FillSolidRect(&rowRect, background);
    if (m_itemSkin)
        m_itemSkin->DrawByState(rt, &rowRect, state);
    COLORREF oldText = text != kColorUnset ? rt->SetTextColor(text) : kColorUnset;
    DrawCells(rt, rowRect, row);
    if (text != kColorUnset)
        rt->SetTextColor(oldText);
}

void SListCtrl::DrawCells(IRenderTarget* rt, const RECT& rowRect, const ListRow& row)
{
    int h = m_itemHeight;
    RECT column = {rowRect.left + kRowIndent - m_scrollX, rowRect.top, 0, rowRect.bottom};
    column.right = column.left;
    int columns = ColumnCount();
    for (int i = 0; i < columns; ++i) {
        HeaderItem caption;
        caption.mask = kHeaderMaskOrder;
        m_header->GetItem(i, caption);
        column.left = column.right;
        column.right = column.left + std::max(0, m_header->GetItemWidth(i));
        RECT common;
        if (!::IntersectRect(&common, &column, &rowRect))
            continue;
        RECT cell = column;
        if (i == 0 && m_checkBox && m_checkSkin) {
            SIZE size = SkinSize(m_checkSkin);
            RECT box = {cell.left + kCheckGap, cell.top + (h - size.cy) / 2, 0, 0};
            box.right = box.left + size.cx;
            box.bottom = box.top + size.cy;
            m_checkSkin->DrawByState(rt, &box, row.selected ? kCheckedFrame : 0);
            cell.left += size.cx + 2 * kCheckGap;
        }
        // A row shorter than the columns shows empty cells there.
        if (caption.order < 0 || caption.order >= static_cast<int>(row.subItems.size()))
            continue;
        const ListSubItem& sub = row.subItems[caption.order];
        RECT text = cell;
        if (sub.image != -1 && m_iconSkin) {
            SIZE size = SkinSize(m_iconSkin);
            RECT icon = {cell.left + (m_iconX == -1 ? h / 6 : m_iconX),
                         cell.top + (m_iconY == -1 ? (h - size.cy) / 2 : m_iconY), 0, 0};
            icon.right = icon.left + size.cx;
            icon.bottom = icon.top + size.cy;
            m_iconSkin->DrawByState(rt, &icon, sub.image);
            text.left = icon.right + h / 6;
        }
        if (m_textX != -1)
            text.left = cell.left + m_textX;
        UINT format = kCellFormat;
        if (m_textY != -1) {
            text.top = cell.top + m_textY;
            format = DT_SINGLELINE;
        }
        RenderText(rt, sub.text.c_str(), sub.text.Length(), &text, format);
    }
}

void SListCtrl::RedrawItem(int index)
{
    RECT list = ListRect();
    int top = m_scrollY / m_itemHeight;
    int span = (list.bottom - list.top + m_itemHeight - 1) / m_itemHeight;
    if (!TestVisible(TRUE) || index < top || index >= GetItemCount() || index > top + span)
        return;
    RECT row = {list.left, list.top + index * m_itemHeight - m_scrollY, list.right, 0};
    row.bottom = row.top + m_itemHeight;
    RECT area;
    if (!::IntersectRect(&area, &row, &list))
        return;
    IRenderTarget* rt = AcquirePaintTarget(&area, kPaintWithBackground, TRUE);
    if (!rt)
        return;
    SendUiMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    DrawItem(rt, row, index);
    ReturnPaintTarget(rt);
}

} // namespace SKEIN
