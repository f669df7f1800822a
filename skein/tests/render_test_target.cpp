// Render target: alpha kept around GDI, objects, clip stack, viewport, text, shapes, pixels.
#include "render_test_fixture.h"

using namespace rendertest;

namespace {

constexpr int kSide = 20;

class RenderTarget : public RenderTest {
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        target = NewTarget(kSide, kSide);
    }

    DWORD At(int x, int y) { return target->GetPixel(x, y); }

    void ClearAll(COLORREF color)
    {
        RECT all = {0, 0, kSide, kSide};
        target->ClearRect(&all, color);
    }

    void Select(IRenderObj* object)
    {
        ASSERT_EQ(target->SelectObject(object, nullptr), S_OK);
    }

    SRefPtr<IPen> NewPen(COLORREF color, int width)
    {
        IPen* pen = nullptr;
        EXPECT_EQ(target->CreatePen(PS_SOLID, color, width, &pen), S_OK);
        return SRefPtr<IPen>(pen, false);
    }

    SRefPtr<IBrush> NewBrush(COLORREF color)
    {
        IBrush* brush = nullptr;
        EXPECT_EQ(target->CreateSolidColorBrush(color, &brush), S_OK);
        return SRefPtr<IBrush>(brush, false);
    }

    RECT ClipBox()
    {
        RECT box = {};
        target->GetClipBox(&box);
        return box;
    }

    SRefPtr<IRenderTarget> target;
};

bool SameRect(const RECT& a, const RECT& b)
{
    return EqualRect(&a, &b) != FALSE;
}

constexpr DWORD kRed = Pixel(255, 255, 0, 0);
constexpr COLORREF kRedColor = Color(255, 255, 0, 0);

} // namespace

// The premise of the target's alpha handling.
TEST_F(RenderTarget, PlainGdiLeavesAlphaZeroInThePixelsItTouches)
{
    ClearAll(Color(255, 0, 0, 0));
    HDC dc = target->GetDC(0);
    RECT area = {0, 0, 5, 5};
    HBRUSH brush = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    target->ReleaseDC(dc);
    EXPECT_EQ(At(0, 0), Pixel(0, 255, 0, 0));
    EXPECT_EQ(At(5, 5), Pixel(255, 0, 0, 0));
}

TEST_F(RenderTarget, StartsTransparentWithTheDefaultObjectsSelected)
{
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(kSide * kSide, 0));
    EXPECT_EQ(target->GetTextColor(), 0xFF000000u);
    for (int kind = kRenderObjPen; kind <= kRenderObjFont; ++kind) {
        IRenderObj* current = target->GetCurrentObject(kind);
        ASSERT_NE(current, nullptr) << kind;
        EXPECT_EQ(current->ObjectType(), kind);
        EXPECT_EQ(target->SelectDefaultObject(kind, nullptr), S_FALSE) << kind;
    }
    EXPECT_EQ(target->GetCurrentObject(kRenderObjRegion), nullptr);
    EXPECT_EQ(target->SelectDefaultObject(0, nullptr), E_INVALIDARG);
    EXPECT_EQ(target->SelectDefaultObject(kRenderObjRegion, nullptr), E_INVALIDARG);
    IFont* font = static_cast<IFont*>(target->GetCurrentObject(kRenderObjFont));
    EXPECT_EQ(font->TextSize(), 20);
    EXPECT_STREQ(font->FamilyName(), L"\u5B8B\u4F53");
}

TEST_F(RenderTarget, SelectObjectHandsOutThePreviousObject)
{
    IRenderObj* defaultPen = target->GetCurrentObject(kRenderObjPen);
    SRefPtr<IPen> pen = NewPen(kRedColor, 2);
    IRenderObj* previous = nullptr;
    ASSERT_EQ(target->SelectObject(pen, &previous), S_OK);
    EXPECT_EQ(previous, defaultPen);
    previous->Release();
    EXPECT_EQ(target->GetCurrentObject(kRenderObjPen), static_cast<IRenderObj*>(pen.Get()));

    ASSERT_EQ(target->SelectDefaultObject(kRenderObjPen, &previous), S_OK);
    EXPECT_EQ(previous, static_cast<IRenderObj*>(pen.Get()));
    previous->Release();
    EXPECT_EQ(target->GetCurrentObject(kRenderObjPen), defaultPen);

    IRegion* region = nullptr;
    ASSERT_EQ(target->CreateRegion(&region), S_OK);
    EXPECT_EQ(target->SelectObject(region, &previous), S_OK);
    EXPECT_EQ(previous, nullptr);
    region->Release();
}

