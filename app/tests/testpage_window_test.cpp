// The function-test pages in the real main window over the simulated joystick: what the
// controls show for a connected model, another model and a joystick that stopped answering,
// when the page holds still, what a tick repaints, the commands it takes, and the pictures of
// the documentation.
#include <windows.h>
#include <dbt.h>
#include <algorithm>
#include "control/SProgress.h"
#include "control/STabCtrl.h"
#include "core/SEvents.h"
#include "host_ctrl_test_env.h"
#include "models/ZVK6840/ModelFiles6840.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "shell_test_env.h"
#include "support/DeviceNotice.h"
#include "widgets/SAixsCtrl.h"
#include "widgets/SLampCtrl.h"
#include "widgets/SPovCtrlEx.h"

namespace {

using namespace shelltest;

const int kFunctionTestButton = 2; // the caption's sub-page numbers of the function test and about
const int kAboutButton = 3;
const int kFunctionTestPage6891 = 3;
const int kFunctionTestPageOlder = 2;

JoyState RestingState()
{
    JoyState state = {};
    state.lX = state.lY = state.lZ = state.lRx = state.lRy = state.lRz = 32768;
    state.rglSlider[0] = 32768;
    for (DWORD& pov : state.rgdwPOV)
        pov = static_cast<DWORD>(-1);
    return state;
}

// Mid-movement: stick up-right, hat right, throttle and twist off centre, a few buttons held.
JoyState MovingState()
{
    JoyState state = RestingState();
    state.lX = 50000;
    state.lY = 12000;
    state.lZ = 0xC000;
    state.lRz = 0x3000;
    state.lRx = 0x8800;
    state.lRy = 0xE000;
    state.rglSlider[0] = 0x5000;
    state.rgdwPOV[0] = 9000;
    for (int button : {2, 5, 11, 14, 18, 19, 22})
        state.rgbButtons[button - 1] = 0x80;
    return state;
}

class FunctionTestPage : public MainWindowTest {
protected:
    // The main window over real handlers, in front.
    HWND OpenFront()
    {
        HWND hwnd = Open(&m_handlers);
        if (hwnd) {
            ::ShowWindow(hwnd, SW_SHOWNORMAL);
            ::SetForegroundWindow(hwnd);
        }
        return hwnd;
    }
    // ... with the function test shown.
    HWND OpenInFront()
    {
        HWND hwnd = OpenFront();
        if (!hwnd)
            return nullptr;
        m_window->SelectSubPage(kFunctionTestButton);
        hosttest::HostTest::Pump();
        return hwnd;
    }
    // The function-test page of a model (index in model order 6891, 6867, 6852, 6840).
    SWindow* TestPage(int model)
    {
        STabCtrl* devices = m_window->FindChildByName2<STabCtrl>(L"tabctrl_devices");
        STabCtrl* pages = devices->PageAt(model)->FindChildByName2<STabCtrl>(L"tabctrl_funPages");
        return pages->PageAt(model == 0 ? kFunctionTestPage6891 : kFunctionTestPageOlder);
    }
    template <class T>
    T* On(int model, const wchar_t* name)
    {
        return TestPage(model)->FindChildByName2<T>(SStringW(name));
    }
    // The joystick answers with state from now on; the poll reads it and the window ticks.
    void Show(SimController& pad, const JoyState& state)
    {
        pad.Feed(state);
        DirectInputJoy().Poll();
        DirectInputJoy().Poll();
        Tick();
    }
    void Tick() { ::SendMessageW(m_window->Handle(), CHidDirectInputWnd::kMsgPolled, 0, 0); }
    // Channels opened for vibration tests (the overlapped ones).
    size_t VibrationChannels() const
    {
        std::vector<SimJoystick::Channel> channels = m_sim.Channels();
        return std::count_if(channels.begin(), channels.end(), [](const SimJoystick::Channel& c) { return c.overlapped; });
    }
    // The pixels of the window.
    hosttest::Shot Shoot()
    {
        hosttest::Shot shot;
        shot.pixels = hosttest::HostTest::Capture(m_window->Handle(), shot.width, shot.height);
        return shot;
    }
    // What the window would repaint now, as one rectangle; empty when nothing.
    RECT Invalid()
    {
        RECT rect = {};
        ::GetUpdateRect(m_window->Handle(), &rect, FALSE);
        return rect;
    }
    void Paint() { ::UpdateWindow(m_window->Handle()); }

