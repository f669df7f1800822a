#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "core/SMsgLoop.h"
#include "helper/SLog.h"

using namespace SKEIN;

namespace {

const UINT kTestMessage = WM_APP + 1;

// A message-only window that records what its procedure receives.
class RecordingWindow {
public:
    RecordingWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &RecordingWindow::Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SkeinLoopTestWindow";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, this);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RecordingWindow() { DestroyWindow(hwnd); }

    HWND hwnd;
    std::vector<UINT> received;
    std::function<void(UINT)> onMessage;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self && (msg == WM_NCMOUSEMOVE || msg >= WM_KEYFIRST)) {
            self->received.push_back(msg);
            if (self->onMessage)
                self->onMessage(msg);
        }
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
};

class RecordingFilter : public IMessageFilter {
public:
    RecordingFilter(const char* name, std::vector<std::string>* log, bool consume)
        : m_name(name), m_log(log), m_consume(consume)
    {
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != kTestMessage)
            return FALSE;
        m_log->push_back(m_name);
        return m_consume;
    }

private:
    const char* m_name;
    std::vector<std::string>* m_log;
    bool m_consume;
};

class CallbackIdle : public IIdleHandler {
public:
    explicit CallbackIdle(std::function<void(int)> onIdle) : m_onIdle(std::move(onIdle)) {}
    BOOL OnIdle() override
    {
        m_onIdle(++calls);
        return TRUE;
    }
    int calls = 0;

private:
    std::function<void(int)> m_onIdle;
};

// Ends the loop with code after the test had time to see an unwanted idle pass.
std::thread QuitLater(DWORD threadId, int code)
{
    return std::thread([threadId, code] {
        Sleep(300);
        PostThreadMessageW(threadId, WM_QUIT, code, 0);
    });
}

struct ExitLines : TObjRefImpl<ILogManager> {
    BOOL Accepts(int, int) override { return TRUE; }
    void Write(int, int level, const char*, const char* text, const char*, int, const char*, void*) override
    {
        lines.push_back(std::to_string(level) + " " + text);
    }
    std::vector<std::string> lines;
};
ExitLines* g_exitLines = nullptr;
ILogManager* CurrentExitLines() { return g_exitLines; }

} // namespace

TEST(MessageLoop, WmQuitEndsTheLoopWithItsExitCode)
{
    ExitLines exitLines;
    g_exitLines = &exitLines;
    SetLogManagerSource(&CurrentExitLines);
    SMessageLoop loop;
    EXPECT_FALSE(loop.IsRunning());
    BOOL runningInside = FALSE;
    CallbackIdle idle([&](int) {
        runningInside = loop.IsRunning();
        PostQuitMessage(7);
    });
    loop.AddIdleHandler(&idle);
    EXPECT_EQ(loop.Run(), 7);
    SetLogManagerSource(nullptr);
    g_exitLines = nullptr;
    EXPECT_TRUE(runningInside);
    EXPECT_FALSE(loop.IsRunning());
    EXPECT_EQ(exitLines.lines, (std::vector<std::string>{"0 SMessageLoop::Run - exiting,code = 7"}));
}

TEST(MessageLoop, QuitEndsAfterTheCurrentMessageWithItsWParam)
{
    SMessageLoop loop;
    loop.Quit(); // not running: ignored, so the run below is not ended early
    RecordingWindow window;
    window.onMessage = [&](UINT msg) {
        if (msg == kTestMessage)
            loop.Quit();
    };
    PostMessageW(window.hwnd, WM_APP + 2, 11, 0);
    PostMessageW(window.hwnd, kTestMessage, 42, 0);
    PostMessageW(window.hwnd, WM_APP + 3, 13, 0);
    EXPECT_EQ(loop.Run(), 42);
    EXPECT_EQ(window.received, (std::vector<UINT>{WM_APP + 2, kTestMessage}));
    MSG left;
    EXPECT_TRUE(PeekMessageW(&left, window.hwnd, 0, 0, PM_REMOVE)); // still queued
    EXPECT_EQ(left.message, WM_APP + 3u);
}

TEST(MessageLoop, NewestFilterSeesMessagesFirstAndCanHideThem)
{
    SMessageLoop loop;
    std::vector<std::string> log;
    RecordingFilter older("older", &log, false);
    RecordingFilter newer("newer", &log, true);
    RecordingWindow window;
    EXPECT_EQ(loop.AddFilter(&older), 1);
    EXPECT_EQ(loop.AddFilter(&newer), 1);
    PostMessageW(window.hwnd, kTestMessage, 0, 0);
    PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"newer"}));
    EXPECT_TRUE(window.received.empty());

    EXPECT_EQ(loop.RemoveFilter(&newer), 1);
    EXPECT_EQ(loop.RemoveFilter(&newer), 0); // not there any more
    log.clear();
    PostMessageW(window.hwnd, kTestMessage, 0, 0);
    PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"older"}));
    EXPECT_EQ(window.received, (std::vector<UINT>{kTestMessage}));
}

TEST(MessageLoop, FilterAddedTwiceIsAskedTwice)
{
    SMessageLoop loop;
    std::vector<std::string> log;
    RecordingFilter filter("f", &log, false);
    RecordingFilter never("never", &log, false);
    loop.AddFilter(&filter);
    loop.AddFilter(&filter);
    EXPECT_EQ(loop.RemoveFilter(&never), 0);
    PostThreadMessageW(GetCurrentThreadId(), kTestMessage, 0, 0);
    PostQuitMessage(0);
    loop.Run();
    EXPECT_EQ(log, (std::vector<std::string>{"f", "f"}));
}

TEST(MessageLoop, MouseMoveDoesNotRerunIdleButAKeyDoes)
{
    struct Case {
        UINT message;
        int idleCalls;
        int exitCode;
    } cases[] = {
        {WM_MOUSEMOVE, 1, 55}, // no second idle pass: the outside quit ends the loop
        {WM_NCMOUSEMOVE, 1, 55},
        {WM_KEYDOWN, 2, 2}, // the second idle pass quits first
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        SMessageLoop loop;
        RecordingWindow window;
        CallbackIdle idle([&](int call) {
            if (call == 1)
                PostMessageW(window.hwnd, c.message, 0, 0);
            else
                PostQuitMessage(call);
        });
        loop.AddIdleHandler(&idle);
        std::thread quitter = QuitLater(GetCurrentThreadId(), 55);
        int code = loop.Run();
        quitter.join();
        MSG stale;
        while (PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_EQ(code, c.exitCode);
        EXPECT_EQ(idle.calls, c.idleCalls);
        ASSERT_FALSE(window.received.empty());
        EXPECT_EQ(window.received[0], c.message);
    }
}

TEST(MessageLoop, IdleHandlersRunInOrderOncePerBurst)
{
    SMessageLoop loop;
    std::vector<int> order;
    CallbackIdle first([&](int) { order.push_back(1); });
    CallbackIdle second([&](int) {
        order.push_back(2);
        if (order.size() >= 4)
            loop.Quit();
        else
            PostThreadMessageW(GetCurrentThreadId(), kTestMessage, 0, 0);
    });
    CallbackIdle removed([&](int) { order.push_back(3); });
    loop.AddIdleHandler(&first);
    loop.AddIdleHandler(&removed);
    loop.AddIdleHandler(&second);
    EXPECT_EQ(loop.RemoveIdleHandler(&removed), 1);
    loop.Run();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 1, 2}));
}
