#pragma once
// What a function-test page shows for one polled joystick state: the connection, the stick,
// the hats, the button and mode lamps, the axis bars and the vibration preview of the stick.
// Pure: the page binds it to its controls.
#include <windows.h>
#include "device/DeviceAccess.h"

// The axes an axis bar can show.
enum TestBarAxis { kBarZ, kBarRx, kBarRy, kBarRz, kBarSlider };

struct TestBar {
    const wchar_t* name;
    TestBarAxis axis;
};

// The controls of one design of the page.
struct FunctionTestDesign {
    enum { kMaxLamps = 16, kMaxModeLamps = 3, kMaxBars = 5 };
    int lampCount;     // "lamp1".."lampN": buttons 1..N
    bool secondHat;    // "PovEx2": the hat of buttons 17..20
    int modeLampCount; // "mode1".."modeN": buttons 21..
    int barCount;
    TestBar bars[kMaxBars];
};

// The models with one layer (twelve lamps, twist and throttle) and model 6891.
extern const FunctionTestDesign kOlderTestDesign;
extern const FunctionTestDesign k6891TestDesign;

// The last poll as the page reads it.
struct JoyReading {
    bool responding;
    USHORT vendorId;
    USHORT productId;
    const JoyState* state;
};

// The vibration strengths in percent, left and right motor.
struct VibrationStrengths {
    UINT32 left;
    UINT32 right;
};

const int kTestHatCentred = -1;
const int kTestAxisCentred = 0x7FFF;
const DWORD kPreviewDurationMs = 500;

struct FunctionTestView {
    bool connected;
    int axisX, axisY;
    int hat, secondHat; // hundredths of a degree clockwise from up; kTestHatCentred
    bool lamps[FunctionTestDesign::kMaxLamps];
    // Only while connected; otherwise the mode lamps and the bars keep what they showed.
    bool modeLamps[FunctionTestDesign::kMaxModeLamps];
    int bars[FunctionTestDesign::kMaxBars];
    // Button 1 held: run the motors at these levels for kPreviewDurationMs.
    bool vibrate;
    BYTE left, right;
};

// The page of productId shows a reading as connected only while the joystick answers and is
// that model of the supported vendor.
FunctionTestView ComputeFunctionTestView(const FunctionTestDesign& design, USHORT productId,
                                         const JoyReading& reading, VibrationStrengths strengths);

// The hat of buttons 17 (up), 18 (down), 19 (left) and 20 (right): one direction or two
// neighbouring ones; anything else is centred.
int HatOfButtons(const BYTE* buttons);

// How far an axis (0..65535) is from its centre in 1/10000, 0 below a quarter; at most 10000.
// The motor level is the vibration level of the strength at this scale.
int PreviewDeflection(LONG axis);
