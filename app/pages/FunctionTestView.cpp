#include "pages/FunctionTestView.h"
#include <cmath>
#include "device/SupportedDevices.h"
#include "protocol/VibrationLevel.h"

const FunctionTestDesign kOlderTestDesign = {12, false, 0, 2, {{L"Twist", kBarRz}, {L"SliderThrottle", kBarZ}}};
const FunctionTestDesign k6891TestDesign = {16, true, 3, 5,
                                            {{L"SliderRZ", kBarRz},
                                             {L"SliderZ", kBarZ},
                                             {L"SliderRx", kBarRx},
                                             {L"SliderRy", kBarRy},
                                             {L"SliderSlider", kBarSlider}}};

namespace {

const int kHatButton = 16;  // button 17, the first of the second hat
const int kModeButton = 20; // button 21, the first mode lamp
const int kAxisMiddle = 32768;
const int kFullDeflection = 10000;
const int kDeadDeflection = 2500;

// Hat direction bits of buttons 17..20 and the readings of the allowed combinations.
enum { kUp = 1, kDown = 2, kLeft = 4, kRight = 8 };
const struct {
    int bits;
    int reading;
} kHatDirections[] = {{kUp, 0},          {kUp | kRight, 4500},    {kRight, 9000},  {kDown | kRight, 13500},
                      {kDown, 18000},    {kDown | kLeft, 22500},  {kLeft, 27000},  {kUp | kLeft, 31500}};

LONG AxisValue(const JoyState& state, TestBarAxis axis)
{
    switch (axis) {
    case kBarZ: return state.lZ;
    case kBarRx: return state.lRx;
    case kBarRy: return state.lRy;
    case kBarRz: return state.lRz;
    case kBarSlider: return state.rglSlider[0];
    }
    return 0;
}

} // namespace

int HatOfButtons(const BYTE* buttons)
{
    int bits = 0;
    for (int i = 0; i < 4; ++i) {
        if (buttons[kHatButton + i])
            bits |= 1 << i;
    }
    for (const auto& direction : kHatDirections) {
        if (direction.bits == bits)
            return direction.reading;
    }
    return kTestHatCentred;
}

int PreviewDeflection(LONG axis)
{
    double scaled = std::fabs((static_cast<double>(axis) - kAxisMiddle) / kAxisMiddle * kFullDeflection);
    // A reading beyond the axis range counts as full deflection.
    int deflection = scaled >= kFullDeflection ? kFullDeflection : static_cast<int>(scaled);
    return deflection < kDeadDeflection ? 0 : deflection;
}

FunctionTestView ComputeFunctionTestView(const FunctionTestDesign& design, USHORT productId,
                                         const JoyReading& reading, VibrationStrengths strengths)
{
    FunctionTestView view = {};
    view.connected = reading.responding && reading.state && reading.vendorId == kSupportedVendorId &&
                     reading.productId == productId;
    if (!view.connected) {
        view.axisX = view.axisY = kTestAxisCentred;
        view.hat = view.secondHat = kTestHatCentred;
        return view;
    }
    const JoyState& state = *reading.state;
    view.axisX = state.lX;
    view.axisY = state.lY;
    view.hat = static_cast<int>(state.rgdwPOV[0]);
    view.secondHat = design.secondHat ? HatOfButtons(state.rgbButtons) : kTestHatCentred;
    for (int i = 0; i < design.lampCount; ++i)
        view.lamps[i] = state.rgbButtons[i] != 0;
    for (int i = 0; i < design.modeLampCount; ++i)
        view.modeLamps[i] = state.rgbButtons[kModeButton + i] != 0;
    for (int i = 0; i < design.barCount; ++i)
        view.bars[i] = AxisValue(state, design.bars[i].axis) >> 8;
    view.vibrate = state.rgbButtons[0] != 0;
    view.left = VibrationLevel(strengths.left, PreviewDeflection(state.lX));
    view.right = VibrationLevel(strengths.right, PreviewDeflection(state.lY));
    return view;
}
