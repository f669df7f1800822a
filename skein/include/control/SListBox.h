#pragma once
// The list box ("listbox"): one column of text rows with an optional icon each, one selection,
// optional hot tracking (select on release) and Up/Down stepping. Characters typed into it go
// to its owner window; the combo box uses it as its drop list.
#include "control/SScrollView.h"
#include "core/SDynArray.h"

namespace SKEIN {

class EventLBSelChanging : public EventArgs {
    SKEIN_EVENT_CLASS(12000, L"on_listbox_sel_changing")
    explicit EventLBSelChanging(IObject* sender) : EventArgs(sender), newSel(-1), oldSel(-1), cancel(FALSE) {}
    int newSel;
    int oldSel;
    BOOL cancel; // a handler sets it to keep the old selection
};

class EventLBSelChanged : public EventArgs {
    SKEIN_EVENT_CLASS(12001, L"on_listbox_sel_changed")
    explicit EventLBSelChanged(IObject* sender) : EventArgs(sender), newSel(-1), oldSel(-1) {}
    int newSel;
    int oldSel;
};

class EventLBDbClick : public EventArgs {
    SKEIN_EVENT_CLASS(12002, L"on_listbox_item_dbclick")
    explicit EventLBDbClick(IObject* sender) : EventArgs(sender), item(-1) {}
    int item;
};

// One row; its text is translated in the list box's context.
struct ListBoxItem {
    explicit ListBoxItem(ITrCtxProvider* provider) : text(provider), image(-1), data(0) {}
    STranslatableText text;
    int image; // state of "iconSkin"; -1 none
    LPARAM data;
};

class SListBox : public SScrollView {
    SKEIN_CLASS_NAME(SScrollView, L"listbox")

public:
    SListBox();
    ~SListBox() override;

    using SScrollView::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    UINT QueryWantedKeys(const MSG*) override { return DLGC_WANTARROWS | DLGC_HASSETSEL; }
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    int RetranslateTexts() override;

    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, int index);

    int GetCount() const { return static_cast<int>(m_items.Count()); }
    int GetCurSel() const { return m_selection; }
    int GetHot() const { return m_hot; }
    int GetTopIndex() const { return ViewOrigin().y / ItemHeightPx(); }
    // Raises no event; false for an index past the end or the current selection.
    BOOL SetCurSel(int index);
    SStringW GetText(int index, bool raw = false) const;
    LPARAM GetItemData(int index) const;
    int InsertString(int index, const SStringW& text, int image = -1, LPARAM data = 0);
    int AddString(const SStringW& text, int image = -1, LPARAM data = 0) { return InsertString(-1, text, image, data); }
    // Takes the row (allocated with new); -1 or past the end appends.
    int InsertItem(int index, ListBoxItem* item);
    void DeleteAll();
    void EnsureVisible(int index);
    // The row under a host point (-1 for none); pt becomes row-local.
    int HitTest(POINT& pt) const;
    void RedrawItem(int index);
    // Row height in pixels, at least 1.
    int ItemHeightPx() const;

protected:
    void NotifySelChange(int oldSel, int newSel);

private:
    void UpdateViewSize();
    RECT RowRect(int index) const;
    int LastPaintableRow() const;
    void Paint(IRenderTarget* rt);
    void OnKeyDown(UINT vk);
    void OnMouse(UINT msg, WPARAM wParam, POINT pt);
    int ColorAttribute(COLORREF& slot, const SStringW& value);

    SDynArray<ListBoxItem*> m_items;
    SLayoutSize m_itemHeight;
    int m_selection;
    int m_hot;
    int m_hotTrack;
    SLayoutSize m_iconX;
    SLayoutSize m_iconY;
    SLayoutSize m_textX;
    SLayoutSize m_textY;
    COLORREF m_colorItemBkgnd;
    COLORREF m_colorItemBkgnd2;
    COLORREF m_colorItemSelBkgnd;
    COLORREF m_colorItemHotBkgnd;
    COLORREF m_colorText;
    COLORREF m_colorSelText;
    SRefPtr<ISkinObj> m_itemSkin;
    SRefPtr<ISkinObj> m_iconSkin;
};

} // namespace SKEIN
