#pragma once
// The tree view ("treeview"): the items of a TreeItemAdapter as an indented tree that scrolls
// both ways. Only the items in display order that meet the viewport have item panels, recycled
// per view type; every shown item is measured, and the locator carries a changed size up
// through its ancestors.
#include <unordered_map>
#include <vector>
#include "control/SItemPanelHost.h"
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

// Passes the adapter's reports on to its view.
class STreeViewDataSetObserver : public TObjRefImpl<ITvDataSetObserver> {
public:
    explicit STreeViewDataSetObserver(STreeView* view) : m_view(view) {}
    void ForgetView() { m_view = nullptr; }
    void BranchChanged(STreeHandle item) override;
    void BranchInvalidated(STreeHandle item) override;
    void ExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded) override;

private:
    STreeView* m_view;
};

class STreeView : public SItemPanelHost {
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
    // Expands the ancestors, then scrolls the item into view both ways.
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
    using SItemPanelHost::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    int GetScrollLineSize(BOOL vertical) override;
    BOOL OnScroll(BOOL vertical, UINT code, int position) override;
    void ApplyScale(int scale) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    // --- item panel host ---
    bool HasAdapter() const override { return m_adapter != nullptr; }
    SItemPanel* SelectedPanel() const override { return ItemPanelOf(m_selection); }
    SItemPanel* PanelAtPoint(POINT pt, RECT* rect) override;
    void BroadcastToPanels(UINT msg, WPARAM wParam) override;
    BOOL OnNavigationKey(UINT vk) override;
    void OnPressOutsideItems() override;
    bool HoverTellsPoint() const override { return false; }

private:
    struct Shown {
        SItemPanel* panel; // holds one reference
        int type;
    };
    typedef std::unordered_map<STreeHandle, Shown> PanelMap;

    // Refresh and panels (STreeView.cpp).
    void LayoutVisibleItems();
    SItemPanel* TakePanel(STreeHandle item, int type);
    SItemPanel* NewPanel();
    void PlacePanel(SItemPanel* panel, STreeHandle item);
    void RetirePanel(const Shown& shown);
    void RetireAll(PanelMap& panels);
    void RetireItemsOutside(STreeHandle first, int top);
    int CheckedViewType(STreeHandle item);
    void ReleaseAllPanels();
    void UpdateScrollBar();
    void OnPaint(IRenderTarget* rt);
    bool OnItemClick(EventItemPanelClick* evt);
    bool OnItemDoubleClick(EventItemPanelDbclick* evt);
    static STreeHandle HandleOf(SItemPanel* panel) { return static_cast<STreeHandle>(panel->ItemData()); }
    int ClientWidth() const { return m_clientRect.right - m_clientRect.left; }
    int ClientHeight() const { return m_clientRect.bottom - m_clientRect.top; }

    // Input (STreeViewInput.cpp).
    void SelectByKey(STreeHandle item);

    SRefPtr<TreeItemAdapter> m_adapter;
    SRefPtr<STreeViewDataSetObserver> m_observer;
    SRefPtr<ITreeViewItemLocator> m_locator;
    std::vector<std::vector<SItemPanel*>> m_bins;
    std::vector<Shown> m_visible;
    PanelMap m_panels;
    PanelMap m_oldPanels;
    std::vector<STreeHandle> m_staying;
    pugi::xml_document m_itemTemplate;
    STreeHandle m_selection;
};

} // namespace SKEIN
