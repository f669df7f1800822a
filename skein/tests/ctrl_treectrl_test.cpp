// The tree control in a real host: items from nested XML, counts and widths through expanding
// and collapsing, three-state checks propagated both ways, toggles and check boxes under the
// mouse, double clicks, selection with veto, scrolling to an item, refused inserts, and what a
// row paints where.
#include "control/STreeCtrl.h"
#include "ctrl_scroll_test_env.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using ctrltest::RecordingPlainSkin;
using ctrltest::StateColor;
using wndtest::Px;

const int kPart = 12; // toggle, check box and icon skins are 12 x 12
const int kRow = 20;

// Every event of a tree as a line naming items by their text; a changing selection to vetoed
// and every double click (with cancelDbClick) are cancelled.
struct TreeEvents {
    void Watch(STreeCtrl* watched)
    {
        tree = watched;
        for (int id : {int(EventTCSelChanging::EventID), int(EventTCSelChanged::EventID), int(EventTCExpand::EventID),
                       int(EventTCCheckState::EventID), int(EventTCDbClick::EventID)})
            tree->GetEventSet()->AddSubscriber(id, Subscriber(&TreeEvents::OnEvent, this));
    }
    std::string Name(STreeHandle item) const
    {
        tagTVITEM* record = item ? tree->ItemOf(item) : nullptr;
        return record ? std::string(record->text.c_str(), record->text.c_str() + record->text.Length()) : "-";
    }
    bool OnEvent(EventArgs* evt)
    {
        if (auto* e = dynamic_cast<EventTCSelChanging*>(evt)) {
            log.push_back("changing " + Name(e->oldSel) + ">" + Name(e->newSel));
            e->cancel = Name(e->newSel) == vetoed;
        } else if (auto* e = dynamic_cast<EventTCSelChanged*>(evt)) {
            log.push_back("changed " + Name(e->oldSel) + ">" + Name(e->newSel));
        } else if (auto* e = dynamic_cast<EventTCExpand*>(evt)) {
            log.push_back("expand " + Name(e->item) + (e->collapsed ? " collapsed" : " expanded"));
        } else if (auto* e = dynamic_cast<EventTCCheckState*>(evt)) {
            log.push_back("check " + Name(e->item) + " " + std::to_string(e->checkState));
        } else if (auto* e = dynamic_cast<EventTCDbClick*>(evt)) {
            log.push_back("dbclick " + Name(e->item));
            e->cancel = cancelDbClick;
        }
        return true;
    }
    STreeCtrl* tree = nullptr;
    std::vector<std::string> log;
    std::string vetoed;
    BOOL cancelDbClick = FALSE;
};

