#include <gtest/gtest.h>
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SXmlWriter.h"
#include "res.mgr/SwndStyle.h"

using namespace SKEIN;

namespace {

HRESULT Apply(SwndStyle& style, const wchar_t* name, const wchar_t* value, BOOL loading = FALSE)
{
    return style.ApplyAttribute(SStringW(name), SStringW(value), loading);
}

bool RectIs(const RECT& rect, LONG left, LONG top, LONG right, LONG bottom)
{
    return rect.left == left && rect.top == top && rect.right == right && rect.bottom == bottom;
}

// A font pool over the GDI render factory for the style's font holders.
class StyleFontTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* factory = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&factory));
        pool = new SFontPool(factory);
        factory->Release();
    }
    void TearDown() override { delete pool; }

    SFontPool* pool = nullptr;
};

} // namespace

TEST(SwndStyle, AttributeResults)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        BOOL loading;
        HRESULT result;
    };
    const Case cases[] = {
        {L"textMode", L"0x25", FALSE, S_OK},
        {L"ALIGN", L"right", FALSE, S_OK},
        {L"align", L"Center", FALSE, E_FAIL},
        {L"valign", L"bottom", FALSE, S_OK},
        {L"valign", L"center", FALSE, E_FAIL},
        {L"colorBkgnd", L"#ff000080", FALSE, S_OK},
        {L"colorBorder", L"", FALSE, E_FAIL},
        {L"colorTextHover", L"rgb(1,2,3)", FALSE, S_OK},
        {L"colorTextDisable", L"", FALSE, E_FAIL},
        {L"margin", L"1", TRUE, S_FALSE},
        {L"margin", L"1", FALSE, S_OK},
        {L"inset", L"1,2", TRUE, S_FALSE},
        {L"margin-x", L"1", FALSE, S_OK},
        {L"padding_top", L"1", TRUE, S_OK},
        {L"cursor", L"hand", FALSE, S_FALSE},
        {L"dotted", L"3", FALSE, S_OK},
        {L"alpha", L"0x1FF", FALSE, S_OK},
        {L"sepSpace", L"7", FALSE, S_OK},
        {L"skin", L"btn", FALSE, E_NOTIMPL},
        {L"pos", L"0,0,10,10", TRUE, E_NOTIMPL},
    };
    SwndStyle style;
    for (const Case& c : cases)
        EXPECT_EQ(Apply(style, c.name, c.value, c.loading), c.result) << c.name << "=" << c.value;

    EXPECT_EQ(style.GetDrawTextFormat(), 0x25u);
    EXPECT_EQ(style.GetAlign(), kAlignRight);
    EXPECT_EQ(style.GetVAlign(), kVAlignBottom);
    EXPECT_EQ(style.GetBkgndColor(), 0x800000FFu);
    EXPECT_EQ(style.GetBorderColor(), static_cast<UINT32>(kColorUnset));
    EXPECT_EQ(style.GetStateTextColor(1), 0xFF030201u);
    EXPECT_EQ(style.GetCursor(), L"hand");
    EXPECT_TRUE(style.IsDotted());
    EXPECT_EQ(style.GetAlpha(), 0xFF);
    EXPECT_EQ(style.GetSepSpace(), 7);
}

