// The tree view in a real host with a test tree adapter: panels for the shown items placed by
// indent and measured size, expansion by double click and keys, the keyboard walk bringing
// whole items into view, selection events with veto, the horizontal bar, and the tooltips and
// the wheel of windows inside the items.
#include "control/SComboBox.h"
#include "control/STreeView.h"
#include "core/STipCtrl.h"
#include "host_ctrl_test_env.h"
#include "treeview_test_adapter.h"

namespace hosttest {
namespace {

using treetest::TestTreeAdapter;

const char kFaceTemplate[] = "<template colorSelected='#0000ff'><window name='face' pos='0,0,-0,-0'/></template>";

// A 200 x 200 host filled by the tree view "tree"; the wheel goes to the window under the mouse.
std::string TreeLayout(const std::string& attributes = "", const std::string& itemTemplate = kFaceTemplate)
{
    return "<SKEIN width='200' height='200' sendWheel2Hover='1'><root colorBkgnd='#ffffff'>"
           "<treeview name='tree' pos='0,0,-0,-0' sbWid='16' "
           + attributes + ">" + itemTemplate + "</treeview></root></SKEIN>";
}

// The tooltip window of this thread's host.
HWND OwnTipWindow()
{
    for (HWND tip = ::FindWindowExW(nullptr, nullptr, nullptr, L"skein tooltip"); tip;
         tip = ::FindWindowExW(nullptr, tip, nullptr, L"skein tooltip")) {
        if (::GetWindowThreadProcessId(tip, nullptr) == ::GetCurrentThreadId())
            return tip;
    }
    return nullptr;
}

class TreeViewTest : public HostCtrlTest {
protected:
    // P (expanded) holds Q (collapsed: q1 q2 q3) and R; S follows at the top level; each item
    // 80 x 20.
    STreeView* OpenTree(const std::string& attributes = "", const std::string& itemTemplate = kFaceTemplate)
    {
        m_driver.reset(new HostDriver(Open(TreeLayout(attributes, itemTemplate))));
        m_adapter.Attach(new TestTreeAdapter);
        p = m_adapter->Add(kTviRoot);
        q = m_adapter->Add(p, false);
        q1 = m_adapter->Add(q);
        q2 = m_adapter->Add(q);
        q3 = m_adapter->Add(q);
        r = m_adapter->Add(p);
        s = m_adapter->Add(kTviRoot);
        STreeView* tree = m_driver->Find<STreeView>(L"tree");
        if (tree) {
            tree->SetAdapter(m_adapter);
            tree->GetEventSet()->AddSubscriber(EventTVSelChanging::EventID, Subscriber(&TreeViewTest::OnChanging, this));
            tree->GetEventSet()->AddSubscriber(EventTVSelChanged::EventID, Subscriber(&TreeViewTest::OnChanged, this));
        }
        return tree;
    }
    void TearDown() override
    {
        m_driver.reset();
        HostCtrlTest::TearDown();
        m_adapter = nullptr;
    }
    bool OnChanging(EventTVSelChanging* evt)
    {
        m_events.push_back("changing " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        evt->cancel = evt->newSel == m_vetoed;
        return true;
    }
    bool OnChanged(EventTVSelChanged* evt)
    {
        m_events.push_back("changed " + std::to_string(evt->oldSel) + ">" + std::to_string(evt->newSel));
        return true;
    }
    std::vector<STreeHandle> Shown(STreeView* tree) const
    {
        std::vector<STreeHandle> items;
        for (const auto& node : m_adapter->nodes) {
            if (node.first != kTviRoot && tree->ItemPanelOf(node.first))
                items.push_back(node.first);
        }
        return items;
    }
    RECT RectOf(STreeView* tree, STreeHandle item)
    {
        RECT rect = {0, 0, 0, 0};
        if (SItemPanel* panel = tree->ItemPanelOf(item))
            tree->ItemRect(panel, &rect);
        return rect;
    }
    static POINT Inside(const RECT& rect) { return POINT{rect.left + 5, rect.top + 5}; }
    // count more top-level items after S, and every item sized.
    std::vector<STreeHandle> AddItems(int count, SIZE size)
    {
        std::vector<STreeHandle> added;
        for (int i = 0; i < count; ++i)
            added.push_back(m_adapter->Add(kTviRoot));
        for (auto& node : m_adapter->nodes)
            node.second.size = size;
        m_adapter->observers.front()->BranchChanged(kTviRoot);
        return added;
    }

    std::unique_ptr<HostDriver> m_driver;
    SRefPtr<TestTreeAdapter> m_adapter;
    std::vector<std::string> m_events;
    STreeHandle m_vetoed = 0;
    STreeHandle p = 0, q = 0, q1 = 0, q2 = 0, q3 = 0, r = 0, s = 0;
};

TEST_F(TreeViewTest, ShownItemsArePlacedByIndentAndMeasuredSize)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    EXPECT_EQ((std::vector<STreeHandle>{p, q, r, s}), Shown(tree));
    EXPECT_EQ(80, tree->GetLocator()->TotalHeight());
    RECT rect = RectOf(tree, q);
    RECT expected = {10, 20, 90, 40};
    EXPECT_TRUE(::EqualRect(&expected, &rect));
    EXPECT_FALSE(tree->IsScrollBarShown(TRUE));

