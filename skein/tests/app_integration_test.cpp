// The application wired end to end: a folder of real files (index, UI definition, skin list,
// PNG image, system skins) read through a folder provider, the definition's pools on the
// managers, skins drawing the image, fonts from the definition's default font.
#include <gtest/gtest.h>
#include <png.h>
#include <string>
#include "app_test_support.h"
#include "core/SApp.h"
#include "interface/SImgDecoder-i.h"
#include "res.mgr/SFontPool.h"
#include "res.mgr/SResProviderFiles.h"
#include "res.mgr/SResProviderPE.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SUiDef.h"
#include "res_test_util.h"
#include "translator/STranslatorMgr.h"

using namespace SKEIN;

namespace {

// Red, green / blue, white: opaque, so decoders agree on every byte.
const UINT32 kQuad[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};

std::string EncodePng(const UINT32* pixels, int width, int height)
{
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, pixels, 0, nullptr);
    std::string bytes(size, '\0');
    if (size == 0 || !png_image_write_to_memory(&image, &bytes[0], &size, 0, pixels, 0, nullptr))
        return std::string();
    return bytes;
}

const char kIndex[] =
    "<resource>\n"
    "  <UIDEF><file name='xml_init' path='uidef\\init.xml'/></UIDEF>\n"
    "  <values><file name='skins' path='values\\skins.xml'/></values>\n"
    "  <IMG><file name='quad' path='img\\quad.png'/></IMG>\n"
    "  <XML><file name='SYS_XML_SKIN' path='sys\\skin.xml'/></XML>\n"
    "</resource>\n";

const char kUiDef[] =
    "<uidef>\n"
    "  <font name='main' face='Tahoma' size='14'/>\n"
    "  <color><caption value='#203040'/></color>\n"
    "  <skin src='values:skins'/>\n"
    "  <style><class name='caption' font='bold:1' colorText='@color/caption'/></style>\n"
    "  <template><row><window name='cell'/></row></template>\n"
    "</uidef>\n";

const char kSkins[] =
    "<skin><imglist name='quad' src='img:quad'/><colorrect name='fill' normal='@color/caption'/></skin>";
const char kSystemSkins[] = "<skin><imglist name='_skin.sys.border' src='img:quad'/></skin>";

class AppIntegration : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.Write(L"uires.idx", kIndex);
        m_folder.Write(L"uidef\\init.xml", kUiDef);
        m_folder.Write(L"values\\skins.xml", kSkins);
        m_folder.Write(L"sys\\skin.xml", kSystemSkins);
        std::string png = EncodePng(kQuad, 2, 2);
        ASSERT_FALSE(png.empty());
        m_folder.Write(L"img\\quad.png", png);

        IRenderFactory* render = nullptr;
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&render));
        m_render.Attach(render);
        ASSERT_TRUE(CreateImgDecoderFactory_GDIP(&decoders));
        m_render->SetImgDecoderFactory(decoders);
        decoders->Release();
        m_app = new SApplication(m_render, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
        m_skins = static_cast<SSkinPoolMgr*>(m_app->OwnedSingleton(kSingletonSkinPoolMgr));
    }
    void TearDown() override { delete m_app; }

    SRefPtr<IResProvider> FolderProvider()
    {
        SRefPtr<IResProvider> provider(new SResProviderFiles, false);
        EXPECT_TRUE(provider->Init(m_folder.Path().c_str()));
        return provider;
    }

    // The skin drawn into a 2 x 2 target, pixels in row order.
    std::vector<UINT32> Draw(ISkinObj* skin)
    {
        IRenderTarget* raw = nullptr;
        if (!m_render->CreateRenderTarget(&raw, 2, 2))
            return {};
        SRefPtr<IRenderTarget> rt(raw, false);
        RECT rect = {0, 0, 2, 2};
        skin->DrawByState(rt, &rect, 0);
        return {rt->GetPixel(0, 0), rt->GetPixel(1, 0), rt->GetPixel(0, 1), rt->GetPixel(1, 1)};
    }

    restest::TempFolder m_folder;
    SRefPtr<IRenderFactory> m_render;
    SApplication* m_app = nullptr;
    SSkinPoolMgr* m_skins = nullptr;
};

const std::vector<UINT32> kQuadPixels(kQuad, kQuad + 4);

