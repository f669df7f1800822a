// The split window in a real host: panes laid out from their ideal, minimum and maximum sizes
// and priorities, separators painted with the separator skin, dragging a separator through
// real mouse messages, hidden panes (also hidden and shown again) and inserted panes.
#include "control/SSplitWnd.h"
#include "host_test_env.h"

namespace hosttest {
namespace {

// Three columns in 200 px with 4 px separators: the panes start at their minimum (20/30/10),
// take their ideal sizes in priority order (p2, p1, p3) and the rest goes to p3, the last of
// the priority list: 60 / 50 / 82.
const char kColumns[] =
    "<SKEIN width='200' height='100'><root colorBkgnd='#ffffff'>"
    "<splitwnd name='split' pos='0,0,-0,-0' sepSize='4' sepSkin='red'>"
    "<pane name='p1' idealSize='60px' minSize='20px' maxSize='100px' colorBkgnd='#0000ff'/>"
    "<pane name='p2' idealSize='50px' minSize='30px' maxSize='80px' priority='1' colorBkgnd='#00ff00'/>"
    "<window name='ignored' pos='0,0,@10,@10'/>"
    "<pane name='p3' idealSize='40px' minSize='10px' maxSize='200px' colorBkgnd='#0000ff'/>"
    "</splitwnd></root></SKEIN>";

// Rows whose last pane is hidden and whose shown panes stop at their maximum.
const char kRowsHiddenLast[] =
    "<SKEIN width='100' height='200'><root colorBkgnd='#ffffff'>"
    "<splitrow name='split' pos='0,0,-0,-0' sepSize='4' sepSkin='red'>"
    "<pane name='p1' idealSize='60px' maxSize='60px' colorBkgnd='#0000ff'/>"
    "<pane name='p2' idealSize='50px' maxSize='50px' colorBkgnd='#0000ff'/>"
    "<pane name='p3' idealSize='40px' visible='0' colorBkgnd='#00ff00'/>"
    "</splitrow></root></SKEIN>";

// Three columns that start at their minimums 60/150/100 in 320 px (two 5 px separators), below
// their ideals 100/200/100; the middle one has the highest priority.
const char kBelowIdeals[] =
    "<SKEIN width='320' height='60'><root>"
    "<splitwnd name='split' pos='0,0,-0,-0' sepSize='5'>"
    "<pane idealSize='100px' minSize='60px'/>"
    "<pane idealSize='200px' minSize='150px' priority='1'/>"
    "<pane idealSize='100px' minSize='100px'/>"
    "</splitwnd></root></SKEIN>";

const UINT32 kRed = Px(RGB(255, 0, 0));
const UINT32 kBlue = Px(RGB(0, 0, 255));
const UINT32 kGreen = Px(RGB(0, 255, 0));
const UINT32 kWhite = Px(RGB(255, 255, 255));

class SplitHostTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        std::string fixed(kColumns);
        fixed.replace(fixed.find("sepSize='4'"), 11, "sepSize='4' adjustable='0'");
        std::string hiddenMiddle(kColumns);
        hiddenMiddle.replace(hiddenMiddle.find("priority='1'"), 12, "priority='1' visible='0'");
        AddLayouts({{L"columns", kColumns},
                    {L"fixed", fixed},
                    {L"hiddenmiddle", hiddenMiddle},
                    {L"rows", kRowsHiddenLast},
                    {L"belowideals", kBelowIdeals}});
    }

