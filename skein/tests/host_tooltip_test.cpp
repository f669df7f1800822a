// The host's tooltip: made per host by the application's factory, fed by the host after each
// mouse message and by the message loop as a filter; shown after its delay at the cursor,
// hidden on a press, on leaving and after its timeout, kept on the monitor.
#include <functional>
#include "host_test_env.h"
#include "control/STabCtrl.h"
#include "core/STipCtrl.h"

namespace hosttest {
namespace {

const char kTipLayout[] =
    "<SKEIN width='200' height='100'><root>"
    "<window name='two' pos='10,10,@80,@40' tip='first\\nsecond'/>"
    "<window name='one' pos='100,10,@95,@40' tip='one line'/>"
    "<window name='none' pos='10,60,@80,@30'/>"
    "</root></SKEIN>";

const char kNestedLayout[] = "<SKEIN width='200' height='100'><root>"
                             "<window name='box' pos='10,10,@100,@60'>"
                             "<window name='inner' pos='10,10,@60,@30' tip='inner tip'/>"
                             "</window></root></SKEIN>";

const char kTabLayout[] = "<SKEIN width='200' height='100'><root>"
                          "<tabctrl name='tabs' pos='0,0,-0,-0' tabSize='60,20'>"
                          "<page title='A' tip='first'/><page title='B'/></tabctrl></root></SKEIN>";

class HostTooltipTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        AddLayouts({{L"tip", kTipLayout}, {L"nested", kNestedLayout}, {L"tabs", kTabLayout}});
    }

    // The tooltip of this thread (tests of other processes may show theirs meanwhile).
    static HWND TipWindow()
    {
        HWND found = nullptr;
        ::EnumThreadWindows(::GetCurrentThreadId(), &TakeTip, reinterpret_cast<LPARAM>(&found));
        return found;
    }
    static BOOL CALLBACK TakeTip(HWND hwnd, LPARAM out)
    {
        wchar_t title[32] = {};
        ::GetWindowTextW(hwnd, title, 32);
        if (wcscmp(title, L"skein tooltip") != 0)
            return TRUE;
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }
    static bool TipVisible() { return ::IsWindowVisible(TipWindow()) != FALSE; }
    static RECT TipRect()
    {
        RECT rect = {};
        ::GetWindowRect(TipWindow(), &rect);
        return rect;
    }

    // Through the application's loop, as a message taken from the queue: filters, then dispatch.
    void Deliver(HWND hwnd, UINT msg, int x, int y)
    {
        MSG m = {hwnd, msg, msg == WM_LBUTTONDOWN ? static_cast<WPARAM>(MK_LBUTTON) : 0, MAKELPARAM(x, y), 0, {0, 0}};
        m_app->GetMainMessageLoop()->OnMsg(&m);
    }
    // The first move over a window gives the host's tip to the tooltip; the second arms it.
    void Hover(HWND hwnd, int x, int y)
    {
        Deliver(hwnd, WM_MOUSEMOVE, x, y);
        Deliver(hwnd, WM_MOUSEMOVE, x, y);
    }
    void ShowNow(HWND hwnd, int x, int y)
    {
        Hover(hwnd, x, y);
        ::SendMessageW(TipWindow(), WM_TIMER, STipCtrl::kTimerShow, 0);
    }
};

TEST_F(HostTooltipTest, ShowsAfterItsDelayAtTheCursorAndHidesOnPressAndTimeout)
{
    ASSERT_NE(nullptr, m_app->ToolTipFactory());
    RecordingHost host(L"LAYOUT:tip");
    HWND hwnd = CreatePopup(host, 50, 50);
    ASSERT_NE(nullptr, hwnd);
    HWND tip = TipWindow();
    ASSERT_NE(nullptr, tip);

    Hover(hwnd, 30, 30);
    PumpFor(150);
    EXPECT_FALSE(TipVisible());
    PumpFor(700);
    ASSERT_TRUE(TipVisible());
    RECT shown = TipRect();
    EXPECT_EQ(50 + 30, shown.left);
    EXPECT_EQ(50 + 30 + 24, shown.top);

    // Moving inside the target neither moves the tip nor arms the delay again.
    Deliver(hwnd, WM_MOUSEMOVE, 60, 40);
    EXPECT_TRUE(TipVisible());
    EXPECT_FALSE(::KillTimer(tip, STipCtrl::kTimerShow));
    EXPECT_EQ(shown.left, TipRect().left);

    Deliver(hwnd, WM_LBUTTONDOWN, 60, 40);
    EXPECT_FALSE(TipVisible());
    Deliver(hwnd, WM_LBUTTONUP, 60, 40);
    Deliver(hwnd, WM_MOUSEMOVE, 30, 30); // arms the delay again
    Deliver(hwnd, WM_LBUTTONDOWN, 30, 30);
    Deliver(hwnd, WM_LBUTTONUP, 30, 30);
    PumpFor(700);
    EXPECT_FALSE(TipVisible()) << "a press does not leave a show pending";

    // Shown again, it hides by itself when the hide delay runs out.
    ShowNow(hwnd, 30, 30);
    ASSERT_TRUE(TipVisible());
    ::SendMessageW(tip, WM_TIMER, STipCtrl::kTimerHide, 0);
    EXPECT_FALSE(TipVisible());

    // It stays away while the mouse stays on that window; a window without a tip clears it,
    // so coming back shows it again.
    ShowNow(hwnd, 30, 30);
    EXPECT_FALSE(TipVisible());
    Hover(hwnd, 30, 70);
    ShowNow(hwnd, 30, 30);
    ASSERT_TRUE(TipVisible());

    // Leaving a target hides at once.
    Hover(hwnd, 30, 70);
    EXPECT_FALSE(TipVisible());
    ::SendMessageW(tip, WM_TIMER, STipCtrl::kTimerShow, 0);
    EXPECT_FALSE(TipVisible());

    host.DestroyHost();
    EXPECT_FALSE(::IsWindow(tip));
    Deliver(nullptr, WM_MOUSEMOVE, 30, 30); // the filter is gone with it
}

