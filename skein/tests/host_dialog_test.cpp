// Modal dialogs run for real: the code given to EndModal, WM_CLOSE, Enter and Escape, the owner
// disabled while the dialog runs, a quit posted from elsewhere, and ending before the dialog
// is shown. Each dialog is scripted from its WM_INITDIALOG by posting itself messages.
#include <functional>
#include "core/SHostDialog.h"
#include "host_test_env.h"

namespace hosttest {
namespace {

const char kDialogLayout[] =
    "<SKEIN width='200' height='100'><root>"
    "<button name='ok' id='1' pos='0,0,@60,@20'/>"
    "<button name='cancel' id='2' pos='70,0,@60,@20'/>"
    "</root></SKEIN>";

// Message that runs the dialog's onApp script.
const UINT kRunScript = WM_APP + 1;
// Ends a dialog that the test failed to end.
const int kTimedOut = -1;

class ScriptedDialog : public SHostDialog {
public:
    ScriptedDialog() : SHostDialog(L"LAYOUT:dialog") {}
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override
    {
        if (mapId == 0 && msg == WM_INITDIALOG && onInit)
            onInit();
        if (mapId == 0 && msg == kRunScript && onApp) {
            onApp();
            return TRUE;
        }
        if (msg == WM_SHOWWINDOW && wParam)
            shown = true;
        return SHostDialog::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
    }
    void Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessageW(m_hwnd, msg, wParam, lParam); }

    std::function<void()> onInit;
    std::function<void()> onApp;
    bool shown = false;
};

ScriptedDialog* g_running = nullptr;

void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_running)
        g_running->EndModal(kTimedOut);
}

class HostDialogTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        AddLayouts({{L"dialog", kDialogLayout}, {L"owner", "<SKEIN width='50' height='50'><root/></SKEIN>"}});
    }
    // RunModal with a guard that ends a dialog left running after 5 s.
    int Run(ScriptedDialog& dialog, HWND owner = nullptr)
    {
        g_running = &dialog;
        UINT_PTR guard = ::SetTimer(nullptr, 0, 5000, EndStuckDialog);
        int result = dialog.RunModal(owner);
        ::KillTimer(nullptr, guard);
        g_running = nullptr;
        return result;
    }
};

TEST_F(HostDialogTest, RunModalReturnsTheEndModalCodeAndAnOnlyFirstEndCounts)
{
    ScriptedDialog dialog;
    dialog.onInit = [&] { dialog.Post(kRunScript); };
    dialog.onApp = [&] {
        EXPECT_TRUE(::IsWindowVisible(dialog.Handle()));
        dialog.EndModal(42);
        dialog.EndModal(7);
    };
    EXPECT_EQ(42, Run(dialog));
    EXPECT_TRUE(dialog.shown);
    EXPECT_FALSE(::IsWindow(dialog.Handle()));
}

TEST_F(HostDialogTest, CloseEnterAndEscapeEndTheDialogUnlessTheFocusedControlTakesTheKey)
{
    struct Case {
        const char* label;
        std::function<void(ScriptedDialog&)> script;
        int result;
    };
    const Case cases[] = {
        {"close", [](ScriptedDialog& d) { d.Post(WM_CLOSE); }, IDCANCEL},
        {"enter", [](ScriptedDialog& d) { d.Post(WM_KEYDOWN, VK_RETURN, 1); }, IDOK},
        {"escape", [](ScriptedDialog& d) { d.Post(WM_KEYDOWN, VK_ESCAPE, 1); }, IDCANCEL},
        // The focused cancel button takes Enter itself: it is pushed, and clicked on release.
        {"enter on cancel",
         [](ScriptedDialog& d) {
             d.LookupChildByName(L"cancel")->TakeFocus();
             d.Post(WM_KEYDOWN, VK_RETURN, 1);
             d.Post(kRunScript);
             d.Post(WM_KEYUP, VK_RETURN, 0xC0000001);
         },
         IDCANCEL},
        {"escape on ok",
         [](ScriptedDialog& d) {
             d.LookupChildByName(L"ok")->TakeFocus();
             d.Post(WM_KEYDOWN, VK_ESCAPE, 1);
         },
         IDCANCEL},
    };
    for (const Case& c : cases) {
        ScriptedDialog dialog;
        dialog.onInit = [&] { c.script(dialog); };
        dialog.onApp = [&] { EXPECT_EQ(SHostDialog::kRunning, dialog.GetResult()) << c.label; };
        EXPECT_EQ(c.result, Run(dialog)) << c.label;
    }
}

TEST_F(HostDialogTest, OwnerIsDisabledWhileTheDialogRunsAndEnabledAfterwards)
{
    SHostWnd owner(L"LAYOUT:owner");
    HWND ownerHwnd = CreatePopup(owner);
    ASSERT_NE(nullptr, ownerHwnd);
    BOOL enabledDuringRun = TRUE;
    ScriptedDialog dialog;
    dialog.onInit = [&] {
        enabledDuringRun = ::IsWindowEnabled(ownerHwnd);
        EXPECT_EQ(ownerHwnd, ::GetWindow(dialog.Handle(), GW_OWNER));
        dialog.Post(WM_CLOSE);
    };
    EXPECT_EQ(IDCANCEL, Run(dialog, ownerHwnd));
    EXPECT_FALSE(enabledDuringRun);
    EXPECT_TRUE(::IsWindowEnabled(ownerHwnd));
    owner.DestroyHost();
}

