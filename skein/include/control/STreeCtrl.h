#pragma once
// The tree control ("treectrl"): a hierarchy of text items, one row each, indented by depth,
// with an expand/collapse toggle on items that have children, optional three-state check
// boxes and icons, and one selection. The control is also the tree that holds its item
// records; item handles are tree handles. The view is (widest visible row, visible rows x row
// height) and scrolls through the scroll view.
#include "control/SScrollView.h"
#include "control/STree.h"

namespace SKEIN {

// One item; owned by its tree node.
struct tagTVITEM {
    SStringW text;
    int image = -1;
    int selectedImage = -1;
    DWORD data = 0;
    STreeHandle handle = 0;
    int collapsed = 0;
    int visible = 1;     // all ancestors expanded
    int hasChildren = 0;
    int level = 0;
    int checkState = 0;  // 0 unchecked, 1 checked, 2 partly checked
    int contentWidth = 0; // right end of the text area in item coordinates
    int toggleState = 0;  // kTcPartHover | kTcPartPushed
    int checkBoxState = 0;
};

// Expand codes.
enum { kTcCollapse = 1, kTcExpand = 2, kTcToggle = 3 };
// Parts of a row, and their state bits.
enum { kTcPartNone = 0, kTcPartToggle = 1, kTcPartCheck = 2 };
enum { kTcPartHover = 1, kTcPartPushed = 2 };
// Parts that the rows show.
enum { kTcShowToggle = 1, kTcShowCheck = 2, kTcShowIcon = 4 };

class EventTCSelChanging : public EventArgs {
    SKEIN_EVENT_CLASS(15000, L"on_treectrl_sel_changing")
    explicit EventTCSelChanging(IObject* sender) : EventArgs(sender), oldSel(0), newSel(0), cancel(FALSE) {}
    STreeHandle oldSel;
    STreeHandle newSel;
    BOOL cancel; // a handler sets it to keep the old selection
};

class EventTCSelChanged : public EventArgs {
    SKEIN_EVENT_CLASS(15001, L"on_treectrl_sel_changed")
    explicit EventTCSelChanged(IObject* sender) : EventArgs(sender), oldSel(0), newSel(0) {}
    STreeHandle oldSel;
    STreeHandle newSel;
};

class EventTCExpand : public EventArgs {
    SKEIN_EVENT_CLASS(15002, L"on_treectrl_item_expand")
    explicit EventTCExpand(IObject* sender) : EventArgs(sender), item(0), collapsed(FALSE) {}
    STreeHandle item;
    BOOL collapsed;
};

class EventTCCheckState : public EventArgs {
    SKEIN_EVENT_CLASS(15003, L"on_treectrl_item_check")
    explicit EventTCCheckState(IObject* sender) : EventArgs(sender), item(0), checkState(0) {}
    STreeHandle item;
    int checkState;
};

class EventTCDbClick : public EventArgs {
    SKEIN_EVENT_CLASS(15004, L"on_treectrl_item_dbclick")
    explicit EventTCDbClick(IObject* sender) : EventArgs(sender), item(0), cancel(FALSE) {}
    STreeHandle item;
    BOOL cancel; // a handler sets it to keep the item as it is
};

class STreeCtrl : public SScrollView, public CSTree<tagTVITEM*> {
    SKEIN_CLASS_NAME(SScrollView, L"treectrl")

public:
    STreeCtrl();
    ~STreeCtrl() override;

