// The spin button in a real host: stepping with wrap-around and saturation, the buddy's text and
// its rewrite by handlers, double clicks, auto-repeat, numbers typed into the buddy, and the
// look of the two halves per state.
#include <climits>
#include "control/SSpinButtonCtrl.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

using ctrltest::RecordingPlainSkin;

// A text whose every change raises the edit's text notification, as an edit buddy does.
class BuddyTextChanged : public EventArgs {
    SKEIN_EVENT_CLASS(16000, L"on_buddy_text_changed")
    explicit BuddyTextChanged(IObject* sender) : EventArgs(sender) {}
};

class NotifyingText : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"notifytext")

public:
    NotifyingText() { m_eventSet.DeclareEvent(BuddyTextChanged::EventID, BuddyTextChanged::EventName()); }
    BOOL AssignText(const SStringW& text) override
    {
        BOOL done = SWindow::AssignText(text);
        BuddyTextChanged evt(this);
        RaiseEvent(evt);
        return done;
    }
};

struct Rewriter {
    bool OnValue(EventSpinValue2String* evt)
    {
        values.push_back(evt->value);
        evt->text = SStringW(L"seven");
        return true;
    }
    std::vector<int> values;
};

class SpinTest : public HostCtrlTest {
protected:
    void SetUp() override
    {
        HostCtrlTest::SetUp();
        m_app->AddFactory(TplSObjectFactory<NotifyingText>(), FALSE);
    }

    static std::string Layout(const std::string& spinAttributes, const char* buddyClass = "text")
    {
        return std::string("<SKEIN width='160' height='80'><root colorBkgnd='#ffffff'><") + buddyClass
               + " name='buddy' pos='10,10,@60,@24'/><spinButton name='spin' buddy='buddy' pos='80,10,@16,@30' "
               + spinAttributes + "/></root></SKEIN>";
    }
    static std::wstring BuddyText(HostDriver& driver) { return driver.Child(L"buddy")->QueryText(true).c_str(); }
    static POINT Upper(HostDriver& driver) { return driver.At(L"spin", 8, 3); }
    static POINT Lower(HostDriver& driver) { return driver.At(L"spin", 8, -3); }
};

TEST_F(SpinTest, StepsWrapOrStopAtTheEndsAndNeverOverflow)
{
    struct Case {
        const char* what;
        const char* attributes;
        bool up;
        int value;
    } cases[] = {
        {"up past max wraps", "value='100' max='100' step='1' circle='1'", true, 0},
        {"up past max stops", "value='100' max='100' step='1' circle='0'", true, 100},
        {"down past min wraps to max", "value='3' min='0' step='5' circle='1'", false, 100},
        {"down past min stops", "value='3' min='0' step='5' circle='0'", false, 0},
        {"a step inside the range", "value='3' step='5'", true, 8},
        {"past the top of int", "value='2147483640' max='2147483647' step='100' circle='0'", true, INT_MAX},
        {"past the bottom of int", "value='-2147483640' min='0x80000000' max='0' step='100' circle='0'", false, INT_MIN},
    };
    for (const Case& c : cases) {
        HostDriver driver = Open(Layout(c.attributes));
        SSpinButtonCtrl* spin = driver.Find<SSpinButtonCtrl>(L"spin");
        ASSERT_NE(nullptr, spin) << c.what;
        driver.Click(c.up ? Upper(driver) : Lower(driver));
        EXPECT_EQ(c.value, spin->GetValue()) << c.what;
        EXPECT_EQ(std::to_wstring(c.value), BuddyText(driver)) << c.what;
    }
}

// The buddy reports its own changes, as an edit does: the spin's writes do not come back.
TEST_F(SpinTest, HandlersRewriteTheTextTheBuddyGets)
{
    HostDriver driver = Open(Layout("value='4'", "notifytext"));
    SSpinButtonCtrl* spin = driver.Find<SSpinButtonCtrl>(L"spin");
    EXPECT_EQ(L"4", BuddyText(driver)); // set at creation
    Rewriter rewriter;
    spin->GetEventSet()->AddSubscriber(EventSpinValue2String::EventID, Subscriber(&Rewriter::OnValue, &rewriter));
    driver.Click(Upper(driver));
    EXPECT_EQ(std::vector<int>{5}, rewriter.values);
    EXPECT_EQ(L"seven", BuddyText(driver));
    EXPECT_EQ(5, spin->GetValue());

    // A value set by attribute after loading reaches the buddy too.
    spin->ApplyAttribute(SStringW(L"value"), SStringW(L" -12abc"), FALSE);
    EXPECT_EQ(-12, spin->GetValue());
    EXPECT_EQ((std::vector<int>{5, -12}), rewriter.values);
}

TEST_F(SpinTest, ADoubleClickStepsOnceMore)
{
    HostDriver driver = Open(Layout("value='10'"));
    SSpinButtonCtrl* spin = driver.Find<SSpinButtonCtrl>(L"spin");
    POINT lower = Lower(driver);
    driver.Click(lower);
    driver.Send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(lower.x, lower.y));
    driver.Release(lower);
    EXPECT_EQ(8, spin->GetValue());
}

