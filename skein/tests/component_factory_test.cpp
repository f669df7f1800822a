// The component factory: each decoder back end by its component name, the other creators, and
// the HIMETRIC conversions.
#include <gtest/gtest.h>
#include <objbase.h>
#include "core/SComponentFactory.h"

using namespace SKEIN;

namespace {

struct DecoderCase {
    const wchar_t* component; // null: the default
    const wchar_t* description; // null: nothing is created
};

const DecoderCase kDecoderCases[] = {
    {nullptr, L"gdi+"},
    {L"imgdecoder-gdip", L"gdi+"},
    {L"imgdecoder-wic", L"wic"},
    {L"imgdecoder-stb", L"stb"},
    {L"imgdecoder-png", L"apng"},
    {L"imgdecoder-PNG", nullptr},
    {L"imgdecoder-bmp", nullptr},
    {L"", nullptr},
};

TEST(ComponentFactory, CreatesEachDecoderBackEndByName)
{
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); // the WIC back end needs COM
    for (const DecoderCase& test : kDecoderCases) {
        SCOPED_TRACE(testing::Message() << (test.component ? test.component : L"(default)"));
        SComponentFactory factory(test.component);
        IImgDecoderFactory* decoders = reinterpret_cast<IImgDecoderFactory*>(1);
        BOOL created = factory.CreateDecoderFactory(&decoders);
        EXPECT_EQ(test.description != nullptr, created != FALSE);
        if (!test.description) {
            EXPECT_EQ(nullptr, decoders);
            continue;
        }
        ASSERT_NE(nullptr, decoders);
        EXPECT_STREQ(test.description, decoders->GetDescription());
        IImgX* image = nullptr;
        EXPECT_TRUE(decoders->CreateImgX(&image));
        if (image)
            image->Release();
        decoders->Release();
    }
    CoUninitialize();
}

TEST(ComponentFactory, RenderFactoryTakesTheDecoderAndMakesBitmaps)
{
    SComponentFactory factory;
    IRenderFactory* render = nullptr;
    IImgDecoderFactory* decoders = nullptr;
    ASSERT_TRUE(factory.CreateRenderFactory(&render));
    ASSERT_TRUE(factory.CreateDecoderFactory(&decoders));
    render->SetImgDecoderFactory(decoders);
    EXPECT_EQ(decoders, render->GetImgDecoderFactory());
    IBitmap* bitmap = nullptr;
    EXPECT_TRUE(render->CreateBitmap(&bitmap));
    bitmap->Release();
    decoders->Release();
    EXPECT_EQ(0, render->Release());
}

TEST(ComponentFactory, CreatesTranslatorManagerAndUninitialisedZipProvider)
{
    SComponentFactory factory;
    ITranslatorMgr* translators = nullptr;
    ASSERT_TRUE(factory.CreateTranslatorMgr(&translators));
    ITranslator* translator = nullptr;
    EXPECT_TRUE(translators->CreateTranslator(&translator));
    translator->Release();
    EXPECT_EQ(0, translators->Release());

    IResProvider* provider = nullptr;
    ASSERT_TRUE(factory.CreateZipResProvider(&provider));
    EXPECT_FALSE(provider->Contains(L"LAYOUT", L"main"));
    EXPECT_EQ(0u, provider->RawSize(L"LAYOUT", L"main"));
    EXPECT_FALSE(provider->Init(nullptr));
    EXPECT_EQ(0, provider->Release());
}

TEST(ComponentFactory, ConvertsHimetricAtTheScreenResolution)
{
    HDC dc = GetDC(nullptr);
    int dpiX = GetDeviceCaps(dc, LOGPIXELSX);
    int dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    SIZE himetric = {2540, 5080};
    SIZE pixels = {};
    HimetricToPixels(&himetric, &pixels);
    EXPECT_EQ(dpiX, pixels.cx);
    EXPECT_EQ(2 * dpiY, pixels.cy);
    SIZE back = {};
    PixelsToHimetric(&pixels, &back);
    EXPECT_EQ(2540, back.cx);
    EXPECT_EQ(5080, back.cy);
    if (dpiX == 96) {
        SIZE ninetySix = {96, 96};
        PixelsToHimetric(&ninetySix, &back);
        EXPECT_EQ(2540, back.cx);
    }
}

} // namespace
