// The tray icon in a real host window: adding and removing the icon, its attributes, the
// animation timer, the callback messages (double click, right-click menu) and the taskbar's
// re-creation.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app_test_support.h"
#include "core/SApp.h"
#include "core/SHostWnd.h"
#include "host_test_env.h"
#include "widgets/SShellNotifyIcon.h"

using namespace SKEIN;

namespace {

// Answers the icons it holds with fresh icons, logging "name:cx:cy".
class IconProvider : public skein_test::MemProvider {
public:
    void PutIcon(const std::wstring& name) { Put(L"ICON", name, "icon"); }
    HICON LoadIconRes(const wchar_t* name, int cx, int cy) override
    {
        requests.push_back(std::wstring(name) + L":" + std::to_wstring(cx) + L":" + std::to_wstring(cy));
        BYTE andMask[16 * 16 / 8] = {};
        BYTE xorMask[16 * 16 / 8] = {};
        return ::CreateIcon(nullptr, 16, 16, 1, 1, andMask, xorMask);
    }
    std::vector<std::wstring> requests;
};

// Records the commands it gets; 9999 destroys it, as the program's main window does.
class TrayHost : public SHostWnd {
public:
    explicit TrayHost(const wchar_t* layout) : SHostWnd(layout) {}
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override
    {
        if (msg == WM_COMMAND && mapId == 0) {
            commands.push_back(LOWORD(wParam));
            if (LOWORD(wParam) == 9999)
                DestroyHost();
            return LOWORD(wParam) == 9999;
        }
        if (msg == SShellNotifyIcon::kCallbackMessage && claimCallbacks) {
            result = 42;
            return TRUE;
        }
        return SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
    }
    std::vector<int> commands;
    bool claimCallbacks = false;
};

const char kFiveIcons[] = "i0:16;i1:16;i2:16;i3:16;i4:16";

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* factory = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&factory));
        m_factory.Attach(factory);
        m_app = new SApplication(factory, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
        m_app->AddFactory(TplSObjectFactory<SShellNotifyIcon>(), FALSE);
        m_provider = new IconProvider;
        for (const wchar_t* name : {L"ICON_LOGO", L"i0", L"i1", L"i2", L"i3", L"i4"})
            m_provider->PutIcon(name);
        m_provider->Put(L"XML", L"nativemenu", "<menu><item id='9999'>Exit</item></menu>");
        m_provider->Put(L"XML", L"drawnmenu", "<?xml version='1.0'?><menuRoot><menuItem id='9999'>Exit</menuItem></menuRoot>");
        m_provider->Put(L"XML", L"othermenu", "<foo/>");
        m_app->AddProvider(m_provider);
        m_provider->Release();
    }
    void TearDown() override
    {
        m_host.reset();
        hosttest::HostTest::Pump();
        delete m_app;
    }

    // A shown host whose layout holds one tray icon with the given attributes.
    SShellNotifyIcon* CreateHost(const std::string& attributes)
    {
        m_provider->Put(L"LAYOUT", L"tray",
                        "<SKEIN width='200' height='100'><root><shellnotifyicon id='110' " + attributes +
                            "/></root></SKEIN>");
        m_host.reset(new TrayHost(L"LAYOUT:tray"));
        HWND hwnd = m_host->CreateHost(nullptr, WS_POPUP | WS_MINIMIZEBOX, 0, 0, 0, 200, 100);
        EXPECT_TRUE(hwnd);
        ::ShowWindow(hwnd, SW_SHOW);
        return m_host->FindChildByID2<SShellNotifyIcon>(110);
    }

    // Whether the shell knows the icon of this record.
    static bool InShell(NOTIFYICONDATAW data)
    {
        data.uFlags = NIF_TIP;
        return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    static LRESULT Notify(HWND hwnd, LPARAM event)
    {
        return ::SendMessageW(hwnd, SShellNotifyIcon::kCallbackMessage, SShellNotifyIcon::kNotifyId, event);
    }
    static HRESULT Apply(SShellNotifyIcon* icon, const wchar_t* name, const std::wstring& value, BOOL loading = TRUE)
    {
        return icon->ApplyAttribute(SStringW(name), SStringW(value.c_str()), loading);
    }
    std::vector<HICON> Icons(SShellNotifyIcon* icon) const
    {
        std::vector<HICON> icons;
        for (int i = 0; i < icon->IconCount(); ++i)
            icons.push_back(icon->IconAt(i));
        return icons;
    }

    SRefPtr<IRenderFactory> m_factory;
    SApplication* m_app = nullptr;
    IconProvider* m_provider = nullptr;
    std::unique_ptr<TrayHost> m_host;
};

