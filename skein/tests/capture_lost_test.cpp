// Presses and drags cut short in a real host: the mouse capture taken by another window or
// released to nobody, a cancel-mode message, the host deactivated or hidden. Whatever held the
// capture ends its press or drag, nothing stays pushed, hot or captured, and the next click
// lands where it is made.
#include <richedit.h>
#include "adapter_test_env.h"
#include "control/SHeaderCtrl.h"
#include "control/SHotKeyCtrl.h"
#include "control/SListView.h"
#include "control/SScrollView.h"
#include "control/SSliderBar.h"
#include "control/SSplitWnd.h"
#include "control/STreeCtrl.h"
#include "core/SDragWnd.h"
#include "ctrl_scroll_test_env.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

enum class Loss { kOtherWindow, kNobody, kCancelMode, kDeactivated, kHidden };

const Loss kCaptureLosses[] = {Loss::kOtherWindow, Loss::kNobody, Loss::kCancelMode};
const Loss kAllLosses[] = {Loss::kOtherWindow, Loss::kNobody, Loss::kCancelMode, Loss::kDeactivated, Loss::kHidden};

const char* Name(Loss loss)
{
    static const char* const names[] = {"other window", "nobody", "cancel mode", "deactivated", "hidden"};
    return names[static_cast<int>(loss)];
}

class CaptureLostTest : public HostCtrlTest {
protected:
    void SetUp() override
    {
        HostCtrlTest::SetUp();
        m_other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_other);
    }
    void TearDown() override
    {
        ::DestroyWindow(m_other);
        HostCtrlTest::TearDown();
    }

    void Lose(const HostDriver& driver, Loss loss) const
    {
        switch (loss) {
        case Loss::kOtherWindow: ::SetCapture(m_other); break;
        case Loss::kNobody: ::ReleaseCapture(); break;
        case Loss::kCancelMode: driver.Send(WM_CANCELMODE); break;
        case Loss::kDeactivated: driver.Send(WM_ACTIVATE, WA_INACTIVE); break;
        case Loss::kHidden:
            ::ShowWindow(driver.Hwnd(), SW_HIDE);
            ::SetWindowPos(driver.Hwnd(), nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
            break;
        }
    }
    // Neither the tree nor the system gives the host the capture any more; the other window
    // lets go of what it took.
    void ExpectReleased(const HostDriver& driver) const
    {
        EXPECT_EQ(0u, driver.Host().GetCapture());
        EXPECT_NE(driver.Hwnd(), ::GetCapture());
        if (::GetCapture() == m_other)
            ::ReleaseCapture();
    }

    HWND m_other = nullptr;
};

const char kTwoButtons[] = "<SKEIN width='200' height='60'><root colorBkgnd='#ffffff'>"
                          "<button name='a' pos='10,10,@80,@30'>A</button>"
                          "<button name='b' pos='110,10,@80,@30'>B</button></root></SKEIN>";

TEST_F(CaptureLostTest, ButtonPressEndsAndTheNextClickLandsWhereItIsMade)
{
    HostDriver driver = Open(kTwoButtons);
    RecordingHost& host = driver.Host();
    SWindow* a = driver.Child(L"a");
    ASSERT_NE(nullptr, a);
    for (Loss loss : kAllLosses) {
        for (bool moved : {false, true}) {
            SCOPED_TRACE(std::string(Name(loss)) + (moved ? ", after a move" : ", no move"));
            int clicksOfA = host.Count(EventCmd::EventID, L"a");
            int clicksOfB = host.Count(EventCmd::EventID, L"b");
            driver.Press(driver.At(L"a", 10, 10));
            if (moved)
                driver.Drag(driver.At(L"a", 14, 12));
            Lose(driver, loss);
            EXPECT_FALSE(a->GetStateFlags() & (kStatePushed | kStateHover));
            ExpectReleased(driver);
            // Only a press with no move keeps its release, which fires the command.
            EXPECT_EQ(clicksOfA + (moved ? 0 : 1), host.Count(EventCmd::EventID, L"a"));

            driver.Click(L"b");
            EXPECT_EQ(clicksOfB + 1, host.Count(EventCmd::EventID, L"b"));
            EXPECT_EQ(clicksOfA + (moved ? 0 : 1), host.Count(EventCmd::EventID, L"a"));
        }
    }
}

