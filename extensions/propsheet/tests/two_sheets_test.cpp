// Two sheets of one process on the same page: closing and releasing one leaves
// the other's page working on its own device.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "PelkoFakes.h"
#include "PelkoHarness.h"
#include "resource.h"

namespace pelko_test {
namespace {

// A sheet object holding stand-in devices whose HID file is a pipe of its own.
struct Joystick {
    Joystick()
    {
        device.path = pipe.Path();
        object = PelkoLibrary::Get().CreateSheet();
        object->SetID(0);
        object->SetDevice(&device);
        object->SetJoyConfig(&config);
    }
    ~Joystick()
    {
        if (object)
            object->Release();
    }

    FakeDevice device;
    FakeJoyConfig config;
    ReportPipe pipe;
    IDIGameCntrlPropSheet* object = nullptr;
};

const char kConnected[] = "Your game controller is connected correctly";

// What shows that a page follows its device: the device is moved, and true
// once the page reflects it.
struct PageCase {
    const char* name;
    int index;
    int status;
    std::function<bool(HWND page, Joystick& joystick)> follows;
};

bool LampFollows(HWND page, Joystick& joystick)
{
    joystick.device.state.rgbButtons[0] ^= 0x80;
    const DWORD lit = joystick.device.state.rgbButtons[0] ? 255 : 150;
    return PumpUntil([&] { return UserData(page, IDC_LAMP_FIRST) == lit; });
}

bool CalibrationFollows(HWND page, Joystick& joystick)
{
    joystick.device.state.lX = joystick.device.state.lX == 0x1000 ? 0x2000 : 0x1000;
    const std::string shown = std::to_string(joystick.device.state.lX / 256);
    return PumpUntil([&] { return Text(page, IDC_CAL_X_TEXT) == shown; });
}

bool VibrationFollows(HWND, Joystick& joystick)
{
    const size_t count = joystick.pipe.Count();
    return PumpUntil([&] { return joystick.pipe.Count() >= count + 5; });
}

TEST(PelkoTwoSheets, ClosingOneLeavesTheOtherOnItsOwnDevice)
{
    const PageCase cases[] = {
        {"base test", kBaseTestPage, IDC_BASE_STATUS, LampFollows},
        {"calibration", kCalibrationPage, IDC_CAL_STATUS, CalibrationFollows},
        {"vibration", kVibrationPage, IDC_VIB_STATUS, VibrationFollows},
    };
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        Joystick a;
        TestSheet windowA(a.object);
        windowA.Select(c.index);
        HWND pageA = windowA.Page(c.index);
        ASSERT_TRUE(c.follows(pageA, a));
        {
            auto b = std::make_unique<Joystick>();
            {
                TestSheet windowB(b->object);
                windowB.Select(c.index);
                EXPECT_TRUE(c.follows(windowB.Page(c.index), *b));
            }
            b.reset();
        }
        const int acquires = a.device.acquires;
        EXPECT_TRUE(c.follows(pageA, a));
        EXPECT_TRUE(c.follows(pageA, a));
        EXPECT_GT(a.device.acquires, acquires);
        EXPECT_EQ(0u, Text(pageA, c.status).find(kConnected));
    }
}

} // namespace
} // namespace pelko_test
