// The linear layout (and its hbox and vbox forms): sizes, weights, gravity, extends,
// intervals, measuring and attribute results.
#include <gtest/gtest.h>
#include "layout/SLinearLayout.h"
#include "layout/SkeinLayout.h"
#include "layout_fake_children.h"

using namespace layouttest;

namespace {

SLinearLayout* Box(int orientation, std::vector<std::pair<const wchar_t*, const wchar_t*>> attributes = {})
{
    SLinearLayout* box = new SLinearLayout(orientation);
    for (auto& attribute : attributes)
        box->ApplyAttribute(SStringW(attribute.first), SStringW(attribute.second), TRUE);
    return box;
}

} // namespace

TEST(LinearLayout, WeightTakesTheLeftOverSpace)
{
    SRefPtr<SLinearLayout> box(Box(kOrientHorz, {{L"interval", L"10"}}), false);
    FakeChildren children;
    children.Add(new SLinearLayoutParam, {{L"size", L"100,20"}});
    children.Add(new SLinearLayoutParam, {{L"size", L"50,20"}, {L"weight", L"1"}});
    box->Arrange(children, RECT{0, 0, 300, 50});
    EXPECT_TRUE(SameRect(children.placed[0], RECT{0, 0, 100, 20})) << children.placed[0];
    EXPECT_TRUE(SameRect(children.placed[1], RECT{110, 0, 300, 20})) << children.placed[1];
}

TEST(LinearLayout, WeightsShareRoundedAndTheLastTakesTheRest)
{
    SRefPtr<SLinearLayout> box(Box(kOrientHorz), false);
    FakeChildren children;
    children.Add(new SLinearLayoutParam, {{L"size", L"0,10"}, {L"weight", L"1"}});
    children.Add(new SLinearLayoutParam, {{L"size", L"0,10"}, {L"weight", L"2"}});
    box->Arrange(children, RECT{5, 7, 105, 17});
    EXPECT_TRUE(SameRect(children.placed[0], RECT{5, 7, 38, 17})) << children.placed[0];
    EXPECT_TRUE(SameRect(children.placed[1], RECT{38, 7, 105, 17})) << children.placed[1];
}

TEST(LinearLayout, ExtendsWidenTheCellAndInsetTheChild)
{
    SRefPtr<SLinearLayout> box(Box(kOrientVert), false);
    FakeChildren children;
    children.Add(new SLinearLayoutParam, {{L"width", L"matchParent"}, {L"extend", L"5"}}, SIZE{40, 20});
    children.Add(new SLinearLayoutParam, {{L"size", L"10,10"}, {L"extend", L"1,2,3,4"}});
    box->Arrange(children, RECT{0, 0, 100, 200});
    EXPECT_TRUE(SameRect(children.placed[0], RECT{5, 5, 95, 25})) << children.placed[0];
    // Second cell: 14 x 16 from y 30, inset by 1, 2, 3, 4.
    EXPECT_TRUE(SameRect(children.placed[1], RECT{1, 32, 11, 42})) << children.placed[1];
}

TEST(LinearLayout, GravityAcrossTheStack)
{
    struct {
        const wchar_t* layoutGravity; // on the layout, null = not set
        const wchar_t* childGravity;  // on the child, null = not set
        int top;
    } cases[] = {{nullptr, L"center", 9}, {nullptr, L"bottom", 19}, {L"bottom", nullptr, 19},
                 {L"bottom", L"top", 0},  {nullptr, nullptr, 0}};
    for (const auto& c : cases) {
        SRefPtr<SLinearLayout> box(Box(kOrientHorz), false);
        if (c.layoutGravity) {
            ASSERT_EQ(box->ApplyAttribute(SStringW(L"gravity"), SStringW(c.layoutGravity), TRUE), S_FALSE);
        }
        FakeChildren children;
        ILayoutParam* param = children.Add(new SLinearLayoutParam, {{L"size", L"10,21"}});
        if (c.childGravity) {
            ASSERT_EQ(param->ApplyAttribute(SStringW(L"layout_gravity"), SStringW(c.childGravity), TRUE), S_FALSE);
        }
        box->Arrange(children, RECT{0, 0, 100, 40});
        EXPECT_EQ(children.placed[0].top, c.top);
        EXPECT_EQ(children.placed[0].bottom - children.placed[0].top, 21);
    }
}

TEST(LinearLayout, WeightedChildIsMeasuredAgainAcross)
{
    SRefPtr<SLinearLayout> box(Box(kOrientHorz), false);
    FakeChildren children;
    ILayoutParam* param = children.Add(new SLinearLayoutParam, {{L"width", L"0"}, {L"weight", L"1"}});
    // A text that wraps: the narrower, the taller.
    children.SetMeasurer(0, [](int width, int, ILayoutParam* p) {
        int w = width > 0 ? width : p->GetSpecifiedSize(kOrientHorz).ToPixels(100);
        return SIZE{w, w > 0 ? 1000 / w : 0};
    });
    box->Arrange(children, RECT{0, 0, 200, 100});
    EXPECT_TRUE(SameRect(children.placed[0], RECT{0, 0, 200, 5})) << children.placed[0];
    // The parameter is back as it was.
    EXPECT_TRUE(param->IsSpecifiedSize(kOrientHorz));
    EXPECT_EQ(param->GetSpecifiedSize(kOrientHorz).ToPixels(100), 0);
    EXPECT_TRUE(param->IsWrapContent(kOrientVert));
}

