// The report list control in a real host under a real header: columns that follow the header's
// captions (moved, resized, scrolled), check-box, Ctrl and Shift selection with veto, hot
// tracking, the row colours, short rows, the scroll-bar rule and the deletion events.
#include "control/SHeaderCtrl.h"
#include "control/SListCtrl.h"
#include "ctrl_scroll_test_env.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using ctrltest::RecordingPlainSkin;
using ctrltest::StateColor;
using wndtest::Px;

const int kRow = 20;
const int kIcon = 8;
const UINT32 kWhite = 0xFFFFFFFF;
const UINT32 kOdd = 0xFFE0E0E0;
const UINT32 kSelected = 0xFF0000FF;
const UINT32 kHot = 0xFF00FF00;

// A host of the given height filled by the list "list": 20-pixel header and rows, 16-pixel
// bars, three captions of the given width.
std::string ListLayout(const std::string& attributes, int height = 140, int captionWidth = 60,
                       bool header = true)
{
    std::string captions;
    for (const char* name : {"A", "B", "C"})
        captions += "<item width='" + std::to_string(captionWidth) + "px'>" + name + "</item>";
    return "<SKEIN width='200' height='" + std::to_string(height)
           + "'><root colorBkgnd='#ffffff'><listctrl name='list' pos='0,0,-0,-0' sbWid='16' iconSkin='rec.icon' "
             "colorItemBkgnd='#ffffff' colorItemBkgnd2='#e0e0e0' colorItemSelBkgnd='#0000ff' "
           + attributes + ">" + (header ? "<header name='hdr'><items>" + captions + "</items></header>" : "")
           + "</listctrl></root></SKEIN>";
}

// The selection events as lines; a change to vetoed is cancelled.
struct ListEvents {
    void Watch(SListCtrl* list)
    {
        for (int id : {int(EventLCSelChanging::EventID), int(EventLCSelChanged::EventID),
                       int(EventLCItemDeleted::EventID), int(EventLCDbClick::EventID)})
            list->GetEventSet()->AddSubscriber(id, Subscriber(&ListEvents::OnEvent, this));
    }
    bool OnEvent(EventArgs* evt)
    {
        if (auto* e = dynamic_cast<EventLCSelChanging*>(evt)) {
            log.push_back("changing " + std::to_string(e->oldSel) + ">" + std::to_string(e->newSel));
            e->cancel = e->newSel == vetoed;
        } else if (auto* e = dynamic_cast<EventLCSelChanged*>(evt)) {
            log.push_back("changed " + std::to_string(e->oldSel) + ">" + std::to_string(e->newSel));
        } else if (auto* e = dynamic_cast<EventLCItemDeleted*>(evt)) {
            log.push_back("deleted " + std::to_string(e->item) + " " + std::to_string(e->data));
        } else if (auto* e = dynamic_cast<EventLCDbClick*>(evt)) {
            log.push_back("dbclick " + std::to_string(e->item));
        }
        return true;
    }
    std::vector<std::string> log;
    int vetoed = -100;
};

class ListCtrlTest : public HostCtrlTest {
protected:
    void SetUp() override
    {
        HostCtrlTest::SetUp();
        auto* icon = new RecordingPlainSkin(SIZE{kIcon, kIcon}, 10);
        SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(L"rec.icon"), 100), icon);
        icon->Release();
    }
    void TearDown() override
    {
        m_driver.reset();
        HostCtrlTest::TearDown();
    }

    // Opens the layout and fills rows rows; cell c of each row has image c + 1.
    SListCtrl* OpenList(const std::string& layout, int rows)
    {
        m_driver.reset(new HostDriver(Open(layout)));
        SListCtrl* list = m_driver->Find<SListCtrl>(L"list");
        if (!list)
            return nullptr;
        for (int r = 0; r < rows; ++r) {
            list->InsertItem(-1, SStringW(L"row"), 1);
            for (int c = 1; c < 3; ++c) {
                list->SetSubItemText(r, c, SStringW(L"cell"));
                list->SetSubItemImage(r, c, c + 1);
            }
            list->SetItemData(r, 100 + r);
        }
        m_events.Watch(list);
        return list;
    }
    // A point on row (window coordinates, no scrolling), x from the list's left.
    static POINT OnRow(int row, int x) { return POINT{x, kRow + row * kRow + kRow / 2}; }
    // The check box of a row: after the row indent 4 and the gap 3.
    static POINT BoxOf(int row) { return OnRow(row, 4 + 3 + 2); }
    static std::vector<int> Selected(SListCtrl* list)
    {
        std::vector<int> rows;
        for (int r = 0; r < list->GetItemCount(); ++r) {
            if (list->IsItemSelected(r))
                rows.push_back(r);
        }
        return rows;
    }
    // The image state drawn in column position i of row (its icon's colour), or -1.
    int IconIn(const Shot& shot, int row, int column, int scrollX = 0)
    {
        POINT pt = {4 + column * 60 + kRow / 6 + kIcon / 2 - scrollX, kRow + row * kRow + kRow / 2};
        for (int state = 0; state < 10; ++state) {
            if (shot.At(pt) == Px(StateColor(state)))
                return state;
        }
        return -1;
    }

    std::unique_ptr<HostDriver> m_driver;
    ListEvents m_events;
};