    struct LampStates {
        std::vector<int> lit;
        std::vector<std::wstring> texts;
    };
    LampStates Lamps(int model, int count, const wchar_t* prefix = L"lamp")
    {
        LampStates states;
        for (int n = 1; n <= count; ++n) {
            SLampCtrl* lamp = On<SLampCtrl>(model, (prefix + std::to_wstring(n)).c_str());
            states.lit.push_back(lamp ? lamp->GetLampState() : -1);
            states.texts.push_back(lamp ? lamp->lampText.c_str() : L"?");
        }
        return states;
    }
    std::vector<int> Bars(int model, std::initializer_list<const wchar_t*> names)
    {
        std::vector<int> values;
        for (const wchar_t* name : names) {
            SProgress* bar = On<SProgress>(model, name);
            values.push_back(bar ? bar->CurrentValue() : -1);
        }
        return values;
    }
    // The connection badge's dot: green while connected, red otherwise.
    UINT32 BadgeDot(int model)
    {
        RECT badge = On<SWindow>(model, L"imgconnectStatus")->GetWindowRect();
        return Shoot().At(badge.left + 18, badge.top + 14) & 0xFFFFFF;
    }

    ZVK6891::CDeviceHandler6891 m_h6891;
    ZVK6867::CDeviceHandler6867 m_h6867;
    ZVK6852::CDeviceHandler6852 m_h6852;
    ZVK6840::CDeviceHandler6840 m_h6840;
    CMainDlg::DeviceHandlers m_handlers = {&m_h6891, &m_h6867, &m_h6852, &m_h6840};
};

const UINT32 kGreenDot = 0x3AA657;
const UINT32 kRedDot = 0xD24A3C;

TEST_F(FunctionTestPage, Model6891ShowsAxesHatsLampsModesAndBars)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    ASSERT_NE(nullptr, OpenInFront());
    Show(pad, MovingState());
    EXPECT_EQ(50000, On<SAixsCtrl>(0, L"AixctrXY")->GetAxisX());
    EXPECT_EQ(12000, On<SAixsCtrl>(0, L"AixctrXY")->GetAxisY());
    EXPECT_EQ(9000u, On<SPovCtrlEx>(0, L"PovEx1")->GetPovValue());
    EXPECT_EQ(22500u, On<SPovCtrlEx>(0, L"PovEx2")->GetPovValue()); // buttons 18 and 19: down and left
    LampStates lamps = Lamps(0, 16);
    EXPECT_EQ((std::vector<int>{0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 1, 0, 0}), lamps.lit);
    EXPECT_EQ(L"16", lamps.texts[15]);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Lamps(0, 3, L"mode").lit);
    EXPECT_EQ((std::vector<int>{0xC0, 0x30, 0x88, 0xE0, 0x50}),
              Bars(0, {L"SliderZ", L"SliderRZ", L"SliderRx", L"SliderRy", L"SliderSlider"}));
    Paint();
    EXPECT_EQ(kGreenDot, BadgeDot(0)) << std::hex << BadgeDot(0);
}

TEST_F(FunctionTestPage, OlderModelShowsStickHatTwelveLampsAndTwoBars)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6840);
    ASSERT_NE(nullptr, OpenInFront());
    Show(pad, MovingState());
    EXPECT_EQ(50000, On<SAixsCtrl>(3, L"AixctrXY")->GetAxisX());
    EXPECT_EQ(9000u, On<SPovCtrlEx>(3, L"PovEx1")->GetPovValue());
    LampStates lamps = Lamps(3, 12);
    EXPECT_EQ((std::vector<int>{0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0}), lamps.lit);
    EXPECT_EQ(L"7", lamps.texts[6]);
    EXPECT_EQ((std::vector<int>{0x30, 0xC0}), Bars(3, {L"Twist", L"SliderThrottle"}));
    Paint();
    EXPECT_EQ(kGreenDot, BadgeDot(3)) << std::hex << BadgeDot(3);
}

