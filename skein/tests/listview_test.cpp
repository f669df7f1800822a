// The list view in a real host with a test adapter: panels only for the visible items and
// recycled per view type, the adapter's call order per item, selection with veto, refresh while
// hidden and on paint, keys, mouse and wheel routed to the panels, and what it paints where.
#include <algorithm>
#include <functional>
#include "adapter_test_env.h"
#include "app_test_support.h"
#include "control/SListView.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using adaptertest::RecordingListAdapter;

// A 200 x 200 host filled by the list view "list" (its bar 16 wide when shown); the wheel goes
// to the window under the mouse.
std::string ListLayout(const std::string& itemTemplate, const std::string& listAttributes = "")
{
    return "<SKEIN width='200' height='200' sendWheel2Hover='1'><root colorBkgnd='#ffffff'>"
           "<listview name='list' pos='0,0,-0,-0' sbWid='16' "
           + listAttributes + ">" + itemTemplate + "</listview></root></SKEIN>";
}

// 20-pixel rows with a label; hovered rows green, selected rows blue.
const char kFixedRows[] = "<template itemHeight='20' colorHover='#00ff00' colorSelected='#0000ff'>"
                          "<text name='label' pos='0,0,-0,-0'/></template>";
// Rows measured by the adapter, 20 until then.
const char kFlexRows[] = "<template defHeight='20'><text name='label' pos='0,0,-0,-0'/></template>";

