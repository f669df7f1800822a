// Input of a host window: real native messages sent to the host reach the tree by capture,
// hover and focus; clicks become command events by name in the host's event map; wheel
// routing; system keys; the missing button release; the event message 11226 and the
// inspection messages.
#include "host_test_env.h"
#include <windowsx.h>

namespace hosttest {
namespace {

const char kInputLayout[] =
    "<SKEIN width='200' height='100'>"
    "<root>"
    "<recwnd name='a' pos='0,0,@100,@100'><recwnd name='inner' pos='10,10,@30,@30'/></recwnd>"
    "<recwnd name='b' focusable='1' pos='100,0,@100,@100'/>"
    "</root></SKEIN>";

class HostInputTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        std::string wheel(kInputLayout);
        wheel.replace(wheel.find("height='100'"), 12, "height='100' sendWheel2Hover='1'");
        std::string tracked(kInputLayout);
        tracked.replace(tracked.find("name='a'"), 8, "name='a' trackMouseEvent='1'");
        std::string noSpy(kInputLayout);
        noSpy.replace(noSpy.find("height='100'"), 12, "height='100' allowSpy='0'");
        AddLayouts({{L"input", kInputLayout}, {L"wheel", wheel}, {L"tracked", tracked}, {L"nospy", noSpy}});
    }

    HWND Open(RecordingHost& host)
    {
        HWND hwnd = CreatePopup(host);
        if (hwnd) {
            a = static_cast<RecWnd*>(host.LookupChildByName(L"a"));
            b = static_cast<RecWnd*>(host.LookupChildByName(L"b"));
            inner = static_cast<RecWnd*>(host.LookupChildByName(L"inner"));
        }
        return hwnd;
    }
    void ClearLogs()
    {
        a->log.clear();
        b->log.clear();
        inner->log.clear();
    }
    static void Move(HWND hwnd, int x, int y) { ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }
    static LRESULT Wheel(HWND hwnd, int x, int y)
    {
        POINT pt = {x, y};
        ::ClientToScreen(hwnd, &pt);
        return ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(pt.x, pt.y));
    }

    RecWnd* a = nullptr;
    RecWnd* b = nullptr;
    RecWnd* inner = nullptr;
};

TEST_F(HostInputTest, ClickReachesTheHostAsACommandByNameOnlyWhenReleasedInside)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 50));
    EXPECT_EQ(b->GetHandle(), host.GetCapture());
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(150, 50));
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"b"));
    EXPECT_EQ(0u, host.GetCapture());

    // Pressed on b, released over a: b keeps the capture and gets the release; no command.
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 50));
    ClearLogs();
    Move(hwnd, 50, 50);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    EXPECT_EQ(1, b->Count(WM_MOUSEMOVE));
    EXPECT_EQ(1, b->Count(WM_LBUTTONUP));
    EXPECT_EQ(0, a->Count(WM_MOUSEMOVE));
    EXPECT_EQ(0, a->Count(WM_LBUTTONUP));
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"b"));
}

TEST_F(HostInputTest, HoverAndLeaveFollowTheMouseAcrossWindows)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    Move(hwnd, 150, 50);
    EXPECT_EQ(b->GetHandle(), host.GetHover());
    EXPECT_EQ(1, b->Count(WM_MOUSEHOVER));
    EXPECT_TRUE(b->GetStateFlags() & kStateHover);
    Move(hwnd, 151, 50);
    EXPECT_EQ(1, b->Count(WM_MOUSEHOVER));
    EXPECT_EQ(2, b->Count(WM_MOUSEMOVE));

    Move(hwnd, 50, 50);
    EXPECT_EQ(1, b->Count(WM_MOUSELEAVE));
    EXPECT_EQ(1, a->Count(WM_MOUSEHOVER));
    Move(hwnd, 20, 20);
    EXPECT_EQ(1, a->Count(WM_MOUSELEAVE)); // a plain window hands the hover to its child
    EXPECT_EQ(1, inner->Count(WM_MOUSEHOVER));

    ::SendMessageW(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(1, inner->Count(WM_MOUSELEAVE));
    EXPECT_EQ(0u, host.GetHover());
    EXPECT_EQ(1, host.Count(EventSwndMouseHover::EventID, L"inner"));
}