    // A double click expands Q: its children appear and the rest moves down by 60.
    POINT at = Inside(rect);
    m_driver->Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    m_driver->Release(at);
    EXPECT_TRUE(m_adapter->IsExpanded(q));
    EXPECT_EQ((std::vector<STreeHandle>{p, q, q1, q2, q3, r, s}), Shown(tree));
    EXPECT_EQ(140, tree->GetLocator()->TotalHeight());
    EXPECT_EQ(100, RectOf(tree, r).top);
    EXPECT_EQ(120, RectOf(tree, s).top);
    EXPECT_EQ(20, RectOf(tree, q2).left);
    // A painted selection lies where its item is.
    tree->SetSelection(q2, FALSE);
    Shot shot = m_driver->Capture();
    RECT q2Rect = RectOf(tree, q2);
    EXPECT_EQ(80 * 20, shot.CountColor(q2Rect, 0xFF0000FF));
}

TEST_F(TreeViewTest, KeysWalkTheShownItemsAndExpandOrCollapse)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    tree->TakeFocus();
    m_driver->Key(VK_DOWN); // nothing selected: the first item
    EXPECT_EQ(p, tree->GetSelection());
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(q, tree->GetSelection());
    m_driver->Key(VK_RIGHT); // expands Q, keeps it selected
    EXPECT_TRUE(m_adapter->IsExpanded(q));
    EXPECT_EQ(q, tree->GetSelection());
    m_driver->Key(VK_RIGHT); // expanded: the next item
    EXPECT_EQ(q1, tree->GetSelection());
    m_driver->Key(VK_LEFT); // a leaf: the previous item, not the parent's level
    EXPECT_EQ(q, tree->GetSelection());
    m_driver->Key(VK_LEFT); // collapses Q
    EXPECT_FALSE(m_adapter->IsExpanded(q));
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(r, tree->GetSelection());
    m_driver->Key(VK_LEFT); // leaf R: the previous shown item Q
    EXPECT_EQ(q, tree->GetSelection());
    EXPECT_EQ("changed " + std::to_string(r) + ">" + std::to_string(q), m_events.back());
}

TEST_F(TreeViewTest, SelectionEventsWithVeto)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    m_driver->Click(Inside(RectOf(tree, s)));
    EXPECT_EQ(s, tree->GetSelection());
    m_vetoed = r;
    m_driver->Click(Inside(RectOf(tree, r)));
    EXPECT_EQ(s, tree->GetSelection());
    std::string S = std::to_string(s), R = std::to_string(r);
    EXPECT_EQ((std::vector<std::string>{"changing 0>" + S, "changed 0>" + S, "changing " + S + ">" + R}), m_events);
}

