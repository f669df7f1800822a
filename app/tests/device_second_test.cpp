// The second-device look-up over the present HID interfaces: only the companion device's exact
// ids and report layout count, the first match is kept, and a look-up without one clears it.
#include <gtest/gtest.h>
#include "device/SecondDevice.h"
#include "support/SimJoystick.h"

namespace {

HidInterfaceInfo Companion(const wchar_t* path)
{
    return HidInterfaceInfo{path, 0x0E93, 0x7C25, 0xFFC0, 1, 33, 65, 0, 1};
}

TEST(DeviceSecondTest, OnlyTheCompanionsIdsAndReportLayoutMatch)
{
    EXPECT_TRUE(IsSecondDevice(Companion(L"x")));
    struct Case {
        const char* what;
        void (*change)(HidInterfaceInfo&);
    } cases[] = {
        {"vendor", [](HidInterfaceInfo& i) { i.vendorId = 0x2E7A; }},
        {"product", [](HidInterfaceInfo& i) { i.productId = 0x7C24; }},
        {"usage page", [](HidInterfaceInfo& i) { i.usagePage = 0xFF00; }},
        {"usage", [](HidInterfaceInfo& i) { i.usage = 2; }},
        {"input length", [](HidInterfaceInfo& i) { i.inputReportLength = 65; }},
        {"output length", [](HidInterfaceInfo& i) { i.outputReportLength = 64; }},
        {"feature length", [](HidInterfaceInfo& i) { i.featureReportLength = 64; }},
        {"link nodes", [](HidInterfaceInfo& i) { i.linkCollectionNodes = 2; }},
    };
    for (const Case& c : cases) {
        HidInterfaceInfo info = Companion(L"x");
        c.change(info);
        EXPECT_FALSE(IsSecondDevice(info)) << c.what;
    }
}

TEST(DeviceSecondTest, KeepsTheFirstMatchingPath)
{
    {
        SimJoystick sim;
        HidInterfaceInfo nearMiss = Companion(L"\\\\?\\hid#near");
        nearMiss.outputReportLength = 64;
        sim.AddHidInterface(nearMiss);
        sim.AddHidInterface(Companion(L"\\\\?\\hid#first"));
        sim.AddHidInterface(Companion(L"\\\\?\\hid#second"));
        LookUpSecondDevice();
        EXPECT_EQ(L"\\\\?\\hid#first", SecondDevicePath());
    }
    SimJoystick empty;
    LookUpSecondDevice();
    EXPECT_TRUE(SecondDevicePath().empty());
}

} // namespace
