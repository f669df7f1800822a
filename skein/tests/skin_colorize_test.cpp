#include "skin/SColorize.h"
#include "skin/SOffscreenDC.h"
#include "skin_test_env.h"

using namespace skintest;

TEST(Colorize, RgbToHslFigures)
{
    EXPECT_EQ(RgbToHsl(255, 0, 0), 0x00FF80u);
    EXPECT_EQ(RgbToHsl(0, 255, 0), 0x55FF80u);
    EXPECT_EQ(RgbToHsl(0, 0, 255), 0xAAFF80u);
    EXPECT_EQ(RgbToHsl(100, 100, 100), 0xAA0064u); // grey: hue 170, no saturation
    EXPECT_EQ(RgbToHsl(255, 0, 128) >> 16, 0xEBu);  // hue -21 wraps into 8 bits
    int r, g, b;
    HslToRgb(0x120077, &r, &g, &b);
    EXPECT_EQ(r, 0x77);
    EXPECT_EQ(g, 0x77);
    EXPECT_EQ(b, 0x77);
}

TEST(Colorize, WeightFromTheColoursAlpha)
{
    EXPECT_EQ(SColorize(0x00FF0000).Weight(), 204);
    EXPECT_EQ(SColorize(0xFFFF0000).Weight(), 256);
    EXPECT_EQ(SColorize(0x80FF0000).Weight(), 128);
}

TEST(Colorize, FullWeightTakesHueAndSaturationKeepsLightness)
{
    SColorize blue(0xFFFF0000);
    for (DWORD pixel : {Px(0, 255, 0), Px(200, 40, 40), Px(30, 90, 60)}) {
        UINT32 out = blue.Pixel(pixel);
        UINT32 before = RgbToHsl((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
        UINT32 after = RgbToHsl((out >> 16) & 0xFF, (out >> 8) & 0xFF, out & 0xFF);
        EXPECT_NEAR(static_cast<int>(after >> 16), 170, 1) << std::hex << pixel;
        EXPECT_NEAR(static_cast<int>(after & 0xFF), static_cast<int>(before & 0xFF), 1) << std::hex << pixel;
        EXPECT_EQ(out >> 24, 0xFFu);
    }
}

TEST(Colorize, GreyColourTurnsPixelsGreyAndAlphaZeroBlends)
{
    // Full weight, no saturation: the pixel's own lightness as grey.
    EXPECT_EQ(SColorize(0xFF808080).Pixel(Px(255, 0, 0)), Px(128, 128, 128));
    // Alpha 0: 204/256 of the grey level (76 for pure red) with 52/256 of the old colour.
    EXPECT_EQ(SColorize(0x00808080).Pixel(Px(255, 0, 0)), Px(112, 60, 60));
}

TEST(Colorize, TransparentAndPremultipliedPixels)
{
    SColorize grey(0xFF808080);
    EXPECT_EQ(grey.Pixel(0x00123456), 0x00123456u);
    EXPECT_EQ(grey.Pixel(0x80404040), 0x803F3F3Fu); // 64 -> 127 -> grey 127 -> 63
    // Channels above alpha are not valid premultiplied values: they clamp instead of overflowing.
    EXPECT_EQ(grey.Pixel(0x80C8C8C8), 0x80808080u);
}

TEST(Colorize, SingleColoursAreTransformedAsOnePixel)
{
    SColorize grey(0xFF808080);
    EXPECT_EQ(grey.Color(0xFF0000FF), 0xFF808080u); // opaque red
    EXPECT_EQ(grey.Color(0x000000FF), 0x000000FFu); // alpha 0 stays unchanged
}

class ColorizeBitmap : public SkinTest {};

TEST_F(ColorizeBitmap, EqualPixelsGiveTheSameResultAsOneByOne)
{
    std::vector<DWORD> pixels;
    for (int i = 0; i < 64 * 16; ++i)
        pixels.push_back(i % 3 == 0 ? Px(255, 0, 0) : i % 3 == 1 ? 0x80404020 : 0);
    SRefPtr<IBitmap> bitmap = NewBitmap(64, 16, pixels);
    SColorize blue(0x00FF0000);
    blue.Bitmap(bitmap);
    const DWORD* out = static_cast<const DWORD*>(bitmap->GetPixelBits());
    for (size_t i = 0; i < pixels.size(); ++i)
        ASSERT_EQ(out[i], blue.Pixel(pixels[i])) << i;
    blue.Bitmap(nullptr);
}

TEST(OffscreenDC, SelectsTheBitmapAndDeletesItOnlyWhenOwned)
{
    HDC screen = GetDC(nullptr);
    HBITMAP kept = CreateCompatibleBitmap(screen, 4, 4);
    HBITMAP owned = CreateCompatibleBitmap(screen, 4, 4);
    BITMAP info;
    {
        SOffscreenDC dc(screen, kept, false);
        ASSERT_NE(dc.Handle(), nullptr);
        EXPECT_EQ(GetCurrentObject(dc.Handle(), OBJ_BITMAP), kept);
        POINT origin = {1, 1};
        GetViewportOrgEx(dc.Handle(), &origin);
        EXPECT_EQ(origin.x, 0);
        SOffscreenDC other(screen, owned, true);
        EXPECT_EQ(GetCurrentObject(other.Handle(), OBJ_BITMAP), owned);
    }
    EXPECT_NE(GetObjectW(kept, sizeof(info), &info), 0);
    EXPECT_EQ(GetObjectW(owned, sizeof(info), &info), 0);
    DeleteObject(kept);
    ReleaseDC(nullptr, screen);
}
