// Render factory and the objects it makes: identity, bitmaps, fonts, regions.
#include "render_test_fixture.h"

using namespace rendertest;

namespace {

struct KindCase {
    int kind;
    const wchar_t* className;
};

class RenderObjects : public RenderTest {
protected:
    SRefPtr<IRenderObj> Make(int kind)
    {
        SRefPtr<IRenderTarget> target = NewTarget(1, 1);
        IPen* pen = nullptr;
        IBrush* brush = nullptr;
        IBitmap* bitmap = nullptr;
        IFont* font = nullptr;
        IRegion* region = nullptr;
        LOGFONTW logFont = {};
        switch (kind) {
        case kRenderObjPen:
            target->CreatePen(PS_SOLID, 0xFF000000, 1, &pen);
            return SRefPtr<IRenderObj>(pen, false);
        case kRenderObjBrush:
            target->CreateSolidColorBrush(0xFF000000, &brush);
            return SRefPtr<IRenderObj>(brush, false);
        case kRenderObjBitmap:
            factory->CreateBitmap(&bitmap);
            return SRefPtr<IRenderObj>(bitmap, false);
        case kRenderObjFont:
            factory->CreateFont(&font, &logFont);
            return SRefPtr<IRenderObj>(font, false);
        default:
            factory->CreateRegion(&region);
            return SRefPtr<IRenderObj>(region, false);
        }
    }
};

} // namespace

TEST_F(RenderObjects, EachKindNamesItselfAndItsFactory)
{
    const KindCase cases[] = {{kRenderObjPen, L"pen"},
                              {kRenderObjBrush, L"brush"},
                              {kRenderObjBitmap, L"bitmap"},
                              {kRenderObjFont, L"font"},
                              {kRenderObjRegion, L"region"}};
    for (const KindCase& c : cases) {
        SRefPtr<IRenderObj> obj = Make(c.kind);
        ASSERT_TRUE(obj.Get()) << c.kind;
        EXPECT_EQ(obj->ObjectType(), c.kind);
        EXPECT_STREQ(obj->XmlClassName(), c.className);
        EXPECT_TRUE(obj->MatchesClassName(c.className));
        EXPECT_FALSE(obj->MatchesClassName(L"window"));
        EXPECT_EQ(obj->GetRenderFactory(), factory.Get());
        EXPECT_EQ(obj->ApplyAttribute(SStringW(L"color"), SStringW(L"#fff"), FALSE), E_FAIL);
    }
}

