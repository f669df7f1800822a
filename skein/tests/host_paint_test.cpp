// Host windows built from layouts in a real folder: pixels through WM_PRINT, the host's own
// skins, resizing, borrowed render targets, translucent output through the dummy window and
// the end of the message loop.
#include "host_test_env.h"

namespace hosttest {
namespace {

const char kPaintLayout[] =
    "<SKEIN title='paint' width='200' height='120'>"
    "<skin><colorrect name='blue' normal='#0000ff'/></skin>"
    "<root colorBkgnd='#ffffff'>"
    "<window name='r' pos='10,10,@50,@30' skin='red'/>"
    "<window name='g' pos='100,10,@50,@30' skin='green'/>"
    "<window name='b' pos='160,10,@30,@30' skin='blue'/>"
    "<window name='t' pos='10,60,@180,@40' colorText='#000000'>Hello host</window>"
    "</root></SKEIN>";

const char kTranslucentLayout[] =
    "<SKEIN width='120' height='60' translucent='1'>"
    "<root>"
    "<window name='half' pos='10,10,@40,@40' colorBkgnd='#0000ff80'/>"
    "<window name='solid' pos='60,10,@40,@40' skin='red'/>"
    "</root></SKEIN>";

const char kRepaintLayout[] =
    "<SKEIN width='100' height='50'><root colorBkgnd='#ffffff'>"
    "<recwnd name='own' pos='0,0,@40,@40' bkgndBlend='0' colorBkgnd='#ff0000'/>"
    "<recwnd name='blend' pos='50,0,@40,@40' colorBkgnd='#00ff00'/>"
    "</root></SKEIN>";

const char kWrapLayout[] =
    "<SKEIN width='-1' height='60' resizable='1' margin='4,4,4,4' minsize='50,40' maxInset='2,3,4,5' "
    "maxInset='1,2' margin='1'>"
    "<root><window name='w' pos='0,0,@80,@20'/></root></SKEIN>";

class HostPaintTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        AddLayouts({{L"paint", kPaintLayout},
                    {L"glass", kTranslucentLayout},
                    {L"empty", "<SKEIN/>"},
                    {L"repaint", kRepaintLayout},
                    {L"wrap", kWrapLayout}});
    }
};

UINT32 At(const std::vector<UINT32>& pixels, int width, int x, int y)
{
    return pixels[y * width + x] | 0xFF000000; // BitBlt leaves alpha to the DIB
}

int DarkPixels(const std::vector<UINT32>& pixels, int width, const RECT& area)
{
    int dark = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            dark += (pixels[y * width + x] & 0xFF) < 0x80;
    }
    return dark;
}

TEST_F(HostPaintTest, LayoutIsBuiltAndItsSkinsAndTextArePaintedWhereItPutsThem)
{
    RecordingHost host(L"LAYOUT:paint");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(1, host.Count(EventInit::EventID));
    wchar_t title[16] = {};
    ::GetWindowTextW(hwnd, title, 16);
    EXPECT_STREQ(L"paint", title);

    int width = 0, height = 0;
    std::vector<UINT32> pixels = Capture(hwnd, width, height);
    ASSERT_EQ(200, width);
    ASSERT_EQ(120, height);
    EXPECT_EQ(Px(RGB(255, 0, 0)), At(pixels, width, 20, 20));
    EXPECT_EQ(Px(RGB(0, 255, 0)), At(pixels, width, 120, 35));
    EXPECT_EQ(Px(RGB(0, 0, 255)), At(pixels, width, 170, 20)); // the layout's own skin pool
    EXPECT_EQ(Px(RGB(255, 255, 255)), At(pixels, width, 5, 5));
    EXPECT_EQ(Px(RGB(255, 255, 255)), At(pixels, width, 80, 20));
    EXPECT_GT(DarkPixels(pixels, width, RECT{10, 60, 190, 100}), 20);
    EXPECT_EQ(0, DarkPixels(pixels, width, RECT{0, 102, 200, 120}));

    host.DestroyHost();
    EXPECT_EQ(1, host.Count(EventExit::EventID));
    EXPECT_EQ(nullptr, host.Handle());
}

