// The main window built from the program's archive: its layout, the device pages and the
// caption controls that go with them, the sub-page buttons that switch every model's page,
// hiding to the tray, and the commands of a second start and of the tray's menu; the message
// box of a start whose archive is missing.
#include <windows.h>
#include <dbt.h>
#include <algorithm>
#include "control/STabCtrl.h"
#include "device/QuietFlag.h"
#include "files/ModelDataFolder.h"
#include "host_ctrl_test_env.h"
#include "MainTexts.h"
#include "models/ModelDescriptor.h"
#include "models/ZVK6840/ModelFiles6840.h"
#include "models/ZVK6852/ModelFiles6852.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "support/DeviceNotice.h"
#include "texts/ModelTexts.h"
#include "shell_test_env.h"
#include "widgets/SShellNotifyIcon.h"

namespace {

using namespace shelltest;

const int kModelNumbers[CMainDlg::kModelCount] = {6891, 6867, 6852, 6840};

// A device handler that records what the main window asks of it (sends with the quiet flag's
// state then) in place of doing it; its pages are those of a one-layer model.
class RecordingHandler : public COlderDeviceHandler {
public:
    RecordingHandler(int model, std::vector<std::string>* log)
        : COlderDeviceHandler(kModel6840, ZVK6840::Profile(), ZVK6840::JoySetting(), ModelTextsOf(6840)),
          m_model(model), m_log(log)
    {
    }
    void SelectSubPageByNumber(int number) override { Record("sub" + std::to_string(number)); }
    void Tick() override { Record("tick"); }
    bool SendMapping() override
    {
        Record(QuietFlag ? "map quiet" : "map");
        return true;
    }
    bool SendSettings() override
    {
        Record(QuietFlag ? "settings quiet" : "settings");
        return true;
    }

private:
    void Record(const std::string& what) { m_log->push_back(std::to_string(m_model) + ":" + what); }
    int m_model;
    std::vector<std::string>* m_log;
};

class MainWindow : public MainWindowTest {
protected:
    // The main window over recording handlers.
    HWND OpenRecording()
    {
        for (int model = 0; model < CMainDlg::kModelCount; ++model)
            m_recording[model].reset(new RecordingHandler(kModelNumbers[model], &m_log));
        m_handlers = {m_recording[0].get(), m_recording[1].get(), m_recording[2].get(), m_recording[3].get()};
        return Open(&m_handlers);
    }
    // What the handlers were asked, other than ticks, since the last look.
    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> taken;
        for (const std::string& entry : m_log) {
            if (entry.find("tick") == std::string::npos)
                taken.push_back(entry);
        }
        m_log.clear();
        return taken;
    }
    int TakeTicks(int model)
    {
        int ticks = 0;
        for (const std::string& entry : m_log)
            ticks += entry == std::to_string(kModelNumbers[model]) + ":tick";
        m_log.clear();
        return ticks;
    }
    static HWND DeviceWatcher() { return ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"QM_HidDirectInput_msg_windows"); }
    static std::vector<std::string> Pushed(int model)
    {
        std::string number = std::to_string(kModelNumbers[model]);
        return {number + ":map quiet", number + ":settings quiet"};
    }

    STabCtrl* DevicePages() { return m_window->FindChildByName2<STabCtrl>(L"tabctrl_devices"); }
    // The sub-page shown on each model's device page, in model order.
    std::vector<int> SubPages()
    {
        std::vector<int> shown;
        for (int model = 0; model < CMainDlg::kModelCount; ++model) {
            STabCtrl* pages = DevicePages()->PageAt(model)->FindChildByName2<STabCtrl>(L"tabctrl_funPages");
            shown.push_back(pages ? pages->CurSel() : -1);
        }
        return shown;
    }

    std::vector<std::string> m_log;
    std::unique_ptr<RecordingHandler> m_recording[CMainDlg::kModelCount];
    CMainDlg::DeviceHandlers m_handlers = {};
};