    SSplitWnd* Open(RecordingHost& host)
    {
        m_hwnd = CreatePopup(host);
        return m_hwnd ? dynamic_cast<SSplitWnd*>(host.LookupChildByName(L"split")) : nullptr;
    }
    // Extents of the panes along the split axis.
    static std::vector<int> Sizes(SSplitWnd* split)
    {
        std::vector<int> sizes;
        for (int i = 0; i < split->GetPaneCount(); ++i) {
            const RECT& rect = split->GetPane(i)->GetWindowRect();
            sizes.push_back(split->IsVertical() ? rect.right - rect.left : rect.bottom - rect.top);
        }
        return sizes;
    }
    static std::vector<int> Starts(SSplitWnd* split)
    {
        std::vector<int> starts;
        for (int i = 0; i < split->GetPaneCount(); ++i) {
            const RECT& rect = split->GetPane(i)->GetWindowRect();
            starts.push_back(split->IsVertical() ? rect.left : rect.top);
        }
        return starts;
    }
    void Mouse(UINT msg, int x, int y)
    {
        ::SendMessageW(m_hwnd, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    }
    // The columns with p2 hidden: p1 at its ideal, one separator, p3 takes the rest of 196 px.
    void ExpectMiddleHidden(SSplitWnd* split)
    {
        std::vector<int> starts = Starts(split);
        EXPECT_EQ(0, starts[0]);
        EXPECT_EQ(64, starts[2]);
        EXPECT_EQ(136, Sizes(split)[2]);
        EXPECT_EQ(kRed, PixelAt(61, 50));
        for (int x : {64, 116, 118, 190})
            EXPECT_EQ(kBlue, PixelAt(x, 50)) << x;
    }
    // The colour of the pixel at (x, y) of a fresh capture.
    UINT32 PixelAt(int x, int y)
    {
        int width = 0, height = 0;
        std::vector<UINT32> pixels = Capture(m_hwnd, width, height);
        return pixels[y * width + x] | 0xFF000000;
    }

    HWND m_hwnd = nullptr;
};

TEST_F(SplitHostTest, PanesTakeIdealSizesByPriorityAndSeparatorsArePaintedInTheGaps)
{
    RecordingHost host(L"LAYOUT:columns");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    ASSERT_EQ(3, split->GetPaneCount()); // the plain window element is not a pane
    EXPECT_EQ(nullptr, host.LookupChildByName(L"ignored"));
    EXPECT_EQ((std::vector<int>{60, 50, 82}), Sizes(split));
    EXPECT_EQ((std::vector<int>{0, 64, 118}), Starts(split));
    EXPECT_EQ(100, split->GetPane(2)->GetWindowRect().bottom - split->GetPane(2)->GetWindowRect().top);
    EXPECT_GE(host.Count(EventSplitPaneMoved::EventID, L"p3"), 1);

    for (int x : {60, 63, 114, 117})
        EXPECT_EQ(kRed, PixelAt(x, 50)) << x;
    EXPECT_EQ(kBlue, PixelAt(59, 50));
    EXPECT_EQ(kGreen, PixelAt(64, 50));
    EXPECT_EQ(kGreen, PixelAt(113, 50));
    EXPECT_EQ(kBlue, PixelAt(118, 50));
}

TEST_F(SplitHostTest, DraggingASeparatorMovesItsNeighboursWithinTheirLimits)
{
    RecordingHost host(L"LAYOUT:columns");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    Mouse(WM_LBUTTONDOWN, 62, 50);
    EXPECT_EQ(0, split->DraggedSeparator());

    // p1 grows by 30; p2 can give only 20 before its minimum, p3 gives the other 10.
    Mouse(WM_MOUSEMOVE, 92, 50);
    EXPECT_EQ((std::vector<int>{90, 30, 72}), Sizes(split));
    EXPECT_EQ((std::vector<int>{0, 94, 128}), Starts(split));
    EXPECT_EQ(kRed, PixelAt(91, 50));
    EXPECT_EQ(kBlue, PixelAt(89, 50));

    // p1 stops at its maximum although the mouse goes on.
    Mouse(WM_MOUSEMOVE, 150, 50);
    EXPECT_EQ((std::vector<int>{100, 30, 62}), Sizes(split));
    Mouse(WM_MOUSEMOVE, 151, 50);
    EXPECT_EQ((std::vector<int>{100, 30, 62}), Sizes(split));

    // Moving back moves the separator at once; p2 grows from its minimum.
    Mouse(WM_MOUSEMOVE, 140, 50);
    EXPECT_EQ((std::vector<int>{89, 41, 62}), Sizes(split));
    EXPECT_EQ(kRed, PixelAt(90, 50));

    Mouse(WM_LBUTTONUP, 140, 50);
    EXPECT_EQ(-1, split->DraggedSeparator());
    Mouse(WM_MOUSEMOVE, 120, 50);
    EXPECT_EQ((std::vector<int>{89, 41, 62}), Sizes(split));
}

TEST_F(SplitHostTest, SecondSeparatorShrinksTheLeftSideLowestPriorityFirst)
{
    RecordingHost host(L"LAYOUT:columns");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    Mouse(WM_LBUTTONDOWN, 116, 50);
    EXPECT_EQ(1, split->DraggedSeparator());
    // p2 gives 20 down to its minimum; the other 20 comes from p1 (above its minimum).
    Mouse(WM_MOUSEMOVE, 76, 50);
    EXPECT_EQ((std::vector<int>{40, 30, 122}), Sizes(split));
    Mouse(WM_LBUTTONUP, 76, 50);
}

TEST_F(SplitHostTest, NotAdjustableStartsNoDragAndShowsNoResizeCursor)
{
    RecordingHost adjustable(L"LAYOUT:columns");
    SSplitWnd* split = Open(adjustable);
    ASSERT_NE(nullptr, split);
    EXPECT_TRUE(split->ApplyCursor(POINT{62, 50}));
    EXPECT_EQ(::LoadCursorW(nullptr, MAKEINTRESOURCEW(32644)), ::GetCursor());

    RecordingHost host(L"LAYOUT:fixed");
    split = Open(host);
    ASSERT_NE(nullptr, split);
    EXPECT_FALSE(split->ApplyCursor(POINT{62, 50}));
    Mouse(WM_LBUTTONDOWN, 62, 50);
    EXPECT_EQ(-1, split->DraggedSeparator());
    Mouse(WM_MOUSEMOVE, 92, 50);
    Mouse(WM_LBUTTONUP, 92, 50);
    EXPECT_EQ((std::vector<int>{60, 50, 82}), Sizes(split));
}

TEST_F(SplitHostTest, HiddenPanesKeepNoSpaceAndNoSeparator)
{
    RecordingHost host(L"LAYOUT:hiddenmiddle");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    ExpectMiddleHidden(split);
}

TEST_F(SplitHostTest, HidingAPaneLaysTheOthersOutAgainAndShowingItGivesItsRoomBack)
{
    RecordingHost host(L"LAYOUT:columns");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    SWindow* middle = split->GetPane(1);
    middle->ChangeVisibility(FALSE);
    Pump();
    ExpectMiddleHidden(split); // as if loaded hidden

    // A drag of the one separator moves the two shown panes.
    Mouse(WM_LBUTTONDOWN, 62, 50);
    Mouse(WM_MOUSEMOVE, 82, 50);
    Mouse(WM_LBUTTONUP, 82, 50);
    EXPECT_EQ(80, Sizes(split)[0]);
    EXPECT_EQ(84, Starts(split)[2]);

    // Shown again at its old size; the room comes from the panes above their ideals.
    middle->ChangeVisibility(TRUE);
    Pump();
    EXPECT_EQ((std::vector<int>{60, 50, 82}), Sizes(split));
    EXPECT_EQ((std::vector<int>{0, 64, 118}), Starts(split));
    EXPECT_EQ(kGreen, PixelAt(100, 50));
}

TEST_F(SplitHostTest, HiddenLastPaneStillLeavesASeparatorAfterTheLastShownRow)
{
    RecordingHost host(L"LAYOUT:rows");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    EXPECT_FALSE(split->IsVertical());
    std::vector<int> starts = Starts(split);
    std::vector<int> sizes = Sizes(split);
    EXPECT_EQ(0, starts[0]);
    EXPECT_EQ(64, starts[1]);
    EXPECT_EQ(60, sizes[0]);
    EXPECT_EQ(50, sizes[1]);
    EXPECT_EQ(kRed, PixelAt(50, 62));
    EXPECT_EQ(kRed, PixelAt(50, 116));
    EXPECT_EQ(kWhite, PixelAt(50, 150));
}

TEST_F(SplitHostTest, InsertedPaneTakesItsIdealSizeAndASecondInsertIsRefused)
{
    RecordingHost host(L"LAYOUT:columns");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(L"<pane name='p0' idealSize='30px'/>"));
    SSplitPane* pane = new SSplitPane;
    split->LinkChild(pane);
    ASSERT_TRUE(pane->LoadFromXml(document.first_child()));