// The real pointer goes along: the system reports its moves to the window holding the capture.
TEST_F(SpinTest, HoldingRepeatsTheStepWhileTheMouseIsOverTheButton)
{
    POINT upper = {88, 13};
    HostDriver driver = OpenUnderPointer(Layout("value='0' max='1000'"), upper);
    SSpinButtonCtrl* spin = driver.Find<SSpinButtonCtrl>(L"spin");
    ASSERT_EQ(upper.x, Upper(driver).x);
    auto moveTo = [&driver](POINT pt) {
        POINT screen = pt;
        ::ClientToScreen(driver.Hwnd(), &screen);
        ::SetCursorPos(screen.x, screen.y);
        driver.Drag(pt);
    };
    driver.Press(upper);
    EXPECT_EQ(1, spin->GetValue());
    EXPECT_TRUE(driver.PumpUntil([spin] { return spin->GetValue() >= 3; }, 1500));

    moveTo(POINT{140, 60}); // outside: the repeat pauses
    EXPECT_EQ(SSpinButtonCtrl::kPartNone, spin->ActivePart());
    int paused = spin->GetValue();
    driver.PumpFor(450);
    EXPECT_EQ(paused, spin->GetValue());

    moveTo(Lower(driver)); // back over the lower half: it steps down
    EXPECT_TRUE(driver.PumpUntil([spin, paused] { return spin->GetValue() < paused; }, 1500));
    driver.Release(Lower(driver));
    int released = spin->GetValue();
    driver.PumpFor(450);
    EXPECT_EQ(released, spin->GetValue());
}

TEST_F(SpinTest, NumbersTypedIntoTheBuddySetTheValueWhenInRange)
{
    HostDriver driver = Open(Layout("value='1' min='-10' max='50'", "notifytext"));
    SSpinButtonCtrl* spin = driver.Find<SSpinButtonCtrl>(L"spin");
    SWindow* buddy = driver.Child(L"buddy");
    int notified = driver.Host().Count(EventSpinValue2String::EventID);
    struct Case {
        const wchar_t* typed;
        int value;
    } cases[] = {{L"42", 42}, {L"500", 42}, {L" -3x", -3}, {L"-11", -3}, {L"", 0}};
    for (const Case& c : cases) {
        buddy->AssignText(SStringW(c.typed));
        EXPECT_EQ(c.value, spin->GetValue()) << c.typed;
        EXPECT_EQ(c.typed, BuddyText(driver)); // never written back
    }
    EXPECT_EQ(notified + 3, driver.Host().Count(EventSpinValue2String::EventID)); // in-range numbers only

    // The buddy outlives the spin: its changes reach nothing.
    spin->Dispose();
    buddy->AssignText(SStringW(L"7"));
    EXPECT_EQ(L"7", BuddyText(driver));
}

TEST_F(SpinTest, EachHalfShowsItsStateAndAMissingSkinKeepsTheBuiltInOne)
{
    auto* up = new RecordingPlainSkin(SIZE{14, 10}, 4);
    auto* down = new RecordingPlainSkin(SIZE{14, 10}, 4);
    SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(L"rec.up"), 100), up);
    SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(L"rec.down"), 100), down);
    up->Release();
    down->Release();
    HostDriver driver = Open(Layout("upskin='rec.up' downSkin='rec.down'"));
    SSpinButtonCtrl* spin = driver.Find<SSpinButtonCtrl>(L"spin");
    // Names that find no skin keep the skins drawn so far.
    spin->ApplyAttribute(SStringW(L"upskin"), SStringW(L"nosuch"), FALSE);
    spin->ApplyAttribute(SStringW(L"downSkin"), SStringW(L"nosuch"), FALSE);

    struct Case {
        const char* what;
        DWORD state;
        int y; // of the mouse, in the spin; -1 outside
        int upState;
        int downState;
    } cases[] = {
        {"normal", 0, -1, 0, 0},
        {"hover over the upper half", kStateHover, 3, 1, 1},
        {"pushed on the upper half", kStatePushed, 3, 2, 1},
        {"pushed on the lower half", kStatePushed, 27, 1, 2},
        {"pushed, mouse outside", kStatePushed, -1, 0, 0},
        {"disabled", kStateDisabled, 3, 3, 3},
    };
    const RECT& rect = spin->GetWindowRect();
    for (const Case& c : cases) {
        spin->ChangeState(c.state, kStateHover | kStatePushed | kStateDisabled, FALSE);
        POINT pt = c.y < 0 ? POINT{0, 0} : POINT{rect.left + 8, rect.top + c.y};
        spin->SendUiMessage(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        spin->InvalidateArea();
        driver.Capture();
        ASSERT_FALSE(up->draws.empty() || down->draws.empty()) << c.what;
        EXPECT_EQ(c.upState, up->draws.back().state) << c.what;
        EXPECT_EQ(c.downState, down->draws.back().state) << c.what;
        EXPECT_EQ(rect.top + 15, up->draws.back().rect.bottom) << c.what;
        EXPECT_EQ(rect.top + 15, down->draws.back().rect.top) << c.what;
    }
}

} // namespace
} // namespace hosttest
