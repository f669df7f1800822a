// The host's caret: drawn by inverting the memory target inside the inner rectangles of its
// window and the window's ancestors; blinking, hiding and moving put back what was beneath,
// and neither a paint pass nor a borrowed render target sees or keeps it twice.
#include "host_test_env.h"

namespace hosttest {
namespace {

const char kCaretLayout[] =
    "<SKEIN width='160' height='60'><root colorBkgnd='#ffffff'>"
    "<window name='edit' pos='10,10,@60,@30' colorBkgnd='#ff0000'/>"
    "<window name='clip' pos='80,10,@30,@30' colorBkgnd='#00ff00'>"
    "<window name='inner' pos='20,5,@30,@10' colorBkgnd='#0000ff'/>"
    "</window>"
    "</root></SKEIN>";

// An opaque pixel with its colour bits inverted.
constexpr UINT32 Inverted(UINT32 pixel)
{
    return pixel ^ 0x00FFFFFFu;
}

class HostCaretTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        AddLayouts({{L"caret", kCaretLayout},
                    {L"hotkey", "<SKEIN width='160' height='60'><root><hotkey name='hk' pos='10,10,@100,@24'/>"
                                "</root></SKEIN>"}});
    }
    UINT32 PixelAt(HWND hwnd, int x, int y)
    {
        int width = 0, height = 0;
        std::vector<UINT32> pixels = Capture(hwnd, width, height);
        return pixels[y * width + x];
    }
    static void Blink(SHostWnd& host)
    {
        UINT_PTR id = 0;
        ASSERT_TRUE(PackSwndTimerId(host.GetHandle(), kHostTimerCaret, id));
        ::SendMessageW(host.GetHostHwnd(), WM_TIMER, id, 0);
    }
};

TEST_F(HostCaretTest, BlinksByInversionAndHidingPutsThePixelsBack)
{
    RecordingHost host(L"LAYOUT:caret");
    HWND hwnd = CreatePopup(host, 40, 300);
    ASSERT_NE(nullptr, hwnd);
    SWindow* edit = host.LookupChildByName(L"edit");
    ASSERT_NE(nullptr, edit);
    const UINT32 red = Px(RGB(255, 0, 0));
    ASSERT_EQ(red, PixelAt(hwnd, 20, 15));

    EXPECT_FALSE(host.SetCaretPos(1, 1)) << "no caret yet";
    ASSERT_TRUE(edit->CreateCaret(nullptr, 2, 12));
    ASSERT_TRUE(edit->SetCaretPosition(20, 12));
    ASSERT_TRUE(edit->ShowCaret(TRUE));
    EXPECT_EQ(Inverted(red), PixelAt(hwnd, 20, 15));
    EXPECT_EQ(Inverted(red), PixelAt(hwnd, 21, 23));
    EXPECT_EQ(red, PixelAt(hwnd, 22, 15));
    EXPECT_EQ(red, PixelAt(hwnd, 20, 24));

    // A repaint of the area under a drawn caret shows it once, over the fresh content.
    edit->InvalidateArea();
    EXPECT_EQ(Inverted(red), PixelAt(hwnd, 20, 15));

    Blink(host);
    EXPECT_EQ(red, PixelAt(hwnd, 20, 15));
    Blink(host);
    EXPECT_EQ(Inverted(red), PixelAt(hwnd, 20, 15));

    // Moving a drawn caret restores the old place.
    ASSERT_TRUE(edit->SetCaretPosition(40, 12));
    EXPECT_EQ(red, PixelAt(hwnd, 20, 15));
    EXPECT_EQ(Inverted(red), PixelAt(hwnd, 40, 15));

    // Hidden in its inverted phase: the pixels come back and the blink timer stops.
    ASSERT_TRUE(edit->ShowCaret(FALSE));
    EXPECT_EQ(red, PixelAt(hwnd, 40, 15));
    UINT_PTR id = 0;
    ASSERT_TRUE(PackSwndTimerId(host.GetHandle(), kHostTimerCaret, id));
    EXPECT_FALSE(::KillTimer(hwnd, id));

    // Moving a hidden caret draws nothing.
    ASSERT_TRUE(edit->SetCaretPosition(20, 12));
    EXPECT_EQ(red, PixelAt(hwnd, 40, 15));
    EXPECT_EQ(red, PixelAt(hwnd, 20, 15));

    // A new caret replaces a drawn one without leaving it behind.
    ASSERT_TRUE(edit->ShowCaret(TRUE));
    ASSERT_TRUE(edit->CreateCaret(nullptr, 4, 12));
    EXPECT_EQ(red, PixelAt(hwnd, 20, 15));
    ASSERT_TRUE(edit->ShowCaret(TRUE));
    EXPECT_EQ(Inverted(red), PixelAt(hwnd, 23, 15));
}

