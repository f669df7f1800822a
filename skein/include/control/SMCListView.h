#pragma once
// The multi-column list view ("mclistview"): the list view under a column header. Every item
// is as wide as the header; inside it the windows that show the columns sit side by side in
// header order with the captions' widths. The content scrolls both ways and the header follows
// the horizontal position; a click on a caption asks the adapter to sort.
#include "control/SHeaderCtrl.h"
#include "control/SListView.h"

namespace SKEIN {

class SMCListView : public SListView {
    SKEIN_CLASS_NAME(SListView, L"mclistview")

public:
    SMCListView();

    // The adapter is a ColumnListAdapter (SetAdapter); with another one no columns are placed.
    SHeaderCtrl* GetHeader() const { return m_header; }

    void OnDataChanged() override;
    BOOL ItemRect(SItemPanel* panel, RECT* rect) override;

    // --- window ---
    using SListView::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // Fails, and the view is not created, without a header child.
    BOOL LoadFromXml(pugi::xml_node node) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    void ArrangeChildren() override;
    BOOL OnScroll(BOOL vertical, UINT code, int position) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    int ItemWidth() const override;
    int OfferedItemBottom() const override;
    RECT ItemsArea() const override;
    void ItemLaidOut(SItemPanel* panel) override;
    BOOL KeySelectionNotifies() const override { return TRUE; }
    void UpdateScrollBar() override;
    void OnSize() override;

private:
    ColumnListAdapter* ColumnAdapter() const { return dynamic_cast<ColumnListAdapter*>(m_adapter.Get()); }
    int HeaderHeight() const { return m_headerHeight.ToPixels(GetScale()); }
    void PlaceHeader();
    // The data column that the caption at this header index shows.
    int CaptionColumn(int caption) const;
    // Columns side by side in header order; showColumns also shows and hides them.
    void PlaceColumns(SItemPanel* panel, bool showColumns);
    bool OnColumnsChanged(EventArgs* evt);
    bool OnHeaderClick(EventHeaderClick* evt);

    SHeaderCtrl* m_header;
    SLayoutSize m_headerHeight;
    int m_hotTrack;
};

} // namespace SKEIN