TEST_F(HostInputTest, TrackedWindowLeavesOnlyWhenThePointLeavesItsRectangle)
{
    RecordingHost host(L"LAYOUT:tracked");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    Move(hwnd, 50, 50);
    Move(hwnd, 20, 20);
    EXPECT_EQ(1, a->Count(WM_MOUSEHOVER));
    EXPECT_EQ(0, a->Count(WM_MOUSELEAVE));
    EXPECT_EQ(1, inner->Count(WM_MOUSEHOVER));
    Move(hwnd, 150, 50);
    EXPECT_EQ(1, a->Count(WM_MOUSELEAVE));
    EXPECT_EQ(1, inner->Count(WM_MOUSELEAVE));
}

TEST_F(HostInputTest, CaptureIsRefusedToADisabledWindow)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(0u, host.SetCapture(b->GetHandle()));
    a->EnableWindow(FALSE);
    EXPECT_EQ(0u, host.SetCapture(a->GetHandle()));
    EXPECT_EQ(b->GetHandle(), host.GetCapture());
    EXPECT_TRUE(host.ReleaseCapture());
    EXPECT_EQ(0u, host.GetCapture());
}

TEST_F(HostInputTest, WheelGoesToCaptureThenHoverOrFocusAndIsUnhandledWithoutATarget)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(0, Wheel(hwnd, 150, 50)); // nothing focused: default processing
    EXPECT_EQ(0, b->Count(WM_MOUSEWHEEL));

    b->TakeFocus();
    EXPECT_EQ(b->GetHandle(), host.GetFocus());
    EXPECT_EQ(1, Wheel(hwnd, 20, 20));
    EXPECT_EQ(1, b->Count(WM_MOUSEWHEEL));
    EXPECT_EQ(0, inner->Count(WM_MOUSEWHEEL));

    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50)); // a takes the capture
    EXPECT_EQ(1, Wheel(hwnd, 150, 50));
    EXPECT_EQ(1, a->Count(WM_MOUSEWHEEL));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));

    RecordingHost hover(L"LAYOUT:wheel");
    HWND second = Open(hover);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(1, Wheel(second, 20, 20));
    EXPECT_EQ(1, inner->Count(WM_MOUSEWHEEL));
    EXPECT_EQ(inner->GetHandle(), hover.GetHover());
}

TEST_F(HostInputTest, KeysGoToTheFocusedWindowAndSystemKeysToTheDefaultProcedure)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    b->TakeFocus();
    ::SendMessageW(hwnd, WM_KEYDOWN, 'X', 0);
    ::SendMessageW(hwnd, WM_CHAR, 'x', 0);
    EXPECT_EQ(1, b->Count(WM_KEYDOWN));
    EXPECT_EQ(1, b->Count(WM_CHAR));
    // Alt+F4: the focused window does not ask for system keys, so the window closes.
    ::SendMessageW(hwnd, WM_SYSKEYDOWN, VK_F4, 0x20000000);
    EXPECT_EQ(0, b->Count(WM_SYSKEYDOWN));
    Pump();
    EXPECT_FALSE(::IsWindow(hwnd));
}

TEST_F(HostInputTest, DeactivationWhileTheButtonIsHeldSendsTheMissingRelease)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 50));
    ::SendMessageW(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    ASSERT_EQ(1, b->Count(WM_LBUTTONUP));
    EXPECT_EQ(0u, host.GetCapture());
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"b")); // released at the press point
    ::SendMessageW(hwnd, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(1, b->Count(WM_LBUTTONUP));
}

struct CrossThreadSend {
    HWND hwnd;
    EventArgs* evt;
    LRESULT answer;
};

DWORD WINAPI SendFromThread(LPVOID param)
{
    CrossThreadSend* s = static_cast<CrossThreadSend*>(param);
    s->answer = SHostWnd::SendHostEvent(s->hwnd, s->evt);
    return 0;
}

TEST_F(HostInputTest, EventMessageIsTakenOnlyWhenSentOnTheHostsOwnThread)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    EventCmd evt(b);
    EXPECT_EQ(1, SHostWnd::SendHostEvent(hwnd, &evt));
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"b"));

    // Not sent through SendHostEvent, or posted: refused.
    EXPECT_EQ(0, ::SendMessageW(hwnd, kHostMsgFireEvent, 0, reinterpret_cast<LPARAM>(&evt)));
    ::PostMessageW(hwnd, kHostMsgFireEvent, 0, reinterpret_cast<LPARAM>(&evt));
    Pump();
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"b"));

    CrossThreadSend send = {hwnd, &evt, -1};
    HANDLE thread = ::CreateThread(nullptr, 0, &SendFromThread, &send, 0, nullptr);
    while (::MsgWaitForMultipleObjects(1, &thread, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        Pump();
    ::CloseHandle(thread);
    EXPECT_EQ(0, send.answer);
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"b"));
}