TEST_F(MainWindow, LayoutHoldsCaptionDevicePagesAndTrayIcon)
{
    ASSERT_NE(nullptr, Open());
    EXPECT_TRUE(m_window->HasLayout());
    for (const wchar_t* name : {L"caption", L"img_logo", L"btn_min", L"btn_close"})
        EXPECT_NE(nullptr, m_window->LookupChildByName(SStringW(name))) << name;
    STabCtrl* devices = DevicePages();
    ASSERT_EQ(CMainDlg::kModelCount + 1, devices->PageCount());
    const int subPageCounts[] = {5, 4, 4, 4};
    for (int model = 0; model < CMainDlg::kModelCount; ++model) {
        STabCtrl* pages = devices->PageAt(model)->FindChildByName2<STabCtrl>(L"tabctrl_funPages");
        ASSERT_NE(nullptr, pages) << kModelNumbers[model];
        EXPECT_EQ(subPageCounts[model], pages->PageCount()) << kModelNumbers[model];
    }
    SShellNotifyIcon* tray = m_window->FindChildByID2<SShellNotifyIcon>(110);
    ASSERT_NE(nullptr, tray);
    EXPECT_STREQ(L"SMENUEX:menuex_tray", tray->MenuId().c_str());
    EXPECT_STREQ(L"退出", m_startup->App()->TranslateText(L"Exit", L"").c_str()); // the tray menu's item
    wchar_t title[64] = {};
    ::GetWindowTextW(m_window->Handle(), title, 64);
    EXPECT_STREQ(L"Corvane映射软件", title);
    EXPECT_EQ(reinterpret_cast<HANDLE>(1), ::GetPropW(m_window->Handle(), kInstanceName));
}

// "mainlang.xml" beside the program names the window and the title beside the caption's logo.
TEST_F(MainWindow, MainlangTitleNamesTheWindowAndTheCaption)
{
    {
        FileBesideProgram file(L"mainlang.xml", "<?xml version='1.0' encoding='utf-8'?>\n"
                                                "<root><TilteName name='T1'/></root>");
        ASSERT_NE(nullptr, Open());
    }
    wchar_t title[64] = {};
    ::GetWindowTextW(m_window->Handle(), title, 64);
    EXPECT_STREQ(L"T1", title);
    SWindow* logo = m_window->LookupChildByName(SStringW(L"img_logo"));
    ASSERT_NE(nullptr, logo);
    SWindow* caption = logo->GetRelative(kRelNextSibling);
    ASSERT_NE(nullptr, caption);
    EXPECT_STREQ(L"T1", caption->QueryText().c_str());
    CurrentMainTexts() = MainTexts();
}

// The models' profiles and settings come from their automatic files when the window starts.
TEST_F(MainWindow, StoredDataIsLoadedAtStart)
{
    restest::TempFolder dataRoot;
    SetModelDataRoot(dataRoot.Path());
    ZVK6852::Profile().CurrentLayer().turbo[4] = 20;
    ZVK6891::JoySetting().Record().deadZones[0] = 30;
    ASSERT_TRUE(ZVK6852::Profile().Save());
    ASSERT_TRUE(ZVK6891::JoySetting().Save());
    ZVK6852::Profile().RestoreDefaults();
    ZVK6891::JoySetting().ResetSettings();

    ASSERT_NE(nullptr, Open());
    EXPECT_EQ(20u, ZVK6852::Profile().CurrentLayer().turbo[4]);
    EXPECT_EQ(30u, ZVK6891::JoySetting().Record().deadZones[0]);
    SetModelDataRoot(L"");
}

