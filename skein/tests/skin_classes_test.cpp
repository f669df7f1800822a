#include <functional>
#include "skin/SColorize.h"
#include "skin_test_env.h"

using namespace skintest;

namespace {

const DWORD kRed = Px(255, 0, 0);
const DWORD kGreen = Px(0, 255, 0);
const DWORD kBlue = Px(0, 0, 255);
const DWORD kYellow = Px(255, 255, 0);
const DWORD kCyan = Px(0, 255, 255);
const DWORD kMagenta = Px(255, 0, 255);
const DWORD kNone = 0;

// Scroll-bar grid: 9 columns x 5 rows of 4-pixel cells, each with its own colour.
DWORD GridColor(int column, int row)
{
    return Px(static_cast<BYTE>(20 + column * 25), static_cast<BYTE>(40 + row * 40), 0x80);
}

// Cells of side cell laid out horizontally (or vertically); cell i filled by fill(i, x, y).
std::vector<DWORD> Strip(int cells, int cell, bool vertical, const std::function<DWORD(int, int, int)>& fill)
{
    int width = vertical ? cell : cell * cells;
    int height = vertical ? cell * cells : cell;
    std::vector<DWORD> pixels(width * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int index = vertical ? y / cell : x / cell;
            pixels[y * width + x] = fill(index, x % cell, y % cell);
        }
    }
    return pixels;
}

// Cell with a 3-pixel border of one colour around a centre of another.
DWORD FramedCell(int x, int y, int side, DWORD border, DWORD centre)
{
    bool edge = x < 3 || y < 3 || x >= side - 3 || y >= side - 3;
    return edge ? border : centre;
}

class SkinClassesTest : public SkinTest {
protected:
    void SetUp() override
    {
        SkinTest::SetUp();
        const DWORD four[] = {kRed, kGreen, kBlue, kYellow};
        Image(L"img:strip4", 32, 8, Strip(4, 8, false, [&](int i, int, int) { return four[i]; }));
        Image(L"img:strip2v", 8, 16, Strip(2, 8, true, [](int i, int, int) { return i ? kMagenta : kCyan; }));
        Image(L"img:frame", 24, 12, Strip(2, 12, false, [](int i, int x, int y) {
                  return i ? FramedCell(x, y, 12, kBlue, kYellow) : FramedCell(x, y, 12, kRed, kGreen);
              }));
        std::vector<DWORD> grid(36 * 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 36; ++x)
                grid[y * 36 + x] = GridColor(x / 4, y / 4);
        Image(L"img:grid", 36, 20, grid);
        Image(L"img:narrow", 4, 4, std::vector<DWORD>(16, kRed)); // too narrow for 9 cells, also at 150
        // One-pixel marker frame around the framed cell: opaque band from 4 to 9 on both axes.
        std::vector<DWORD> bordered(14 * 14, 0);
        for (int y = 1; y < 13; ++y)
            for (int x = 1; x < 13; ++x)
                bordered[y * 14 + x] = FramedCell(x - 1, y - 1, 12, kRed, kGreen);
        for (int i = 4; i < 10; ++i)
            bordered[i] = bordered[i * 14] = 0xFF000000;
        Image(L"img:bordered", 14, 14, bordered);
    }

    void Image(const wchar_t* id, int width, int height, const std::vector<DWORD>& pixels)
    {
        env.AddImage(id, NewBitmap(width, height, pixels));
    }
};

struct Probe {
    int state;
    int x, y;
    DWORD at100;
    DWORD at150;
};

struct SkinCase {
    const wchar_t* skin;
    const wchar_t* xml; // the skin's element; skins it names come first in the same list
    std::vector<Probe> probes;
};

// Scroll-bar state argument.
int Sb(int part, int state, bool vertical)
{
    return SSkinScrollbar::MakeState(part, state, vertical);
}