// A joystick that stops answering: stick centred, hats centred, lamps dark with their numbers;
// the bars and mode lamps keep what they showed. Another model's page never shows the joystick.
TEST_F(FunctionTestPage, NotAnsweringAndOtherModelShowTheDisconnectedView)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    ASSERT_NE(nullptr, OpenInFront());
    Show(pad, MovingState());
    pad.FailPolls(kJoyInputLost, -1);
    pad.FailAcquires(kJoyInputLost, -1);
    DirectInputJoy().Poll();
    ASSERT_FALSE(DirectInputJoy().Responding());
    Tick();
    for (int model : {0, 3}) { // 6891 no longer answering; the 6840 page never had its joystick
        SCOPED_TRACE(model);
        EXPECT_EQ(0x7FFF, On<SAixsCtrl>(model, L"AixctrXY")->GetAxisX());
        EXPECT_EQ(0x7FFF, On<SAixsCtrl>(model, L"AixctrXY")->GetAxisY());
        EXPECT_EQ(static_cast<unsigned>(-1), On<SPovCtrlEx>(model, L"PovEx1")->GetPovValue());
        LampStates lamps = Lamps(model, model == 0 ? 16 : 12);
        EXPECT_EQ(std::vector<int>(lamps.lit.size(), 0), lamps.lit);
        EXPECT_EQ(L"12", lamps.texts[11]);
    }
    EXPECT_EQ(static_cast<unsigned>(-1), On<SPovCtrlEx>(0, L"PovEx2")->GetPovValue());
    EXPECT_EQ((std::vector<int>{0, 1, 0}), Lamps(0, 3, L"mode").lit);
    EXPECT_EQ((std::vector<int>{0xC0, 0x30, 0x88, 0xE0, 0x50}),
              Bars(0, {L"SliderZ", L"SliderRZ", L"SliderRx", L"SliderRy", L"SliderSlider"}));
    Paint();
    EXPECT_EQ(kRedDot, BadgeDot(0)) << std::hex << BadgeDot(0);
}

// Another sub-page, a minimised window or another window in front: the page stays as it was.
TEST_F(FunctionTestPage, StillUnlessSelectedAndInFront)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6840);
    HWND hwnd = OpenInFront();
    ASSERT_NE(nullptr, hwnd);
    Show(pad, RestingState());
    JoyState moved = MovingState();
    HWND other = ::CreateWindowExW(0, L"STATIC", L"other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                   nullptr, nullptr, nullptr);
    const struct {
        const char* what;
        std::function<void()> leave, back;
    } kCases[] = {
        {"key-mapping page", [&] { m_window->SelectSubPage(0); }, [&] { m_window->SelectSubPage(kFunctionTestButton); }},
        {"about page", [&] { m_window->SelectSubPage(3); }, [&] { m_window->SelectSubPage(kFunctionTestButton); }},
        {"minimised", [&] { ::ShowWindow(hwnd, SW_MINIMIZE); }, [&] { ::ShowWindow(hwnd, SW_RESTORE); }},
        {"other window in front", [&] { ::SetForegroundWindow(other); }, [&] { ::SetForegroundWindow(hwnd); }},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.what);
        c.leave();
        Show(pad, moved);
        EXPECT_EQ(32768, On<SAixsCtrl>(3, L"AixctrXY")->GetAxisX());
        EXPECT_EQ(0, On<SLampCtrl>(3, L"lamp2")->GetLampState());
        c.back();
        ::SetForegroundWindow(hwnd);
        Show(pad, moved);
        EXPECT_EQ(50000, On<SAixsCtrl>(3, L"AixctrXY")->GetAxisX());
        EXPECT_EQ(1, On<SLampCtrl>(3, L"lamp2")->GetLampState());
        Show(pad, RestingState());
    }
    ::DestroyWindow(other);
}