TEST_F(ListCtrlTest, ColumnsShowTheDataColumnTheirCaptionNames)
{
    SListCtrl* list = OpenList(ListLayout(""), 3);
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, list->GetHeader());
    // The header sits above the rows, as wide as the client.
    RECT header = m_driver->RectOf(L"hdr");
    EXPECT_EQ((std::vector<LONG>{0, 0, 200, kRow}), (std::vector<LONG>{header.left, header.top, header.right, header.bottom}));
    Shot shot = m_driver->Capture();
    EXPECT_EQ((std::vector<int>{1, 2, 3}), (std::vector<int>{IconIn(shot, 0, 0), IconIn(shot, 0, 1), IconIn(shot, 0, 2)}));

    // Caption C dragged onto A's place: its cells go along.
    m_driver->Press(POINT{150, 10});
    m_driver->Drag(POINT{140, 10});
    m_driver->Drag(POINT{20, 10});
    m_driver->Release(POINT{20, 10});
    shot = m_driver->Capture();
    EXPECT_EQ((std::vector<int>{3, 1, 2}), (std::vector<int>{IconIn(shot, 1, 0), IconIn(shot, 1, 1), IconIn(shot, 1, 2)}));
}

TEST_F(ListCtrlTest, ShortRowsDrawEmptyCellsAndListsWithoutColumnsHaveNoRows)
{
    SListCtrl* list = OpenList(ListLayout(""), 2);
    list->InsertItem(1, SStringW(L"short"), 5);
    EXPECT_EQ(3, list->GetItemCount());
    EXPECT_EQ(101u, list->GetItemData(2)); // moved down
    // Only data column 0 exists in row 1 (an odd row): the other columns show the background.
    Shot shot = m_driver->Capture();
    EXPECT_EQ(5, IconIn(shot, 1, 0));
    EXPECT_EQ(-1, IconIn(shot, 1, 1));
    EXPECT_EQ(kOdd, shot.At(4 + 60 + 5, kRow * 2 + 10));
    EXPECT_EQ(L"", std::wstring(list->GetSubItemText(1, 2).c_str()));
    EXPECT_EQ(L"cell", std::wstring(list->GetSubItemText(2, 2).c_str()));

    list = OpenList(ListLayout("", 140, 60, false), 4);
    EXPECT_EQ(nullptr, list->GetHeader());
    EXPECT_EQ(0, list->GetItemCount());
    m_driver->Click(OnRow(0, 30));
    EXPECT_EQ(-1, list->GetSelectedItem());
    EXPECT_EQ(kWhite, m_driver->Capture().At(OnRow(0, 30)));
}

TEST_F(ListCtrlTest, ACheckBoxClickTogglesOnlyItsRow)
{
    SListCtrl* list = OpenList(ListLayout("checkBox='1'"), 5);
    m_driver->Click(BoxOf(1));
    m_driver->Click(BoxOf(3));
    EXPECT_EQ((std::vector<int>{1, 3}), Selected(list));
    m_driver->Click(BoxOf(1));
    EXPECT_EQ((std::vector<int>{3}), Selected(list));
    EXPECT_EQ(1, list->GetSelectedItem());
    // Elsewhere on a row the selection is replaced, unless Ctrl is held.
    m_driver->Click(OnRow(4, 100));
    EXPECT_EQ((std::vector<int>{4}), Selected(list));
    {
        HeldKeys ctrl({VK_CONTROL});
        m_driver->Click(OnRow(0, 100));
        m_driver->Click(OnRow(4, 100));
    }
    EXPECT_EQ((std::vector<int>{0}), Selected(list));
    // A box click on no row changes nothing but is still reported.
    m_events.log.clear();
    m_driver->Click(BoxOf(5));
    EXPECT_EQ((std::vector<int>{0}), Selected(list));
    EXPECT_EQ((std::vector<std::string>{"changing 4>-1", "changed 4>-1"}), m_events.log);
    // The checked rows draw the check box's checked frame over the selection colour.
    Shot shot = m_driver->Capture();
    EXPECT_EQ(kSelected, shot.At(OnRow(0, 115)));
    EXPECT_NE(kSelected, shot.At(BoxOf(0)));
}

