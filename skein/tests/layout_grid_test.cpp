// The grid layout: derived counts, spans, occupied cells, overflow, weights, gravity and
// attribute results.
#include <gtest/gtest.h>
#include "layout/SGridLayout.h"
#include "layout_fake_children.h"

using namespace layouttest;

namespace {

typedef std::vector<std::pair<const wchar_t*, const wchar_t*>> Attrs;

SGridLayout* Grid(Attrs attributes)
{
    SGridLayout* grid = new SGridLayout;
    for (auto& attribute : attributes)
        EXPECT_EQ(grid->ApplyAttribute(SStringW(attribute.first), SStringW(attribute.second), TRUE), S_OK)
            << attribute.first;
    return grid;
}

} // namespace

TEST(GridLayout, DerivesRowsFromTheColumnCount)
{
    SRefPtr<SGridLayout> grid(Grid({{L"columnCount", L"3"}, {L"xInterval", L"2"}, {L"yInterval", L"4"}}), false);
    FakeChildren children;
    for (int i = 0; i < 5; ++i)
        children.Add(new SGridLayoutParam, {}, SIZE{10, 10});
    SIZE size = grid->Measure(children);
    EXPECT_EQ(size.cx, 3 * 10 + 2 * 2);
    EXPECT_EQ(size.cy, 2 * 10 + 4);
    grid->Arrange(children, RECT{0, 0, size.cx, size.cy});
    // Row two holds the fourth and fifth child; the sixth cell stays empty.
    EXPECT_TRUE(SameRect(children.placed[3], RECT{0, 14, 10, 24})) << children.placed[3];
    EXPECT_TRUE(SameRect(children.placed[4], RECT{12, 14, 22, 24})) << children.placed[4];
}

TEST(GridLayout, SpanDividesThePreferredSize)
{
    SRefPtr<SGridLayout> grid(Grid({{L"columnCount", L"2"}}), false);
    FakeChildren children;
    children.Add(new SGridLayoutParam, {{L"columnSpan", L"2"}}, SIZE{61, 10});
    grid->Arrange(children, RECT{0, 0, 60, 10});
    EXPECT_TRUE(SameRect(children.placed[0], RECT{0, 0, 60, 10})) << children.placed[0];
    EXPECT_EQ(grid->Measure(children).cx, 60);
}

TEST(GridLayout, ChildrenBeyondTheTableKeepTheirPlace)
{
    SRefPtr<SGridLayout> grid(Grid({{L"rowCount", L"1"}, {L"columnCount", L"2"}}), false);
    FakeChildren children;
    for (int i = 0; i < 3; ++i)
        children.Add(new SGridLayoutParam, {}, SIZE{10, 10});
    grid->Arrange(children, RECT{0, 0, 20, 10});
    EXPECT_TRUE(SameRect(children.placed[1], RECT{10, 0, 20, 10})) << children.placed[1];
    EXPECT_TRUE(SameRect(children.placed[2], kNotPlaced)) << children.placed[2];
}

TEST(GridLayout, SpansStopBeforeOccupiedCellsAndTheEdge)
{
    SRefPtr<SGridLayout> grid(Grid({{L"columnCount", L"3"}, {L"rowCount", L"3"}, {L"gravity", L"fill"}}), false);
    FakeChildren children;
    children.Add(new SGridLayoutParam, {}, SIZE{10, 10});                        // (0, 0)
    children.Add(new SGridLayoutParam, {{L"rowSpan", L"2"}}, SIZE{10, 20});      // (0, 1) and (1, 1)
    children.Add(new SGridLayoutParam, {{L"columnSpan", L"5"}}, SIZE{10, 10});   // (0, 2): one column left
    children.Add(new SGridLayoutParam, {{L"columnSpan", L"3"}}, SIZE{10, 10});   // (1, 0): stops at (1, 1)
    children.Add(new SGridLayoutParam, {{L"rowSpan", L"3"}}, SIZE{10, 10});      // (1, 2): two rows left
    children.Add(new SGridLayoutParam, {{L"columnSpan", L"2"}}, SIZE{10, 10});   // (2, 0) and (2, 1)
    grid->Arrange(children, RECT{0, 0, 30, 30});
    const RECT expected[] = {{0, 0, 10, 10},  {10, 0, 20, 20},  {20, 0, 30, 10},
                             {0, 10, 10, 20}, {20, 10, 30, 30}, {0, 20, 20, 30}};
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(SameRect(children.placed[i], expected[i])) << i << ": " << children.placed[i];
}