// Each model's page brings the sub-page buttons and the logo; the page without a device hides
// them and shows its picture over the whole page.
TEST_F(MainWindow, DevicePageDecidesTheCaption)
{
    ASSERT_NE(nullptr, Open());
    for (int page : {0, 4, 1, 2, 4, 3}) {
        SCOPED_TRACE(page);
        m_window->ShowDevicePage(page);
        EXPECT_EQ(page, DevicePages()->CurSel());
        bool model = page != CMainDlg::kNotInsertedPage;
        for (const wchar_t* name : kSubPageButtons)
            EXPECT_EQ(model, Visible(*m_window, name)) << name;
        EXPECT_EQ(model, Visible(*m_window, L"img_logo"));
        EXPECT_TRUE(Visible(*m_window, L"btn_close"));
    }
    // The bottom-left corner: the face colour on a model's page, deep blue without a device.
    for (int page : {0, 4}) {
        m_window->ShowDevicePage(page);
        int width = 0, height = 0;
        std::vector<UINT32> shot = hosttest::HostTest::Capture(m_window->Handle(), width, height);
        UINT32 corner = shot[(height - 2) * width + 2] & 0xFFFFFF;
        EXPECT_EQ(page == 0 ? 0xEEF2F6u : 0x235E86u, corner) << std::hex << corner;
    }
}

TEST_F(MainWindow, SubPageButtonsCheckOneAndAskEveryModelInOrder)
{
    ASSERT_NE(nullptr, OpenRecording());
    m_window->ShowDevicePage(0);
    EXPECT_EQ((std::vector<std::string>{"6891:sub0", "6867:sub0", "6852:sub0", "6840:sub0"}), TakeLog());
    for (int button : {2, 1, 3, 0}) {
        Click(*m_window, kSubPageButtons[button]);
        std::string number = std::to_string(button);
        EXPECT_EQ((std::vector<std::string>{"6891:sub" + number, "6867:sub" + number, "6852:sub" + number,
                                            "6840:sub" + number}),
                  TakeLog());
        EXPECT_EQ(button, CheckedTab());
    }
}

// A click on a caption tab taken through the message loop, the pointer left on it: that tab
// alone is drawn checked (its underline) over its sub-page on every model's page.
TEST_F(MainWindow, AClickedTabIsDrawnCheckedOverItsSubPage)
{
    const UINT32 kUnderline = 0x5FB0E4;
    SimController& pad = m_sim.Plug(0x2E7A, 6840);
    ASSERT_NE(nullptr, Open());
    for (int tab : {1, 2, 3, 0}) {
        ClickTab(tab);
        hosttest::Shot shot;
        shot.pixels = hosttest::HostTest::Capture(m_window->Handle(), shot.width, shot.height);
        for (int other = 0; other < static_cast<int>(std::size(kSubPageButtons)); ++other) {
            RECT rect = m_window->LookupChildByName(SStringW(kSubPageButtons[other]))->GetWindowRect();
            UINT32 underline = shot.At((rect.left + rect.right) / 2, rect.bottom - 2) & 0xFFFFFF;
            EXPECT_EQ(other == tab, underline == kUnderline) << tab << " " << other << " " << std::hex << underline;
        }
        EXPECT_EQ(tab, CheckedTab());
        EXPECT_EQ((std::vector<int>{tab ? tab + 1 : 0, tab, tab, tab}), SubPages()) << tab;
    }
    m_window->DestroyHost();
    m_sim.Unplug(pad);
}

