// Layout sizes: parsing, special values, the default unit and conversion to pixels.
#include <gtest/gtest.h>
#include <climits>
#include "layout/SLayoutSize.h"

using namespace SKEIN;

namespace {

// Restores px as the default unit around each test.
class LayoutSizeTest : public ::testing::Test {
protected:
    void SetUp() override { SLayoutSize::SetDefaultUnit(L"px"); }
    void TearDown() override { SLayoutSize::SetDefaultUnit(L"px"); }
};

} // namespace

TEST_F(LayoutSizeTest, ParsesValueAndTwoLetterUnit)
{
    struct Case {
        const wchar_t* defaultUnit;
        const wchar_t* text;
        float value;
        int unit;
    } cases[] = {
        {L"px", L"12dp", 12.0f, SLayoutSize::kDp},
        {L"px", L"12DP", 12.0f, SLayoutSize::kDp},
        {L"px", L"4px", 4.0f, SLayoutSize::kPx},
        {L"dp", L"14sP", 14.0f, SLayoutSize::kSp},
        {L"px", L"12dip", 12.0f, SLayoutSize::kPx}, // ends in "ip": the default unit
        {L"dp", L"12dip", 12.0f, SLayoutSize::kDp},
        {L"dp", L"15", 15.0f, SLayoutSize::kDp},
        {L"px", L"-3.5", -3.5f, SLayoutSize::kPx},
        {L"sp", L"7.6px", 7.6f, SLayoutSize::kPx},
        {L"dp", L"5", 5.0f, SLayoutSize::kDp}, // one character: no unit suffix to read
        {L"px", L"p", 0.0f, SLayoutSize::kPx},
        {L"px", L"abc", 0.0f, SLayoutSize::kPx},
    };
    for (const Case& c : cases) {
        SLayoutSize::SetDefaultUnit(c.defaultUnit);
        SLayoutSize size(c.text);
        EXPECT_FLOAT_EQ(c.value, size.value) << c.text;
        EXPECT_EQ(c.unit, size.unit) << c.text;
    }
}

TEST_F(LayoutSizeTest, EmptyTextChangesNothing)
{
    SLayoutSize size(3.0f, SLayoutSize::kSp);
    size.Parse(L"");
    size.Parse(nullptr);
    EXPECT_FLOAT_EQ(3.0f, size.value);
    EXPECT_EQ(SLayoutSize::kSp, size.unit);
}

TEST_F(LayoutSizeTest, DefaultUnitIsReadAtConstruction)
{
    SLayoutSize before;
    SLayoutSize::SetDefaultUnit(L"DIP");
    SLayoutSize after;
    EXPECT_EQ(SLayoutSize::kPx, before.unit);
    EXPECT_EQ(SLayoutSize::kDip, after.unit);
    struct Case {
        const wchar_t* name;
        int unit;
    } cases[] = {{L"dp", 1}, {L"Sp", 3}, {L"PX", 0}, {L"em", 0}, {L"d", 0}, {L"", 0}, {nullptr, 0}};
    for (const Case& c : cases) {
        SLayoutSize::SetDefaultUnit(c.name);
        EXPECT_EQ(c.unit, SLayoutSize::DefaultUnit()) << (c.name ? c.name : L"(null)");
    }
}

TEST_F(LayoutSizeTest, ConvertsToPixelsByScale)
{
    struct Case {
        const wchar_t* defaultUnit;
        const wchar_t* text;
        int scale;
        int pixels;
    } cases[] = {
        {L"dp", L"15", 150, 23}, // 22.5 rounds half up
        {L"dp", L"15", 100, 15},
        {L"px", L"7.6px", 100, 7},
        {L"px", L"7.6px", 250, 7},
        {L"px", L"7.6dp", 100, 8},
        {L"px", L"12dip", 200, 12},
        {L"px", L"12dp", 200, 24},
        {L"px", L"12sp", 125, 15},
        {L"px", L"-7.6px", 100, -7},
        {L"px", L"-5dp", 150, -7}, // floor(-7.5 + 0.5)
        {L"px", L"1e20px", 100, INT_MAX},
        {L"px", L"-1e20dp", 100, INT_MIN},
    };
    for (const Case& c : cases) {
        SLayoutSize::SetDefaultUnit(c.defaultUnit);
        EXPECT_EQ(c.pixels, SLayoutSize(c.text).ToPixels(c.scale)) << c.text << " at " << c.scale;
    }
}

TEST_F(LayoutSizeTest, SpecialValues)
{
    SLayoutSize size(10.0f, SLayoutSize::kDp);
    EXPECT_TRUE(size.HasValue());
    EXPECT_TRUE(size.IsNonNegative());
    EXPECT_FALSE(size.IsZero());

    size.SetMatchParent();
    EXPECT_TRUE(size.IsMatchParent());
    EXPECT_FALSE(size.IsNonNegative());
    EXPECT_EQ(SLayoutSize::kDp, size.unit); // the unit stays
    for (int scale : {100, 150, 300})
        EXPECT_EQ(-2, size.ToPixels(scale));

    size.SetWrapContent();
    EXPECT_TRUE(size.IsWrapContent());
    EXPECT_FALSE(size.IsMatchParent());
    EXPECT_EQ(-1, size.ToPixels(200));

    SLayoutSize unspecified(0.0f, SLayoutSize::kPx);
    unspecified.SetUnspecified();
    EXPECT_FALSE(unspecified.HasValue());
    EXPECT_EQ(-3, unspecified.ToPixels(150));

    SLayoutSize zero;
    EXPECT_TRUE(zero.IsZero());
    EXPECT_TRUE(zero.IsNonNegative());
    zero.Assign(1e-9f, SLayoutSize::kSp);
    EXPECT_TRUE(zero.IsZero()); // within 1e-8
    EXPECT_EQ(SLayoutSize::kSp, zero.unit);
    EXPECT_TRUE(LayoutFloatEqual(-2.0f, -2.0f));
    EXPECT_FALSE(LayoutFloatEqual(-2.0f, -2.001f));
}
