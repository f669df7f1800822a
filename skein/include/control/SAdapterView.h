#pragma once
// The core of the adapter-driven views (list, multi-column, tile and tree): the item panels of
// the shown items in display order, one recycle bin of hidden panels per view type, and the
// item template every panel is built from. A panel is shown, in a bin, or (during a refresh)
// held by the view that is placing items; it keeps its window tree for its whole life.
#include <vector>
#include "control/SItemPanelHost.h"
#include "interface/SAdapter-i.h"

namespace SKEIN {

// An observer that passes an adapter's reports on to its view: it holds its count and a plain
// pointer to the view, nothing else.
template <class Interface, class View>
class TViewDataSetObserver : public TObjRefImpl<Interface> {
public:
    explicit TViewDataSetObserver(View* view) : m_view(view) {}
    // Reports that come after this reach no view: an adapter may keep the observer longer.
    void ForgetView() { m_view = nullptr; }

protected:
    View* m_view;
};

class SAdapterView : public SItemPanelHost {
public:
    SAdapterView();

    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    struct VisibleItem {
        SItemPanel* panel; // holds one reference
        int type;
    };

    // What each view supplies.
    // Fills the shown panel's tree for its item.
    virtual void BindPanel(SItemPanel* panel) = 0;
    // Sizes the bound panel and tells the locator.
    virtual void MeasurePanel(SItemPanel* panel) = 0;
    // Called on each placed panel after its layout, under the update guard.
    virtual void ItemLaidOut(SItemPanel*) {}
    virtual void OnItemClicked(SItemPanel* panel) = 0;
    // The view's observer leaves the adapter.
    virtual void UnregisterObserver() = 0;
    // Every panel was released: which items had panels is forgotten.
    virtual void ForgetShownItems() = 0;
    // The part of the client area that shows items.
    virtual RECT ItemsArea() const { return m_clientRect; }
    // Drawn after each shown item, in its rectangle.
    virtual void ItemPainted(IRenderTarget*, const RECT&) {}
    virtual void OnPaint(IRenderTarget* rt);
    virtual void OnSize() = 0;

    // Copies the view's "template" child as the item template; the child, or null without one.
    pugi::xml_node CopyItemTemplate(pugi::xml_node viewNode);
    pugi::xml_node ItemTemplate() const { return m_itemTemplate.first_child(); }
    // One empty bin per view type; the panels of the old bins are released.
    void ResetBins(int count);
    // The adapter's type when it names a bin; otherwise it is logged with the item and 0 is used.
    int CheckedViewType(int type, LONG_PTR item) const;
    // The first panel of the type's bin, else a new one; null when none can be made.
    SItemPanel* PanelFromBin(int type);
    // A panel of the view built from the item template, its clicks going to OnItemClicked.
    virtual SItemPanel* NewPanel();
    // Under the update guard, so that the many repaints asked for become one of the whole item:
    // shows the panel with exactly the item states given, binds, tints, measures and lays it
    // out. A panel given the hover state becomes the hovered panel.
    void PlacePanel(SItemPanel* panel, DWORD state);
    // Told the mouse left if it was hovered, hidden without the selected state and its focus,
    // and put at the end of the bin of its type.
    void RetirePanel(const VisibleItem& item);
    void ReleaseAllPanels();
    // Both scroll bars for content of the given size shown below a band of the frame's top;
    // keepWidth never shows the horizontal bar.
    void ScrollBothWays(int contentWidth, int contentHeight, int topBand, bool keepWidth);
    // The selected state leaves one item's panel (with its focus) and goes to another's; either
    // may be null.
    void MoveSelectedState(SItemPanel* from, SItemPanel* to);

    // --- item panel host ---
    SItemPanel* PanelAtPoint(POINT pt, RECT* rect) override;
    void BroadcastToPanels(UINT msg, WPARAM wParam) override;

    std::vector<VisibleItem> m_visible; // in display order
    std::vector<std::vector<SItemPanel*>> m_bins;

private:
    bool OnPanelClick(EventItemPanelClick* evt);

    pugi::xml_document m_itemTemplate;
};

} // namespace SKEIN
