#include <gtest/gtest.h>
#include "app_test_support.h"
#include "core/SApp.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SUiDef.h"

using namespace SKEIN;
using skein_test::AppliedAndDelete;
using skein_test::MemProvider;

namespace {

typedef std::vector<std::wstring> Applied;

const wchar_t kSimSun[] = L"\x5B8B\x4F53";

const char kFullUiDef[] =
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<UIDEF>\n"
    "  <font name='main' face='Tahoma' size='14' bold='1' italic='TRUE' underline='0' strike='False'\n"
    "        charset='0' weight='700'/>\n"
    "  <unit/>\n"
    "  <string src='values:string'/>\n"
    "  <Color><white value='#ffffff'/><accent value='rgba(1,2,3,4)'/><bad value='#fff'/></Color>\n"
    "  <dim><gap value='15'/><edge value='@dim/gap'/></dim>\n"
    "  <objattr>\n"
    "    <button a='1' class='btn.default'/>\n"
    "    <imgbtn b='2'/>\n"
    "    <window w='0' a='base'/>\n"
    "    <button a='ignored'/>\n"
    "  </objattr>\n"
    "</UIDEF>\n";

class UiDefTest : public skein_test::AppFixture {
protected:
    void TearDown() override
    {
        AppFixture::TearDown();
        SLayoutSize::SetDefaultUnit(L"px");
    }

    // A provider that lives as long as the test.
    MemProvider* NewProvider()
    {
        m_providers.emplace_back(new MemProvider, false);
        return m_providers.back();
    }
    // A new provider holding uidef:xml_init, added with that definition id.
    MemProvider* AddUiDef(const std::string& uidef)
    {
        MemProvider* provider = NewProvider();
        provider->Put(L"UIDEF", L"xml_init", uidef);
        m_app->AddProvider(provider, L"uidef:xml_init");
        return provider;
    }
    IUiDefInfo* Current() { return SUiDef::Current()->GetUiDefInfo(); }

    std::vector<SRefPtr<MemProvider>> m_providers;
};

TEST_F(UiDefTest, AddProviderLoadsFontNamedValuesAndClassDefaults)
{
    MemProvider* provider = NewProvider();
    provider->Put(L"values", L"string", "<string><title value='\xE6\xA0\x87\xE9\xA2\x98'/></string>");
    provider->Put(L"uidef", L"xml_init", kFullUiDef);
    m_app->AddProvider(provider, L"uidef:xml_init");

    ASSERT_NE(nullptr, Current());
    const SDefaultFontInfo& font = Current()->GetDefaultFont();
    EXPECT_STREQ(L"main", font.name);
    EXPECT_STREQ(L"Tahoma", font.face);
    EXPECT_EQ(0x00E5AF00u, font.style); // size 14, bold, italic, weight 700 / 4, charset 0

    EXPECT_STREQ(L"\x6807\x9898", ResolveNamedString(L"@string/title"));
    EXPECT_EQ(0xFFFFFFFFu, ResolveNamedColor(L"@color/white"));
    EXPECT_EQ(0x04030201u, ResolveNamedColor(L"@color/accent"));
    EXPECT_EQ(kNoColor, ResolveNamedColor(L"@color/bad"));
    SLayoutSize gap = ResolveNamedDimension(L"@dim/gap");
    EXPECT_EQ(SLayoutSize::kDp, gap.unit); // an empty unit element selects dp
    EXPECT_EQ(23, gap.ToPixels(150));
    EXPECT_TRUE(ResolveNamedDimension(L"@dim/edge").IsZero()); // table values are not references

    // The class's own defaults, then its bases' ("class" first; the nearest base wins).
    EXPECT_EQ((Applied{L"class=btn.default", L"b=2", L"a=1", L"w=0"}), AppliedAndDelete(m_app->CreateWindowByName(L"imgbtn")));
    EXPECT_EQ((Applied{L"class=btn.default", L"b=2", L"a=1", L"w=0"}), AppliedAndDelete(m_app->CreateWindowByName(L"fancy")));
    EXPECT_EQ((Applied{L"w=0", L"a=base"}), AppliedAndDelete(m_app->CreateWindowByName(L"window")));
    EXPECT_EQ((Applied{L"class=btn.default", L"a=1", L"w=0", L"class=button.ok"}),
              AppliedAndDelete(m_app->CreateWindowByName(L"button.ok")));
    EXPECT_TRUE(m_log->lines.empty());
}

TEST_F(UiDefTest, ObjDefAttrFindsTheNearestClassWithAnElement)
{
    AddUiDef("<uidef><objattr><imgbtn b='2'/><a.b c='3'/></objattr></uidef>");
    SObjDefAttr* attributes = Current()->GetObjDefAttr();
    ASSERT_NE(nullptr, attributes);
    EXPECT_STREQ(L"2", attributes->FindClassAttributes(L"fancy").attribute(L"b").value());
    EXPECT_STREQ(L"3", attributes->FindClassAttributes(L"a.b").attribute(L"c").value());
    EXPECT_FALSE(attributes->FindClassAttributes(L"button"));
    EXPECT_FALSE(attributes->FindClassAttributes(L"unregistered"));
    EXPECT_TRUE(AppliedAndDelete(m_app->CreateWindowByName(L"button")).empty());
}

struct FontCase {
    const char* font;
    FontStyleWord style;
    const wchar_t* name;
    const wchar_t* face;
};

TEST_F(UiDefTest, DefaultFontFillsWhatTheElementLeavesOut)
{
    const FontCase cases[] = {
        {"", 0x00C00001, L"default", kSimSun},
        {"<font bold='1' size='15'/>", 0x00F40001, L"default", kSimSun},
        {"<FONT Face='NoSuchFaceAnywhere' underline='yes' strike='1' charset='134'/>", 0x00CA0086, L"default", kSimSun},
        {"<font name='' face='Tahoma' weight='400' bold='false'/>", 0x00C06401, L"", L"Tahoma"},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.font);
        AddUiDef(std::string("<uidef>") + c.font + "</uidef>");
        const SDefaultFontInfo& font = Current()->GetDefaultFont();
        EXPECT_EQ(c.style, font.style);
        EXPECT_STREQ(c.name, font.name);
        EXPECT_STREQ(c.face, font.face);
    }
}