    using SScrollView::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The record passes to the control (freed with its node, or at once when the position is
    // refused: then the result is 0).
    STreeHandle InsertItem(tagTVITEM* item, STreeHandle parent = kTviRoot, STreeHandle insertAfter = kTviLast,
                           BOOL ensureVisible = FALSE);
    STreeHandle InsertItem(pugi::xml_node element, STreeHandle parent = kTviRoot,
                           STreeHandle insertAfter = kTviLast, BOOL ensureVisible = FALSE);
    // The rows, counts and selection follow the items that go.
    BOOL DeleteItem(STreeHandle item) override;
    void DeleteAllItems() { RemoveAllItems(); }
    void RemoveAllItems();

    BOOL Expand(STreeHandle item, int code);
    BOOL SetCheckState(STreeHandle item, BOOL checked);
    BOOL SelectItem(STreeHandle item, BOOL ensureVisible = TRUE);
    BOOL EnsureVisible(STreeHandle item);
    // The item under a window point, which becomes a point in the item's coordinates; 0 for none.
    STreeHandle HitTest(POINT& pt) const;
    // The row in window coordinates; only for items visible and in the view.
    BOOL GetItemRect(STreeHandle item, RECT* rect) const;
    // The item's position among the visible rows; -1 when it is not visible.
    int GetItemShowIndex(STreeHandle item) const;
    void RedrawItem(STreeHandle item);

    STreeHandle GetSelectedItem() const { return m_selection; }
    tagTVITEM* ItemOf(STreeHandle item) const;
    int VisibleCount() const { return m_visibleCount; }
    int MaxItemWidth() const { return m_maxItemWidth; }
    int ItemHeight() const { return m_itemHeight; }

    virtual void LoadBranch(STreeHandle parent, pugi::xml_node element);
    virtual void LoadItemAttributes(tagTVITEM* item, pugi::xml_node element);
    virtual void UpdateContentRects();
    virtual void CalcItemContentWidth(tagTVITEM* item);
    virtual int GetItemWidth(const tagTVITEM* item) const;
    virtual int GetBranchWidth(STreeHandle item) const;
    virtual void CalcMaxItemWidth();
    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, STreeHandle item);
    virtual void OnItemInserted(STreeHandle) {}

protected:
    void OnNodeFree(tagTVITEM*& item) override;

private:
    // Rows and geometry.
    STreeHandle NextVisibleItem(STreeHandle item) const;
    STreeHandle ItemAtShowIndex(int index) const;
    // The next item in pre-order inside the subtree of top (top itself excluded), skipping the
    // children of item unless intoChildren; 0 past the subtree.
    STreeHandle NextInSubtree(STreeHandle item, STreeHandle top, bool intoChildren) const;
    // Shows or hides the descendants of item after its collapsed flag changed.
    void UpdateChildrenVisibility(STreeHandle item);
    // The first row in the view, and the rows that the client height spans (rounded up).
    int TopRow() const { return ViewOrigin().y / m_itemHeight; }
    int RowsInClient() const;
    // The row rectangle of a show index, as painted.
    RECT RowRect(int index, const tagTVITEM* item) const;
    void UpdateView();
    // Content rectangles and widths again after the look changed.
    void RemeasureAll();
    BOOL SubtreeHasState(STreeHandle item, int state) const;
    void DrawPart(IRenderTarget* rt, ISkinObj* skin, const RECT& rect, int bits, int extra);

    // Mouse.
    int PartHitTest(const tagTVITEM* item, POINT pt) const;
    void SetHoverItem(STreeHandle item);
    void ModifyPartState(STreeHandle item, int part, int add, int remove);
    void PressPart(STreeHandle item, POINT pt);
    void ReleasePart(STreeHandle item);
    void OnPaint(IRenderTarget* rt);
    void OnMouseMove(POINT pt);
    void OnLeftButtonDown(WPARAM keys, POINT pt);
    void OnLeftButtonUp(WPARAM keys, POINT pt);
    void OnLeftButtonDblClk(POINT pt);
    void OnMouseLeave();
    void OnCaptureLost();

    STreeHandle m_selection;
    STreeHandle m_hoverItem;
    STreeHandle m_pushedItem;
    int m_visibleCount;
    int m_maxItemWidth;
    int m_partsShown;
    int m_contentStart;
    RECT m_toggleRect;
    RECT m_checkRect;
    RECT m_iconRect;
    int m_hoverPart;
    int m_pushedPart;
    int m_itemHeight;
    int m_indent;
    int m_itemMargin;
    int m_checkBox;
    int m_rightClickSel;
    SRefPtr<ISkinObj> m_itemBkgndSkin;
    SRefPtr<ISkinObj> m_itemSelSkin;
    SRefPtr<ISkinObj> m_iconSkin;
    SRefPtr<ISkinObj> m_toggleSkin;
    SRefPtr<ISkinObj> m_checkSkin;
    COLORREF m_colorItemBkgnd;
    COLORREF m_colorItemSelBkgnd;
    COLORREF m_colorItemText;
    COLORREF m_colorItemSelText;
    // Measures item texts with the window's font.
    SRefPtr<IRenderTarget> m_measure;
};

} // namespace SKEIN