// Ticks that change nothing repaint nothing; one pressed button repaints only its lamp.
TEST_F(FunctionTestPage, TicksRepaintOnlyWhatChanged)
{
    for (int model : {0, 3}) {
        SCOPED_TRACE(model);
        SimController& pad = m_sim.Plug(0x2E7A, model == 0 ? 6891 : 6840);
        ASSERT_NE(nullptr, OpenInFront());
        JoyState state = MovingState();
        Show(pad, state);
        Paint();
        for (int tick = 0; tick < 5; ++tick) {
            Tick();
            RECT invalid = Invalid();
            EXPECT_TRUE(::IsRectEmpty(&invalid)) << tick;
        }
        state.rgbButtons[2] = 0x80;
        Show(pad, state);
        RECT invalid = Invalid();
        RECT lamp = On<SWindow>(model, L"lamp3")->GetWindowRect();
        EXPECT_TRUE(::EqualRect(&invalid, &lamp)) << invalid.left << "," << invalid.top << " " << invalid.right << ","
                                                  << invalid.bottom;
        m_window->DestroyHost();
        m_sim.Unplug(pad);
    }
}

// Button 1 held runs the motors at the levels of the stick's deflection and the model's
// strengths, its half second starting again on every tick; released, no further test starts.
TEST_F(FunctionTestPage, Button1RunsThePreviewAtTheStickLevels)
{
    Settings6891Record& settings6891 = ZVK6891::JoySetting().Record();
    OlderSettingsRecord& settings6840 = ZVK6840::JoySetting().Record();
    const Settings6891Record saved6891 = settings6891;
    const OlderSettingsRecord saved6840 = settings6840;
    settings6891.leftAmplify = 95;
    settings6891.rightAmplify = 50;
    settings6840.strength = 101; // counts as 100 %
    const struct {
        USHORT product;
        BYTE left, right;
    } kCases[] = {{6891, 242, 127}, {6840, 254, 254}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.product);
        SimController& pad = m_sim.Plug(0x2E7A, c.product);
        ASSERT_NE(nullptr, OpenInFront());
        size_t workers = VibrationChannels();
        JoyState state = RestingState();
        state.lX = 0;      // full left
        state.lY = 65535;  // full down
        state.rgbButtons[0] = 0x80;
        Show(pad, state);
        Tick();
        const std::vector<BYTE> running = {0, 5, 1, c.left, c.right, 0, 0, 0};
        EXPECT_TRUE(WaitUntil([&] {
            for (const SimJoystick::Report& report : m_sim.Reports(SimJoystick::Report::kOutput)) {
                if (report.bytes == running)
                    return true;
            }
            return false;
        }, 3000));
        // One worker takes the level of every tick with the button held.
        EXPECT_EQ(workers + 1, VibrationChannels());

        state.rgbButtons[0] = 0;
        Show(pad, state);
        ASSERT_TRUE(WaitUntil([&] { return m_sim.OpenChannels() == 0; }, 3000));
        size_t channels = m_sim.Channels().size();
        Tick();
        hosttest::HostTest::PumpFor(100);
        EXPECT_EQ(channels, m_sim.Channels().size());
        m_window->DestroyHost();
        m_sim.Unplug(pad);
        m_sim.ClearReports();
    }
    settings6891 = saved6891;
    settings6840 = saved6840;
}

// Two 6840s: the preview runs on the one shown; when that one is unplugged the page shows the
// other one's stick, and the preview then runs on the other one alone.
TEST_F(FunctionTestPage, WhenTheJoystickShownGoesTheOtherOneOfTheModelTakesOver)
{
    SimController& first = m_sim.Plug(0x2E7A, 6840);
    SimController& second = m_sim.Plug(0x2E7A, 6840);
    ASSERT_NE(nullptr, OpenInFront());
    JoyState held = RestingState();
    held.lX = 0;
    held.rgbButtons[0] = 0x80;
    Show(first, held);
    ASSERT_TRUE(WaitUntil([&] { return !m_sim.Reports(SimJoystick::Report::kOutput).empty(); }, 3000));

    JoyState other = MovingState();
    other.rgbButtons[0] = 0x80;
    second.Feed(other);
    size_t channels = m_sim.Channels().size();
    m_sim.Unplug(first);
    SendInterfaceNotice(::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"QM_HidDirectInput_msg_windows"),
                        DBT_DEVICEREMOVECOMPLETE, first.path);
    EXPECT_EQ(3, m_window->FindChildByName2<STabCtrl>(L"tabctrl_devices")->CurSel());
    Show(second, other);
    EXPECT_EQ(50000, On<SAixsCtrl>(3, L"AixctrXY")->GetAxisX());
    Tick();
    ASSERT_TRUE(WaitUntil([&] { return VibrationChannels() > 1; }, 3000));
    std::vector<SimJoystick::Channel> opened = m_sim.Channels();
    for (size_t i = channels; i < opened.size(); ++i)
        EXPECT_EQ(second.path, opened[i].path) << i; // the push of the detection, then the preview
    m_window->DestroyHost();
}

