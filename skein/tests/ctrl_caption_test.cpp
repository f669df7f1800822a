// The caption in a real host: a drag runs the system's move loop and moves the host, a double
// click maximises and restores it, and the pending drag of a maximised host.
#include <algorithm>
#include "control/SCaption.h"
#include "host_test_env.h"

namespace hosttest {
namespace {

const char kResizable[] =
    "<SKEIN width='200' height='100' resizable='1'><root colorBkgnd='#ffffff'>"
    "<reccaption name='caption' pos='0,0,-0,@30' focusable='1'/>"
    "</root></SKEIN>";

// A caption that records the UI messages it gets.
class RecCaption : public SCaption {
    SKEIN_CLASS_NAME(SCaption, L"reccaption")
public:
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
            log.push_back(msg);
        return SCaption::HandleMessage(msg, wParam, lParam, result);
    }
    int Count(UINT msg) const { return static_cast<int>(std::count(log.begin(), log.end(), msg)); }
    std::vector<UINT> log;
};

// Records the system commands reaching the host; a recorded move can be swallowed so that no
// move loop starts.
class CaptionHost : public RecordingHost {
public:
    using RecordingHost::RecordingHost;
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override
    {
        if (msg == WM_SYSCOMMAND && mapId == 0) {
            commands.push_back(wParam);
            if (swallowMoves && (wParam & 0xFFF0) == SC_MOVE) {
                result = 0;
                return TRUE;
            }
        }
        return RecordingHost::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
    }
    std::vector<WPARAM> commands;
    bool swallowMoves = false;
};

class CaptionTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        m_app->AddFactory(TplSObjectFactory<RecCaption>(), FALSE);
        std::string fixed(kResizable);
        fixed.replace(fixed.find(" resizable='1'"), 14, "");
        AddLayouts({{L"resizable", kResizable}, {L"fixed", fixed}});
    }
    RecCaption* Open(CaptionHost& host, int x = 100, int y = 100)
    {
        m_hwnd = CreatePopup(host, x, y);
        return m_hwnd ? dynamic_cast<RecCaption*>(host.LookupChildByName(L"caption")) : nullptr;
    }
    void Send(UINT msg, int x, int y)
    {
        ::SendMessageW(m_hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, Point(x, y));
    }
    RECT HostRect() const
    {
        RECT rect = {};
        ::GetWindowRect(m_hwnd, &rect);
        return rect;
    }

    HWND m_hwnd = nullptr;
};

// Steps of the drag, run by a thread timer inside the system's move loop: the pointer moves
// by (30, 20), then the button goes up.
POINT g_dragTarget;
int g_dragStep;

void SendButton(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(input));
}

void CALLBACK DragStep(HWND, UINT, UINT_PTR, DWORD)
{
    if (++g_dragStep == 1)
        ::SetCursorPos(g_dragTarget.x, g_dragTarget.y);
    else if (g_dragStep == 2)
        SendButton(MOUSEEVENTF_LEFTUP);
}

TEST_F(CaptionTest, DragRunsTheMoveLoopThatMovesTheHostAndTheCaptionThenSeesTheRelease)
{
    CaptionHost host(L"LAYOUT:resizable");
    RecCaption* caption = Open(host);
    ASSERT_NE(nullptr, caption);
    RECT before = HostRect();
    POINT start = {50, 10};
    ::ClientToScreen(m_hwnd, &start);
    ::SetCursorPos(start.x, start.y);
    PumpFor(50);
    g_dragTarget = POINT{start.x + 30, start.y + 20};
    g_dragStep = 0;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 30, DragStep);
    SendButton(MOUSEEVENTF_LEFTDOWN);
    DWORD end = ::GetTickCount() + 3000;
    while (g_dragStep < 2 && static_cast<int>(end - ::GetTickCount()) > 0)
        PumpFor(20);
    ::KillTimer(nullptr, timer);
    PumpFor(50);

    ASSERT_EQ(1u, host.commands.size());
    EXPECT_EQ(static_cast<WPARAM>(SC_MOVE | HTCAPTION), host.commands[0]);
    RECT after = HostRect();
    EXPECT_EQ(before.left + 30, after.left);
    EXPECT_EQ(before.top + 20, after.top);
    EXPECT_EQ(before.right - before.left, after.right - after.left);
    EXPECT_GE(caption->Count(WM_LBUTTONUP), 1);
    EXPECT_EQ(caption->GetHandle(), host.GetFocus());
}

TEST_F(CaptionTest, DoubleClickMaximisesThenRestores)
{
    CaptionHost host(L"LAYOUT:resizable");
    ASSERT_NE(nullptr, Open(host));
    RECT normal = HostRect();
    Send(WM_LBUTTONDBLCLK, 50, 10);
    EXPECT_TRUE(::IsZoomed(m_hwnd));
    RECT work = {};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT maximised = HostRect();
    EXPECT_GE(maximised.right - maximised.left, work.right - work.left);
    EXPECT_GE(maximised.bottom - maximised.top, work.bottom - work.top);

    Send(WM_LBUTTONDBLCLK, 50, 10);
    EXPECT_FALSE(::IsZoomed(m_hwnd));
    RECT restored = HostRect();
    EXPECT_TRUE(::EqualRect(&normal, &restored));
    EXPECT_EQ((std::vector<WPARAM>{SC_MAXIMIZE, SC_RESTORE}), host.commands);
}

TEST_F(CaptionTest, DoubleClickWithoutAMaximiseBoxDoesNothing)
{
    CaptionHost host(L"LAYOUT:fixed");
    ASSERT_NE(nullptr, Open(host));
    ASSERT_FALSE(::GetWindowLongW(m_hwnd, GWL_STYLE) & WS_MAXIMIZEBOX);
    Send(WM_LBUTTONDBLCLK, 50, 10);
    EXPECT_FALSE(::IsZoomed(m_hwnd));
    EXPECT_TRUE(host.commands.empty());
}

TEST_F(CaptionTest, MaximisedHostStartsTheMoveOnTheFirstMovementOnlyOnVersion6Workstations)
{
    CaptionHost host(L"LAYOUT:resizable");
    RecCaption* caption = Open(host);
    ASSERT_NE(nullptr, caption);
    host.swallowMoves = true;
    ::ShowWindow(m_hwnd, SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(m_hwnd));

    // Released before any movement: the pending drag is gone.
    Send(WM_LBUTTONDOWN, 50, 10);
    EXPECT_TRUE(host.commands.empty());
    EXPECT_EQ(caption->GetHandle(), host.GetFocus());
    Send(WM_LBUTTONUP, 50, 10);
    Send(WM_MOUSEMOVE, 60, 12);
    EXPECT_TRUE(host.commands.empty());

    Send(WM_LBUTTONDOWN, 50, 10);
    Send(WM_MOUSEMOVE, 60, 12);
    Send(WM_MOUSEMOVE, 70, 14);
    std::vector<WPARAM> expected;
    if (SCaption::IsVersion6Workstation())
        expected.push_back(SC_MOVE | HTCAPTION);
    EXPECT_EQ(expected, host.commands);
    EXPECT_TRUE(::IsZoomed(m_hwnd));
}

} // namespace
} // namespace hosttest