TEST(SwndStyle, Defaults)
{
    SwndStyle style;
    EXPECT_EQ(style.GetCursor(), L"arrow");
    EXPECT_EQ(style.GetAlpha(), 255);
    EXPECT_EQ(style.GetSepSpace(), 5);
    EXPECT_TRUE(style.IsBkgndBlend());
    EXPECT_FALSE(style.IsTrackMouseEvent());
    EXPECT_EQ(style.GetDrawTextFormat(), static_cast<UINT>(DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    EXPECT_EQ(style.GetStateCount(), 1);
    EXPECT_TRUE(RectIs(style.GetMarginRect(), 0, 0, 0, 0));
    EXPECT_EQ(std::wstring(style.XmlClassName()), L"style");
}

TEST(SwndStyle, MarginAndPaddingLists)
{
    SwndStyle style;
    Apply(style, L"margin", L"2,4");
    EXPECT_TRUE(RectIs(style.GetMarginRect(), 2, 4, 2, 4));
    Apply(style, L"margin", L"1,2,3");
    EXPECT_TRUE(RectIs(style.GetMarginRect(), 2, 4, 2, 4)); // three items change nothing
    Apply(style, L"margin", L"1,2,3,4");
    EXPECT_TRUE(RectIs(style.GetMarginRect(), 1, 2, 3, 4));
    Apply(style, L"margin", L"6");
    EXPECT_TRUE(RectIs(style.GetMarginRect(), 6, 6, 6, 6));
    Apply(style, L"margin-y", L"9");
    EXPECT_TRUE(RectIs(style.GetMarginRect(), 6, 9, 6, 9));
    Apply(style, L"margin-x", L"1");
    EXPECT_TRUE(RectIs(style.GetMarginRect(), 1, 9, 1, 9));

    Apply(style, L"padding", L"10dp,3px");
    Apply(style, L"padding_right", L"5dp");
    EXPECT_TRUE(RectIs(style.GetPaddingRect(), 10, 3, 5, 3));
    style.ApplyScale(150);
    EXPECT_TRUE(RectIs(style.GetPaddingRect(), 15, 3, 8, 3)); // 7.5 rounds up; px stays
}

TEST(SwndStyle, DrawTextFormat)
{
    struct Case {
        const wchar_t* align;
        const wchar_t* valign;
        const wchar_t* dotted;
        UINT format;
    };
    const Case cases[] = {
        {L"left", L"top", L"0", 0},
        {L"center", L"top", L"0", DT_CENTER},
        {L"right", L"middle", L"0", DT_RIGHT | DT_VCENTER | DT_SINGLELINE},
        {L"left", L"bottom", L"1", DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS},
    };
    for (const Case& c : cases) {
        SwndStyle style;
        Apply(style, L"align", c.align);
        Apply(style, L"valign", c.valign);
        Apply(style, L"dotted", c.dotted);
        EXPECT_EQ(style.GetDrawTextFormat(), c.format) << c.align << " " << c.valign;
    }
}

TEST(SwndStyle, StateColorsFallBackToNormal)
{
    SwndStyle style;
    Apply(style, L"colorText", L"#102030");
    Apply(style, L"colorTextHover", L"#405060");
    EXPECT_EQ(style.GetStateCount(), 2);
    EXPECT_EQ(style.GetStateTextColor(1), 0xFF605040u);
    EXPECT_EQ(style.GetStateTextColor(3), 0xFF302010u);
    EXPECT_EQ(style.GetStateTextColor(7), 0xFF302010u); // out of range: normal
}

TEST_F(StyleFontTest, StateFontsAndScale)
{
    SwndStyle style;
    EXPECT_EQ(style.GetStateFont(0), nullptr);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<style font='size:10dp' fontPush='size:10dp,bold:1' colorTextHover='#fff'/>"));
    EXPECT_TRUE(style.ApplyXmlAttributes(doc.first_child()));
    IFont* normal = style.GetStateFont(0);
    ASSERT_NE(normal, nullptr);
    EXPECT_EQ(style.GetStateFont(1), normal);
    EXPECT_EQ(style.GetStateFont(2)->LogFont()->lfWeight, 700);
    EXPECT_EQ(style.GetStateCount(), 2); // one more font; "#fff" does not parse, so no hover colour

    style.ApplyScale(200);
    EXPECT_EQ(style.GetStateFont(0)->LogFont()->lfHeight, -20);
    EXPECT_EQ(style.GetStateFont(2)->LogFont()->lfHeight, -20);
    EXPECT_EQ(Apply(style, L"fontDisable", L"size:8dp"), S_OK);
    EXPECT_EQ(style.GetStateFont(3)->LogFont()->lfHeight, -16); // fetched at the style's scale
}

TEST(StylePool, KeysAndFirstDefinitionWins)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<style>"
                                L"  <class name='btn' colorText='#111111'/>"
                                L"  <CLASS name='btn' colorText='#222222'/>"
                                L"  <class name='' colorText='#333333'/>"
                                L"  <edit colorText='#444444'/>"
                                L"  <edit colorText='#555555'/>"
                                L"</style>"));
    SRefPtr<SStylePool> pool(new SStylePool, false);
    EXPECT_TRUE(pool->LoadFromXml(doc.child(L"style")));
    EXPECT_FALSE(pool->LoadFromXml(pugi::xml_node()));
    EXPECT_EQ(pool->Count(), 2);

    pugi::xml_node btn = pool->FindStyle(L"btn");
    EXPECT_STREQ(btn.attribute(L"colorText").value(), L"#111111");
    EXPECT_TRUE(btn.attribute(L"name").empty()); // the key is not a style attribute
    EXPECT_STREQ(pool->FindStyle(L"edit").attribute(L"colorText").value(), L"#444444");
    EXPECT_TRUE(pool->FindStyle(L"BTN").empty()); // names are exact
    EXPECT_TRUE(pool->FindStyle(L"class").empty());
    doc.reset(); // the pool keeps its own copy
    EXPECT_STREQ(pool->FindStyle(L"btn").attribute(L"colorText").value(), L"#111111");

    SwndStyle style;
    style.ApplyXmlAttributes(pool->FindStyle(L"btn"));
    EXPECT_EQ(style.GetStateTextColor(0), 0xFF111111u);
}

