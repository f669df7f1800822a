// The tab control: loading, headers, selection by code, keys and mouse, cancelling, inserting
// pages, and the slide between two pages ticked by hand.
#include "control/STabCtrl.h"
#include <algorithm>
#include "ctrl_scroll_test_env.h"

using namespace ctrltest;

namespace {

const COLORREF kRed = 0x0000FF;
const COLORREF kGreen = 0x00FF00;
const COLORREF kBlue = 0xFF0000;

class TabTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        m_tabSkin = InstallSkin(L"_skin.sys.tab.page", new RecordingPlainSkin(SIZE{60, 20}, 3));
    }
    // A 200 x 100 tab control with three coloured pages; headers 60 x 20 from the skin.
    STabCtrl* MakeTabs(const wchar_t* extra = L"")
    {
        std::wstring xml = L"<window><tabctrl name='t' pos='0,0,@200,@100' ";
        xml += extra;
        xml += L"><page title='A' colorBkgnd='#ff0000'/><page title='B' colorBkgnd='#00ff00'/>"
               L"<page title='C' colorBkgnd='#0000ff' tip='third'/></tabctrl></window>";
        BuildFromXml(xml.c_str());
        STabCtrl* tabs = Find<STabCtrl>(L"t");
        m_events.Watch(tabs, {EventTabSelChanging::EventID, EventTabSelChanged::EventID,
                              EventTabItemHover::EventID, EventTabItemLeave::EventID});
        return tabs;
    }
    // Which pages are visible, as a string of 0 and 1.
    static std::string Shown(STabCtrl* tabs)
    {
        std::string shown;
        for (int i = 0; i < tabs->PageCount(); ++i)
            shown += tabs->PageAt(i)->TestVisible(TRUE) ? '1' : '0';
        return shown;
    }
    std::vector<int> Ids() const
    {
        std::vector<int> ids;
        for (const EventRecord& e : m_events.events)
            ids.push_back(e.id);
        return ids;
    }
    RecordingPlainSkin* m_tabSkin = nullptr;
    EventRecorder m_events;
};

} // namespace

TEST_F(TabTest, LoadingSelectsAValidPageAndSizesHeadersFromTheSkin)
{
    STabCtrl* tabs = MakeTabs(L"curSel='7'");
    EXPECT_EQ(0, tabs->CurSel());
    EXPECT_EQ("100", Shown(tabs));
    RECT item;
    ASSERT_TRUE(tabs->GetItemRect(1, &item));
    EXPECT_EQ(60, item.left);
    EXPECT_EQ(120, item.right);
    EXPECT_EQ(20, item.bottom);
    EXPECT_FALSE(tabs->GetItemRect(3, &item));
    EXPECT_EQ(20, tabs->PageAt(0)->GetWindowRect().top);
    EXPECT_EQ(100, tabs->PageAt(0)->GetWindowRect().bottom);
    EXPECT_EQ(1, tabs->HitTest(POINT{70, 10}));
    EXPECT_EQ(-1, tabs->HitTest(POINT{190, 10}));
    EXPECT_EQ(-1, tabs->HitTest(POINT{70, 30}));
    EXPECT_EQ(nullptr, tabs->PageAt(3));

    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    EXPECT_EQ(Px(StateColor(2)), rt->GetPixel(5, 5));    // the selected header
    EXPECT_EQ(Px(StateColor(0)), rt->GetPixel(65, 5));
    EXPECT_EQ(Px(kRed), rt->GetPixel(100, 60));          // the selected page
}

TEST_F(TabTest, AttributeGrammar)
{
    STabCtrl* tabs = MakeTabs();
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        HRESULT expected;
    } cases[] = {
        {L"tabSize", L"80", E_INVALIDARG}, {L"tabSize", L"80,30,2", E_INVALIDARG}, {L"tabSize", L"80,30", S_OK},
        {L"tabAlign", L"middle", E_FAIL},  {L"tabAlign", L"Left", E_FAIL},         {L"textDir", L"diagonal", E_FAIL},
        {L"textDir", L"vert", S_OK},       {L"interpolator", L"NoSuchCurve", E_FAIL},
        {L"tabAlign", L"left", S_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        EXPECT_EQ(c.expected, tabs->ApplyAttribute(SStringW(c.name), SStringW(c.value), FALSE));
    }
    // Left strip with 80 x 30 headers: stacked downwards, pages to their right.
    EXPECT_TRUE(tabs->IsVerticalStrip());
    RECT item;
    tabs->GetItemRect(1, &item);
    EXPECT_EQ((RECT{0, 30, 80, 60}.top), item.top);
    EXPECT_EQ(80, item.right);
    RECT area;
    tabs->GetChildAreaRect(&area);
    EXPECT_EQ(80, area.left);
    EXPECT_EQ(0, area.top);
}

