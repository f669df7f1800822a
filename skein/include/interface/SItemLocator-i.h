#pragma once
// The list views' map between item indices and vertical pixel positions of the content.
#include "core/SObjRef.h"
#include "interface/SAdapter-i.h"

namespace SKEIN {

struct IListViewItemLocator : IObjRef {
    // Keeps a counted reference to the view's adapter.
    virtual void AttachAdapter(ListItemAdapter* adapter) = 0;
    // Reads the item count again.
    virtual void Rebuild() = 0;
    virtual BOOL HasFixedHeight() const = 0;
    // Pixels, without the divider; 0 for an index outside the items.
    virtual int ItemHeight(int index) const = 0;
    // Records a measured height (pixels, without the divider).
    virtual void SetItemHeight(int index, int height) = 0;
    // All items and the dividers between them.
    virtual int TotalHeight() const = 0;
    // The item's top in the content; 0 for an index outside the items.
    virtual int ItemTop(int index) const = 0;
    // The item at a content position, or -1.
    virtual int ItemAt(int position) const = 0;
    // The default item height plus the divider: the views' scroll line.
    virtual int LineSize() const = 0;
    virtual int DividerSize() const = 0;
    // Percent; the layout sizes become pixels at it.
    virtual void SetScale(int scale) = 0;
    virtual ~IListViewItemLocator() {}
};

} // namespace SKEIN