class TreeCtrlTest : public HostCtrlTest {
protected:
    void SetUp() override
    {
        HostCtrlTest::SetUp();
        m_toggle = AddSkin(L"rec.toggle", 6);
        m_check = AddSkin(L"rec.check", 9);
        m_icon = AddSkin(L"rec.icon", 4);
    }
    void TearDown() override
    {
        m_driver.reset();
        HostCtrlTest::TearDown();
    }
    RecordingPlainSkin* AddSkin(const wchar_t* name, int states)
    {
        auto* skin = new RecordingPlainSkin(SIZE{kPart, kPart}, states);
        SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(name), 100), skin);
        skin->Release();
        return skin;
    }

    // A 200 x 120 host filled by the tree "tree" (20-pixel rows, 16-pixel bars) holding items.
    STreeCtrl* OpenTree(const std::string& items, const std::string& attributes = "")
    {
        m_driver.reset(new HostDriver(
            Open("<SKEIN width='200' height='120'><root colorBkgnd='#ffffff'><treectrl name='tree' "
                 "pos='0,0,-0,-0' sbWid='16' toggleSkin='rec.toggle' checkSkin='rec.check' "
                 + attributes + ">" + items + "</treectrl></root></SKEIN>")));
        STreeCtrl* tree = m_driver->Find<STreeCtrl>(L"tree");
        if (tree)
            m_events.Watch(tree);
        return tree;
    }

    // The item whose text is text (0 when none).
    static STreeHandle Item(STreeCtrl* tree, const wchar_t* text)
    {
        for (STreeHandle item = tree->GetNextItem(kTviRoot); item; item = tree->GetNextItem(item)) {
            if (tree->ItemOf(item)->text == text)
                return item;
        }
        return 0;
    }
    static int Check(STreeCtrl* tree, const wchar_t* text) { return tree->ItemOf(Item(tree, text))->checkState; }
    // Points of a shown item's row: the centre of its toggle, of its check box, on its text.
    static POINT PartOf(STreeCtrl* tree, const wchar_t* text, int dx)
    {
        RECT row = {};
        EXPECT_TRUE(tree->GetItemRect(Item(tree, text), &row)) << "row of " << std::string(text, text + wcslen(text));
        return POINT{row.left + dx, row.top + kRow / 2};
    }
    static POINT ToggleOf(STreeCtrl* tree, const wchar_t* text) { return PartOf(tree, text, kPart / 2); }
    static POINT CheckOf(STreeCtrl* tree, const wchar_t* text) { return PartOf(tree, text, kPart + kPart / 2); }
    static POINT TextOf(STreeCtrl* tree, const wchar_t* text) { return PartOf(tree, text, 3 * kPart + 6); }

    void DoubleClick(POINT pt)
    {
        m_driver->Click(pt);
        m_driver->Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        m_driver->Release(pt);
    }
    UINT32 PixelAt(POINT pt) { return m_driver->Capture().At(pt); }

    RecordingPlainSkin* m_toggle = nullptr;
    RecordingPlainSkin* m_check = nullptr;
    RecordingPlainSkin* m_icon = nullptr;
    std::unique_ptr<HostDriver> m_driver;
    TreeEvents m_events;
};

// a (b (c, d), e), f: b collapsed.
const char kNested[] = "<item text='a'><item text='b' expand='0'><item text='c'/><item text='d'/></item>"
                       "<item text='e'/></item><item text='f'/>";

TEST_F(TreeCtrlTest, NestedItemsLoadWithTheirAttributesAndExpandUnlessTold)
{
    struct Case {
        const char* what;
        const char* items;
        int rows;
        int toggleFrame; // of the first item
    } cases[] = {
        {"expanded by default", "<item text='p'><item text='c'/></item>", 2, 3},
        {"expand set to 0", "<item text='p' expand='0'><item text='c'/></item>", 1, 0},
        {"a childless item has no toggle", "<item text='p' expand='0'/>", 1, -1},
    };
    for (const Case& c : cases) {
        STreeCtrl* tree = OpenTree(c.items);
        ASSERT_NE(nullptr, tree) << c.what;
        EXPECT_EQ(c.rows, tree->VisibleCount()) << c.what;
        EXPECT_EQ(c.rows * kRow, tree->ViewSize().cy) << c.what;
        UINT32 expected = c.toggleFrame < 0 ? 0xFFFFFFFF : Px(StateColor(c.toggleFrame));
        EXPECT_EQ(expected, PixelAt(ToggleOf(tree, L"p"))) << c.what;
    }

    STreeCtrl* tree = OpenTree("<item text=' raw &amp; kept ' img='3' selImg='x' data='0x10'><item/></item>");
    tagTVITEM* item = tree->ItemOf(tree->GetNextItem(kTviRoot));
    EXPECT_STREQ(L" raw & kept ", item->text.c_str());
    EXPECT_EQ(3, item->image);
    EXPECT_EQ(0, item->selectedImage); // unparsable
    EXPECT_EQ(0x10u, item->data);
    EXPECT_EQ(1, tree->ItemOf(tree->GetChildItem(item->handle))->level);
}