TEST_F(ListCtrlTest, ShiftSelectsTheRangeFromTheOldSelection)
{
    struct Case {
        const char* what;
        int first;  // plain click first; -1 none
        int target; // shift click
        std::vector<int> selected;
        std::string changed;
    } cases[] = {
        {"no selection counts as row 0", -1, 3, {0, 1, 2, 3}, "changed 0>3"},
        {"downwards", 1, 4, {1, 2, 3, 4}, "changed 1>4"},
        {"upwards", 4, 2, {2, 3, 4}, "changed 4>2"},
    };
    for (const Case& c : cases) {
        SListCtrl* list = OpenList(ListLayout("multiSelection='1'"), 6);
        if (c.first >= 0)
            m_driver->Click(OnRow(c.first, 100));
        {
            HeldKeys shift({VK_SHIFT});
            m_driver->Click(OnRow(c.target, 100));
        }
        EXPECT_EQ(c.selected, Selected(list)) << c.what;
        EXPECT_EQ(c.changed, m_events.log.back()) << c.what;
        EXPECT_EQ(c.first, list->GetSelectedItem()) << c.what << ": the selection index stays";
        m_events.log.clear();
    }
}

TEST_F(ListCtrlTest, AVetoKeepsTheSelection)
{
    SListCtrl* list = OpenList(ListLayout("checkBox='1'"), 4);
    m_driver->Click(OnRow(1, 100));
    m_events.vetoed = 2;
    m_events.log.clear();
    m_driver->Click(OnRow(2, 100));
    m_driver->Click(BoxOf(2));
    EXPECT_EQ((std::vector<int>{1}), Selected(list));
    EXPECT_EQ(1, list->GetSelectedItem());
    EXPECT_EQ((std::vector<std::string>{"changing 1>2", "changing 1>2"}), m_events.log);

    // A double click reports its row, also none.
    m_events.log.clear();
    POINT row3 = OnRow(3, 100);
    m_driver->Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row3.x, row3.y));
    POINT empty = OnRow(5, 100);
    m_driver->Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(empty.x, empty.y));
    EXPECT_EQ((std::vector<std::string>{"changing 1>3", "changed 1>3", "dbclick 3", "changing 3>-1", "changed 3>-1",
                                        "dbclick -1"}),
              m_events.log);
}

TEST_F(ListCtrlTest, RowColoursFollowParityHotTrackingAndSelection)
{
    struct Case {
        const char* what;
        const char* attributes;
        UINT32 even, odd, selectedOdd, hot;
    } cases[] = {
        {"colours", "hotTrack='1' colorItemHotBkgnd='#00ff00'", kWhite, kOdd, kSelected, kHot},
        {"no odd colour", "hotTrack='1' colorItemHotBkgnd='#00ff00' colorItemBkgnd2='#ffffff00'", kWhite, kWhite,
         kSelected, kHot},
        {"no hot tracking", "colorItemHotBkgnd='#00ff00'", kWhite, kOdd, kSelected, kWhite},
    };
    for (const Case& c : cases) {
        OpenList(ListLayout(c.attributes), 5);
        m_driver->Click(OnRow(3, 175));
        m_driver->Move(OnRow(0, 175));
        Shot shot = m_driver->Capture();
        EXPECT_EQ(c.hot, shot.At(OnRow(0, 175))) << c.what;
        EXPECT_EQ(c.odd, shot.At(OnRow(1, 175))) << c.what;
        EXPECT_EQ(c.even, shot.At(OnRow(2, 175))) << c.what;
        EXPECT_EQ(c.selectedOdd, shot.At(OnRow(3, 175))) << c.what;
        m_driver->Leave();
        EXPECT_EQ(c.even, m_driver->Capture().At(OnRow(0, 175))) << c.what;
    }
}

TEST_F(ListCtrlTest, AnItemSkinReplacesTheSelectionColourButNotTheSelectionText)
{
    auto* rows = new RecordingPlainSkin(SIZE{10, 10}, 3);
    SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(L"rec.rows"), 100), rows);
    rows->Release();
    SListCtrl* list = OpenList(ListLayout("itemSkin='rec.rows' colorSelText='#ff0000'"), 3);
    list->SetSubItemText(1, 0, SStringW(L"WWWW"));
    list->SetSubItemImage(1, 0, -1);
    m_driver->Click(OnRow(1, 175));
    Shot shot = m_driver->Capture();
    EXPECT_EQ(Px(StateColor(2)), shot.At(OnRow(1, 175)));
    EXPECT_EQ(Px(StateColor(0)), shot.At(OnRow(0, 175)));
    RECT text = {4, 2 * kRow, 60, 3 * kRow};
    EXPECT_GT(shot.CountColor(text, 0xFFFF0000), 0);
    SaveBesideProgram(shot, L"listctrl.png");
}