TEST_F(TreeViewTest, EnsureVisibleExpandsTheAncestorsAndScrolls)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    for (int i = 0; i < 10; ++i)
        m_adapter->Add(kTviRoot);
    m_adapter->observers.front()->BranchChanged(kTviRoot);
    EXPECT_TRUE(tree->IsScrollBarShown(TRUE));
    EXPECT_EQ(-1, tree->GetLocator()->ItemTop(q2));
    STreeHandle last = m_adapter->nodes[kTviRoot].children.back();
    tree->EnsureVisible(last);
    EXPECT_NE(nullptr, tree->ItemPanelOf(last));
    EXPECT_EQ(nullptr, tree->ItemPanelOf(p));
    tree->EnsureVisible(q2);
    EXPECT_TRUE(m_adapter->IsExpanded(q));
    EXPECT_EQ(60, tree->GetLocator()->ItemTop(q2));
    EXPECT_NE(nullptr, tree->ItemPanelOf(q2));
}

// Items are 30 high once measured (50 before); the keys bring the whole item into view, also
// when it starts at the page's end or is cut off there.
TEST_F(TreeViewTest, KeysBringTheWholeNextItemIntoViewBothWays)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    std::vector<STreeHandle> more = AddItems(10, SIZE{80, 30});
    m_adapter->nodes[q1].size = SIZE{180, 30};
    tree->TakeFocus();
    m_driver->Click(Inside(RectOf(tree, s))); // rows: P Q R S 0 1 2 (cut off at 200) 3 ...
    m_driver->Key(VK_DOWN);
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(more[1], tree->GetSelection());
    EXPECT_EQ(0, tree->ScrollPosOf(TRUE));
    const UINT32 blue = 0xFF0000FF, white = 0xFFFFFFFF;
    const struct {
        int position;
        RECT rect;
    } kSteps[] = {{10, {0, 170, 80, 200}}, {40, {0, 170, 80, 200}}}; // cut off; starting at the end
    for (size_t k = 0; k < 2; ++k) {
        m_driver->Key(VK_DOWN);
        STreeHandle item = more[2 + k];
        EXPECT_EQ(item, tree->GetSelection());
        EXPECT_EQ(kSteps[k].position, tree->ScrollPosOf(TRUE)) << k;
        RECT rect = RectOf(tree, item);
        EXPECT_TRUE(::EqualRect(&kSteps[k].rect, &rect)) << k << ": " << rect.top << ".." << rect.bottom;
        Shot shot = m_driver->Capture();
        EXPECT_EQ(blue, shot.At(40, 199)) << k;
        EXPECT_EQ(blue, shot.At(40, 170)) << k;
        EXPECT_EQ(white, shot.At(40, 169)) << k;
    }

    // Q1 reaches 16 pixels past the right edge once Q is expanded.
    m_driver->Key(VK_HOME);
    m_driver->Click(Inside(RectOf(tree, q)));
    m_driver->Key(VK_RIGHT);
    ASSERT_TRUE(tree->IsScrollBarShown(FALSE));
    EXPECT_EQ(0, tree->ScrollPosOf(FALSE));
    m_driver->Key(VK_RIGHT);
    EXPECT_EQ(q1, tree->GetSelection());
    EXPECT_EQ(16, tree->ScrollPosOf(FALSE));
    RECT rect = RectOf(tree, q1);
    EXPECT_EQ(4, rect.left);
    EXPECT_EQ(184, rect.right);
    Shot shot = m_driver->Capture();
    EXPECT_EQ(blue, shot.At(183, rect.top + 10));
    EXPECT_EQ(white, shot.At(3, rect.top + 10));
}