TEST_F(RenderTarget, DrawingGoesToTheSelectedBitmap)
{
    SRefPtr<IBitmap> canvas = NewBitmap(3, 3);
    ASSERT_EQ(target->SelectObject(canvas, nullptr), S_OK);
    RECT all = {0, 0, 3, 3};
    target->FillSolidRect(&all, kRedColor);
    EXPECT_EQ(Pixels(canvas), std::vector<DWORD>(9, kRed));
    EXPECT_EQ(At(3, 0), kOutside);

    // a bitmap another target draws into can't be selected as well
    SRefPtr<IRenderTarget> other = NewTarget(4, 4);
    IRenderObj* held = other->GetCurrentObject(kRenderObjBitmap);
    EXPECT_EQ(target->SelectObject(held, nullptr), E_FAIL);
    EXPECT_EQ(target->GetCurrentObject(kRenderObjBitmap), static_cast<IRenderObj*>(canvas.Get()));

    ASSERT_EQ(target->SelectDefaultObject(kRenderObjBitmap, nullptr), S_OK);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(kSide * kSide, 0));
}

TEST_F(RenderTarget, SolidFillsArePremultiplied)
{
    const struct {
        COLORREF color;
        DWORD pixel;
    } cases[] = {
        {Color(0x80, 255, 0, 0), Pixel(0x80, 0x80, 0, 0)},
        {Color(0x80, 255, 255, 255), Pixel(0x80, 0x80, 0x80, 0x80)},
        {Color(0xFF, 10, 20, 30), Pixel(0xFF, 10, 20, 30)},
        {Color(0, 255, 0, 0), 0},
    };
    for (const auto& c : cases) {
        ClearAll(0);
        RECT area = {2, 2, 6, 6};
        ASSERT_EQ(target->FillSolidRect(&area, c.color), S_OK);
        EXPECT_EQ(At(2, 2), c.pixel) << std::hex << c.color;
        EXPECT_EQ(At(5, 5), c.pixel) << std::hex << c.color;
        EXPECT_EQ(At(1, 1), 0u);
        EXPECT_EQ(At(6, 6), 0u);
    }
}

TEST_F(RenderTarget, ClearRectReplacesPixelsAlphaIncluded)
{
    ClearAll(kRedColor);
    RECT corner = {0, 0, 5, 5};
    ASSERT_EQ(target->ClearRect(&corner, 0), S_OK);
    EXPECT_EQ(At(0, 0), 0u);
    EXPECT_EQ(At(4, 4), 0u);
    EXPECT_EQ(At(5, 5), kRed);

    // the colour is stored as it is, not premultiplied
    ASSERT_EQ(target->ClearRect(&corner, Color(0x40, 255, 255, 255)), S_OK);
    EXPECT_EQ(At(0, 0), Pixel(0x40, 255, 255, 255));

    RECT empty = {8, 8, 8, 15};
    ASSERT_EQ(target->ClearRect(&empty, 0), S_OK);
    EXPECT_EQ(At(8, 8), kRed);
}

// Unresolved layout edges (0x11000000) must not size any buffer.
TEST_F(RenderTarget, HugeRectanglesDrawOnlyTheVisiblePart)
{
    const LONG huge = 0x11000000;
    RECT area = {-huge, -huge, huge, huge};
    ASSERT_EQ(target->FillSolidRect(&area, Color(0x80, 255, 0, 0)), S_OK);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(kSide * kSide, Pixel(0x80, 0x80, 0, 0)));
    ASSERT_EQ(target->FillSolidRect(&area, kRedColor), S_OK);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(kSide * kSide, kRed));

    ASSERT_EQ(target->ClearRect(&area, 0), S_OK);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(kSide * kSide, 0));

    EXPECT_EQ(target->GradientFill(&area, TRUE, kRedColor, kRedColor, 128), S_OK);
    EXPECT_EQ(target->DrawText(L"text", 4, &area, DT_SINGLELINE), S_OK);
    EXPECT_EQ(target->FillSolidEllipse(&area, kRedColor), S_OK);
    const POINT line[2] = {{0, 0}, {huge, 5}};
    EXPECT_EQ(target->DrawLines(line, 2), S_OK);
}

