#include <gtest/gtest.h>
#include <string>
#include "res.mgr/SNamedValue.h"

using namespace SKEIN;

namespace {

struct ColorCase {
    const wchar_t* text;
    bool parses;
    UINT32 color;
};

TEST(ColorParser, ParsesEveryNotation)
{
    const ColorCase cases[] = {
        {L"#ffffffa0", true, 0xA0FFFFFF},
        {L"#385e8b", true, 0xFF8B5E38},
        {L"#385E8B", true, 0xFF8B5E38},
        {L"RGB(113,110,110)", true, 0xFF6E6E71},
        {L"rgb(255,0,0)", true, 0xFF0000FF},
        {L"rgb(1, 2, 3)", true, 0xFF030201},
        {L"rgba(1,2,3,4)", true, 0x04030201},
        {L"rgba(10,20,30)", true, 0xFF1E140A}, // three components: alpha stays 255
        {L"rgb(300,0,0)", true, 0xFF00002C},   // low 8 bits: 300 becomes 44
        {L"rgb(-1,0,0)", true, 0xFF0000FF},
        {L"#12345", true, 0xFF053412},         // five digits: the last component is one digit
        {L"#fff", false, 0},                   // two components only
        {L"#", false, 0},
        {L"rgb(1,2)", false, 0},
        {L"red", false, 0},
        {L"", false, 0},
        {L"@color/x", false, 0},
    };
    for (const ColorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        UINT32 color = 0x12345678;
        EXPECT_EQ(c.parses, SColorParser::Parse(c.text, color));
        if (c.parses) {
            EXPECT_EQ(c.color, color);
        }
    }
}

pugi::xml_node Table(pugi::xml_document& document, const wchar_t* xml)
{
    EXPECT_TRUE(document.load_string(xml));
    return document.first_child();
}

TEST(NamedColor, ResolvesReferencesAndLiterals)
{
    pugi::xml_document document;
    SNamedColor colors;
    ASSERT_TRUE(colors.InitFromXml(Table(document, L"<color><white value='#ffffff'/><red value='rgb(255,0,0)'/>"
                                                   L"<bad value='#fff'/><!-- note --><none/></color>")));
    EXPECT_EQ(2, colors.Count()); // "bad" and "none" do not parse
    EXPECT_EQ(0xFFFFFFFFu, colors.Resolve(L"@color/white"));
    EXPECT_EQ(0xFF0000FFu, colors.Resolve(L"@color/red"));
    EXPECT_EQ(kNoColor, colors.Resolve(L"@color/bad"));
    EXPECT_EQ(kNoColor, colors.Resolve(L"@color/missing"));
    EXPECT_EQ(kNoColor, colors.Resolve(L"@Color/red")); // not a reference, and not a colour
    EXPECT_EQ(0xFF030201u, colors.Resolve(L"#010203"));
    EXPECT_EQ(kNoColor, colors.Resolve(nullptr));
}

TEST(NamedString, ResolvesByExactPrefixAndName)
{
    pugi::xml_document document;
    SNamedString strings;
    ASSERT_TRUE(strings.InitFromXml(Table(document, L"<string><zeta value='Z'/><title value='Joystick'/>"
                                                    L"<alpha value='A'/><empty/></string>")));
    EXPECT_EQ(4, strings.Count());
    EXPECT_STREQ(L"Joystick", strings.Resolve(L"@string/title"));
    EXPECT_STREQ(L"A", strings.Resolve(L"@string/alpha"));
    EXPECT_STREQ(L"Z", strings.Resolve(L"@string/zeta"));
    EXPECT_STREQ(L"", strings.Resolve(L"@string/empty"));
    EXPECT_STREQ(L"", strings.Resolve(L"@string/Title"));
    EXPECT_STREQ(L"", strings.Resolve(L"@string/"));
    EXPECT_STREQ(L"@String/title", strings.Resolve(L"@String/title"));
    EXPECT_STREQ(L"plain", strings.Resolve(L"plain"));
    EXPECT_STREQ(L"", strings.Resolve(L""));
    EXPECT_FALSE(strings.InitFromXml(pugi::xml_node()));
}

TEST(NamedValue, NamesOfFiftyOrMoreCharactersAreOutsideTheTable)
{
    std::wstring name49(49, L'n');
    std::wstring name50(50, L'n');
    std::wstring xml = L"<string><" + name49 + L" value='fits'/><" + name50 + L" value='long'/></string>";
    pugi::xml_document document;
    SNamedString strings;
    ASSERT_TRUE(strings.InitFromXml(Table(document, xml.c_str())));
    EXPECT_EQ(1, strings.Count());
    EXPECT_STREQ(L"fits", strings.Find(name49.c_str()));
    EXPECT_STREQ(L"", strings.Find(name50.c_str()));
    EXPECT_STREQ(L"", strings.Find((name49 + L"nnnnnnnnnnnnnnnnnnnnnnnn").c_str()));
}

TEST(NamedValue, ReloadingReplacesTheRecords)
{
    pugi::xml_document first, second;
    SNamedColor colors;
    colors.InitFromXml(Table(first, L"<color><a value='#010203'/></color>"));
    colors.InitFromXml(Table(second, L"<color><b value='#040506'/></color>"));
    EXPECT_EQ(1, colors.Count());
    EXPECT_EQ(kNoColor, colors.Find(L"a"));
    EXPECT_EQ(0xFF060504u, colors.Find(L"b"));
}

TEST(NamedDimension, ResolvesSizesInTheDefaultUnit)
{
    SLayoutSize::SetDefaultUnit(L"dp");
    pugi::xml_document document;
    SNamedDimension dims;
    dims.InitFromXml(Table(document, L"<dim><gap value='15'/><edge value='4px'/></dim>"));
    SLayoutSize gap = dims.Resolve(L"@dim/gap");
    EXPECT_EQ(SLayoutSize::kDp, gap.unit);
    EXPECT_EQ(23, gap.ToPixels(150));
    EXPECT_EQ(4, dims.Resolve(L"@dim/edge").ToPixels(200));
    EXPECT_EQ(24, dims.Resolve(L"12sp").ToPixels(200));
    SLayoutSize missing = dims.Resolve(L"@dim/missing");
    EXPECT_TRUE(missing.IsZero());
    EXPECT_EQ(SLayoutSize::kDp, missing.unit);
    SLayoutSize::SetDefaultUnit(L"px");
    EXPECT_EQ(SLayoutSize::kPx, dims.Find(L"nothing").unit); // the unit current at the lookup
}

TEST(NamedID, InstallsRecordsSortedOrAsGiven)
{
    static_assert(sizeof(SNamedID::Record) == 108, "record layout of the generated id table");
    SNamedID::Record records[3] = {{L"btn_ok", 1}, {L"Btn_cancel", 2}, {L"axis", 3}};
    SNamedID ids;
    ids.InitFromArray(records, 3, FALSE);
    EXPECT_EQ(2, ids.Find(L"Btn_cancel")); // ordinal order: capitals first
    EXPECT_EQ(1, ids.Find(L"btn_ok"));
    EXPECT_EQ(3, ids.Find(L"axis"));
    EXPECT_EQ(0, ids.Find(L"btn_cancel"));
    EXPECT_EQ(0, ids.Find(L""));

    SNamedID empty;
    EXPECT_EQ(0, empty.Find(L"axis"));
    empty.InitFromArray(nullptr, 0, TRUE);
    EXPECT_EQ(0, empty.Count());
}

TEST(NamedID, ReadsValuesFromXml)
{
    pugi::xml_document document;
    SNamedID ids;
    ids.InitFromXml(Table(document, L"<ids><b value='12'/><a value='-3'/><c value='x'/></ids>"));
    EXPECT_EQ(12, ids.Find(L"b"));
    EXPECT_EQ(-3, ids.Find(L"a"));
    EXPECT_EQ(0, ids.Find(L"c"));
}

} // namespace
