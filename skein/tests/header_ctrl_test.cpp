// The column header in a real host: captions read from XML, hit codes, hidden captions, edge
// resizing, caption drags that reorder, clicks, hover looks, and the events each gesture raises.
#include <map>
#include "control/SHeaderCtrl.h"
#include "core/SDragWnd.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

// Four 100-pixel captions A B C D across a 400 x 30 header.
std::string HeaderLayout(const std::string& attributes = "", const std::string& items = "")
{
    std::string captions = items.empty() ? "<item width='100px'>A</item><item width='100px'>B</item>"
                                           "<item width='100px'>C</item><item width='100px'>D</item>"
                                         : items;
    return "<SKEIN width='400' height='60'><root colorBkgnd='#ffffff'>"
           "<header name='hdr' pos='0,0,-0,30' "
           + attributes + "><items>" + captions + "</items></header></root></SKEIN>";
}

// Every header event, counted by id, with the fields of the last of each.
struct HeaderEvents {
    explicit HeaderEvents(SHeaderCtrl* header)
    {
        SEventSet* events = header->GetEventSet();
        events->AddSubscriber(EventHeaderClick::EventID, Subscriber(&HeaderEvents::OnClick, this));
        events->AddSubscriber(EventHeaderItemChanging::EventID, Subscriber(&HeaderEvents::OnChanging, this));
        events->AddSubscriber(EventHeaderItemChanged::EventID, Subscriber(&HeaderEvents::OnChanged, this));
        events->AddSubscriber(EventHeaderItemSwap::EventID, Subscriber(&HeaderEvents::OnSwap, this));
        events->AddSubscriber(EventHeaderRelayout::EventID, Subscriber(&HeaderEvents::OnRelayout, this));
    }
    bool OnClick(EventHeaderClick* evt) { return Note(evt, evt->item); }
    bool OnChanging(EventHeaderItemChanging* evt) { return Note(evt, evt->width); }
    bool OnChanged(EventHeaderItemChanged* evt) { return Note(evt, evt->width); }
    bool OnSwap(EventHeaderItemSwap* evt) { return Note(evt, evt->oldIndex * 10 + evt->newIndex); }
    bool OnRelayout(EventHeaderRelayout* evt) { return Note(evt, 0); }
    bool Note(EventArgs* evt, int value)
    {
        ++count[evt->GetId()];
        last[evt->GetId()] = value;
        return true;
    }
    void Reset()
    {
        count.clear();
        last.clear();
    }
    std::map<int, int> count;
    std::map<int, int> last;
};

class HeaderCtrlTest : public HostCtrlTest {
protected:
    SHeaderCtrl* OpenHeader(const std::string& layout)
    {
        m_driver.reset(new HostDriver(Open(layout)));
        SHeaderCtrl* header = m_driver->Find<SHeaderCtrl>(L"hdr");
        if (header)
            m_events.reset(new HeaderEvents(header));
        return header;
    }
    void TearDown() override
    {
        m_driver.reset();
        HostCtrlTest::TearDown();
    }
    static std::wstring Captions(SHeaderCtrl* header)
    {
        std::wstring texts;
        for (int i = 0; i < header->GetItemCount(); ++i) {
            HeaderItem item;
            item.mask = kHeaderMaskText;
            header->GetItem(i, item);
            texts += item.text.GetText(true).c_str();
        }
        return texts;
    }
    std::unique_ptr<HostDriver> m_driver;
    std::unique_ptr<HeaderEvents> m_events;
};

UINT Code(int low, int high)
{
    return MAKELONG(low, high);
}

TEST_F(HeaderCtrlTest, ItemsComeFromXmlAndBecomeNoWindows)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout(
        "", "<item width='60px' sortFlag='2' userData='0x10'>\n\t  First \r\n</item><item visible='0'>Gone</item>"
            "<item>Third</item>"));
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(0, header->GetChildCount());
    ASSERT_EQ(3, header->GetItemCount());
    HeaderItem first;
    first.mask = 0xFFFFFFFF;
    ASSERT_TRUE(header->GetItem(0, first));
    EXPECT_EQ(L"First", std::wstring(first.text.GetText(true).c_str()));
    EXPECT_EQ(2, first.sortFlag);
    EXPECT_EQ(0x10u, first.userData);
    HeaderItem third;
    third.mask = kHeaderMaskOrder | kHeaderMaskWidth;
    ASSERT_TRUE(header->GetItem(2, third));
    EXPECT_EQ(2, third.order);
    EXPECT_EQ(50, third.width.ToPixels(100));
    EXPECT_EQ(third.width.ToPixels(header->GetScale()), header->GetItemWidth(2));
    EXPECT_FALSE(header->IsItemVisible(1));
    EXPECT_EQ(0, header->GetItemWidth(1));
    EXPECT_EQ(60 + header->GetItemWidth(2), header->GetTotalWidth());
}