TEST_F(RenderTarget, TextKeepsTheSurroundingAlpha)
{
    SRefPtr<IFont> font = NewFont(-18, FW_BOLD);
    Select(font);
    const DWORD background = Pixel(0x80, 0, 0, 0);
    ClearAll(Color(0x80, 0, 0, 0));
    target->SetTextColor(Color(255, 255, 255, 255));
    RECT area = {0, 0, kSide, kSide};
    ASSERT_EQ(target->DrawText(L"W", 1, &area, DT_SINGLELINE), S_OK);

    int glyph = 0;
    const std::vector<DWORD> pixels = Pixels(target);
    for (DWORD pixel : pixels) {
        if (pixel == background)
            continue;
        ++glyph;
        EXPECT_EQ(pixel >> 24, 0xFFu) << std::hex << pixel;
    }
    EXPECT_GT(glyph, 10);
}

TEST_F(RenderTarget, HalfTransparentTextDrawsAtHalfCoverage)
{
    SRefPtr<IFont> font = NewFont(-18, FW_BOLD);
    Select(font);
    EXPECT_EQ(target->SetTextColor(Color(128, 255, 255, 255)), 0xFF000000u);
    EXPECT_EQ(target->GetTextColor(), Color(128, 255, 255, 255));
    ASSERT_EQ(target->TextOut(0, 0, L"W", -1), S_OK);

    int glyph = 0;
    const std::vector<DWORD> pixels = Pixels(target);
    for (DWORD pixel : pixels) {
        if (pixel == 0)
            continue;
        ++glyph;
        EXPECT_EQ(pixel >> 24, 0x80u) << std::hex << pixel;
        EXPECT_LE(pixel & 0xFF, 0x80u);
    }
    EXPECT_GT(glyph, 10);
}

TEST_F(RenderTarget, TextMeasuresWithoutDrawing)
{
    SRefPtr<IFont> font = NewFont(-16);
    Select(font);
    SIZE whole = {}, counted = {};
    ASSERT_EQ(target->MeasureText(L"Hello", -1, &whole), S_OK);
    ASSERT_EQ(target->MeasureText(L"Hello world", 5, &counted), S_OK);
    EXPECT_GT(whole.cx, 0);
    EXPECT_EQ(whole.cx, counted.cx);
    EXPECT_EQ(whole.cy, counted.cy);

    RECT measured = {3, 4, 3, 4};
    ASSERT_EQ(target->DrawText(L"Hello", 5, &measured, DT_CALCRECT | DT_SINGLELINE), S_OK);
    EXPECT_EQ(measured.right - measured.left, whole.cx);
    EXPECT_EQ(measured.bottom - measured.top, whole.cy);

    RECT nothing = {3, 4, 50, 60};
    ASSERT_EQ(target->DrawText(nullptr, 0, &nothing, DT_CALCRECT), S_OK);
    EXPECT_TRUE(SameRect(nothing, RECT{3, 4, 3, 4}));

    RECT area = {0, 0, kSide, kSide};
    EXPECT_EQ(target->DrawText(L"Hello", 0, &area, 0), S_OK);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(kSide * kSide, 0));
}

