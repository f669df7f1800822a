#pragma once
// The report list control ("listctrl"): rows of text cells under the columns of its header
// child, with optional check boxes, icons, alternating row colours, hot tracking and single,
// check-box or multiple selection. Column position i shows the cell at the data column that
// the header's caption i names, so moving a caption moves its data. The list scrolls in
// pixels; the header follows the horizontal scroll.
#include <vector>
#include "control/SPanel.h"

namespace SKEIN {

class SHeaderCtrl;

class EventLCSelChanging : public EventArgs {
    SKEIN_EVENT_CLASS(13000, L"on_listctrl_sel_changing")
    explicit EventLCSelChanging(IObject* sender) : EventArgs(sender), newSel(-1), oldSel(-1), cancel(FALSE) {}
    int newSel;
    int oldSel;
    BOOL cancel; // a handler sets it to keep the selection as it is
};

class EventLCSelChanged : public EventArgs {
    SKEIN_EVENT_CLASS(13001, L"on_listctrl_sel_changed")
    explicit EventLCSelChanged(IObject* sender) : EventArgs(sender), newSel(-1), oldSel(-1) {}
    int newSel;
    int oldSel;
};

class EventLCItemDeleted : public EventArgs {
    SKEIN_EVENT_CLASS(13002, L"on_listctrl_del_item")
    explicit EventLCItemDeleted(IObject* sender) : EventArgs(sender), item(-1), data(0) {}
    int item;
    DWORD data;
};

class EventLCDbClick : public EventArgs {
    SKEIN_EVENT_CLASS(13003, L"on_listctrl_item_dbclick")
    explicit EventLCDbClick(IObject* sender) : EventArgs(sender), item(-1) {}
    int item;
};

// One cell.
struct ListSubItem {
    SStringW text;
    int image = -1; // state drawn with the icon skin; -1 none
};

// One row; in check-box mode selected is also the check state.
struct ListRow {
    std::vector<ListSubItem> subItems;
    DWORD data = 0;
    int selected = 0;
};

class SListCtrl : public SPanel {
    SKEIN_CLASS_NAME(SPanel, L"listctrl")

public:
    SListCtrl();

    using SPanel::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    void ArrangeChildren() override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnScroll(BOOL vertical, UINT code, int position) override;

    // Rows, reported only while there is a column.
    int GetItemCount() const;
    int GetCountPerPage(BOOL partial) const;
    // The row under a window point; -1 for none.
    int HitTest(POINT pt) const;
    BOOL HitCheckBox(POINT pt) const;
    void RedrawItem(int row);
    void DeleteAllItems();
    void UpdateScrollBars();
    void UpdateHeaderPosition();
    void NotifySelChange(int oldSel, int newSel, BOOL checkClick);
    virtual void DrawItem(IRenderTarget* rt, const RECT& rowRect, int row);

    // A row with text in data column 0 at index (appended when outside 0..count); its index.
    int InsertItem(int index, const SStringW& text, int image = -1);
    // Cells by data column; a row grows to the column. FALSE for no such row or column.
    BOOL SetSubItemText(int row, int column, const SStringW& text);
    BOOL SetSubItemImage(int row, int column, int image);
    SStringW GetSubItemText(int row, int column) const;
    BOOL SetItemData(int row, DWORD data);
    DWORD GetItemData(int row) const;
    // Removes one row, raising EventLCItemDeleted; the rows after it move up.
    BOOL DeleteItem(int row);
    int GetSelectedItem() const { return m_selection; }
    BOOL IsItemSelected(int row) const;
    SHeaderCtrl* GetHeader() const { return m_header; }
    POINT ScrollOffset() const { return POINT{m_scrollX, m_scrollY}; }

private:
    // Gaps of a row: before the first column, and on both sides of the check box.
    static const int kRowIndent = 4;
    static const int kCheckGap = 3;

    // The client rectangle below the header.
    RECT ListRect() const;
    int ColumnCount() const;
    ListSubItem* Cell(int row, int column, bool grow);
    void SetSelected(int row, int selected);
    void DrawCells(IRenderTarget* rt, const RECT& rowRect, const ListRow& row);
    bool OnHeaderItemChanging(EventArgs* evt);
    bool OnHeaderItemSwap(EventArgs* evt);
    void OnPaint(IRenderTarget* rt);
    void OnLeftButtonDown(WPARAM keys, POINT pt);
    void OnLeftButtonDblClk(POINT pt);
    void OnMouseMove(POINT pt);

    int m_headerHeight;
    int m_itemHeight;
    int m_selection;
    int m_hot;
    int m_hotTrack;
    int m_iconX;
    int m_iconY;
    int m_textX;
    int m_textY;
    COLORREF m_colorItemBkgnd;
    COLORREF m_colorItemBkgnd2;
    COLORREF m_colorItemSelBkgnd;
    COLORREF m_colorItemHotBkgnd;
    COLORREF m_colorText;
    COLORREF m_colorSelText;
    SRefPtr<ISkinObj> m_itemSkin;
    SRefPtr<ISkinObj> m_iconSkin;
    SRefPtr<ISkinObj> m_checkSkin;
    int m_checkBox;
    int m_multiSelection;
    SHeaderCtrl* m_header;
    std::vector<ListRow> m_rows;
    int m_scrollX;
    int m_scrollY;
};

} // namespace SKEIN