// Ended from WM_INITDIALOG: never shown, destroyed, the code returned and the owner enabled again.
TEST_F(HostDialogTest, EndModalFromInitDialogNeverShowsTheDialog)
{
    SHostWnd owner(L"LAYOUT:owner");
    HWND ownerHwnd = CreatePopup(owner);
    ASSERT_NE(nullptr, ownerHwnd);
    ScriptedDialog dialog;
    dialog.onInit = [&] {
        dialog.EndModal(5);
        dialog.EndModal(6);
    };
    EXPECT_EQ(5, Run(dialog, ownerHwnd));
    EXPECT_FALSE(dialog.shown);
    EXPECT_FALSE(::IsWindow(dialog.Handle()));
    EXPECT_TRUE(::IsWindowEnabled(ownerHwnd));
    owner.DestroyHost();
}

TEST_F(HostDialogTest, QuitPostedWhileTheDialogRunsEndsItAndIsPostedAgain)
{
    ScriptedDialog dialog;
    dialog.onInit = [] { ::PostQuitMessage(9); };
    EXPECT_EQ(SHostDialog::kRunning, Run(dialog));
    EXPECT_FALSE(::IsWindow(dialog.Handle()));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(9u, msg.wParam);
}

// The dialog's window goes without EndModal, in its loop or from WM_INITDIALOG, by itself or
// with its owner: the modal call returns at once as cancelled, and an owner that lives is
// enabled again.
TEST_F(HostDialogTest, DestroyedWindowEndsTheModalCallAsCancelled)
{
    struct Case {
        const char* label;
        bool fromInit;
        bool owner;
    };
    const Case cases[] = {
        {"dialog in its loop", false, false},
        {"dialog from init", true, false},
        {"owner in the loop", false, true},
        {"owner from init", true, true},
    };
    for (const Case& c : cases) {
        SHostWnd owner(L"LAYOUT:owner");
        HWND ownerHwnd = CreatePopup(owner);
        ASSERT_NE(nullptr, ownerHwnd);
        ScriptedDialog dialog;
        auto destroy = [&] { ::DestroyWindow(c.owner ? ownerHwnd : dialog.Handle()); };
        dialog.onInit = [&] {
            if (c.fromInit)
                destroy();
            else
                dialog.Post(kRunScript);
        };
        dialog.onApp = destroy;
        EXPECT_EQ(IDCANCEL, Run(dialog, ownerHwnd)) << c.label;
        EXPECT_EQ(nullptr, dialog.Handle()) << c.label;
        EXPECT_EQ(!c.owner, ::IsWindow(ownerHwnd) != FALSE) << c.label;
        if (!c.owner) {
            EXPECT_TRUE(::IsWindowEnabled(ownerHwnd)) << c.label;
        }
        MSG msg = {};
        EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << c.label;
        owner.DestroyHost();
    }
}

// Runs the dialog's script from another thread, as a second start's message arrives.
DWORD WINAPI SendRunScript(void* dialog)
{
    ::SendMessageW(static_cast<HWND>(dialog), kRunScript, 0, 0);
    return 0;
}

// The program's main window ends under the dialog, asked from another thread as a second start
// asks: the dialog's loop takes the main window's quit while it waits, and posts it again.
TEST_F(HostDialogTest, AQuitTakenAfterTheOwnerWentIsPostedAgain)
{
    SHostWnd owner(L"LAYOUT:owner");
    HWND ownerHwnd = CreatePopup(owner);
    ASSERT_NE(nullptr, ownerHwnd);
    ScriptedDialog dialog;
    HANDLE asker = nullptr;
    dialog.onInit = [&] {
        asker = ::CreateThread(nullptr, 0, SendRunScript, dialog.Handle(), 0, nullptr);
    };
    dialog.onApp = [&] {
        ::DestroyWindow(ownerHwnd);
        ::PostQuitMessage(1);
    };
    EXPECT_EQ(IDCANCEL, Run(dialog, ownerHwnd));
    MSG msg = {};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(1u, msg.wParam);
    ::WaitForSingleObject(asker, INFINITE);
    ::CloseHandle(asker);
    owner.DestroyHost();
}

// Two dialogs at once: the outer one's window goes while the inner one runs on it. The inner
// call ends as cancelled with its owner, then the outer one.
TEST_F(HostDialogTest, OuterDialogDestroyedUnderAnInnerOneEndsBoth)
{
    ScriptedDialog outer;
    ScriptedDialog inner;
    int innerResult = 0;
    outer.onInit = [&] { outer.Post(kRunScript); };
    outer.onApp = [&] {
        inner.onInit = [&] { inner.Post(kRunScript); };
        inner.onApp = [&] { ::DestroyWindow(outer.Handle()); };
        innerResult = inner.RunModal(outer.Handle());
    };
    EXPECT_EQ(IDCANCEL, Run(outer));
    EXPECT_EQ(IDCANCEL, innerResult);
    EXPECT_EQ(nullptr, inner.Handle());
    EXPECT_EQ(nullptr, outer.Handle());
}

} // namespace
} // namespace hosttest
