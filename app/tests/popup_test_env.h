#pragma once
// What the tests of the mapping pop-ups share: the program's main window over a responding
// joystick with the real menu and pickers, and a driver whose queued steps play inside the
// menu's and the pickers' own loops.
#include <windows.h>
#include <dbt.h>
#include <functional>
#include "core/SHostWnd.h"
#include "dialogs/SKeyboad.h"
#include "dialogs/SMouseDialog.h"
#include "keymap_test_env.h"
#include "menu_test_env.h"
#include "support/DeviceNotice.h"
#include "widgets/SMenuEx2.h"
#include "widgets/BringBack.h"
#include "widgets/SShellNotifyIcon.h"

namespace popuptest {

using namespace keymaptest;
using menutest::Driver;

const DWORD kStepDelay = 30;
// A run that has not ended by then is ended by force, and the test fails.
const UINT kStuckRunMs = 15000;
// The main window's end quits the message loop with 1.
const WPARAM kLoopExitCode = 1;
const int kTrayId = 110;

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

inline HWND g_mainWindow = nullptr;

// Any fault ends the process at once with its code, also one that the caller of a window
// procedure or of a timer callback would swallow.
inline LONG CALLBACK EndOnFault(EXCEPTION_POINTERS* info)
{
    DWORD code = info->ExceptionRecord->ExceptionCode;
    if (code == EXCEPTION_ACCESS_VIOLATION || code == EXCEPTION_ILLEGAL_INSTRUCTION || code == EXCEPTION_PRIV_INSTRUCTION)
        ::TerminateProcess(::GetCurrentProcess(), code);
    return EXCEPTION_CONTINUE_SEARCH;
}

inline void CALLBACK EndStuckRun(HWND, UINT, UINT_PTR, DWORD)
{
    SMenuEx2::FinishRunningMenu(0);
    if (HWND picker = ShownOwnedWindow(g_mainWindow))
        ::PostMessageW(picker, WM_CLOSE, 0, 0);
}

// The program's main window over a responding joystick with the real mapping chooser: the
// steps queued on the driver play in the menu's and the picker's loops.
class MappingChain : public KeymapTest {
protected:
    void SetUp() override
    {
        m_faultHandler = ::AddVectoredExceptionHandler(1, EndOnFault);
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
        ::RemoveVectoredExceptionHandler(m_faultHandler);
    }
    void Open(USHORT model)
    {
        OpenWith(model);
        g_mainWindow = m_window->Handle();
        ::SetForegroundWindow(g_mainWindow);
    }

public:
    // What may arrive while a pop-up runs: the tray's "Exit" or a second start with "-x"
    // (command 9999), the joystick unplugged, a second start's activation (command 9998).
    // The tray's menu sends its "Exit" to the tray's window, and its double-click restores.
    enum Arrival { kExit, kTrayExit, kRemoval, kSecondStart, kTrayShow };
    static const char* NameOf(Arrival arrival)
    {
        static const char* const kNames[] = {"exit", "tray exit", "removal", "second start", "tray show"};
        return kNames[arrival];
    }
    // Delivers it as the running loop would; the reports sent until then are counted.
    void Deliver(Arrival arrival)
    {
        m_reportsAtArrival = m_sim.Reports().size();
        HWND tray = m_window->FindChildByID2<SShellNotifyIcon>(kTrayId)->MessageHwnd();
        switch (arrival) {
        case kExit: ::SendMessageW(m_window->Handle(), WM_COMMAND, kCommandExit, 0); break;
        case kTrayExit: ::SendMessageW(tray, WM_COMMAND, kCommandExit, 0); break;
        case kRemoval:
            m_sim.Unplug(*m_pad);
            SendInterfaceNotice(DeviceWatcher(), DBT_DEVICEREMOVECOMPLETE, m_pad->path);
            break;
        case kSecondStart: ::SendMessageW(m_window->Handle(), WM_COMMAND, kCommandRestore, 0); break;
        case kTrayShow:
            ::SendMessageW(tray, SShellNotifyIcon::kCallbackMessage, SShellNotifyIcon::kNotifyId, WM_LBUTTONDBLCLK);
            break;
        }
    }
    static HWND DeviceWatcher() { return ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"QM_HidDirectInput_msg_windows"); }
    // Reports sent since the arrival.
    size_t ReportsSinceArrival() const { return m_sim.Reports().size() - m_reportsAtArrival; }
    // A menu step / a picker step that delivers it.
    MappingChain& Arrive(Arrival arrival)
    {
        m_driver.Then([this, arrival] { Deliver(arrival); }, kStepDelay);
        return *this;
    }
    MappingChain& ArriveInPicker(Arrival arrival)
    {
        return InPicker([this, arrival](HWND) { Deliver(arrival); });
    }

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
        m_driver.ThenWhen([this] { return !::IsWindowEnabled(m_window->Handle()) && ShownOwnedWindow(m_window->Handle()); },
                          [this, step] { step(ShownOwnedWindow(m_window->Handle())); }, kStepDelay);
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
    // Clicks a mapping button whose pop-up the exit ends: the window is gone when the click
    // returns, and the quit it posted waits for the program's loop.
    void PopToExit(CMyHandlerBase& page, const wchar_t* name)
    {
        m_driver.Start();
        UINT_PTR guard = ::SetTimer(nullptr, 0, kStuckRunMs, EndStuckRun);
        Press(page, name);
        ::KillTimer(nullptr, guard);
        EXPECT_TRUE(m_driver.Done()) << name;
        EXPECT_FALSE(m_window->IsWindow()) << name;
        MSG quit = {};
        EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << name;
        EXPECT_EQ(kLoopExitCode, quit.wParam) << name;
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
    PVOID m_faultHandler = nullptr;
    size_t m_reportsAtArrival = 0;
};

} // namespace popuptest
