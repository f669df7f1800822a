// Native window wrapper: the thunk routes each window to its own object, the end of life is
// reported once after the outermost message, creation failure cleans up, style helpers and
// notification reflection.
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#include "core/SSimpleWnd.h"

using namespace SKEIN;

namespace {

class CountingWnd : public CSimpleWnd {
public:
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM, LRESULT& result, DWORD) override
    {
        if (msg == WM_APP) {
            seen = hwnd;
            result = static_cast<LRESULT>(wParam) + 1;
            return TRUE;
        }
        if (msg == WM_APP + 1) {
            // The window dies inside this handler; its end of life waits for the handler.
            ::DestroyWindow(hwnd);
            lastSeenInside = lastMessages;
            handleInside = Handle();
            return TRUE;
        }
        return FALSE;
    }
    void OnLastMessage(HWND hwnd) override
    {
        ++lastMessages;
        lastHandle = hwnd;
        CSimpleWnd::OnLastMessage(hwnd);
    }
    HWND seen = nullptr;
    HWND lastHandle = nullptr;
    int lastMessages = 0;
    int lastSeenInside = -1;
    HWND handleInside = nullptr;
};

DWORD WINAPI CreateOnThread(LPVOID)
{
    CountingWnd other;
    HWND hwnd = other.CreateNative(L"t", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
    other.DestroyWindow();
    return hwnd != nullptr;
}

class SimpleWndTest : public ::testing::Test {
protected:
    void SetUp() override { m_helper.reset(new CSimpleWndHelper(GetModuleHandleW(nullptr), L"SKEINHOST", FALSE)); }
    std::unique_ptr<CSimpleWndHelper> m_helper;
};

TEST_F(SimpleWndTest, ThunkRoutesEachMessageOnlyWindowToItsObject)
{
    ASSERT_NE(0, m_helper->ClassAtom());
    std::vector<std::unique_ptr<CountingWnd>> windows;
    for (int i = 0; i < 40; ++i) {
        windows.emplace_back(new CountingWnd);
        ASSERT_NE(nullptr, windows.back()->CreateNative(L"msg", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    }
    for (int i = 0; i < 40; ++i) {
        HWND hwnd = windows[i]->Handle();
        EXPECT_EQ(i + 1, ::SendMessageW(hwnd, WM_APP, i, 0));
        EXPECT_EQ(hwnd, windows[i]->seen);
        // Unhandled messages reach the default procedure.
        wchar_t text[8] = {};
        EXPECT_EQ(3, ::GetWindowTextW(hwnd, text, 8));
    }
    for (auto& window : windows) {
        HWND hwnd = window->Handle();
        EXPECT_TRUE(window->DestroyWindow());
        EXPECT_EQ(1, window->lastMessages);
        EXPECT_EQ(hwnd, window->lastHandle);
        EXPECT_EQ(nullptr, window->Handle());
    }
}

TEST_F(SimpleWndTest, LastMessageRunsOnceAfterTheOutermostCallAndTheObjectCanCreateAgain)
{
    CountingWnd window;
    HWND first = window.CreateNative(L"w", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr);
    ASSERT_NE(nullptr, first);
    ::SendMessageW(first, WM_APP + 1, 0, 0);
    EXPECT_EQ(0, window.lastSeenInside); // not while the outer handler still ran
    EXPECT_EQ(first, window.handleInside);
    EXPECT_EQ(1, window.lastMessages);
    EXPECT_EQ(nullptr, window.Handle());

    HWND again = window.CreateNative(L"w", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr);
    ASSERT_NE(nullptr, again);
    EXPECT_EQ(5, ::SendMessageW(again, WM_APP, 4, 0));
    window.DestroyWindow();
    EXPECT_EQ(2, window.lastMessages);
}

// Windows still alive when the framework ends (a top-level one with a child, a message-only one)
// never reach their objects or the thunks again; the objects forget them, so a later destroy by
// an object touches no other window; the class is free for the next application.
TEST_F(SimpleWndTest, WindowsLeftAtTheEndAreCutFromTheirObjectsAndDestroyed)
{
    CountingWnd top, child, messageOnly;
    HWND topHwnd = top.CreateNative(L"left", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr);
    HWND childHwnd = child.CreateNative(L"child", WS_CHILD, 0, 0, 0, 5, 5, topHwnd, nullptr);
    HWND messageHwnd = messageOnly.CreateNative(L"msg", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr);
    ASSERT_TRUE(topHwnd && childHwnd && messageHwnd);

    m_helper.reset();
    for (HWND hwnd : {topHwnd, childHwnd, messageHwnd})
        EXPECT_FALSE(::IsWindow(hwnd));
    for (CountingWnd* window : {&top, &child, &messageOnly}) {
        EXPECT_EQ(0, window->lastMessages);
        EXPECT_EQ(nullptr, window->Handle());
    }

    m_helper.reset(new CSimpleWndHelper(GetModuleHandleW(nullptr), L"SKEINHOST", FALSE));
    ASSERT_NE(0, m_helper->ClassAtom());
    CountingWnd next;
    ASSERT_NE(nullptr, next.CreateNative(L"next", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    for (CountingWnd* window : {&top, &child, &messageOnly})
        EXPECT_FALSE(window->DestroyWindow());
    EXPECT_EQ(3, ::SendMessageW(next.Handle(), WM_APP, 2, 0));
    // A cut object binds a new window as any idle one.
    ASSERT_NE(nullptr, top.CreateNative(L"again", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    EXPECT_EQ(6, ::SendMessageW(top.Handle(), WM_APP, 5, 0));
    top.DestroyWindow();
    EXPECT_EQ(1, top.lastMessages);
    next.DestroyWindow();
}

TEST_F(SimpleWndTest, FailedCreationLeavesTheObjectIdleAndTheLockFree)
{
    CountingWnd window;
    // A child window without a parent is refused.
    EXPECT_EQ(nullptr, window.CreateNative(L"c", WS_CHILD, 0, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(nullptr, window.Handle());
    // The lock was released: another thread can create a window.
    HANDLE thread = ::CreateThread(nullptr, 0, &CreateOnThread, nullptr, 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(thread, 5000));
    DWORD code = 0;
    ::GetExitCodeThread(thread, &code);
    ::CloseHandle(thread);
    EXPECT_EQ(1u, code);
}

TEST_F(SimpleWndTest, ModifyStyleReportsChangesOnly)
{
    CountingWnd window;
    ASSERT_NE(nullptr, window.CreateNative(L"s", WS_POPUP, 0, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_FALSE(window.ModifyStyle(0, WS_POPUP, SWP_FRAMECHANGED));
    EXPECT_TRUE(window.ModifyStyle(0, WS_MINIMIZEBOX));
    EXPECT_TRUE(::GetWindowLongW(window.Handle(), GWL_STYLE) & WS_MINIMIZEBOX);
    EXPECT_TRUE(window.ModifyStyleEx(0, WS_EX_TOOLWINDOW));
    EXPECT_FALSE(window.ModifyStyleEx(WS_EX_LAYERED, 0));
    window.DestroyWindow();
}

TEST_F(SimpleWndTest, ReflectToChildFindsTheControlOrReportsNotHandled)
{
    CountingWnd parent;
    ASSERT_NE(nullptr, parent.CreateNative(L"p", WS_POPUP, 0, 0, 0, 100, 100, nullptr, nullptr));
    CountingWnd child;
    ASSERT_NE(nullptr, child.CreateNative(L"c", WS_CHILD, 0, 0, 0, 10, 10, parent.Handle(), nullptr));

    DRAWITEMSTRUCT item = {};
    item.hwndItem = child.Handle();
    BOOL handled = TRUE;
    EXPECT_EQ(1, parent.ReflectToChild(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), handled));
    EXPECT_FALSE(handled); // a menu item (wParam 0)

    // WM_COMMAND from the child comes back as WM_COMMAND + 0x2000, unhandled by the child.
    handled = FALSE;
    parent.ReflectToChild(WM_COMMAND, 1, reinterpret_cast<LPARAM>(child.Handle()), handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(1, parent.ReflectToChild(WM_MOVE, 0, 0, handled));
    EXPECT_FALSE(handled);
    parent.DestroyWindow();
}

TEST_F(SimpleWndTest, CenterOnOwnerCentresOnTheVisibleOwnerAndOnTheWorkAreaOtherwise)
{
    CountingWnd owner;
    ASSERT_NE(nullptr, owner.CreateNative(L"o", WS_POPUP | WS_VISIBLE, 0, 100, 100, 400, 300, nullptr, nullptr));
    CountingWnd popup;
    ASSERT_NE(nullptr, popup.CreateNative(L"p", WS_POPUP, 0, 0, 0, 100, 50, owner.Handle(), nullptr));
    popup.CenterOnOwner();
    RECT rect = {};
    popup.GetWindowRect(&rect);
    EXPECT_EQ(250, rect.left);
    EXPECT_EQ(225, rect.top);

    ::ShowWindow(owner.Handle(), SW_HIDE);
    popup.CenterOnOwner();
    popup.GetWindowRect(&rect);
    MONITORINFO info = {sizeof(info)};
    ::GetMonitorInfoW(::MonitorFromWindow(popup.Handle(), MONITOR_DEFAULTTONEAREST), &info);
    EXPECT_EQ((info.rcWork.left + info.rcWork.right) / 2 - 50, rect.left);
    EXPECT_EQ((info.rcWork.top + info.rcWork.bottom) / 2 - 25, rect.top);
    popup.DestroyWindow();
    owner.DestroyWindow();
}

} // namespace