TEST_F(RenderTarget, ClipPushesNestAndPopsRestore)
{
    RECT all = {0, 0, kSide, kSide};
    RECT topLeft = {0, 0, 10, 10};
    ASSERT_EQ(target->PushClipRect(&topLeft, RGN_AND), S_OK);
    EXPECT_TRUE(SameRect(ClipBox(), topLeft));
    RECT lower = {5, 5, kSide, kSide};
    ASSERT_EQ(target->PushClipRect(&lower, RGN_AND), S_OK);
    EXPECT_TRUE(SameRect(ClipBox(), RECT{5, 5, 10, 10}));
    target->FillSolidRect(&all, kRedColor);
    EXPECT_EQ(At(5, 5), kRed);
    EXPECT_EQ(At(4, 4), 0u);
    EXPECT_EQ(At(10, 10), 0u);

    ASSERT_EQ(target->PopClip(), S_OK);
    EXPECT_TRUE(SameRect(ClipBox(), topLeft));
    ASSERT_EQ(target->PopClip(), S_OK);
    EXPECT_TRUE(SameRect(ClipBox(), all));
    EXPECT_EQ(target->PopClip(), E_FAIL);

    RECT leftHalf = {0, 0, 10, kSide};
    ASSERT_EQ(target->PushClipRect(&leftHalf, RGN_DIFF), S_OK);
    target->ClearRect(&all, Color(255, 0, 0, 255));
    EXPECT_EQ(At(9, 15), 0u);
    EXPECT_EQ(At(10, 15), Pixel(255, 0, 0, 255));
    target->PopClip();
}

TEST_F(RenderTarget, SaveClipCookiesRestoreSeveralLevels)
{
    int cookie = 0;
    ASSERT_EQ(target->SaveClip(&cookie), S_OK);
    EXPECT_GT(cookie, 0);
    RECT small = {2, 2, 4, 4};
    target->PushClipRect(&small, RGN_AND);
    target->IntersectClipRect(&small);
    target->PushClipRect(&small, RGN_AND);
    ASSERT_EQ(target->RestoreClip(cookie), S_OK);
    EXPECT_TRUE(SameRect(ClipBox(), RECT{0, 0, kSide, kSide}));
    EXPECT_EQ(target->PopClip(), E_FAIL);

    RECT hole = {0, 0, kSide, 10};
    target->ExcludeClipRect(&hole);
    EXPECT_TRUE(SameRect(ClipBox(), RECT{0, 10, kSide, kSide}));
}

TEST_F(RenderTarget, ClipFollowsTheViewportOrigin)
{
    POINT previous = {-1, -1};
    ASSERT_EQ(target->OffsetViewportOrg(5, 6, &previous), S_OK);
    EXPECT_EQ(previous.x, 0);
    EXPECT_EQ(previous.y, 0);
    RECT area = {0, 0, 4, 4};
    ASSERT_EQ(target->PushClipRect(&area, RGN_AND), S_OK);
    EXPECT_TRUE(SameRect(ClipBox(), area));

    IRegion* clip = nullptr;
    ASSERT_EQ(target->GetClipRegion(&clip), S_OK);
    RECT box = {};
    clip->GetRgnBox(&box);
    EXPECT_TRUE(SameRect(box, area));

    RECT inner = {1, 1, 3, 3};
    clip->CombineRect(&inner, RGN_COPY);
    ASSERT_EQ(target->PushClipRegion(clip, RGN_AND), S_OK);
    clip->Release();
    EXPECT_TRUE(SameRect(ClipBox(), inner));

    RECT all = {-10, -10, kSide, kSide};
    target->FillSolidRect(&all, kRedColor);
    std::vector<DWORD> pixels = Pixels(target);
    EXPECT_EQ(pixels[(6 + 1) * kSide + 5 + 1], kRed);
    EXPECT_EQ(pixels[(6 + 3) * kSide + 5 + 3], 0u);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kRed), 4);
}

// A pop rolls the DC back to the objects selected at the push; the target's records follow,
// and those objects stay alive though the caller let go of them.
TEST_F(RenderTarget, PopClipKeepsTheRestoredObjectsAliveAndCurrent)
{
    SRefPtr<IFont> big = NewFont(-40);
    IRenderObj* bigObject = big;
    Select(big);
    big = nullptr;
    SIZE before = {};
    target->MeasureText(L"W", 1, &before);

    RECT area = {0, 0, 10, 10};
    ASSERT_EQ(target->PushClipRect(&area, RGN_AND), S_OK);
    target->SetViewportOrg(POINT{3, 3});
    SRefPtr<IFont> small = NewFont(-8);
    Select(small);
    small = nullptr;
    ASSERT_EQ(target->PopClip(), S_OK);

    ASSERT_EQ(target->GetCurrentObject(kRenderObjFont), bigObject);
    EXPECT_EQ(static_cast<IFont*>(bigObject)->TextSize(), -40);
    SIZE after = {};
    target->MeasureText(L"W", 1, &after);
    EXPECT_EQ(after.cy, before.cy);
    POINT origin = {-1, -1};
    target->GetViewportOrg(&origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);
    target->SetPixel(0, 0, kRed);
    EXPECT_EQ(Pixels(target)[0], kRed);
}

