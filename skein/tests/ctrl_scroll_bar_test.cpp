// The stand-alone scroll bar and the slider: their events, value mapping and clamping.
#include "control/SScrollBar.h"
#include "control/SScrollBarGeometry.h"
#include "control/SSliderBar.h"
#include "ctrl_scroll_test_env.h"

using namespace ctrltest;

namespace {

class ScrollBarTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        m_skin = InstallSkin(L"_skin.sys.scrollbar", new RecordingScrollSkin(16));
    }
    // A horizontal bar of 200 x 16 with range 0..99, page 10.
    SScrollBar* MakeBar(const wchar_t* extra = L"")
    {
        std::wstring xml = L"<window><scrollbar name='sb' pos='0,0,@200,@16' vertical='0' max='99' page='10' ";
        xml += extra;
        xml += L"/></window>";
        BuildFromXml(xml.c_str());
        SScrollBar* bar = Find<SScrollBar>(L"sb");
        m_events.Watch(bar, {EventScroll::EventID});
        return bar;
    }
    std::vector<int> Codes() const
    {
        std::vector<int> codes;
        for (const EventRecord& e : m_events.events)
            codes.push_back(e.a);
        return codes;
    }
    RecordingScrollSkin* m_skin = nullptr;
    EventRecorder m_events;
};

} // namespace

TEST_F(ScrollBarTest, ArrowSizeComesFromTheSkinUnlessGiven)
{
    EXPECT_EQ(16, MakeBar()->ArrowSize());
    SScrollBar* bar = new SScrollBar;
    pugi::xml_document document;
    document.load_string(L"<scrollbar arrowSize='12'/>");
    m_root->LinkChild(bar);
    bar->LoadFromXml(document.first_child());
    EXPECT_EQ(12, bar->ArrowSize());
}

TEST_F(ScrollBarTest, ClickOnArrowOrRailFiresOnceWithoutMoving)
{
    SScrollBar* bar = MakeBar(L"value='40'");
    bar->SendUiMessage(WM_LBUTTONDOWN, 0, At(5, 8));
    EXPECT_EQ(bar->GetHandle(), m_container.capture);
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 16);
    EXPECT_EQ(Px(StateColor(SSkinScrollbar::MakeState(SB_LINEUP, 2, FALSE))), rt->GetPixel(5, 8));
    bar->SendUiMessage(WM_LBUTTONUP, 0, At(5, 8));
    bar->SendUiMessage(WM_LBUTTONDOWN, 0, At(190, 8));
    bar->SendUiMessage(WM_LBUTTONUP, 0, At(190, 8));
    bar->SendUiMessage(WM_LBUTTONDOWN, 0, At(20, 8));  // the rail before the thumb
    bar->SendUiMessage(WM_LBUTTONUP, 0, At(20, 8));
    EXPECT_EQ((std::vector<int>{SB_LINEUP, SB_LINEDOWN, SB_PAGEUP}), Codes());
    for (const EventRecord& e : m_events.events)
        EXPECT_EQ(40, e.b);
    EXPECT_EQ(40, bar->ScrollInfo().nPos);
    EXPECT_EQ(0u, m_container.capture);
    rt = m_container.Render(200, 16);
    EXPECT_EQ(Px(StateColor(SSkinScrollbar::MakeState(SB_LINEUP, 0, FALSE))), rt->GetPixel(5, 8));
}

TEST_F(ScrollBarTest, ThumbDragFiresTrackStepsThenTheEndPosition)
{
    SScrollBar* bar = MakeBar();
    bar->SendUiMessage(WM_LBUTTONDOWN, 0, At(20, 8));  // on the thumb at 16..34
    EXPECT_TRUE(m_events.events.empty());
    EXPECT_EQ(0, bar->ScrollInfo().nTrackPos);
    bar->SendUiMessage(WM_MOUSEMOVE, 0, At(95, 8));   // 75 px of 150: half the travel
    bar->SendUiMessage(WM_MOUSEMOVE, 0, At(95, 12));  // no change along the bar: no event
    bar->SendUiMessage(WM_MOUSEMOVE, 0, At(900, 8));
    EXPECT_EQ(0, bar->ScrollInfo().nPos);  // the position waits for the release
    bar->SendUiMessage(WM_LBUTTONUP, 0, At(900, 8));
    EXPECT_EQ((std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION}), Codes());
    EXPECT_EQ(45, m_events.events[0].b);
    EXPECT_EQ(90, m_events.events[1].b);
    EXPECT_EQ(90, bar->ScrollInfo().nPos);
    EXPECT_EQ(-1, bar->ScrollInfo().nTrackPos);
}

