// Window timers are native timers of the host with the window packed into the id; the
// timeline runs on the host's 10 ms timer while it has handlers.
#include "host_test_env.h"

namespace hosttest {
namespace {

const char kTimerLayout[] =
    "<SKEIN width='100' height='50'><root><recwnd name='w' pos='0,0,@50,@50'/></root></SKEIN>";

class HostTimerTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        AddLayouts({{L"timer", kTimerLayout}});
    }
};

struct Ticker : ITimelineHandler {
    void OnTimelineTick() override
    {
        ++ticks;
        if (removeSelf)
            container->RemoveTimelineHandler(this);
    }
    ISwndContainer* container = nullptr;
    bool removeSelf = false;
    int ticks = 0;
};

TEST_F(HostTimerTest, WindowTimerReachesItsWindowAndDiesWithIt)
{
    RecordingHost host(L"LAYOUT:timer");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    RecWnd* window = static_cast<RecWnd*>(host.LookupChildByName(L"w"));
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(window->StartHostTimer(5, 10));
    PumpFor(120);
    int fired = 0;
    for (const auto& entry : window->log)
        fired += entry.first == WM_TIMER && entry.second == 5;
    EXPECT_GT(fired, 2);
    window->StopHostTimer(5);

    // A timer whose window is gone is killed at its next tick.
    ASSERT_TRUE(window->StartHostTimer(6, 10));
    UINT_PTR packed = 0;
    ASSERT_TRUE(PackSwndTimerId(window->GetHandle(), 6, packed));
    host.DestroyChild(window);
    PumpFor(60);
    EXPECT_FALSE(::KillTimer(hwnd, packed));

    // Ids of no window are not the host's.
    EXPECT_EQ(0, ::SendMessageW(hwnd, WM_TIMER, 77, 0));
}

TEST_F(HostTimerTest, TimelineTicksWhileHandlersExistAndSurvivesSelfRemoval)
{
    RecordingHost host(L"LAYOUT:timer");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    Ticker once, steady;
    once.container = &host;
    once.removeSelf = true;
    EXPECT_TRUE(host.AddTimelineHandler(&once));
    EXPECT_TRUE(host.AddTimelineHandler(&steady));
    EXPECT_FALSE(host.AddTimelineHandler(&steady));
    PumpFor(150);
    EXPECT_EQ(1, once.ticks);
    EXPECT_GT(steady.ticks, 4);

    EXPECT_TRUE(host.RemoveTimelineHandler(&steady));
    EXPECT_FALSE(host.RemoveTimelineHandler(&steady));
    UINT_PTR packed = 0;
    ASSERT_TRUE(PackSwndTimerId(host.GetHandle(), kHostTimerTimeline, packed));
    EXPECT_FALSE(::KillTimer(hwnd, packed)); // the host timer stopped with the last handler

    // No ticks while the root is invisible.
    host.AddTimelineHandler(&steady);
    host.ChangeVisibility(FALSE, FALSE);
    int before = steady.ticks;
    PumpFor(60);
    EXPECT_EQ(before, steady.ticks);
    host.RemoveTimelineHandler(&steady);
}

} // namespace
} // namespace hosttest