// The selection events of a view; a changing event to vetoed is cancelled.
struct SelectionEvents {
    bool OnChanging(EventLVSelChanging* evt)
    {
        log.push_back("changing " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        evt->cancel = evt->newSel == vetoed;
        return true;
    }
    bool OnChanged(EventLVSelChanged* evt)
    {
        log.push_back("changed " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        return true;
    }
    void Watch(SListView* view)
    {
        view->GetEventSet()->AddSubscriber(EventLVSelChanging::EventID, Subscriber(&SelectionEvents::OnChanging, this));
        view->GetEventSet()->AddSubscriber(EventLVSelChanged::EventID, Subscriber(&SelectionEvents::OnChanged, this));
    }
    std::vector<std::string> log;
    int vetoed = -100;
};

// The commands of the items and of the buttons inside them, as the view passes them on.
struct ItemCommands {
    bool OnEvent(EventArgs* evt)
    {
        count += static_cast<EventOfPanel*>(evt)->origin->GetId() == EventCmd::EventID;
        return false;
    }
    int count = 0;
};

class ListViewTest : public HostCtrlTest {
protected:
    // Opens the layout and gives its list view a new adapter of count items.
    SListView* OpenList(const std::string& layout, int count, int viewTypes = 1)
    {
        m_driver.reset(new HostDriver(Open(layout)));
        m_adapter.Attach(new RecordingListAdapter(count, viewTypes));
        SListView* list = m_driver->Find<SListView>(L"list");
        if (list)
            list->SetAdapter(m_adapter);
        return list;
    }
    void TearDown() override
    {
        m_driver.reset();
        HostCtrlTest::TearDown();
        m_adapter = nullptr;
    }
    // The visible items in order, checking that each panel shows its item.
    std::vector<int> VisibleItems(SListView* list) const
    {
        std::vector<int> items;
        for (int i = 0; i < m_adapter->count; ++i) {
            SItemPanel* panel = list->ItemPanelOf(i);
            if (!panel)
                continue;
            items.push_back(i);
            SWindow* label = panel->LookupChildByName(SStringW(L"label"));
            EXPECT_EQ(L"item " + std::to_wstring(i), std::wstring(label->QueryText().c_str()));
            EXPECT_EQ(i, panel->ItemIndex());
        }
        return items;
    }
    static std::vector<int> Range(int first, int last)
    {
        std::vector<int> range;
        for (int i = first; i <= last; ++i)
            range.push_back(i);
        return range;
    }
    POINT Row(int row, int x = 100) const { return POINT{x, row * 20 + 10}; }
    // The calls of one refresh pass over the items first .. last of a measured list.
    static std::vector<std::wstring> Pass(int first, int last)
    {
        std::vector<std::wstring> pass;
        for (int i = first; i <= last; ++i) {
            for (const wchar_t* kind : {L"type ", L"bind ", L"size "})
                pass.push_back(kind + std::to_wstring(i));
        }
        return pass;
    }

    std::unique_ptr<HostDriver> m_driver;
    SRefPtr<RecordingListAdapter> m_adapter;
};

TEST_F(ListViewTest, OnlyVisibleItemsHavePanelsAndScrollingRecyclesThem)
{
    SListView* list = OpenList(ListLayout(kFixedRows), 1000);
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(list->IsScrollBarShown(TRUE));
    EXPECT_EQ(19999, list->ScrollInfoOf(TRUE).nMax);
    EXPECT_EQ(Range(0, 9), VisibleItems(list));
    EXPECT_EQ(10u, m_adapter->windows.size());

    // Down to the end in uneven steps, then back up and down again.
    for (int position = 0; position < 20000; position += 137)
        list->OnScroll(TRUE, SB_THUMBPOSITION, position);
    list->OnScroll(TRUE, SB_BOTTOM, 0);
    EXPECT_EQ(19800, list->ScrollPosOf(TRUE));
    EXPECT_EQ(Range(990, 999), VisibleItems(list));
    size_t panels = m_adapter->windows.size();
    EXPECT_LE(panels, 12u);
    for (int position = 20000; position >= 0; position -= 91)
        list->OnScroll(TRUE, SB_THUMBPOSITION, position);
    list->OnScroll(TRUE, SB_TOP, 0);
    EXPECT_EQ(Range(0, 9), VisibleItems(list));
    list->OnScroll(TRUE, SB_THUMBPOSITION, 10005);
    EXPECT_EQ(Range(500, 510), VisibleItems(list));
    EXPECT_EQ(panels, m_adapter->windows.size());
}

TEST_F(ListViewTest, AnItemWhoseViewTypeChangesTakesAPanelOfTheNewType)
{
    std::vector<int> types(50, 0);
    SListView* list = OpenList(ListLayout(kFixedRows), 50, 2);
    m_adapter->viewType = [&types](int i) { return types[i]; };
    m_adapter->NotifyChanged();
    SItemPanel* typeZero = list->ItemPanelOf(3);
    ASSERT_NE(nullptr, typeZero);

    types[3] = 1;
    m_adapter->NotifyChanged();
    SItemPanel* typeOne = list->ItemPanelOf(3);
    EXPECT_NE(typeZero, typeOne);
    EXPECT_EQ(11u, m_adapter->windows.size()); // the bin of type 1 was empty
    EXPECT_FALSE(typeZero->TestVisible(TRUE)); // waiting in the bin of type 0

    // Back to type 0: the old panel again; the type-1 panel then serves the next item of that
    // type.
    types[3] = 0;
    m_adapter->NotifyChanged();
    EXPECT_EQ(typeZero, list->ItemPanelOf(3));
    types[6] = 1;
    m_adapter->NotifyChanged();
    EXPECT_EQ(typeOne, list->ItemPanelOf(6));
    EXPECT_EQ(11u, m_adapter->windows.size());
    EXPECT_EQ(Range(0, 9), VisibleItems(list));
}

TEST_F(ListViewTest, TheAdapterIsAskedTypeThenBindThenSizePerItem)
{
    SListView* list = OpenList(ListLayout(kFixedRows), 30);
    m_adapter->calls.clear();
    m_adapter->NotifyChanged();
    std::vector<std::wstring> fixed;
    for (int i = 0; i < 10; ++i) {
        fixed.push_back(L"type " + std::to_wstring(i));
        fixed.push_back(L"bind " + std::to_wstring(i));
    }
    EXPECT_EQ(fixed, m_adapter->CallLog());
    // A selected item scrolled into view gets a recycled panel with its state set before the bind.
    list->SetSelection(12, FALSE);
    DWORD boundState = 0;
    m_adapter->onBind = [&boundState](int index, SWindow* window) {
        if (index == 12)
            boundState = window->GetStateFlags();
    };
    list->OnScroll(TRUE, SB_THUMBPOSITION, 60);
    EXPECT_TRUE(boundState & kStateChecked);
    EXPECT_EQ(static_cast<DWORD>(kItemStateSelected), m_adapter->lastState);

    // Measured items of 25 pixels: eight fit and the total grows, but with the bar already
    // shown and the position kept nothing moves: one pass.
    list = OpenList(ListLayout(kFlexRows), 30);
    m_adapter->height = [](int) { return 25; };
    m_adapter->calls.clear();
    m_adapter->NotifyChanged();
    EXPECT_EQ(Pass(0, 7), m_adapter->CallLog());
    EXPECT_EQ(8 * 25 + 22 * 20 - 1, list->ScrollInfoOf(TRUE).nMax); // eight items measured
    EXPECT_EQ(0, m_adapter->proposed.bottom);

    // Eight items of 20 fit without a bar; measured at 30 they need one: the narrower items are
    // laid out once more.
    list = OpenList(ListLayout(kFlexRows), 8);
    EXPECT_FALSE(list->IsScrollBarShown(TRUE));
    m_adapter->height = [](int) { return 30; };
    m_adapter->calls.clear();
    m_adapter->NotifyChanged();
    std::vector<std::wstring> twice = Pass(0, 6);
    std::vector<std::wstring> again = Pass(0, 6);
    twice.insert(twice.end(), again.begin(), again.end());
    EXPECT_EQ(twice, m_adapter->CallLog());
    EXPECT_TRUE(list->IsScrollBarShown(TRUE));
    EXPECT_EQ(200 - 16, m_adapter->proposed.right);
}

TEST_F(ListViewTest, AdaptersOutsideTheContractAreContained)
{
    SRefPtr<skein_test::LogRecorder> log(new skein_test::LogRecorder, false);
    m_app->SetLogManager(log);
    // A view type out of range is logged and type 0 used.
    SListView* list = OpenList(ListLayout(kFixedRows), 20, 2);
    m_adapter->viewType = [](int i) { return i == 2 ? 7 : 0; };
    m_adapter->NotifyChanged();
    EXPECT_NE(nullptr, list->ItemPanelOf(2));
    bool logged = false;
    for (const std::string& line : log->lines)
        logged |= line.find("view type 7 of item 2") != std::string::npos;
    EXPECT_TRUE(logged);

    // Heights that bring and take the bar in turn: one data change lays the items out twice,
    // no more.
    list = OpenList(ListLayout(kFlexRows), 8);
    bool tall = false;
    m_adapter->height = [&tall](int i) {
        if (i == 0)
            tall = !tall;
        return tall ? 40 : 10;
    };
    m_adapter->calls.clear();
    m_adapter->NotifyChanged();
    std::vector<int> types = m_adapter->Calls(L"type");
    EXPECT_EQ(2, std::count(types.begin(), types.end(), 0));
    m_app->SetLogManager(nullptr);
}

TEST_F(ListViewTest, SelectionRaisesEventsThatAHandlerCanVeto)
{
    SListView* list = OpenList(ListLayout(kFixedRows), 100);
    SelectionEvents events;
    events.Watch(list);
    m_driver->Click(Row(2));
    EXPECT_EQ(2, list->GetSelection());
    EXPECT_TRUE(list->ItemPanelOf(2)->GetStateFlags() & kStateChecked);

    events.vetoed = 5;
    m_driver->Click(Row(5));
    EXPECT_EQ(2, list->GetSelection());
    EXPECT_FALSE(list->ItemPanelOf(5)->GetStateFlags() & kStateChecked);

    list->SetSelection(100, TRUE); // the item count: nothing
    list->SetSelection(-5, TRUE);  // cleared
    EXPECT_EQ(-1, list->GetSelection());
    EXPECT_FALSE(list->ItemPanelOf(2)->GetStateFlags() & kStateChecked);
    EXPECT_EQ((std::vector<std::string>{"changing -1>2", "changed -1>2", "changing 2>5", "changing 2>-1",
                                        "changed 2>-1"}),
              events.log);
}

TEST_F(ListViewTest, ChangesWhileHiddenWaitForTheViewToShow)
{
    SListView* list = OpenList(ListLayout(kFixedRows), 100);
    list->ChangeVisibility(FALSE, TRUE);
    m_adapter->calls.clear();
    for (int i = 0; i < 3; ++i)
        m_adapter->NotifyChanged();
    EXPECT_TRUE(m_adapter->calls.empty());
    list->ChangeVisibility(TRUE, TRUE);
    EXPECT_EQ(Range(0, 9), m_adapter->Calls(L"bind")); // one full refresh

    list->ChangeVisibility(FALSE, TRUE);
    m_adapter->calls.clear();
    m_adapter->NotifyItemChanged(4);
    list->ChangeVisibility(TRUE, TRUE);
    EXPECT_EQ(std::vector<int>{4}, m_adapter->Calls(L"bind")); // that item only

    // Invalidated data: the next paint refreshes first.
    m_adapter->calls.clear();
    m_adapter->NotifyInvalidated();
    EXPECT_TRUE(m_adapter->calls.empty());
    m_driver->Capture();
    EXPECT_EQ(Range(0, 9), m_adapter->Calls(L"bind"));
}

TEST_F(ListViewTest, KeysMoveTheSelectionWithoutEvents)
{
    SListView* list = OpenList(ListLayout(kFixedRows), 100);
    SelectionEvents events;
    events.Watch(list);
    list->TakeFocus();
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(0, list->GetSelection());
    for (int i = 0; i < 12; ++i)
        m_driver->Key(VK_DOWN);
    EXPECT_EQ(12, list->GetSelection());
    EXPECT_EQ(60, list->ScrollPosOf(TRUE)); // item 12 at the bottom
    m_driver->Key(VK_UP);
    EXPECT_EQ(11, list->GetSelection());

    m_driver->Key(VK_END);
    EXPECT_EQ(99, list->GetSelection());
    EXPECT_EQ(1800, list->ScrollPosOf(TRUE));
    m_driver->Key(VK_PRIOR);
    EXPECT_EQ(1600, list->ScrollPosOf(TRUE));
    EXPECT_EQ(80, list->GetSelection());
    m_driver->Key(VK_HOME);
    EXPECT_EQ(0, list->ScrollPosOf(TRUE));
    EXPECT_EQ(0, list->GetSelection());
    EXPECT_TRUE(events.log.empty());
}

TEST_F(ListViewTest, PanelsPaintAtTheirRowsAndFollowHoverAndSelection)
{
    SListView* list = OpenList(ListLayout(kFixedRows), 100);
    m_adapter->onBind = [](int index, SWindow* window) {
        window->ApplyAttribute(SStringW(L"colorNormal"), SStringW(index % 2 ? L"#ff0000" : L"#ffff00"), FALSE);
    };
    m_adapter->NotifyChanged();
    const UINT32 yellow = Px(RGB(255, 255, 0)), red = Px(RGB(255, 0, 0));
    const UINT32 green = Px(RGB(0, 255, 0)), blue = Px(RGB(0, 0, 255));
    // Away from the label texts, which are centred.
    Shot shot = m_driver->Capture();
    EXPECT_EQ(yellow, shot.At(2, 5));
    EXPECT_EQ(red, shot.At(2, 25));

    list->OnScroll(TRUE, SB_THUMBPOSITION, 5);
    shot = m_driver->Capture();
    EXPECT_EQ(yellow, shot.At(2, 14));
    EXPECT_EQ(red, shot.At(2, 15));
    EXPECT_EQ(yellow, shot.At(2, 35));
    EXPECT_EQ(red, shot.At(2, 194));
    EXPECT_EQ(yellow, shot.At(2, 199)); // item 10, partly shown

    // Rows are 20 high from -5: row 3 covers 55 .. 74.
    m_driver->Move(POINT{2, 60});
    EXPECT_EQ(green, m_driver->Capture().At(2, 60));
    m_driver->Click(POINT{2, 60});
    EXPECT_EQ(3, list->GetSelection());
    EXPECT_EQ(blue, m_driver->Capture().At(2, 60)); // selected wins over hover
    m_driver->Move(POINT{2, 100});
    shot = m_driver->Capture();
    EXPECT_EQ(blue, shot.At(2, 60));
    EXPECT_EQ(green, shot.At(2, 100));
    m_driver->Leave();
    EXPECT_EQ(red, m_driver->Capture().At(2, 100));
}

TEST_F(ListViewTest, WindowsInsideItemsWorkAndTheirEventsReachTheHostThroughTheView)
{
    const char rows[] = "<template itemHeight='30'><button name='btn' pos='100,5,@60,@20'>Go</button></template>";
    SListView* list = OpenList(ListLayout(rows), 100);
    // The third row's button, after a wheel notch moved the list by one line.
    m_driver->Wheel(POINT{50, 50}, -WHEEL_DELTA);
    EXPECT_EQ(30, list->ScrollPosOf(TRUE));
    int before = m_driver->Host().Count(EventOfPanel::EventID, L"list");
    m_driver->Click(POINT{120, 2 * 30 + 10});
    EXPECT_EQ(3, list->GetSelection());
    EXPECT_GT(m_driver->Host().Count(EventOfPanel::EventID, L"list"), before);
    EXPECT_EQ(0, m_driver->Host().Count(EventCmd::EventID, L"btn"));
    EXPECT_FALSE(list->ItemPanelOf(3)->LookupChildByName(SStringW(L"btn"))->GetStateFlags() & kStatePushed);
}

// A press whose item goes away with a data change or a new adapter ends there: the release
// clicks nothing, not even the button now at that place, and the view no longer holds the mouse.
TEST_F(ListViewTest, APressWhoseItemWentAwayFiresNothing)
{
    const char rows[] = "<template itemHeight='30'><button name='btn' pos='100,5,@60,@20'>Go</button></template>";
    struct Case {
        const char* name;
        std::function<void(RecordingListAdapter&, SListView*)> change;
    } const kCases[] = {
        {"items gone", [](RecordingListAdapter& a, SListView*) { a.count = 1, a.NotifyChanged(); }},
        {"items gone and back",
         [](RecordingListAdapter& a, SListView*) {
             a.count = 1, a.NotifyChanged();
             a.count = 100, a.NotifyChanged();
         }},
        {"new adapter", [](RecordingListAdapter&, SListView* list) { list->SetAdapter(SRefPtr<RecordingListAdapter>(new RecordingListAdapter(100))); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        SListView* list = OpenList(ListLayout(rows), 100);
        ASSERT_TRUE(list);
        ItemCommands commands;
        list->GetEventSet()->AddSubscriber(EventOfPanel::EventID, Subscriber(&ItemCommands::OnEvent, &commands));
        POINT button{120, 2 * 30 + 10};
        m_driver->Press(button);
        c.change(*m_adapter, list);
        m_driver->Drag(button);
        m_driver->Release(button);
        EXPECT_EQ(0, commands.count);
        for (int i = 0; i < 5; ++i) {
            SItemPanel* panel = list->ItemPanelOf(i);
            SWindow* btn = panel ? panel->LookupChildByName(SStringW(L"btn")) : nullptr;
            EXPECT_FALSE(btn && (btn->GetStateFlags() & kStatePushed)) << i;
        }
        m_adapter->count = 100, m_adapter->NotifyChanged();
        m_driver->Click(button); // the next click works where it lands: the button's and the item's
        EXPECT_EQ(2, commands.count);
        m_driver.reset();
    }
}

TEST_F(ListViewTest, AViewWithoutTemplateOrAdapterShowsNothing)
{
    SListView* list = OpenList(ListLayout(""), 100);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(nullptr, list->ItemPanelOf(0));
    EXPECT_TRUE(m_adapter->calls.empty());
    list->SetAdapter(nullptr);
    EXPECT_EQ(1, m_adapter->unregistered);
    m_driver->Click(Row(1));
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(-1, list->GetSelection());
}

// Rows listed at 20 until shown, then measured at 50: a row reached by a key is shown whole
// (its last pixel row painted selected), and End reaches the last row.
TEST_F(ListViewTest, RowsReachedByKeysAreShownWholeWhateverTheyMeasure)
{
    const char rows[] = "<template defHeight='20' colorSelected='#0000ff'><text name='label' pos='0,0,-0,-0'/></template>";
    SListView* list = OpenList(ListLayout(rows), 100);
    ASSERT_NE(nullptr, list);
    m_adapter->height = [](int) { return 50; };
    m_adapter->NotifyChanged();
    list->TakeFocus();
    const UINT32 blue = Px(RGB(0, 0, 255));
    auto expectShownWhole = [&](int index, const char* step) {
        EXPECT_EQ(index, list->GetSelection()) << step;
        SItemPanel* panel = list->ItemPanelOf(index);
        ASSERT_NE(nullptr, panel) << step;
        RECT rect;
        list->ItemRect(panel, &rect);
        EXPECT_EQ(50, rect.bottom - rect.top) << step;
        EXPECT_LE(0, rect.top) << step;
        EXPECT_GE(200, rect.bottom) << step;
        Shot shot = m_driver->Capture();
        EXPECT_EQ(blue, shot.At(2, std::max(0, static_cast<int>(rect.top)))) << step;
        EXPECT_EQ(blue, shot.At(2, std::min(199, static_cast<int>(rect.bottom) - 1))) << step;
    };
    for (int i = 0; i < 8; ++i) {
        m_driver->Key(VK_DOWN);
        expectShownWhole(i, "down");
    }
    m_driver->Key(VK_END);
    expectShownWhole(99, "end");
    EXPECT_EQ(static_cast<int>(list->ScrollInfoOf(TRUE).nMax) + 1 - 200, list->ScrollPosOf(TRUE));
    m_driver->Key(VK_END);
    expectShownWhole(99, "end again");
    for (int i = 98; i > 92; --i) {
        m_driver->Key(VK_UP);
        expectShownWhole(i, "up");
    }
    m_driver->Key(VK_HOME);
    expectShownWhole(0, "home");
    EXPECT_EQ(0, list->ScrollPosOf(TRUE));
}

// Measured rows forgotten by a data change: the rows in view stay where they were, at the end
// of the list as in its middle.
TEST_F(ListViewTest, ADataChangeKeepsMeasuredRowsWhereTheyWere)
{
    SListView* list = OpenList(ListLayout(kFlexRows), 100);
    ASSERT_NE(nullptr, list);
    m_adapter->height = [](int) { return 50; };
    m_adapter->NotifyChanged();
    list->TakeFocus();
    auto topOf = [&](int index) {
        RECT rect = {0, -1000, 0, -1000};
        if (SItemPanel* panel = list->ItemPanelOf(index))
            list->ItemRect(panel, &rect);
        return static_cast<int>(rect.top);
    };
    m_driver->Key(VK_END);
    ASSERT_EQ(150, topOf(99));
    m_adapter->NotifyChanged();
    EXPECT_EQ(150, topOf(99));
    EXPECT_EQ(99, list->GetSelection());

    m_driver->Key(VK_HOME);
    for (int i = 0; i < 30; ++i)
        m_driver->Key(VK_DOWN);
    list->OnScroll(TRUE, SB_LINEUP, 0);
    int first = -1;
    for (int i = 0; i < 100 && first < 0; ++i)
        first = list->ItemPanelOf(i) ? i : -1;
    int top = topOf(first);
    m_adapter->NotifyChanged();
    EXPECT_EQ(top, topOf(first));
}

} // namespace
} // namespace hosttest