TEST_F(TrayTest, IconListTipAndMenuAttributes)
{
    SRefPtr<SShellNotifyIcon> icon(new SShellNotifyIcon, false);
    EXPECT_EQ(S_OK, Apply(icon, L"ico", L"i0:16;nosuch:16;i1:16"));
    EXPECT_EQ(2, icon->IconCount());
    EXPECT_EQ(S_FALSE, Apply(icon, L"ICO", L"nosuch;other"));
    EXPECT_EQ(0, icon->IconCount());

    const struct {
        const wchar_t* id;
        HRESULT result;
        int kind;
        const wchar_t* storedId;
    } kMenus[] = {
        {L"XML:nativemenu", S_OK, SShellNotifyIcon::kMenuNative, L"XML:nativemenu"},
        {L"XML:drawnmenu", S_OK, SShellNotifyIcon::kMenuDrawn, L"XML:drawnmenu"},
        {L"XML:missing", S_FALSE, SShellNotifyIcon::kMenuDrawn, L"XML:drawnmenu"},
        {L"nativemenu", S_FALSE, SShellNotifyIcon::kMenuDrawn, L"XML:drawnmenu"},
        {L"XML:othermenu", S_OK, SShellNotifyIcon::kMenuNone, L"XML:drawnmenu"},
    };
    for (const auto& c : kMenus) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(c.result, Apply(icon, L"menu", c.id));
        EXPECT_EQ(c.kind, icon->GetMenuKind());
        EXPECT_STREQ(c.storedId, icon->MenuId().c_str());
    }

    // A tip that does not fit is cut to the record's 127 characters; an empty one changes nothing.
    EXPECT_EQ(S_OK, Apply(icon, L"tip", std::wstring(200, L'x'), FALSE));
    EXPECT_EQ(std::wstring(127, L'x'), icon->IconData().szTip);
    EXPECT_EQ(S_FALSE, Apply(icon, L"tip", L"", FALSE));
    EXPECT_EQ(std::wstring(127, L'x'), icon->IconData().szTip);
    EXPECT_FALSE(icon->AddIcon()); // the record is not filled before creation
}

TEST_F(TrayTest, IconIsAddedWithItsRecordAndRemovedWithTheHost)
{
    SShellNotifyIcon* icon = CreateHost(std::string("ico='") + kFiveIcons + "' tip='Tray tip' deficoidx='0x2'");
    ASSERT_NE(nullptr, icon);
    HWND msgWnd = icon->MessageHwnd();
    ASSERT_TRUE(::IsWindow(msgWnd));
    wchar_t title[64] = {};
    ::GetWindowTextW(msgWnd, title, 64);
    EXPECT_STREQ(L"shell_nofity_msg_windows", title);
    EXPECT_FALSE(::IsWindowVisible(msgWnd));

    NOTIFYICONDATAW data = icon->IconData();
    EXPECT_EQ(msgWnd, data.hWnd);
    EXPECT_EQ(100u, data.uID);
    EXPECT_EQ(2135u, data.uCallbackMessage);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), data.uFlags);
    EXPECT_EQ(icon->IconAt(2), data.hIcon);
    EXPECT_STREQ(L"Tray tip", data.szTip);
    EXPECT_TRUE(InShell(data));

    // New icons replace the destroyed ones in the record too.
    EXPECT_EQ(S_OK, Apply(icon, L"ico", L"i3:16;i4:16", FALSE));
    EXPECT_EQ(icon->IconAt(0), icon->IconData().hIcon);

    m_host->DestroyHost();
    EXPECT_FALSE(::IsWindow(msgWnd));
    EXPECT_FALSE(InShell(data));
}

