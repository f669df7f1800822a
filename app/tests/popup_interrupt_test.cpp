// What arrives while a pop-up of the main window runs its own loop: the exit (from a second start
// with "-x" or the tray's "Exit"), the joystick's removal, a second start's activation and the
// tray's double-click. Into the mapping menus and the real pickers, into the message boxes and
// into the file dialogs of import and export. The exit ends the window and the program's loop,
// and nothing touches the pages or the joystick after it; a removal shows the not-inserted page;
// an activation brings back the window and the pop-up over it. Wine checks the heap here.
#include "control/STabCtrl.h"
#include "device/QuietFlag.h"
#include "models/ZVK6891/CProfile6891.h"
#include "popup_test_env.h"
#include "SingleInstance.h"
#include "protocol/MappingCode.h"
#include "widgets/SShellNotifyIcon.h"

namespace {

using namespace popuptest;

const MappingChain::Arrival kExits[] = {MappingChain::kExit, MappingChain::kTrayExit};
const MappingChain::Arrival kOthers[] = {MappingChain::kRemoval, MappingChain::kSecondStart, MappingChain::kTrayShow};

enum PopupKind { kMenu, kKeyboardPicker, kMousePicker };
// The two menus and the two pickers on the 6840's page, and a menu on page A of a 6891.
const struct {
    const char* name;
    USHORT model;
    const wchar_t* button;
    PopupKind kind;
} kPopups[] = {{"key menu", 6840, L"btn_Keymap_1", kMenu},
               {"axis menu", 6840, L"btn_Aixymap_X", kMenu},
               {"keyboard picker", 6840, L"btn_Keymap_2", kKeyboardPicker},
               {"mouse picker", 6840, L"btn_Aixymap_X", kMousePicker},
               {"6891 key menu", 6891, L"btn_Keymap_3", kMenu}};

BOOL CALLBACK FindShownBox(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (wcscmp(name, L"#32770") != 0 || !::IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The message box this thread shows.
HWND ShownBoxOfThread()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindShownBox, reinterpret_cast<LPARAM>(&found));
    return found;
}

class PopupInterrupt : public MappingChain {
protected:
    void SetUp() override
    {
        MappingChain::SetUp();
        m_stored = KeymapTest::m_elsewhere.Path() + L"\\stored.qmf";
        m_saved = KeymapTest::m_elsewhere.Path() + L"\\saved.qmf";
        m_short = KeymapTest::m_elsewhere.Write(L"short.qmf", "qm");
        m_unwritable = KeymapTest::m_elsewhere.Path() + L"\\no such folder\\saved.qmf";
        m_prompt.QueueFile(m_stored);
        ASSERT_TRUE(ZVK6840::Profile().ExportRecord());
    }

    // The model's page over a responding joystick. The window is started again only when it
    // went or shows another model; a joystick that was unplugged is plugged again.
    void Ready(USHORT model)
    {
        if (m_window && m_window->IsWindow() && m_pad->productId == model) {
            if (!m_pad->attached) {
                m_pad = &m_sim.Plug(0x2E7A, model);
                SendInterfaceNotice(DeviceWatcher(), DBT_DEVICEARRIVAL, m_pad->path);
                ASSERT_TRUE(shelltest::WaitUntil([] { return DirectInputJoy().Responding(); }));
            }
            m_sim.ClearReports();
            m_prompt.Clear();
            return;
        }
        if (m_window && m_window->IsWindow())
            m_window->DestroyHost();
        hosttest::HostTest::Pump();
        if (m_pad && m_pad->attached)
            m_sim.Unplug(*m_pad);
        DirectInputJoy().Release();
        Open(model);
    }
    int DevicePage() { return m_window->FindChildByName2<STabCtrl>(L"tabctrl_devices")->CurSel(); }
    CMyHandlerBase& PageOf(USHORT model) { return model == 6891 ? m_6891.KeymapPageA() : Keymap(); }
    static bool IsExit(Arrival arrival) { return arrival == kExit || arrival == kTrayExit; }

    // Runs the pop-up with the arrival inside it and checks that it chose nothing.
    void RunPopup(const decltype(kPopups[0])& popup, Arrival arrival)
    {
        Ready(popup.model);
        const OlderLayer before = Layer();
        const Layer6891 before6891 = ZVK6891::Profile().CurrentLayer();
        if (popup.kind == kMenu)
            Arrive(arrival);
        else
            (popup.kind == kKeyboardPicker ? Keyboard() : Mouse()).ArriveInPicker(arrival);
        if (!IsExit(arrival))
            popup.kind == kMenu ? Keys({VK_ESCAPE}) : PickerEscape();
        PopWith(arrival, PageOf(popup.model), popup.button);
        EXPECT_EQ(0, memcmp(&before, &Layer(), sizeof(before)));
        EXPECT_EQ(0, memcmp(&before6891, &ZVK6891::Profile().CurrentLayer(), sizeof(before6891)));
    }