TEST_F(HeaderCtrlTest, HitCodesAndEdgeZones)
{
    struct Case {
        int x;
        UINT sortCode;  // sortHeader 1: 4-pixel edge zones
        UINT plainCode; // sortHeader 0: 2-pixel edge zones
    } cases[] = {
        {0, Code(0, 0), Code(0, 0)}, // the first caption's left zone is the caption
        {3, Code(0, 0), Code(0, 0)},     {50, Code(0, 0), Code(0, 0)},    {96, Code(0, 1), Code(0, 0)},
        {97, Code(0, 1), Code(0, 0)},    {98, Code(0, 1), Code(0, 1)},    {99, Code(0, 1), Code(0, 1)},
        {100, Code(0, 1), Code(0, 1)},   {103, Code(0, 1), Code(1, 1)},   {104, Code(1, 1), Code(1, 1)},
        {399, Code(3, 0xFFFF), Code(3, 0xFFFF)},
    };
    for (int sortHeader : {1, 0}) {
        SHeaderCtrl* header = OpenHeader(HeaderLayout("sortHeader='" + std::to_string(sortHeader) + "'"));
        ASSERT_NE(nullptr, header);
        for (const Case& c : cases) {
            UINT expected = sortHeader ? c.sortCode : c.plainCode;
            EXPECT_EQ(expected, header->HitTest(POINT{c.x, 10})) << "x " << c.x << " sortHeader " << sortHeader;
        }
        EXPECT_EQ(kHeaderHitNowhere, header->HitTest(POINT{50, 40}));
        EXPECT_TRUE(SHeaderCtrl::IsItemHover(Code(2, 2)));
        EXPECT_FALSE(SHeaderCtrl::IsItemHover(Code(2, 3)));
        EXPECT_FALSE(SHeaderCtrl::IsItemHover(kHeaderHitNowhere));
    }
    // Captions narrower than the header leave nowhere on their right.
    SHeaderCtrl* narrow = OpenHeader(HeaderLayout("", "<item width='100px'>A</item>"));
    ASSERT_NE(nullptr, narrow);
    EXPECT_EQ(kHeaderHitNowhere, narrow->HitTest(POINT{150, 10}));
}

TEST_F(HeaderCtrlTest, HiddenCaptionTakesNoRoomAndIndexesOutsideAreRefused)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout());
    ASSERT_NE(nullptr, header);
    header->SetItemVisible(1, FALSE);
    EXPECT_EQ(1, m_events->count[EventHeaderItemChanged::EventID]);
    EXPECT_EQ(0, m_events->last[EventHeaderItemChanged::EventID]);
    RECT hidden = header->GetItemRect(1);
    EXPECT_TRUE(::IsRectEmpty(&hidden));
    RECT next = header->GetItemRect(2);
    EXPECT_EQ(100, next.left);
    EXPECT_EQ(200, next.right);
    EXPECT_EQ(Code(2, 2), header->HitTest(POINT{150, 10}));
    // The edge before C lies between the visible neighbours A and C.
    EXPECT_EQ(Code(0, 2), header->HitTest(POINT{101, 10}));
    EXPECT_EQ(300, header->GetTotalWidth());

    m_events->Reset();
    for (int index : {-1, 4, 100}) {
        EXPECT_EQ(-1, header->GetItemWidth(index));
        EXPECT_FALSE(header->IsItemVisible(index));
        RECT rect = header->GetItemRect(index);
        EXPECT_TRUE(::IsRectEmpty(&rect));
        HeaderItem item;
        EXPECT_FALSE(header->GetItem(index, item));
        header->SetItemVisible(index, FALSE);
        header->SetItemSort(index, 1);
        header->RedrawItem(index);
    }
    EXPECT_TRUE(m_events->count.empty());
    EXPECT_EQ(300, header->GetTotalWidth());
}

