// The main window built from the program's archive: its layout, the device pages and the
// caption controls that go with them, the sub-page buttons that switch every model's page,
// hiding to the tray, and the commands of a second start and of the tray's menu.
#include "control/STabCtrl.h"
#include "files/ModelDataFolder.h"
#include "host_ctrl_test_env.h"
#include "models/ZVK6852/ModelFiles6852.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "shell_test_env.h"
#include "widgets/SShellNotifyIcon.h"

namespace {

using namespace shelltest;

const wchar_t* const kSubPageButtons[] = {L"btn_keymapPage", L"btn_joystickSetting", L"btn_functionTest",
                                          L"btn_about"};
const int kModelNumbers[CMainDlg::kModelCount] = {6891, 6867, 6852, 6840};

// A device handler that only records what the main window asks of it.
class RecordingHandler : public CDeviceHandlerBase {
public:
    RecordingHandler(int model, std::vector<std::string>* log) : m_model(model), m_log(log) {}
    void SelectSubPageByNumber(int number) override { Record("sub" + std::to_string(number)); }
    void Tick() override { Record("tick"); }

private:
    void Record(const std::string& what) { m_log->push_back(std::to_string(m_model) + ":" + what); }
    int m_model;
    std::vector<std::string>* m_log;
};

class MainWindow : public MainWindowTest {
protected:
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
    std::vector<bool> CheckedButtons()
    {
        std::vector<bool> checked;
        for (const wchar_t* name : kSubPageButtons)
            checked.push_back(m_window->LookupChildByName(SStringW(name))->TestChecked() != FALSE);
        return checked;
    }
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
    std::vector<std::string> log;
    RecordingHandler h6891(6891, &log), h6867(6867, &log), h6852(6852, &log), h6840(6840, &log);
    CMainDlg::DeviceHandlers handlers = {&h6891, &h6867, &h6852, &h6840};
    ASSERT_NE(nullptr, Open(&handlers));
    m_window->ShowDevicePage(0);
    EXPECT_EQ((std::vector<std::string>{"6891:sub0", "6867:sub0", "6852:sub0", "6840:sub0"}), log);
    for (int button : {2, 1, 3, 0}) {
        log.clear();
        Click(*m_window, kSubPageButtons[button]);
        std::string number = std::to_string(button);
        EXPECT_EQ((std::vector<std::string>{"6891:sub" + number, "6867:sub" + number, "6852:sub" + number,
                                            "6840:sub" + number}),
                  log);
        std::vector<bool> checked(4, false);
        checked[button] = true;
        EXPECT_EQ(checked, CheckedButtons());
    }
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

// The pictures of the documentation (scripts/screenshots.sh): the main window on the page
// without a device and on each model's page, written beside the test program.
TEST_F(MainWindow, ScreenshotsOfEveryPage)
{
    HWND hwnd = Open();
    ASSERT_NE(nullptr, hwnd);
    const struct {
        int page;
        const wchar_t* file;
    } kPages[] = {{4, L"corvane-not-inserted.png"}, {0, L"corvane-6891.png"}, {1, L"corvane-6867.png"},
                  {2, L"corvane-6852.png"}, {3, L"corvane-6840.png"}};
    for (const auto& page : kPages) {
        m_window->ShowDevicePage(page.page);
        hosttest::Shot shot;
        shot.pixels = hosttest::HostTest::Capture(hwnd, shot.width, shot.height);
        std::wstring path = TestFolder() + L"\\" + page.file;
        EXPECT_TRUE(shot.SavePng(m_startup->App()->RenderFactory(), path)) << page.page;
    }
}

} // namespace