TEST(GridLayout, WeightsShareTheFreeSpace)
{
    SRefPtr<SGridLayout> grid(Grid({{L"columnCount", L"2"}, {L"interval", L"10"}}), false);
    FakeChildren children;
    children.Add(new SGridLayoutParam, {{L"columnWeight", L"1"}, {L"rowWeight", L"1"}}, SIZE{10, 10});
    children.Add(new SGridLayoutParam, {{L"columnWeight", L"3"}, {L"layout_xGravity", L"FILL"}}, SIZE{10, 10});
    grid->Arrange(children, RECT{0, 0, 110, 50});
    // 100 free (less one interval) over 20 used: the columns get 10 + 20 and 10 + 60; the row
    // takes all 50. The first child is centred in its cell, the second fills its width.
    EXPECT_TRUE(SameRect(children.placed[0], RECT{10, 20, 20, 30})) << children.placed[0];
    EXPECT_TRUE(SameRect(children.placed[1], RECT{40, 20, 110, 30})) << children.placed[1];
}

TEST(GridLayout, GravityWordsAndFallbacks)
{
    EXPECT_EQ(GridGravity(SStringW(L"FILL")), kGravityFill);
    EXPECT_EQ(GridGravity(SStringW(L"Bottom")), kGravityFar);
    EXPECT_EQ(GridGravity(SStringW(L"middle")), kGravityUnset);

    // On a child "middle" falls back to the layout's gravity (center unless set); on the
    // layout it acts as left/top.
    const struct {
        const wchar_t* layoutGravity;
        int left;
    } cases[] = {{nullptr, 10}, {L"middle", 0}, {L"right", 20}};
    for (const auto& c : cases) {
        SRefPtr<SGridLayout> grid(Grid({{L"columnCount", L"1"}}), false);
        if (c.layoutGravity)
            grid->ApplyAttribute(SStringW(L"xGravity"), SStringW(c.layoutGravity), TRUE);
        FakeChildren children;
        children.Add(new SGridLayoutParam, {{L"columnWeight", L"1"}}, SIZE{10, 10});
        children.Add(new SGridLayoutParam, {{L"layout_xGravity", L"middle"}}, SIZE{10, 10});
        grid->Arrange(children, RECT{0, 0, 30, 20});
        EXPECT_TRUE(SameRect(children.placed[1], RECT{c.left, 10, c.left + 10, 20})) << children.placed[1];
    }
}

TEST(GridLayout, NothingWithoutCounts)
{
    SRefPtr<SGridLayout> grid(new SGridLayout, false);
    FakeChildren children;
    children.Add(new SGridLayoutParam, {}, SIZE{10, 10});
    SIZE size = grid->Measure(children);
    EXPECT_EQ(size.cx, 0);
    EXPECT_EQ(size.cy, 0);
    grid->Arrange(children, RECT{0, 0, 100, 100});
    EXPECT_TRUE(SameRect(children.placed[0], kNotPlaced));
}

TEST(GridLayout, AttributeResults)
{
    SGridLayout grid;
    const wchar_t* badCounts[] = {L"0", L"-1", L"abc", L"5000"};
    for (const wchar_t* count : badCounts)
        EXPECT_EQ(grid.ApplyAttribute(SStringW(L"columnCount"), SStringW(count), TRUE), E_FAIL) << count;
    EXPECT_EQ(grid.ApplyAttribute(SStringW(L"ROWCOUNT"), SStringW(L"0x10"), TRUE), S_OK);
    EXPECT_EQ(grid.ApplyAttribute(SStringW(L"orientation"), SStringW(L"vertical"), TRUE), E_NOTIMPL);

    SGridLayoutParam param;
    auto* data = static_cast<SGridLayoutParamStruct*>(param.GetRawData());
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"columnSpan"), SStringW(L"0"), TRUE), E_FAIL);
    EXPECT_EQ(data->columnSpan, 1);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"rowspan"), SStringW(L"0x3"), TRUE), S_OK);
    EXPECT_EQ(data->rowSpan, 3);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"size"), SStringW(L"wrapContent,12"), TRUE), S_OK);
    EXPECT_TRUE(param.IsWrapContent(kOrientHorz));
    EXPECT_TRUE(param.IsSpecifiedSize(kOrientVert));
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"weight"), SStringW(L"1"), TRUE), E_NOTIMPL);
    param.Clear();
    EXPECT_EQ(data->rowSpan, 1);
    EXPECT_EQ(data->xGravity, kGravityUnset);
    EXPECT_TRUE(grid.IsParamAcceptable(&param));
}