const SkinCase kCases[] = {
    {L"list", L"<imglist name='list' src='img:strip4' states='4'/>",
     {{0, 20, 20, kRed, kRed}, {1, 20, 20, kGreen, kGreen}, {2, 20, 20, kBlue, kBlue}, {3, 20, 20, kYellow, kYellow},
      {4, 20, 20, kNone, kNone}}},
    {L"listv", L"<imglist name='listv' src='img:strip2v' states='2' vertical='1' stateMap='-0-1-1-0'/>",
     {{0, 20, 20, kCyan, kCyan}, {1, 20, 20, kMagenta, kMagenta}, {2, 20, 20, kMagenta, kMagenta},
      {3, 20, 20, kCyan, kCyan}}},
    // Map entries and states outside the strip draw nothing.
    {L"badmap", L"<imglist name='badmap' src='img:strip4' states='4' stateMap='-1-7'/>",
     {{0, 20, 20, kGreen, kGreen}, {1, 20, 20, kNone, kNone}, {-1, 20, 20, kNone, kNone}}},
    // A state count of 0 is refused: the strip stays one cell.
    {L"zero", L"<imglist name='zero' src='img:strip4' states='0'/>",
     {{0, 4, 20, kRed, kRed}, {0, 36, 20, kYellow, kYellow}, {1, 20, 20, kNone, kNone}}},
    {L"natural", L"<imglist name='natural' src='img:strip4' states='4' autoFit='0'/>",
     {{1, 4, 4, kGreen, kGreen}, {1, 20, 20, kNone, kNone}}},
    {L"center", L"<imgCenter name='center' src='img:strip4' states='4'/>",
     {{2, 20, 20, kBlue, kBlue}, {2, 15, 15, kNone, kBlue}, {2, 2, 2, kNone, kNone}}},
    {L"frame", L"<imgframe name='frame' src='img:frame' states='2' margin='3,3,3,3'/>",
     {{0, 1, 1, kRed, kRed}, {0, 20, 20, kGreen, kGreen}, {0, 38, 20, kRed, kRed}, {1, 2, 2, kBlue, kBlue},
      {1, 20, 20, kYellow, kYellow}}},
    {L"frame2", L"<imgframe2 name='frame2' src='img:bordered'/>",
     {{0, 1, 1, kRed, kRed}, {0, 20, 20, kGreen, kGreen}, {0, 38, 38, kRed, kRed}}},
    {L"sb", L"<scrollbar name='sb' src='img:grid' hasGripper='1'/>",
     {{Sb(kSbPartLineUp, 0, true), 20, 20, GridColor(0, 0), GridColor(0, 0)},
      {Sb(kSbPartLineDown, 2, false), 20, 20, GridColor(5, 2), GridColor(5, 2)},
      {Sb(kSbPartRailUp, 3, false), 20, 20, GridColor(7, 3), GridColor(7, 3)},
      {Sb(kSbPartRailDown, 1, true), 20, 20, GridColor(3, 1), GridColor(3, 1)},
      {Sb(kSbPartThumb, 1, true), 20, 2, GridColor(2, 1), GridColor(2, 1)},
      {Sb(kSbPartThumb, 1, true), 20, 20, GridColor(8, 1), GridColor(8, 1)},
      {Sb(kSbPartThumb, 0, false), 20, 20, GridColor(8, 2), GridColor(8, 2)},
      {Sb(kSbPartCorner, 3, true), 20, 20, GridColor(8, 0), GridColor(8, 0)},
      {Sb(kSbPartLineUp, kSbStateInactive, true), 20, 20, GridColor(0, 0), GridColor(0, 0)},
      {Sb(4, 0, true), 20, 20, kNone, kNone}}},
    {L"sbi", L"<scrollbar name='sbi' src='img:grid' hasInactive='1'/>",
     {{Sb(kSbPartLineUp, kSbStateInactive, true), 20, 20, GridColor(0, 4), GridColor(0, 4)},
      {Sb(kSbPartLineUp, 5, true), 20, 20, kNone, kNone}}},
    {L"sbnarrow", L"<scrollbar name='sbnarrow' src='img:narrow'/>", {{Sb(kSbPartThumb, 0, true), 20, 20, kNone, kNone}}},
    {L"btn",
     L"<button name='btn' cornerRadius='0' colorBorder='#000000' colorUp='#ff0000' colorDown='#ff0000' "
     L"colorUpHover='#00ff00' colorDownHover='#00ff00' colorUpPush='#0000ff' colorDownPush='#0000ff' "
     L"colorUpDisable='#ffff00' colorDownDisable='#ffff00'/>",
     {{0, 20, 20, kRed, kRed}, {1, 20, 20, kGreen, kGreen}, {2, 20, 20, kBlue, kBlue}, {3, 20, 20, kYellow, kYellow},
      {0, 0, 20, Px(0, 0, 0), Px(0, 0, 0)}}},
    {L"rect", L"<colorrect name='rect' normal='#ff0000' hover='#00ff00' normalBorder='#0000ff' borderWidth='2'/>",
     {{0, 20, 20, kRed, kRed}, {0, 0, 20, kBlue, kBlue}, {1, 20, 20, kGreen, kGreen}, {1, 0, 20, kGreen, kGreen},
      {2, 20, 20, kRed, kRed}, {3, 20, 20, kRed, kRed}, {4, 20, 20, kNone, kNone}}},
    {L"box", L"<shape name='box' shape='rectangle'><solid color='#00ffff'/></shape>", {{0, 20, 20, kCyan, kCyan}}},
    {L"oval", L"<shape name='oval' shape='oval'><solid color='#ff00ff'/></shape>",
     {{0, 20, 20, kMagenta, kMagenta}, {0, 1, 1, kNone, kNone}}},
    {L"ringless", L"<shape name='ringless' shape='ring'><solid color='#ff0000'/><stroke width='4' color='#0000ff'/></shape>",
     {{0, 20, 20, kNone, kNone}, {0, 20, 3, kNone, kNone}}},
    {L"grp",
     L"<colorrect name='grp.n' normal='#ff0000'/><imglist name='grp.h' src='img:strip4' states='4'/>"
     L"<group name='grp' normal='grp.n' hover='grp.h' pushDown='missing'/>",
     {{0, 20, 20, kRed, kRed}, {1, 20, 20, kRed, kRed}, {2, 20, 20, kNone, kNone}, {3, 20, 20, kNone, kNone}}},
};

