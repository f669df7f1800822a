// The five custom controls drawn for their values, probed from an off-screen
// capture of each control's client area.
#include <gtest/gtest.h>

#include <vector>

#include "PovControl.h"
#include "SheetControls.h"

namespace {

const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

class Capture {
public:
    explicit Capture(HWND control)
    {
        RECT client;
        GetClientRect(control, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = CreateCompatibleDC(nullptr);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageA(control, WM_PRINT, WPARAM(dc), PRF_CLIENT | PRF_ERASEBKGND);
        GdiFlush();
        pixels.assign(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }

    COLORREF At(int x, int y) const
    {
        const DWORD p = pixels[y * width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }

    int width, height;
    std::vector<DWORD> pixels;
};

class PelkoControls : public ::testing::Test {
protected:
    static void SetUpTestSuite() { pelko::AcquireSheetControls(GetModuleHandleA(nullptr)); }
    static void TearDownTestSuite() { pelko::ReleaseSheetControls(GetModuleHandleA(nullptr)); }

    void SetUp() override
    {
        parent_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override { DestroyWindow(parent_); }

    HWND Make(const char* className, int width, int height, const char* text = "")
    {
        return CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE, 10, 10, width, height, parent_,
                               HMENU(INT_PTR(kId)), GetModuleHandleA(nullptr), nullptr);
    }

    static const int kId = 1024;
    HWND parent_ = nullptr;
};

TEST_F(PelkoControls, AxesSquareDrawsItsFrameAndACrossAtTheValue)
{
    HWND axes = Make("AxesControl", 80, 60);
    Capture centred(axes);
    EXPECT_EQ(pelko::kFrameShadow, centred.At(0, 0));
    EXPECT_EQ(kWhite, centred.At(79, 59));
    EXPECT_EQ(kBlack, centred.At(1, 1));
    EXPECT_EQ(pelko::kFrameLight, centred.At(78, 58));
    EXPECT_EQ(kBlack, centred.At(40, 30)) << "starts centred";
    EXPECT_EQ(kWhite, centred.At(20, 15));

    pelko::SetControlPoint(parent_, kId, 0, 0);
    Capture low(axes);
    EXPECT_EQ(kBlack, low.At(3, 3));
    EXPECT_EQ(kBlack, low.At(8, 3));
    EXPECT_EQ(kBlack, low.At(3, 8));
    EXPECT_EQ(kWhite, low.At(40, 30));

    pelko::SetControlPoint(parent_, kId, 65535, 65535);
    Capture high(axes);
    EXPECT_EQ(kBlack, high.At(80 - 5, 60 - 4)) << "horizontal stroke ends at W - 4";
    EXPECT_EQ(kBlack, high.At(80 - 9, 60 - 4));
    EXPECT_EQ(kBlack, high.At(80 - 4, 60 - 5)) << "vertical stroke ends at H - 4";
    EXPECT_EQ(kWhite, high.At(80 - 3, 60 - 3)) << "the cross stays inside the frame";
}

TEST_F(PelkoControls, SingleAxisBarFillsItsShareOfTheInnerHeight)
{
    HWND bar = Make("SingleAxesControl", 20, 104);  // inner height 100
    struct Case {
        DWORD value;
        int lowestWhiteY;  // -1: no white inside
        int highestRedY;   // -1: no red
    };
    const Case cases[] = {
        {255, -1, 2},       // initial value: full
        {128, 51, 52},      // 128 * 100 / 255 = 50 rows
        {0, 101, -1},
        {DWORD(-255), -1, 2},  // the magnitude counts
    };
    bool first = true;
    for (const Case& c : cases) {
        if (!first)
            pelko::SetControlValue(parent_, kId, c.value);
        first = false;
        Capture capture(bar);
        if (c.lowestWhiteY >= 0) {
            EXPECT_EQ(kWhite, capture.At(10, c.lowestWhiteY)) << c.value;
        }
        if (c.highestRedY >= 0) {
            EXPECT_EQ(pelko::kRed, capture.At(10, c.highestRedY)) << c.value;
            EXPECT_EQ(pelko::kRed, capture.At(10, 101)) << c.value;
        }
    }
}

TEST_F(PelkoControls, HatArrowPointsWhereTheHatPoints)
{
    // 60 x 60: circle box (10, 10)-(49, 49), centre (29, 29), half size 19.
    HWND hat = Make("PovControl", 60, 60);
    Capture centred(hat);
    EXPECT_EQ(pelko::kHatGrey, centred.At(29, 29)) << "centre dot";
    EXPECT_EQ(pelko::kHatGrey, centred.At(10, 29)) << "circle";
    EXPECT_EQ(kWhite, centred.At(44, 29)) << "no arrow while centred";
    EXPECT_EQ(kWhite, centred.At(29, 14));

    struct Case {
        DWORD angle;
        POINT onArrow, offArrow;
    };
    const Case cases[] = {
        {0, {29, 14}, {29, 44}},
        {9000, {44, 29}, {14, 29}},
        {18000, {29, 44}, {29, 14}},
        {27000, {14, 29}, {44, 29}},
    };
    for (const Case& c : cases) {
        pelko::SetHat(parent_, kId, c.angle, 100, 100);
        Capture capture(hat);
        EXPECT_EQ(pelko::kHatGrey, capture.At(c.onArrow.x, c.onArrow.y)) << c.angle;
        EXPECT_EQ(kWhite, capture.At(c.offArrow.x, c.offArrow.y)) << c.angle;
    }
    pelko::SetHat(parent_, kId, 0xFFFF, 100, 100);
    EXPECT_EQ(kWhite, Capture(hat).At(14, 29));
}

TEST_F(PelkoControls, HatValueCarriesTheLengthOfItsDirection)
{
    Make("PovControl", 60, 60);
    HWND hat = GetDlgItem(parent_, kId);
    pelko::SetHat(parent_, kId, 9000, -80, 40);  // right: |b|
    EXPECT_EQ(DWORD(9000 | (80 << 16)), pelko::ControlValue(hat));
    pelko::SetHat(parent_, kId, 0, 80, -40);  // up: |c|
    EXPECT_EQ(DWORD(40 << 16), pelko::ControlValue(hat));
    pelko::SetHat(parent_, kId, 4500, 80, 40);  // diagonal: the mean
    EXPECT_EQ(DWORD(4500 | (60 << 16)), pelko::ControlValue(hat));
    pelko::SetHat(parent_, kId, DWORD(-1), 80, 40);  // centred
    EXPECT_EQ(DWORD(0xFFFF | (100 << 16)), pelko::ControlValue(hat));
}

TEST_F(PelkoControls, HatInvalidatesTheOldArrowWhenItCentres)
{
    ShowWindow(parent_, SW_SHOWNOACTIVATE);
    HWND hat = Make("PovControl", 60, 60);
    pelko::SetHat(parent_, kId, 9000, 100, 100);
    ValidateRect(hat, nullptr);
    pelko::SetHat(parent_, kId, 0xFFFF, 100, 100);
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(hat, update, FALSE);
    EXPECT_TRUE(PtInRegion(update, 44, 29)) << "the old arrow is repainted away";
    EXPECT_FALSE(PtInRegion(update, 14, 29)) << "only around the arrows";
    DeleteObject(update);
}

TEST_F(PelkoControls, RumbleDotSitsAtTheDemandedCorner)
{
    // 100 x 80: reduced area (5, 5)-(95, 75), centre (50, 40), half sizes 45 and 35.
    HWND rumble = Make("RumbleControl", 100, 80);
    Capture idle(rumble);
    EXPECT_EQ(pelko::kRed, idle.At(50 + 3, 40 + 3)) << "dot at the centre";
    EXPECT_EQ(kBlack, idle.At(50 - 9, 40)) << "centre cross";

    pelko::SetControlPoint(parent_, kId, 10000, -10000);
    const DWORD value = pelko::ControlValue(rumble);
    EXPECT_EQ(10000, short(HIWORD(value))) << "a negative Y leaves X alone";
    EXPECT_EQ(-10000, short(LOWORD(value)));
    Capture rightTop(rumble);
    EXPECT_EQ(pelko::kRed, rightTop.At(95 + 3, 5));
    EXPECT_EQ(pelko::kRed, rightTop.At(95, 5 - 3));
    EXPECT_NE(pelko::kRed, rightTop.At(50 + 3, 40 + 3));

    pelko::SetControlPoint(parent_, kId, -10000, 10000);
    Capture leftBottom(rumble);
    EXPECT_EQ(pelko::kRed, leftBottom.At(5 - 3, 75));
    EXPECT_EQ(pelko::kRed, leftBottom.At(5, 75 + 3));
}

TEST_F(PelkoControls, LampFillsWithItsColour)
{
    HWND lamp = Make("LampControl", 30, 30, "7");
    for (DWORD colour : {DWORD(255), DWORD(150)}) {
        pelko::SetControlValue(parent_, kId, colour);
        Capture capture(lamp);
        EXPECT_EQ(COLORREF(colour), capture.At(15, 6)) << colour;
        EXPECT_EQ(COLORREF(colour), capture.At(7, 22)) << colour;
    }
}

} // namespace
