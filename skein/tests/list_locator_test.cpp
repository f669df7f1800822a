// The list views' item locators without a window: the fixed locator's arithmetic, the
// flexible locator's branch tree (depth, segments), measured heights and the queries checked
// against plain prefix sums, and the refusal of indices outside the items.
#include <gtest/gtest.h>
#include <vector>
#include "adapter_test_env.h"
#include "control/SListViewItemLocator.h"

namespace {

using namespace SKEIN;
using adaptertest::RecordingListAdapter;


struct Locators {
    SRefPtr<RecordingListAdapter> adapter;
    SRefPtr<IListViewItemLocator> fixed;
    SRefPtr<SListViewItemLocatorFlex> flex;

    Locators(int count, float height, float divider, int unit = SLayoutSize::kPx)
        : adapter(new RecordingListAdapter(count), false),
          fixed(new SListViewItemLocatorFix(SLayoutSize(height, unit), SLayoutSize(divider, unit)), false),
          flex(new SListViewItemLocatorFlex(SLayoutSize(height, unit), SLayoutSize(divider, unit)), false)
    {
        fixed->AttachAdapter(adapter);
        flex->AttachAdapter(adapter);
    }
};

TEST(ListLocatorTest, FixedLocatorArithmetic)
{
    Locators locators(10, 20, 1);
    IListViewItemLocator* fixed = locators.fixed;
    EXPECT_EQ(209, fixed->TotalHeight());
    EXPECT_EQ(21, fixed->LineSize());
    EXPECT_EQ(63, fixed->ItemTop(3));
    EXPECT_EQ(20, fixed->ItemHeight(9));
    // Positions: integer division, a boundary going to the lower item, clamped to 0 .. count.
    const struct {
        int position;
        int item;
    } kCases[] = {{0, 0}, {20, 0}, {21, 1}, {63, 3}, {208, 9}, {5000, 10}, {-30, 0}};
    for (const auto& c : kCases)
        EXPECT_EQ(c.item, fixed->ItemAt(c.position)) << c.position;
    // Indices outside the items are refused.
    for (int index : {-1, 10, 1000}) {
        EXPECT_EQ(0, fixed->ItemTop(index)) << index;
        EXPECT_EQ(0, fixed->ItemHeight(index)) << index;
    }

    locators.adapter->count = 0;
    EXPECT_EQ(0, fixed->TotalHeight());
    fixed->AttachAdapter(nullptr);
    EXPECT_EQ(-1, fixed->ItemAt(0));
}

TEST(ListLocatorTest, FixedLocatorSizesFollowTheScale)
{
    SRefPtr<RecordingListAdapter> adapter(new RecordingListAdapter(4), false);
    SRefPtr<IListViewItemLocator> fixed(
        new SListViewItemLocatorFix(SLayoutSize(20, SLayoutSize::kDp), SLayoutSize(2, SLayoutSize::kDp)), false);
    fixed->AttachAdapter(adapter);
    fixed->SetScale(150);
    EXPECT_EQ(33, fixed->LineSize());
    EXPECT_EQ(4 * 33 - 3, fixed->TotalHeight());
}

TEST(ListLocatorTest, FlexibleTreeDepthAndSegmentsByItemCount)
{
    const struct {
        int count;
        int depth;
        int segments;
    } kCases[] = {{0, 0, 1}, {1, 0, 1}, {50, 0, 1}, {51, 1, 2}, {500, 1, 10}, {501, 2, 11},
                  {5000, 2, 100}, {5001, 3, 101}, {100000, 4, 2000}};
    for (const auto& c : kCases) {
        EXPECT_EQ(c.depth, SListViewItemLocatorFlex::TreeDepth(c.count)) << c.count;
        Locators locators(c.count, 30, 2);
        EXPECT_EQ(c.segments, locators.flex->SegmentCount()) << c.count;
        EXPECT_EQ(c.count ? c.count * 32 - 2 : 0, locators.flex->TotalHeight()) << c.count;
    }
}

TEST(ListLocatorTest, FlexibleQueriesMatchPrefixSumsOfMeasuredHeights)
{
    const int count = 1234;
    const int divider = 2;
    Locators locators(count, 30, divider);
    SListViewItemLocatorFlex* flex = locators.flex;
    std::vector<int> heights(count, 30);
    // Some measured items scattered over several branches, one of them measured twice.
    for (int i = 0; i < count; i += 7) {
        heights[i] = 5 + (i * 37) % 60;
        flex->SetItemHeight(i, heights[i]);
    }
    heights[700] = 1;
    flex->SetItemHeight(700, 1);

    std::vector<int> tops(count + 1, 0);
    for (int i = 0; i < count; ++i)
        tops[i + 1] = tops[i] + heights[i] + divider;
    EXPECT_EQ(tops[count] - divider, flex->TotalHeight());
    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(tops[i], flex->ItemTop(i)) << i;
        ASSERT_EQ(heights[i], flex->ItemHeight(i)) << i;
        // Inside an item, and on the boundary below it, which belongs to the upper item.
        ASSERT_EQ(i, flex->ItemAt(tops[i] + 1)) << i;
        if (i + 1 < count) {
            ASSERT_EQ(i, flex->ItemAt(tops[i + 1])) << i;
        }
    }
    EXPECT_EQ(0, flex->ItemAt(0));
    EXPECT_EQ(-1, flex->ItemAt(flex->TotalHeight()));
    EXPECT_EQ(-1, flex->ItemAt(-1));
}

TEST(ListLocatorTest, FlexibleMeasuredHeightsChangeTheTotalByTheDifference)
{
    Locators locators(600, 30, 1, SLayoutSize::kDp);
    SListViewItemLocatorFlex* flex = locators.flex;
    int total = flex->TotalHeight();
    flex->SetItemHeight(555, 30); // the default height: nothing changes
    EXPECT_EQ(total, flex->TotalHeight());
    flex->SetItemHeight(555, 45);
    EXPECT_EQ(total + 15, flex->TotalHeight());
    EXPECT_EQ(flex->ItemTop(556), flex->ItemTop(555) + 46);
    flex->SetItemHeight(555, -8); // no negative heights
    EXPECT_EQ(0, flex->ItemHeight(555));
    // Outside the items: refused.
    flex->SetItemHeight(600, 99);
    flex->SetItemHeight(-1, 99);
    EXPECT_EQ(total - 30, flex->TotalHeight());
    EXPECT_EQ(0, flex->ItemTop(600));
    EXPECT_EQ(0, flex->ItemHeight(600));

    // A scale change forgets every measured height.
    flex->SetScale(200);
    EXPECT_EQ(600 * 62 - 2, flex->TotalHeight());
    EXPECT_EQ(60, flex->ItemHeight(555));
}

TEST(ListLocatorTest, FlexibleLocatorWithoutItemsOrAdapter)
{
    Locators locators(0, 30, 1);
    SListViewItemLocatorFlex* flex = locators.flex;
    EXPECT_EQ(0, flex->TotalHeight());
    for (int position : {-1, 0, 5, 1000})
        EXPECT_EQ(-1, flex->ItemAt(position)) << position;
    EXPECT_EQ(0, flex->ItemTop(0));

    // The count is the one of the last rebuild, whatever the adapter says meanwhile.
    locators.adapter->count = 100;
    EXPECT_EQ(0, flex->ItemHeight(50));
    flex->Rebuild();
    EXPECT_EQ(100 * 31 - 1, flex->TotalHeight());

    flex->AttachAdapter(nullptr);
    EXPECT_EQ(0, flex->TotalHeight());
    EXPECT_EQ(-1, flex->ItemAt(0));
}

} // namespace
