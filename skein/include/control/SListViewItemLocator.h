#pragma once
// The list views' item locators: one height for every item, or heights that become known as
// items are shown, summed in segments of 50 items under a tree of fan-out 10 so that position
// queries stay cheap for long lists.
#include "control/STree.h"
#include "core/SDynArray.h"
#include "interface/SItemLocator-i.h"
#include "layout/SLayoutSize.h"

namespace SKEIN {

class SListViewItemLocatorFix : public TObjRefImpl<IListViewItemLocator> {
public:
    SListViewItemLocatorFix(const SLayoutSize& itemHeight, const SLayoutSize& dividerSize);

    void AttachAdapter(ListItemAdapter* adapter) override { m_adapter = adapter; }
    void Rebuild() override {}
    BOOL HasFixedHeight() const override { return TRUE; }
    int ItemHeight(int index) const override;
    void SetItemHeight(int, int) override {}
    int TotalHeight() const override;
    int ItemTop(int index) const override;
    // A position at or past the end gives the item count.
    int ItemAt(int position) const override;
    int LineSize() const override { return ItemHeightPx() + DividerSize(); }
    int DividerSize() const override;
    void SetScale(int scale) override { m_scale = scale; }

private:
    int ItemHeightPx() const;
    int Count() const;
    bool InRange(int index) const { return index >= 0 && index < Count(); }

    SLayoutSize m_itemHeight;
    SLayoutSize m_dividerSize;
    int m_scale;
    SRefPtr<ListItemAdapter> m_adapter;
};

class SListViewItemLocatorFlex : public TObjRefImpl<IListViewItemLocator> {
public:
    enum { kSegmentItems = 50, kFanOut = 10 };

    SListViewItemLocatorFlex(const SLayoutSize& defaultHeight, const SLayoutSize& dividerSize);
    ~SListViewItemLocatorFlex() override;

    void AttachAdapter(ListItemAdapter* adapter) override;
    // Forgets every measured height.
    void Rebuild() override;
    BOOL HasFixedHeight() const override { return FALSE; }
    int ItemHeight(int index) const override;
    void SetItemHeight(int index, int height) override;
    int TotalHeight() const override;
    int ItemTop(int index) const override;
    // A position on the boundary of two items belongs to the upper one.
    int ItemAt(int position) const override;
    int LineSize() const override;
    int DividerSize() const override;
    // Forgets every measured height.
    void SetScale(int scale) override;

    // The depth of the branch tree above the segments for count items.
    static int TreeDepth(int count);
    int SegmentCount() const { return m_segments.Count(); }

private:
    struct BranchInfo {
        int total; // line sizes of every item below
        int count; // items below
    };
    // Items 50k .. 50k + count - 1; a stored line size is height plus divider, -1 unmeasured.
    struct Segment {
        STreeHandle leaf;
        int count;
        int lineSizes[kSegmentItems];
    };

    void Build(STreeHandle parent, int count, long long branchSize);
    void FreeSegments();
    int StoredLineSize(int index) const;
    // Totals of the preceding siblings of the node and of each of its ancestors.
    int OffsetOf(STreeHandle node) const;
    int CountBefore(STreeHandle node) const;
    int Count() const;
    bool InRange(int index) const { return index >= 0 && index < Count(); }

    SLayoutSize m_defaultHeight;
    SLayoutSize m_dividerSize;
    int m_scale;
    CSTree<BranchInfo> m_branches;
    SDynArray<Segment*> m_segments;
    SRefPtr<ListItemAdapter> m_adapter;
};

} // namespace SKEIN