TEST_F(ListCtrlTest, ScrollBarsFollowTheRowsAndColumns)
{
    struct Case {
        const char* what;
        int height; // of the host; the list area is 20 less
        int captionWidth;
        BOOL vertical, horizontal;
    } cases[] = {
        {"exactly as tall as its rows", 140, 60, FALSE, FALSE},
        {"taller by less than a bar, narrow columns", 150, 60, FALSE, FALSE},
        {"taller by less than a bar, wide columns", 150, 70, TRUE, TRUE},
        {"shorter than its rows", 130, 60, TRUE, FALSE},
        {"wide columns, room for the bar", 170, 70, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        SListCtrl* list = OpenList(ListLayout("", c.height, c.captionWidth), 6);
        EXPECT_EQ(c.vertical, list->IsScrollBarShown(TRUE)) << c.what;
        EXPECT_EQ(c.horizontal, list->IsScrollBarShown(FALSE)) << c.what;
    }
}

TEST_F(ListCtrlTest, TheHeaderFollowsHorizontalScrollingAndResizingMakesRoom)
{
    SListCtrl* list = OpenList(ListLayout("", 200, 60), 3);
    EXPECT_FALSE(list->IsScrollBarShown(FALSE));
    // Widening A from its edge past the client shows the horizontal bar.
    m_driver->Press(POINT{4 + 60 - 5, 10});
    m_driver->Drag(POINT{4 + 60 - 5 + 100, 10});
    m_driver->Release(POINT{4 + 60 - 5 + 100, 10});
    SHeaderCtrl* header = list->GetHeader();
    EXPECT_EQ(160, header->GetItemWidth(0));
    EXPECT_TRUE(list->IsScrollBarShown(FALSE));

    list->OnScroll(FALSE, SB_THUMBPOSITION, 50);
    EXPECT_EQ(50, list->ScrollOffset().x);
    RECT rect = header->GetWindowRect();
    EXPECT_EQ(-50, rect.left);
    EXPECT_EQ(200, rect.right);
    // Column B's icon moved left with it; scrolling past the end stops at the last pixel.
    EXPECT_EQ(2, IconIn(m_driver->Capture(), 0, 1, 50 - 100));
    list->OnScroll(FALSE, SB_THUMBPOSITION, 1000);
    EXPECT_EQ(header->GetTotalWidth() - 200, list->ScrollOffset().x);
}

TEST_F(ListCtrlTest, DeletingRowsReportsEachWithItsData)
{
    SListCtrl* list = OpenList(ListLayout(""), 3);
    m_driver->Click(OnRow(2, 100));
    EXPECT_TRUE(list->DeleteItem(1));
    EXPECT_EQ(1, list->GetSelectedItem()); // moved up with its row
    EXPECT_FALSE(list->DeleteItem(5));
    list->DeleteAllItems();
    EXPECT_EQ(-1, list->GetSelectedItem());
    EXPECT_EQ((std::vector<std::string>{"changing -1>2", "changed -1>2", "deleted 1 101", "deleted 0 100",
                                        "deleted 1 102"}),
              m_events.log);
    EXPECT_EQ(0, list->GetItemCount());

    // Destroying the window deletes the rows too.
    list->InsertItem(0, SStringW(L"last"));
    list->SetItemData(0, 7);
    m_events.log.clear();
    m_host->DestroyHost();
    EXPECT_EQ((std::vector<std::string>{"deleted 0 7"}), m_events.log);
}

TEST_F(ListCtrlTest, ARowHeightOfZeroOrLessIsRefused)
{
    SListCtrl* list = OpenList(ListLayout("itemHeight='0'"), 3);
    EXPECT_EQ(E_INVALIDARG, list->ApplyAttribute(SStringW(L"itemHeight"), SStringW(L"-1"), FALSE));
    EXPECT_EQ(2, list->HitTest(OnRow(2, 10)));
    EXPECT_EQ(6, list->GetCountPerPage(FALSE));
    EXPECT_EQ(E_FAIL, list->ApplyAttribute(SStringW(L"colorText"), SStringW(L""), FALSE));
}

} // namespace
} // namespace hosttest
