// Bitmaps drawn onto a render target: natural size, stretched, tiled and nine-part.
#include "render_test_fixture.h"

using namespace rendertest;

namespace {

// A 9 x 9 source whose 3 x 3 cells each have their own opaque colour.
DWORD CellColor(int row, int column)
{
    return Pixel(255, static_cast<BYTE>(40 + 60 * row), static_cast<BYTE>(40 + 60 * column), 9);
}

constexpr DWORD kOpaqueGreen = Pixel(255, 0, 255, 0);

class RenderBitmaps : public RenderTest {
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        target = NewTarget(32, 16);
        DWORD cells[81];
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 9; ++x)
                cells[y * 9 + x] = CellColor(y / 3, x / 3);
        }
        grid = NewBitmap(9, 9, cells);
    }

    DWORD At(int x, int y) { return target->GetPixel(x, y); }

    SRefPtr<IRenderTarget> target;
    SRefPtr<IBitmap> grid;
};

} // namespace

// Columns along the middle row (destination height = source height) for each width and set of
// margins; expected[x] is the colour column drawn at x, -1 for nothing.
TEST_F(RenderBitmaps, NinePartColumnsFollowTheDestinationWidth)
{
    const struct {
        const char* name;
        int width;
        int left, right;
        std::vector<int> expected;
    } cases[] = {
        {"wide", 15, 3, 3, {0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2, 2, -1}},
        {"left margin fills it", 2, 3, 3, {0, 0, -1}},
        {"no middle", 5, 3, 3, {0, 0, 0, 2, 2, -1}},
        {"right margin fills it", 3, 1, 4, {2, 2, 2, -1}},
    };
    const RECT src = {0, 0, 9, 9};
    for (const auto& c : cases) {
        RECT all = {0, 0, 32, 16};
        target->ClearRect(&all, 0);
        RECT dest = {0, 0, c.width, 9};
        RECT margins = {c.left, 3, c.right, 3};
        ASSERT_EQ(target->DrawBitmap9Patch(&dest, grid, &src, &margins, kExpandStretch, 255), S_OK) << c.name;
        for (size_t x = 0; x < c.expected.size(); ++x) {
            DWORD want = c.expected[x] < 0 ? 0 : CellColor(1, c.expected[x]);
            EXPECT_EQ(At(static_cast<int>(x), 4), want) << c.name << " x=" << x;
        }
    }
}

TEST_F(RenderBitmaps, NinePartRowsShrinkLikeColumns)
{
    const RECT src = {0, 0, 9, 9};
    RECT dest = {0, 0, 9, 2};
    RECT margins = {3, 3, 3, 3};
    ASSERT_EQ(target->DrawBitmap9Patch(&dest, grid, &src, &margins, kExpandTile, 255), S_OK);
    EXPECT_EQ(At(0, 0), CellColor(0, 0));
    EXPECT_EQ(At(4, 1), CellColor(0, 1));
    EXPECT_EQ(At(8, 1), CellColor(0, 2));
    EXPECT_EQ(At(0, 2), 0u);
}

TEST_F(RenderBitmaps, NinePartWithMarginsLargerThanTheSourceDrawsNothing)
{
    const RECT src = {0, 0, 9, 9};
    RECT dest = {0, 0, 20, 12};
    RECT margins = {5, 3, 5, 3};
    EXPECT_EQ(target->DrawBitmap9Patch(&dest, grid, &src, &margins, kExpandStretch, 255), S_FALSE);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(32 * 16, 0));
}

TEST_F(RenderBitmaps, TilesRepeatAndCutAtTheEdges)
{
    const RECT src = {0, 0, 6, 6};
    RECT dest = {1, 1, 15, 15};
    ASSERT_EQ(target->DrawBitmapEx(&dest, grid, &src, kExpandTile | (3 << 16), 255), S_OK);
    for (int y = 1; y < 15; ++y) {
        for (int x = 1; x < 15; ++x)
            ASSERT_EQ(At(x, y), CellColor((y - 1) % 6 / 3, (x - 1) % 6 / 3)) << x << "," << y;
    }
    EXPECT_EQ(At(15, 1), 0u);
    EXPECT_EQ(At(1, 15), 0u);
    EXPECT_EQ(At(0, 0), 0u);
}

TEST_F(RenderBitmaps, TilingAnEmptySourceDrawsNothing)
{
    const RECT empties[] = {{3, 3, 3, 6}, {3, 3, 6, 3}, {6, 6, 3, 3}};
    RECT dest = {0, 0, 32, 16};
    for (const RECT& src : empties)
        EXPECT_EQ(target->DrawBitmapEx(&dest, grid, &src, kExpandTile, 255), S_OK);
    EXPECT_EQ(Pixels(target), std::vector<DWORD>(32 * 16, 0));
}

