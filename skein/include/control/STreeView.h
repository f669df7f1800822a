#pragma once
// The tree view ("treeview"): the items of a TreeItemAdapter as an indented tree that scrolls
// both ways. Only the items in display order that meet the viewport have item panels, recycled
// per view type; every shown item is measured, and the locator carries a changed size up
// through its ancestors.
#include <unordered_map>
#include <vector>
#include "control/SAdapterView.h"
#include "control/STreeViewItemLocator.h"

namespace SKEIN {

class STreeView;

class EventTVSelChanging : public EventArgs {
    SKEIN_EVENT_CLASS(14000, L"on_treeview_select_changing")
    explicit EventTVSelChanging(IObject* sender) : EventArgs(sender), oldSel(0), newSel(0), cancel(FALSE) {}
    STreeHandle oldSel;
    STreeHandle newSel;
    BOOL cancel; // a handler sets it to keep the old selection
};

class EventTVSelChanged : public EventArgs {
    SKEIN_EVENT_CLASS(14001, L"on_treeview_select_changed")
    explicit EventTVSelChanged(IObject* sender) : EventArgs(sender), oldSel(0), newSel(0) {}
    STreeHandle oldSel;
    STreeHandle newSel;
};

class STreeViewDataSetObserver : public TViewDataSetObserver<ITvDataSetObserver, STreeView> {
public:
    using TViewDataSetObserver::TViewDataSetObserver;
    void BranchChanged(STreeHandle item) override;
    void BranchInvalidated(STreeHandle item) override;
    void ExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded) override;
};

class STreeView : public SAdapterView {
    SKEIN_CLASS_NAME(SPanel, L"treeview")

public:
    enum { kDefaultIndent = 10 };

    STreeView();
    ~STreeView() override;

    // Takes the adapter (counted), registers the observer, measures the whole tree and
    // refreshes; null detaches.
    void SetAdapter(TreeItemAdapter* adapter);
    TreeItemAdapter* GetAdapter() const { return m_adapter; }
    ITreeViewItemLocator* GetLocator() const { return m_locator; }
    void SetSelection(STreeHandle item, BOOL notify);
    STreeHandle GetSelection() const { return m_selection; }
    // Expands the ancestors, then scrolls the whole item into view both ways (its top and left
    // first when it is larger than the page).
    void EnsureVisible(STreeHandle item);
    // The panel of a shown item; null otherwise.
    SItemPanel* ItemPanelOf(STreeHandle item) const;
    void RefreshVisibleItems();

    // Reactions to the observer.
    void OnBranchChanged(STreeHandle item);
    void OnExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded);

    // --- IItemContainer ---
    BOOL ItemRect(SItemPanel* panel, RECT* rect) override;

    // --- window ---
    using SAdapterView::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    int GetScrollLineSize(BOOL vertical) override;
    BOOL OnScroll(BOOL vertical, UINT code, int position) override;

protected:
    // --- adapter view ---
    SItemPanel* NewPanel() override;
    void BindPanel(SItemPanel* panel) override;
    void MeasurePanel(SItemPanel* panel) override;
    void OnItemClicked(SItemPanel* panel) override;
    void UnregisterObserver() override;
    void ForgetShownItems() override;
    void OnSize() override;

    // --- item panel host ---
    bool HasAdapter() const override { return m_adapter != nullptr; }
    SItemPanel* SelectedPanel() const override { return ItemPanelOf(m_selection); }
    BOOL OnNavigationKey(UINT vk) override;
    void OnPressOutsideItems() override;
    bool HoverTellsPoint() const override { return false; }

private:
    typedef std::unordered_map<STreeHandle, VisibleItem> PanelMap;

    // Refresh and panels (STreeView.cpp).
    void LayoutVisibleItems();
    SItemPanel* TakePanel(STreeHandle item, int type);
    void RetireAll(PanelMap& panels);
    void RetireItemsOutside(STreeHandle first, int top);
    void UpdateScrollBar();
    // Scrolls one way, as little as needed from the position from, so that start .. start +
    // extent lies in the page, or at least its start does.
    void ScrollToShow(BOOL vertical, int from, int start, int extent);
    bool OnItemDoubleClick(EventItemPanelDbclick* evt);
    void RaiseSelChanged(STreeHandle oldSel, STreeHandle newSel);
    // Scrolls until the item's top lies offset pixels above the view's top.
    void KeepTopAt(STreeHandle item, int offset);
    // Whether the item is anywhere in the adapter's tree.
    bool TreeHolds(STreeHandle target) const;
    // Whether ancestor is a parent, grandparent ... of item.
    bool IsAncestor(STreeHandle ancestor, STreeHandle item) const;
    static STreeHandle HandleOf(SItemPanel* panel) { return static_cast<STreeHandle>(panel->ItemData()); }
    int ClientWidth() const { return m_clientRect.right - m_clientRect.left; }
    int ClientHeight() const { return m_clientRect.bottom - m_clientRect.top; }

    // Input (STreeViewInput.cpp).
    void SelectByKey(STreeHandle item);

    // Released in reverse order: the observer, the locator, then the adapter.
    SRefPtr<TreeItemAdapter> m_adapter;
    SRefPtr<ITreeViewItemLocator> m_locator;
    SRefPtr<STreeViewDataSetObserver> m_observer;
    // The shown items' panels by item; the visible list holds their references (the old map,
    // while a refresh runs).
    PanelMap m_panels;
    PanelMap m_oldPanels;
    std::vector<STreeHandle> m_staying;
    STreeHandle m_selection;
    // How far the first shown item starts above the view's top, as the last refresh placed it.
    int m_topOffset;
};

} // namespace SKEIN
