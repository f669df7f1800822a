// Scrolling and dragging controls in a real host: wheel messages reach the scroll view under the
// mouse, the hover follows the moved content and unused notches go to the parent view; a held
// bar arrow repeats on the host's own timers; slider drags and rail clicks, down to the widest
// ranges; the tab slide runs on the host's timeline.
#include <climits>
#include "control/SPanel.h"
#include "control/SScrollView.h"
#include "control/SSliderBar.h"
#include "control/STabCtrl.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using ctrltest::EventRecord;
using ctrltest::EventRecorder;

// A column of count 20-pixel buttons "b0", "b1" ... inside a view.
std::string ButtonColumn(int count, int width)
{
    std::string column;
    for (int i = 0; i < count; ++i) {
        column += "<button name='b" + std::to_string(i) + "' pos='0," + std::to_string(20 * i) + ",@"
                  + std::to_string(width) + ",@20'/>";
    }
    return column;
}

std::vector<int> Values(const std::vector<EventRecord>& events, int id, int EventRecord::*field)
{
    std::vector<int> values;
    for (const EventRecord& record : events) {
        if (record.id == id)
            values.push_back(record.*field);
    }
    return values;
}

class HostScrollTest : public HostCtrlTest {
protected:
    // A slider "s" of 216 x 20 pixels at (10, 10) (a rail of 200 pixels) with the attributes given.
    HostDriver OpenSlider(const std::string& attributes)
    {
        return Open("<SKEIN width='300' height='40'><root colorBkgnd='#ffffff'>"
                    "<sliderbar name='s' pos='10,10,@216,@20' " + attributes + "/></root></SKEIN>");
    }
};

TEST_F(HostScrollTest, WheelScrollsTheViewUnderTheMouseAndTheHoverFollowsTheContent)
{
    const std::string layout = "<SKEIN width='200' height='100' sendWheel2Hover='1'><root colorBkgnd='#ffffff'>"
                               "<scrollview name='view' pos='0,0,@200,@100' viewSize='184,400' scrollSpeed='20'>"
                               + ButtonColumn(20, 184) + "</scrollview></root></SKEIN>";
    const POINT pointer = {50, 30};
    HostDriver driver = OpenUnderPointer(layout, pointer);
    SScrollView* view = driver.Find<SScrollView>(L"view");
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(view->IsScrollBarShown(TRUE));
    EventRecorder recorder;
    recorder.Watch(view, {EventScroll::EventID});
    driver.Move(pointer);
    EXPECT_TRUE(driver.Child(L"b1")->GetStateFlags() & kStateHover);

    driver.Wheel(pointer, -WHEEL_DELTA); // over a button: it passes the wheel to its view
    EXPECT_EQ(20, view->ScrollPosOf(TRUE));
    EXPECT_EQ(20, driver.RectOf(L"b2").top);
    // The host was told the mouse moved: the button now under it is hovered, the old one not.
    EXPECT_TRUE(driver.Child(L"b2")->GetStateFlags() & kStateHover);
    EXPECT_FALSE(driver.Child(L"b1")->GetStateFlags() & kStateHover);

    driver.Wheel(pointer, -60); // half a notch is kept for the next turn
    EXPECT_EQ(20, view->ScrollPosOf(TRUE));
    driver.Wheel(pointer, -60);
    EXPECT_EQ(40, view->ScrollPosOf(TRUE));
    driver.Wheel(pointer, 3 * WHEEL_DELTA); // past the top: stops at 0
    EXPECT_EQ(0, view->ScrollPosOf(TRUE));
    EXPECT_EQ((std::vector<int>{20, 40, 20, 0}), Values(recorder.events, EventScroll::EventID, &EventRecord::b));
    EXPECT_TRUE(driver.Child(L"b1")->GetStateFlags() & kStateHover);
}