TEST_F(RenderTarget, PixelsOutsideTheBitmapReadAsWhiteAndAreNotWritten)
{
    const DWORD value = Pixel(0x80, 1, 2, 3);
    EXPECT_EQ(target->SetPixel(4, 5, value), 0u);
    EXPECT_EQ(target->SetPixel(4, 5, kRed), value);
    EXPECT_EQ(At(4, 5), kRed);

    const POINT outside[] = {{-1, 0}, {0, -1}, {kSide, 0}, {0, kSide}};
    for (const POINT& p : outside) {
        EXPECT_EQ(At(p.x, p.y), kOutside);
        EXPECT_EQ(target->SetPixel(p.x, p.y, kRed), kOutside);
    }
    target->OffsetViewportOrg(10, 10, nullptr);
    EXPECT_EQ(At(-6, -5), kRed);
    EXPECT_EQ(At(10, 0), kOutside);
    std::vector<DWORD> pixels = Pixels(target);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), kRed), 1);
}

TEST_F(RenderTarget, ResizeToNothingKeepsAValidBitmapSelected)
{
    SRefPtr<IBitmap> bitmap(static_cast<IBitmap*>(target->GetCurrentObject(kRenderObjBitmap)));
    auto selectedBitmap = [&]() {
        HDC dc = target->GetDC(0);
        HGDIOBJ selected = ::GetCurrentObject(dc, OBJ_BITMAP);
        target->ReleaseDC(dc);
        return selected;
    };
    RECT all = {0, 0, kSide, kSide};

    ASSERT_EQ(target->Resize(SIZE{0, 0}), S_OK);
    EXPECT_EQ(bitmap->Width(), 0);
    EXPECT_EQ(GetObjectType(selectedBitmap()), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(target->FillSolidRect(&all, kRedColor), S_OK);
    EXPECT_EQ(At(0, 0), kOutside);

    EXPECT_TRUE(FAILED(target->Resize(SIZE{0x10000, 0x10000})));
    EXPECT_EQ(GetObjectType(selectedBitmap()), static_cast<DWORD>(OBJ_BITMAP));

    ASSERT_EQ(target->Resize(SIZE{8, 4}), S_OK);
    EXPECT_EQ(target->GetCurrentObject(kRenderObjBitmap), static_cast<IRenderObj*>(bitmap.Get()));
    DIBSECTION section = {};
    ASSERT_EQ(GetObjectW(selectedBitmap(), sizeof(section), &section), static_cast<int>(sizeof(section)));
    EXPECT_EQ(section.dsBm.bmWidth, 8);
    EXPECT_EQ(section.dsBm.bmHeight, 4);
    target->FillSolidRect(&all, kRedColor);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(32, kRed));
}

TEST_F(RenderTarget, RectangleOutlineKeepsTheAlphaItCovers)
{
    ClearAll(Color(0x80, 0, 0, 0));
    SRefPtr<IPen> pen = NewPen(Color(255, 0, 255, 0), 1);
    Select(pen);
    RECT area = {2, 2, 6, 6};
    ASSERT_EQ(target->DrawRectangle(&area), S_OK);
    const DWORD outline = Pixel(0x80, 0, 255, 0);
    const DWORD untouched = Pixel(0x80, 0, 0, 0);
    EXPECT_EQ(At(2, 2), outline);
    EXPECT_EQ(At(5, 5), outline);
    EXPECT_EQ(At(3, 3), untouched);
    EXPECT_EQ(At(6, 6), untouched);

    SRefPtr<IPen> wide = NewPen(Color(255, 0, 0, 255), 3);
    Select(wide);
    RECT frame = {10, 10, 20, 20};
    target->DrawRectangle(&frame);
    EXPECT_EQ(At(15, 10), Pixel(0x80, 0, 0, 255));
    EXPECT_EQ(At(19, 19), Pixel(0x80, 0, 0, 255));
    EXPECT_EQ(At(15, 15), untouched);
}

