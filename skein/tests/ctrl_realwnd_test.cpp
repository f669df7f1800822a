// The real-window host in a real host window: the native window is made by the application's
// handler at load ("init") or when first shown, follows the window's rectangle and visibility
// (screen coordinates for a popup) and is handed back to the handler when the tree goes.
#include "control/SRealWnd.h"
#include "host_test_env.h"

namespace hosttest {
namespace {

const char kLayout[] =
    "<SKEIN width='200' height='100'><root>"
    "<realwnd name='lazy' pos='10,10,-10,@30' margin='2' visible='0' wndclass='STATIC' wndname='lazy'/>"
    "<realwnd name='eager' pos='10,50,@40,@40' init='1' wndclass='STATIC'><params text='hello'/></realwnd>"
    "</root></SKEIN>";

const char kPopupLayout[] =
    "<SKEIN width='200' height='100'><root>"
    "<realwnd name='popup' pos='20,30,@40,@20' style='0x80000000' wndclass='STATIC'/>"
    "</root></SKEIN>";

// Makes STATIC windows (children of the host, or popups it owns) and counts its calls.
class TestHandler : public TObjRefImpl<IRealWndHandler> {
public:
    HWND CreateRealWindow(SRealWnd* wnd) override
    {
        ++created;
        const SRealWndParam& param = wnd->GetParam();
        params = param.params.child(L"params").attribute(L"text").value();
        if (failCreation)
            return nullptr;
        return ::CreateWindowExW(param.exStyle, param.wndClass.c_str(), param.wndName.c_str(), param.style, 0, 0, 1,
                                 1, wnd->GetHostContainer()->GetHostHwnd(), nullptr, ::GetModuleHandleW(nullptr),
                                 nullptr);
    }
    void DestroyRealWindow(SRealWnd* wnd) override
    {
        ++destroyed;
        ::DestroyWindow(wnd->GetRealHwnd());
    }
    BOOL InitRealWindow(SRealWnd*) override
    {
        ++inits;
        return TRUE;
    }
    BOOL ResizeRealWindow(SRealWnd*, const RECT&) override
    {
        ++resizes;
        return FALSE;
    }
    int created = 0;
    int destroyed = 0;
    int inits = 0;
    int resizes = 0;
    bool failCreation = false;
    std::wstring params;
};

class RealWndTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        AddLayouts({{L"real", kLayout}, {L"popup", kPopupLayout}});
        m_handler = new TestHandler;
    }
    void TearDown() override
    {
        m_handler->Release();
        HostTest::TearDown();
    }
    void Install() { m_app->SetRealWndHandler(m_handler); }
    static SRealWnd* Find(SHostWnd& host, const wchar_t* name)
    {
        return dynamic_cast<SRealWnd*>(host.LookupChildByName(name));
    }
    // The native window's rectangle in the host's client coordinates.
    static RECT NativeRect(HWND native, HWND host)
    {
        RECT rect = {};
        ::GetWindowRect(native, &rect);
        ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    static void ExpectRect(const RECT& expected, const RECT& actual)
    {
        EXPECT_EQ(expected.left, actual.left);
        EXPECT_EQ(expected.top, actual.top);
        EXPECT_EQ(expected.right, actual.right);
        EXPECT_EQ(expected.bottom, actual.bottom);
    }

    TestHandler* m_handler = nullptr;
};

TEST_F(RealWndTest, InitCreatesAtLoadOnceAndTheNativeWindowFollowsTheWindowRectangle)
{
    Install();
    RecordingHost host(L"LAYOUT:real");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    SRealWnd* eager = Find(host, L"eager");
    ASSERT_NE(nullptr, eager);
    EXPECT_EQ(1, m_handler->created);
    EXPECT_EQ(1, m_handler->inits);
    EXPECT_EQ(L"hello", m_handler->params);
    HWND native = eager->GetRealHwnd();
    ASSERT_TRUE(::IsWindow(native));
    EXPECT_EQ(hwnd, ::GetParent(native));
    EXPECT_TRUE(::GetWindowLongW(native, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(::IsWindowVisible(native));
    ExpectRect(RECT{10, 50, 50, 90}, NativeRect(native, hwnd));
    EXPECT_GE(m_handler->resizes, 1);
    EXPECT_EQ(nullptr, Find(host, L"lazy")->GetRealHwnd());
}

TEST_F(RealWndTest, HiddenWindowCreatesWhenFirstShownAndFollowsVisibilityAndRelayout)
{
    Install();
    RecordingHost host(L"LAYOUT:real");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    SRealWnd* lazy = Find(host, L"lazy");
    ASSERT_NE(nullptr, lazy);
    EXPECT_EQ(S_FALSE, lazy->ApplyAttribute(SStringW(L"EXSTYLE"), SStringW(L"0x20"), FALSE));
    EXPECT_EQ(0x20u, lazy->GetParam().exStyle);
    lazy->ApplyAttribute(SStringW(L"exstyle"), SStringW(L"0"), FALSE);

    lazy->ChangeVisibility(TRUE);
    HWND native = lazy->GetRealHwnd();
    ASSERT_TRUE(::IsWindow(native));
    EXPECT_EQ(2, m_handler->created);
    EXPECT_EQ(2, m_handler->inits);
    EXPECT_TRUE(::IsWindowVisible(native));
    // Made lazily: placed on the inner rectangle (the margin left out).
    ExpectRect(RECT{12, 12, 188, 38}, NativeRect(native, hwnd));

    // A relayout places it on the window rectangle, margin included.
    ::SetWindowPos(hwnd, nullptr, 0, 0, 300, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    ExpectRect(RECT{10, 10, 290, 40}, NativeRect(native, hwnd));

    lazy->ChangeVisibility(FALSE);
    EXPECT_FALSE(::IsWindowVisible(native));
    lazy->ChangeVisibility(TRUE);
    EXPECT_TRUE(::IsWindowVisible(native));
    EXPECT_EQ(native, lazy->GetRealHwnd());
    EXPECT_EQ(2, m_handler->created);
}

TEST_F(RealWndTest, FailedCreationIsTriedAgainOnTheNextShow)
{
    Install();
    RecordingHost host(L"LAYOUT:real");
    ASSERT_NE(nullptr, CreatePopup(host));
    SRealWnd* lazy = Find(host, L"lazy");
    m_handler->failCreation = true;
    lazy->ChangeVisibility(TRUE);
    EXPECT_EQ(2, m_handler->created);
    EXPECT_EQ(1, m_handler->inits);
    EXPECT_FALSE(::IsWindow(lazy->GetRealHwnd()));
    m_handler->failCreation = false;
    lazy->ChangeVisibility(FALSE);
    lazy->ChangeVisibility(TRUE);
    EXPECT_EQ(3, m_handler->created);
    EXPECT_TRUE(::IsWindow(lazy->GetRealHwnd()));
}

TEST_F(RealWndTest, PopupIsPlacedInScreenCoordinatesWithoutTheChildStyle)
{
    Install();
    RecordingHost host(L"LAYOUT:popup");
    HWND hwnd = CreatePopup(host, 100, 50);
    ASSERT_NE(nullptr, hwnd);
    SRealWnd* popup = Find(host, L"popup");
    HWND native = popup->GetRealHwnd();
    ASSERT_TRUE(::IsWindow(native));
    DWORD style = static_cast<DWORD>(::GetWindowLongW(native, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CHILD);
    RECT screen = {};
    ::GetWindowRect(native, &screen);
    ExpectRect(RECT{120, 80, 160, 100}, screen);
}

TEST_F(RealWndTest, DestroyingTheTreeHandsLiveWindowsBackToTheHandler)
{
    Install();
    HWND native = nullptr;
    {
        RecordingHost host(L"LAYOUT:real");
        ASSERT_NE(nullptr, CreatePopup(host));
        native = Find(host, L"eager")->GetRealHwnd();
        ASSERT_TRUE(::IsWindow(native));
        host.DestroyHost();
    }
    EXPECT_EQ(1, m_handler->destroyed); // the lazy one was never made
    EXPECT_FALSE(::IsWindow(native));
}

TEST_F(RealWndTest, WithoutAHandlerNoNativeWindowIsMade)
{
    RecordingHost host(L"LAYOUT:real");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    SRealWnd* lazy = Find(host, L"lazy");
    lazy->ChangeVisibility(TRUE);
    EXPECT_EQ(nullptr, lazy->GetRealHwnd());
    EXPECT_EQ(nullptr, Find(host, L"eager")->GetRealHwnd());
    EXPECT_EQ(nullptr, ::GetWindow(hwnd, GW_CHILD));
    EXPECT_EQ(0, m_handler->created);
}

} // namespace
} // namespace hosttest
