// The tile and tree locators without a window: tile columns, rows and neighbours, and the tree
// locator's branch sums, restacking, positions and widths over a test adapter.
#include <gtest/gtest.h>
#include "adapter_test_env.h"
#include "control/STileView.h"
#include "control/STreeViewItemLocator.h"
#include "treeview_test_adapter.h"

namespace {

using namespace SKEIN;
using adaptertest::RecordingListAdapter;
using treetest::TestTreeAdapter;

SRefPtr<STileViewItemLocator> Tiles(float width, float height, float margin, ListItemAdapter* adapter)
{
    SRefPtr<STileViewItemLocator> tiles(
        new STileViewItemLocator(SLayoutSize(width, SLayoutSize::kPx), SLayoutSize(height, SLayoutSize::kPx),
                                 SLayoutSize(margin, SLayoutSize::kPx)),
        false);
    tiles->AttachAdapter(adapter);
    return tiles;
}

TEST(TileLocatorTest, ColumnsRowsAndNeighbours)
{
    SRefPtr<RecordingListAdapter> adapter(new RecordingListAdapter(7), false);
    SRefPtr<STileViewItemLocator> tiles = Tiles(100, 50, 10, adapter);
    tiles->SetViewWidth(330);
    EXPECT_EQ(3, tiles->Columns());
    EXPECT_EQ(190, tiles->TotalHeight());
    EXPECT_EQ(60, tiles->RowHeight());
    const struct {
        int index;
        int below;
        int above;
        bool lastInRow;
        RECT tile;
    } kCases[] = {
        {0, 3, 0, false, {10, 10, 110, 60}}, {1, 4, 1, false, {120, 10, 220, 60}},
        {2, 5, 2, true, {230, 10, 330, 60}}, {4, 6, 1, false, {120, 70, 220, 120}},
        {5, 6, 2, true, {230, 70, 330, 120}}, {6, 6, 3, false, {10, 130, 110, 180}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(c.below, tiles->ItemBelow(c.index)) << c.index;
        EXPECT_EQ(c.above, tiles->ItemAbove(c.index)) << c.index;
        EXPECT_EQ(c.lastInRow, tiles->IsLastInRow(c.index) != FALSE) << c.index;
        RECT tile = tiles->TileRect(c.index);
        EXPECT_TRUE(::EqualRect(&c.tile, &tile)) << c.index;
    }
    // The first tile of the row at a position, at most the item count.
    const int kPositions[][2] = {{0, 0}, {59, 0}, {60, 3}, {125, 6}, {1000, 7}, {-5, 0}};
    for (const auto& p : kPositions)
        EXPECT_EQ(p[1], tiles->ItemAt(p[0])) << p[0];

    tiles->SetViewWidth(100);
    EXPECT_EQ(1, tiles->Columns());
    EXPECT_EQ(10 + 7 * 60, tiles->TotalHeight());
    adapter->count = 0;
    EXPECT_EQ(0, tiles->TotalHeight());
    tiles->AttachAdapter(nullptr);
    EXPECT_EQ(-1, tiles->ItemAt(0));
}

TEST(TileLocatorTest, ZeroSizesNeverDivideByZero)
{
    SRefPtr<RecordingListAdapter> adapter(new RecordingListAdapter(5), false);
    SRefPtr<STileViewItemLocator> tiles = Tiles(0, 0, 0, adapter);
    tiles->SetViewWidth(40);
    EXPECT_EQ(40, tiles->Columns());
    // All five tiles share the first row, of height 0.
    EXPECT_EQ(5, tiles->ItemAt(100));
    EXPECT_EQ(0, tiles->TotalHeight());
    EXPECT_EQ(1, tiles->ItemBelow(1));
}

// P (expanded) holds Q (collapsed, three children) and R; S follows P at the top level. Every
// item is 20 high.
struct SmallTree {
    SRefPtr<TestTreeAdapter> adapter{new TestTreeAdapter, false};
    SRefPtr<STreeViewItemLocator> locator{new STreeViewItemLocator(10), false};
    STreeHandle p, q, q1, q2, q3, r, s;

    SmallTree()
    {
        p = adapter->Add(kTviRoot);
        q = adapter->Add(p, false);
        q1 = adapter->Add(q);
        q2 = adapter->Add(q);
        q3 = adapter->Add(q);
        r = adapter->Add(p);
        s = adapter->Add(kTviRoot);
        locator->AttachAdapter(adapter);
        locator->MeasureBranch(kTviRoot);
        for (STreeHandle item : {p, q, q1, q2, q3, r, s})
            locator->SetItemHeight(item, 20);
    }
    void Expand(STreeHandle item)
    {
        adapter->SetExpandedState(item, TRUE);
        locator->ExpansionChanged(item, FALSE, TRUE);
    }
};

TEST(TreeLocatorTest, ExpandingABranchMovesEverythingBelowIt)
{
    SmallTree tree;
    STreeViewItemLocator* locator = tree.locator;
    EXPECT_EQ(80, locator->TotalHeight());
    EXPECT_EQ(-1, locator->ItemTop(tree.q1));
    EXPECT_EQ(40, locator->ItemTop(tree.r));
    EXPECT_EQ(60, locator->ItemTop(tree.s));

    tree.Expand(tree.q);
    EXPECT_EQ(140, locator->TotalHeight());
    EXPECT_EQ(100, tree.adapter->LayoutValue(tree.p, kTreeValueBranchHeight));
    const struct {
        STreeHandle item;
        int top;
        int indent;
    } kItems[] = {{tree.p, 0, 0},    {tree.q, 20, 10},   {tree.q1, 40, 20}, {tree.q3, 80, 20},
                  {tree.r, 100, 10}, {tree.s, 120, 0}};
    for (const auto& c : kItems) {
        EXPECT_EQ(c.top, locator->ItemTop(c.item)) << c.item;
        EXPECT_EQ(c.indent, locator->ItemIndent(c.item)) << c.item;
        EXPECT_EQ(c.item, locator->ItemAt(c.top)) << c.item;
        EXPECT_EQ(c.item, locator->ItemAt(c.top + 19)) << c.item;
    }
    EXPECT_EQ(0u, locator->ItemAt(140));

    // Collapsing takes the 60 back.
    tree.adapter->SetExpandedState(tree.q, FALSE);
    locator->ExpansionChanged(tree.q, TRUE, FALSE);
    EXPECT_EQ(80, locator->TotalHeight());
    EXPECT_EQ(60, locator->ItemTop(tree.s));
}

TEST(TreeLocatorTest, MeasuringUnderACollapsedBranchLeavesTheTotalsAlone)
{
    SmallTree tree;
    tree.locator->MeasureBranch(tree.q1); // back to the default 50
    EXPECT_EQ(50, tree.locator->ItemHeight(tree.q1));
    EXPECT_EQ(80, tree.locator->TotalHeight());
    tree.Expand(tree.q);
    EXPECT_EQ(80 + 90, tree.locator->TotalHeight());
    EXPECT_EQ(90, tree.locator->ItemTop(tree.q2));
}

TEST(TreeLocatorTest, PositionsWalkFromTheNearerEnd)
{
    SRefPtr<TestTreeAdapter> adapter(new TestTreeAdapter, false);
    SRefPtr<STreeViewItemLocator> locator(new STreeViewItemLocator(10), false);
    STreeHandle items[10];
    for (STreeHandle& item : items)
        item = adapter->Add(kTviRoot);
    locator->AttachAdapter(adapter);
    locator->MeasureBranch(kTviRoot);
    EXPECT_EQ(500, locator->TotalHeight());

    adapter->firstChildWalks = adapter->lastChildWalks = 0;
    EXPECT_EQ(items[2], locator->ItemAt(120));
    EXPECT_EQ(1, adapter->firstChildWalks);
    EXPECT_EQ(0, adapter->lastChildWalks);
    EXPECT_EQ(items[8], locator->ItemAt(440));
    EXPECT_EQ(1, adapter->lastChildWalks);
    EXPECT_EQ(1, adapter->firstChildWalks);
    EXPECT_EQ(0u, locator->ItemAt(500));
}

TEST(TreeLocatorTest, BranchWidthFollowsTheWidestItem)
{
    SmallTree tree;
    STreeViewItemLocator* locator = tree.locator;
    EXPECT_EQ(20, locator->TotalWidth());
    locator->SetItemWidth(tree.s, 100);
    EXPECT_EQ(100, locator->ItemWidth(tree.s));
    EXPECT_EQ(100, locator->TotalWidth());
    // Narrowing the item that set the width finds the next widest.
    locator->SetItemWidth(tree.s, 30);
    EXPECT_EQ(30, locator->TotalWidth());
    locator->SetItemWidth(tree.s, 5);
    EXPECT_EQ(20, locator->TotalWidth());
}

} // namespace
