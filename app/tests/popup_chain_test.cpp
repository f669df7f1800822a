// The mapping pop-ups for real: a click on a mapping button of the program's main window over the
// simulated joystick opens the program's menu, whose keyboard and mouse entries open the pickers;
// keys and clicks played into their loops pick or cancel, and the profile slot changes or stays.
// Pop-ups, sub-menus and pickers leave no window and no host behind, and a process that ran a
// hundred of them exits cleanly.
#include "core/SHostWnd.h"
#include "dialogs/SKeyboad.h"
#include "dialogs/SMouseDialog.h"
#include "keymap_test_env.h"
#include "menu_test_env.h"
#include "models/ZVK6891/CProfile6891.h"
#include "protocol/MappingCode.h"
#include "widgets/SMenuEx2.h"

namespace {

using namespace keymaptest;
using menutest::Driver;
using hosttest::ThreadWindowCount;

const DWORD kStepDelay = 30;
// A run that has not ended by then is ended by force, and the test fails.
const UINT kStuckRunMs = 15000;
const int kRounds = 20;
const int kPickerRounds = 3;
const int kSessionMenuRounds = 33; // and one of pickers: 101 pop-ups
const DWORD kSessionExitWait = 110000;
const wchar_t kSessionChild[] = L"MappingChain.DISABLED_SessionOfAHundredPopupsThenExit";

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindShownOwned(HWND window, LPARAM data)
{
    OwnedSearch* search = reinterpret_cast<OwnedSearch*>(data);
    if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    search->found = window;
    return FALSE;
}

// The shown window that owner owns: the running picker.
HWND OwnedPopup(HWND owner)
{
    OwnedSearch search = {owner, nullptr};
    ::EnumThreadWindows(::GetCurrentThreadId(), FindShownOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Where a named control of a picker lies in its client area, read from a hidden copy of the
// picker built from the same layout.
template <class Dialog>
POINT ControlCentre(const wchar_t* name)
{
    Dialog copy;
    POINT centre = {-1, -1};
    if (copy.CreateHost(nullptr, WS_POPUP, 0, 0, 0, 0, 0)) {
        if (SWindow* control = copy.LookupChildByName(SStringW(name))) {
            const RECT& rect = control->GetWindowRect();
            centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        }
        copy.DestroyHost();
    }
    return centre;
}

HWND g_mainWindow = nullptr;

void CALLBACK EndStuckRun(HWND, UINT, UINT_PTR, DWORD)
{
    SMenuEx2::FinishRunningMenu(0);
    if (HWND picker = OwnedPopup(g_mainWindow))
        ::PostMessageW(picker, WM_CLOSE, 0, 0);
}

// The program's main window over a responding joystick with the real mapping chooser: the
// steps queued on the driver play in the menu's and the picker's loops.
class MappingChain : public KeymapTest {
protected:
    void SetUp() override
    {
        KeymapTest::SetUp();
        SetMappingChooser(nullptr); // the real menu and pickers in place of the fixture's script
        m_keyE = ControlCentre<SKeyboad>(L"kbE");
        m_key1 = ControlCentre<SKeyboad>(L"kb1");
        m_mouseRight = ControlCentre<SMouseDialog>(L"msdlg_rightkey");
        m_mouseLeftMove = ControlCentre<SMouseDialog>(L"msdlg_x_left");
        m_mouseClose = ControlCentre<SMouseDialog>(L"msdlg_close");
        m_elsewhere = ::CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                        nullptr, nullptr);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_elsewhere);
        KeymapTest::TearDown();
        g_mainWindow = nullptr;
    }
    void Open(USHORT model)
    {
        OpenWith(model);
        g_mainWindow = m_window->Handle();
        ::SetForegroundWindow(g_mainWindow);
    }

public:
    // Menu steps. Keys go to the main window: the running menu takes its keys for its own.
    MappingChain& Keys(std::initializer_list<UINT> keys)
    {
        for (UINT key : keys)
            m_driver.Then([this, key] { Driver::PostKey(m_window->Handle(), key); }, kStepDelay);
        return *this;
    }
    MappingChain& Keyboard() { return Keys({VK_DOWN, VK_RETURN}); }
    MappingChain& Mouse() { return Keys({VK_DOWN, VK_DOWN, VK_RETURN}); }
    // Button 2 of the joystick entry's sub-menu.
    MappingChain& SecondJoystickButton() { return Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}); }
    MappingChain& ClickOutside()
    {
        m_driver.Then([this] { ::PostMessageW(m_elsewhere, WM_LBUTTONDOWN, MK_LBUTTON, 0); }, kStepDelay);
        return *this;
    }
    // Picker steps, played once the picker runs over the disabled main window.
    MappingChain& InPicker(std::function<void(HWND)> step)
    {
        m_driver.ThenWhen([this] { return !::IsWindowEnabled(m_window->Handle()) && OwnedPopup(m_window->Handle()); },
                          [this, step] { step(OwnedPopup(m_window->Handle())); }, kStepDelay);
        return *this;
    }
    MappingChain& PickerClick(POINT at)
    {
        return InPicker([at](HWND picker) {
            LPARAM point = MAKELPARAM(at.x, at.y);
            ::PostMessageW(picker, WM_MOUSEMOVE, 0, point);
            ::PostMessageW(picker, WM_LBUTTONDOWN, MK_LBUTTON, point);
            ::PostMessageW(picker, WM_LBUTTONUP, 0, point);
        });
    }
    MappingChain& PickerEscape()
    {
        return InPicker([](HWND picker) { ::PostMessageW(picker, WM_KEYDOWN, VK_ESCAPE, 1); });
    }
    // Clicks a mapping button; every queued step must have played when its pop-up is over.
    void Pop(CMyHandlerBase& page, const wchar_t* name)
    {
        m_driver.Start();
        UINT_PTR guard = ::SetTimer(nullptr, 0, kStuckRunMs, EndStuckRun);
        Click(page, name);
        ::KillTimer(nullptr, guard);
        EXPECT_TRUE(m_driver.Done()) << name;
    }