TEST_F(TrayTest, TaskbarRecreationPutsTheIconBack)
{
    SShellNotifyIcon* icon = CreateHost(std::string("ico='") + kFiveIcons + "'");
    ASSERT_NE(nullptr, icon);
    NOTIFYICONDATAW data = icon->IconData();
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &data)); // the shell went away with its icons
    ASSERT_FALSE(InShell(data));
    // The new taskbar broadcasts to every top-level window.
    ::PostMessageW(HWND_BROADCAST, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    hosttest::HostTest::PumpFor(100);
    EXPECT_TRUE(InShell(data));
}

TEST_F(TrayTest, AnimationTimerCyclesFromTheStartFrame)
{
    SShellNotifyIcon* icon = CreateHost(std::string("ico='") + kFiveIcons + "' startframe='1' duration='10'");
    ASSERT_NE(nullptr, icon);
    HWND msgWnd = icon->MessageHwnd();
    icon->StartAnimation();
    ASSERT_TRUE(icon->IsAnimating());

    std::vector<HICON> seen;
    for (int i = 0; i < 6; ++i) {
        ::SendMessageW(msgWnd, WM_TIMER, SShellNotifyIcon::kAnimationTimer, 0);
        seen.push_back(icon->IconData().hIcon);
    }
    std::vector<HICON> icons = Icons(icon);
    EXPECT_EQ((std::vector<HICON>{icons[1], icons[2], icons[3], icons[4], icons[1], icons[2]}), seen);

    // The real timer steps too.
    HICON before = icon->IconData().hIcon;
    for (int i = 0; i < 100 && before == icon->IconData().hIcon; ++i)
        hosttest::HostTest::PumpFor(20);
    EXPECT_NE(before, icon->IconData().hIcon);

    // While animating a new default icon is only recorded; stopping shows it.
    icon->ShowIcon(3);
    icon->StopAnimation();
    EXPECT_FALSE(icon->IsAnimating());
    EXPECT_EQ(icons[3], icon->IconData().hIcon);
    EXPECT_FALSE(::KillTimer(msgWnd, SShellNotifyIcon::kAnimationTimer)); // already stopped
    EXPECT_TRUE(InShell(icon->IconData()));
}

TEST_F(TrayTest, AnimationNeedsFourFramesFromTheStartFrame)
{
    SShellNotifyIcon* icon = CreateHost("ico='i0:16;i1:16;i2:16;i3:16' startframe='1'");
    ASSERT_NE(nullptr, icon);
    icon->StartAnimation();
    EXPECT_FALSE(icon->IsAnimating());
    EXPECT_FALSE(::KillTimer(icon->MessageHwnd(), SShellNotifyIcon::kAnimationTimer));
}

TEST_F(TrayTest, EmptyIconListFallsBackToTheLogoAndStaysSafe)
{
    SShellNotifyIcon* icon = CreateHost("ico='nosuch:16' deficoidx='3' startframe='0'");
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(0, icon->IconCount());
    EXPECT_EQ(L"ICON_LOGO:16:16", m_provider->requests.back());
    HICON logo = icon->IconData().hIcon;
    ASSERT_NE(nullptr, logo);
    EXPECT_TRUE(InShell(icon->IconData()));

    icon->ShowIcon(0);
    icon->StartAnimation();
    EXPECT_FALSE(icon->IsAnimating());
    icon->NextFrame();
    icon->StopAnimation();
    EXPECT_EQ(logo, icon->IconData().hIcon);
}