TEST_F(HostTooltipTest, BackslashNBreaksTheLine)
{
    RecordingHost host(L"LAYOUT:tip");
    HWND hwnd = CreatePopup(host, 50, 50);
    ASSERT_NE(nullptr, hwnd);
    ShowNow(hwnd, 140, 30);
    ASSERT_TRUE(TipVisible());
    RECT one = TipRect();
    ShowNow(hwnd, 30, 30);
    ASSERT_TRUE(TipVisible());
    RECT two = TipRect();
    int lineHeight = one.bottom - one.top - 10;
    EXPECT_GT(lineHeight, 0);
    EXPECT_EQ(2 * lineHeight, two.bottom - two.top - 10);
}

TEST_F(HostTooltipTest, TipNearTheMonitorEdgeIsShiftedInside)
{
    MONITORINFO monitor = {sizeof(monitor)};
    POINT origin = {0, 0};
    ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY), &monitor));
    RecordingHost host(L"LAYOUT:tip");
    int left = monitor.rcMonitor.right - 200;
    HWND hwnd = CreatePopup(host, left, 50);
    ASSERT_NE(nullptr, hwnd);
    ShowNow(hwnd, 190, 30);
    ASSERT_TRUE(TipVisible());
    RECT rect = TipRect();
    EXPECT_EQ(monitor.rcMonitor.right, rect.right);
    EXPECT_LT(rect.left, left + 190);
    EXPECT_EQ(50 + 30 + 24, rect.top);
}

// A tip pending or shown goes with its window: removed, hidden, inside a removed or hidden
// parent, or with its host hidden or disabled (as a modal dialog's owner is). Nothing appears
// when the show delay would have run out.
TEST_F(HostTooltipTest, TipGoesWithItsWindowOrHost)
{
    struct Case {
        const char* label;
        std::function<void(SHostWnd&)> act;
    };
    const Case cases[] = {
        {"removed", [](SHostWnd& h) { h.LookupChildByName(L"inner")->Dispose(); }},
        {"hidden", [](SHostWnd& h) { h.LookupChildByName(L"inner")->ChangeVisibility(FALSE); }},
        {"parent removed", [](SHostWnd& h) { h.LookupChildByName(L"box")->Dispose(); }},
        {"parent hidden", [](SHostWnd& h) { h.LookupChildByName(L"box")->ChangeVisibility(FALSE); }},
        {"host hidden", [](SHostWnd& h) { ::ShowWindow(h.Handle(), SW_HIDE); }},
        {"host disabled", [](SHostWnd& h) { ::EnableWindow(h.Handle(), FALSE); }},
        {"host hidden by position",
         [](SHostWnd& h) {
             ::SetWindowPos(h.Handle(), nullptr, 0, 0, 0, 0,
                            SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
         }},
    };
    for (const Case& c : cases) {
        for (bool shown : {false, true}) {
            RecordingHost host(L"LAYOUT:nested");
            HWND hwnd = CreatePopup(host, 50, 50);
            ASSERT_NE(nullptr, hwnd);
            HWND tip = TipWindow();
            Hover(hwnd, 40, 40);
            if (shown) {
                ::SendMessageW(tip, WM_TIMER, STipCtrl::kTimerShow, 0);
                ASSERT_TRUE(TipVisible()) << c.label;
            }
            c.act(host);
            EXPECT_FALSE(TipVisible()) << c.label << " shown " << shown;
            EXPECT_FALSE(::KillTimer(tip, STipCtrl::kTimerShow)) << c.label << ": no show pending";
            ::SendMessageW(tip, WM_TIMER, STipCtrl::kTimerShow, 0);
            EXPECT_FALSE(TipVisible()) << c.label << " shown " << shown;
            host.DestroyHost();
        }
    }
}

// A shown tip over a tab header that goes: the header moving under the mouse brings its own
// tip, here none.
TEST_F(HostTooltipTest, TabTipFollowsTheHeaderUnderTheMouse)
{
    RecordingHost host(L"LAYOUT:tabs");
    HWND hwnd = CreatePopup(host, 50, 50);
    ASSERT_NE(nullptr, hwnd);
    ShowNow(hwnd, 10, 10);
    ASSERT_TRUE(TipVisible());
    auto* tabs = static_cast<STabCtrl*>(host.LookupChildByName(L"tabs"));
    ASSERT_TRUE(tabs->RemoveItem(tabs->PageAt(0)));
    EXPECT_FALSE(TipVisible());
    host.DestroyHost();
}

} // namespace
} // namespace hosttest