TEST_F(TabTest, NoHeaderStripMeansCodeOnlySwitching)
{
    STabCtrl* tabs = MakeTabs(L"tabWidth='0' tabHeight='0'");
    m_tabSkin->draws.clear();
    m_container.Render(200, 100);
    EXPECT_TRUE(m_tabSkin->draws.empty());
    EXPECT_EQ(-1, tabs->HitTest(POINT{0, 0}));
    RECT area;
    tabs->GetChildAreaRect(&area);
    EXPECT_EQ((RECT{0, 0, 200, 100}.bottom), area.bottom);
    EXPECT_EQ(0, area.top);
    tabs->SendUiMessage(WM_LBUTTONDOWN, 0, At(5, 5));
    EXPECT_EQ(0, tabs->CurSel());
    EXPECT_TRUE(tabs->SelectPage(2));
    EXPECT_EQ("001", Shown(tabs));
}

TEST_F(TabTest, SelectionFiresChangingThenChangedAndCanBeRefused)
{
    STabCtrl* tabs = MakeTabs();
    EXPECT_FALSE(tabs->SelectPage(0));  // already selected
    EXPECT_FALSE(tabs->SelectPage(3));
    EXPECT_TRUE(m_events.events.empty());
    EXPECT_TRUE(tabs->SelectPage(2));
    ASSERT_EQ(2u, m_events.events.size());
    EXPECT_EQ(EventTabSelChanging::EventID, m_events.events[0].id);
    EXPECT_EQ(EventTabSelChanged::EventID, m_events.events[1].id);
    EXPECT_EQ(0, m_events.events[1].a);
    EXPECT_EQ(2, m_events.events[1].b);
    EXPECT_EQ("001", Shown(tabs));

    m_events.events.clear();
    m_events.cancelChanging = TRUE;
    EXPECT_FALSE(tabs->SelectPage(1));
    tabs->SendUiMessage(WM_KEYDOWN, VK_RIGHT);  // no next page; the first is refused
    EXPECT_EQ(2, tabs->CurSel());
    EXPECT_EQ("001", Shown(tabs));
    EXPECT_EQ((std::vector<int>{EventTabSelChanging::EventID, EventTabSelChanging::EventID}), Ids());
    EXPECT_EQ(0, m_events.events[1].b);
}

TEST_F(TabTest, KeysWrapAroundTheEnds)
{
    STabCtrl* tabs = MakeTabs();
    struct Step {
        UINT key;
        int expected;
    } steps[] = {{VK_LEFT, 2}, {VK_RIGHT, 0}, {VK_DOWN, 1}, {VK_END, 2}, {VK_RIGHT, 0}, {VK_UP, 2}, {VK_HOME, 0}};
    for (const Step& step : steps) {
        tabs->SendUiMessage(WM_KEYDOWN, step.key);
        EXPECT_EQ(step.expected, tabs->CurSel()) << "key " << step.key;
    }
    BOOL handled = TRUE;
    tabs->SendUiMessage(WM_KEYDOWN, 'A', 0, &handled);
    EXPECT_FALSE(handled);
}

TEST_F(TabTest, MouseSelectsAndTracksTheHoveredHeader)
{
    STabCtrl* tabs = MakeTabs();
    tabs->SendUiMessage(WM_MOUSEMOVE, 0, At(70, 5));
    tabs->SendUiMessage(WM_MOUSEMOVE, 0, At(75, 8));  // the same header: nothing
    tabs->SendUiMessage(WM_MOUSEMOVE, 0, At(130, 5));
    tabs->SendUiMessage(WM_MOUSELEAVE);
    std::vector<EventRecord> hover = m_events.events;
    ASSERT_EQ(4u, hover.size());
    EXPECT_EQ(EventTabItemHover::EventID, hover[0].id);
    EXPECT_EQ(1, hover[0].a);
    EXPECT_EQ(EventTabItemLeave::EventID, hover[1].id);
    EXPECT_EQ(1, hover[1].a);
    EXPECT_EQ(2, hover[2].a);
    EXPECT_EQ(EventTabItemLeave::EventID, hover[3].id);

    tabs->SendUiMessage(WM_LBUTTONDOWN, 0, At(130, 5));
    EXPECT_EQ(2, tabs->CurSel());

    SwndToolInfo info;
    EXPECT_TRUE(tabs->ProvideTooltip(POINT{130, 5}, &info));
    EXPECT_EQ(static_cast<UINT_PTR>(tabs->PageAt(2)->GetHandle()), info.cookie);
    EXPECT_FALSE(tabs->ProvideTooltip(POINT{70, 5}, &info));  // page B has no tip
}