TEST(LinearLayout, MeasuresStackAndWidestCell)
{
    SRefPtr<SLinearLayout> box(Box(kOrientVert, {{L"interval", L"5"}}), false);
    FakeChildren children;
    children.Add(new SLinearLayoutParam, {{L"size", L"30,10"}});
    children.Add(new SLinearLayoutParam, {{L"extend", L"0,0,20,0"}}, SIZE{30, 20});
    SIZE size = box->Measure(children, -1, -1, true, true);
    EXPECT_EQ(size.cx, 50);
    EXPECT_EQ(size.cy, 35);

    // Match parent takes the given width unless the parent wraps its own width.
    FakeChildren matching;
    matching.Add(new SLinearLayoutParam, {{L"width", L"matchParent"}, {L"height", L"10"}}, SIZE{7, 0});
    EXPECT_EQ(box->Measure(matching, 120, -1, false, true).cx, 120);
    EXPECT_EQ(box->Measure(matching, 120, -1, true, true).cx, 7);

    // A weighted child grows to the given height.
    FakeChildren weighted;
    weighted.Add(new SLinearLayoutParam, {{L"size", L"10,10"}, {L"weight", L"1"}});
    EXPECT_EQ(box->Measure(weighted, -1, 60, true, false).cy, 60);
    EXPECT_EQ(box->Measure(weighted, -1, -1, true, true).cy, 10);

    FakeChildren none;
    SIZE empty = box->Measure(none, 100, 100, false, false);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, 0);
}

TEST(LinearLayout, AttributeResults)
{
    SLinearLayoutParam param;
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"extend"), SStringW(L"1,2"), TRUE), E_INVALIDARG);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"Extend"), SStringW(L"3"), TRUE), S_OK);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"extend_top"), SStringW(L"4"), TRUE), S_FALSE);
    auto* data = static_cast<SLinearLayoutParamStruct*>(param.GetRawData());
    EXPECT_EQ(data->extendLeft.ToPixels(100), 3);
    EXPECT_EQ(data->extendTop.ToPixels(100), 4);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"layout_gravity"), SStringW(L"Center"), TRUE), E_FAIL);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"size"), SStringW(L"1,2,3"), TRUE), E_FAIL);
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"weight"), SStringW(L"2.5"), TRUE), S_FALSE);
    EXPECT_FLOAT_EQ(data->weight, 2.5f);
    // "full" is no keyword here: it reads as the dimension 0.
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"width"), SStringW(L"full"), TRUE), S_OK);
    EXPECT_TRUE(param.IsSpecifiedSize(kOrientHorz));
    EXPECT_EQ(param.ApplyAttribute(SStringW(L"pos"), SStringW(L"1,2"), TRUE), E_NOTIMPL);
    EXPECT_EQ(param.GetSpecifiedSize(kOrientAny).value, 0.0f);
    // Clear keeps the extends.
    param.Clear();
    EXPECT_EQ(data->extendLeft.ToPixels(100), 3);
    EXPECT_TRUE(param.IsWrapContent(kOrientBoth));
    EXPECT_EQ(data->gravity, kGravityUnset);

    SLinearLayout layout;
    EXPECT_EQ(layout.Orientation(), kOrientHorz);
    EXPECT_EQ(layout.ApplyAttribute(SStringW(L"orientation"), SStringW(L"Vertical"), TRUE), E_FAIL);
    EXPECT_EQ(layout.ApplyAttribute(SStringW(L"ORIENTATION"), SStringW(L"vertical"), TRUE), S_FALSE);
    EXPECT_EQ(layout.Orientation(), kOrientVert);
    EXPECT_EQ(layout.ApplyAttribute(SStringW(L"gravity"), SStringW(L"middle"), TRUE), E_FAIL);
    EXPECT_EQ(layout.ApplyAttribute(SStringW(L"columnCount"), SStringW(L"2"), TRUE), E_NOTIMPL);
    EXPECT_TRUE(layout.IsParamAcceptable(&param));
    SkeinLayoutParam foreign;
    EXPECT_FALSE(layout.IsParamAcceptable(&foreign));
    EXPECT_FALSE(SkeinLayout().IsParamAcceptable(&param));
}

TEST(LinearLayout, BoxesAreFixedLinearLayouts)
{
    SHBox hbox;
    SVBox vbox;
    EXPECT_EQ(hbox.Orientation(), kOrientHorz);
    EXPECT_EQ(vbox.Orientation(), kOrientVert);
    EXPECT_TRUE(hbox.MatchesClassName(L"hbox"));
    EXPECT_TRUE(hbox.MatchesClassName(L"linearLayout"));
    EXPECT_FALSE(hbox.MatchesClassName(L"vbox"));
    EXPECT_TRUE(vbox.MatchesClassName(L"linearLayout"));
    EXPECT_EQ(vbox.ObjectKind(), kKindLayout);
    SRefPtr<ILayoutParam> param(vbox.CreateLayoutParam(), false);
    ASSERT_TRUE(param);
    EXPECT_TRUE(hbox.IsParamAcceptable(param));
}