struct BrokenCase {
    const char* uidef; // null: no resource at all
    const wchar_t* id;
    bool unreadable;
    const char* warning;
};

TEST_F(UiDefTest, BrokenDefinitionLeavesAnEmptyCurrentDefinitionAndALogLine)
{
    const BrokenCase cases[] = {
        {nullptr, L"uidef:xml_init", false, "warning!!!! uidef was not found in the specified resprovider"},
        {"", L"uidef:xml_init", false, "warning!!!! uidef was not found in the specified resprovider"},
        {"<uidef><color><white value='#ffffff'/>", L"uidef:xml_init", false,
         "warning!!! load uidef as xml document failed"},
        {"<uidef/>", L"uidef:xml_init", true, "warning!!! load uidef as xml document failed"},
        {"<layout><color><white value='#ffffff'/></color></layout>", L"uidef:xml_init", false,
         "warning!!! \"uidef\" element is not the root element of uidef xml"},
        {"<uidef><color><white value='#ffffff'/></color></uidef>", L"xml_init", false,
         "warning!!!! Add ResProvider Error."},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.warning);
        AddUiDef("<uidef><color><white value='#ffffff'/></color><font size='20'/></uidef>");
        ASSERT_EQ(0xFFFFFFFFu, ResolveNamedColor(L"@color/white"));
        m_log->lines.clear();

        MemProvider* provider = NewProvider();
        if (c.unreadable)
            provider->PutUnreadable(L"uidef", L"xml_init", 40);
        else if (c.uidef)
            provider->Put(L"uidef", L"xml_init", c.uidef);
        m_app->AddProvider(provider, c.id);

        ASSERT_NE(nullptr, Current());
        EXPECT_EQ(kNoColor, ResolveNamedColor(L"@color/white"));
        EXPECT_EQ(0x00C00001u, Current()->GetDefaultFont().style);
        EXPECT_EQ(nullptr, Current()->GetObjDefAttr());
        EXPECT_EQ((std::vector<std::string>{std::string("3|SKEIN::SUiDefInfo::Init|") + c.warning}), m_log->lines);
    }
}

struct SectionCase {
    const char* what;
    bool inlineKept; // the element's own child is the section
};

TEST_F(UiDefTest, SectionFromAnotherResourceOfTheSameProvider)
{
    MemProvider* provider = AddUiDef("<uidef/>");
    provider->Put(L"values", L"empty", "");
    provider->PutUnreadable(L"values", L"locked", 64);
    provider->Put(L"values", L"broken", "<color><x value='#010203'/>");
    provider->Put(L"values", L"wrongroot", "<colors><x value='#010203'/></colors>");
    provider->Put(L"values", L"good", "<COLOR><x value='#0a0b0c'/></COLOR>");
    const struct {
        const char* src;
        UINT32 x;
    } cases[] = {
        {"values:missing", kNoColor}, {"values:empty", kNoColor},     {"values:locked", kNoColor},
        {"values:broken", 0xFF030201}, {"values:wrongroot", kNoColor}, {"values:good", 0xFF0C0B0A},
        {"values", 0xFF030201},        {"", 0xFF030201},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.src);
        provider->Put(L"uidef", L"xml_init",
                      std::string("<uidef><color src='") + c.src + "'><x value='#010203'/></color></uidef>");
        m_app->AddProvider(provider, L"uidef:xml_init");
        EXPECT_EQ(c.x, ResolveNamedColor(L"@color/x"));
    }
    EXPECT_TRUE(m_log->lines.empty());
}

