// What the function-test pages show for a polled state: connection, stick, hats, lamps, bars
// and the vibration preview, by tables.
#include <gtest/gtest.h>
#include "pages/FunctionTestView.h"

namespace {

JoyState RestingState()
{
    JoyState state = {};
    state.lX = state.lY = 32768;
    state.rgdwPOV[0] = static_cast<DWORD>(-1);
    return state;
}

JoyReading Reading(const JoyState& state, USHORT productId = 6891, bool responding = true, USHORT vendorId = 0x2E7A)
{
    return JoyReading{responding, vendorId, productId, &state};
}

const VibrationStrengths kStrengths = {95, 95};

// Only a responding joystick of the page's own model of the vendor counts as connected; the
// page then shows the resting stick, centred hats and dark lamps whatever is pressed.
TEST(FunctionTestView, ConnectedOnlyForTheAnsweringModelOfThePage)
{
    JoyState pressed = RestingState();
    pressed.lX = 100;
    pressed.rgdwPOV[0] = 9000;
    for (int i = 0; i < 24; ++i)
        pressed.rgbButtons[i] = 0x80;
    const struct {
        const char* what;
        JoyReading reading;
        USHORT page;
        bool connected;
    } kCases[] = {
        {"6891 on its page", Reading(pressed, 6891), 6891, true},
        {"6840 on its page", Reading(pressed, 6840), 6840, true},
        {"6852 on the 6840 page", Reading(pressed, 6852), 6840, false},
        {"6840 on the 6891 page", Reading(pressed, 6840), 6891, false},
        {"other vendor", Reading(pressed, 6891, true, 0x2E7B), 6891, false},
        {"not answering", Reading(pressed, 6891, false), 6891, false},
        {"no device", JoyReading{true, 0x2E7A, 6891, nullptr}, 6891, false},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        for (const FunctionTestDesign* design : {&kOlderTestDesign, &k6891TestDesign}) {
            FunctionTestView view = ComputeFunctionTestView(*design, c.page, c.reading, kStrengths);
            EXPECT_EQ(c.connected, view.connected);
            if (c.connected)
                continue;
            EXPECT_EQ(0x7FFF, view.axisX);
            EXPECT_EQ(0x7FFF, view.axisY);
            EXPECT_EQ(-1, view.hat);
            EXPECT_EQ(-1, view.secondHat);
            for (bool lamp : view.lamps)
                EXPECT_FALSE(lamp);
            EXPECT_FALSE(view.vibrate);
        }
    }
}

// Each control takes its own input: distinct values per axis and a pattern of buttons catch
// any mix-up.
TEST(FunctionTestView, ConnectedViewOfEachDesign)
{
    JoyState state = RestingState();
    state.lX = 1000;
    state.lY = 64000;
    state.lZ = 0x1100;
    state.lRx = 0x2200;
    state.lRy = 0x3300;
    state.lRz = 0xFFFF;
    state.rglSlider[0] = 0x5500;
    state.rglSlider[1] = 0x6600;
    state.rgdwPOV[0] = 22500;
    const int pressed[] = {2, 5, 12, 13, 16, 17, 20, 22};
    for (int button : pressed)
        state.rgbButtons[button - 1] = 0x80;

    FunctionTestView view6891 = ComputeFunctionTestView(k6891TestDesign, 6891, Reading(state), kStrengths);
    EXPECT_EQ(1000, view6891.axisX);
    EXPECT_EQ(64000, view6891.axisY);
    EXPECT_EQ(22500, view6891.hat);
    EXPECT_EQ(4500, view6891.secondHat); // buttons 17 and 20: up and right
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(n == 2 || n == 5 || n == 12 || n == 13 || n == 16, view6891.lamps[n - 1]) << n;
    EXPECT_EQ((std::vector<bool>{false, true, false}),
              std::vector<bool>(view6891.modeLamps, view6891.modeLamps + 3)); // buttons 21..23
    // "SliderRZ", "SliderZ", "SliderRx", "SliderRy", "SliderSlider"
    ASSERT_EQ(5, k6891TestDesign.barCount);
    EXPECT_EQ((std::vector<int>{0xFF, 0x11, 0x22, 0x33, 0x55}), std::vector<int>(view6891.bars, view6891.bars + 5));

    FunctionTestView viewOlder = ComputeFunctionTestView(kOlderTestDesign, 6840, Reading(state, 6840), kStrengths);
    EXPECT_EQ(22500, viewOlder.hat);
    EXPECT_EQ(-1, viewOlder.secondHat);
    for (int n = 1; n <= 16; ++n)
        EXPECT_EQ(n == 2 || n == 5 || n == 12, viewOlder.lamps[n - 1]) << n;
    EXPECT_FALSE(viewOlder.modeLamps[1]);
    // "Twist" from Rz, "SliderThrottle" from Z
    ASSERT_EQ(2, kOlderTestDesign.barCount);
    EXPECT_STREQ(L"Twist", kOlderTestDesign.bars[0].name);
    EXPECT_EQ((std::vector<int>{0xFF, 0x11}), std::vector<int>(viewOlder.bars, viewOlder.bars + 2));
}

// Buttons 17 up, 18 down, 19 left, 20 right: one direction or two neighbours give a reading;
// opposites and three or more are centred.
TEST(FunctionTestView, SecondHatFromButtons17To20)
{
    const int kExpected[16] = {
        -1,    // none
        0,     // up
        18000, // down
        -1,    // up + down
        27000, // left
        31500, // up + left
        22500, // down + left
        -1,    // up + down + left
        9000,  // right
        4500,  // up + right
        13500, // down + right
        -1, -1, -1, -1, -1,
    };
    for (int bits = 0; bits < 16; ++bits) {
        BYTE buttons[128] = {};
        for (int i = 0; i < 4; ++i)
            buttons[16 + i] = (bits >> i) & 1 ? 0x80 : 0;
        buttons[15] = buttons[20] = 0x80; // neighbours of the four do not count
        EXPECT_EQ(kExpected[bits], HatOfButtons(buttons)) << bits;
    }
}

// The preview: a quarter of deflection before anything moves, 95 % at full deflection gives
// 242 on either side, strengths are clamped to 100 % rather than wrapped.
TEST(FunctionTestView, VibrationPreviewLevels)
{
    const struct {
        LONG x, y;
        UINT32 left, right;
        BYTE expectLeft, expectRight;
    } kCases[] = {
        {32768, 32768, 95, 95, 0, 0},     // at rest
        {24904, 40632, 95, 95, 0, 0},     // 24 % either way
        {24576, 32768, 95, 95, 60, 0},    // 25 % left
        {0, 32768, 95, 95, 242, 0},       // full X only
        {32768, 65535, 95, 95, 0, 242},   // full down
        {0, 0, 50, 100, 127, 254},
        {0, 0, 0, 101, 0, 254},           // 101 % counts as 100 %, never as level 1
        {0, 0, 0xFFFFFFFF, 95, 254, 242},
        {-40000, 200000, 95, 95, 242, 242}, // beyond the axis range: full deflection
    };
    for (const auto& c : kCases) {
        JoyState state = RestingState();
        state.lX = c.x;
        state.lY = c.y;
        FunctionTestView view = ComputeFunctionTestView(k6891TestDesign, 6891, Reading(state), {c.left, c.right});
        EXPECT_EQ(c.expectLeft, view.left) << c.x << "," << c.y;
        EXPECT_EQ(c.expectRight, view.right) << c.x << "," << c.y;
        EXPECT_FALSE(view.vibrate);
    }
    // Button 1 held asks for the preview even at rest, with both motors still.
    JoyState held = RestingState();
    held.rgbButtons[0] = 0x80;
    FunctionTestView view = ComputeFunctionTestView(kOlderTestDesign, 6840, Reading(held, 6840), kStrengths);
    EXPECT_TRUE(view.vibrate);
    EXPECT_EQ(0, view.left);
    EXPECT_EQ(0, view.right);
}

} // namespace