// Model 6891 has two key-mapping pages before its other three; its key-mapping button shows the
// one seen last. Numbers outside 0..3 change nothing.
TEST_F(MainWindow, ModelsShowTheSubPageOfTheButton)
{
    ZVK6891::CDeviceHandler6891 h6891;
    ZVK6867::CDeviceHandler6867 h6867;
    ZVK6852::CDeviceHandler6852 h6852;
    ZVK6840::CDeviceHandler6840 h6840;
    CMainDlg::DeviceHandlers handlers = {&h6891, &h6867, &h6852, &h6840};
    ASSERT_NE(nullptr, Open(&handlers));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 0}), SubPages());
    const struct {
        int number;
        std::vector<int> shown;
    } kSteps[] = {{1, {2, 1, 1, 1}}, {2, {3, 2, 2, 2}}, {3, {4, 3, 3, 3}}, {0, {0, 0, 0, 0}}, {4, {0, 0, 0, 0}},
                  {-1, {0, 0, 0, 0}}};
    for (const auto& step : kSteps) {
        m_window->SelectSubPage(step.number);
        EXPECT_EQ(step.shown, SubPages()) << step.number;
    }
    h6891.SelectSubPage(1); // key mapping B
    m_window->SelectSubPage(2);
    m_window->SelectSubPage(0);
    EXPECT_EQ((std::vector<int>{1, 0, 0, 0}), SubPages());
    m_window->DestroyHost(); // before the handlers it holds go
}

TEST_F(MainWindow, CloseHidesMinimiseIconifiesRestoreBringsBack)
{
    HWND hwnd = Open();
    ASSERT_NE(nullptr, hwnd);
    Click(*m_window, L"btn_close");
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kCommandRestore, 1), 0); // not a plain command
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    ::SendMessageW(hwnd, WM_COMMAND, kCommandRestore, 0);
    EXPECT_TRUE(::IsWindowVisible(hwnd));

    Click(*m_window, L"btn_min");
    EXPECT_TRUE(::IsIconic(hwnd));
    ::SendMessageW(hwnd, WM_COMMAND, kCommandRestore, 0);
    EXPECT_FALSE(::IsIconic(hwnd));

    ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(hwnd));
    EXPECT_TRUE(::IsWindow(hwnd));
}

// The tray menu's one item ends the program: the window goes and the message loop returns.
TEST_F(MainWindow, TrayExitEndsTheLoop)
{
    HWND hwnd = Open();
    ASSERT_NE(nullptr, hwnd);
    SShellNotifyIcon* tray = m_window->FindChildByID2<SShellNotifyIcon>(110);
    ASSERT_NE(nullptr, tray);
    HWND tip = tray->MessageHwnd();
    // The menu's own loop takes the keys; a run that another window's activation cut short is
    // repeated.
    for (int attempt = 0; attempt < 5 && ::IsWindow(hwnd); ++attempt) {
        hosttest::HostTest::Pump();
        ::PostMessageW(tip, WM_KEYDOWN, VK_DOWN, 1);
        ::PostMessageW(tip, WM_KEYDOWN, VK_RETURN, 1);
        ::SendMessageW(tip, SShellNotifyIcon::kCallbackMessage, SShellNotifyIcon::kNotifyId, WM_RBUTTONDOWN);
    }
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(1, m_startup->App()->RunMainLoop(hwnd));
}

// The joystick found at start decides the page; only a supported model's handler sends, with
// the error boxes quiet.
TEST_F(MainWindow, DetectionShowsTheModelsPageAndPushesItsDataQuietly)
{
    const struct {
        USHORT vendor; // 0: nothing plugged
        USHORT product;
        int page;
    } kCases[] = {{0x2E7A, 6891, 0}, {0x2E7A, 6867, 1}, {0x2E7A, 6852, 2}, {0x2E7A, 6840, 3},
                  {0x2E7A, 6800, 4}, {0x2E7B, 6891, 4}, {0, 0, 4}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.product);
        SimController* pad = c.vendor ? &m_sim.Plug(c.vendor, c.product) : nullptr;
        ASSERT_NE(nullptr, OpenRecording());
        EXPECT_EQ(c.page, DevicePages()->CurSel());
        EXPECT_EQ(c.page != CMainDlg::kNotInsertedPage, Visible(*m_window, L"img_logo"));
        std::vector<std::string> sent;
        for (const std::string& entry : TakeLog()) {
            if (entry.find(":sub") == std::string::npos)
                sent.push_back(entry);
        }
        EXPECT_EQ(c.page < CMainDlg::kModelCount ? Pushed(c.page) : std::vector<std::string>{}, sent);
        EXPECT_FALSE(QuietFlag);
        m_window->DestroyHost();
        if (pad)
            m_sim.Unplug(*pad);
    }
}