TEST_F(HostPaintTest, ResizingRelaysTheRootOutAndRepaintsTheWholeClientArea)
{
    RecordingHost host(L"LAYOUT:paint");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    ::SetWindowPos(hwnd, nullptr, 0, 0, 300, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(300, host.GetWindowRect().right);
    EXPECT_EQ(150, host.GetWindowRect().bottom);
    int width = 0, height = 0;
    std::vector<UINT32> pixels = Capture(hwnd, width, height);
    ASSERT_EQ(300, width);
    EXPECT_EQ(Px(RGB(255, 255, 255)), At(pixels, width, 290, 140));
    EXPECT_EQ(Px(RGB(255, 0, 0)), At(pixels, width, 20, 20));
}

TEST_F(HostPaintTest, ABorrowedTargetIsCopiedBackUnlessItShowsNothing)
{
    RecordingHost host(L"LAYOUT:paint");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    int width = 0, height = 0;
    Capture(hwnd, width, height); // the memory target holds the tree now
    RECT rect = {70, 70, 90, 90};

    IRenderTarget* hidden = host.AcquireRenderTarget(&rect, kPaintHidden);
    ASSERT_NE(nullptr, hidden);
    hidden->FillSolidRect(&rect, 0xFF00FF00);
    host.ReleaseRenderTarget(hidden, &rect, kPaintHidden);
    EXPECT_EQ(Px(RGB(255, 255, 255)), host.MemoryTarget()->GetPixel(75, 75) | 0xFF000000);

    IRenderTarget* shown = host.AcquireRenderTarget(&rect, kPaintPlain);
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(Px(RGB(255, 255, 255)), shown->GetPixel(5, 5) | 0xFF000000); // starts with the content
    RECT inner = {75, 75, 85, 85};
    shown->FillSolidRect(&inner, 0xFF00FF00);
    host.ReleaseRenderTarget(shown, &rect, kPaintPlain);
    EXPECT_EQ(Px(RGB(0, 255, 0)), host.MemoryTarget()->GetPixel(80, 80));
    EXPECT_EQ(Px(RGB(255, 255, 255)), host.MemoryTarget()->GetPixel(72, 72) | 0xFF000000);
}

TEST_F(HostPaintTest, TranslucentHostKeepsPerPixelAlphaAndIsDrivenByTheDummyWindow)
{
    RecordingHost host(L"LAYOUT:glass");
    HWND hwnd = CreatePopup(host, 50, 50);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_TRUE(host.IsTranslucent());
    EXPECT_TRUE(::GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED);
    HWND dummy = ::FindWindowW(L"SKEINHOST", L"SKEIN_DUMMY_WND");
    ASSERT_NE(nullptr, dummy);
    EXPECT_EQ(host.DummyHwnd(), dummy);
    EXPECT_TRUE(::GetWindowLongW(dummy, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_TRUE(::IsWindowVisible(dummy));

    PumpFor(100);
    IRenderTarget* memory = host.MemoryTarget();
    EXPECT_EQ(0u, memory->GetPixel(5, 5));                    // nothing drawn: transparent
    EXPECT_EQ(0x80000080u, memory->GetPixel(20, 20));         // half-transparent blue, premultiplied
    EXPECT_EQ(Px(RGB(255, 0, 0)), memory->GetPixel(70, 20));  // opaque skin

    // A change is painted through the dummy window's WM_PAINT alone.
    SWindow* half = host.LookupChildByName(L"half");
    ASSERT_NE(nullptr, half);
    half->ApplyAttribute(SStringW(L"colorBkgnd"), SStringW(L"#00ff00ff"), FALSE);
    PumpFor(100);
    EXPECT_EQ(Px(RGB(0, 255, 0)), memory->GetPixel(20, 20));

    host.DestroyHost();
    EXPECT_FALSE(::IsWindow(dummy));
}

TEST_F(HostPaintTest, DeferredUpdatesAreMergedAndInvalidationsDuringAPassGoToTheNext)
{
    RecordingHost host(L"LAYOUT:repaint");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    RecWnd* own = static_cast<RecWnd*>(host.LookupChildByName(L"own"));
    RecWnd* blend = static_cast<RecWnd*>(host.LookupChildByName(L"blend"));
    ASSERT_TRUE(own && blend);
    PumpFor(50);
    own->paints = 0;
    own->InvalidateArea();
    own->InvalidateArea();
    PumpFor(50);
    EXPECT_EQ(1, own->paints);

    blend->paints = 0;
    blend->invalidateOnFirstPaint = true;
    blend->InvalidateArea();
    PumpFor(50);
    EXPECT_EQ(2, blend->paints);
}

TEST_F(HostPaintTest, WrapContentHostFollowsItsRootWithinItsFrameLimits)
{
    RecordingHost host(L"LAYOUT:wrap");
    HWND hwnd = CreatePopup(host);
    ASSERT_NE(nullptr, hwnd);
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(80, client.right);
    EXPECT_EQ(60, client.bottom);
    // The wrapped direction has no resize border; the other keeps it.
    POINT right = {79, 30}, bottom = {40, 58};
    ::ClientToScreen(hwnd, &right);
    ::ClientToScreen(hwnd, &bottom);
    EXPECT_EQ(HTCLIENT, ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(right.x, right.y)));
    EXPECT_EQ(HTBOTTOM, ::SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(bottom.x, bottom.y)));

    // Malformed lists (the second maxInset and margin) changed nothing.
    MINMAXINFO info = {};
    ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(50, info.ptMinTrackSize.x);
    EXPECT_EQ(40, info.ptMinTrackSize.y);
    MONITORINFO monitor = {sizeof(monitor)};
    ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_EQ(monitor.rcWork.right - monitor.rcWork.left + 6, info.ptMaxSize.x);
    EXPECT_EQ(monitor.rcWork.bottom - monitor.rcWork.top + 8, info.ptMaxSize.y);
    EXPECT_EQ(abs(monitor.rcWork.left - monitor.rcMonitor.left) - 2, info.ptMaxPosition.x);
    EXPECT_EQ(abs(monitor.rcWork.top - monitor.rcMonitor.top) - 3, info.ptMaxPosition.y);

    SWindow* w = host.LookupChildByName(L"w");
    ASSERT_NE(nullptr, w);
    w->ApplyAttribute(SStringW(L"pos"), SStringW(L"0,0,@150,@20"), FALSE);
    PumpFor(50);
    ::GetClientRect(hwnd, &client);
    EXPECT_EQ(150, client.right);
    EXPECT_EQ(60, client.bottom);
}

TEST_F(HostPaintTest, TranslucentHostAnimatesByHandInEveryModeAndStepCount)
{
    RecordingHost host(L"LAYOUT:glass");
    HWND hwnd = CreatePopup(host, 50, 50);
    ASSERT_NE(nullptr, hwnd);
    EXPECT_FALSE(host.AnimateHost(50, AW_HIDE)); // no mode: nothing happens
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    const DWORD modes[] = {AW_SLIDE | AW_HOR_POSITIVE, AW_SLIDE | AW_HOR_NEGATIVE | AW_VER_NEGATIVE,
                           AW_SLIDE | AW_VER_POSITIVE, AW_CENTER, AW_BLEND};
    for (DWORD mode : modes) {
        for (DWORD time : {40u, 5u}) { // 5 ms: no step at all
            SCOPED_TRACE(testing::Message() << "mode " << mode << " time " << time);
            EXPECT_TRUE(host.AnimateHost(time, mode | AW_HIDE));
            EXPECT_FALSE(::IsWindowVisible(hwnd));
            EXPECT_TRUE(host.AnimateHost(time, mode));
            EXPECT_TRUE(::IsWindowVisible(hwnd));
        }
    }
    EXPECT_EQ(0x80000080u, host.MemoryTarget()->GetPixel(20, 20)); // the content is intact
}

TEST_F(HostPaintTest, OnlyAMainOrUndefinedTopLevelHostEndsTheMessageLoop)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    RecordingHost popup(L"LAYOUT:empty");
    ASSERT_NE(nullptr, CreatePopup(popup));
    popup.DestroyHost();
    EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    RecordingHost main(L"LAYOUT:empty");
    ASSERT_NE(nullptr, main.CreateHostDefault(nullptr, 0, 0, 100, 100));
    main.DestroyHost();
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(1u, msg.wParam);
}

} // namespace
} // namespace hosttest