// Each item: a window with its own tip and a combo box; the view has a tip of its own.
TEST_F(TreeViewTest, WindowsInsideItemsShowTheirTipsAndTheSelectedItemTakesTheWheelFirst)
{
    const std::string itemTemplate =
        "<template colorSelected='#0000ff'><window name='tipped' pos='4,4,@30,@20' tip='inside item'/>"
        "<combobox name='combo' pos='60,4,@80,@22' animateTime='0'><items><item text='a'/><item text='b'/>"
        "<item text='c'/></items></combobox></template>";
    STreeView* tree = OpenTree("tip='the tree'", itemTemplate);
    ASSERT_NE(nullptr, tree);
    AddItems(2, SIZE{150, 30}); // six rows, 180 high
    HWND tipWindow = OwnTipWindow();
    ASSERT_NE(nullptr, tipWindow);

    // Over the tipped window of R's item: its tip, where it is in the host.
    RECT item = RectOf(tree, r);
    POINT tipped = {item.left + 10, item.top + 10};
    m_driver->Move(tipped);
    ::SendMessageW(tipWindow, WM_TIMER, STipCtrl::kTimerShow, 0);
    EXPECT_TRUE(::IsWindowVisible(tipWindow));
    SwndToolInfo info;
    ASSERT_TRUE(tree->ProvideTooltip(tipped, &info));
    EXPECT_EQ(L"inside item", std::wstring(info.text.c_str()));
    RECT expected = {item.left + 4, item.top + 4, item.left + 34, item.top + 24};
    EXPECT_TRUE(::EqualRect(&expected, &info.rect));
    // Elsewhere in the item no tip; below the items the view's own.
    m_driver->Move(POINT{item.left + 45, item.top + 10});
    EXPECT_FALSE(::IsWindowVisible(tipWindow));
    EXPECT_FALSE(tree->ProvideTooltip(POINT{item.left + 45, item.top + 10}, &info));
    m_driver->Move(POINT{50, 190});
    ASSERT_TRUE(tree->ProvideTooltip(POINT{50, 190}, &info));
    EXPECT_EQ(L"the tree", std::wstring(info.text.c_str()));

    // The wheel over the selected item's combo box turns the combo, not the tree.
    AddItems(4, SIZE{150, 30}); // now taller than the view
    ASSERT_TRUE(tree->IsScrollBarShown(TRUE));
    m_driver->Click(POINT{item.left + 45, item.top + 10});
    ASSERT_EQ(r, tree->GetSelection());
    SComboBox* combo = dynamic_cast<SComboBox*>(tree->ItemPanelOf(r)->LookupChildByName(SStringW(L"combo")));
    ASSERT_NE(nullptr, combo);
    int before = combo->GetCurSel();
    m_driver->Wheel(POINT{item.left + 70, item.top + 10}, -WHEEL_DELTA);
    EXPECT_EQ(before + 1, combo->GetCurSel());
    EXPECT_EQ(0, tree->ScrollPosOf(TRUE));
    // Over another item the selected item has nothing under the point: the tree scrolls.
    RECT other = RectOf(tree, s);
    m_driver->Wheel(POINT{other.left + 70, other.top + 10}, -WHEEL_DELTA);
    EXPECT_EQ(before + 1, combo->GetCurSel());
    EXPECT_EQ(tree->GetScrollLineSize(TRUE), tree->ScrollPosOf(TRUE));
}

TEST_F(TreeViewTest, WideItemsShowTheHorizontalBarUnlessTheAdapterKeepsTheWidth)
{
    for (BOOL keep : {FALSE, TRUE}) {
        STreeView* tree = OpenTree();
        ASSERT_NE(nullptr, tree);
        m_adapter->keepWidth = keep;
        m_adapter->nodes[s].size.cx = 400;
        m_adapter->observers.front()->BranchChanged(kTviRoot);
        EXPECT_EQ(400, tree->GetLocator()->TotalWidth());
        EXPECT_EQ(!keep, tree->IsScrollBarShown(FALSE) != FALSE) << "keep " << keep;
        // Horizontal scrolling moves the items, with no refresh of the panels.
        size_t binds = m_adapter->bound.size();
        tree->OnScroll(FALSE, SB_THUMBPOSITION, 30);
        EXPECT_EQ(keep ? 0 : -30, RectOf(tree, s).left);
        EXPECT_EQ(binds, m_adapter->bound.size());
    }
}

TEST_F(TreeViewTest, ScrollingReusesThePanelsOfItemsThatLeft)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    for (int i = 0; i < 40; ++i)
        m_adapter->Add(kTviRoot);
    m_adapter->observers.front()->BranchChanged(kTviRoot);
    size_t firstFill = m_adapter->windows.size();
    EXPECT_LE(firstFill, 11u);
    while (tree->OnScroll(TRUE, SB_PAGEDOWN, 0)) {
    }
    while (tree->OnScroll(TRUE, SB_PAGEUP, 0)) {
    }
    EXPECT_EQ(firstFill, m_adapter->windows.size());
    EXPECT_NE(nullptr, tree->ItemPanelOf(p));
}