// Arrival and removal notices re-probe only for the first interface of a supported model; other
// notices, and malformed ones, change nothing. A 6891 wins over the model already shown.
TEST_F(MainWindow, DeviceNoticesReprobeForSupportedModelsOnly)
{
    ASSERT_NE(nullptr, OpenRecording());
    HWND watcher = DeviceWatcher();
    ASSERT_NE(nullptr, watcher);
    SimController& pad6852 = m_sim.Plug(0x2E7A, 6852);
    std::wstring otherInterface = pad6852.path;
    otherInterface.replace(otherInterface.find(L"mi_00"), 5, L"mi_01");
    std::vector<BYTE> truncated = InterfaceNotice(pad6852.path);
    reinterpret_cast<DEV_BROADCAST_HDR*>(truncated.data())->dbch_size = 24;
    std::vector<BYTE> otherType = InterfaceNotice(pad6852.path);
    reinterpret_cast<DEV_BROADCAST_HDR*>(otherType.data())->dbch_devicetype = DBT_DEVTYP_VOLUME;
    TakeLog();

    SendInterfaceNotice(watcher, DBT_DEVICEARRIVAL, otherInterface);
    SendInterfaceNotice(watcher, DBT_DEVICEARRIVAL, L"\\\\?\\hid#vid_045e&pid_028e&mi_00#1&2&0&0000");
    SendInterfaceNotice(watcher, DBT_DEVICEQUERYREMOVE, pad6852.path);
    for (std::vector<BYTE>* notice : {&truncated, &otherType})
        ::SendMessageW(watcher, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(notice->data()));
    ::SendMessageW(watcher, WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
    EXPECT_EQ(CMainDlg::kNotInsertedPage, DevicePages()->CurSel());
    EXPECT_TRUE(TakeLog().empty());

    SendInterfaceNotice(watcher, DBT_DEVICEARRIVAL, pad6852.path);
    EXPECT_EQ(2, DevicePages()->CurSel());
    EXPECT_EQ(Pushed(2), TakeLog());

    SimController& pad6891 = m_sim.Plug(0x2E7A, 6891);
    SendInterfaceNotice(watcher, DBT_DEVICEARRIVAL, pad6891.path);
    EXPECT_EQ(0, DevicePages()->CurSel());
    EXPECT_EQ(Pushed(0), TakeLog());

    m_sim.Unplug(pad6891);
    m_sim.Unplug(pad6852);
    SendInterfaceNotice(watcher, DBT_DEVICEREMOVECOMPLETE, pad6891.path);
    EXPECT_EQ(CMainDlg::kNotInsertedPage, DevicePages()->CurSel());
    EXPECT_FALSE(Visible(*m_window, kSubPageButtons[0]));
    EXPECT_TRUE(TakeLog().empty());
}

// The poll tick reaches every model's handler about every 33 ms, with and without a joystick;
// the watcher goes with the window.
TEST_F(MainWindow, PollTicksReachEveryModelAbout30TimesASecond)
{
    for (bool plugged : {false, true}) {
        SCOPED_TRACE(plugged ? "6840 plugged" : "no joystick");
        SimController* pad = plugged ? &m_sim.Plug(0x2E7A, 6840) : nullptr;
        ASSERT_NE(nullptr, OpenRecording());
        hosttest::HostTest::PumpFor(200);
        m_log.clear();
        hosttest::HostTest::PumpFor(1000);
        std::vector<std::string> log = m_log;
        for (int model = 0; model < CMainDlg::kModelCount; ++model) {
            m_log = log;
            int ticks = TakeTicks(model);
            EXPECT_GE(ticks, 20) << kModelNumbers[model];
            EXPECT_LE(ticks, 40) << kModelNumbers[model];
        }
        m_window->DestroyHost();
        EXPECT_EQ(nullptr, DeviceWatcher());
        if (pad)
            m_sim.Unplug(*pad);
    }
}

// The pictures of the documentation (scripts/screenshots.sh): the main window as it starts
// without a joystick and with each model plugged, written beside the test program.
TEST_F(MainWindow, ScreenshotsOfEveryPage)
{
    const struct {
        USHORT product; // 0: nothing plugged
        const wchar_t* file;
    } kPages[] = {{0, L"corvane-not-inserted.png"}, {6891, L"corvane-6891.png"}, {6867, L"corvane-6867.png"},
                  {6852, L"corvane-6852.png"}, {6840, L"corvane-6840.png"}};
    for (const auto& page : kPages) {
        SimController* pad = page.product ? &m_sim.Plug(0x2E7A, page.product) : nullptr;
        HWND hwnd = Open();
        ASSERT_NE(nullptr, hwnd);
        hosttest::Shot shot;
        shot.pixels = hosttest::HostTest::Capture(hwnd, shot.width, shot.height);
        std::wstring path = TestFolder() + L"\\" + page.file;
        EXPECT_TRUE(shot.SavePng(m_startup->App()->RenderFactory(), path)) << page.product;
        m_window->DestroyHost();
        if (pad)
            m_sim.Unplug(*pad);
    }
}

// The message box of this thread, as TakeBox saw it.
struct SeenBox {
    std::wstring text; // line breaks left out
    RECT rect;
    bool ownerIsInstance; // its owner carries the single-instance property
};
SeenBox g_seenBox;

BOOL CALLBACK AppendChildText(HWND child, LPARAM text)
{
    wchar_t line[1024] = {};
    ::GetWindowTextW(child, line, 1024);
    reinterpret_cast<std::wstring*>(text)->append(line);
    return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (wcscmp(name, L"#32770") != 0 || !::IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// Thread timer: once the box is shown, notes it in g_seenBox and closes it.
void CALLBACK TakeBox(HWND, UINT, UINT_PTR, DWORD)
{
    HWND box = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
    if (!box)
        return;
    g_seenBox.text.clear();
    ::EnumChildWindows(box, AppendChildText, reinterpret_cast<LPARAM>(&g_seenBox.text));
    g_seenBox.text.erase(std::remove(g_seenBox.text.begin(), g_seenBox.text.end(), L'\n'), g_seenBox.text.end());
    ::GetWindowRect(box, &g_seenBox.rect);
    g_seenBox.ownerIsInstance = ::GetPropW(::GetWindow(box, GW_OWNER), kInstanceName) != nullptr;
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// A program folder of 374 characters without the archive: the box names the archive in lines
// that keep it within the screen, a window with the single-instance property owns it while it
// is shown, and the start ends failed.
TEST(StartFailureBox, LongFolderPathFitsTheScreen)
{
    ProgramCopy folder({}, 374);
    SimJoystick sim;
    g_seenBox = SeenBox();
    {
        CCorvaneStartup startup(::GetModuleHandleW(nullptr), folder.Path().c_str());
        CMainDlg window;
        UINT_PTR timer = ::SetTimer(nullptr, 0, 50, TakeBox);
        EXPECT_EQ(kExitStartFailed, startup.RunMainWindow(window, false));
        ::KillTimer(nullptr, timer);
    }
    EXPECT_NE(std::wstring::npos, g_seenBox.text.find(folder.File(L"uires.zip"))) << g_seenBox.text;
    EXPECT_GT(g_seenBox.rect.right - g_seenBox.rect.left, 0);
    EXPECT_LE(g_seenBox.rect.right - g_seenBox.rect.left, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(g_seenBox.ownerIsInstance);
}

} // namespace
