// The position layout: "pos", "size" and "offset" statements resolved against a 200 x 100
// child area, measuring, and the parameter's attribute results.
#include <gtest/gtest.h>
#include "layout/SkeinLayout.h"
#include "layout_fake_children.h"

using namespace layouttest;

namespace {

typedef std::vector<std::pair<const wchar_t*, const wchar_t*>> Attrs;

struct PosCase {
    const char* what;
    std::vector<Attrs> children; // the last child is checked
    RECT expected;
    std::vector<int> ids;
    int check = -1; // the child checked; -1 = the last
};

const int W = SkeinLayout::kMustWait;
const int N = SkeinLayout::kNotComputed;

RECT ArrangeLast(const PosCase& c)
{
    FakeChildren children;
    for (size_t i = 0; i < c.children.size(); ++i)
        children.Add(new SkeinLayoutParam, c.children[i], SIZE{0, 0}, i < c.ids.size() ? c.ids[i] : 0);
    SkeinLayout::Arrange(children, RECT{0, 0, 200, 100});
    return c.check < 0 ? children.placed.back() : children.placed[c.check];
}

} // namespace

TEST(PosLayout, ResolvesTheTableOfPositions)
{
    const PosCase cases[] = {
        {"inset from all edges", {{{L"pos", L"10,10,-10,-10"}}}, {10, 10, 190, 90}},
        {"0,0,-0,-0 fills the parent", {{{L"pos", L"0,0,-0,-0"}}}, {0, 0, 200, 100}},
        {"centred by offset",
         {{{L"pos", L"|0,|0"}, {L"size", L"40,20"}, {L"offset", L"-0.5,-0.5"}}},
         {80, 40, 120, 60}},
        {"percentages", {{{L"pos", L"%25,%50"}, {L"size", L"10,10"}}}, {50, 50, 60, 60}},
        {"percentage from the far edge", {{{L"pos", L"%-25,0"}, {L"size", L"10,10"}}}, {150, 0, 160, 10}},
        {"-%25 is a plain far-edge item of 0", {{{L"pos", L"-%25,0"}, {L"size", L"10,10"}}}, {200, 0, 210, 10}},
        {"items are trimmed", {{{L"pos", L" 10 , 20 "}, {L"size", L"5,5"}}}, {10, 20, 15, 25}},
        {"after the previous sibling, top-aligned",
         {{{L"pos", L"10,20"}, {L"size", L"30,30"}}, {{L"pos", L"[5,{0"}, {L"size", L"10,10"}}},
         {45, 20, 55, 30}},
        {"first child measures from 0", {{{L"pos", L"[5,{0"}, {L"size", L"10,10"}}}, {5, 0, 15, 10}},
        {"before the next sibling",
         {{{L"pos", L"]-10,0"}, {L"size", L"10,10"}}, {{L"pos", L"100,0"}, {L"size", L"10,10"}}},
         {90, 0, 100, 10},
         {},
         0},
        {"sibling by id",
         {{{L"pos", L"10,10"}, {L"size", L"20,20"}}, {{L"pos", L"sib.right@3:4,sib.top@3:0"}, {L"size", L"10,10"}}},
         {34, 10, 44, 20},
         {3, 0}},
        {"sibling id missing: far edge from the parent",
         {{{L"pos", L"sib.right@3:4,sib.top@3:0"}, {L"size", L"10,10"}}},
         {204, 0, 214, 10}},
        {"negative sibling distance",
         {{{L"pos", L"5,5"}, {L"size", L"20,20"}}, {{L"pos", L"sib.left@7:-3,sib.bottom@7:2"}, {L"size", L"1,1"}}},
         {2, 27, 3, 28},
         {7, 0}},
        {"no pos follows the previous sibling",
         {{{L"pos", L"10,10"}, {L"size", L"20,20"}}, {{L"size", L"30,30"}}},
         {30, 10, 60, 40}},
        {"edges from four items", {{{L"pos", L"|-20,%10,|20,-10"}}}, {80, 10, 120, 90}},
        {"children referring to each other stay unresolved",
         {{{L"pos", L"sib.left@2:0,0"}, {L"size", L"10,10"}}, {{L"pos", L"sib.left@1:0,0"}, {L"size", L"10,10"}}},
         {W, 0, N, 10},
         {1, 2}},
        {"a coordinate equal to a marker ends too", {{{L"pos", L"285212672,0"}, {L"size", L"10,10"}}},
         {N, 0, N, 10}},
        {"a far edge equal to a marker ends too", {{{L"pos", L"285212640,0"}, {L"size", L"32,10"}}},
         {285212640, 0, N, 10}},
    };
    for (const PosCase& c : cases) {
        RECT rect = ArrangeLast(c);
        EXPECT_TRUE(SameRect(rect, c.expected)) << c.what << ": " << rect;
    }
}

