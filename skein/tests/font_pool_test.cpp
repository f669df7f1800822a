#include <gtest/gtest.h>
#include "core/SObjRef.h"
#include "layout/SLayoutSize.h"
#include "res.mgr/SFontPool.h"
#include "translator/STranslator.h"
#include "translator/STranslatorMgr.h"

using namespace SKEIN;

namespace {

// The application's side: a default font and, when set, a translator manager.
class TestEnv : public IFontPoolEnv {
public:
    const SDefaultFontInfo* DefaultFont() override { return &defaults; }
    ITranslatorMgr* TranslatorMgr() override { return translator; }

    SDefaultFontInfo defaults;
    SRefPtr<ITranslatorMgr> translator;
};

class FontPoolTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* factory = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&factory));
        pool = new SFontPool(factory);
        factory->Release();
        env.defaults.face = L"Tahoma";
        env.defaults.style = 12u << 20 | 1; // size 12, charset 1
        SFontPool::SetEnv(&env);
    }
    void TearDown() override
    {
        SFontPool::SetEnv(nullptr);
        delete pool;
    }

    const LOGFONTW& Font(const wchar_t* descriptor, int scale = 100)
    {
        IFont* font = pool->ObtainFont(descriptor, scale);
        EXPECT_NE(font, nullptr) << descriptor;
        static LOGFONTW none = {};
        return font ? *font->LogFont() : none;
    }

    TestEnv env;
    SFontPool* pool = nullptr;
};

} // namespace

TEST_F(FontPoolTest, Heights)
{
    EXPECT_EQ(Font(L"size:12dp", 150).lfHeight, -18);
    EXPECT_EQ(Font(L"", 150).lfHeight, -18);
    EXPECT_EQ(Font(L"adding:2").lfHeight, -14);
    EXPECT_EQ(Font(L"adding:2dp", 150).lfHeight, -21); // 12 * 150 / 100 + 3
    EXPECT_EQ(Font(L"size:12px", 150).lfHeight, -12);
    EXPECT_EQ(Font(L"size:12,size:16").lfHeight, -12); // the earlier piece wins
    EXPECT_EQ(Font(L"size:9000").lfHeight, -4095);    // the 12-bit field saturates instead of wrapping
}

TEST_F(FontPoolTest, Flags)
{
    const LOGFONTW& plain = Font(L"face:Arial");
    EXPECT_EQ(plain.lfWeight, 400);
    EXPECT_EQ(plain.lfItalic, 0);
    EXPECT_EQ(plain.lfCharSet, 1);
    EXPECT_EQ(plain.lfQuality, CLEARTYPE_QUALITY);
    EXPECT_STREQ(plain.lfFaceName, L"arial"); // descriptors are lower-cased

    const LOGFONTW& styled = Font(L"Bold:1,ITALIC:1,underline:1,strike:1,charset:134");
    EXPECT_EQ(styled.lfWeight, 700);
    EXPECT_EQ(styled.lfItalic, 1);
    EXPECT_EQ(styled.lfUnderline, 1);
    EXPECT_EQ(styled.lfStrikeOut, 1);
    EXPECT_EQ(styled.lfCharSet, 134);
    EXPECT_STREQ(styled.lfFaceName, L"Tahoma");

    EXPECT_EQ(Font(L"weight:701").lfWeight, 700); // kept as (701 + 2) / 4 = 175
    EXPECT_EQ(Font(L"weight:300,bold:1").lfWeight, 300);

    env.defaults.style |= 1u << 18; // a bold default font
    EXPECT_EQ(Font(L"size:13").lfWeight, 700);
    EXPECT_EQ(Font(L"size:13,bold:0").lfWeight, 400);
}

TEST_F(FontPoolTest, SameDescriptorSameFont)
{
    IFont* first = pool->ObtainFont(L"face:Arial,size:14dp", 100);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(pool->ObtainFont(L"face:Arial,size:14dp", 100), first);
    EXPECT_EQ(pool->ObtainFont(L"SIZE:14DP,face:arial", 100), first);
    EXPECT_EQ(pool->ObtainFont(L"face:Arial,size:14dp,nocolon", 100), first); // a piece without ':' is ignored
    EXPECT_EQ(pool->ObtainFont(L"face:Arial,size:14dp,a:b:c", 100), first);
    EXPECT_EQ(pool->Count(), 1);

    IFont* withProperty = pool->ObtainFont(L"face:Arial,size:14dp,blur:2", 100);
    EXPECT_NE(withProperty, first); // unknown keys are properties of a separate entry
    EXPECT_EQ(withProperty->LogFont()->lfHeight, -14);
    EXPECT_NE(pool->ObtainFont(L"face:Arial,size:14dp", 150), first);
    EXPECT_EQ(pool->Count(), 3);
}

TEST_F(FontPoolTest, LongFaceIsCut)
{
    std::wstring face(40, L'q');
    EXPECT_EQ(std::wstring(Font((L"face:" + face).c_str()).lfFaceName), face.substr(0, 31));
}

TEST_F(FontPoolTest, TranslatorOverridesFontsByName)
{
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(L"<language name='x' guid='{11111111-2222-3333-4444-555555555555}'>"
                                L"<fonts><font name='title' charset='GB2312' face='SimSun'/></fonts></language>"));
    env.translator.Attach(new STranslatorMgr);
    SRefPtr<ITranslator> translator(new STranslator, false);
    pugi::xml_node language = doc.child(L"language");
    ASSERT_TRUE(translator->Load(&language, kTranslatorLoadXml));
    ASSERT_TRUE(env.translator->InstallTranslator(translator));

    const LOGFONTW& title = Font(L"name:title,size:15");
    EXPECT_STREQ(title.lfFaceName, L"SimSun");
    EXPECT_EQ(title.lfCharSet, 134);
    EXPECT_EQ(title.lfHeight, -15);
    // The same look under another name is a font of its own, untouched by the override.
    const LOGFONTW& body = Font(L"name:body,size:15");
    EXPECT_STREQ(body.lfFaceName, L"Tahoma");
    EXPECT_EQ(body.lfCharSet, 1);
}

TEST_F(FontPoolTest, HolderFollowsScale)
{
    SFontHolder holder;
    EXPECT_EQ(holder.GetFont(), nullptr);
    holder.Rescale(200);
    EXPECT_EQ(holder.GetFont(), nullptr);
    holder.Assign(SStringW(L"size:10dp"), 100);
    ASSERT_NE(holder.GetFont(), nullptr);
    EXPECT_EQ(holder.GetFont()->LogFont()->lfHeight, -10);
    holder.Rescale(200);
    EXPECT_EQ(holder.GetFont()->LogFont()->lfHeight, -20);
    EXPECT_EQ(holder.GetFont(), pool->ObtainFont(L"size:10dp", 200));
}

TEST(FontPool, NothingIsStoredWhenTheFontCannotBeMade)
{
    SFontPool pool(nullptr);
    EXPECT_EQ(pool.ObtainFont(L"size:12", 100), nullptr);
    EXPECT_EQ(pool.Count(), 0);
}
