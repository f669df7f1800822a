// The list box in a real host: selection on press or (hot tracking) on release, vetoed changes,
// keys at the ends, insertion before the selection, the view width beside the bar, double clicks
// below the rows, characters to the owner, a refused row height, and the selected row's colour.
#include "control/SListBox.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

// The selection events of a list box; a changing event to vetoed is cancelled.
struct ListBoxEvents {
    bool OnChanging(EventLBSelChanging* evt)
    {
        log.push_back("changing " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        evt->cancel = evt->newSel == vetoed;
        return true;
    }
    bool OnChanged(EventLBSelChanged* evt)
    {
        log.push_back("changed " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        return true;
    }
    bool OnDbClick(EventLBDbClick* evt)
    {
        log.push_back("dbclick " + std::to_string(evt->item));
        return true;
    }
    void Watch(SListBox* list)
    {
        list->GetEventSet()->AddSubscriber(EventLBSelChanging::EventID, Subscriber(&ListBoxEvents::OnChanging, this));
        list->GetEventSet()->AddSubscriber(EventLBSelChanged::EventID, Subscriber(&ListBoxEvents::OnChanged, this));
        list->GetEventSet()->AddSubscriber(EventLBDbClick::EventID, Subscriber(&ListBoxEvents::OnDbClick, this));
    }
    std::vector<std::string> log;
    int vetoed = -100;
};

class ListBoxTest : public HostCtrlTest {
protected:
    // A 200 x 100 host filled by the list box "list" with count rows "row 0" ...
    SListBox* OpenList(int count, const std::string& attributes = "")
    {
        std::string items;
        for (int i = 0; i < count; ++i)
            items += "<item text='row " + std::to_string(i) + "'/>";
        m_driver.reset(new HostDriver(Open("<SKEIN width='200' height='100'><root colorBkgnd='#ffffff'>"
                                           "<listbox name='list' pos='0,0,-0,-0' sbWid='16' "
                                           + attributes + "><items>" + items + "</items></listbox></root></SKEIN>")));
        SListBox* list = m_driver->Find<SListBox>(L"list");
        if (list)
            m_events.Watch(list);
        return list;
    }
    POINT Row(int row) const { return m_driver->At(L"list", 10, row * 20 + 10); }

    std::unique_ptr<HostDriver> m_driver;
    ListBoxEvents m_events;
};

TEST_F(ListBoxTest, PlainListsSelectOnPressHotTrackingOnRelease)
{
    for (int hotTrack : {0, 1}) {
        SCOPED_TRACE(hotTrack);
        SListBox* list = OpenList(3, "hotTrack='" + std::to_string(hotTrack) + "'");
        ASSERT_NE(nullptr, list);
        m_driver->Press(Row(1));
        EXPECT_EQ(hotTrack ? -1 : 1, list->GetCurSel());
        m_driver->Release(Row(1));
        EXPECT_EQ(1, list->GetCurSel());
        EXPECT_EQ((std::vector<std::string>{"changing -1>1", "changed -1>1"}), m_events.log);
        m_events.log.clear();
    }
}

TEST_F(ListBoxTest, VetoKeepsTheSelectionAndRaisesNoChangedEvent)
{
    SListBox* list = OpenList(3, "curSel='0'");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, list->GetCurSel());
    m_events.vetoed = 2;
    m_driver->Click(Row(2));
    EXPECT_EQ(0, list->GetCurSel());
    EXPECT_EQ((std::vector<std::string>{"changing 0>2"}), m_events.log);
}

TEST_F(ListBoxTest, KeysStepWithinTheRowsAndFromTheHotRowWhenTracking)
{
    struct Case {
        const char* what;
        std::string attributes;
        int hoverRow; // -1: the mouse stays away
        UINT key;
        int selection;
    } cases[] = {
        {"up on the first row", "curSel='0'", -1, VK_UP, 0},
        {"down on the last row", "curSel='2'", -1, VK_DOWN, 2},
        {"down from the selection", "curSel='0'", -1, VK_DOWN, 1},
        {"nothing selected", "", -1, VK_DOWN, -1},
        {"from the hot row", "curSel='0' hotTrack='1'", 2, VK_UP, 1},
        {"hot row ignored without tracking", "curSel='0'", 2, VK_DOWN, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SListBox* list = OpenList(3, c.attributes);
        ASSERT_NE(nullptr, list);
        if (c.hoverRow >= 0)
            m_driver->Move(Row(c.hoverRow));
        list->SendUiMessage(WM_KEYDOWN, c.key, 1);
        EXPECT_EQ(c.selection, list->GetCurSel());
    }
}

TEST_F(ListBoxTest, InsertingBeforeTheSelectionKeepsTheSameRowSelected)
{
    SListBox* list = OpenList(3, "curSel='1'");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(0, list->InsertString(0, SStringW(L"new")));
    EXPECT_EQ(2, list->GetCurSel());
    EXPECT_EQ(SStringW(L"row 1"), list->GetText(list->GetCurSel()));
    EXPECT_EQ(4, list->InsertString(-1, SStringW(L"last")));
    EXPECT_EQ(2, list->GetCurSel());
    EXPECT_TRUE(m_events.log.empty());
    EXPECT_FALSE(list->SetCurSel(5));
    EXPECT_EQ(SStringW(), list->GetText(5));
}

TEST_F(ListBoxTest, ViewWidthLeavesRoomForTheBarOnlyWhenTheRowsOverflow)
{
    SListBox* list = OpenList(3);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(200, list->ViewSize().cx);
    EXPECT_EQ(60, list->ViewSize().cy);
    list->AddString(SStringW(L"4"));
    list->AddString(SStringW(L"5"));
    list->AddString(SStringW(L"6")); // 120 pixels in a 100-pixel list
    EXPECT_EQ(184, list->ViewSize().cx);
    EXPECT_EQ(120, list->ViewSize().cy);
    list->EnsureVisible(5);
    EXPECT_EQ(20, list->ViewOrigin().y);
    EXPECT_EQ(1, list->GetTopIndex());
    list->EnsureVisible(0);
    EXPECT_EQ(0, list->ViewOrigin().y);
}

TEST_F(ListBoxTest, DoubleClickBelowTheRowsClearsTheSelectionAndReportsNoItem)
{
    SListBox* list = OpenList(2, "curSel='1'");
    ASSERT_NE(nullptr, list);
    POINT below = Row(3);
    m_driver->Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(below.x, below.y));
    EXPECT_EQ(-1, list->GetCurSel());
    EXPECT_EQ((std::vector<std::string>{"changing 1>-1", "changed 1>-1", "dbclick -1"}), m_events.log);
}

TEST_F(ListBoxTest, CharactersGoToTheOwner)
{
    SListBox* list = OpenList(1);
    ASSERT_NE(nullptr, list);
    RecWnd owner;
    list->SetOwnerWindow(&owner);
    list->SendUiMessage(WM_CHAR, L'x', 0x00010001);
    ASSERT_EQ(1, owner.Count(WM_CHAR));
    EXPECT_EQ(static_cast<WPARAM>(L'x'), owner.log.back().second);
    list->SetOwnerWindow(nullptr);
}

TEST_F(ListBoxTest, RowHeightOfZeroIsRefused)
{
    SListBox* list = OpenList(3, "itemHeight='0'");
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(20, list->ItemHeightPx());
    POINT pt = Row(1);
    EXPECT_EQ(1, list->HitTest(pt));
    EXPECT_EQ(E_INVALIDARG, list->ApplyAttribute(SStringW(L"itemHeight"), SStringW(L"-4"), FALSE));
    EXPECT_EQ(20, list->ItemHeightPx());
}

TEST_F(ListBoxTest, SelectedRowIsFilledWithItsColour)
{
    SListBox* list = OpenList(3, "curSel='1' colorItemSelBkgnd='#ff0000' colorItemBkgnd2='#00ff00'");
    ASSERT_NE(nullptr, list);
    m_driver->Pump();
    Shot shot = m_driver->Capture();
    RECT rowArea = list->GetWindowRect();
    EXPECT_EQ(0xFFFF0000u, shot.At(150, rowArea.top + 30));
    EXPECT_EQ(0xFFFFFFFFu, shot.At(150, rowArea.top + 10));
    EXPECT_EQ(0xFFFFFFFFu, shot.At(150, rowArea.top + 70)); // below the rows
    list->SetCurSel(2);
    m_driver->Pump();
    shot = m_driver->Capture();
    EXPECT_EQ(0xFF00FF00u, shot.At(150, rowArea.top + 30)); // the odd row's own colour again
    EXPECT_EQ(0xFFFF0000u, shot.At(150, rowArea.top + 50));
}

// A list box lower than one row: a key step scrolls the new row to the top, not past it.
TEST_F(ListBoxTest, KeysInAListLowerThanARowScrollToTheRow)
{
    std::string items;
    for (int i = 0; i < 5; ++i)
        items += "<item text='row " + std::to_string(i) + "'/>";
    m_driver.reset(new HostDriver(Open("<SKEIN width='200' height='100'><root colorBkgnd='#ffffff'>"
                                       "<listbox name='list' pos='0,0,-0,@12' sbWid='16' curSel='0'><items>"
                                       + items + "</items></listbox></root></SKEIN>")));
    SListBox* list = m_driver->Find<SListBox>(L"list");
    ASSERT_NE(nullptr, list);
    for (int row : {1, 2}) {
        list->SendUiMessage(WM_KEYDOWN, VK_DOWN, 1);
        EXPECT_EQ(row, list->GetCurSel());
        EXPECT_EQ(row * 20, list->ScrollPosOf(TRUE));
    }
    list->SendUiMessage(WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(20, list->ScrollPosOf(TRUE));
}

} // namespace
} // namespace hosttest