TEST_F(TreeCtrlTest, CollapsingCountsOnlyTheRowsThatWereShown)
{
    STreeCtrl* tree = OpenTree(kNested);
    EXPECT_EQ(4, tree->VisibleCount()); // a b e f
    struct Step {
        const wchar_t* item;
        int code;
        BOOL done;
        int rows;
    } steps[] = {
        {L"a", kTcCollapse, TRUE, 2},  {L"a", kTcCollapse, FALSE, 2}, {L"a", kTcExpand, TRUE, 4},
        {L"a", kTcExpand, FALSE, 4},   {L"b", kTcToggle, TRUE, 6},    {L"a", kTcToggle, TRUE, 2},
        {L"f", kTcToggle, FALSE, 2},   {L"a", 4, FALSE, 2},
    };
    for (const Step& s : steps) {
        EXPECT_EQ(s.done, tree->Expand(Item(tree, s.item), s.code));
        EXPECT_EQ(s.rows, tree->VisibleCount());
        EXPECT_EQ(s.rows * kRow, tree->ViewSize().cy);
    }
    // Expanding b while a hides it shows nothing yet.
    tree->Expand(Item(tree, L"b"), kTcCollapse);
    tree->Expand(Item(tree, L"b"), kTcExpand);
    EXPECT_EQ(2, tree->VisibleCount());
    EXPECT_FALSE(tree->ItemOf(Item(tree, L"c"))->visible);
    EXPECT_EQ(-1, tree->GetItemShowIndex(Item(tree, L"c")));
    tree->Expand(Item(tree, L"a"), kTcExpand);
    EXPECT_EQ(6, tree->VisibleCount());
    EXPECT_EQ(3, tree->GetItemShowIndex(Item(tree, L"d")));
}

TEST_F(TreeCtrlTest, TheViewIsAsWideAsTheWidestShownRow)
{
    STreeCtrl* tree = OpenTree("<item text='a'><item text='a much longer text than any other'/></item>"
                               "<item text='b'/>");
    STreeHandle a = Item(tree, L"a");
    STreeHandle child = tree->GetChildItem(a);
    int childWidth = 16 + tree->ItemOf(child)->contentWidth;
    EXPECT_GT(childWidth, tree->ItemOf(a)->contentWidth);
    EXPECT_EQ(childWidth, tree->MaxItemWidth());
    EXPECT_EQ(childWidth, tree->ViewSize().cx);
    tree->Expand(a, kTcCollapse);
    EXPECT_EQ(std::max(tree->ItemOf(a)->contentWidth, tree->ItemOf(Item(tree, L"b"))->contentWidth),
              tree->MaxItemWidth());
}

TEST_F(TreeCtrlTest, ChecksPropagateDownAndPartialStatesUp)
{
    STreeCtrl* tree = OpenTree("<item text='r'><item text='a'><item text='a1'/><item text='a2'/></item>"
                               "<item text='b'/></item>",
                               "checkBox='1'");
    EXPECT_TRUE(tree->SetCheckState(Item(tree, L"r"), TRUE));
    for (const wchar_t* text : {L"r", L"a", L"a1", L"a2", L"b"})
        EXPECT_EQ(1, Check(tree, text));
    EXPECT_TRUE(m_events.log.empty()); // setting from code raises nothing

    struct Click {
        const wchar_t* item;
        int r, a, a1, a2, b;
    } clicks[] = {
        {L"a1", 2, 2, 0, 1, 1}, // unchecked: every ancestor partly checked
        {L"a2", 2, 0, 0, 0, 1}, // a's children agree again; r does not
        {L"b", 0, 0, 0, 0, 0},  // every row unchecked
        {L"a1", 2, 2, 1, 0, 0},
        {L"a", 2, 1, 1, 1, 0},  // a partly checked box becomes checked, down the branch
        {L"b", 1, 1, 1, 1, 1},
    };
    for (const Click& c : clicks) {
        m_events.log.clear();
        m_driver->Click(CheckOf(tree, c.item));
        EXPECT_EQ((std::vector<int>{c.r, c.a, c.a1, c.a2, c.b}),
                  (std::vector<int>{Check(tree, L"r"), Check(tree, L"a"), Check(tree, L"a1"), Check(tree, L"a2"),
                                    Check(tree, L"b")}));
        std::string name(c.item, c.item + wcslen(c.item));
        ASSERT_FALSE(m_events.log.empty());
        EXPECT_EQ("check " + name + " " + std::to_string(Check(tree, c.item)), m_events.log.back());
    }
    // Each state has its frame: partly checked 6, checked 3, unchecked 0.
    m_driver->Click(CheckOf(tree, L"a1"));
    m_driver->Move(TextOf(tree, L"b"));
    Shot shot = m_driver->Capture();
    EXPECT_EQ(Px(StateColor(6)), shot.At(CheckOf(tree, L"r")));
    EXPECT_EQ(Px(StateColor(0)), shot.At(CheckOf(tree, L"a1")));
    EXPECT_EQ(Px(StateColor(3)), shot.At(CheckOf(tree, L"a2")));

    // Without check boxes nothing changes.
    tree->ApplyAttribute(SStringW(L"checkBox"), SStringW(L"0"), FALSE);
    EXPECT_FALSE(tree->SetCheckState(Item(tree, L"b"), FALSE));
    EXPECT_EQ(1, Check(tree, L"b"));
}

