// The end of host objects bound to live windows: the last release from a thread other than the
// window's, and hosts released after the application ended and cut them from their windows.
#include "host_test_env.h"

namespace hosttest {
namespace {

// A popup host made on its own thread, which then runs a message loop until told to quit.
struct HostThread {
    SHostWnd* host = nullptr;
    HWND hwnd = nullptr;
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    DWORD threadId = 0;

    static DWORD WINAPI Run(LPVOID param)
    {
        HostThread* self = static_cast<HostThread*>(param);
        self->host = new SHostWnd(L"");
        self->hwnd = self->host->CreateHost(nullptr, WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 50, 40);
        ::SetEvent(self->ready);
        MSG msg;
        while (::GetMessageW(&msg, nullptr, 0, 0) > 0)
            ::DispatchMessageW(&msg);
        return 0;
    }
    bool Start()
    {
        thread = ::CreateThread(nullptr, 0, &HostThread::Run, this, 0, &threadId);
        return thread && ::WaitForSingleObject(ready, 5000) == WAIT_OBJECT_0 && hwnd;
    }
    ~HostThread()
    {
        if (thread) {
            ::PostThreadMessageW(threadId, WM_QUIT, 0, 0);
            ::WaitForSingleObject(thread, 5000);
            ::CloseHandle(thread);
        }
        ::CloseHandle(ready);
    }
};

bool WaitUntilGone(HWND hwnd)
{
    for (DWORD start = ::GetTickCount(); ::GetTickCount() - start < 3000; ::Sleep(5)) {
        if (!::IsWindow(hwnd))
            return true;
    }
    return false;
}

using HostLifetimeTest = HostTest;

TEST_F(HostLifetimeTest, LastReleaseFromAnotherThreadEndsTheWindowOnItsThreadThenTheObject)
{
    const long hosts = SHostWnd::LiveCount();
    HostThread other;
    ASSERT_TRUE(other.Start());
    EXPECT_EQ(hosts + 1, SHostWnd::LiveCount());

    other.host->Release();
    EXPECT_TRUE(WaitUntilGone(other.hwnd));
    for (DWORD start = ::GetTickCount(); SHostWnd::LiveCount() != hosts && ::GetTickCount() - start < 3000;)
        ::Sleep(5);
    EXPECT_EQ(hosts, SHostWnd::LiveCount());
}

// The application ends with a host window alive: the window goes, the host forgets it, and the
// host released afterwards goes too.
TEST_F(HostLifetimeTest, HostReleasedAfterTheApplicationEndedForgetsItsWindowAndGoes)
{
    const long hosts = SHostWnd::LiveCount();
    SHostWnd* host = new SHostWnd(L"");
    HWND hwnd = CreatePopup(*host);
    ASSERT_NE(nullptr, hwnd);

    delete m_app;
    m_app = nullptr;
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_EQ(nullptr, host->Handle());
    host->Release();
    EXPECT_EQ(hosts, SHostWnd::LiveCount());
}

} // namespace
} // namespace hosttest