TEST_F(RenderObjects, NewBitmapIsEmptyAndInitZeroFillsOrCopies)
{
    IBitmap* raw = nullptr;
    ASSERT_TRUE(factory->CreateBitmap(&raw));
    SRefPtr<IBitmap> bitmap(raw, false);
    EXPECT_EQ(bitmap->Width(), 0);
    EXPECT_EQ(bitmap->Height(), 0);
    EXPECT_EQ(bitmap->GetPixelBits(), nullptr);

    ASSERT_EQ(bitmap->Init(4, 2, nullptr), S_OK);
    EXPECT_EQ(bitmap->Size().cx, 4);
    EXPECT_EQ(bitmap->Size().cy, 2);
    EXPECT_EQ(Pixels(bitmap), std::vector<DWORD>(8, 0));

    const DWORD pixels[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(bitmap->Init(3, 2, pixels), S_OK);
    EXPECT_EQ(Pixels(bitmap), std::vector<DWORD>(pixels, pixels + 6));
}

TEST_F(RenderObjects, InitRejectsBadSizesAndKeepsThePixels)
{
    const DWORD pixels[2] = {7, 8};
    SRefPtr<IBitmap> bitmap = NewBitmap(2, 1, pixels);
    const int bad[][2] = {{-1, 5}, {5, -1}, {0x7FFFFFFF, 2}, {0x10000, 0x10000}};
    for (const auto& size : bad) {
        EXPECT_EQ(bitmap->Init(size[0], size[1], nullptr), E_INVALIDARG) << size[0] << "x" << size[1];
        EXPECT_EQ(Pixels(bitmap), std::vector<DWORD>(pixels, pixels + 2));
    }
    // an empty size is a valid, empty bitmap
    EXPECT_EQ(bitmap->Init(0, 0, nullptr), S_OK);
    EXPECT_EQ(bitmap->Width(), 0);
    EXPECT_EQ(bitmap->GetPixelBits(), nullptr);
}

TEST_F(RenderObjects, CloneAndSameSizeScaleAreIndependentCopies)
{
    const DWORD pixels[4] = {Pixel(255, 1, 2, 3), 0, Pixel(128, 4, 5, 6), 9};
    SRefPtr<IBitmap> source = NewBitmap(2, 2, pixels);
    IBitmap* clone = nullptr;
    ASSERT_EQ(source->Clone(&clone), S_OK);
    SRefPtr<IBitmap> cloneRef(clone, false);
    IBitmap* scaled = nullptr;
    ASSERT_EQ(source->Scale(&scaled, 2, 2, 0), S_OK);
    SRefPtr<IBitmap> scaledRef(scaled, false);

    for (IBitmap* copy : {clone, scaled}) {
        ASSERT_NE(copy, source.Get());
        EXPECT_EQ(Pixels(copy), Pixels(source));
        static_cast<DWORD*>(copy->LockPixelBits())[0] = 0x12345678;
        EXPECT_EQ(Pixels(source)[0], pixels[0]);
    }
}

TEST_F(RenderObjects, ScaleStretchesOntoANewBitmap)
{
    const DWORD red = Pixel(255, 255, 0, 0), blue = Pixel(255, 0, 0, 255);
    const DWORD pixels[2] = {red, blue};
    SRefPtr<IBitmap> source = NewBitmap(2, 1, pixels);
    IBitmap* scaled = nullptr;
    ASSERT_EQ(source->Scale(&scaled, 4, 2, 0), S_OK);
    SRefPtr<IBitmap> scaledRef(scaled, false);
    ASSERT_EQ(scaled->Width(), 4);
    ASSERT_EQ(scaled->Height(), 2);
    EXPECT_EQ(Pixels(scaled), (std::vector<DWORD>{red, red, blue, blue, red, red, blue, blue}));

    IBitmap* none = nullptr;
    EXPECT_EQ(source->Scale(&none, 0, 3, 0), E_INVALIDARG);
    EXPECT_EQ(none, nullptr);
}

TEST_F(RenderObjects, ScaleByPercentRoundsHalvesUp)
{
    SRefPtr<IBitmap> source = NewBitmap(10, 7);
    IBitmap* scaled = nullptr;
    ASSERT_EQ(source->ScaleByPercent(&scaled, 150, 0), S_OK);
    SRefPtr<IBitmap> scaledRef(scaled, false);
    EXPECT_EQ(scaled->Width(), 15);
    EXPECT_EQ(scaled->Height(), 11);
}

TEST_F(RenderObjects, ScalingAnEmptyBitmapFails)
{
    IBitmap* raw = nullptr;
    ASSERT_TRUE(factory->CreateBitmap(&raw));
    SRefPtr<IBitmap> empty(raw, false);
    IBitmap* scaled = nullptr;
    EXPECT_TRUE(FAILED(empty->Scale(&scaled, 4, 4, 0)));
    EXPECT_EQ(scaled, nullptr);
}

TEST_F(RenderObjects, LoadingWithoutADecoderFails)
{
    ASSERT_EQ(factory->GetImgDecoderFactory(), nullptr);
    SRefPtr<IBitmap> bitmap = NewBitmap(1, 1);
    const BYTE bytes[4] = {1, 2, 3, 4};
    EXPECT_EQ(bitmap->LoadFromMemory(bytes, sizeof(bytes)), E_UNEXPECTED);
    EXPECT_EQ(bitmap->LoadFromFile(L"C:\\none.png"), E_UNEXPECTED);
    EXPECT_EQ(bitmap->Save(L"C:\\none.png", nullptr), E_UNEXPECTED);
    EXPECT_EQ(bitmap->Width(), 1);
}

TEST_F(RenderObjects, FontKeepsItsLogFontAndOnlyWeight700IsBold)
{
    const struct {
        int weight;
        BOOL bold;
    } cases[] = {{600, FALSE}, {700, TRUE}, {800, FALSE}};
    for (const auto& c : cases) {
        SRefPtr<IFont> font = NewFont(-14, c.weight);
        EXPECT_EQ(font->IsBold(), c.bold) << c.weight;
    }

    LOGFONTW logFont = {};
    logFont.lfHeight = -13;
    logFont.lfItalic = TRUE;
    logFont.lfStrikeOut = TRUE;
    wcscpy(logFont.lfFaceName, L"Tahoma");
    IFont* raw = nullptr;
    ASSERT_TRUE(factory->CreateFont(&raw, &logFont));
    SRefPtr<IFont> font(raw, false);
    EXPECT_STREQ(font->FamilyName(), L"Tahoma");
    EXPECT_EQ(font->TextSize(), -13);
    EXPECT_TRUE(font->IsItalic());
    EXPECT_TRUE(font->IsStrikeOut());
    EXPECT_FALSE(font->IsUnderline());

    logFont.lfHeight = -30;
    logFont.lfUnderline = TRUE;
    EXPECT_TRUE(font->UpdateFont(&logFont));
    EXPECT_EQ(font->LogFont()->lfHeight, -30);
    EXPECT_TRUE(font->IsUnderline());
}

TEST_F(RenderObjects, RegionStartsEmptyAndCombinesLikeGdi)
{
    IRegion* raw = nullptr;
    ASSERT_TRUE(factory->CreateRegion(&raw));
    SRefPtr<IRegion> region(raw, false);
    RECT box = {1, 1, 1, 1};
    region->GetRgnBox(&box);
    EXPECT_TRUE(region->IsEmpty());
    EXPECT_EQ(box.left | box.top | box.right | box.bottom, 0);

    RECT big = {0, 0, 10, 10}, hole = {0, 0, 5, 10};
    region->CombineRect(&big, RGN_OR);
    region->CombineRect(&hole, RGN_DIFF);
    EXPECT_FALSE(region->PtInRegion(2, 2));
    EXPECT_TRUE(region->PtInRegion(7, 2));
    region->GetRgnBox(&box);
    EXPECT_EQ(box.left, 5);
    EXPECT_TRUE(region->RectInRegion(&big));

    region->Offset(POINT{100, 0});
    EXPECT_TRUE(region->PtInRegion(107, 2));

    RECT small = {0, 0, 2, 2};
    region->CombineRect(&small, RGN_COPY);
    region->GetRgnBox(&box);
    EXPECT_EQ(box.right, 2);
    EXPECT_FALSE(region->PtInRegion(107, 2));

    IRegion* other = nullptr;
    ASSERT_TRUE(factory->CreateRegion(&other));
    SRefPtr<IRegion> otherRef(other, false);
    RECT ellipse = {20, 20, 40, 40};
    other->CombineEllipse(&ellipse, RGN_OR);
    EXPECT_FALSE(other->PtInRegion(20, 20));
    EXPECT_TRUE(other->PtInRegion(30, 30));
    region->CombineRgn(other, RGN_OR);
    EXPECT_TRUE(region->PtInRegion(30, 30));
    EXPECT_TRUE(region->PtInRegion(1, 1));

    RECT rounded = {50, 0, 70, 20};
    region->CombineRoundRect(&rounded, POINT{10, 10}, RGN_OR);
    EXPECT_FALSE(region->PtInRegion(50, 0));
    EXPECT_TRUE(region->PtInRegion(60, 10));

    region->Clear();
    EXPECT_TRUE(region->IsEmpty());
    HRGN native = CreateRectRgn(3, 4, 5, 6);
    region->CopyFromHandle(native);
    DeleteObject(native);
    EXPECT_TRUE(region->PtInRegion(3, 4));
    EXPECT_FALSE(region->PtInRegion(5, 6));
}