// The toggle's frame through one gesture: hover, press (expands at once), release, leave.
TEST_F(TreeCtrlTest, TheToggleShowsHoverAndPressAndExpandsOnThePress)
{
    STreeCtrl* tree = OpenTree(kNested);
    POINT toggle = ToggleOf(tree, L"b");
    m_driver->Move(toggle);
    EXPECT_EQ(Px(StateColor(1)), PixelAt(toggle));
    m_driver->Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(toggle.x, toggle.y));
    EXPECT_EQ(6, tree->VisibleCount());
    EXPECT_EQ(Px(StateColor(5)), PixelAt(toggle));
    m_driver->Release(toggle);
    EXPECT_EQ(Px(StateColor(4)), PixelAt(toggle));
    m_driver->Move(TextOf(tree, L"b"));
    EXPECT_EQ(Px(StateColor(3)), PixelAt(toggle));
    m_driver->Move(toggle);
    m_driver->Leave();
    EXPECT_EQ(Px(StateColor(3)), PixelAt(toggle));
    EXPECT_EQ((std::vector<std::string>{"changing ->b", "changed ->b", "expand b expanded"}), m_events.log);
}

TEST_F(TreeCtrlTest, ADoubleClickTogglesTwiceUnlessCancelled)
{
    struct Case {
        const char* what;
        BOOL cancel;
        bool onToggle;
        int rows;
        std::vector<std::string> expands;
    } cases[] = {
        {"on the toggle", FALSE, true, 4, {"expand b expanded", "dbclick b", "expand b collapsed"}},
        {"on the toggle, cancelled", TRUE, true, 6, {"expand b expanded", "dbclick b"}},
        {"on the text", FALSE, false, 6, {"dbclick b", "expand b expanded"}},
    };
    for (const Case& c : cases) {
        STreeCtrl* tree = OpenTree(kNested);
        m_events.cancelDbClick = c.cancel;
        DoubleClick(c.onToggle ? ToggleOf(tree, L"b") : TextOf(tree, L"b"));
        EXPECT_EQ(c.rows, tree->VisibleCount()) << c.what;
        std::vector<std::string> expands;
        for (const std::string& line : m_events.log) {
            if (line.rfind("expand", 0) == 0 || line.rfind("dbclick", 0) == 0)
                expands.push_back(line);
        }
        EXPECT_EQ(c.expands, expands) << c.what;
        m_events.log.clear();
    }

    // On a check box the state toggles twice too, each release reporting it.
    STreeCtrl* tree = OpenTree("<item text='x'/>", "checkBox='1'");
    m_events.cancelDbClick = FALSE;
    DoubleClick(CheckOf(tree, L"x"));
    EXPECT_EQ(0, Check(tree, L"x"));
    EXPECT_EQ((std::vector<std::string>{"changing ->x", "changed ->x", "check x 1", "dbclick x", "check x 0"}),
              m_events.log);
}

