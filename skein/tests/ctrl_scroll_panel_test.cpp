// Panel and scroll view: bar geometry, scrolling by line, page, wheel and thumb, the repeat
// timers, and a view that follows its bars.
#include "control/SPanel.h"
#include "control/SScrollBarGeometry.h"
#include "control/SScrollView.h"
#include "ctrl_scroll_test_env.h"

using namespace ctrltest;

namespace {

SCROLLINFO Info(int nMin, int nMax, UINT page, int pos)
{
    SCROLLINFO info = EmptyScrollInfo();
    info.nMin = nMin;
    info.nMax = nMax;
    info.nPage = page;
    info.nPos = pos;
    return info;
}

int Length(const RECT& r, bool vertical)
{
    return vertical ? r.bottom - r.top : r.right - r.left;
}

struct GeometryCase {
    const char* what;
    SCROLLINFO info;
    int length;
    int arrow;
    int arrowLength; // of part 0
    int thumbStart;  // along the bar
    int thumbLength;
};

} // namespace

TEST(ScrollBarGeometry, PartsFollowRangePageAndPosition)
{
    const GeometryCase cases[] = {
        {"thumb raised to the minimum", Info(0, 99, 10, 0), 200, 16, 16, 16, 18},
        {"thumb at the last position", Info(0, 99, 10, 90), 200, 16, 16, 16 + 150, 18},
        {"page covers the range: thumb fills the rail", Info(0, 9, 10, 0), 200, 16, 16, 16, 168},
        {"page larger than the range", Info(0, 9, 50, 0), 200, 16, 16, 16, 168},
        {"rail shorter than a thumb shows none", Info(0, 99, 10, 50), 40, 16, 16, 16 + 4, 0},
        {"no rail: the arrows split the bar", Info(0, 99, 10, 0), 20, 16, 10, 10, 0},
        {"nMin is the origin of the travel", Info(100, 199, 10, 145), 200, 16, 16, 16 + 75, 18},
        {"a position past the end stays on the rail", Info(0, 99, 10, 500), 200, 16, 16, 16 + 150, 18},
    };
    for (const GeometryCase& c : cases) {
        SCOPED_TRACE(c.what);
        RECT bar{0, 0, 16, c.length};
        SScrollBarGeometry geometry(c.info, bar, true, c.arrow);
        ASSERT_TRUE(geometry.IsValid());
        EXPECT_EQ(c.arrowLength, Length(geometry.PartRect(SB_LINEUP), true));
        EXPECT_EQ(c.length - c.arrowLength, geometry.PartRect(SB_LINEDOWN).top);
        RECT thumb = geometry.PartRect(SB_THUMBTRACK);
        EXPECT_EQ(c.thumbStart, thumb.top);
        EXPECT_EQ(c.thumbLength, Length(thumb, true));
        EXPECT_EQ(thumb.top, geometry.PartRect(SB_PAGEUP).bottom);
        EXPECT_EQ(thumb.bottom, geometry.PartRect(SB_PAGEDOWN).top);
    }
    SCROLLINFO inverted = Info(10, 5, 0, 0);
    SScrollBarGeometry none(inverted, RECT{0, 0, 200, 16}, false, 16);
    EXPECT_FALSE(none.IsValid());
    EXPECT_EQ(-1, none.HitTest(POINT{5, 5}));
    RECT arrow = none.PartRect(SB_LINEUP);
    EXPECT_TRUE(::IsRectEmpty(&arrow));
}