protected:
    // The menu's ways of ending, once each, on the 6840 key-mapping page: Escape, a click
    // elsewhere, a pick in the shown sub-menu.
    void RoundOfMenus()
    {
        Keys({VK_ESCAPE}).Pop(Keymap(), L"btn_Keymap_1");
        ClickOutside().Pop(Keymap(), L"btn_Aixymap_X");
        SecondJoystickButton().Pop(Keymap(), L"btn_Keymap_1");
    }
    // Both pickers through the menu: the keyboard cancelled, the mouse picking.
    void RoundOfPickers()
    {
        Keyboard().PickerEscape().Pop(Keymap(), L"btn_Keymap_3");
        Mouse().PickerClick(m_mouseRight).Pop(Keymap(), L"btn_Keymap_4");
    }

    // Centres of picker controls in the picker's client area.
    POINT m_keyE, m_key1, m_mouseRight, m_mouseLeftMove, m_mouseClose;
    Driver m_driver;
    HWND m_elsewhere = nullptr;
};

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

// Any fault ends the process at once with its code, also one that the caller of a window
// procedure would swallow.
LONG CALLBACK EndOnFault(EXCEPTION_POINTERS* info)
{
    DWORD code = info->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_ILLEGAL_INSTRUCTION || code == EXCEPTION_PRIV_INSTRUCTION)
        ::TerminateProcess(::GetCurrentProcess(), code);
    return EXCEPTION_CONTINUE_SEARCH;
}

// Played by the test below in a process of its own, which then ends as the program does.
TEST_F(MappingChain, DISABLED_SessionOfAHundredPopupsThenExit)
{
    ::AddVectoredExceptionHandler(1, EndOnFault);
    Open(6840);
    for (int round = 0; round < kSessionMenuRounds; ++round)
        RoundOfMenus();
    RoundOfPickers();
}

// The session runs with Wine's heap checking, which overwrites freed blocks: memory used after
// it was freed faults at once instead of now and then.
TEST(MappingSession, AProcessThatRanAHundredPopupsExitsCleanly)
{
    wchar_t program[MAX_PATH];
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring command = std::wstring(L"\"") + program + L"\" --gtest_also_run_disabled_tests --gtest_filter=" +
                           kSessionChild;
    wchar_t debug[64] = {};
    DWORD saved = ::GetEnvironmentVariableW(L"WINEDEBUG", debug, 64);
    ::SetEnvironmentVariableW(L"WINEDEBUG", L"-all,warn+heap");
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    BOOL started = ::CreateProcessW(program, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                    &process);
    ::SetEnvironmentVariableW(L"WINEDEBUG", saved ? debug : nullptr);
    ASSERT_TRUE(started);
    DWORD code = STILL_ACTIVE;
    if (::WaitForSingleObject(process.hProcess, kSessionExitWait) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &code);
    else
        ::TerminateProcess(process.hProcess, STILL_ACTIVE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    EXPECT_EQ(0u, code) << std::hex << code;
}

} // namespace