// The tip belongs to the page: a header that moves under the mouse brings its own tip.
TEST_F(TabTest, TheTipFollowsThePageUnderTheMouse)
{
    STabCtrl* tabs = MakeTabs();
    ASSERT_EQ(2, tabs->InsertItemFromText(L"<page title='D' tip='fourth'/>", 2));
    tabs->SendUiMessage(WM_MOUSEMOVE, 0, At(130, 5));
    SwndToolInfo before;
    ASSERT_TRUE(tabs->ProvideTooltip(POINT{130, 5}, &before));
    EXPECT_EQ(L"fourth", std::wstring(before.text.c_str()));
    ASSERT_TRUE(tabs->RemoveItem(tabs->PageAt(2)));
    SwndToolInfo after;
    ASSERT_TRUE(tabs->ProvideTooltip(POINT{130, 5}, &after));
    EXPECT_EQ(L"third", std::wstring(after.text.c_str()));
    EXPECT_NE(before.cookie, after.cookie);
}

TEST_F(TabTest, InsertingKeepsTheSelectedPage)
{
    STabCtrl* tabs = MakeTabs();
    tabs->SelectPage(1);
    EXPECT_EQ(3, tabs->InsertItemFromText(L"<page title='D'/>", -1));
    EXPECT_EQ(1, tabs->CurSel());
    EXPECT_EQ(0, tabs->InsertItemFromText(L"<page title='E'/>", 0));
    EXPECT_EQ(2, tabs->CurSel());
    EXPECT_EQ("00100", Shown(tabs));
    EXPECT_EQ(20, tabs->PageAt(0)->GetWindowRect().top);
    EXPECT_EQ(-1, tabs->InsertItemFromText(L"<page", -1));
    EXPECT_EQ(-1, tabs->InsertItemFromText(L"<window/>", -1));
    EXPECT_EQ(5, tabs->PageCount());

    // Into an empty control the first page becomes the selection.
    tabs->RemoveAllItems();
    EXPECT_EQ(-1, tabs->CurSel());
    EXPECT_EQ(0, tabs->PageCount());
    EXPECT_EQ(0, tabs->InsertItemFromText(L"<page title='F'/>", -1));
    EXPECT_EQ(0, tabs->CurSel());
    EXPECT_EQ("1", Shown(tabs));
}

TEST_F(TabTest, IconStateIsThePageIndexUnlessGiven)
{
    RecordingPlainSkin* icons = InstallSkin(L"icons", new RecordingPlainSkin(SIZE{8, 8}, 10));
    BuildFromXml(L"<window><tabctrl name='t' pos='0,0,@200,@100' iconSkin='icons' icon-x='2' icon-y='3'>"
                 L"<page/><page iconIndex='7'/><page/></tabctrl></window>");
    m_container.Render(200, 100);
    ASSERT_EQ(3u, icons->draws.size());
    EXPECT_EQ(0, icons->draws[0].state);
    EXPECT_EQ(7, icons->draws[1].state);
    EXPECT_EQ(2, icons->draws[2].state);
    EXPECT_EQ(122, icons->draws[2].rect.left);
    EXPECT_EQ(3, icons->draws[2].rect.top);
}

