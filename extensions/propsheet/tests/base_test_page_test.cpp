// The base test page in a test sheet, following a scripted device.
#include "PelkoPageFixture.h"

namespace pelko_test {
namespace {

const char kConnected[] = "Your game controller is connected correctly.";
const char kNotConnected[] = "Your game controller is not connected correctly!";

using PelkoBaseTestPage = PelkoPage;

TEST_F(PelkoBaseTestPage, ShowsTheDeviceState)
{
    TestSheet window(sheet);
    HWND page = window.Page(kBaseTestPage);
    EXPECT_EQ(150u, UserData(page, IDC_LAMP_FIRST)) << "lamps start off";
    EXPECT_EQ(0u, UserData(page, IDC_Z_BAR));

    device.state.rgbButtons[0] = 0x80;
    device.state.rgbButtons[23] = 0x80;
    device.state.rgbButtons[24] = 0x80;  // beyond the lamps
    device.state.lX = 0x1234;
    device.state.lY = 0xFEDC;
    device.state.lZ = 0x8000;
    device.state.lRz = 0xFF00;
    device.state.rgdwPOV[0] = 9000;
    ASSERT_TRUE(PumpUntil([&] { return UserData(page, IDC_LAMP_FIRST) == 255; }));
    EXPECT_EQ(kConnected, Text(page, IDC_BASE_STATUS));
    EXPECT_FALSE(Visible(page, IDC_BASE_WARNING));
    EXPECT_EQ(150u, UserData(page, IDC_LAMP_FIRST + 1));
    EXPECT_EQ(255u, UserData(page, IDC_LAMP_FIRST + 23));
    EXPECT_EQ(0x1234FEDCu, UserData(page, IDC_AXES));
    EXPECT_EQ(128u, UserData(page, IDC_Z_BAR));
    EXPECT_EQ(255u, UserData(page, IDC_RZ_BAR));
    EXPECT_EQ(DWORD(9000 | (100 << 16)), UserData(page, IDC_POV));

    device.state.rgbButtons[0] = 0;
    device.state.rgdwPOV[0] = DWORD(-1);
    ASSERT_TRUE(PumpUntil([&] { return UserData(page, IDC_LAMP_FIRST) == 150; }));
    EXPECT_EQ(0xFFFFu, UserData(page, IDC_POV) & 0xFFFF);
    EXPECT_EQ(255u, UserData(page, IDC_LAMP_FIRST + 23));
}

TEST_F(PelkoBaseTestPage, DisconnectShowsItsTextOnceAndWaitsFiftyTicksAfterReplug)
{
    TestSheet window(sheet);
    HWND page = window.Page(kBaseTestPage);
    ASSERT_TRUE(PumpUntil([&] { return Text(page, IDC_BASE_STATUS) == kConnected; }));

    TextCounter status(GetDlgItem(page, IDC_BASE_STATUS));
    device.Unplug();
    ASSERT_TRUE(PumpUntil([&] { return Text(page, IDC_BASE_STATUS) == kNotConnected; }));
    const int unplugged = device.acquires;
    PumpUntil([&] { return device.acquires >= unplugged + 10; });
    EXPECT_EQ(1, status.Count());
    EXPECT_TRUE(Visible(page, IDC_BASE_WARNING));

    device.state.rgbButtons[5] = 0x80;
    const int reads = device.stateReads;
    const int plugged = device.acquires;
    device.Plug();
    ASSERT_TRUE(PumpUntil([&] { return UserData(page, IDC_LAMP_FIRST + 5) == 255; }));
    EXPECT_GE(device.acquires - plugged, 51) << "50 ticks are skipped after the replug";
    // Reads only on the ticks after the skipped ones (a busy loop may run two ticks at once).
    EXPECT_GE(device.stateReads - reads, 1);
    EXPECT_LE(device.stateReads - reads, device.acquires - plugged - 50);
    EXPECT_EQ(2, status.Count());
    EXPECT_EQ(kConnected, Text(page, IDC_BASE_STATUS));
    EXPECT_FALSE(Visible(page, IDC_BASE_WARNING));
}

TEST_F(PelkoBaseTestPage, PageKeepsItsSheetUntilItCloses)
{
    {
        TestSheet window(sheet);
        HWND page = window.Page(kBaseTestPage);
        sheet->Release();  // the panel lets go first
        sheet = nullptr;
        device.state.rgbButtons[2] = 0x80;
        EXPECT_TRUE(PumpUntil([&] { return UserData(page, IDC_LAMP_FIRST + 2) == 255; }));
        EXPECT_EQ(2, device.references);
        EXPECT_EQ(S_FALSE, PelkoLibrary::Get().CanUnloadNow());
    }
    EXPECT_EQ(1, device.references) << "the sheet went with its page";
    EXPECT_EQ(1, config.references);
    EXPECT_EQ(S_OK, PelkoLibrary::Get().CanUnloadNow());
}

TEST(PelkoBaseTestPageWithoutDevice, ShowsNotConnected)
{
    // Nothing handed over: the library prepares the device itself, which this
    // system cannot do, and the page must live with no device at all.
    IDIGameCntrlPropSheet* sheet = PelkoLibrary::Get().CreateSheet();
    sheet->SetID(0);
    {
        TestSheet window(sheet);
        HWND page = window.Page(kBaseTestPage);
        EXPECT_TRUE(PumpUntil([&] { return Text(page, IDC_BASE_STATUS) == kNotConnected; }));
        EXPECT_TRUE(Visible(page, IDC_BASE_WARNING));
        Pump(50);
    }
    sheet->Release();
}

} // namespace
} // namespace pelko_test
