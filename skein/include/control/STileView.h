#pragma once
// The tile view ("tileview"): the adapter's items as equal tiles in rows, as many per row as
// the view's width holds, the rows scrolling vertically. Panels, recycling, selection and input
// are the list view's; the tile locator maps items to rows and columns.
#include "control/SListView.h"

namespace SKEIN {

// Tiles of one size with a margin around each, in rows of Columns() tiles. Sizes become pixels
// at the scale; a divisor that would be 0 counts as 1.
class STileViewItemLocator : public TObjRefImpl<IListViewItemLocator> {
public:
    STileViewItemLocator(const SLayoutSize& itemWidth, const SLayoutSize& itemHeight, const SLayoutSize& margin);

    // The view's client width in pixels; sets the number of columns.
    void SetViewWidth(int pixels);
    int Columns() const { return m_columns; }
    // Margin plus tile height; also the view's scroll line.
    int RowHeight() const;
    int MarginSize() const;
    // The top of the item's row without the top margin.
    int RowTop(int index) const;
    void RowAndColumn(int index, int* row, int* column) const;
    BOOL IsLastInRow(int index) const;
    // The item one row up or down; an item in the top row stays, one above a gap in the last
    // row goes to the last item.
    int ItemAbove(int index) const;
    int ItemBelow(int index) const;
    // The tile's rectangle in the content.
    RECT TileRect(int index) const;

    // --- as a list locator: each tile's height, its row's top ---
    void AttachAdapter(ListItemAdapter* adapter) override { m_adapter = adapter; }
    void Rebuild() override {}
    BOOL HasFixedHeight() const override { return TRUE; }
    int ItemHeight(int) const override { return Height(); }
    void SetItemHeight(int, int) override {}
    int TotalHeight() const override;
    int ItemTop(int index) const override { return RowTop(index); }
    // The first tile of the row at the position: -1 without adapter, at most the item count.
    int ItemAt(int position) const override;
    int LineSize() const override { return RowHeight(); }
    int DividerSize() const override { return 0; }
    void SetScale(int scale) override;

    int Width() const { return m_itemWidth.ToPixels(m_scale); }
    int Height() const { return m_itemHeight.ToPixels(m_scale); }

private:
    int Count() const { return m_adapter ? m_adapter->ItemCount() : 0; }
    void UpdateColumns();

    int m_scale;
    SLayoutSize m_itemWidth;
    SLayoutSize m_itemHeight;
    SLayoutSize m_viewWidth;
    SLayoutSize m_margin;
    int m_columns;
    SRefPtr<ListItemAdapter> m_adapter;
};

class STileView : public SListView {
    SKEIN_CLASS_NAME(SListView, L"tileview")

public:
    STileView();

    STileViewItemLocator* GetTileLocator() const { return static_cast<STileViewItemLocator*>(m_locator.Get()); }
    void EnsureVisible(int index) override;
    void OnDataChanged() override;
    BOOL ItemRect(SItemPanel* panel, RECT* rect) override;

    using SListView::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

protected:
    IListViewItemLocator* NewLocator(pugi::xml_node itemTemplate) override;
    int ItemWidth() const override;
    int NextItemTop(int index, int top) const override;
    void BindPanel(SItemPanel* panel) override;
    BOOL OnArrowKey(UINT vk) override;
    void OnSize() override;

private:
    SLayoutSize m_marginSize;
};

} // namespace SKEIN