TEST(ScrollBarGeometry, HitOrderAndDragMapping)
{
    SCROLLINFO info = Info(0, 99, 10, 0);
    SScrollBarGeometry geometry(info, RECT{0, 0, 200, 16}, false, 16);
    EXPECT_EQ(SB_LINEUP, geometry.HitTest(POINT{0, 5}));
    EXPECT_EQ(SB_THUMBTRACK, geometry.HitTest(POINT{20, 5}));
    EXPECT_EQ(SB_PAGEDOWN, geometry.HitTest(POINT{100, 5}));
    EXPECT_EQ(SB_LINEDOWN, geometry.HitTest(POINT{199, 5}));
    EXPECT_EQ(-1, geometry.HitTest(POINT{100, 16}));
    // The whole free rail (168 - 18 = 150 px) spans the 90 positions of travel.
    EXPECT_EQ(0, geometry.DragPosition(0, 0));
    EXPECT_EQ(45, geometry.DragPosition(0, 75));
    EXPECT_EQ(90, geometry.DragPosition(0, 150));
    EXPECT_EQ(90, geometry.DragPosition(0, 1000));
    EXPECT_EQ(0, geometry.DragPosition(50, -1000));
    // A thumb that fills its rail cannot move and does not divide by zero.
    SCROLLINFO full = Info(0, 9, 10, 0);
    SScrollBarGeometry fixed(full, RECT{0, 0, 200, 16}, false, 16);
    EXPECT_EQ(0, fixed.DragPosition(0, 100));
}

namespace {

class PanelTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        m_skin = InstallSkin(L"_skin.sys.scrollbar", new RecordingScrollSkin(16));
    }
    // A div of 200 x 100 at the root's origin with a vertical range 0..99, page 10.
    SPanel* MakePanel(const wchar_t* extra = L"")
    {
        std::wstring xml = L"<window><div name='p' pos='0,0,@200,@100' ";
        xml += extra;
        xml += L"/></window>";
        BuildFromXml(xml.c_str());
        SPanel* panel = Find<SPanel>(L"p");
        panel->SetScrollRangeOf(TRUE, 0, 99, FALSE);
        SCROLLINFO& info = const_cast<SCROLLINFO&>(panel->ScrollInfoOf(TRUE));
        info.nPage = 10;
        panel->SetScrollBarShown(kPanelBarVert, TRUE);
        return panel;
    }
    RecordingScrollSkin* m_skin = nullptr;
};

} // namespace

TEST_F(PanelTest, BarsTakeTheirWidthFromTheClientAreaAndPaintInTheNonClientArea)
{
    SPanel* panel = MakePanel();
    RECT client;
    panel->GetInnerRect(&client);
    EXPECT_EQ(184, client.right);
    EXPECT_EQ(100, client.bottom);
    RECT bar = panel->BarRect(TRUE);
    EXPECT_EQ((RECT{184, 0, 200, 100}.left), bar.left);
    EXPECT_TRUE(panel->IsInNonClientArea(POINT{190, 50}));
    EXPECT_FALSE(panel->IsInNonClientArea(POINT{100, 50}));

    panel->SetScrollBarShown(kPanelBarHorz, TRUE);
    panel->GetInnerRect(&client);
    EXPECT_EQ(84, client.bottom);
    EXPECT_EQ(84, panel->BarRect(TRUE).bottom);  // the vertical bar stops above the corner
    EXPECT_EQ(184, panel->BarRect(FALSE).right);

    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    // Idle look (4) on the vertical bar's first arrow; the corner square below it.
    EXPECT_EQ(Px(StateColor(SSkinScrollbar::MakeState(SB_LINEUP, 4, TRUE))), rt->GetPixel(190, 5));
    EXPECT_EQ(Px(StateColor(SSkinScrollbar::MakeState(kSbPartCorner, 0, TRUE))), rt->GetPixel(190, 90));
    EXPECT_EQ(Px(StateColor(SSkinScrollbar::MakeState(SB_LINEDOWN, 4, FALSE))), rt->GetPixel(180, 90));

    // A disabled bar draws look 3.
    panel->EnableScrollBarBits(kPanelBarVert, FALSE);
    rt = m_container.Render(200, 100);
    EXPECT_EQ(Px(StateColor(SSkinScrollbar::MakeState(SB_LINEUP, 3, TRUE))), rt->GetPixel(190, 5));
}

