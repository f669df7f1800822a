// The mapping pop-ups for real: a click on a mapping button of the program's main window over the
// simulated joystick opens the program's menu, whose keyboard and mouse entries open the pickers;
// keys and clicks played into their loops pick or cancel, and the profile slot changes or stays.
// Pop-ups, sub-menus and pickers leave no window and no host behind, and a session of a hundred
// of them ends cleanly. Wine checks the heap here: memory used after it was freed faults at once.
#include "models/ZVK6891/CProfile6891.h"
#include "popup_test_env.h"
#include "protocol/MappingCode.h"

namespace {

using namespace popuptest;
using hosttest::ThreadWindowCount;

const int kRounds = 20;
const int kPickerRounds = 3;
const int kSessionMenuRounds = 33; // and one of pickers: 101 pop-ups

TEST_F(MappingChain, KeyboardAndMouseEntriesPickOrCancelInThePickers)
{
    Open(6840);
    ASSERT_GE(m_keyE.x, 0);
    ASSERT_GE(m_mouseRight.x, 0);
    const OlderLayer before = Layer();

    Keyboard().PickerClick(m_keyE).Pop(Keymap(), L"btn_Keymap_1");
    EXPECT_EQ(MakeMappingCode(kClassButton, kSubKeyboard, 0x08), Layer().keyCode[0]);
    EXPECT_EQ(L"E ", std::wstring(TextOf(Keymap(), L"btn_Keymap_1").c_str()));
    Keyboard().PickerEscape().Pop(Keymap(), L"btn_Keymap_1");
    EXPECT_EQ(MakeMappingCode(kClassButton, kSubKeyboard, 0x08), Layer().keyCode[0]);

    Mouse().PickerClick(m_mouseRight).Pop(Keymap(), L"btn_Keymap_2");
    EXPECT_EQ(MakeMappingCode(kClassButton, kSubMouseButton, 2), Layer().keyCode[1]);
    Mouse().PickerClick(m_mouseClose).Pop(Keymap(), L"btn_Keymap_3");
    EXPECT_EQ(before.keyCode[2], Layer().keyCode[2]);

    // The whole X axis offers the movements: moving left takes slot 0 and clears slot 1.
    Mouse().PickerClick(m_mouseLeftMove).Pop(Keymap(), L"btn_Aixymap_X");
    EXPECT_EQ(MakeMappingCode(kClassAxis, kSubMouseMove, 0x21), Layer().axisCode[0]);
    EXPECT_EQ(0u, Layer().axisCode[1]);
    EXPECT_TRUE(Shown(Keymap(), L"btn_Aixymap_X_Left"));

    // The joystick sub-menu picks without a picker; a dismissed menu changes nothing.
    SecondJoystickButton().Pop(Keymap(), L"btn_Keymap_3");
    EXPECT_EQ(MakeMappingCode(kClassButton, kSubJoystick, 2), Layer().keyCode[2]);
    Keys({VK_ESCAPE}).Pop(Keymap(), L"btn_Keymap_3");
    ClickOutside().Pop(Keymap(), L"btn_Keymap_3");
    EXPECT_EQ(MakeMappingCode(kClassButton, kSubJoystick, 2), Layer().keyCode[2]);
    EXPECT_TRUE(m_sim.Reports().empty());
}

TEST_F(MappingChain, Model6891PageReachesThePickersToo)
{
    Open(6891);
    ZVK6891::Profile().SelectLayer(0);
    m_6891.SelectSubPage(0);
    const UINT32 before = ZVK6891::Profile().CurrentLayer().keyCode[2];
    Keyboard().PickerClick(m_key1).Pop(m_6891.KeymapPageA(), L"btn_Keymap_2");
    EXPECT_EQ(MakeMappingCode(kClassButton, kSubKeyboard, 0x1E), ZVK6891::Profile().CurrentLayer().keyCode[1]);
    Mouse().InPicker([](HWND picker) { ::PostMessageW(picker, WM_CLOSE, 0, 0); }).Pop(m_6891.KeymapPageA(), L"btn_Keymap_3");
    EXPECT_EQ(before, ZVK6891::Profile().CurrentLayer().keyCode[2]);
}

// A picker that ends over the main window waits here about 2 s for Wine to hide it (no window
// manager runs under Xvfb), so the pickers take fewer rounds than the menus; the picker tests
// run each picker on its own twenty times.
TEST_F(MappingChain, EveryWayOfEndingLeavesNoWindowAndNoHostBehind)
{
    Open(6840);
    const int windows = ThreadWindowCount();
    const long hosts = SHostWnd::LiveCount();
    for (int round = 1; round <= kRounds; ++round) {
        RoundOfMenus();
        ASSERT_EQ(windows, ThreadWindowCount()) << "round " << round;
        ASSERT_EQ(hosts, SHostWnd::LiveCount()) << "round " << round;
    }
    for (int round = 1; round <= kPickerRounds; ++round) {
        RoundOfPickers();
        ASSERT_EQ(windows, ThreadWindowCount()) << "picker round " << round;
        ASSERT_EQ(hosts, SHostWnd::LiveCount()) << "picker round " << round;
    }
}

// A session of a hundred pop-ups, then the exit arrives inside the last one's picker: the window
// goes, nothing is sent, and the quit reaches the program's loop.
TEST_F(MappingChain, SessionOfAHundredPopupsThenExit)
{
    Open(6840);
    for (int round = 0; round < kSessionMenuRounds; ++round)
        RoundOfMenus();
    RoundOfPickers();
    Keyboard().ArriveInPicker(kExit).PopToExit(Keymap(), L"btn_Keymap_2");
    EXPECT_TRUE(m_sim.Reports().empty());
}

} // namespace