TEST_F(UiDefTest, UnitElementSetsTheProcessDefaultUnit)
{
    AddUiDef("<uidef><unit defUnit='SP'/><dim><a value='10'/></dim></uidef>");
    EXPECT_EQ(SLayoutSize::kSp, SLayoutSize::DefaultUnit());
    EXPECT_EQ(SLayoutSize::kSp, ResolveNamedDimension(L"@dim/a").unit);
    AddUiDef("<uidef><dim><a value='10'/></dim></uidef>"); // no unit element: unchanged
    EXPECT_EQ(SLayoutSize::kSp, SLayoutSize::DefaultUnit());
    AddUiDef("<uidef><unit defUnit='em'/></uidef>");
    EXPECT_EQ(SLayoutSize::kPx, SLayoutSize::DefaultUnit());
}

TEST_F(UiDefTest, CreatedDefinitionIsCurrentOnlyWhileItLoads)
{
    AddUiDef("<uidef><color><a value='#010101'/></color></uidef>");
    MemProvider* provider = NewProvider();
    provider->Put(L"uidef", L"other", "<uidef><color><a value='#020202'/></color></uidef>");
    SUiDef* uiDef = SUiDef::Current();
    IUiDefInfo* before = Current();
    SRefPtr<IUiDefInfo> created(uiDef->CreateUiDefInfo(provider, L"uidef:other"), false);
    EXPECT_EQ(before, Current());
    EXPECT_EQ(0xFF010101u, ResolveNamedColor(L"@color/a"));
    EXPECT_EQ(0xFF020202u, created->GetNamedColor().Resolve(L"@color/a"));
}

TEST_F(UiDefTest, SkinStyleAndTemplateSectionsArePushedAndStayPushed)
{
    SSkinPoolMgr* skins = static_cast<SSkinPoolMgr*>(m_app->OwnedSingleton(kSingletonSkinPoolMgr));
    SStylePoolMgr* styles = static_cast<SStylePoolMgr*>(m_app->OwnedSingleton(kSingletonStylePoolMgr));
    STemplatePoolMgr* templates = static_cast<STemplatePoolMgr*>(m_app->OwnedSingleton(kSingletonTemplatePoolMgr));
    MemProvider* first = NewProvider();
    first->Put(L"values", L"skins", "<skin><colorrect name='bg'/><colorrect name='only.first'/></skin>");
    first->Put(L"uidef", L"xml_init",
               "<uidef><skin src='values:skins'/>"
               "<STYLE><class name='btn' colorText='#ffffff'/><edit colorText='#000000'/></STYLE>"
               "<template><row><window name='x'/></row></template></uidef>");
    m_app->AddProvider(first, L"uidef:xml_init");
    SRefPtr<SSkinPool> firstPool(Current()->GetSkinPool()); // kept even if the manager drops it
    ASSERT_NE(nullptr, firstPool);
    EXPECT_EQ(2, firstPool->Count());
    EXPECT_EQ(firstPool->FindSkin(L"bg", 100), skins->FindSkin(L"bg", 100));
    EXPECT_STREQ(L"#ffffff", styles->FindStyle(L"btn").attribute(L"colorText").value());
    EXPECT_NE(nullptr, wcsstr(templates->FindTemplate(L"row"), L"<window name=\"x\""));

    MemProvider* second = AddUiDef("<uidef><skin><colorrect name='bg'/></skin><style/></uidef>");
    EXPECT_EQ(nullptr, Current()->GetTemplatePool()); // no section, no pool
    ASSERT_NE(nullptr, Current()->GetStylePool());     // an empty section gives an empty pool
    EXPECT_EQ(0, Current()->GetStylePool()->Count());
    ISkinObj* shadowing = Current()->GetSkinPool()->FindSkin(L"bg", 100);
    EXPECT_EQ(shadowing, skins->FindSkin(L"bg", 100));
    EXPECT_NE(firstPool->FindSkin(L"bg", 100), shadowing);
    EXPECT_EQ(firstPool->FindSkin(L"only.first", 100), skins->FindSkin(L"only.first", 100));
    EXPECT_EQ(3, skins->PoolCount()); // the built-in pool and one per definition

    // Removing a provider leaves its definitions' pools in place.
    m_app->RemoveProvider(second);
    m_app->RemoveProvider(first);
    EXPECT_EQ(shadowing, skins->FindSkin(L"bg", 100));
    EXPECT_TRUE(styles->FindStyle(L"edit"));
    EXPECT_TRUE(m_log->lines.empty());
}

TEST(UiDefWithoutApplication, ReferencesGiveDefaultsAndLiteralsStillParse)
{
    ASSERT_EQ(nullptr, SApplication::Instance());
    EXPECT_EQ(nullptr, SUiDef::Current());
    EXPECT_EQ(kNoColor, ResolveNamedColor(L"@color/white"));
    EXPECT_EQ(0xFF030201u, ResolveNamedColor(L"rgb(1,2,3)"));
    EXPECT_STREQ(L"", ResolveNamedString(L"@string/title"));
    EXPECT_STREQ(L"text", ResolveNamedString(L"text"));
    EXPECT_EQ(12, ResolveNamedDimension(L"12px").ToPixels(200));
}

} // namespace