TEST_F(HeaderCtrlTest, EdgeDragResizesAndReportsEachStepThenTheEnd)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout());
    ASSERT_NE(nullptr, header);
    m_driver->Press(POINT{101, 10}); // the edge between A and B
    m_driver->Drag(POINT{121, 10});
    m_driver->Drag(POINT{141, 10});
    EXPECT_EQ(140, header->GetItemWidth(0));
    EXPECT_EQ(2, m_events->count[EventHeaderItemChanging::EventID]);
    EXPECT_EQ(140, m_events->last[EventHeaderItemChanging::EventID]);
    EXPECT_EQ(2, m_events->count[EventHeaderRelayout::EventID]);
    EXPECT_EQ(0, m_events->count[EventHeaderItemChanged::EventID]);
    // Out of the header and past the caption's left edge: width 0, never negative.
    m_driver->Drag(POINT{0, 50});
    m_driver->Drag(POINT{0, 10});
    EXPECT_EQ(0, header->GetItemWidth(0));
    EXPECT_EQ(0, m_events->last[EventHeaderItemChanging::EventID]);
    m_driver->Release(POINT{0, 10});
    EXPECT_EQ(1, m_events->count[EventHeaderItemChanged::EventID]);
    EXPECT_EQ(0, m_events->last[EventHeaderItemChanged::EventID]);
    EXPECT_EQ(5, m_events->count[EventHeaderRelayout::EventID]);
    EXPECT_EQ(0, m_events->count[EventHeaderClick::EventID]);
    EXPECT_EQ(300, header->GetTotalWidth());
    // A collapsed caption is widened again from its edge, which now starts the header.
    EXPECT_EQ(Code(0, 1), header->HitTest(POINT{1, 10}));
    m_driver->Press(POINT{1, 10});
    m_driver->Drag(POINT{31, 10});
    m_driver->Release(POINT{31, 10});
    EXPECT_EQ(30, header->GetItemWidth(0));
}

TEST_F(HeaderCtrlTest, ScaledWidthsKeepTheirUnitWhenResized)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout("", "<item width='100dp'>A</item><item width='100dp'>B</item>"));
    ASSERT_NE(nullptr, header);
    int scale = header->GetScale();
    int start = header->GetItemWidth(0);
    m_driver->Press(POINT{start + 1, 10});
    m_driver->Drag(POINT{start + 31, 10});
    m_driver->Release(POINT{start + 31, 10});
    HeaderItem item;
    item.mask = kHeaderMaskWidth;
    header->GetItem(0, item);
    EXPECT_EQ(SLayoutSize::kDp, item.width.unit);
    EXPECT_EQ(start + 30, item.width.ToPixels(scale));
}

// With fixWidth an edge drag changes no width, yet its release still reports the caption's
// width and a relayout, as after a resize.
TEST_F(HeaderCtrlTest, FixedWidthKeepsTheDefaultCursorAndWidthsButReportsTheRelease)
{
    HCURSOR sizeWE = ::LoadCursorW(nullptr, IDC_SIZEWE);
    for (int fixWidth : {0, 1}) {
        SHeaderCtrl* header = OpenHeader(HeaderLayout("fixWidth='" + std::to_string(fixWidth) + "'"));
        ASSERT_NE(nullptr, header);
        ::SetCursor(nullptr);
        header->ApplyCursor(POINT{199, 10});
        EXPECT_EQ(fixWidth == 0, ::GetCursor() == sizeWE) << "fixWidth " << fixWidth;
        ::SetCursor(nullptr);
        header->ApplyCursor(POINT{150, 10});
        EXPECT_NE(sizeWE, ::GetCursor());

        m_driver->Press(POINT{200, 10});
        m_driver->Drag(POINT{230, 10});
        EXPECT_EQ(fixWidth ? 0 : 1, m_events->count[EventHeaderItemChanging::EventID]);
        m_events->Reset();
        m_driver->Release(POINT{230, 10});
        EXPECT_EQ(fixWidth ? 100 : 130, header->GetItemWidth(1));
        EXPECT_EQ(1, m_events->count[EventHeaderItemChanged::EventID]);
        EXPECT_EQ(fixWidth ? 100 : 130, m_events->last[EventHeaderItemChanged::EventID]);
        EXPECT_EQ(1, m_events->count[EventHeaderRelayout::EventID]);
    }
}

