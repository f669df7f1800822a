#pragma once
// A GDI render factory per test, and helpers to make targets, bitmaps and fonts from it.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "interface/SRender-i.h"

namespace rendertest {

using namespace SKEIN;

// Colour value (red in the low byte, alpha in the high byte).
constexpr COLORREF Color(BYTE a, BYTE r, BYTE g, BYTE b)
{
    return (static_cast<COLORREF>(a) << 24) | (static_cast<COLORREF>(b) << 16) | (g << 8) | r;
}

// A stored pixel: bytes blue, green, red, alpha read as one little-endian value.
constexpr DWORD Pixel(BYTE a, BYTE r, BYTE g, BYTE b)
{
    return (static_cast<DWORD>(a) << 24) | (static_cast<DWORD>(r) << 16) | (g << 8) | b;
}

constexpr DWORD kOutside = 0xFFFFFF;

class RenderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* made = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&made));
        factory.Attach(made);
    }

    SRefPtr<IRenderTarget> NewTarget(int width, int height)
    {
        IRenderTarget* target = nullptr;
        EXPECT_TRUE(factory->CreateRenderTarget(&target, width, height));
        return SRefPtr<IRenderTarget>(target, false);
    }

    SRefPtr<IBitmap> NewBitmap(int width, int height, const DWORD* pixels = nullptr)
    {
        IBitmap* bitmap = nullptr;
        EXPECT_TRUE(factory->CreateBitmap(&bitmap));
        EXPECT_EQ(bitmap->Init(width, height, pixels), S_OK);
        return SRefPtr<IBitmap>(bitmap, false);
    }

    SRefPtr<IFont> NewFont(int height, int weight = FW_NORMAL, const wchar_t* face = L"Tahoma")
    {
        LOGFONTW logFont = {};
        logFont.lfHeight = height;
        logFont.lfWeight = weight;
        wcscpy(logFont.lfFaceName, face);
        IFont* font = nullptr;
        EXPECT_TRUE(factory->CreateFont(&font, &logFont));
        return SRefPtr<IFont>(font, false);
    }

    static std::vector<DWORD> Pixels(IBitmap* bitmap)
    {
        const DWORD* bits = static_cast<const DWORD*>(bitmap->GetPixelBits());
        return std::vector<DWORD>(bits, bits + bitmap->Width() * bitmap->Height());
    }

    // Every pixel of the target, row by row.
    static std::vector<DWORD> Pixels(IRenderTarget* target)
    {
        return Pixels(static_cast<IBitmap*>(target->GetCurrentObject(kRenderObjBitmap)));
    }

    SRefPtr<IRenderFactory> factory;
};

} // namespace rendertest