TEST_F(TreeCtrlTest, SelectionRaisesEventsThatAHandlerCanVeto)
{
    STreeCtrl* tree = OpenTree(kNested, "rightClickSel='1'");
    m_events.vetoed = "e";
    m_driver->Click(TextOf(tree, L"a"));
    EXPECT_EQ(Item(tree, L"a"), tree->GetSelectedItem());
    m_driver->Click(TextOf(tree, L"e"));
    EXPECT_EQ(Item(tree, L"a"), tree->GetSelectedItem());
    EXPECT_FALSE(tree->SelectItem(Item(tree, L"e")));
    EXPECT_FALSE(tree->SelectItem(0));
    POINT f = TextOf(tree, L"f");
    m_driver->Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(f.x, f.y));
    EXPECT_EQ(Item(tree, L"f"), tree->GetSelectedItem());
    EXPECT_EQ((std::vector<std::string>{"changing ->a", "changed ->a", "changing a>e", "changing a>e", "changing a>f",
                                        "changed a>f"}),
              m_events.log);

    // Below the last row nothing is hit and nothing changes.
    m_events.log.clear();
    m_driver->Click(POINT{40, 4 * kRow + 5});
    POINT below = {40, 4 * kRow + 5};
    EXPECT_EQ(0u, tree->HitTest(below));
    EXPECT_EQ(Item(tree, L"f"), tree->GetSelectedItem());
    EXPECT_TRUE(m_events.log.empty());
}

TEST_F(TreeCtrlTest, EnsureVisibleExpandsEveryCollapsedAncestorAndScrolls)
{
    std::string items;
    for (int i = 0; i < 8; ++i)
        items += "<item text='top" + std::to_string(i) + "'/>";
    items += "<item text='x' expand='0'><item text='y' expand='0'><item text='z'/></item></item>";
    STreeCtrl* tree = OpenTree(items);
    STreeHandle z = Item(tree, L"z");
    m_events.log.clear();
    EXPECT_TRUE(tree->EnsureVisible(z));
    EXPECT_EQ((std::vector<std::string>{"expand x expanded", "expand y expanded"}), m_events.log);
    EXPECT_EQ(11, tree->VisibleCount());
    // z's row ends at the client's bottom (120 high with no horizontal bar).
    EXPECT_EQ(11 * kRow - 120, tree->ViewOrigin().y);
    RECT row = {};
    ASSERT_TRUE(tree->GetItemRect(z, &row));
    EXPECT_EQ((std::vector<LONG>{2 * 16, 100, 200 - 16, 120}),
              (std::vector<LONG>{row.left, row.top, row.right, row.bottom}));
    POINT hit = {row.left + 30, row.top + 5};
    EXPECT_EQ(z, tree->HitTest(hit));
    EXPECT_EQ(30, hit.x);
    EXPECT_EQ(5, hit.y);

    // Back to the top: an item above the view becomes the first row.
    EXPECT_TRUE(tree->EnsureVisible(Item(tree, L"top1")));
    EXPECT_EQ(kRow, tree->ViewOrigin().y);
    EXPECT_FALSE(tree->EnsureVisible(0));
}

TEST_F(TreeCtrlTest, RefusedInsertsAndDeletionsKeepTheCountsRight)
{
    STreeCtrl* tree = OpenTree("<item text='a'/><item text='b'><item text='b1'/></item>");
    STreeHandle a = Item(tree, L"a");
    // After a node of another parent: refused, the record is the control's to free.
    tagTVITEM* record = new tagTVITEM;
    record->text = L"stray";
    EXPECT_EQ(0u, tree->InsertItem(record, a, Item(tree, L"b1")));
    EXPECT_EQ(3, tree->VisibleCount());
    EXPECT_EQ(0, tree->ItemOf(a)->hasChildren);
    EXPECT_EQ(0u, tree->GetChildItem(a));

    tagTVITEM* child = new tagTVITEM;
    child->text = L"a1";
    STreeHandle a1 = tree->InsertItem(child, a, kTviLast, TRUE);
    ASSERT_NE(0u, a1);
    EXPECT_EQ(1, tree->ItemOf(a)->hasChildren);
    EXPECT_EQ(4, tree->VisibleCount());

    // Deleting takes the rows, the selection and the parent's toggle along.
    tree->SelectItem(a1);
    EXPECT_TRUE(tree->DeleteItem(a1));
    EXPECT_EQ(3, tree->VisibleCount());
    EXPECT_EQ(0u, tree->GetSelectedItem());
    EXPECT_EQ(0, tree->ItemOf(a)->hasChildren);
    tree->Expand(Item(tree, L"b"), kTcCollapse);
    EXPECT_TRUE(tree->DeleteItem(Item(tree, L"b")));
    EXPECT_EQ(1, tree->VisibleCount());
    EXPECT_EQ(kRow, tree->ViewSize().cy);
    tree->RemoveAllItems();
    EXPECT_EQ(0, tree->VisibleCount());
    EXPECT_EQ(0, tree->ViewSize().cx);
    EXPECT_EQ(0, tree->ViewSize().cy);
}

