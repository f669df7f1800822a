// The multi-column list view in a real host with a column adapter: the required header,
// column windows placed in header order and following resizes, moves and hidden captions,
// sorting on a caption click, both scroll bars, and selection by click and key.
#include <algorithm>
#include <set>
#include "control/SMCListView.h"
#include "column_adapter_test_env.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using adaptertest::TestColumnAdapter;

const char kFixedRows[] = "itemHeight='30px'";

// A 300 x 200 view, header 24 high over rows (30 pixels unless measured); captions A B C show
// columns 0 1 2, whose windows are red, green and yellow.
std::string McLayout(const std::string& widths = "100,80,60", bool withHeader = true,
                     const std::string& rows = kFixedRows)
{
    std::string items;
    for (size_t start = 0, column = 0; start <= widths.size(); ++column) {
        size_t comma = widths.find(',', start);
        if (comma == std::string::npos)
            comma = widths.size();
        items += "<item width='" + widths.substr(start, comma - start) + "px'>" + std::string(1, 'A' + column)
                 + "</item>";
        start = comma + 1;
    }
    std::string header = withHeader ? "<header name='hdr'><items>" + items + "</items></header>" : "";
    return "<SKEIN width='300' height='200'><root colorBkgnd='#ffffff'>"
           "<mclistview name='mc' pos='0,0,-0,-0' headerHeight='24px' sbWid='16'>"
           + header
           + "<template " + rows
           + " colorSelected='#0000ff'><text name='col0' colorBkgnd='#ff0000'/>"
             "<text name='col1' colorBkgnd='#00ff00'/><text name='col2' colorBkgnd='#ffff00'/></template>"
             "</mclistview></root></SKEIN>";
}