TEST_F(PanelTest, OnScrollActionsClampToTheRange)
{
    SPanel* panel = MakePanel(L"scrollSpeed='7'");
    struct Step {
        UINT code;
        int position;
        int expected;
        BOOL moved;
    } steps[] = {
        {SB_LINEDOWN, 0, 7, TRUE},    {SB_PAGEDOWN, 0, 17, TRUE},   {SB_BOTTOM, 0, 90, TRUE},
        {SB_LINEDOWN, 0, 90, FALSE},  {SB_THUMBPOSITION, 40, 40, TRUE}, {SB_PAGEUP, 0, 30, TRUE},
        {SB_TOP, 0, 0, TRUE},         {SB_LINEUP, 0, 0, FALSE},     {SB_THUMBTRACK, 500, 90, TRUE},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.code);
        EXPECT_EQ(step.moved, panel->OnScroll(TRUE, step.code, step.position));
        EXPECT_EQ(step.expected, panel->ScrollPosOf(TRUE));
    }
    // With no page every action lands on 0.
    const_cast<SCROLLINFO&>(panel->ScrollInfoOf(TRUE)).nPage = 0;
    EXPECT_TRUE(panel->OnScroll(TRUE, SB_THUMBPOSITION, 50));
    EXPECT_EQ(0, panel->ScrollPosOf(TRUE));
}

TEST_F(PanelTest, HeldArrowRepeatsThroughItsTimersAndStopsAtTheEnd)
{
    SPanel* panel = MakePanel(L"scrollSpeed='40'");
    panel->SendUiMessage(WM_NCLBUTTONDOWN, HTVSCROLL, At(190, 95));  // second arrow
    EXPECT_EQ(panel->GetHandle(), m_container.capture);
    EXPECT_EQ(40, panel->ScrollPosOf(TRUE));  // once at once
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    EXPECT_EQ(Px(StateColor(SSkinScrollbar::MakeState(SB_LINEDOWN, 2, TRUE))), rt->GetPixel(190, 95));
    panel->SendUiMessage(WM_TIMER, 1);  // the 500 ms delay ends: one step
    EXPECT_EQ(80, panel->ScrollPosOf(TRUE));
    panel->SendUiMessage(WM_NCMOUSEMOVE, HTVSCROLL, At(190, 50));  // off the arrow: the repeat pauses
    panel->SendUiMessage(WM_TIMER, 2);
    EXPECT_EQ(80, panel->ScrollPosOf(TRUE));
    panel->SendUiMessage(WM_NCMOUSEMOVE, HTVSCROLL, At(190, 95));
    panel->SendUiMessage(WM_TIMER, 2);  // every 50 ms after that
    EXPECT_EQ(90, panel->ScrollPosOf(TRUE));
    panel->SendUiMessage(WM_TIMER, 2);
    EXPECT_EQ(90, panel->ScrollPosOf(TRUE));
    EXPECT_TRUE(panel->IsInNonClientArea(POINT{100, 50}));  // held: the release comes to the bar
    panel->SendUiMessage(WM_NCLBUTTONUP, HTVSCROLL, At(100, 50));
    EXPECT_EQ(0u, m_container.capture);
    EXPECT_FALSE(panel->IsInNonClientArea(POINT{100, 50}));
    panel->SendUiMessage(WM_TIMER, 2);  // a late tick after the release does nothing
    panel->OnScroll(TRUE, SB_TOP, 0);
    panel->SendUiMessage(WM_TIMER, 2);
    EXPECT_EQ(0, panel->ScrollPosOf(TRUE));
}