TEST_F(ScrollBarTest, SetScrollInfoClampsAndGetScrollInfoRoundTrips)
{
    SScrollBar* bar = MakeBar();
    struct Case {
        int nMin, nMax;
        UINT page;
        int pos, expected;
    } cases[] = {
        {0, 99, 10, 95, 90},
        {0, 99, 10, -5, 0},
        {0, 99, 0, 150, 99},  // no page: the last position is nMax
        {20, 50, 5, 0, 20},
    };
    for (const Case& c : cases) {
        SCROLLINFO set{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, c.nMin, c.nMax, c.page, c.pos, 0};
        EXPECT_EQ(1, bar->SendUiMessage(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&set)));
        SCROLLINFO got{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        EXPECT_EQ(1, bar->SendUiMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&got)));
        EXPECT_EQ(c.expected, got.nPos);
        EXPECT_EQ(c.nMin, got.nMin);
        EXPECT_EQ(c.nMax, got.nMax);
        EXPECT_EQ(c.page, got.nPage);
        EXPECT_EQ(-1, got.nTrackPos);
    }
}

TEST_F(ScrollBarTest, InvertedRangeHasNoPartsAndIgnoresClicks)
{
    SScrollBar* bar = MakeBar(L"min='10' max='5'");
    m_skin->draws.clear();
    m_container.Render(200, 16);
    EXPECT_TRUE(m_skin->draws.empty());
    bar->SendUiMessage(WM_LBUTTONDOWN, 0, At(5, 8));
    bar->SendUiMessage(WM_LBUTTONUP, 0, At(5, 8));
    EXPECT_TRUE(m_events.events.empty());
}

namespace {

// Slider skins: background 10 high, position 10 high, thumb 25 x 20.
class SliderTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        InstallSkin(L"_skin.sys.prog.bkgnd", new RecordingPlainSkin(SIZE{10, 10}, 1));
        InstallSkin(L"_skin.sys.vert.prog.bkgnd", new RecordingPlainSkin(SIZE{10, 10}, 1));
        m_pos = InstallSkin(L"_skin.sys.prog.bar", new RecordingPlainSkin(SIZE{10, 10}, 1));
        InstallSkin(L"_skin.sys.vert.prog.bar", new RecordingPlainSkin(SIZE{10, 10}, 1));
        m_thumb = InstallSkin(L"_skin.sys.slider.thumb", new RecordingPlainSkin(SIZE{25, 20}, 3));
    }
    // A slider 0..100 of 200 x 20: the rail runs 175 px from x = 12.
    SSliderBar* MakeSlider(const wchar_t* extra = L"", const wchar_t* pos = L"0,0,@200,@20")
    {
        std::wstring xml = L"<window><sliderbar name='s' min='0' max='100' pos='";
        xml += pos;
        xml += L"' ";
        xml += extra;
        xml += L"/></window>";
        BuildFromXml(xml.c_str());
        SSliderBar* slider = Find<SSliderBar>(L"s");
        m_events.Watch(slider, {EventSliderPos::EventID});
        return slider;
    }
    std::vector<int> Values() const
    {
        std::vector<int> values;
        for (const EventRecord& e : m_events.events)
            values.push_back(e.a);
        return values;
    }
    RecordingPlainSkin* m_pos = nullptr;
    RecordingPlainSkin* m_thumb = nullptr;
    EventRecorder m_events;
};

} // namespace

TEST_F(SliderTest, PartsSitOnTheRailAndAcrossTheCentre)
{
    SSliderBar* slider = MakeSlider(L"value='40'");
    RECT thumb = slider->PartRect(SSliderBar::kPartThumb);
    EXPECT_EQ(70, thumb.left);  // 175 * 40 / 100
    EXPECT_EQ(95, thumb.right);
    EXPECT_EQ(0, thumb.top);
    RECT rail = slider->PartRect(SSliderBar::kPartRail);
    EXPECT_EQ(12, rail.left);
    EXPECT_EQ(188, rail.right);
    EXPECT_EQ(5, rail.top);  // the 10 px background centred in 20
    RECT pos = slider->PartRect(SSliderBar::kPartPosition);
    EXPECT_EQ(12, pos.left);
    EXPECT_EQ(82, pos.right);
    EXPECT_EQ(SSliderBar::kPartThumb, slider->HitTest(POINT{80, 2}));
    EXPECT_EQ(SSliderBar::kPartPosition, slider->HitTest(POINT{30, 10}));
    EXPECT_EQ(SSliderBar::kPartRail, slider->HitTest(POINT{150, 10}));
    EXPECT_EQ(-1, slider->HitTest(POINT{150, 2}));

    EXPECT_TRUE(SUCCEEDED(slider->ApplyAttribute(SStringW(L"thumbInRail"), SStringW(L"1"), FALSE)));
    EXPECT_EQ(0, slider->PartRect(SSliderBar::kPartPosition).left);
    EXPECT_EQ(0, slider->PartRect(SSliderBar::kPartBackground).left);
    EXPECT_EQ(200, slider->PartRect(SSliderBar::kPartBackground).right);
}