TEST_F(RenderTarget, RoundRectFillsTakeTheCornerDifferently)
{
    target = NewTarget(40, 40);
    RECT area = {0, 0, 40, 40};
    const POINT corner = {6, 6};
    ASSERT_EQ(target->FillSolidRoundRect(&area, corner, kRedColor), S_OK);
    EXPECT_EQ(At(1, 1), 0u);
    EXPECT_EQ(At(20, 20), kRed);

    target->ClearRect(&area, 0);
    SRefPtr<IBrush> brush = NewBrush(kRedColor);
    Select(brush);
    ASSERT_EQ(target->FillRoundRect(&area, corner), S_OK);
    EXPECT_EQ(At(1, 1), kRed);
    EXPECT_EQ(At(0, 0), 0u);
}

TEST_F(RenderTarget, EllipsesArcsAndLinesDrawTheirShapes)
{
    RECT area = {0, 0, kSide, kSide};
    ASSERT_EQ(target->FillSolidEllipse(&area, kRedColor), S_OK);
    EXPECT_EQ(At(10, 10), kRed);
    EXPECT_EQ(At(0, 0), 0u);

    ClearAll(0);
    SRefPtr<IPen> pen = NewPen(Color(255, 0, 0, 255), 1);
    Select(pen);
    // a quarter from 0 degrees (right) clockwise to 90 (bottom)
    ASSERT_EQ(target->DrawArc(&area, 0.0f, 90.0f, FALSE), S_OK);
    int bottomRight = 0, others = 0;
    std::vector<DWORD> pixels = Pixels(target);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            if (pixels[y * kSide + x] != 0)
                (x >= 9 && y >= 9 ? bottomRight : others) += 1;
        }
    }
    EXPECT_GT(bottomRight, 5);
    EXPECT_EQ(others, 0);

    ClearAll(0);
    const POINT line[2] = {{0, 5}, {kSide - 1, 5}};
    ASSERT_EQ(target->DrawLines(line, 2), S_OK);
    EXPECT_EQ(At(0, 5), Pixel(255, 0, 0, 255));
    EXPECT_EQ(At(18, 5), Pixel(255, 0, 0, 255));
    EXPECT_EQ(At(kSide - 1, 5), 0u);
    EXPECT_EQ(At(10, 6), 0u);
}

TEST_F(RenderTarget, GradientsRunBetweenTheirColours)
{
    RECT area = {0, 0, kSide, kSide};
    const COLORREF blue = Color(255, 0, 0, 255);
    ASSERT_EQ(target->GradientFill(&area, FALSE, kRedColor, blue, 255), S_OK);
    EXPECT_EQ(At(0, 10), kRed);
    EXPECT_GT(At(19, 10) & 0xFF, 0xF0u);
    EXPECT_EQ(At(19, 10) >> 24, 0xFFu);

    ClearAll(0);
    ASSERT_EQ(target->GradientFill(&area, TRUE, kRedColor, kRedColor, 0x80), S_OK);
    EXPECT_EQ(At(10, 0), Pixel(0x80, 0x80, 0, 0));
    EXPECT_EQ(At(10, 19), Pixel(0x80, 0x80, 0, 0));
}