TEST_F(HostScrollTest, NotchesTheInnerViewCannotUseScrollTheParentPanel)
{
    const std::string layout = "<SKEIN width='200' height='100' sendWheel2Hover='1'><root>"
                               "<div name='outer' pos='0,0,@200,@100' scrollSpeed='20'>"
                               "<scrollview name='inner' pos='0,0,@150,@60' viewSize='134,120' scrollSpeed='20'>"
                               + ButtonColumn(6, 134) + "</scrollview></div></root></SKEIN>";
    HostDriver driver = Open(layout);
    SPanel* outer = driver.Find<SPanel>(L"outer");
    SScrollView* inner = driver.Find<SScrollView>(L"inner");
    ASSERT_TRUE(outer && inner);
    outer->SetScrollRangeOf(TRUE, 0, 99, FALSE);
    const_cast<SCROLLINFO&>(outer->ScrollInfoOf(TRUE)).nPage = 50;
    outer->SetScrollBarShown(kPanelBarVert, TRUE);
    POINT over = {60, 30};
    driver.Move(over);

    driver.Wheel(over, -5 * WHEEL_DELTA); // the inner view moves 3 lines to its end, the panel 2
    EXPECT_EQ(60, inner->ScrollPosOf(TRUE));
    EXPECT_EQ(40, outer->ScrollPosOf(TRUE));
    driver.Wheel(over, -2 * WHEEL_DELTA); // the panel stops at its last position, 50
    EXPECT_EQ(50, outer->ScrollPosOf(TRUE));
}

// Down arrow of a 200 x 100 view over 300 pixels, 40 a line: the travel of 200 takes 5 steps.
const char kArrowLayout[] = "<SKEIN width='200' height='100'><root colorBkgnd='#ffffff'>"
                            "<scrollview name='view' pos='0,0,@200,@100' viewSize='184,300' scrollSpeed='40'>"
                            "<window name='content' pos='0,0,@184,@300'/></scrollview>"
                            "</root></SKEIN>";

TEST_F(HostScrollTest, HeldArrowRepeatsOnTheHostTimersAfterHalfASecondAndStopsAtTheEnd)
{
    // The mouse pointer really is on the arrow: mouse messages of the system while the pump runs
    // must not take the mouse off it.
    const POINT arrow = {192, 92};
    HostDriver driver = OpenUnderPointer(kArrowLayout, arrow);
    SScrollView* view = driver.Find<SScrollView>(L"view");
    ASSERT_NE(nullptr, view);
    EventRecorder recorder;
    recorder.Watch(view, {EventScroll::EventID});
    Shot idle = driver.Capture();

    driver.Press(arrow);
    ASSERT_EQ(1u, recorder.events.size()); // once at once
    EXPECT_EQ(40, view->ScrollPosOf(TRUE));
    EXPECT_NE(idle.At(arrow), driver.Capture().At(arrow)); // drawn pushed
    driver.PumpFor(300);
    EXPECT_EQ(1u, recorder.events.size()); // the first repeat waits 500 ms
    ASSERT_TRUE(driver.PumpUntil([&] { return recorder.events.size() >= 5; }, 3000));
    driver.PumpFor(250); // at the end: no further steps while still held
    driver.Release(arrow);
    driver.PumpFor(100);

    std::vector<EventRecord>& events = recorder.events;
    EXPECT_EQ((std::vector<int>{40, 80, 120, 160, 200}), Values(events, EventScroll::EventID, &EventRecord::b));
    ASSERT_EQ(5u, events.size());
    DWORD delay = events[1].tick - events[0].tick;
    EXPECT_GE(delay, 450u);
    for (size_t i = 2; i < events.size(); ++i) {
        DWORD gap = events[i].tick - events[i - 1].tick;
        EXPECT_GE(gap, 30u) << i;
        EXPECT_LT(gap, delay) << i; // the repeat runs faster than the first delay
    }
    EXPECT_EQ(200, view->ScrollPosOf(TRUE));
}

TEST_F(HostScrollTest, ThumbDraggedThroughTheHostMovesTheView)
{
    // A rail of 68 pixels with a 22-pixel thumb: 46 pixels for the 200 positions of travel.
    HostDriver driver = Open(kArrowLayout);
    SScrollView* view = driver.Find<SScrollView>(L"view");
    ASSERT_NE(nullptr, view);
    EventRecorder recorder;
    recorder.Watch(view, {EventScroll::EventID});
    const POINT thumb = {192, 27};

    driver.Press(thumb);
    EXPECT_TRUE(recorder.events.empty());
    driver.Drag(POINT{100, 27 + 23}); // over the content: still the bar's drag
    EXPECT_EQ(100, view->ScrollPosOf(TRUE));
    EXPECT_EQ(-100, driver.Child(L"content")->GetWindowRect().top);
    driver.Drag(POINT{250, 27 + 200}); // out of the host: the end of the travel
    driver.Release(POINT{250, 27 + 200});
    EXPECT_EQ(200, view->ScrollPosOf(TRUE));
    EXPECT_EQ(-200, driver.Child(L"content")->GetWindowRect().top);
    EXPECT_EQ(0u, driver.Host().GetCapture());
    // The end of the drag moves nothing more, so the view reports nothing more.
    EXPECT_EQ((std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK}), Values(recorder.events, EventScroll::EventID, &EventRecord::a));
    EXPECT_EQ((std::vector<int>{100, 200}), Values(recorder.events, EventScroll::EventID, &EventRecord::b));
}

