#pragma once
// The list view ("listview"): a vertically scrolling list whose items are window trees built
// from one XML item template and filled by a ListItemAdapter. Only items that meet the
// viewport have an item panel; panels of items that leave it wait in one recycle bin per view
// type for items that enter it. A locator maps scroll positions to items.
#include <vector>
#include "control/SAdapterView.h"
#include "interface/SAdapter-i.h"
#include "interface/SItemLocator-i.h"

namespace SKEIN {

class SListView;

class EventLVSelChanging : public EventArgs {
    SKEIN_EVENT_CLASS(15100, L"on_listview_select_changing")
    explicit EventLVSelChanging(IObject* sender) : EventArgs(sender), oldSel(-1), newSel(-1), cancel(FALSE) {}
    int oldSel;
    int newSel;
    BOOL cancel; // a handler sets it to keep the old selection
};

class EventLVSelChanged : public EventArgs {
    SKEIN_EVENT_CLASS(15101, L"on_listview_select_changed")
    explicit EventLVSelChanged(IObject* sender) : EventArgs(sender), oldSel(-1), newSel(-1) {}
    int oldSel;
    int newSel;
};

class SListViewDataSetObserver : public TViewDataSetObserver<ILvDataSetObserver, SListView> {
public:
    using TViewDataSetObserver::TViewDataSetObserver;
    void DataChanged() override;
    void DataInvalidated() override;
    void ItemDataChanged(int index) override;
};

class SListView : public SAdapterView {
    SKEIN_CLASS_NAME(SPanel, L"listview")

public:
    SListView();
    ~SListView() override;

    // Takes the adapter (counted), registers the view's observer with it, gives it to the
    // locator, makes one recycle bin per view type and refreshes; null detaches.
    void SetAdapter(ListItemAdapter* adapter);
    ListItemAdapter* GetAdapter() const { return m_adapter; }
    // Keeps the locator (counted), gives it the adapter and the scale, then refreshes.
    void SetLocator(IListViewItemLocator* locator);
    IListViewItemLocator* GetLocator() const { return m_locator; }
    // An index past the last item changes nothing; a negative one clears the selection.
    void SetSelection(int index, BOOL notify);
    int GetSelection() const { return m_selection; }
    virtual void EnsureVisible(int index);
    // The panel of a visible item; null otherwise.
    SItemPanel* ItemPanelOf(int index) const;
    // Brings the visible items' panels up to date with the adapter and the scroll position.
    virtual void RefreshVisibleItems();

    // Reactions to the observer.
    virtual void OnDataChanged();
    void OnDataInvalidated();
    void OnItemChanged(int index);

    // --- IItemContainer ---
    BOOL ItemRect(SItemPanel* panel, RECT* rect) override;

    // --- window ---
    using SAdapterView::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    int GetScrollLineSize(BOOL vertical) override;
    BOOL OnScroll(BOOL vertical, UINT code, int position) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // What the views built on this one change.
    // The locator for the item template.
    virtual IListViewItemLocator* NewLocator(pugi::xml_node itemTemplate);
    // The width of every item panel.
    virtual int ItemWidth() const { return ClientWidth(); }
    // The bottom of the rectangle offered to the adapter's ItemDesiredSize.
    virtual int OfferedItemBottom() const { return 0; }
    // The content position below the item index that starts at top, where the next item goes.
    virtual int NextItemTop(int index, int top) const;
    // Whether selections made by keys raise the selection events.
    virtual BOOL KeySelectionNotifies() const { return FALSE; }
    // Arrow keys; TRUE when handled.
    virtual BOOL OnArrowKey(UINT vk);
    virtual void UpdateScrollBar();
    // Scrolls to the position given for the item until measuring no longer moves it.
    void AimAt(int index, int arg, int (SListView::*position)(int, int) const);
    // The scroll position nearest the current one that shows the item.
    int PositionShowing(int index, int) const;
    // The scroll position with the item's top offset pixels above the view's top.
    int PositionWithTopAt(int index, int offset) const;
    SItemPanel* TakePanel(int index, int type, int oldFirst, std::vector<VisibleItem>& previous);
    int ClientWidth() const { return m_clientRect.right - m_clientRect.left; }
    int Page() const { return static_cast<int>(m_vertInfo.nPage); }

    // --- adapter view (SListView.cpp) ---
    void BindPanel(SItemPanel* panel) override;
    void MeasurePanel(SItemPanel* panel) override;
    void OnItemClicked(SItemPanel* panel) override;
    void UnregisterObserver() override;
    void ForgetShownItems() override { m_firstVisible = -1; }
    void ItemPainted(IRenderTarget* rt, const RECT& item) override;
    void OnPaint(IRenderTarget* rt) override;
    void OnSize() override;
    void OnScaleChanged(int scale) override;
    void LayoutVisibleItems();
    void RetireItemsOutside(std::vector<VisibleItem>& previous, int oldFirst, int newFirst, int end);
    void OnShow();

    // --- item panel host (SListViewInput.cpp) ---
    bool HasAdapter() const override { return m_adapter != nullptr; }
    SItemPanel* SelectedPanel() const override { return ItemPanelOf(m_selection); }
    BOOL OnNavigationKey(UINT vk) override;
    void OnPageKey(UINT vk);

    // Released in reverse order: the observer, the locator, then the adapter.
    SRefPtr<ListItemAdapter> m_adapter;
    SRefPtr<IListViewItemLocator> m_locator;
    SRefPtr<SListViewDataSetObserver> m_observer;
    BOOL m_pendingRefresh;
    int m_pendingItem;
    int m_firstVisible;
    std::vector<VisibleItem> m_refreshScratch;
    int m_selection;
    BOOL m_refreshOnPaint;
    SRefPtr<ISkinObj> m_dividerSkin;
    SLayoutSize m_dividerSize;
};

} // namespace SKEIN