TEST_F(RenderBitmaps, StretchCoversTheDestination)
{
    const RECT src = {3, 3, 6, 6};
    RECT dest = {0, 0, 30, 12};
    ASSERT_EQ(target->DrawBitmapEx(&dest, grid, &src, kExpandStretch, 255), S_OK);
    EXPECT_EQ(At(0, 0), CellColor(1, 1));
    EXPECT_EQ(At(29, 11), CellColor(1, 1));
    EXPECT_EQ(At(30, 11), 0u);
}

TEST_F(RenderBitmaps, NaturalSizeIsCutByDestinationAndBitmap)
{
    RECT dest = {0, 0, 20, 2};
    ASSERT_EQ(target->DrawBitmap(&dest, grid, 6, 0, 255), S_OK);
    EXPECT_EQ(At(0, 0), CellColor(0, 2));
    EXPECT_EQ(At(2, 1), CellColor(0, 2));
    EXPECT_EQ(At(3, 0), 0u);
    EXPECT_EQ(At(0, 2), 0u);

    const RECT src = {3, 0, 9, 9};
    RECT small = {10, 0, 12, 12};
    ASSERT_EQ(target->DrawBitmapEx(&small, grid, &src, kExpandNatural, 255), S_OK);
    EXPECT_EQ(At(10, 0), CellColor(0, 1));
    EXPECT_EQ(At(11, 8), CellColor(2, 1));
    EXPECT_EQ(At(12, 0), 0u);
    EXPECT_EQ(At(10, 9), 0u);
}

TEST_F(RenderBitmaps, ConstantAlphaScalesPremultipliedPixels)
{
    RECT dest = {0, 0, 9, 9};
    ASSERT_EQ(target->DrawBitmap(&dest, grid, 0, 0, 0x80), S_OK);
    DWORD pixel = At(0, 0);
    EXPECT_EQ(pixel >> 24, 0x80u);
    EXPECT_NEAR(static_cast<int>((pixel >> 16) & 0xFF), 40 * 0x80 / 255, 1);
}

// Translucent parts blend over what is there; opaque parts replace it.
TEST_F(RenderBitmaps, TranslucentPixelsBlendOverTheBackground)
{
    const DWORD half = Pixel(0x80, 0x80, 0, 0);
    const DWORD pixels[4] = {half, half, kOpaqueGreen, kOpaqueGreen};
    SRefPtr<IBitmap> bitmap = NewBitmap(2, 2, pixels);
    RECT all = {0, 0, 32, 16};
    target->ClearRect(&all, Color(255, 0, 0, 255));
    const RECT src = {0, 0, 2, 2};
    const UINT modes[] = {kExpandStretch, kExpandTile};
    for (UINT mode : modes) {
        RECT dest = {0, 0, 8, 8};
        ASSERT_EQ(target->DrawBitmapEx(&dest, bitmap, &src, mode, 255), S_OK);
        DWORD blended = At(0, 0);
        EXPECT_EQ(blended >> 24, 0xFFu) << mode;
        EXPECT_EQ((blended >> 16) & 0xFF, 0x80u) << mode;
        EXPECT_NEAR(static_cast<int>(blended & 0xFF), 0x7F, 1) << mode;
        EXPECT_EQ(At(7, 7), kOpaqueGreen) << mode;
        target->ClearRect(&all, Color(255, 0, 0, 255));
    }
}

TEST_F(RenderBitmaps, BitmapsWithoutPixelsAreNotDrawn)
{
    IBitmap* raw = nullptr;
    ASSERT_TRUE(factory->CreateBitmap(&raw));
    SRefPtr<IBitmap> empty(raw, false);
    RECT dest = {0, 0, 5, 5};
    EXPECT_EQ(target->DrawBitmap(&dest, empty, 0, 0, 255), E_FAIL);
    EXPECT_EQ(target->DrawBitmapEx(&dest, nullptr, &dest, kExpandStretch, 255), E_FAIL);
}

TEST_F(RenderBitmaps, BitmapBrushFillsWithThePattern)
{
    IBrush* raw = nullptr;
    ASSERT_EQ(target->CreateBitmapBrush(grid, &raw), S_OK);
    SRefPtr<IBrush> brush(raw, false);
    ASSERT_EQ(target->SelectObject(brush, nullptr), S_OK);
    RECT area = {0, 0, 9, 9};
    ASSERT_EQ(target->FillEllipse(&area), S_OK);
    EXPECT_EQ(At(4, 4), CellColor(1, 1));
    EXPECT_EQ(At(0, 0), 0u);
}