    // The others give the 34 px it needs from above their ideals: only p3 has any.
    EXPECT_EQ(0, split->InsertPane(pane, 0));
    EXPECT_EQ((std::vector<int>{30, 60, 50, 48}), Sizes(split));
    EXPECT_EQ((std::vector<int>{0, 34, 98, 152}), Starts(split));
    EXPECT_EQ(-1, split->InsertPane(pane, 2));
    EXPECT_EQ(4, split->GetPaneCount());
}

TEST_F(SplitHostTest, ADestroyedPaneLeavesTheListsAndTheOthersTakeItsRoom)
{
    RecordingHost host(L"LAYOUT:columns");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    SWindow* middle = host.LookupChildByName(L"p2");
    ASSERT_NE(nullptr, middle);
    ASSERT_TRUE(middle->Dispose());
    ASSERT_EQ(2, split->GetPaneCount());
    EXPECT_EQ(nullptr, host.LookupChildByName(L"p2"));
    // At the next layout p3 takes the room back (p1 stays at its ideal).
    EXPECT_EQ(kRed, PixelAt(61, 50));
    EXPECT_EQ((std::vector<int>{60, 136}), Sizes(split));
    EXPECT_EQ((std::vector<int>{0, 64}), Starts(split));

    // A drag of the one separator left moves the two panes that remain.
    Mouse(WM_LBUTTONDOWN, 62, 50);
    EXPECT_EQ(0, split->DraggedSeparator());
    Mouse(WM_MOUSEMOVE, 82, 50);
    EXPECT_EQ((std::vector<int>{80, 116}), Sizes(split));
    Mouse(WM_LBUTTONUP, 82, 50);

    // Destroyed while its separator is dragged: the drag ends.
    Mouse(WM_LBUTTONDOWN, 82, 50);
    split->GetPane(1)->Dispose();
    EXPECT_EQ(1, split->GetPaneCount());
    EXPECT_EQ(-1, split->DraggedSeparator());
    Mouse(WM_MOUSEMOVE, 60, 50);
    Mouse(WM_LBUTTONUP, 60, 50);
    Pump();
    EXPECT_EQ((std::vector<int>{100}), Sizes(split)); // p1 alone, up to its maximum
}

TEST_F(SplitHostTest, GrowingTheHostGivesTheSpaceToTheLastPaneOfThePriorityList)
{
    RecordingHost host(L"LAYOUT:columns");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 280, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    EXPECT_EQ((std::vector<int>{60, 50, 162}), Sizes(split));
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    // 92 px: p3 first down to its ideal, then toward the minimums from the last: p3, then p1.
    EXPECT_EQ((std::vector<int>{32, 50, 10}), Sizes(split));
}

TEST_F(SplitHostTest, GrowthGoesToTheIdealsHighestPriorityFirst)
{
    RecordingHost host(L"LAYOUT:belowideals");
    SSplitWnd* split = Open(host);
    ASSERT_NE(nullptr, split);
    EXPECT_EQ((std::vector<int>{60, 150, 100}), Sizes(split));
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, 400, 60, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    // The middle pane reaches its ideal 200 first; the first takes the other 30, still below 100.
    EXPECT_EQ((std::vector<int>{90, 200, 100}), Sizes(split));
    EXPECT_EQ((std::vector<int>{0, 95, 300}), Starts(split));
}

} // namespace
} // namespace hosttest