    // A box or dialog of the 6840's pages.
    struct PromptCase {
        const char* name;
        bool settingsPage;
        const wchar_t* button;
        std::function<void()> script; // its answer, or a failing send
        int skip;                     // boxes and dialogs before the one that gets the arrival
    };
    std::vector<PromptCase> Prompts()
    {
        auto fail = [this] { m_sim.FailFeatureReport(1); };
        return {{"restore question", false, L"btn_default", [this] { m_prompt.QueueAnswer(IDYES); }, 0},
                {"applied box", false, L"btn_Applay", nullptr, 0},
                {"send error box", false, L"btn_Applay", fail, 0},
                {"settings applied box", true, L"btn_Applay", nullptr, 0},
                {"settings send error box", true, L"btn_Applay", fail, 0},
                {"import dialog", false, L"btn_loadcfg", [this] { m_prompt.QueueFile(m_stored); }, 0},
                {"import dialog of a short file", false, L"btn_loadcfg", [this] { m_prompt.QueueFile(m_short); }, 0},
                {"import error box", false, L"btn_loadcfg", [this] { m_prompt.QueueFile(m_short); }, 1},
                {"export dialog", false, L"btn_savecfg", [this] { m_prompt.QueueFile(m_saved); }, 0},
                {"export error box", false, L"btn_savecfg", [this] { m_prompt.QueueFile(m_unwritable); }, 1}};
    }
    // Runs the box or dialog, answered as scripted once the arrival came. After an exit no
    // further box or dialog shows and no file is written.
    void RunPrompt(const PromptCase& prompt, Arrival arrival)
    {
        Ready(6840);
        ::DeleteFileW(m_saved.c_str());
        m_6840.SelectSubPage(prompt.settingsPage ? 1 : 0);
        if (prompt.script)
            prompt.script();
        m_prompt.During([this, arrival] { Deliver(arrival); }, prompt.skip);
        PopWith(arrival, prompt.settingsPage ? Settings() : Keymap(), prompt.button);
        if (IsExit(arrival)) {
            EXPECT_EQ(prompt.skip + 1u, m_prompt.Messages().size() + m_prompt.Dialogs().size());
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_saved.c_str()));
        }
    }

    // Clicks the button whose pop-up gets the arrival, then checks what the arrival leaves:
    // after an exit no window and the loop's quit; after a removal the not-inserted page; after
    // an activation the window shown. Never a report after the arrival.
    void PopWith(Arrival arrival, CMyHandlerBase& page, const wchar_t* button)
    {
        if (IsExit(arrival)) {
            PopToExit(page, button);
        } else {
            Pop(page, button);
            ASSERT_TRUE(m_window->IsWindow());
            if (arrival == kRemoval)
                EXPECT_EQ(CMainDlg::kNotInsertedPage, DevicePage());
            else
                EXPECT_TRUE(::IsWindowVisible(m_window->Handle()) && !::IsIconic(m_window->Handle()));
        }
        EXPECT_EQ(0u, ReportsSinceArrival());
    }

    std::wstring m_stored, m_saved, m_short, m_unwritable;
};

// The two ways of exit take turns over the menus and pickers.
TEST_F(PopupInterrupt, ExitInsideEveryMenuAndPicker)
{
    int turn = 0;
    for (const auto& popup : kPopups) {
        Arrival arrival = kExits[turn++ % 2];
        SCOPED_TRACE(std::string(popup.name) + ", " + NameOf(arrival));
        RunPopup(popup, arrival);
    }
}

TEST_F(PopupInterrupt, RemovalAndActivationInsideEveryMenuAndPicker)
{
    for (const auto& popup : kPopups) {
        for (Arrival arrival : kOthers) {
            SCOPED_TRACE(std::string(popup.name) + ", " + NameOf(arrival));
            RunPopup(popup, arrival);
        }
    }
}

// The two ways of exit take turns over the boxes and dialogs.
TEST_F(PopupInterrupt, ExitInsideEveryBoxAndFileDialog)
{
    int turn = 0;
    for (const PromptCase& prompt : Prompts()) {
        Arrival arrival = kExits[turn++ % 2];
        SCOPED_TRACE(std::string(prompt.name) + ", " + NameOf(arrival));
        RunPrompt(prompt, arrival);
    }
}