class McListViewTest : public HostCtrlTest {
protected:
    SMCListView* OpenList(const std::string& layout, int count)
    {
        m_driver.reset(new HostDriver(Open(layout)));
        m_adapter.Attach(new TestColumnAdapter(count));
        SMCListView* list = m_driver->Find<SMCListView>(L"mc");
        if (list) {
            list->SetAdapter(m_adapter);
            list->GetEventSet()->AddSubscriber(EventLVSelChanging::EventID, Subscriber(&McListViewTest::OnChanging, this));
            list->GetEventSet()->AddSubscriber(EventLVSelChanged::EventID, Subscriber(&McListViewTest::OnChanged, this));
        }
        return list;
    }
    void TearDown() override
    {
        m_driver.reset();
        HostCtrlTest::TearDown();
        m_adapter = nullptr;
    }
    bool OnChanging(EventLVSelChanging* evt)
    {
        m_events.push_back("changing " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        return true;
    }
    bool OnChanged(EventLVSelChanged* evt)
    {
        m_events.push_back("changed " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        return true;
    }
    // Left and right of each column window of an item; -1, -1 for a hidden one.
    static std::vector<std::pair<int, int>> Columns(SMCListView* list, int item)
    {
        std::vector<std::pair<int, int>> spans;
        SItemPanel* panel = list->ItemPanelOf(item);
        for (int column = 0; panel && column < 3; ++column) {
            SWindow* window = panel->LookupChildByName(SStringW((L"col" + std::to_wstring(column)).c_str()));
            RECT rect = window->GetWindowRect();
            spans.push_back(window->TestVisible(FALSE) ? std::make_pair(int(rect.left), int(rect.right))
                                                       : std::make_pair(-1, -1));
        }
        return spans;
    }
    static POINT Row(int row, int x = 20) { return POINT{x, 24 + row * 30 + 15}; }

    std::unique_ptr<HostDriver> m_driver;
    SRefPtr<TestColumnAdapter> m_adapter;
    std::vector<std::string> m_events;
};

typedef std::vector<std::pair<int, int>> Spans;

TEST_F(McListViewTest, AViewWithoutHeaderIsNotCreated)
{
    EXPECT_EQ(nullptr, OpenList(McLayout("100", false), 3));
    SMCListView* list = OpenList(McLayout(), 3);
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, list->GetHeader());
    RECT header = list->GetHeader()->GetWindowRect();
    RECT expected = {0, 0, 300, 24};
    EXPECT_TRUE(::EqualRect(&expected, &header));
}

TEST_F(McListViewTest, ColumnsFollowTheHeaderWithoutADataRefresh)
{
    SMCListView* list = OpenList(McLayout(), 4);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ((Spans{{0, 100}, {100, 180}, {180, 240}}), Columns(list, 0));

    // Widening A by 30 moves B and C in every item.
    int binds = m_adapter->binds;
    m_driver->Press(POINT{101, 12});
    m_driver->Drag(POINT{131, 12});
    m_driver->Release(POINT{131, 12});
    for (int item = 0; item < 4; ++item)
        EXPECT_EQ((Spans{{0, 130}, {130, 210}, {210, 270}}), Columns(list, item)) << item;
    RECT rect;
    list->ItemRect(list->ItemPanelOf(3), &rect);
    EXPECT_EQ(270, rect.right - rect.left);
    EXPECT_EQ(binds, m_adapter->binds);

    // Moving C in front of A moves its column with it.
    m_driver->Press(POINT{240, 12});
    m_driver->Drag(POINT{200, 12});
    m_driver->Drag(POINT{60, 12});
    m_driver->Release(POINT{60, 12});
    EXPECT_EQ((Spans{{60, 190}, {190, 270}, {0, 60}}), Columns(list, 2));
    EXPECT_EQ(binds, m_adapter->binds);
}

TEST_F(McListViewTest, ColumnsTheAdapterHidesAreHiddenAfterTheNextChange)
{
    SMCListView* list = OpenList(McLayout(), 4);
    ASSERT_NE(nullptr, list);
    m_adapter->hidden = {1};
    m_adapter->NotifyChanged();
    EXPECT_FALSE(list->GetHeader()->IsItemVisible(1));
    for (int item = 0; item < 4; ++item)
        EXPECT_EQ((Spans{{0, 100}, {-1, -1}, {100, 160}}), Columns(list, item)) << item;
    m_adapter->hidden.clear();
    m_adapter->NotifyChanged();
    EXPECT_EQ((Spans{{0, 100}, {100, 180}, {180, 240}}), Columns(list, 1));
}

// The adapter names data columns: after C was moved in front, hiding column 2 hides C.
TEST_F(McListViewTest, AHiddenColumnHidesTheCaptionThatShowsItWhereverItWasMoved)
{
    SMCListView* list = OpenList(McLayout(), 4);
    ASSERT_NE(nullptr, list);
    m_driver->Press(POINT{210, 12});
    m_driver->Drag(POINT{170, 12});
    m_driver->Drag(POINT{30, 12});
    m_driver->Release(POINT{30, 12});
    ASSERT_EQ((Spans{{60, 160}, {160, 240}, {0, 60}}), Columns(list, 0));

    m_adapter->hidden = {2};
    m_adapter->NotifyChanged();
    SHeaderCtrl* header = list->GetHeader();
    EXPECT_FALSE(header->IsItemVisible(0));
    EXPECT_TRUE(header->IsItemVisible(1));
    EXPECT_TRUE(header->IsItemVisible(2));
    for (int item = 0; item < 4; ++item)
        EXPECT_EQ((Spans{{0, 100}, {100, 180}, {-1, -1}}), Columns(list, item)) << item;
    Shot shot = m_driver->Capture();
    RECT rows = {0, 24, 300, 24 + 4 * 30};
    EXPECT_EQ(0, shot.CountColor(rows, 0xFFFFFF00));
    EXPECT_EQ(100 * 4 * 30, shot.CountColor(rows, 0xFFFF0000));
    EXPECT_EQ(80 * 4 * 30, shot.CountColor(rows, 0xFF00FF00));
}

// Rows as high as their content (20, 30, 40 ...) up to the offered height.
TEST_F(McListViewTest, MeasuredRowsAreOfferedTheHeaderWidthAndRoomToGrow)
{
    SMCListView* list = OpenList(McLayout("100,80,60", true, "defHeight='30px'"), 4);
    ASSERT_NE(nullptr, list);
    m_adapter->measure = [](int index, const RECT& offer) {
        return std::min<int>(offer.bottom - offer.top, 20 + 10 * index);
    };
    m_adapter->NotifyChanged();
    RECT offered = {0, 0, 240, 100000};
    EXPECT_TRUE(::EqualRect(&offered, &m_adapter->offered));
    int top = 24;
    for (int item = 0; item < 4; ++item) {
        RECT rect;
        ASSERT_TRUE(list->ItemRect(list->ItemPanelOf(item), &rect));
        RECT expected = {0, top, 240, top + 20 + 10 * item};
        EXPECT_TRUE(::EqualRect(&expected, &rect)) << item << ": " << rect.top << ".." << rect.bottom;
        EXPECT_EQ((Spans{{0, 100}, {100, 180}, {180, 240}}), Columns(list, item)) << item;
        top = expected.bottom;
    }
    // Each row's columns fill its measured height, and nothing is painted below the last row.
    Shot shot = m_driver->Capture();
    EXPECT_EQ(0xFFFF0000, shot.At(5, 24));
    EXPECT_EQ(0xFFFF0000, shot.At(5, top - 1));
    EXPECT_EQ(0xFFFFFFFF, shot.At(5, top));
    RECT column0 = {0, 24, 100, 200};
    EXPECT_EQ(100 * (20 + 30 + 40 + 50), shot.CountColor(column0, 0xFFFF0000));
}

TEST_F(McListViewTest, CaptionClickSortsAndWritesTheFlagsBack)
{
    SMCListView* list = OpenList(McLayout(), 4);
    ASSERT_NE(nullptr, list);
    SHeaderCtrl* header = list->GetHeader();
    auto flags = [header]() {
        std::vector<int> sortFlags;
        for (int i = 0; i < header->GetItemCount(); ++i) {
            HeaderItem item;
            item.mask = kHeaderMaskSort;
            header->GetItem(i, item);
            sortFlags.push_back(item.sortFlag);
        }
        return sortFlags;
    };
    m_driver->Click(POINT{140, 12});
    EXPECT_EQ(std::vector<int>{1}, m_adapter->sorts);
    EXPECT_EQ((std::vector<int>{0, 1, 0}), flags());
    m_driver->Click(POINT{140, 12});
    EXPECT_EQ((std::vector<int>{0, 2, 0}), flags());
    m_driver->Click(POINT{50, 12});
    EXPECT_EQ((std::vector<int>{1, 0, 0}), flags());
    // A sort the adapter refuses leaves the flags.
    m_adapter->sortAccepted = FALSE;
    m_driver->Click(POINT{200, 12});
    EXPECT_EQ((std::vector<int>{1, 1, 0, 2}), m_adapter->sorts);
    EXPECT_EQ((std::vector<int>{1, 0, 0}), flags());
}

TEST_F(McListViewTest, PressBelowTheItemsClearsTheSelectionAndKeysNotify)
{
    SMCListView* list = OpenList(McLayout(), 3);
    ASSERT_NE(nullptr, list);
    m_driver->Click(Row(1));
    EXPECT_EQ(1, list->GetSelection());
    m_events.clear();
    m_driver->Click(POINT{20, 180});
    EXPECT_EQ(-1, list->GetSelection());
    EXPECT_EQ((std::vector<std::string>{"changing 1>-1", "changed 1>-1"}), m_events);

    m_events.clear();
    list->TakeFocus();
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(0, list->GetSelection());
    EXPECT_EQ((std::vector<std::string>{"changing -1>0", "changed -1>0"}), m_events);
}

TEST_F(McListViewTest, ScrollsBothWaysAndTheHeaderFollows)
{
    SMCListView* list = OpenList(McLayout("200,200,200"), 20);
    ASSERT_NE(nullptr, list);
    EXPECT_TRUE(list->IsScrollBarShown(TRUE));
    EXPECT_TRUE(list->IsScrollBarShown(FALSE));
    EXPECT_EQ(599, list->ScrollInfoOf(FALSE).nMax);
    EXPECT_EQ(284u, list->ScrollInfoOf(FALSE).nPage);
    EXPECT_EQ(599, list->ScrollInfoOf(TRUE).nMax);
    EXPECT_EQ(200u - 24 - 16, list->ScrollInfoOf(TRUE).nPage);

    EXPECT_TRUE(list->OnScroll(FALSE, SB_THUMBPOSITION, 50));
    EXPECT_EQ(-50, list->GetHeader()->GetWindowRect().left);
    RECT rect;
    list->ItemRect(list->ItemPanelOf(0), &rect);
    EXPECT_EQ(-50, rect.left);
    EXPECT_EQ(550, rect.right);
    // Past the end: the last page.
    list->OnScroll(FALSE, SB_THUMBPOSITION, 1000);
    EXPECT_EQ(600 - 284, list->ScrollPosOf(FALSE));
    list->OnScroll(TRUE, SB_BOTTOM, 0);
    EXPECT_NE(nullptr, list->ItemPanelOf(19));
    EXPECT_EQ(nullptr, list->ItemPanelOf(0));
}

} // namespace
} // namespace hosttest