// Commands from inside the page are taken with no effect; a page of model 6891 also takes
// those that come from no window. Commands from elsewhere and other events are left alone.
TEST_F(FunctionTestPage, TakesCommandsFromItsPage)
{
    ASSERT_NE(nullptr, OpenInFront());
    const UINT32 strength = 95;
    const struct {
        int model;
        const FunctionTestDesign& design;
        CFuctionTestHandler::SenderRule senders;
        bool takesWindowless;
    } kCases[] = {{0, k6891TestDesign, CFuctionTestHandler::kSendersInsideOrNone, true},
                  {3, kOlderTestDesign, CFuctionTestHandler::kSendersInside, false}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.model);
        CFuctionTestHandler handler(c.design, 6891, strength, strength, c.senders);
        handler.AttachPage(TestPage(c.model));
        EventCmd inside(On<SWindow>(c.model, L"lamp1"));
        EXPECT_TRUE(handler.HandlePageEvent(&inside));
        EXPECT_FALSE(inside.bubbleUp);
        EventCmd outside(m_window->LookupChildByName(SStringW(L"btn_min")));
        EXPECT_FALSE(handler.HandlePageEvent(&outside));
        EventCmd otherPage(TestPage(c.model == 0 ? 3 : 0));
        EXPECT_FALSE(handler.HandlePageEvent(&otherPage));
        EventCmd windowless(nullptr);
        EXPECT_EQ(c.takesWindowless, handler.HandlePageEvent(&windowless) != FALSE);
        EventSwndStateChanged notCommand(On<SWindow>(c.model, L"lamp1"));
        EXPECT_FALSE(handler.HandlePageEvent(&notCommand));
    }
    // The device handlers offer their events to the page.
    EventCmd fromTest6891(On<SWindow>(0, L"lamp1"));
    EXPECT_TRUE(m_h6891.DispatchEvent(&fromTest6891));
    EventCmd fromTest6840(On<SWindow>(3, L"lamp1"));
    EXPECT_TRUE(m_h6840.DispatchEvent(&fromTest6840));
}

// The pictures of the documentation (scripts/screenshots.sh): the function test of models 6840
// and 6891 mid-movement, and their about pages, each reached by its caption tab.
TEST_F(FunctionTestPage, ScreenshotsOfTestAndAboutPages)
{
    const struct {
        USHORT product;
        const wchar_t* test;
        const wchar_t* about;
    } kPages[] = {{6840, L"corvane-6840-test.png", L"corvane-6840-about.png"},
                  {6891, L"corvane-6891-test.png", L"corvane-6891-about.png"}};
    for (const auto& page : kPages) {
        SimController& pad = m_sim.Plug(0x2E7A, page.product);
        ASSERT_NE(nullptr, OpenFront());
        ClickTab(kFunctionTestButton);
        EXPECT_EQ(kFunctionTestButton, CheckedTab());
        Show(pad, MovingState());
        Paint();
        EXPECT_TRUE(Shoot().SavePng(m_startup->App()->RenderFactory(), TestFolder() + L"\\" + page.test));
        ClickTab(kAboutButton);
        EXPECT_EQ(kAboutButton, CheckedTab());
        Paint();
        EXPECT_TRUE(Shoot().SavePng(m_startup->App()->RenderFactory(), TestFolder() + L"\\" + page.about));
        m_window->DestroyHost();
        m_sim.Unplug(pad);
    }
}

} // namespace