// The other pressable controls end their press through the same path.
TEST_F(CaptureLostTest, PressesOnOtherControlsEnd)
{
    HostDriver driver = Open("<SKEIN width='400' height='300'><root colorBkgnd='#ffffff'>"
                             "<check name='check' pos='10,10,@100,@20'>Check</check>"
                             "<tabctrl name='tabs' pos='10,40,@200,@60'><page title='A'/><page title='B'/></tabctrl>"
                             "<listbox name='list' pos='220,10,@170,@90'><items><item text='one'/>"
                             "<item text='two'/></items></listbox>"
                             "<calendar name='calendar' pos='10,110,@250,@180'/>"
                             "<button name='ok' pos='300,250,@80,@30'>OK</button></root></SKEIN>");
    RecordingHost& host = driver.Host();
    for (const wchar_t* name : {L"check", L"tabs", L"list", L"calendar"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        SWindow* control = driver.Child(name);
        ASSERT_NE(nullptr, control);
        driver.Press(driver.At(name, 12, 8));
        driver.Drag(driver.At(name, 14, 10));
        EXPECT_EQ(control->GetHandle(), host.GetCapture());
        Lose(driver, Loss::kOtherWindow);
        ExpectReleased(driver);
        EXPECT_FALSE(control->GetStateFlags() & (kStatePushed | kStateHover));
        int clicks = host.Count(EventCmd::EventID, L"ok");
        driver.Click(L"ok");
        EXPECT_EQ(clicks + 1, host.Count(EventCmd::EventID, L"ok"));
    }
    EXPECT_FALSE(driver.Child(L"check")->TestChecked());
}

// The pressed button goes while the button is held: the release that follows lands on no
// window, and the host lets go of the system's capture.
TEST_F(CaptureLostTest, ControlDestroyedMidPressLeavesNoCapture)
{
    HostDriver driver = Open(kTwoButtons);
    SWindow* a = driver.Child(L"a");
    ASSERT_NE(nullptr, a);
    driver.Press(driver.At(L"a", 10, 10));
    driver.Drag(driver.At(L"a", 14, 12));
    ASSERT_EQ(driver.Hwnd(), ::GetCapture());
    driver.Host().DestroyChild(a);
    driver.Release(POINT{24, 22});
    ExpectReleased(driver);
    int clicks = driver.Host().Count(EventCmd::EventID, L"b");
    driver.Click(L"b");
    EXPECT_EQ(clicks + 1, driver.Host().Count(EventCmd::EventID, L"b"));
}

// Space pushes a focused button and its release clicks it; the focus moved by Tab, or taken
// with the host's activation, ends the push before the release arrives.
TEST_F(CaptureLostTest, KeyHeldOnAButtonEndsWhenTheFocusMoves)
{
    HostDriver driver = Open(kTwoButtons);
    RecordingHost& host = driver.Host();
    SWindow* a = driver.Child(L"a");
    ASSERT_NE(nullptr, a);
    for (bool deactivated : {false, true}) {
        SCOPED_TRACE(deactivated ? "deactivated" : "tab");
        driver.Send(WM_ACTIVATE, WA_ACTIVE);
        a->TakeFocus();
        int before = host.Count(EventCmd::EventID);
        driver.Send(WM_KEYDOWN, VK_SPACE, 1);
        EXPECT_TRUE(a->GetStateFlags() & kStatePushed);
        if (deactivated)
            driver.Send(WM_ACTIVATE, WA_INACTIVE);
        else
            driver.Key(VK_TAB);
        EXPECT_FALSE(a->GetStateFlags() & kStatePushed);
        driver.Send(WM_ACTIVATE, WA_ACTIVE); // the focus comes back where it was
        driver.Send(WM_KEYUP, VK_SPACE, 0xC0000001);
        EXPECT_EQ(before, host.Count(EventCmd::EventID));
    }
}

// Ctrl held in a hot-key box shows a combination in the making; the focus moves before Ctrl
// is let go, and its release goes to the button.
TEST_F(CaptureLostTest, HotKeyLeftWithAModifierHeldDropsTheModifier)
{
    HostDriver driver = Open("<SKEIN width='200' height='80'><root colorBkgnd='#ffffff'>"
                             "<hotkey name='hk' pos='10,10,@150,@24'/>"
                             "<button name='next' pos='10,44,@60,@24'/></root></SKEIN>");
    SHotKeyCtrl* hotKey = driver.Find<SHotKeyCtrl>(L"hk");
    ASSERT_NE(nullptr, hotKey);
    driver.Click(L"hk");
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    driver.Send(WM_KEYDOWN, VK_CONTROL, 1);
    EXPECT_EQ(kAccelCtrl, hotKey->GetModifier());
    driver.Click(L"next");
    keys[VK_CONTROL] = 0;
    ::SetKeyboardState(keys);
    driver.Send(WM_KEYUP, VK_CONTROL, 0xC0000001);
    EXPECT_FALSE(hotKey->IsCapturing());
    EXPECT_EQ(0, hotKey->GetModifier());
    EXPECT_EQ(0, hotKey->GetKey());
}

TEST_F(CaptureLostTest, ScrollThumbDragEndsAndTheViewNoLongerFollowsTheMouse)
{
    // A rail of 68 pixels with a 22-pixel thumb for 200 positions of travel.
    HostDriver driver = Open("<SKEIN width='200' height='130'><root colorBkgnd='#ffffff'>"
                             "<scrollview name='view' pos='0,0,@200,@100' viewSize='184,300'>"
                             "<window name='content' pos='0,0,@184,@300'/></scrollview>"
                             "<button name='ok' pos='10,104,@80,@24'>OK</button></root></SKEIN>");
    SScrollView* view = driver.Find<SScrollView>(L"view");
    ASSERT_NE(nullptr, view);
    const POINT thumb = {192, 27};
    for (Loss loss : kCaptureLosses) {
        SCOPED_TRACE(Name(loss));
        view->SetScrollPosition(TRUE, 0, TRUE);
        driver.Press(thumb);
        driver.Drag(POINT{192, 37});
        int reached = view->ScrollPosOf(TRUE);
        EXPECT_GT(reached, 0);
        Lose(driver, loss);
        ExpectReleased(driver);
        // With no button held the mouse goes down the bar and over the content.
        driver.Move(POINT{192, 90});
        driver.Move(POINT{100, 60});
        EXPECT_EQ(reached, view->ScrollPosOf(TRUE));
        EXPECT_EQ(-reached, driver.Child(L"content")->GetWindowRect().top);

        int clicks = driver.Host().Count(EventCmd::EventID, L"ok");
        driver.Click(L"ok");
        EXPECT_EQ(clicks + 1, driver.Host().Count(EventCmd::EventID, L"ok"));
    }
}

// Each drag below is made, cut short by another window taking the capture, then the mouse moves
// on with no button held: the control no longer follows it.
TEST_F(CaptureLostTest, SliderScrollBarAndSeparatorDragsEnd)
{
    HostDriver driver = Open("<SKEIN width='300' height='200'><root colorBkgnd='#ffffff'>"
                             "<sliderbar name='slider' pos='10,10,@216,@20'/>"
                             "<scrollbar name='bar' pos='10,40,@200,@16' vertical='0' max='99' page='10'/>"
                             "<splitwnd name='split' pos='0,70,@200,@100' sepSize='4'>"
                             "<pane name='p1' idealSize='60px'/><pane name='p2' idealSize='136px'/>"
                             "</splitwnd></root></SKEIN>");
    SSliderBar* slider = driver.Find<SSliderBar>(L"slider");
    SWindow* bar = driver.Child(L"bar");
    SWindow* pane = driver.Child(L"p1");
    ASSERT_TRUE(slider && bar && pane);
    auto barInfo = [bar] {
        SCROLLINFO info = {sizeof(info), SIF_POS | SIF_TRACKPOS};
        bar->SendUiMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    };
    auto paneWidth = [pane] { return pane->GetWindowRect().right - pane->GetWindowRect().left; };

    RECT grip = slider->PartRect(SSliderBar::kPartThumb);
    POINT at = {(grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2};
    driver.Press(at);
    driver.Drag(POINT{at.x + 40, at.y});
    int value = slider->CurrentValue();
    EXPECT_EQ(20, value);
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    driver.Move(POINT{at.x + 120, at.y});
    EXPECT_EQ(value, slider->CurrentValue());

    // The bar's thumb starts after its 16-pixel arrow; the drag ends where it reached.
    driver.Press(POINT{34, 48});
    driver.Drag(POINT{54, 48});
    int tracked = barInfo().nTrackPos;
    EXPECT_GT(tracked, 0);
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    driver.Move(POINT{150, 48});
    EXPECT_EQ(tracked, barInfo().nPos);
    EXPECT_EQ(-1, barInfo().nTrackPos);

    ASSERT_EQ(60, paneWidth());
    driver.Press(POINT{62, 120});
    driver.Drag(POINT{72, 120});
    EXPECT_EQ(70, paneWidth());
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    driver.Move(POINT{100, 120});
    EXPECT_EQ(70, paneWidth());
}

TEST_F(CaptureLostTest, SliderHiddenMidDragEndsItsDrag)
{
    HostDriver driver = Open("<SKEIN width='300' height='40'><root colorBkgnd='#ffffff'>"
                             "<sliderbar name='slider' pos='10,10,@216,@20'/></root></SKEIN>");
    SSliderBar* slider = driver.Find<SSliderBar>(L"slider");
    ASSERT_NE(nullptr, slider);
    RECT grip = slider->PartRect(SSliderBar::kPartThumb);
    POINT at = {(grip.left + grip.right) / 2, (grip.top + grip.bottom) / 2};
    driver.Press(at);
    driver.Drag(POINT{at.x + 40, at.y});
    slider->ApplyAttribute(SStringW(L"visible"), SStringW(L"0"), FALSE);
    ExpectReleased(driver);
    slider->ApplyAttribute(SStringW(L"visible"), SStringW(L"1"), FALSE);
    driver.Move(POINT{at.x + 120, at.y});
    EXPECT_EQ(20, slider->CurrentValue());
}

TEST_F(CaptureLostTest, HeldSpinStopsRepeating)
{
    HostDriver driver = Open("<SKEIN width='160' height='80'><root colorBkgnd='#ffffff'>"
                             "<spinButton name='spin' pos='80,10,@16,@30'/></root></SKEIN>");
    SWindow* spin = driver.Child(L"spin");
    ASSERT_NE(nullptr, spin);
    UINT_PTR repeat = 0;
    ASSERT_TRUE(PackSwndTimerId(spin->GetHandle(), 1, repeat));
    driver.Press(driver.At(L"spin", 8, 3));
    driver.Drag(driver.At(L"spin", 9, 4));
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    EXPECT_FALSE(spin->GetStateFlags() & kStatePushed);
    EXPECT_FALSE(::KillTimer(driver.Hwnd(), repeat)); // the repeat timer is gone
}

TEST_F(CaptureLostTest, HeaderResizeKeepsItsWidthAndACaptionDragDropsNothing)
{
    HostDriver driver = Open("<SKEIN width='400' height='60'><root colorBkgnd='#ffffff'>"
                             "<header name='hdr' pos='0,0,-0,30' itemSwapEnable='1'><items>"
                             "<item width='100px'>A</item><item width='100px'>B</item><item width='100px'>C</item>"
                             "</items></header></root></SKEIN>");
    SHeaderCtrl* header = driver.Find<SHeaderCtrl>(L"hdr");
    ASSERT_NE(nullptr, header);
    struct Counts {
        bool OnChanged(EventHeaderItemChanged*) { return ++changed, true; }
        bool OnSwap(EventHeaderItemSwap*) { return ++swapped, true; }
        int changed = 0;
        int swapped = 0;
    } counts;
    header->GetEventSet()->AddSubscriber(EventHeaderItemChanged::EventID, Subscriber(&Counts::OnChanged, &counts));
    header->GetEventSet()->AddSubscriber(EventHeaderItemSwap::EventID, Subscriber(&Counts::OnSwap, &counts));
    const int& changed = counts.changed;
    const int& swapped = counts.swapped;

    driver.Press(POINT{101, 10}); // the edge between A and B
    driver.Drag(POINT{121, 10});
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    EXPECT_EQ(120, header->GetItemWidth(0));
    EXPECT_EQ(1, changed); // the resize ends as a release would end it

    driver.Press(POINT{170, 10}); // caption B
    driver.Drag(POINT{180, 10});
    ASSERT_NE(nullptr, CDragWnd::DragImageWindow());
    driver.Drag(POINT{300, 10});
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    EXPECT_EQ(nullptr, CDragWnd::DragImageWindow());
    driver.Move(POINT{350, 10});
    driver.Release(POINT{350, 10});
    EXPECT_EQ(0, swapped);
    EXPECT_EQ(1, changed);
}

// The check box of an item toggles when pressed and reports its state when released.
TEST_F(CaptureLostTest, TreeCheckBoxCutShortReportsItsStateAndLooksNormal)
{
    const SIZE part = {12, 12};
    for (const wchar_t* name : {L"rec.toggle", L"rec.check"}) {
        auto* skin = new ctrltest::RecordingPlainSkin(part, 9);
        SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(name), 100), skin);
        skin->Release();
    }
    HostDriver driver = Open("<SKEIN width='200' height='120'><root colorBkgnd='#ffffff'>"
                             "<treectrl name='tree' pos='0,0,-0,-0' checkBox='1' toggleSkin='rec.toggle' "
                             "checkSkin='rec.check'><item text='x'/><item text='y'/></treectrl></root></SKEIN>");
    STreeCtrl* tree = driver.Find<STreeCtrl>(L"tree");
    ASSERT_NE(nullptr, tree);
    struct Checks {
        bool OnCheck(EventTCCheckState*) { return ++count, true; }
        int count = 0;
    } checks;
    tree->GetEventSet()->AddSubscriber(EventTCCheckState::EventID, Subscriber(&Checks::OnCheck, &checks));
    STreeHandle x = tree->GetNextItem(kTviRoot);
    STreeHandle y = tree->GetNextItem(x);
    auto checkBoxOf = [tree](STreeHandle item) {
        RECT row = {};
        EXPECT_TRUE(tree->GetItemRect(item, &row));
        return POINT{row.left + 18, (row.top + row.bottom) / 2};
    };

    POINT box = checkBoxOf(x);
    driver.Press(box);
    driver.Drag(POINT{box.x + 1, box.y + 1});
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    EXPECT_EQ(1, tree->ItemOf(x)->checkState);
    EXPECT_FALSE(tree->ItemOf(x)->checkBoxState & kTcPartPushed);
    EXPECT_EQ(1, checks.count);

    driver.Click(checkBoxOf(y));
    EXPECT_EQ(1, tree->ItemOf(y)->checkState);
    EXPECT_EQ(2, checks.count);
    EXPECT_FALSE(tree->ItemOf(x)->checkBoxState & kTcPartPushed);
}

