// The vibration test page in a test sheet: the reports it writes to the
// device's HID file (a named pipe here) and the strength it stores.
#include "PelkoPageFixture.h"

#include <commctrl.h>

#include <memory>

namespace pelko_test {
namespace {

const char kConnected[] = "Your game controller is connected correctly!.";
const char kNotConnected[] = "Your game controller is not connected correctly!";
const Report kZero = {0, 2, 8, 0, 0, 0xFF, 0, 0, 0};

Report Rumble(BYTE right, BYTE left)
{
    return {0, 2, 8, right, left, 0xFF, 0, 0, 0};
}

DWORD StoredAmplify(DWORD* type = nullptr)
{
    HKEY key;
    DWORD stored = 0xBAD, size = sizeof stored;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOemKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "Amplify", nullptr, type, reinterpret_cast<BYTE*>(&stored), &size);
        RegCloseKey(key);
    }
    return stored;
}

// A key pressed on the trackbar, as the keyboard delivers it.
void Press(HWND trackbar, UINT key)
{
    SendMessageA(trackbar, WM_KEYDOWN, key, 1);
    SendMessageA(trackbar, WM_KEYUP, key, 0xC0000001);
}

class PelkoVibrationPage : public PelkoPage {
protected:
    void SetUp() override
    {
        PelkoPage::SetUp();
        device.path = pipe.Path();
        SetAmplify(1200);
    }

    // Shows the vibration page and waits for the reports to flow.
    HWND Open(TestSheet& window)
    {
        window.Select(kVibrationPage);
        EXPECT_TRUE(PumpUntil([&] { return pipe.Count() > 0; }));
        return window.Page(kVibrationPage);
    }

    // The last report received; all zeros before any.
    Report Last() const
    {
        const std::vector<ReceivedReport> reports = pipe.Reports();
        return reports.empty() ? Report{} : reports.back().bytes;
    }

    // The strength shown as text and as the trackbar's position.
    static void ExpectStrength(HWND page, const char* shown, LRESULT position)
    {
        EXPECT_EQ(shown, Text(page, IDC_STRENGTH_TEXT));
        EXPECT_EQ(position, SendDlgItemMessageA(page, IDC_STRENGTH, TBM_GETPOS, 0, 0));
    }

    // Waits until the last report is the expected one.
    bool Reaches(const Report& expected)
    {
        return PumpUntil([&] { return Last() == expected; }, 2000);
    }

    ReportPipe pipe;
};

TEST_F(PelkoVibrationPage, TestButtonsRunTheirMotorsForTheirTimeThenTheStickRules)
{
    device.state.lY = 0xFFFF;  // y = 9999: right motor at 254
    TestSheet window(sheet);
    Open(window);
    ASSERT_TRUE(Reaches(Rumble(254, 0)));

    const struct {
        int button;
        Report report;
    } buttons[] = {
        {IDC_BOTH_FORCES, Rumble(255, 255)},
        {IDC_RIGHT_FORCE, Rumble(255, 0)},
        {IDC_STOP, Rumble(254, 0)},
    };
    for (const auto& b : buttons) {
        window.Click(kVibrationPage, b.button);
        EXPECT_TRUE(Reaches(b.report)) << b.button;
    }

    window.Click(kVibrationPage, IDC_LEFT_FORCE);
    const DWORD clicked = GetTickCount();
    ASSERT_TRUE(Reaches(Rumble(0, 255)));
    pipe.Clear();
    ASSERT_TRUE(PumpUntil([&] { return Last() == Rumble(254, 0); }, 5000));
    const DWORD back = pipe.Reports().back().time;
    const std::vector<ReceivedReport> reports = pipe.Reports();
    for (size_t i = 0; i + 1 < reports.size(); ++i)
        ASSERT_EQ(Rumble(0, 255), reports[i].bytes) << i;
    EXPECT_GE(back - clicked, 3700u);
    EXPECT_LE(back - clicked, 4800u);
}

TEST_F(PelkoVibrationPage, StrengthFollowsTheStickOutsideTheDeadBandAndTheStoredAmplify)
{
    TestSheet window(sheet);
    Open(window);
    const struct {
        LONG x;
        LONG y;
        long amplify;  // -1: none stored
        Report report;
    } cases[] = {
        {40959, 0x8000, 1200, kZero},            // x = 2499: inside the dead band
        {40960, 0x8000, 1200, Rumble(0, 63)},    // x = 2500
        {0, 0x8000, 1200, Rumble(0, 255)},       // x = -10000: the sign does not count
        {0, 0, 600, Rumble(127, 127)},           // half strength
        {0, 0x8000, -1, Rumble(0, 255)},         // nothing stored: full strength
        {0x8000, 0, 5000, Rumble(255, 0)},       // above full: full
        {0x8000, 0, 0, kZero},
    };
    for (const auto& c : cases) {
        device.state.lX = c.x;
        device.state.lY = c.y;
        if (c.amplify < 0)
            RemoveAmplify();
        else
            SetAmplify(DWORD(c.amplify));
        EXPECT_TRUE(Reaches(c.report)) << c.x << " " << c.y << " " << c.amplify;
    }
}