TEST_F(TreeCtrlTest, ARowHeightOfZeroOrLessIsRefused)
{
    STreeCtrl* tree = OpenTree(kNested, "itemHeight='0'");
    EXPECT_EQ(kRow, tree->ItemHeight());
    EXPECT_EQ(E_INVALIDARG, tree->ApplyAttribute(SStringW(L"itemHeight"), SStringW(L"-5"), FALSE));
    EXPECT_EQ(S_OK, tree->ApplyAttribute(SStringW(L"itemHeight"), SStringW(L"30"), FALSE));
    EXPECT_EQ(4 * 30, tree->ViewSize().cy);
    POINT pt = {40, 30 + 5};
    EXPECT_EQ(Item(tree, L"b"), tree->HitTest(pt));
    EXPECT_EQ(E_FAIL, tree->ApplyAttribute(SStringW(L"colorItemText"), SStringW(L""), FALSE));
}

TEST_F(TreeCtrlTest, RowsPaintIndentedWithTheirPartsAndTheSelection)
{
    STreeCtrl* tree = OpenTree(kNested, "checkBox='1' iconSkin='rec.icon' colorItemSelBkgnd='#0000ff' "
                                        "colorItemSelText='#ffff00'");
    tree->ItemOf(Item(tree, L"e"))->image = 2;
    tree->ItemOf(Item(tree, L"e"))->selectedImage = 3;
    m_driver->Click(TextOf(tree, L"e"));
    m_driver->Leave();
    Shot shot = m_driver->Capture();
    SaveBesideProgram(shot, L"treectrl.png");
    // e: level 1, row 2; check box then icon after the toggle's place.
    int left = 16, top = 2 * kRow;
    EXPECT_EQ(0xFFFFFFFFu, shot.At(left + 6, top + 10)) << "no toggle without children";
    EXPECT_EQ(Px(StateColor(0)), shot.At(left + kPart + 6, top + 10));
    EXPECT_EQ(Px(StateColor(3)), shot.At(left + 2 * kPart + 6, top + 10)) << "selected icon";
    tagTVITEM* e = tree->ItemOf(Item(tree, L"e"));
    RECT selection = {left + 3 * kPart + 4, top, left + e->contentWidth, top + kRow};
    EXPECT_GT(shot.Count(selection, [](UINT32 px) { return px == 0xFF0000FF; }), 0);
    EXPECT_GT(shot.Count(selection, [](UINT32 px) { return px == 0xFFFFFF00; }), 0) << "selected text colour";
    // b's toggle at its indent, a's at the left; unselected rows fill nothing behind the text.
    EXPECT_EQ(Px(StateColor(0)), shot.At(16 + 6, kRow + 10));
    EXPECT_EQ(Px(StateColor(3)), shot.At(6, 10));
    RECT aText = {3 * kPart + 4, 0, tree->ItemOf(Item(tree, L"a"))->contentWidth, kRow};
    EXPECT_EQ(0, shot.Count(aText, [](UINT32 px) { return px == 0xFF0000FF; }));
    EXPECT_GT(shot.Count(aText, [](UINT32 px) { return px == 0xFF000000; }), 0) << "text in colorItemText";
}

} // namespace
} // namespace hosttest