TEST_F(HeaderCtrlTest, CaptionDragsReorder)
{
    struct Case {
        int toX;
        const wchar_t* order;
        int swaps;
    } cases[] = {
        {350, L"ACDB", 1}, // B over D
        {50, L"BACD", 1},  // B over A
        {150, L"ABCD", 0}, // B on itself
        {250, L"ACBD", 1}, // B over C
    };
    for (const Case& c : cases) {
        SHeaderCtrl* header = OpenHeader(HeaderLayout());
        ASSERT_NE(nullptr, header);
        m_driver->Press(POINT{150, 10});
        m_driver->Drag(POINT{160, 10});
        EXPECT_NE(nullptr, CDragWnd::DragImageWindow());
        m_driver->Drag(POINT{c.toX, 10});
        m_driver->Release(POINT{c.toX, 10});
        EXPECT_EQ(nullptr, CDragWnd::DragImageWindow());
        EXPECT_EQ(c.order, Captions(header)) << "to " << c.toX;
        EXPECT_EQ(c.swaps, m_events->count[EventHeaderItemSwap::EventID]);
        EXPECT_EQ(c.swaps, m_events->count[EventHeaderRelayout::EventID]);
        EXPECT_EQ(0, m_events->count[EventHeaderClick::EventID]);
        if (c.swaps) {
            EXPECT_EQ(10 + c.toX / 100, m_events->last[EventHeaderItemSwap::EventID]);
        }
        // The moved caption takes its data column with it.
        HeaderItem moved;
        moved.mask = kHeaderMaskOrder;
        header->GetItem(c.toX / 100, moved);
        EXPECT_EQ(c.swaps ? 1 : c.toX / 100, moved.order);
    }
}

TEST_F(HeaderCtrlTest, DeactivationCancelsADragWithoutEvents)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout());
    ASSERT_NE(nullptr, header);
    m_driver->Press(POINT{150, 10});
    m_driver->Drag(POINT{350, 10});
    ASSERT_NE(nullptr, CDragWnd::DragImageWindow());
    m_driver->Send(WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_EQ(nullptr, CDragWnd::DragImageWindow());
    EXPECT_EQ(0u, header->QueryMouseCapture());
    m_driver->Release(POINT{350, 10});
    EXPECT_EQ(L"ABCD", Captions(header));
    EXPECT_TRUE(m_events->count.empty());
}

TEST_F(HeaderCtrlTest, ClicksAndHoverLooksFollowSortHeader)
{
    for (int sortHeader : {1, 0}) {
        SHeaderCtrl* header = OpenHeader(HeaderLayout("sortHeader='" + std::to_string(sortHeader) + "'"));
        ASSERT_NE(nullptr, header);
        RECT caption = {110, 2, 190, 28};
        Shot before = m_driver->Capture();
        m_driver->Move(POINT{150, 10});
        Shot hovered = m_driver->Capture();
        m_driver->Press(POINT{150, 10});
        Shot pressed = m_driver->Capture();
        m_driver->Release(POINT{150, 10});
        EXPECT_EQ(sortHeader != 0, hovered.Differs(before, caption)) << "sortHeader " << sortHeader;
        EXPECT_EQ(sortHeader != 0, pressed.Differs(hovered, caption));
        EXPECT_EQ(sortHeader, m_events->count[EventHeaderClick::EventID]);
        if (sortHeader) {
            EXPECT_EQ(1, m_events->last[EventHeaderClick::EventID]);
        }
        // Leaving the header returns the caption to its normal look.
        m_driver->Leave();
        m_driver->Pump();
        EXPECT_FALSE(m_driver->Capture().Differs(before, caption));
    }
}