TEST(PosLayout, WrapContentSizesComeFromTheChild)
{
    FakeChildren children;
    ILayoutParam* param = children.Add(new SkeinLayoutParam, {{L"pos", L"0,0,@100,@-1"}}, SIZE{50, 33});
    EXPECT_TRUE(param->IsSpecifiedSize(kOrientHorz));
    EXPECT_TRUE(param->IsWrapContent(kOrientVert));
    SkeinLayout::Arrange(children, RECT{0, 0, 200, 100});
    EXPECT_TRUE(SameRect(children.placed[0], RECT{0, 0, 100, 33})) << children.placed[0];
    // The child is asked with the width it has and the parent's height.
    ASSERT_FALSE(children.hints.empty());
    EXPECT_EQ(children.hints[0], std::make_pair(100, 100));
}

TEST(PosLayout, ChildAreaOriginMovesEveryResolvedEdge)
{
    FakeChildren children;
    children.Add(new SkeinLayoutParam, {{L"pos", L"10,10,-10,-10"}});
    children.Add(new SkeinLayoutParam, {{L"pos", L"sib.left@9:0,0"}, {L"size", L"5,5"}});
    SkeinLayout::Arrange(children, RECT{100, 50, 300, 150});
    EXPECT_TRUE(SameRect(children.placed[0], RECT{110, 60, 290, 140})) << children.placed[0];
    // No sibling 9: the left edge measures from 0 of the child area.
    EXPECT_TRUE(SameRect(children.placed[1], RECT{100, 50, 105, 55})) << children.placed[1];
}

TEST(PosLayout, MeasuringWithAnUnknownWidth)
{
    FakeChildren children;
    children.Add(new SkeinLayoutParam, {{L"pos", L"-10,0"}, {L"size", L"10,10"}});
    children.Add(new SkeinLayoutParam, {{L"pos", L"5,5"}, {L"size", L"20,10"}});
    // Without a next sibling or the named one, the far parent edge is needed, and unknown.
    children.Add(new SkeinLayoutParam, {{L"pos", L"0,sib.bottom@9:30"}, {L"size", L"10,10"}});
    children.Add(new SkeinLayoutParam, {{L"pos", L"]40,0"}, {L"size", L"10,10"}});
    SIZE size = SkeinLayout::Measure(children, -1, -1);
    EXPECT_EQ(size.cx, 25);
    EXPECT_EQ(size.cy, 15);

    // Known extents: a child anchored 10 from the right needs 10 more than its right edge.
    FakeChildren anchored;
    anchored.Add(new SkeinLayoutParam, {{L"pos", L"0,0,-10,@20"}});
    size = SkeinLayout::Measure(anchored, 80, 40);
    EXPECT_EQ(size.cx, 80);
    EXPECT_EQ(size.cy, 20);
}

TEST(PosLayout, AttributeResults)
{
    SkeinLayoutParam param;
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"pos"), SStringW(L"1,2,3"), TRUE), E_INVALIDARG);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"size"), SStringW(L"10"), TRUE), E_FAIL);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"offset"), SStringW(L"0.5"), TRUE), E_FAIL);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"margin"), SStringW(L"1"), TRUE), E_NOTIMPL);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"WIDTH"), SStringW(L"Full"), TRUE), S_OK);
    EXPECT_TRUE(param.IsMatchParent(kOrientHorz));
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"height"), SStringW(L"WRAPCONTENT"), TRUE), S_OK);
    EXPECT_TRUE(param.IsWrapContent(kOrientVert));
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"height"), SStringW(L"12dp"), TRUE), S_OK);
    EXPECT_EQ(param.GetSpecifiedSize(kOrientVert).unit, SLayoutSize::kDp);
    EXPECT_EQ(param.GetSpecifiedSize(kOrientVert).ToPixels(200), 24);
}