TEST_F(HostScrollTest, SliderFollowsADragOfItsThumbAndJumpsToARailClick)
{
    // 216 pixels with a 16-pixel thumb: a rail of 200 pixels for 0..100.
    HostDriver driver = OpenSlider("min='0' max='100' value='0'");
    SSliderBar* slider = driver.Find<SSliderBar>(L"s");
    ASSERT_NE(nullptr, slider);
    EventRecorder recorder;
    recorder.Watch(slider, {EventSliderPos::EventID});
    RECT thumb = slider->PartRect(SSliderBar::kPartThumb);
    ASSERT_EQ(16, thumb.right - thumb.left);
    POINT grip = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    Shot before = driver.Capture();

    driver.Press(grip);
    EXPECT_EQ(slider->GetHandle(), driver.Host().GetCapture());
    EXPECT_TRUE(recorder.events.empty()); // grabbing the thumb changes nothing
    for (int dx : {100, 100, 250, -50, 40})
        driver.Drag(POINT{grip.x + dx, grip.y + 30}); // the drag follows the mouse off the slider
    driver.Release(POINT{grip.x + 40, grip.y + 30});
    EXPECT_EQ((std::vector<int>{50, 100, 0, 20}), Values(recorder.events, EventSliderPos::EventID, &EventRecord::a));
    EXPECT_EQ(20, slider->CurrentValue());
    EXPECT_EQ(0u, driver.Host().GetCapture());
    // The thumb is drawn where the value puts it: 40 pixels further along.
    RECT moved = slider->PartRect(SSliderBar::kPartThumb);
    EXPECT_EQ(thumb.left + 40, moved.left);
    Shot after = driver.Capture();
    EXPECT_EQ(before.At(grip), after.At(POINT{grip.x + 40, grip.y}));
    EXPECT_NE(before.At(grip), after.At(grip));

    recorder.events.clear();
    driver.Click(POINT{slider->GetWindowRect().left + 8 + 150, grip.y}); // 150 pixels along the rail
    EXPECT_EQ((std::vector<int>{75}), Values(recorder.events, EventSliderPos::EventID, &EventRecord::a));
}

