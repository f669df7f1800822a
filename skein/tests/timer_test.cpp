// STimer2: thread timers delivered to live windows as UI message 6456 through the thread's
// message queue.
#include <gtest/gtest.h>
#include <algorithm>
#include <functional>
#include <memory>
#include <vector>
#include "core/SApp.h"
#include "core/STimer2.h"
#include "core/SWnd.h"
#include "interface/SRender-i.h"

using namespace SKEIN;

namespace {

class TickWindow : public SWindow {
public:
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (msg != STimer2::kMsgTimer2)
            return SWindow::HandleMessage(msg, wParam, lParam, result);
        ticks.push_back(wParam);
        *result = 0;
        return TRUE;
    }
    std::vector<WPARAM> ticks;
};

void CALLBACK IgnoreTimer(HWND, UINT, UINT_PTR, DWORD) {}

class Timer2Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* factory = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&factory));
        m_factory.Attach(factory);
        m_app.reset(new SApplication(factory, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister()));
        if (!SWindowMgr::Instance())
            m_windows.reset(new SWindowMgr);
        if (!STimer2::Instance())
            m_ownTimers.reset(new STimer2);
        m_timers = STimer2::Instance();
    }
    void TearDown() override
    {
        while (m_timers->Count() > 0)
            m_timers->KillTimersOfWindow(m_timers->Map().FirstNode()->value.window);
        m_ownTimers.reset();
        m_windows.reset();
        m_app.reset();
    }

    // Dispatches this thread's messages until done() holds or ms pass; false on time-out.
    static bool PumpUntil(std::function<bool()> done, DWORD ms = 2000)
    {
        DWORD start = GetTickCount();
        MSG msg;
        while (!done()) {
            if (GetTickCount() - start > ms)
                return false;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            Sleep(1);
        }
        return true;
    }

    UINT_PTR OsIdOf(SwndHandle window) const
    {
        for (auto* node = m_timers->Map().FirstNode(); node; node = m_timers->Map().NextNode(node)) {
            if (node->value.window == window)
                return node->key;
        }
        return 0;
    }

    SRefPtr<IRenderFactory> m_factory;
    std::unique_ptr<SApplication> m_app;
    std::unique_ptr<SWindowMgr> m_windows;
    std::unique_ptr<STimer2> m_ownTimers;
    STimer2* m_timers = nullptr;
};

} // namespace

TEST_F(Timer2Test, DeliversTheWindowsIdUntilKilled)
{
    TickWindow* window = new TickWindow;
    ASSERT_TRUE(m_timers->SetTimer(window->GetHandle(), 7, 5));
    ASSERT_TRUE(PumpUntil([&]() { return window->ticks.size() >= 2; }));
    for (WPARAM id : window->ticks)
        EXPECT_EQ(id, 7u);
    m_timers->KillTimer(window->GetHandle(), 7);
    EXPECT_EQ(m_timers->Count(), 0);
    size_t seen = window->ticks.size();
    PumpUntil([]() { return false; }, 60);
    EXPECT_EQ(window->ticks.size(), seen);
    window->Dispose();
}

TEST_F(Timer2Test, RestartingLeavesOneTimer)
{
    TickWindow* window = new TickWindow;
    ASSERT_TRUE(m_timers->SetTimer(window->GetHandle(), 3, 50));
    ASSERT_TRUE(m_timers->SetTimer(window->GetHandle(), 3, 5));
    ASSERT_TRUE(m_timers->SetTimer(window->GetHandle(), 4, 5));
    EXPECT_EQ(m_timers->Count(), 2);
    ASSERT_TRUE(PumpUntil([&]() {
        return std::count(window->ticks.begin(), window->ticks.end(), 3u) >= 1 &&
               std::count(window->ticks.begin(), window->ticks.end(), 4u) >= 1;
    }));
    window->Dispose();
}

TEST_F(Timer2Test, DestroyedWindowStopsItsTimers)
{
    TickWindow* gone = new TickWindow;
    TickWindow* alive = new TickWindow;
    ASSERT_TRUE(m_timers->SetTimer(gone->GetHandle(), 1, 5));
    ASSERT_TRUE(m_timers->SetTimer(gone->GetHandle(), 2, 5));
    ASSERT_TRUE(m_timers->SetTimer(alive->GetHandle(), 1, 5));
    SwndHandle goneHandle = gone->GetHandle();
    gone->Dispose();
    EXPECT_EQ(OsIdOf(goneHandle), 0u);
    EXPECT_EQ(m_timers->Count(), 1);
    ASSERT_TRUE(PumpUntil([&]() { return alive->ticks.size() >= 3; }));
    alive->Dispose();
}

TEST_F(Timer2Test, TimerOfAWindowThatNoLongerExistsStopsItself)
{
    // A handle the manager never issued (or already forgot): nothing is delivered and the
    // timer ends at its first expiry.
    ASSERT_TRUE(m_timers->SetTimer(0xABCDE, 1, 5));
    EXPECT_EQ(m_timers->Count(), 1);
    EXPECT_TRUE(PumpUntil([&]() { return m_timers->Count() == 0; }));
}

TEST_F(Timer2Test, NeverTakesOverAnotherThreadTimer)
{
    // The window's id equals the native id of a thread timer that someone else runs: that
    // timer must survive and the window must still get its own id.
    UINT_PTR foreign = ::SetTimer(nullptr, 0, 60000, IgnoreTimer);
    ASSERT_NE(foreign, 0u);
    TickWindow* window = new TickWindow;
    ASSERT_TRUE(m_timers->SetTimer(window->GetHandle(), static_cast<UINT>(foreign), 5));
    EXPECT_NE(OsIdOf(window->GetHandle()), foreign);
    ASSERT_TRUE(PumpUntil([&]() { return !window->ticks.empty(); }));
    EXPECT_EQ(window->ticks[0], foreign);
    EXPECT_TRUE(::KillTimer(nullptr, foreign));
    window->Dispose();
}

TEST_F(Timer2Test, WindowOperationsUseTheTable)
{
    TickWindow* window = new TickWindow;
    ASSERT_TRUE(window->StartTimer2(9, 5));
    ASSERT_TRUE(PumpUntil([&]() { return !window->ticks.empty(); }));
    EXPECT_EQ(window->ticks[0], 9u);
    window->StopTimer2(9);
    EXPECT_EQ(m_timers->Count(), 0);
    window->Dispose();
}
