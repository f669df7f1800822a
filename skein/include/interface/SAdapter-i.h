#pragma once
// What the adapter-driven views call on the embedding code's data: list, column and tree
// adapters, and the observers through which an adapter reports that its data changed. The
// framework ships no adapter. Operations no view calls keep their place in each interface;
// their meaning is given beside them.
#include <pugixml.hpp>
#include "control/STree.h"
#include "core/SObjRef.h"
#include "core/SString.h"

namespace SKEIN {

class SWindow;

// Item states passed to ListItemAdapter::ItemViewType.
enum { kItemStateHover = 0x01, kItemStateSelected = 0x04 };

// The observer of the list, multi-column and tile views.
struct ILvDataSetObserver : IObjRef {
    // The items changed: a full refresh.
    virtual void DataChanged() = 0;
    // The items are no longer valid: the next paint refreshes them.
    virtual void DataInvalidated() = 0;
    virtual void ItemDataChanged(int index) = 0;
    virtual ~ILvDataSetObserver() {}
};

// The observer of the tree view.
struct ITvDataSetObserver : IObjRef {
    virtual void BranchChanged(STreeHandle item) = 0;
    virtual void BranchInvalidated(STreeHandle item) = 0;
    virtual void ExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded) = 0;
    virtual ~ITvDataSetObserver() {}
};

// Items 0 .. ItemCount() - 1 of the list and tile views.
struct ListItemAdapter : IObjRef {
    // The view's observer is told about every change from now on (called when a view takes
    // the adapter).
    virtual void RegisterObserver(ILvDataSetObserver* observer) = 0;
    virtual void UnregisterObserver(ILvDataSetObserver* observer) = 0;
    virtual int ItemCount() = 0;
    // Fills the item's window tree; itemWindow is null for a re-bind of an item without a panel.
    virtual void BindItemView(int index, SWindow* itemWindow, pugi::xml_node templateNode) = 0;
    // 0 .. ViewTypeCount() - 1; state has kItemStateHover and kItemStateSelected.
    virtual int ItemViewType(int index, DWORD state) = 0;
    // The number of view types: one recycle bin each (asked when a view takes the adapter).
    virtual int ViewTypeCount() = 0;
    // Only cy is used, as the item height; rect is the proposed item rectangle.
    virtual SIZE ItemDesiredSize(int index, SWindow* itemWindow, const RECT& rect) = 0;
    // Not called by the views: whether there are no items.
    virtual BOOL IsEmpty() { return ItemCount() == 0; }
    // Not called by the views: the embedding code's value of an item.
    virtual ULONG_PTR ItemData(int index) { return 0; }
    // The text that stands for the item (the combo view shows it).
    virtual SStringW ItemDescription(int index) = 0;
    // Not called by the views: a place for the adapter to read settings of its own from the
    // view's item template.
    virtual void InitFromTemplate(pugi::xml_node templateNode) {}
};

// The multi-column list view's adapter.
struct ColumnListAdapter : ListItemAdapter {
    // The name of the child window of an item that shows the column.
    virtual SStringW ColumnName(int column) = 0;
    virtual BOOL IsColumnVisible(int column) = 0;
    // A header item was clicked; flags holds columnCount sort flags by column number, which the
    // adapter may change. TRUE when it re-sorted.
    virtual BOOL SortColumns(int column, UINT* flags, int columnCount) = 0;
};

// Layout value keys of a tree item.
enum {
    kTreeValueHeight = 0,
    kTreeValueWidth = 1,
    kTreeValueBranchHeight = 2,
    kTreeValueBranchWidth = 3,
    kTreeValueOffset = 5,
};

// Items of the tree view by handle; 0 is no item, kTviRoot the invisible root whose children
// are the top-level items.
struct TreeItemAdapter : IObjRef {
    virtual void RegisterObserver(ITvDataSetObserver* observer) = 0;
    virtual void UnregisterObserver(ITvDataSetObserver* observer) = 0;
    // Six integers per item (the root included) kept for the tree locator, never interpreted.
    virtual int LayoutValue(STreeHandle item, int key) = 0;
    virtual void SetLayoutValue(STreeHandle item, int key, int value) = 0;
    virtual STreeHandle ParentItem(STreeHandle item) = 0;
    virtual STreeHandle FirstChild(STreeHandle item) = 0;
    virtual STreeHandle LastChild(STreeHandle item) = 0;
    virtual STreeHandle PreviousSibling(STreeHandle item) = 0;
    virtual STreeHandle NextSibling(STreeHandle item) = 0;
    virtual BOOL HasChildren(STreeHandle item) = 0;
    // Every ancestor is expanded.
    virtual BOOL IsItemVisible(STreeHandle item) = 0;
    // Display order skips collapsed branches.
    virtual STreeHandle FirstVisibleItem() = 0;
    // Not called by the views: the last item in display order.
    virtual STreeHandle LastVisibleItem() = 0;
    virtual STreeHandle PreviousVisibleItem(STreeHandle item) = 0;
    virtual STreeHandle NextVisibleItem(STreeHandle item) = 0;
    // code 1 collapse, 2 expand, 3 toggle; the change is reported through ExpansionChanged.
    virtual void ExpandItem(STreeHandle item, UINT code) = 0;
    virtual BOOL IsExpanded(STreeHandle item) = 0;
    // Not called by the views: sets the expansion without telling the observers.
    virtual void SetExpandedState(STreeHandle item, BOOL expanded) = 0;
    virtual void BindItemView(STreeHandle item, SWindow* itemWindow, pugi::xml_node templateNode) = 0;
    virtual int ItemViewType(STreeHandle item) = 0;
    // The number of view types.
    virtual int ViewTypeCount() = 0;
    // Item width and height; rect is (indent, 0, view width, 10000).
    virtual SIZE ItemDesiredSize(STreeHandle item, SWindow* itemWindow, const RECT& rect) = 0;
    // TRUE: the view never shows a horizontal scroll bar.
    virtual BOOL KeepsViewWidth() = 0;
};

} // namespace SKEIN