TEST_F(TabTest, SeparatorsSitBetweenHeadersAndTheFrameOverThePages)
{
    RecordingPlainSkin* sep = InstallSkin(L"sep", new RecordingPlainSkin(SIZE{4, 20}, 1));
    RecordingPlainSkin* frame = InstallSkin(L"frame", new RecordingPlainSkin(SIZE{10, 10}, 1));
    STabCtrl* tabs = MakeTabs(L"tabInterSize='4' tabPos='10' tabInterSkin='sep' frameSkin='frame' tabAlign='bottom'");
    RECT item;
    tabs->GetItemRect(1, &item);
    EXPECT_EQ(74, item.left);  // 10 + 60 + 4
    EXPECT_EQ(80, item.top);   // the strip along the bottom
    m_container.Render(200, 100);
    ASSERT_EQ(2u, sep->draws.size());
    EXPECT_EQ(70, sep->draws[0].rect.left);
    EXPECT_EQ(74, sep->draws[0].rect.right);
    EXPECT_EQ(80, sep->draws[0].rect.top);
    EXPECT_EQ(134, sep->draws[1].rect.left);
    ASSERT_EQ(1u, frame->draws.size());
    EXPECT_EQ(80, frame->draws[0].rect.bottom);
    EXPECT_EQ(0, frame->draws[0].rect.top);
    // A header past the strip's end is cut to it.
    EXPECT_TRUE(SUCCEEDED(tabs->ApplyAttribute(SStringW(L"tabPos"), SStringW(L"30"), FALSE)));
    tabs->GetItemRect(2, &item);
    EXPECT_EQ(158, item.left);
    EXPECT_EQ(200, item.right);
}

TEST_F(TabTest, SlideShowsBothPagesMovingAndEndsOnTheEleventhTick)
{
    STabCtrl* tabs = MakeTabs(L"animateSteps='10'");
    ASSERT_TRUE(tabs->SelectPage(1));
    STabSlider* slider = tabs->Slider();
    ASSERT_NE(nullptr, slider);
    EXPECT_EQ("000", Shown(tabs));
    EXPECT_EQ(1, tabs->CurSel());
    EXPECT_EQ(0, slider->VisibleOffset().x);

    int previous = 0;
    for (int tick = 1; tick <= 10; ++tick) {
        slider->OnTimelineTick();
        ASSERT_EQ(slider, tabs->Slider());
        EXPECT_EQ(tick * 20, slider->VisibleOffset().x);
        EXPECT_GT(slider->VisibleOffset().x, previous);
        previous = slider->VisibleOffset().x;
        if (tick == 5) {
            // Halfway: the old page's right half on the left, the new page's left half on the right.
            SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
            EXPECT_EQ(Px(kRed), rt->GetPixel(50, 60));
            EXPECT_EQ(Px(kGreen), rt->GetPixel(150, 60));
        }
    }
    slider->OnTimelineTick();
    EXPECT_EQ(nullptr, tabs->Slider());
    EXPECT_EQ("010", Shown(tabs));
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    EXPECT_EQ(Px(kGreen), rt->GetPixel(50, 60));
}

TEST_F(TabTest, SideStripSlidesVertically)
{
    STabCtrl* tabs = MakeTabs(L"tabAlign='left' animateSteps='2' animateType='1'");
    tabs->SelectPage(1);
    STabSlider* slider = tabs->Slider();
    ASSERT_NE(nullptr, slider);
    EXPECT_EQ(slider, tabs->GetRelative(kRelFirstChild));  // below the pages
    slider->OnTimelineTick();
    EXPECT_EQ(0, slider->VisibleOffset().x);
    EXPECT_EQ(50, slider->VisibleOffset().y);  // half of the 100 px child area
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    EXPECT_EQ(Px(kRed), rt->GetPixel(100, 25));
    EXPECT_EQ(Px(kGreen), rt->GetPixel(100, 75));
}

TEST_F(TabTest, SlideBackwardsAndAnInterruptingSelection)
{
    STabCtrl* tabs = MakeTabs(L"animateSteps='4'");
    tabs->SelectPage(2);
    STabSlider* first = tabs->Slider();
    first->OnTimelineTick();
    // A new selection ends the running slide at once and slides from the page selected so far.
    tabs->SelectPage(1);
    STabSlider* second = tabs->Slider();
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(1, tabs->GetChildCount() - tabs->PageCount());
    EXPECT_EQ("000", Shown(tabs));
    EXPECT_EQ(200, second->VisibleOffset().x);  // to a lower index: from the second half
    second->OnTimelineTick();
    EXPECT_EQ(150, second->VisibleOffset().x);
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    EXPECT_EQ(Px(kGreen), rt->GetPixel(20, 60));
    EXPECT_EQ(Px(kBlue), rt->GetPixel(180, 60));
    // Resizing the control ends the slide.
    RECT narrower{0, 0, 180, 100};
    tabs->SetFixedRect(&narrower);
    EXPECT_EQ(nullptr, tabs->Slider());
    EXPECT_EQ("010", Shown(tabs));
}