// Receives the inspection record.
class SpyWnd : public CSimpleWnd {
public:
    BOOL HandleWindowMessage(HWND, UINT msg, WPARAM, LPARAM lParam, LRESULT& result, DWORD) override
    {
        if (msg != WM_COPYDATA)
            return FALSE;
        const COPYDATASTRUCT* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        kind = data->dwData;
        record.assign(static_cast<const char*>(data->lpData), static_cast<const char*>(data->lpData) + data->cbData);
        result = 1;
        return TRUE;
    }
    ULONG_PTR kind = 0;
    std::vector<char> record;
};

TEST_F(HostInputTest, InspectionMessagesDescribeTheTree)
{
    RecordingHost host(L"LAYOUT:input");
    HWND hwnd = Open(host);
    ASSERT_NE(nullptr, hwnd);
    SpyWnd spy;
    ASSERT_NE(nullptr, spy.CreateNative(L"spy", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
    EXPECT_EQ(0, ::SendMessageW(hwnd, kHostMsgSpyAnnounce, 0, 0x1234));
    EXPECT_EQ(1, ::SendMessageW(hwnd, kHostMsgSpyAnnounce, 0, reinterpret_cast<LPARAM>(spy.Handle())));

    EXPECT_EQ(static_cast<LRESULT>(inner->GetHandle()),
              ::SendMessageW(hwnd, kHostMsgSpyRelative, a->GetHandle(), kRelFirstChild));
    EXPECT_EQ(static_cast<LRESULT>(a->GetHandle()), ::SendMessageW(hwnd, kHostMsgSpyRelative, 0, kRelFirstChild));
    POINT pt = {20, 20};
    ::ClientToScreen(hwnd, &pt);
    EXPECT_EQ(static_cast<LRESULT>(inner->GetHandle()),
              ::SendMessageW(hwnd, kHostMsgSpyHitTest, 0, MAKELPARAM(pt.x, pt.y)));

    EXPECT_EQ(1, ::SendMessageW(hwnd, kHostMsgSpyInfo, inner->GetHandle(), 0));
    ASSERT_EQ(10650u, spy.record.size());
    EXPECT_EQ(12026u, spy.kind);
    const char* bytes = spy.record.data();
    EXPECT_EQ(inner->GetHandle(), *reinterpret_cast<const DWORD*>(bytes));
    EXPECT_EQ(10, reinterpret_cast<const RECT*>(bytes + 4)->left);
    EXPECT_EQ(40, reinterpret_cast<const RECT*>(bytes + 4)->bottom);
    EXPECT_STREQ(L"inner", reinterpret_cast<const wchar_t*>(bytes + 44));
    EXPECT_STREQ(L"recwnd", reinterpret_cast<const wchar_t*>(bytes + 44 + 502));
    EXPECT_STREQ(L"##unavailable!", reinterpret_cast<const wchar_t*>(bytes + 44 + 502 + 102));

    b->ApplyAttribute(SStringW(L"name"), SStringW(std::wstring(251, L'n').c_str()), FALSE);
    EXPECT_EQ(1, ::SendMessageW(hwnd, kHostMsgSpyInfo, b->GetHandle(), 0));
    EXPECT_STREQ(L"##buf overflow!", reinterpret_cast<const wchar_t*>(spy.record.data() + 44));
    EXPECT_EQ(0, ::SendMessageW(hwnd, kHostMsgSpyInfo, 0xFFFFFF, 0));

    RecordingHost closed(L"LAYOUT:nospy");
    HWND other = CreatePopup(closed);
    ASSERT_NE(nullptr, other);
    EXPECT_EQ(0, ::SendMessageW(other, kHostMsgSpyRelative, 0, kRelFirstChild));
    EXPECT_EQ(0, ::SendMessageW(other, kHostMsgSpyInfo, 0, 0));
    spy.DestroyWindow();
}

} // namespace
} // namespace hosttest