TEST_F(CaptureLostTest, ItemPressEndsAndTheNextItemTakesTheClick)
{
    HostDriver driver = Open("<SKEIN width='200' height='200'><root colorBkgnd='#ffffff'>"
                             "<listview name='list' pos='0,0,-0,-0'><template itemHeight='30'>"
                             "<button name='btn' pos='5,5,@60,@20'>Go</button></template></listview>"
                             "</root></SKEIN>");
    SListView* list = driver.Find<SListView>(L"list");
    ASSERT_NE(nullptr, list);
    SRefPtr<adaptertest::RecordingListAdapter> adapter(new adaptertest::RecordingListAdapter(5), false);
    list->SetAdapter(adapter);
    SWindow* first = list->ItemPanelOf(0)->LookupChildByName(SStringW(L"btn"));
    ASSERT_NE(nullptr, first);

    driver.Press(POINT{20, 15});
    driver.Drag(POINT{24, 17});
    EXPECT_TRUE(first->GetStateFlags() & kStatePushed);
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    EXPECT_FALSE(first->GetStateFlags() & kStatePushed);
    EXPECT_EQ(0, list->GetSelection());

    driver.Click(POINT{20, 45}); // item 1's button
    EXPECT_EQ(1, list->GetSelection());
    EXPECT_FALSE(first->GetStateFlags() & kStatePushed);
    list->SetAdapter(nullptr);
}

TEST_F(CaptureLostTest, TextSelectionDragEnds)
{
    HostDriver driver = Open("<SKEIN width='320' height='60'><root colorBkgnd='#ffffff'>"
                             "<richedit name='re' pos='10,10,@300,@40'>selected by a drag of the mouse</richedit>"
                             "</root></SKEIN>");
    SWindow* edit = driver.Child(L"re");
    ASSERT_NE(nullptr, edit);
    auto selection = [edit] {
        CHARRANGE range = {-1, -1};
        edit->SendUiMessage(EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
        return range;
    };
    driver.Click(POINT{14, 20}); // focused first
    driver.Press(POINT{14, 20});
    driver.Drag(POINT{60, 20});
    CHARRANGE dragged = selection();
    EXPECT_LT(dragged.cpMin, dragged.cpMax);
    Lose(driver, Loss::kOtherWindow);
    ExpectReleased(driver);
    driver.Move(POINT{250, 20});
    CHARRANGE after = selection();
    EXPECT_EQ(dragged.cpMin, after.cpMin);
    EXPECT_EQ(dragged.cpMax, after.cpMax);
}

} // namespace
} // namespace hosttest