// The real box of the restore question: its loop ends with the window, which leaves the quit for
// the program's loop, and the mapping stays as it was.
TEST_F(PopupInterrupt, ExitInsideARealMessageBox)
{
    Ready(6840);
    Layer().keyCode[0] = MakeMappingCode(kClassButton, kSubJoystick, 5);
    const OlderLayer before = Layer();
    HWND box = nullptr;
    SetUserPrompt(nullptr);
    m_driver.ThenWhen([&box] { return (box = ShownBoxOfThread()) != nullptr; }, [this] { Deliver(kExit); });
    PopToExit(Keymap(), L"btn_default");
    SetUserPrompt(&m_prompt);
    EXPECT_FALSE(::IsWindow(box));
    EXPECT_EQ(0, memcmp(&before, &Layer(), sizeof(before)));
}

TEST_F(PopupInterrupt, RemovalAndActivationInsideEveryBoxAndFileDialog)
{
    for (const PromptCase& prompt : Prompts()) {
        for (Arrival arrival : kOthers) {
            SCOPED_TRACE(std::string(prompt.name) + ", " + NameOf(arrival));
            RunPrompt(prompt, arrival);
        }
    }
}

// A 6891 plugged in while the keyboard picker runs on the 6840's page: its page is shown and its
// stored mapping pushed quietly, and the key picked afterwards still lands in the 6840's slot.
TEST_F(PopupInterrupt, AnotherJoystickArrivingInsideAPickerTakesThePage)
{
    Ready(6840);
    size_t pushed = 0;
    Keyboard().InPicker([this, &pushed](HWND) {
        SimController& pad6891 = m_sim.Plug(0x2E7A, 6891);
        SendInterfaceNotice(DeviceWatcher(), DBT_DEVICEARRIVAL, pad6891.path);
        pushed = m_sim.Reports().size();
    });
    PickerClick(m_keyE).Pop(Keymap(), L"btn_Keymap_1");
    EXPECT_EQ(0, DevicePage());
    EXPECT_GT(pushed, 0u);
    EXPECT_EQ(pushed, m_sim.Reports().size());
    EXPECT_FALSE(QuietFlag);
    EXPECT_EQ(MakeMappingCode(kClassButton, kSubKeyboard, 0x08), Layer().keyCode[0]);
}

// With the keyboard picker open over it, the main window is minimised: the tray's double-click
// and a second start bring it back with the picker in front.
TEST_F(PopupInterrupt, ActivationRestoresTheMinimisedWindowUnderAPicker)
{
    for (Arrival arrival : {kTrayShow, kSecondStart}) {
        SCOPED_TRACE(NameOf(arrival));
        Ready(6840);
        HWND main = m_window->Handle();
        bool iconic = true;
        bool pickerInFront = false;
        Keyboard().InPicker([main](HWND) { ::ShowWindow(main, SW_MINIMIZE); });
        m_driver.Then([this, main, arrival] {
            ASSERT_TRUE(::IsIconic(main));
            Deliver(arrival);
        });
        InPicker([&](HWND picker) {
            iconic = ::IsIconic(main) != FALSE;
            pickerInFront = ::GetForegroundWindow() == picker;
        });
        PickerEscape().Pop(Keymap(), L"btn_Keymap_1");
        EXPECT_FALSE(iconic);
        EXPECT_TRUE(pickerInFront);
        EXPECT_TRUE(::IsWindowVisible(main));
    }
}

// The program started again while the keyboard picker runs over the minimised window: the
// second start restores it with the picker in front, and one with "-x" ends it.
TEST_F(PopupInterrupt, SecondProgramStartsReachTheWindowUnderAPicker)
{
    HANDLE running = ::CreateMutexW(nullptr, FALSE, kInstanceName); // as the first start holds it
    Ready(6840);
    HWND main = m_window->Handle();
    shelltest::ProgramProcess restore;
    shelltest::ProgramProcess exit;
    bool iconic = true;
    bool pickerInFront = false;
    Keyboard().InPicker([main, &restore](HWND) {
        ::ShowWindow(main, SW_MINIMIZE);
        restore.Start();
    });
    m_driver.ThenWhen([&restore] { return restore.WaitForExit(0) != STILL_ACTIVE; }, [] {});
    InPicker([&](HWND picker) {
        iconic = ::IsIconic(main) != FALSE;
        pickerInFront = ::GetForegroundWindow() == picker;
        exit.Start(L"-x");
    });
    PopToExit(Keymap(), L"btn_Keymap_1");
    EXPECT_FALSE(iconic);
    EXPECT_TRUE(pickerInFront);
    EXPECT_EQ(0u, restore.WaitForExit());
    EXPECT_EQ(0u, exit.WaitForExit());
    EXPECT_TRUE(m_sim.Reports().empty());
    ::CloseHandle(running);
}

} // namespace