TEST_F(HostScrollTest, SliderDragsAndClicksOverTheWidestRangesKeepTheirArithmetic)
{
    // A rail of 200 pixels: a drag by one rail length adds max - min + 1, clamped to max.
    const int kMin = INT_MIN, kMax = INT_MAX;
    struct Case {
        int min, max, start;
        int dx; // drag of the thumb
        int expected;
    } cases[] = {
        {0, kMax, 0, 200, kMax},
        {0, kMax, 0, 100, 1 << 30},
        {0, kMax, kMax, -100, (1 << 30) - 1},
        {kMin, kMax, kMin, 100, 0},
        {kMin, kMax, kMin, 200, kMax},
        {kMin, kMax, 0, 50, 1 << 30},
        {kMin, kMax, 0, -150, kMin},
        {kMin, 0, kMin, 50, kMin + (1 << 29)},
        {kMin, 0, kMin, 250, 0},
        {0, 100, 0, 200, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " from " << c.start << " by " << c.dx);
        HostDriver driver = OpenSlider("min='" + std::to_string(c.min) + "' max='" + std::to_string(c.max) + "' value='"
                                       + std::to_string(c.start) + "'");
        SSliderBar* slider = driver.Find<SSliderBar>(L"s");
        ASSERT_NE(nullptr, slider);
        ASSERT_EQ(c.start, slider->CurrentValue());
        EventRecorder recorder;
        recorder.Watch(slider, {EventSliderPos::EventID});
        RECT thumb = slider->PartRect(SSliderBar::kPartThumb);
        POINT grip = {(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
        driver.Press(grip);
        driver.Drag(POINT{grip.x + c.dx, grip.y});
        driver.Release(POINT{grip.x + c.dx, grip.y});
        EXPECT_EQ(c.expected, slider->CurrentValue());
        EXPECT_EQ((std::vector<int>{c.expected}), Values(recorder.events, EventSliderPos::EventID, &EventRecord::a));
        m_host->DestroyHost();
    }
}

TEST_F(HostScrollTest, SliderRailClicksOverTheWidestRange)
{
    HostDriver driver = OpenSlider("min='-2147483648' max='2147483647'");
    SSliderBar* slider = driver.Find<SSliderBar>(L"s");
    ASSERT_NE(nullptr, slider);
    const int y = (slider->GetWindowRect().top + slider->GetWindowRect().bottom) / 2;
    const int rail = slider->GetWindowRect().left + 8; // the rail starts half a thumb in
    struct Case {
        int along;
        int expected;
    } cases[] = {{150, 1 << 30}, {50, INT_MIN + (1 << 30)}, {199, 2126008811}, {100, 0}};
    for (const Case& c : cases) {
        driver.Click(POINT{rail + c.along, y});
        EXPECT_EQ(c.expected, slider->CurrentValue()) << c.along;
    }
}

// Two coloured pages under a top strip of headers; the slide takes ten steps.
const char kTabLayout[] = "<SKEIN width='200' height='130'><root colorBkgnd='#ffffff'>"
                          "<tabctrl name='tab' pos='0,0,@200,@130' animateSteps='10'>"
                          "<page title='Red' colorBkgnd='#ff0000'/>"
                          "<page title='Blue' colorBkgnd='#0000ff'/>"
                          "</tabctrl></root></SKEIN>";

TEST_F(HostScrollTest, TabSlideStepsOnTheHostTimelineAndEndsWithTheNewPage)
{
    HostDriver driver = Open(kTabLayout);
    STabCtrl* tab = driver.Find<STabCtrl>(L"tab");
    ASSERT_NE(nullptr, tab);
    RECT header = {};
    ASSERT_TRUE(tab->GetItemRect(1, &header));
    RECT area = {};
    tab->GetChildAreaRect(&area);
    const int y = (area.top + area.bottom) / 2;
    const int quarter = (area.right - area.left) / 4;
    const UINT32 red = Px(RGB(255, 0, 0)), blue = Px(RGB(0, 0, 255));
    EXPECT_EQ(red, driver.Capture().At(area.left + 3 * quarter, y));
    EXPECT_FALSE(driver.TimelineRunning());

    driver.Click(POINT{(header.left + header.right) / 2, (header.top + header.bottom) / 2});
    EXPECT_EQ(1, tab->CurSel());
    EXPECT_EQ(1, driver.Host().Count(EventTabSelChanged::EventID, L"tab"));
    ASSERT_NE(nullptr, tab->Slider());
    EXPECT_TRUE(driver.TimelineRunning());

    driver.Tick(5); // half way: the old page's right half, then the new page's left half
    Shot half = driver.Capture();
    EXPECT_EQ(red, half.At(area.left + quarter, y));
    EXPECT_EQ(blue, half.At(area.left + 3 * quarter, y));
    driver.Tick(5);
    EXPECT_NE(nullptr, tab->Slider());
    driver.Tick(); // the eleventh tick ends the slide
    EXPECT_EQ(nullptr, tab->Slider());
    Shot done = driver.Capture();
    EXPECT_EQ(blue, done.At(area.left + quarter, y));
    EXPECT_EQ(blue, done.At(area.left + 3 * quarter, y));
    EXPECT_FALSE(driver.TimelineRunning());

    // Back to the first page with nothing but the host's own timer driving the slide.
    ASSERT_TRUE(tab->GetItemRect(0, &header));
    driver.Click(POINT{(header.left + header.right) / 2, (header.top + header.bottom) / 2});
    ASSERT_NE(nullptr, tab->Slider());
    EXPECT_TRUE(driver.PumpUntil([&] { return tab->Slider() == nullptr; }, 2000));
    EXPECT_EQ(red, driver.Capture().At(area.left + quarter, y));
    EXPECT_FALSE(driver.TimelineRunning());
}

} // namespace
} // namespace hosttest