TEST_F(SliderTest, ValueAtMinimumDrawsNoPosition)
{
    MakeSlider(L"value='0'");
    m_pos->draws.clear();
    m_container.Render(200, 20);
    EXPECT_TRUE(m_pos->draws.empty());
    ASSERT_EQ(1u, m_thumb->draws.size());
    EXPECT_EQ(0, m_thumb->draws[0].state);
}

TEST_F(SliderTest, ClicksMapTheRailOntoTheRangeAndClamp)
{
    SSliderBar* slider = MakeSlider(L"value='50'");
    slider->SendUiMessage(WM_LBUTTONDOWN, 0, At(12, 10));  // the rail's start
    slider->SendUiMessage(WM_LBUTTONUP, 0, At(12, 10));
    EXPECT_EQ(0, slider->CurrentValue());
    slider->SendUiMessage(WM_LBUTTONDOWN, 0, At(187, 10));  // 175 px on: 101, clamped
    slider->SendUiMessage(WM_LBUTTONUP, 0, At(187, 10));
    EXPECT_EQ(100, slider->CurrentValue());
    EXPECT_EQ((std::vector<int>{0, 100}), Values());
}

TEST_F(SliderTest, DraggingTheThumbFiresEachChangeAndClamps)
{
    SSliderBar* slider = MakeSlider(L"value='20'");
    int x = slider->PartRect(SSliderBar::kPartThumb).left + 5;
    slider->SendUiMessage(WM_LBUTTONDOWN, 0, At(x, 10));
    EXPECT_EQ(slider->GetHandle(), m_container.capture);
    m_container.Render(200, 20);
    EXPECT_EQ(2, m_thumb->draws.back().state);
    slider->SendUiMessage(WM_MOUSEMOVE, 0, At(x + 35, 10));   // 101 * 35 / 175 = 20
    slider->SendUiMessage(WM_MOUSEMOVE, 0, At(x + 35, 15));   // unchanged: no event
    slider->SendUiMessage(WM_MOUSEMOVE, 0, At(x + 175, 10));  // one rail length: clamped
    slider->SendUiMessage(WM_LBUTTONUP, 0, At(x + 175, 10));
    EXPECT_EQ((std::vector<int>{40, 100}), Values());
    EXPECT_EQ(0u, m_container.capture);
}

TEST_F(SliderTest, EmptyRangeNeverDivides)
{
    SSliderBar* slider = MakeSlider(L"min='30' max='30' value='30'");
    EXPECT_EQ(0, slider->PartRect(SSliderBar::kPartThumb).left);
    slider->SendUiMessage(WM_LBUTTONDOWN, 0, At(150, 10));
    slider->SendUiMessage(WM_MOUSEMOVE, 0, At(10, 10));
    slider->SendUiMessage(WM_LBUTTONUP, 0, At(10, 10));
    EXPECT_EQ(30, slider->CurrentValue());
    // A slider no longer than its thumb has an empty rail: a click off the thumb (past its
    // end, as under capture) sets the minimum.
    m_root->DestroyChild(slider);
    SSliderBar* narrow = MakeSlider(L"value='50'", L"0,0,@25,@20");
    narrow->SendUiMessage(WM_LBUTTONDOWN, 0, At(30, 10));
    narrow->SendUiMessage(WM_MOUSEMOVE, 0, At(60, 10));
    narrow->SendUiMessage(WM_LBUTTONUP, 0, At(60, 10));
    EXPECT_EQ(0, narrow->CurrentValue());
}

TEST_F(SliderTest, ValueOutsideTheRangeKeepsTheThumbInside)
{
    SSliderBar* slider = MakeSlider(L"value='500'");
    EXPECT_EQ(200, slider->PartRect(SSliderBar::kPartThumb).right);
    m_root->DestroyChild(slider);
    slider = MakeSlider(L"value='-50'");
    EXPECT_EQ(0, slider->PartRect(SSliderBar::kPartThumb).left);
}
