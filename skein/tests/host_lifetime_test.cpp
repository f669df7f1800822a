// The end of host objects bound to live windows: the last release from a thread other than the
// window's, also while the window ends on its own thread, hosts released after the application
// ended and cut them from their windows, and a host whose window is made again.
#include <functional>
#include "host_test_env.h"

namespace hosttest {
namespace {

// A popup host made on its own thread, which then runs a message loop until told to quit.
struct HostThread {
    std::function<SHostWnd*()> make = [] { return new SHostWnd(L""); };
    SHostWnd* host = nullptr;
    HWND hwnd = nullptr;
    HANDLE ready = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    DWORD threadId = 0;

    static DWORD WINAPI Run(LPVOID param)
    {
        HostThread* self = static_cast<HostThread*>(param);
        self->host = self->make();
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

// The thread on which the last SlowEndHost was deleted, 0 before.
DWORD g_slowHostDeletedOn = 0;
HANDLE g_inLastMessage = nullptr;
HANDLE g_released = nullptr;

// Its window's last message waits until another thread has made the last release.
class SlowEndHost : public SHostWnd {
public:
    SlowEndHost() : SHostWnd(L"") {}
    ~SlowEndHost() override { g_slowHostDeletedOn = ::GetCurrentThreadId(); }
    void OnLastMessage(HWND hwnd) override
    {
        ::SetEvent(g_inLastMessage);
        ::WaitForSingleObject(g_released, 3000);
        if (!g_slowHostDeletedOn) // the object is still there to finish its window's end
            SHostWnd::OnLastMessage(hwnd);
    }
};

// The window ends on its thread while another thread drops the last reference: the object
// outlives the window's last message and goes on the window's thread, once.
TEST_F(HostLifetimeTest, LastReleaseWhileTheWindowEndsOnItsThread)
{
    const long hosts = SHostWnd::LiveCount();
    g_slowHostDeletedOn = 0;
    g_inLastMessage = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_released = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        HostThread other;
        other.make = [] { return new SlowEndHost; };
        ASSERT_TRUE(other.Start());
        ::PostMessageW(other.hwnd, WM_CLOSE, 0, 0);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(g_inLastMessage, 3000));
        other.host->Release();
        ::SetEvent(g_released);
        for (DWORD start = ::GetTickCount(); SHostWnd::LiveCount() != hosts && ::GetTickCount() - start < 3000;)
            ::Sleep(5);
        EXPECT_EQ(hosts, SHostWnd::LiveCount());
        EXPECT_EQ(other.threadId, g_slowHostDeletedOn);
    }
    ::CloseHandle(g_inLastMessage);
    ::CloseHandle(g_released);
}

// A host that lost the focus, then its window, is made again and shown without activation:
// a click focuses the edit under it and Tab goes on to the next one.
TEST_F(HostLifetimeTest, RebuiltHostStartsWithNoSavedFocus)
{
    AddLayouts({{L"edits", "<SKEIN width='200' height='100'><root>"
                           "<edit name='a' pos='10,10,@80,@24'/><edit name='b' pos='10,50,@80,@24'/>"
                           "</root></SKEIN>"}});
    RecordingHost host(L"LAYOUT:edits");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    ::SendMessageW(hwnd, WM_KILLFOCUS, 0, 0);
    host.DestroyHost();

    hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, Point(20, 20));
    EXPECT_EQ(host.LookupChildByName(L"a")->GetHandle(), host.GetFocus());
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(host.LookupChildByName(L"b")->GetHandle(), host.GetFocus());
    host.DestroyHost();
}

} // namespace
} // namespace hosttest