TEST_F(PelkoVibrationPage, TrackbarStoresTheStrengthAndShowsItsPercentage)
{
    SetAmplify(900);
    TestSheet window(sheet);
    HWND page = Open(window);
    HWND trackbar = GetDlgItem(page, IDC_STRENGTH);
    ExpectStrength(page, "75%", 900);
    EXPECT_EQ(1200, SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0));

    SendMessageA(trackbar, TBM_SETPOS, TRUE, 600);
    SendMessageA(page, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 600), LPARAM(trackbar));
    EXPECT_EQ("50%", Text(page, IDC_STRENGTH_TEXT));
    DWORD type = 0;
    EXPECT_EQ(600u, StoredAmplify(&type));
    EXPECT_EQ(DWORD(REG_DWORD), type);

    device.state.lX = 0;
    EXPECT_TRUE(Reaches(Rumble(0, 127)));
}

TEST_F(PelkoVibrationPage, WithoutADeviceTheStrengthKeepsItsRange)
{
    // Nothing handed over, and this system's DirectInput cannot prepare a device.
    IDIGameCntrlPropSheet* bare = PelkoLibrary::Get().CreateSheet();
    bare->SetID(0);
    SetAmplify(600);
    {
        TestSheet window(bare);
        window.Select(kVibrationPage);
        HWND page = window.Page(kVibrationPage);
        HWND trackbar = GetDlgItem(page, IDC_STRENGTH);
        ExpectStrength(page, "50%", 600);
        const struct {
            UINT key;
            DWORD stored;
            const char* shown;
        } keys[] = {
            {VK_END, 1200, "100%"},
            {VK_HOME, 0, "0%"},
            {VK_RIGHT, 1, "0%"},
            {VK_END, 1200, "100%"},
        };
        for (const auto& k : keys) {
            Press(trackbar, k.key);
            EXPECT_EQ(k.stored, StoredAmplify()) << k.key;
            EXPECT_EQ(k.shown, Text(page, IDC_STRENGTH_TEXT)) << k.key;
        }
    }
    bare->Release();
}