TEST(StylePool, ManagerAsksTheNewestFirst)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<old><a v='old'/><b v='old'/></old><new><a v='new'/></new>"));
    SRefPtr<SStylePool> older(new SStylePool, false);
    SRefPtr<SStylePool> newer(new SStylePool, false);
    older->LoadFromXml(doc.child(L"old"));
    newer->LoadFromXml(doc.child(L"new"));

    SStylePoolMgr mgr;
    EXPECT_EQ(SStylePoolMgr::Instance(), &mgr);
    EXPECT_TRUE(mgr.FindStyle(L"a").empty());
    mgr.PushPool(older);
    mgr.PushPool(newer);
    EXPECT_STREQ(mgr.FindStyle(L"a").attribute(L"v").value(), L"new");
    EXPECT_STREQ(mgr.FindStyle(L"b").attribute(L"v").value(), L"old");
    EXPECT_TRUE(mgr.PopPool(nullptr)); // the top one
    EXPECT_STREQ(mgr.FindStyle(L"a").attribute(L"v").value(), L"old");
    EXPECT_FALSE(mgr.PopPool(newer));
    EXPECT_TRUE(mgr.PopPool(older));
    EXPECT_FALSE(mgr.PopPool(nullptr));

    // The manager's references keep a pushed pool alive.
    SStylePool* kept = new SStylePool;
    kept->LoadFromXml(doc.child(L"new"));
    mgr.PushPool(kept);
    kept->Release();
    EXPECT_STREQ(mgr.FindStyle(L"a").attribute(L"v").value(), L"new");
}

TEST(TemplatePool, FirstChildPrintedAndFirstDefinitionWins)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<template>"
                                L"  <item><window pos='0,0'><text>hi</text></window><ignored/></item>"
                                L"  <item><other/></item>"
                                L"  <empty/>"
                                L"</template>"));
    SRefPtr<STemplatePool> pool(new STemplatePool, false);
    EXPECT_TRUE(pool->LoadFromXml(doc.child(L"template")));
    EXPECT_FALSE(pool->LoadFromXml(pugi::xml_node()));
    EXPECT_EQ(pool->FindTemplate(L"item"), L"<window pos=\"0,0\">\n<text>hi</text>\n</window>\n");
    EXPECT_TRUE(pool->FindTemplate(L"empty").IsEmptyText());
    EXPECT_TRUE(pool->FindTemplate(L"missing").IsEmptyText());

    pugi::xml_document older;
    ASSERT_TRUE(older.load_string(L"<template><empty><x/></empty><item><y/></item></template>"));
    SRefPtr<STemplatePool> base(new STemplatePool, false);
    base->LoadFromXml(older.child(L"template"));
    STemplatePoolMgr mgr;
    mgr.PushPool(base);
    mgr.PushPool(pool);
    EXPECT_EQ(mgr.FindTemplate(L"item"), L"<window pos=\"0,0\">\n<text>hi</text>\n</window>\n");
    EXPECT_EQ(mgr.FindTemplate(L"empty"), L"<x />\n"); // an empty text asks the next pool
}

// The writer grows: a template far past 20479 characters is kept whole.
TEST(TemplatePool, LongTemplateStaysIntact)
{
    std::wstring rows;
    for (int i = 0; i < 3000; ++i)
        rows += L"<row id=\"" + std::to_wstring(i) + L"\" />\n";
    std::wstring xml = L"<template><list><rows>\n" + rows + L"</rows></list></template>";
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(xml.c_str()));
    STemplatePool pool;
    pool.LoadFromXml(doc.child(L"template"));
    SStringW text = pool.FindTemplate(L"list");
    ASSERT_GT(text.Length(), 20479 * 2);
    EXPECT_EQ(std::wstring(text.c_str()), L"<rows>\n" + rows + L"</rows>\n");
}

TEST(XmlWriter, AppendsEveryChunk)
{
    pugi::xml_writer_buff writer;
    EXPECT_EQ(writer.size(), 0u);
    EXPECT_STREQ(writer.buffer(), L"");
    std::wstring expected;
    for (int i = 0; i < 500; ++i) {
        std::wstring chunk(i % 97 + 1, static_cast<wchar_t>(L'a' + i % 26));
        writer.write(chunk.c_str(), chunk.size() * sizeof(wchar_t));
        expected += chunk;
    }
    writer.write(L"x", 1); // half a character is nothing
    EXPECT_TRUE(writer.complete());
    EXPECT_EQ(writer.size(), expected.size());
    EXPECT_EQ(std::wstring(writer.buffer()), expected);
}