TEST_F(TrayTest, DoubleClickRestoresTheHostUnlessTheHostTakesTheCallback)
{
    SShellNotifyIcon* icon = CreateHost(std::string("ico='") + kFiveIcons + "'");
    ASSERT_NE(nullptr, icon);
    HWND host = m_host->Handle();
    HWND msgWnd = icon->MessageHwnd();

    ::ShowWindow(host, SW_MINIMIZE);
    ASSERT_TRUE(::IsIconic(host));
    m_host->claimCallbacks = true;
    EXPECT_EQ(42, Notify(msgWnd, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(::IsIconic(host));

    m_host->claimCallbacks = false;
    EXPECT_EQ(0, Notify(msgWnd, WM_LBUTTONDBLCLK));
    EXPECT_FALSE(::IsIconic(host));
    EXPECT_TRUE(::IsWindowVisible(host));
    EXPECT_EQ(host, ::GetForegroundWindow());

    ::ShowWindow(host, SW_HIDE);
    EXPECT_EQ(0, Notify(msgWnd, WM_LBUTTONDBLCLK));
    EXPECT_TRUE(::IsWindowVisible(host));
    EXPECT_EQ(1, Notify(msgWnd, WM_MOUSEMOVE));
}

TEST_F(TrayTest, RightClickMenuExitReachesTheHostAsCommand9999)
{
    // Either menu family; the host destroys itself on 9999, which releases the control while
    // its message window is still inside the callback and the icon animates.
    for (const char* menu : {"XML:nativemenu", "XML:drawnmenu"}) {
        SCOPED_TRACE(menu);
        SShellNotifyIcon* icon = CreateHost(std::string("ico='") + kFiveIcons + "' menu='" + menu + "' duration='10'");
        ASSERT_NE(nullptr, icon);
        icon->StartAnimation();
        HWND msgWnd = icon->MessageHwnd();
        NOTIFYICONDATAW data = icon->IconData();
        // The menu's own loop picks up the keys. A drawn menu ends without a choice (0xFFFF)
        // when another process takes the foreground meanwhile: that run is repeated.
        for (int attempt = 0; attempt < 5 && (attempt == 0 || m_host->commands == std::vector<int>{0xFFFF});
             ++attempt) {
            hosttest::HostTest::Pump();
            m_host->commands.clear();
            ::PostMessageW(msgWnd, WM_KEYDOWN, VK_DOWN, 1);
            ::PostMessageW(msgWnd, WM_KEYDOWN, VK_RETURN, 1);
            EXPECT_EQ(0, Notify(msgWnd, WM_RBUTTONDOWN));
        }
        EXPECT_EQ(std::vector<int>{9999}, m_host->commands);
        EXPECT_FALSE(::IsWindow(m_host->Handle()));
        EXPECT_FALSE(::IsWindow(msgWnd));
        EXPECT_FALSE(InShell(data));
        hosttest::HostTest::PumpFor(50);
    }
}

TEST_F(TrayTest, MenuOfAnotherRootShowsNothing)
{
    SShellNotifyIcon* icon = CreateHost("menu='XML:othermenu'");
    ASSERT_NE(nullptr, icon);
    ::PostMessageW(icon->MessageHwnd(), WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(0, Notify(icon->MessageHwnd(), WM_RBUTTONDOWN));
    EXPECT_TRUE(m_host->commands.empty());
    hosttest::HostTest::Pump();
}

TEST_F(TrayTest, QueuedMessagesAfterTheHostIsGoneAreHarmless)
{
    SShellNotifyIcon* icon = CreateHost(std::string("ico='") + kFiveIcons + "' duration='5'");
    ASSERT_NE(nullptr, icon);
    HWND msgWnd = icon->MessageHwnd();
    icon->StartAnimation();
    hosttest::HostTest::PumpFor(30);
    ::PostMessageW(msgWnd, WM_TIMER, SShellNotifyIcon::kAnimationTimer, 0);
    ::PostMessageW(msgWnd, SShellNotifyIcon::kCallbackMessage, 100, WM_LBUTTONDBLCLK);
    m_host->DestroyHost();
    EXPECT_FALSE(::IsWindow(msgWnd));
    hosttest::HostTest::PumpFor(50);
}

} // namespace