TEST_F(PelkoVibrationPage, StrengthAboveFullIsNotStoredCut)
{
    SetAmplify(5000);
    TestSheet window(sheet);
    HWND page = Open(window);
    HWND trackbar = GetDlgItem(page, IDC_STRENGTH);
    ExpectStrength(page, "100%", 1200);
    Press(trackbar, VK_END);  // already at the end
    EXPECT_EQ(5000u, StoredAmplify());

    // A click on the channel left of the thumb pages the strength down.
    RECT channel;
    SendMessageA(trackbar, TBM_GETCHANNELRECT, 0, LPARAM(&channel));
    const LPARAM at = MAKELPARAM(channel.left + 2, (channel.top + channel.bottom) / 2);
    SendMessageA(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(trackbar, WM_LBUTTONUP, 0, at);
    const LRESULT paged = SendMessageA(trackbar, TBM_GETPOS, 0, 0);
    EXPECT_LT(paged, 1200);
    EXPECT_EQ(DWORD(paged), StoredAmplify());
}

TEST_F(PelkoVibrationPage, MissingStrengthShowsFull)
{
    RemoveAmplify();
    TestSheet window(sheet);
    HWND page = Open(window);
    EXPECT_EQ("100%", Text(page, IDC_STRENGTH_TEXT));
}

// The strength is the value's 4 bytes whatever its type; a value of another length counts as
// none stored: full strength.
TEST_F(PelkoVibrationPage, StrengthIsTheFourBytesOfTheValueWhateverItsType)
{
    device.state.lX = 0;  // the left motor at full demand
    const struct {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
        const char* shown;
        Report report;
    } cases[] = {
        {"binary 600", REG_BINARY, {0x58, 0x02, 0, 0}, "50%", Rumble(0, 127)},
        {"dword 300", REG_DWORD, {0x2C, 0x01, 0, 0}, "25%", Rumble(0, 63)},
        {"binary 0", REG_BINARY, {0, 0, 0, 0}, "0%", kZero},
        {"binary above full", REG_BINARY, {0, 0, 1, 0}, "100%", Rumble(0, 255)},
        {"binary of 2 bytes", REG_BINARY, {0x58, 0x02}, "100%", Rumble(0, 255)},
        {"binary of 8 bytes", REG_BINARY, {0x58, 0x02, 0, 0, 0, 0, 0, 0}, "100%", Rumble(0, 255)},
    };
    TestSheet window(sheet);
    HWND page = Open(window);
    for (const auto& c : cases) {
        SetAmplifyRaw(c.type, c.bytes);
        window.Select(kBaseTestPage);
        window.Select(kVibrationPage);  // the page reads the strength when it is shown
        EXPECT_EQ(c.shown, Text(page, IDC_STRENGTH_TEXT)) << c.what;
        EXPECT_TRUE(Reaches(c.report)) << c.what;
    }
}

TEST_F(PelkoVibrationPage, DisconnectSendsOneZeroReportAndShowsItsTextOnce)
{
    device.state.lX = 0;
    TestSheet window(sheet);
    HWND page = Open(window);
    ASSERT_TRUE(Reaches(Rumble(0, 255)));
    EXPECT_EQ(kConnected, Text(page, IDC_VIB_STATUS));
    window.Click(kVibrationPage, IDC_BOTH_FORCES);

    TextCounter status(GetDlgItem(page, IDC_VIB_STATUS));
    device.Unplug();
    ASSERT_TRUE(PumpUntil([&] { return pipe.Closes() == 1; }));
    const size_t count = pipe.Count();
    const int unplugged = device.acquires;
    PumpUntil([&] { return device.acquires >= unplugged + 20; });
    EXPECT_EQ(count, pipe.Count()) << "nothing after the zero report";
    EXPECT_EQ(kZero, Last());
    EXPECT_EQ(1, status.Count());
    EXPECT_EQ(kNotConnected, Text(page, IDC_VIB_STATUS));
    EXPECT_TRUE(Visible(page, IDC_VIB_WARNING));

    const int plugged = device.acquires;
    device.Plug();
    ASSERT_TRUE(PumpUntil([&] { return pipe.Count() > count; }));
    EXPECT_GE(device.acquires - plugged, 51) << "50 ticks are skipped after the replug";
    EXPECT_EQ(Rumble(0, 255), Last()) << "the test mode ended with the disconnection";
}

TEST_F(PelkoVibrationPage, LeavingThePageSendsOneZeroReport)
{
    device.state.lX = 0;
    TestSheet window(sheet);
    Open(window);
    ASSERT_TRUE(Reaches(Rumble(0, 255)));
    window.Select(kBaseTestPage);
    ASSERT_TRUE(PumpUntil([&] { return pipe.Closes() == 1; }));
    const size_t count = pipe.Count();
    Pump(100);
    EXPECT_EQ(count, pipe.Count());
    EXPECT_EQ(kZero, Last());
    const std::vector<ReceivedReport> reports = pipe.Reports();
    EXPECT_NE(kZero, reports[reports.size() - 2].bytes) << "one zero report";
    EXPECT_GE(device.unacquires, 1);
}

TEST_F(PelkoVibrationPage, ClosingTheSheetDuringATestStopsTheMotors)
{
    {
        TestSheet window(sheet);
        Open(window);
        window.Click(kVibrationPage, IDC_BOTH_FORCES);
        ASSERT_TRUE(Reaches(Rumble(255, 255)));
    }
    ASSERT_TRUE(PumpUntil([&] { return pipe.Closes() == 1; }));
    EXPECT_EQ(kZero, Last());
}

// The strength's thumb held and dragged with the mouse while the device goes, and while the
// sheet closes: the motors get their zero report, and the strength stored is the thumb's.
TEST_F(PelkoVibrationPage, DeviceOrSheetGoneDuringAStrengthDrag)
{
    device.state.lX = 0;
    for (bool closeSheet : {false, true}) {
        SCOPED_TRACE(closeSheet ? "sheet closed" : "device unplugged");
        SetAmplify(600);
        pipe.Clear();
        const int closes = pipe.Closes();
        auto window = std::make_unique<TestSheet>(sheet);
        HWND page = Open(*window);
        HWND trackbar = GetDlgItem(page, IDC_STRENGTH);
        ASSERT_TRUE(Reaches(Rumble(0, 127)));
        RECT thumb;
        SendMessageA(trackbar, TBM_GETTHUMBRECT, 0, LPARAM(&thumb));
        const int y = (thumb.top + thumb.bottom) / 2;
        const int x = (thumb.left + thumb.right) / 2;
        SendMessageA(trackbar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(trackbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 20, y));
        const LRESULT dragged = SendMessageA(trackbar, TBM_GETPOS, 0, 0);
        ASSERT_GT(dragged, 600);
        if (closeSheet) {
            window.reset();
        } else {
            device.Unplug();
            ASSERT_TRUE(PumpUntil([&] { return pipe.Closes() > closes; }));
            SendMessageA(trackbar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + 30, y));
            SendMessageA(trackbar, WM_LBUTTONUP, 0, MAKELPARAM(x + 30, y));
            EXPECT_EQ(kNotConnected, Text(page, IDC_VIB_STATUS));
        }
        ASSERT_TRUE(PumpUntil([&] { return pipe.Closes() > closes; }));
        const LRESULT last = closeSheet ? dragged : SendMessageA(trackbar, TBM_GETPOS, 0, 0);
        EXPECT_EQ(DWORD(last), StoredAmplify());
        const size_t count = pipe.Count();
        Pump(100);
        EXPECT_EQ(count, pipe.Count());
        EXPECT_EQ(kZero, Last());
        window.reset();
        device.Plug();
    }
}

} // namespace
} // namespace pelko_test