TEST_F(RenderTarget, BitBltKeepsTheDestinationAlphaExceptForCopies)
{
    SRefPtr<IRenderTarget> source = NewTarget(kSide, kSide);
    RECT all = {0, 0, kSide, kSide};
    source->ClearRect(&all, Color(0x20, 0x0F, 0xF0, 0x3C));
    const struct {
        DWORD rop;
        DWORD pixel;
    } cases[] = {
        {SRCAND, Pixel(0x80, 0x0F, 0xF0, 0x3C)},
        {SRCINVERT, Pixel(0x80, 0xF0, 0x0F, 0xC3)},
        {DSTINVERT, Pixel(0x80, 0, 0, 0)},
        {SRCCOPY, Pixel(0x20, 0x0F, 0xF0, 0x3C)},
    };
    for (const auto& c : cases) {
        ClearAll(Color(0x80, 255, 255, 255));
        RECT area = {0, 0, 10, 10};
        ASSERT_EQ(target->BitBlt(&area, source, 0, 0, c.rop), S_OK);
        EXPECT_EQ(At(0, 0), c.pixel) << std::hex << c.rop;
        EXPECT_EQ(At(10, 10), Pixel(0x80, 255, 255, 255)) << std::hex << c.rop;
    }
    RECT area = {0, 0, 10, 10};
    EXPECT_EQ(target->BitBlt(&area, source, 0, 0, MERGECOPY), E_INVALIDARG);
}

TEST_F(RenderTarget, AlphaBlendStretchesAnotherTarget)
{
    SIZE size = {4, 4};
    IRenderTarget* raw = nullptr;
    ASSERT_EQ(target->CreateCompatibleRenderTarget(size, &raw), S_OK);
    SRefPtr<IRenderTarget> source(raw, false);
    RECT sourceArea = {0, 0, 4, 4};
    source->FillSolidRect(&sourceArea, Color(0x80, 255, 0, 0));
    RECT area = {0, 0, 8, 8};
    ASSERT_EQ(target->AlphaBlend(&area, source, &sourceArea, 255), S_OK);
    EXPECT_EQ(At(7, 7), Pixel(0x80, 0x80, 0, 0));
    EXPECT_EQ(At(8, 8), 0u);
    RECT outside = {0, 0, 9, 9};
    EXPECT_EQ(target->AlphaBlend(&area, source, &outside, 255), E_FAIL);
}

TEST_F(RenderTarget, WorldTransformMovesDrawing)
{
    XFORM shift = {1, 0, 0, 1, 5, 0};
    XFORM previous = {};
    ASSERT_EQ(target->SetTransform(&shift, &previous), S_OK);
    EXPECT_EQ(previous.eM11, 1.0f);
    EXPECT_EQ(previous.eDx, 0.0f);
    XFORM current = {};
    ASSERT_EQ(target->GetTransform(&current), S_OK);
    EXPECT_EQ(current.eDx, 5.0f);
    RECT dot = {0, 0, 1, 1};
    target->FillSolidRect(&dot, kRedColor);
    EXPECT_EQ(Pixels(target)[5], kRed);
    EXPECT_EQ(Pixels(target)[0], 0u);
}

TEST_F(RenderTarget, SetRop2AcceptsTheSixteenMixModes)
{
    int previous = 0;
    EXPECT_EQ(target->SetRop2(0, &previous), E_INVALIDARG);
    EXPECT_EQ(target->SetRop2(17, &previous), E_INVALIDARG);
    ASSERT_EQ(target->SetRop2(R2_XORPEN, &previous), S_OK);
    EXPECT_EQ(previous, R2_COPYPEN);
    ASSERT_EQ(target->SetRop2(R2_COPYPEN, &previous), S_OK);
    EXPECT_EQ(previous, R2_XORPEN);
}

TEST_F(RenderTarget, IconsWithoutAlphaKeepTheAlphaBeneath)
{
    BYTE andMask[32 * 4], xorMask[32 * 4];
    memset(andMask, 0x00, sizeof(andMask));
    memset(xorMask, 0xFF, sizeof(xorMask));
    HICON icon = CreateIcon(nullptr, 32, 32, 1, 1, andMask, xorMask);
    ASSERT_NE(icon, nullptr);
    ClearAll(Color(0x80, 0, 0, 0));
    EXPECT_EQ(target->DrawIconEx(0, 0, icon, 16, 16, DI_NORMAL), S_OK);
    DestroyIcon(icon);
    EXPECT_EQ(At(3, 3), Pixel(0x80, 255, 255, 255));
    EXPECT_EQ(At(16, 16), Pixel(0x80, 0, 0, 0));
}