namespace {

// A container whose 10 ms timeline calls the handlers registered with it.
class TimelineContainer : public wndtest::TestContainer {
public:
    BOOL AddTimelineHandler(ITimelineHandler* handler) override
    {
        handlers.push_back(handler);
        return TRUE;
    }
    BOOL RemoveTimelineHandler(ITimelineHandler* handler) override
    {
        handlers.erase(std::remove(handlers.begin(), handlers.end(), handler), handlers.end());
        return TRUE;
    }
    void OnTimelineTick() override
    {
        std::vector<ITimelineHandler*> current = handlers;
        for (ITimelineHandler* handler : current) {
            if (std::find(handlers.begin(), handlers.end(), handler) != handlers.end())
                handler->OnTimelineTick();
        }
    }
    std::vector<ITimelineHandler*> handlers;
};

} // namespace

TEST_F(TabTest, SlideRunsOnTheContainersTimelineAndLeavesIt)
{
    TimelineContainer host;
    SWindow* root = new SWindow;
    root->AttachContainer(&host);
    host.root = root;
    pugi::xml_document document;
    ASSERT_TRUE(document.load_string(L"<window><tabctrl name='t' pos='0,0,@200,@100' animateSteps='3'>"
                                     L"<page/><page/></tabctrl></window>"));
    root->LoadFromXml(document.first_child());
    RECT rect{0, 0, 200, 100};
    root->ApplyRect(rect);
    STabCtrl* tabs = dynamic_cast<STabCtrl*>(root->LookupChildByName(SStringW(L"t")));
    ASSERT_NE(nullptr, tabs);

    tabs->SelectPage(1);
    ASSERT_EQ(1u, host.handlers.size());
    for (int tick = 0; tick < 4; ++tick)
        host.OnTimelineTick();
    EXPECT_TRUE(host.handlers.empty());
    EXPECT_EQ(nullptr, tabs->Slider());
    EXPECT_EQ("01", Shown(tabs));

    // Destroying the control mid-slide takes the slider off the timeline.
    tabs->SelectPage(0);
    ASSERT_EQ(1u, host.handlers.size());
    root->DestroyChild(tabs);
    EXPECT_TRUE(host.handlers.empty());
    host.OnTimelineTick();
    root->Dispose();
}

// Pages taken out without being destroyed: the selected one is hidden and the page at its place
// shows, also when a subscriber refuses that change; with no page left nothing is selected.
TEST_F(TabTest, RemovingTheSelectedPageHidesItAndLeavesAValidSelection)
{
    STabCtrl* tabs = MakeTabs();
    tabs->SendUiMessage(WM_LBUTTONDOWN, 0, At(70, 5));
    ASSERT_EQ(1, tabs->CurSel());
    STabPage* b = tabs->PageAt(1);
    ASSERT_TRUE(tabs->RemoveItem(b));
    EXPECT_FALSE(b->TestVisible(TRUE));
    EXPECT_EQ(1, tabs->CurSel());
    EXPECT_EQ("01", Shown(tabs));
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    EXPECT_EQ(Px(kBlue), rt->GetPixel(100, 60));

    m_events.events.clear();
    m_events.cancelChanging = TRUE;
    STabPage* c = tabs->PageAt(1);
    ASSERT_TRUE(tabs->RemoveItem(c));
    EXPECT_FALSE(c->TestVisible(TRUE));
    EXPECT_EQ(0, tabs->CurSel());
    EXPECT_EQ("1", Shown(tabs));
    EXPECT_EQ((std::vector<int>{EventTabSelChanging::EventID, EventTabSelChanged::EventID}), Ids());
    rt = m_container.Render(200, 100);
    EXPECT_EQ(Px(kRed), rt->GetPixel(100, 60));

    STabPage* a = tabs->PageAt(0);
    ASSERT_TRUE(tabs->RemoveItem(a));
    EXPECT_FALSE(a->TestVisible(TRUE));
    EXPECT_EQ(-1, tabs->CurSel());
    EXPECT_EQ(0, tabs->PageCount());
    rt = m_container.Render(200, 100);
    for (COLORREF page : {kRed, kGreen, kBlue})
        EXPECT_NE(Px(page), rt->GetPixel(100, 60));
    // The removed pages are still children; they go with the control.
    EXPECT_EQ(tabs, a->GetParentWindow());
}