TEST_F(PanelTest, HeldRailPagesUntilTheThumbReachesTheMouse)
{
    SPanel* panel = MakePanel();
    // Rail 16..84, thumb 18 px over 9 pages of travel (50 px): the mouse at y 60.
    panel->SendUiMessage(WM_NCLBUTTONDOWN, HTVSCROLL, At(190, 60));
    EXPECT_EQ(10, panel->ScrollPosOf(TRUE));
    int ticks = 0;
    for (int previous = -1; previous != panel->ScrollPosOf(TRUE) && ticks < 20; ++ticks) {
        previous = panel->ScrollPosOf(TRUE);
        panel->SendUiMessage(WM_TIMER, ticks == 0 ? 1 : 2);
    }
    RECT thumb = SScrollBarGeometry(panel->ScrollInfoOf(TRUE), panel->BarRect(TRUE), true, panel->ArrowSize())
                     .PartRect(SB_THUMBTRACK);
    EXPECT_LE(thumb.top, 60);
    EXPECT_LT(panel->ScrollPosOf(TRUE), 90);
    panel->SendUiMessage(WM_NCLBUTTONUP, HTVSCROLL, At(190, 60));
}

TEST_F(PanelTest, WheelKeepsPartialNotches)
{
    SPanel* panel = MakePanel();
    panel->SendUiMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    EXPECT_EQ(0, panel->ScrollPosOf(TRUE));
    panel->SendUiMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-60)), 0);
    EXPECT_EQ(10, panel->ScrollPosOf(TRUE));
    panel->SendUiMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-360)), 0);
    EXPECT_EQ(40, panel->ScrollPosOf(TRUE));
    panel->SendUiMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
    EXPECT_EQ(30, panel->ScrollPosOf(TRUE));
}

TEST_F(PanelTest, DisabledBarIgnoresClicks)
{
    SPanel* panel = MakePanel(L"sbEnable='1'");
    panel->SendUiMessage(WM_NCLBUTTONDOWN, HTVSCROLL, At(190, 95));
    EXPECT_EQ(0, panel->ScrollPosOf(TRUE));
    EXPECT_EQ(0u, m_container.capture);
}

namespace {

class ScrollViewTest : public PanelTest {
protected:
    SScrollView* MakeView(const wchar_t* size)
    {
        std::wstring xml = L"<window><scrollview name='v' pos='0,0,@200,@100' viewSize='";
        xml += size;
        xml += L"'><window name='c' pos='10,10,@20,@20'/></scrollview></window>";
        BuildFromXml(xml.c_str());
        SScrollView* view = Find<SScrollView>(L"v");
        m_events.Watch(view, {EventScroll::EventID, EventScrollViewOriginChanged::EventID,
                              EventScrollViewSizeChanged::EventID});
        return view;
    }
    EventRecorder m_events;
};

} // namespace

TEST_F(ScrollViewTest, BarsAppearOnlyForContentLargerThanTheWindow)
{
    SScrollView* view = MakeView(L"150,80");
    EXPECT_FALSE(view->IsScrollBarShown(TRUE));
    EXPECT_FALSE(view->IsScrollBarShown(FALSE));
    EXPECT_EQ(0, view->ViewOrigin().y);

    view->ResizeView(150, 300);
    EXPECT_TRUE(view->IsScrollBarShown(TRUE));
    EXPECT_FALSE(view->IsScrollBarShown(FALSE));
    EXPECT_EQ(299, view->ScrollInfoOf(TRUE).nMax);
    EXPECT_EQ(100u, view->ScrollInfoOf(TRUE).nPage);

    // Short by less than the bar's width once the vertical bar takes its place: both bars.
    view->ResizeView(190, 300);
    EXPECT_TRUE(view->IsScrollBarShown(TRUE));
    EXPECT_TRUE(view->IsScrollBarShown(FALSE));
    EXPECT_EQ(84u, view->ScrollInfoOf(TRUE).nPage);
    EXPECT_EQ(184u, view->ScrollInfoOf(FALSE).nPage);
    ASSERT_FALSE(m_events.events.empty());
    EXPECT_EQ(EventScrollViewSizeChanged::EventID, m_events.events.back().id);
    EXPECT_EQ(190, m_events.events.back().a);
}