TEST(PosLayout, MalformedItemsKeepWhatWasAlreadyTaken)
{
    SkeinLayoutParam param;
    auto& data = param.Data();
    ASSERT_EQ(param.ApplyAttribute(SStringW(L"pos"), SStringW(L"1,2,3,4"), TRUE), S_OK);
    EXPECT_EQ(data.count, 4);
    // Bad far items: the near items are taken and the count drops to 2.
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"pos"), SStringW(L"7,8,sib.middle@1:2,5"), TRUE), S_OK);
    EXPECT_EQ(data.count, 2);
    EXPECT_EQ(data.left.size.ToPixels(100), 7);
    // A bad near item changes nothing; "@" is refused as a near item; sibling id 0 fails.
    const wchar_t* badNear[] = {L"sib.left@0:1,5", L"@5,5", L"sib.left@3,5", L"sib.left@3:,5"};
    for (const wchar_t* pos : badNear) {
        EXPECT_EQ(param.ApplyAttribute(SStringW(L"pos"), SStringW(pos), TRUE), S_OK) << pos;
        EXPECT_EQ(data.left.size.ToPixels(100), 7) << pos;
        EXPECT_EQ(data.count, 2) << pos;
    }
}

TEST(PosLayout, ParsesItemKindsAndSigns)
{
    struct {
        const wchar_t* text;
        int kind;
        int sign;
        float value;
        int sibling;
    } cases[] = {
        {L"12", kPosParent, 1, 12, -1},        {L"-12", kPosParent, -1, 12, -1},
        {L"|-3", kPosCenter, -1, 3, -1},       {L"%40", kPosPercent, 1, 40, -1},
        {L"[2", kPosPrevFar, 1, 2, -1},        {L"]2", kPosNextNear, 1, 2, -1},
        {L"{2", kPosPrevNear, 1, 2, -1},       {L"}2", kPosNextFar, 1, 2, -1},
        {L"@-1", kPosSize, -1, 1, -1},         {L"sib.bottom@12:-6", kPosSiblingFar, -1, 6, 12},
        {L"sib.top@5:6", kPosSiblingNear, 1, 6, 5},
    };
    for (const auto& c : cases) {
        PositionItem item;
        ASSERT_TRUE(ParsePositionItem(SStringW(c.text), item)) << c.text;
        EXPECT_EQ(item.kind, c.kind);
        EXPECT_EQ(item.sign, c.sign);
        EXPECT_FLOAT_EQ(item.size.value, c.value);
        EXPECT_EQ(item.siblingId, c.sibling);
    }
    PositionItem item;
    EXPECT_FALSE(ParsePositionItem(SStringW(L""), item));
    EXPECT_FALSE(ParsePositionItem(SStringW(L"SIB.left@1:2"), item) && item.kind == kPosSiblingNear);
    EXPECT_FALSE(ParsePositionItem(SStringW(L"sib.Left@1:2"), item));
}

TEST(PosLayout, ClearAndCloneAndSizeQueries)
{
    SkeinLayoutParam param;
    param.ApplyAttribute(SStringW(L"pos"), SStringW(L"1,2,-3,-4"), TRUE);
    param.ApplyAttribute(SStringW(L"offset"), SStringW(L"0.5,0.25"), TRUE);
    SRefPtr<ILayoutParam> copy(param.Clone(), false);
    ASSERT_TRUE(copy);
    EXPECT_EQ(memcmp(copy->GetRawData(), param.GetRawData(), sizeof(SkeinLayoutParamStruct)), 0);
    // Four plain items leave the sizes to the edges: neither wrap nor fixed.
    EXPECT_FALSE(param.IsWrapContent(kOrientAny));
    EXPECT_FALSE(param.IsSpecifiedSize(kOrientAny));
    param.Clear();
    EXPECT_EQ(param.Data().count, 0);
    EXPECT_EQ(param.Data().offsetX, 0.0f);
    EXPECT_TRUE(param.IsWrapContent(kOrientBoth));
    param.SetSpecifiedSize(kOrientAny, SLayoutSize(5, SLayoutSize::kPx));
    EXPECT_TRUE(param.IsWrapContent(kOrientBoth));
    param.SetMatchParent(kOrientVert);
    EXPECT_TRUE(param.IsMatchParent(kOrientAny));
    EXPECT_FALSE(param.IsMatchParent(kOrientBoth));
    EXPECT_TRUE(SkeinLayout().IsParamAcceptable(&param));
}