TEST_F(TreeViewTest, IndentIsReadOnlyWhileLoading)
{
    STreeView* tree = OpenTree("indent='25'");
    ASSERT_NE(nullptr, tree);
    EXPECT_EQ(25, RectOf(tree, q).left);
    EXPECT_EQ(E_FAIL, tree->ApplyAttribute(SStringW(L"indent"), SStringW(L"5"), FALSE));
    EXPECT_EQ(25, tree->GetLocator()->ItemIndent(q));
}

// Q selected and R hovered, then P's branch (Q and R in it) is removed: the selection becomes
// none with one event, and no removed handle is given to the adapter again. Removing a branch
// without the selection keeps it.
TEST_F(TreeViewTest, ARemovedSelectionBecomesNoneWithOneEvent)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    m_driver->Click(Inside(RectOf(tree, q)));
    m_driver->Move(Inside(RectOf(tree, r)));
    m_events.clear();
    m_adapter->Remove(p);
    m_adapter->observers.front()->BranchChanged(kTviRoot);
    std::string Q = std::to_string(q), S = std::to_string(s);
    EXPECT_EQ(0, tree->GetSelection());
    EXPECT_EQ((std::vector<std::string>{"changed " + Q + ">0"}), m_events);
    EXPECT_EQ((std::vector<STreeHandle>{s}), Shown(tree));
    m_driver->Click(Inside(RectOf(tree, s)));
    EXPECT_EQ(s, tree->GetSelection());
    for (STreeHandle removed : {p, q, q1, q2, q3, r})
        EXPECT_EQ(0u, m_adapter->nodes.count(removed)) << removed;
    EXPECT_EQ(80 * 20, m_driver->Capture().CountColor(RECT{0, 0, 200, 200}, 0xFF0000FF));

    STreeHandle t = m_adapter->Add(kTviRoot);
    m_adapter->observers.front()->BranchChanged(kTviRoot);
    m_events.clear();
    m_adapter->Remove(t);
    m_adapter->observers.front()->BranchChanged(kTviRoot);
    EXPECT_EQ(s, tree->GetSelection());
    EXPECT_TRUE(m_events.empty());
}

// Collapsing an ancestor of the selection (Q2 under Q under P) selects that ancestor, and Down
// goes on from it; collapsing a branch without the selection changes nothing.
TEST_F(TreeViewTest, CollapsingAnAncestorOfTheSelectionSelectsIt)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    tree->TakeFocus();
    m_adapter->ExpandItem(q, 2);
    m_driver->Click(Inside(RectOf(tree, q2)));
    m_events.clear();
    m_adapter->ExpandItem(p, 1);
    std::string P = std::to_string(p), Q2 = std::to_string(q2);
    EXPECT_EQ(p, tree->GetSelection());
    EXPECT_EQ((std::vector<std::string>{"changing " + Q2 + ">" + P, "changed " + Q2 + ">" + P}), m_events);
    EXPECT_EQ(80 * 20, m_driver->Capture().CountColor(RectOf(tree, p), 0xFF0000FF));
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(s, tree->GetSelection());
    EXPECT_FALSE(m_adapter->IsExpanded(p));

    m_events.clear();
    m_adapter->ExpandItem(p, 2);
    m_adapter->ExpandItem(q, 1);
    EXPECT_EQ(s, tree->GetSelection());
    EXPECT_TRUE(m_events.empty());
}

// Items measured at 30 (50 until shown) and scrolled to the middle: a branch reported changed
// forgets their heights, yet the item at the top of the view stays where it was.
TEST_F(TreeViewTest, ABranchChangeKeepsTheTopItemWhereItWas)
{
    STreeView* tree = OpenTree();
    ASSERT_NE(nullptr, tree);
    std::vector<STreeHandle> more = AddItems(40, SIZE{80, 30});
    tree->OnScroll(TRUE, SB_THUMBPOSITION, 700);
    tree->OnScroll(TRUE, SB_THUMBPOSITION, 705);
    STreeHandle top = 0;
    for (STreeHandle item : more) {
        if (!top && tree->ItemPanelOf(item))
            top = item;
    }
    ASSERT_NE(0u, top);
    int y = RectOf(tree, top).top;
    for (STreeHandle branch : {kTviRoot, p}) {
        m_adapter->observers.front()->BranchChanged(branch);
        EXPECT_EQ(y, RectOf(tree, top).top) << branch;
    }
}

} // namespace
} // namespace hosttest