TEST_F(ScrollViewTest, ScrollingMovesTheOriginAndTheChildren)
{
    SScrollView* view = MakeView(L"150,300");
    SWindow* child = Find<SWindow>(L"c");
    EXPECT_EQ(10, child->GetWindowRect().top);
    m_events.events.clear();
    EXPECT_TRUE(view->OnScroll(TRUE, SB_PAGEDOWN, 0));
    EXPECT_EQ(100, view->ViewOrigin().y);
    EXPECT_EQ(-90, child->GetWindowRect().top);
    ASSERT_EQ(2u, m_events.events.size());
    EXPECT_EQ(EventScrollViewOriginChanged::EventID, m_events.events[0].id);
    EXPECT_EQ(100, m_events.events[0].b);
    EXPECT_EQ(EventScroll::EventID, m_events.events[1].id);
    EXPECT_EQ(SB_PAGEDOWN, m_events.events[1].a);
    EXPECT_EQ(100, m_events.events[1].b);
    EXPECT_EQ(1, m_events.events[1].c);

    // Dragging the thumb: track steps, then the final position; the origin follows.
    m_events.events.clear();
    view->OnScroll(TRUE, SB_TOP, 0);
    RECT thumb = SScrollBarGeometry(view->ScrollInfoOf(TRUE), view->BarRect(TRUE), true, view->ArrowSize())
                     .PartRect(SB_THUMBTRACK);
    int x = 190, y = thumb.top + 2;
    view->SendUiMessage(WM_NCLBUTTONDOWN, HTVSCROLL, At(x, y));
    view->SendUiMessage(WM_NCMOUSEMOVE, HTVSCROLL, At(x, y + 10));
    view->SendUiMessage(WM_NCMOUSEMOVE, HTVSCROLL, At(x, y + 1000));
    view->SendUiMessage(WM_NCLBUTTONUP, HTVSCROLL, At(x, y + 1000));
    EXPECT_EQ(200, view->ScrollPosOf(TRUE));
    EXPECT_EQ(200, view->ViewOrigin().y);
    EXPECT_EQ(-1, view->ScrollInfoOf(TRUE).nTrackPos);
    std::vector<int> codes;
    for (const EventRecord& e : m_events.events) {
        if (e.id == EventScroll::EventID)
            codes.push_back(e.a);
    }
    // top, two track steps; the end position equals the last track step, so no move.
    EXPECT_EQ((std::vector<int>{SB_TOP, SB_THUMBTRACK, SB_THUMBTRACK}), codes);
}

TEST_F(ScrollViewTest, ViewSizeNeedsTwoParts)
{
    SScrollView* view = MakeView(L"150,80");
    EXPECT_EQ(E_INVALIDARG, view->ApplyAttribute(SStringW(L"viewSize"), SStringW(L"80"), FALSE));
    EXPECT_EQ(E_INVALIDARG, view->ApplyAttribute(SStringW(L"viewSize"), SStringW(L"1,2,3"), FALSE));
    EXPECT_EQ(S_FALSE, view->ApplyAttribute(SStringW(L"viewSize"), SStringW(L"150,250"), FALSE));
    EXPECT_EQ(250, view->ViewSize().cy);  // applied at once
    EXPECT_TRUE(view->IsScrollBarShown(TRUE));
}

TEST_F(ScrollViewTest, InitialOriginIsKeptWithinTheView)
{
    BuildFromXml(L"<window><scrollview name='v' pos='0,0,@200,@100' viewSize='150,300' origin-y='50'>"
                 L"<window name='c' pos='10,10,@20,@20'/></scrollview>"
                 L"<scrollview name='w' pos='0,0,@200,@100' viewSize='150,300' origin-y='5000'><window/></scrollview></window>");
    SScrollView* view = Find<SScrollView>(L"v");
    EXPECT_EQ(50, view->ViewOrigin().y);
    EXPECT_EQ(50, view->ScrollPosOf(TRUE));
    EXPECT_EQ(-40, Find<SWindow>(L"c")->GetWindowRect().top);
    EXPECT_EQ(200, Find<SScrollView>(L"w")->ViewOrigin().y);
}