TEST_F(AppIntegration, FolderDefinitionGivesSkinsStylesTemplatesAndFonts)
{
    EXPECT_EQ(kSysResEditMenuMissing | kSysResMsgBoxMissing, m_app->LoadSystemResources(FolderProvider()));
    ISkinObj* border = m_skins->FindSystemSkin(kSysSkinBorder, 100);
    ASSERT_NE(nullptr, border);
    EXPECT_EQ(kQuadPixels, Draw(border));

    SRefPtr<IResProvider> provider = FolderProvider();
    m_app->AddProvider(provider, L"uidef:xml_init");
    ISkinObj* quad = m_skins->FindSkin(L"quad", 100);
    ASSERT_NE(nullptr, quad);
    EXPECT_EQ(kQuadPixels, Draw(quad));
    ISkinObj* fill = m_skins->FindSkin(L"fill", 100);
    ASSERT_NE(nullptr, fill);
    EXPECT_EQ(std::vector<UINT32>(4, 0xFF203040), Draw(fill)); // the definition's own colour table

    SStylePoolMgr* styles = static_cast<SStylePoolMgr*>(m_app->OwnedSingleton(kSingletonStylePoolMgr));
    EXPECT_STREQ(L"@color/caption", styles->FindStyle(L"caption").attribute(L"colorText").value());
    STemplatePoolMgr* templates = static_cast<STemplatePoolMgr*>(m_app->OwnedSingleton(kSingletonTemplatePoolMgr));
    EXPECT_NE(nullptr, wcsstr(templates->FindTemplate(L"row"), L"cell"));

    SFontPool* fonts = static_cast<SFontPool*>(m_app->OwnedSingleton(kSingletonFontPool));
    IFont* plain = fonts->ObtainFont(L"", 100);
    ASSERT_NE(nullptr, plain);
    EXPECT_STREQ(L"Tahoma", plain->FamilyName());
    EXPECT_EQ(-14, plain->TextSize());
    EXPECT_EQ(plain, fonts->ObtainFont(L"", 100));
    IFont* bold = fonts->ObtainFont(L"bold:1", 150);
    ASSERT_NE(nullptr, bold);
    EXPECT_TRUE(bold->IsBold());
    EXPECT_EQ(-21, bold->TextSize());

    // Removing the provider leaves the definition's pools and their loaded images in place.
    m_app->RemoveProvider(provider);
    EXPECT_FALSE(m_app->FindResProvider(L"img", L"quad"));
    EXPECT_EQ(quad, m_skins->FindSkin(L"quad", 100));
    EXPECT_EQ(kQuadPixels, Draw(quad));
    EXPECT_TRUE(styles->FindStyle(L"caption"));
}

TEST_F(AppIntegration, FontsFollowTheInstalledLanguage)
{
    SRefPtr<IResProvider> provider = FolderProvider();
    m_app->AddProvider(provider, L"uidef:xml_init");
    SRefPtr<STranslatorMgr> manager(new STranslatorMgr, false);
    m_app->InstallTranslatorMgr(manager);
    ASSERT_TRUE(skein_test::InstallLanguage(
        manager, L"<language name='cn' guid='{6A3C91D2-47B0-4E5F-9C18-2D7E05B4A3F1}'>"
                 L"<fonts><font name='main' charset='GB2312' face='SimSun'/></fonts></language>"));

    SFontPool* fonts = static_cast<SFontPool*>(m_app->OwnedSingleton(kSingletonFontPool));
    IFont* main = fonts->ObtainFont(L"size:20", 100);
    ASSERT_NE(nullptr, main);
    EXPECT_STREQ(L"SimSun", main->FamilyName());
    EXPECT_EQ(134, main->LogFont()->lfCharSet);
    IFont* other = fonts->ObtainFont(L"name:title,size:20", 100);
    ASSERT_NE(nullptr, other);
    EXPECT_STREQ(L"Tahoma", other->FamilyName());
}

// The framework's own system-resource library, as the program loads it beside itself.
TEST_F(AppIntegration, SystemResourceLibraryFillsTheBuiltinSkins)
{
    HMODULE module = skein_test::LoadSysResourceLibrary();
    ASSERT_NE(nullptr, module);
    {
        SRefPtr<IResProvider> provider(new SResProviderPE, false);
        provider->Init(module);
        EXPECT_EQ(0, m_app->LoadSystemResources(provider));
    }
    FreeLibrary(module);
    ISkinObj* background = m_skins->FindSystemSkin(kSysSkinWndBkgnd, 100);
    ASSERT_NE(nullptr, background);
    EXPECT_EQ(std::vector<UINT32>(4, 0xFFF0F0F0), Draw(background));
    EXPECT_NE(nullptr, m_skins->FindSystemSkin(kSysSkinBtnNormal, 150)); // other scales are served too
}

} // namespace
