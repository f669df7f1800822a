// STileViewItemLocator and STileView: rows of equal tiles over the list view's machinery.
#include "control/STileView.h"
#include <algorithm>
#include "helper/SXmlLookup.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

const wchar_t kDefaultTileSize[] = L"10dp";

SLayoutSize TemplateSize(pugi::xml_node itemTemplate, const wchar_t* name)
{
    pugi::xml_attribute size = XmlAttributeNoCase(itemTemplate, name);
    return ResolveNamedDimension(size ? size.value() : kDefaultTileSize);
}

} // namespace

// ---- locator ----

STileViewItemLocator::STileViewItemLocator(const SLayoutSize& itemWidth, const SLayoutSize& itemHeight,
                                           const SLayoutSize& margin)
    : m_scale(100), m_itemWidth(itemWidth), m_itemHeight(itemHeight), m_viewWidth(0.0f, SLayoutSize::kPx),
      m_margin(margin), m_columns(1)
{
}

void STileViewItemLocator::SetViewWidth(int pixels)
{
    m_viewWidth = SLayoutSize(static_cast<float>(pixels), SLayoutSize::kPx);
    UpdateColumns();
}

void STileViewItemLocator::SetScale(int scale)
{
    m_scale = scale;
    UpdateColumns();
}

void STileViewItemLocator::UpdateColumns()
{
    int columns = m_viewWidth.ToPixels(m_scale) / std::max(1, MarginSize() + Width());
    m_columns = std::max(1, columns);
}

int STileViewItemLocator::RowHeight() const
{
    return MarginSize() + Height();
}

int STileViewItemLocator::MarginSize() const
{
    return m_margin.ToPixels(m_scale);
}

int STileViewItemLocator::RowTop(int index) const
{
    return RowHeight() * (index / m_columns);
}

void STileViewItemLocator::RowAndColumn(int index, int* row, int* column) const
{
    int r = (index + 1) / m_columns;
    if (r * m_columns - 1 >= index)
        --r;
    *row = r;
    *column = index - r * m_columns;
}

BOOL STileViewItemLocator::IsLastInRow(int index) const
{
    return index % m_columns == m_columns - 1;
}

int STileViewItemLocator::ItemAbove(int index) const
{
    int above = index - m_columns;
    return above < 0 ? index : above;
}

int STileViewItemLocator::ItemBelow(int index) const
{
    int count = Count();
    if (index + m_columns < count)
        return index + m_columns;
    if (index / m_columns == (count - 1) / m_columns)
        return index;
    return count - 1;
}

int STileViewItemLocator::ItemAt(int position) const
{
    if (!m_adapter)
        return -1;
    int first = position / std::max(1, RowHeight()) * m_columns;
    return std::min(std::max(first, 0), Count());
}

int STileViewItemLocator::TotalHeight() const
{
    int count = Count();
    if (count <= 0)
        return 0;
    int rows = (count - 1) / m_columns + 1;
    return MarginSize() + rows * RowHeight();
}

RECT STileViewItemLocator::TileRect(int index) const
{
    int row = 0;
    int column = 0;
    RowAndColumn(index, &row, &column);
    int m = MarginSize();
    int left = (Width() + m) * column + m;
    int top = (Height() + m) * row + m;
    return RECT{left, top, left + Width(), top + Height()};
}

// ---- view ----

STileView::STileView() : m_marginSize(0.0f, SLayoutSize::kPx) {}

HRESULT STileView::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (!Is(name, L"marginSize"))
        return SListView::ApplyAttribute(name, value, loading);
    m_marginSize = ResolveNamedDimension(value.c_str());
    return AfterAttribute(name, value, loading, S_FALSE);
}

IListViewItemLocator* STileView::NewLocator(pugi::xml_node itemTemplate)
{
    return new STileViewItemLocator(TemplateSize(itemTemplate, L"itemWidth"), TemplateSize(itemTemplate, L"itemHeight"),
                                    m_marginSize);
}

int STileView::ItemWidth() const
{
    return m_locator ? GetTileLocator()->Width() : 0;
}

int STileView::NextItemTop(int index, int top) const
{
    STileViewItemLocator* tiles = GetTileLocator();
    return tiles->IsLastInRow(index) ? top + tiles->RowHeight() : top;
}

// An adapter whose bind resets the panel's states keeps the selected tile's highlight.
void STileView::BindPanel(SItemPanel* panel)
{
    SListView::BindPanel(panel);
    if (panel->ItemIndex() == m_selection)
        panel->ModifyItemState(kItemStateSelected, 0);
}

BOOL STileView::ItemRect(SItemPanel* panel, RECT* rect)
{
    if (!m_locator) {
        *rect = RECT{0, 0, 0, 0};
        return FALSE;
    }
    *rect = GetTileLocator()->TileRect(panel->ItemIndex());
    ::OffsetRect(rect, m_clientRect.left, m_clientRect.top - ScrollPosOf(TRUE));
    return TRUE;
}

void STileView::EnsureVisible(int index)
{
    if (!m_adapter || !m_locator || index < 0 || index >= m_adapter->ItemCount())
        return;
    RECT tile = GetTileLocator()->TileRect(index);
    if (tile.top < ScrollPosOf(TRUE))
        OnScroll(TRUE, SB_THUMBPOSITION, tile.top);
    if (ScrollPosOf(TRUE) + Page() < tile.bottom)
        OnScroll(TRUE, SB_THUMBPOSITION, tile.bottom - Page());
}

BOOL STileView::OnArrowKey(UINT vk)
{
    STileViewItemLocator* tiles = GetTileLocator();
    int count = m_adapter->ItemCount();
    int next = -1;
    if (vk == VK_RIGHT && m_selection < count - 1)
        next = m_selection + 1;
    else if (vk == VK_LEFT && m_selection > 0)
        next = m_selection - 1;
    else if (vk == VK_UP && m_selection > 0 && tiles)
        next = tiles->ItemAbove(m_selection);
    else if (vk == VK_DOWN && m_selection < count - 1 && tiles)
        next = m_selection < 0 ? 0 : tiles->ItemBelow(m_selection);
    if (next != -1) {
        EnsureVisible(next);
        SetSelection(next, FALSE);
    }
    return TRUE;
}

// Refreshed whether shown or not, without a rebuild (every tile has one size).
void STileView::OnDataChanged()
{
    if (!m_adapter)
        return;
    if (m_selection >= m_adapter->ItemCount())
        m_selection = -1;
    UpdateScrollBar();
    RefreshVisibleItems();
}

void STileView::OnSize()
{
    if (m_locator)
        GetTileLocator()->SetViewWidth(ClientWidth());
    UpdateScrollBar();
    RefreshVisibleItems();
}

} // namespace SKEIN