class SkinTable : public SkinClassesTest, public ::testing::WithParamInterface<SkinCase> {};

} // namespace

TEST_P(SkinTable, EveryStateDrawsItsPixelsAt100And150)
{
    const SkinCase& c = GetParam();
    SRefPtr<SSkinPool> pool(new SSkinPool(), false);
    std::wstring xml = std::wstring(L"<skin>") + c.xml + L"</skin>";
    ASSERT_GT(Load(pool, xml.c_str()), 0);
    for (int scale : {100, 150}) {
        ISkinObj* skin = pool->FindSkin(c.skin, scale);
        ASSERT_NE(skin, nullptr) << scale;
        for (const Probe& probe : c.probes) {
            SRefPtr<IRenderTarget> rt = NewTarget(40, 40);
            RECT rect = {0, 0, 40, 40};
            skin->DrawByState(rt, &rect, probe.state);
            EXPECT_EQ(rt->GetPixel(probe.x, probe.y), scale == 100 ? probe.at100 : probe.at150)
                << "scale " << scale << " state " << std::hex << probe.state << " at " << std::dec << probe.x << ","
                << probe.y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllClasses, SkinTable, ::testing::ValuesIn(kCases));

namespace {

struct AttrCase {
    const wchar_t* skinClass;
    const wchar_t* name;
    const wchar_t* value;
    HRESULT result;
};

const AttrCase kAttrCases[] = {
    {L"imglist", L"alpha", L"0x80", S_OK},
    {L"imglist", L"enableColorize", L"0", S_OK},
    {L"imglist", L"SCALE", L"150", S_FALSE},
    {L"imglist", L"name", L"x", S_FALSE},
    {L"imglist", L"src", L"img:strip4", S_FALSE},
    {L"imglist", L"src", L"img:absent", E_FAIL},
    {L"imglist", L"states", L"3", S_FALSE},
    {L"imglist", L"states", L"0", E_FAIL},
    {L"imglist", L"states", L"-2", E_FAIL},
    {L"imglist", L"filterLevel", L"high", S_FALSE},
    {L"imglist", L"filterLevel", L"High", E_FAIL},
    {L"imglist", L"stateMap", L"-0-1-1-0", S_OK},
    {L"imglist", L"unknown", L"1", E_FAIL},
    {L"imgframe", L"margin", L"1,2,3,4", S_FALSE},
    {L"imgframe", L"margin-x", L"2", S_FALSE},
    {L"imgframe", L"margin2", L"1,2,3,4", S_FALSE},
    {L"imgframe", L"margin2", L"1,2,3", E_INVALIDARG},
    {L"imgframe2", L"src", L"img:bordered", S_OK},
    {L"imgframe2", L"src", L"img:absent", E_FAIL},
    {L"imgframe2", L"src", L"img:tiny", E_INVALIDARG},
    {L"scrollbar", L"margin", L"2", S_FALSE},
    {L"scrollbar", L"src", L"img:grid", S_FALSE},
    {L"scrollbar", L"src", L"img:narrow", E_FAIL},
    {L"scrollbar", L"hasGripper", L"1", S_FALSE},
    {L"button", L"colorUp", L"#102030", S_OK},
    {L"button", L"colorUp", L"", E_FAIL},
    {L"button", L"cornerPercent", L"0.5", S_OK},
    {L"gradation", L"colorFrom", L"#ff0000", S_OK},
    {L"gradation", L"vertical", L"0", S_OK},
    {L"colorrect", L"hover", L"#00ff00", S_FALSE},
    {L"colorrect", L"hoverBorder", L"", E_FAIL},
    {L"colorrect", L"borderWidth", L"2", S_FALSE},
    {L"shape", L"shape", L"oval", S_OK},
    {L"shape", L"shape", L"Oval", E_FAIL},
    {L"group", L"hover", L"absent", S_FALSE},
};

ISkinObj* NewSkin(const wchar_t* skinClass)
{
    return dynamic_cast<ISkinObj*>(GetSkinEnv()->CreateObject(SObjectInfo(skinClass, kKindSkin)));
}

} // namespace

TEST_F(SkinClassesTest, AttributeResults)
{
    env.AddImage(L"img:tiny", NewBitmap(1, 5, std::vector<DWORD>(5, kRed)));
    for (const AttrCase& c : kAttrCases) {
        SRefPtr<ISkinObj> skin(NewSkin(c.skinClass), false);
        ASSERT_NE(skin.Get(), nullptr) << c.skinClass;
        EXPECT_EQ(skin->ApplyAttribute(SStringW(c.name), SStringW(c.value), TRUE), c.result)
            << c.skinClass << " " << c.name << "=" << c.value;
    }
}

TEST_F(SkinClassesTest, PartAttributeResults)
{
    SRefPtr<SSkinShape::SStroke> stroke(new SSkinShape::SStroke(), false);
    EXPECT_EQ(stroke->ApplyAttribute(SStringW(L"style"), SStringW(L"dashDotDot"), TRUE), S_OK);
    EXPECT_EQ(stroke->style, PS_DASHDOTDOT);
    EXPECT_EQ(stroke->ApplyAttribute(SStringW(L"style"), SStringW(L"dot"), TRUE), E_FAIL);
    SRefPtr<SSkinShape::SCornerSize> corners(new SSkinShape::SCornerSize(), false);
    EXPECT_EQ(corners->ApplyAttribute(SStringW(L"radius"), SStringW(L"3,5"), TRUE), S_OK);
    EXPECT_EQ(corners->radiusX.ToPixels(100), 3);
    EXPECT_EQ(corners->radiusY.ToPixels(100), 5);
    EXPECT_EQ(corners->ApplyAttribute(SStringW(L"radius"), SStringW(L"1,2,3"), TRUE), E_INVALIDARG);
    SRefPtr<SSkinShape::SGradient> gradient(new SSkinShape::SGradient(), false);
    EXPECT_EQ(gradient->ApplyAttribute(SStringW(L"type"), SStringW(L"sweep"), TRUE), S_OK);
    EXPECT_EQ(gradient->type, 2);
    EXPECT_EQ(gradient->ApplyAttribute(SStringW(L"type"), SStringW(L"conic"), TRUE), E_FAIL);
}

TEST_F(SkinClassesTest, ClassNamesKindsAndStateCounts)
{
    SRefPtr<SSkinPool> pool(new SSkinPool(), false);
    Load(pool, L"<skin><imgframe2 name='f2' src='img:bordered'/><scrollbar name='sb' src='img:grid'/>"
               L"<imglist name='map' src='img:strip2v' states='2' vertical='1' stateMap='-0-1-1-0'/>"
               L"<colorrect name='two' normal='#ff0000' hover='#00ff00'/><colorrect name='none' normal=''/>"
               L"<button name='btn'/><shape name='sized'><size width='10dp' height='6'/></shape>"
               L"<group name='grp' hover='map'/></skin>");
    ISkinObj* frame2 = pool->FindSkin(L"f2", 100);
    EXPECT_TRUE(frame2->MatchesClassName(L"imgframe2"));
    EXPECT_TRUE(frame2->MatchesClassName(L"imgframe"));
    EXPECT_TRUE(frame2->MatchesClassName(L"imglist"));
    EXPECT_TRUE(frame2->MatchesClassName(L"skinObjBase"));
    EXPECT_FALSE(frame2->MatchesClassName(L"scrollbar"));
    EXPECT_EQ(frame2->ObjectKind(), kKindSkin);
    // The marker frame gives margins 3 on each side and is cut off.
    EXPECT_EQ(frame2->GetSkinSize().cx, 12);
    const RECT& margins = static_cast<SSkinImgFrame*>(frame2)->Margins();
    EXPECT_EQ(margins.left, 3);
    EXPECT_EQ(margins.top, 3);
    EXPECT_EQ(margins.right, 3);
    EXPECT_EQ(margins.bottom, 3);

    auto* sb = dynamic_cast<SSkinScrollbar*>(pool->FindSkin(L"sb", 100));
    ASSERT_NE(sb, nullptr);
    EXPECT_EQ(sb->GetIdealSize(), 4);
    RECT part = sb->GetPartRect(kSbPartThumb, 2, FALSE);
    EXPECT_EQ(part.left, 24);
    EXPECT_EQ(part.top, 8);
    EXPECT_EQ(part.right, 28);
    part = sb->GetPartRect(kSbPartGripper, 0, FALSE);
    EXPECT_EQ(part.left, 32);
    EXPECT_EQ(part.top, 8);

    ISkinObj* map = pool->FindSkin(L"map", 100);
    EXPECT_EQ(map->GetStateCount(), 4);
    EXPECT_FALSE(map->IsStateless());
    EXPECT_EQ(map->GetSkinSize().cy, 8);
    EXPECT_EQ(pool->FindSkin(L"two", 100)->GetStateCount(), 2);
    EXPECT_EQ(pool->FindSkin(L"none", 100)->GetStateCount(), 1); // an empty colour is refused
    EXPECT_EQ(pool->FindSkin(L"btn", 100)->GetStateCount(), 4);
    SIZE sized = pool->FindSkin(L"sized", 150)->GetSkinSize();
    EXPECT_EQ(sized.cx, 15); // dp scales, px does not
    EXPECT_EQ(sized.cy, 6);
    EXPECT_EQ(pool->FindSkin(L"grp", 100)->GetSkinSize().cx, 8);
}

TEST_F(SkinClassesTest, ButtonCornerPercentAndRingShape)
{
    SRefPtr<SSkinPool> pool(new SSkinPool(), false);
    Load(pool, L"<skin><button name='round' cornerPercent='0.5' colorUp='#ff0000' colorDown='#ff0000'/>"
               L"<shape name='ring' shape='ring'><stroke width='4' color='#0000ff'/><ring/></shape></skin>");
    // Radius 10 on a 40 x 20 button: the corner pixel stays empty, the middle is filled.
    SRefPtr<IRenderTarget> rt = NewTarget(40, 20);
    RECT rect = {0, 0, 40, 20};
    pool->FindSkin(L"round", 100)->DrawByState(rt, &rect, 0);
    EXPECT_EQ(rt->GetPixel(0, 0), kNone);
    EXPECT_EQ(rt->GetPixel(20, 10), kRed);

    rt = NewTarget(40, 40);
    rect = {0, 0, 40, 40};
    pool->FindSkin(L"ring", 100)->DrawByState(rt, &rect, 0);
    EXPECT_EQ(rt->GetPixel(20, 20), kNone);
    bool stroked = false;
    for (int y = 0; y < 8; ++y)
        stroked = stroked || rt->GetPixel(20, y) != kNone;
    EXPECT_TRUE(stroked);
}

TEST_F(SkinClassesTest, ScaledCopyResamplesTheStripAndScalesMargins)
{
    SRefPtr<SSkinPool> pool(new SSkinPool(), false);
    Load(pool, L"<skin><imglist name='three' src='img:strip4' states='3'/>"
               L"<imgframe name='frame' src='img:frame' states='2' margin='3,2,1,4'/></skin>");
    // A 32 x 8 strip of 3 cells: cells of 10 x 8 become 15 x 12, so the strip is 45 x 12.
    SRefPtr<ISkinObj> copy(pool->FindSkin(L"three", 100)->CreateScaledCopy(150), false);
    auto* list = dynamic_cast<SSkinImgList*>(copy.Get());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetImage()->Width(), 45);
    EXPECT_EQ(list->GetImage()->Height(), 12);
    EXPECT_EQ(copy->GetScale(), 150);
    EXPECT_STREQ(copy->GetName(), L"three");

    SRefPtr<ISkinObj> frame(pool->FindSkin(L"frame", 100)->CreateScaledCopy(200), false);
    const RECT& margins = dynamic_cast<SSkinImgFrame*>(frame.Get())->Margins();
    EXPECT_EQ(margins.left, 6);
    EXPECT_EQ(margins.top, 4);
    EXPECT_EQ(margins.right, 2);
    EXPECT_EQ(margins.bottom, 8);
}

TEST_F(SkinClassesTest, ColorizeRecoloursAndZeroRestores)
{
    SRefPtr<SSkinPool> pool(new SSkinPool(), false);
    Load(pool, L"<skin><imglist name='list' src='img:strip4' states='4'/>"
               L"<imglist name='fixed' src='img:strip4' states='4' enableColorize='0'/>"
               L"<button name='btn' colorUp='#ff0000' colorDown='#ff0000'/></skin>");
    ISkinObj* list = pool->FindSkin(L"list", 100);
    RECT rect = {0, 0, 8, 8};
    auto pixelOf = [&](ISkinObj* skin, int state) {
        SRefPtr<IRenderTarget> rt = NewTarget(8, 8);
        skin->DrawByState(rt, &rect, state);
        return rt->GetPixel(4, 4);
    };
    // Hue of blue, full weight: red becomes blue at red's lightness.
    list->ApplyColorize(0xFFFF0000);
    EXPECT_EQ(pixelOf(list, 0), SColorize(0xFFFF0000).Pixel(kRed));
    EXPECT_NE(pixelOf(list, 0), kRed);
    list->ApplyColorize(0);
    EXPECT_EQ(pixelOf(list, 0), kRed);
    ISkinObj* fixed = pool->FindSkin(L"fixed", 100);
    fixed->ApplyColorize(0xFFFF0000);
    EXPECT_EQ(pixelOf(fixed, 0), kRed);

    ISkinObj* button = pool->FindSkin(L"btn", 100);
    button->ApplyColorize(0xFF00FF00);
    EXPECT_EQ(pixelOf(button, 0), SColorize(0xFF00FF00).Pixel(kRed));
    button->ApplyColorize(0xFFFF0000);
    EXPECT_EQ(pixelOf(button, 0), SColorize(0xFFFF0000).Pixel(kRed)); // from the saved colours, not twice
    button->ApplyColorize(0);
    EXPECT_EQ(pixelOf(button, 0), kRed);
}

TEST_F(SkinClassesTest, ScrollbarWithAnImageNarrowerThanTheGridDrawsNothing)
{
    SRefPtr<ISkinObj> skin(NewSkin(L"scrollbar"), false);
    auto* sb = dynamic_cast<SSkinScrollbar*>(skin.Get());
    ASSERT_NE(sb, nullptr);
    IBitmap* narrow = env.LoadImage(L"img:narrow");
    sb->SetImage(narrow); // set directly, past the "src" check
    narrow->Release();
    EXPECT_EQ(sb->GetIdealSize(), 0);
    SRefPtr<IRenderTarget> rt = NewTarget(40, 40);
    RECT rect = {0, 0, 40, 40};
    for (int part : {kSbPartLineUp, kSbPartThumb, kSbPartCorner})
        sb->DrawByState(rt, &rect, Sb(part, 0, true));
    EXPECT_EQ(rt->GetPixel(20, 20), kNone);
}