TEST_F(HeaderCtrlTest, CaptionLeftWithTheButtonHeldLooksNormalAfterTheRelease)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout("itemSwapEnable='0'"));
    ASSERT_NE(nullptr, header);
    RECT caption = {110, 2, 190, 28};
    Shot before = m_driver->Capture();
    m_driver->Press(POINT{150, 10});
    m_driver->Drag(POINT{150, 50});
    EXPECT_TRUE(m_driver->Capture().Differs(before, caption));
    m_driver->Release(POINT{150, 50});
    EXPECT_FALSE(m_driver->Capture().Differs(before, caption));
    EXPECT_EQ(0, m_events->count[EventHeaderItemSwap::EventID]);
}

TEST_F(HeaderCtrlTest, DestroyingRaisesNoRelayout)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout());
    ASSERT_NE(nullptr, header);
    m_host->DestroyHost();
    EXPECT_EQ(0, m_events->count[EventHeaderRelayout::EventID]);
}

TEST_F(HeaderCtrlTest, NewSizeRaisesRelayout)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout());
    ASSERT_NE(nullptr, header);
    RECT rect = header->GetWindowRect();
    rect.right -= 50;
    header->ApplyRect(rect);
    EXPECT_EQ(1, m_events->count[EventHeaderRelayout::EventID]);
    header->ApplyRect(rect);
    EXPECT_EQ(1, m_events->count[EventHeaderRelayout::EventID]);
}

// A B C of 60 each: C's right edge dragged left past its left edge collapses C, which is then
// widened again from the zone right of B's edge; a collapsed middle caption likewise.
TEST_F(HeaderCtrlTest, ACollapsedCaptionIsWidenedAgainFromItsEdge)
{
    SHeaderCtrl* header = OpenHeader(HeaderLayout(
        "", "<item width='60px'>A</item><item width='60px'>B</item><item width='60px'>C</item>"));
    ASSERT_NE(nullptr, header);
    m_driver->Press(POINT{179, 10});
    m_driver->Drag(POINT{100, 10});
    m_driver->Release(POINT{100, 10});
    ASSERT_EQ(0, header->GetItemWidth(2));
    EXPECT_EQ(Code(1, 2), header->HitTest(POINT{119, 10}));
    EXPECT_EQ(Code(2, 0xFFFF), header->HitTest(POINT{121, 10}));
    EXPECT_EQ(kHeaderHitNowhere, header->HitTest(POINT{124, 10}));
    m_driver->Press(POINT{121, 10});
    m_driver->Drag(POINT{161, 10});
    m_driver->Release(POINT{161, 10});
    EXPECT_EQ(40, header->GetItemWidth(2));
    EXPECT_EQ(60, header->GetItemWidth(1));

    m_driver->Press(POINT{119, 10}); // B's right edge, now followed by C
    m_driver->Drag(POINT{50, 10});
    m_driver->Release(POINT{50, 10});
    ASSERT_EQ(0, header->GetItemWidth(1));
    EXPECT_EQ(Code(1, 2), header->HitTest(POINT{61, 10}));
    m_driver->Press(POINT{61, 10});
    m_driver->Drag(POINT{81, 10});
    m_driver->Release(POINT{81, 10});
    EXPECT_EQ(20, header->GetItemWidth(1));
}

// The program empties the header in the middle of a press, a caption drag or an edge drag:
// the gesture ends there, and its release reports nothing about captions that are gone.
TEST_F(HeaderCtrlTest, CaptionsDeletedMidGestureEndTheGesture)
{
    struct Case {
        const char* what;
        POINT press;
        POINT moveTo;
    } cases[] = {
        {"press on C", {250, 10}, {250, 10}},
        {"C dragged over A", {250, 10}, {50, 10}},
        {"C's right edge dragged", {399, 10}, {380, 10}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SHeaderCtrl* header = OpenHeader(HeaderLayout());
        ASSERT_NE(nullptr, header);
        m_driver->Press(c.press);
        if (c.moveTo.x != c.press.x)
            m_driver->Drag(c.moveTo);
        header->DeleteAllItems();
        m_events->Reset();
        EXPECT_EQ(nullptr, CDragWnd::DragImageWindow());
        m_driver->Drag(POINT{c.moveTo.x + 5, 10});
        m_driver->Release(POINT{c.moveTo.x + 5, 10});
        EXPECT_TRUE(m_events->count.empty());
        EXPECT_EQ(0, header->GetItemCount());
        EXPECT_EQ(0u, header->QueryMouseCapture());
    }
}

} // namespace
} // namespace hosttest