TEST_F(HostCaretTest, BorrowedTargetSeesNoCaretAndTheCaretComesBack)
{
    RecordingHost host(L"LAYOUT:caret");
    HWND hwnd = CreatePopup(host, 40, 400);
    ASSERT_NE(nullptr, hwnd);
    SWindow* edit = host.LookupChildByName(L"edit");
    const UINT32 red = Px(RGB(255, 0, 0));
    ASSERT_EQ(red, PixelAt(hwnd, 20, 15));
    ASSERT_TRUE(edit->CreateCaret(nullptr, 2, 12));
    ASSERT_TRUE(edit->SetCaretPosition(20, 12));
    ASSERT_TRUE(edit->ShowCaret(TRUE));

    RECT area = {10, 10, 70, 40};
    IRenderTarget* borrowed = host.AcquireRenderTarget(&area, 0);
    ASSERT_NE(nullptr, borrowed);
    EXPECT_EQ(red, borrowed->GetPixel(20, 15));
    host.ReleaseRenderTarget(borrowed, &area, 0);
    EXPECT_EQ(Inverted(red), host.MemoryTarget()->GetPixel(20, 15));
    EXPECT_EQ(Inverted(red), PixelAt(hwnd, 20, 15));
}

TEST_F(HostCaretTest, CaretIsInvertedOnlyInsideTheAncestorsInnerRects)
{
    RecordingHost host(L"LAYOUT:caret");
    HWND hwnd = CreatePopup(host, 40, 500);
    ASSERT_NE(nullptr, hwnd);
    SWindow* inner = host.LookupChildByName(L"inner");
    ASSERT_NE(nullptr, inner);
    const UINT32 blue = Px(RGB(0, 0, 255));
    // inner reaches from 100 to 130, its parent ends at 110.
    ASSERT_EQ(blue, PixelAt(hwnd, 105, 20));
    const UINT32 beyond = PixelAt(hwnd, 115, 20);

    ASSERT_TRUE(inner->CreateCaret(nullptr, 20, 4));
    ASSERT_TRUE(inner->SetCaretPosition(102, 18));
    ASSERT_TRUE(inner->ShowCaret(TRUE));
    EXPECT_EQ(Inverted(blue), PixelAt(hwnd, 105, 20));
    EXPECT_EQ(Inverted(blue), PixelAt(hwnd, 109, 21));
    EXPECT_EQ(beyond, PixelAt(hwnd, 110, 20));
    EXPECT_EQ(beyond, PixelAt(hwnd, 121, 20));

    ASSERT_TRUE(inner->ShowCaret(FALSE));
    EXPECT_EQ(blue, PixelAt(hwnd, 105, 20));
    EXPECT_EQ(beyond, PixelAt(hwnd, 115, 20));
}

// A focused hot-key box that goes takes its caret's blink with it.
TEST_F(HostCaretTest, DestroyedFocusedHotKeyStopsTheBlink)
{
    RecordingHost host(L"LAYOUT:hotkey");
    HWND hwnd = CreatePopup(host, 40, 300);
    ASSERT_NE(nullptr, hwnd);
    SWindow* hotkey = host.LookupChildByName(L"hk");
    ASSERT_NE(nullptr, hotkey);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(20, 20));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, Point(20, 20));
    ASSERT_EQ(hotkey->GetHandle(), host.GetFocus());
    UINT_PTR blink = 0;
    ASSERT_TRUE(PackSwndTimerId(host.GetHandle(), kHostTimerCaret, blink));

    hotkey->Dispose();
    EXPECT_EQ(0u, host.GetFocus());
    EXPECT_FALSE(::KillTimer(hwnd, blink)) << "the blink timer still runs";
}

} // namespace
} // namespace hosttest
