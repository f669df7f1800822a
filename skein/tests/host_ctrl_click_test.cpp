// Clickable controls in a real host: native mouse messages at the controls become command
// events by name in the host's event map, flip check, radio and toggle states, and their hover
// and pushed looks reach the host's pixels.
#include "control/SCheckBox.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

const char kClickLayout[] =
    "<SKEIN width='300' height='120'><root colorBkgnd='#ffffff'>"
    "<button name='btn' pos='10,10,@90,@30'>Press</button>"
    "<imgbtn name='img' pos='110,10,@90,@30'>Image</imgbtn>"
    "<button name='off' pos='210,10,@80,@30' enable='0'>Off</button>"
    "<check name='chk' pos='10,50,@100,@20'>Check</check>"
    "<toggle name='tog' pos='200,50,@16,@16'/>"
    "<radio name='r1' pos='10,80,@80,@20'>One</radio>"
    "<radio name='r2' pos='100,80,@80,@20' checked='1'>Two</radio>"
    "</root></SKEIN>";

class HostClickTest : public HostCtrlTest {};

TEST_F(HostClickTest, ClicksFireCommandsByNameAndFlipTheTwoStateControls)
{
    HostDriver driver = Open(kClickLayout);
    RecordingHost& host = driver.Host();
    SToggle* toggle = driver.Find<SToggle>(L"tog");
    ASSERT_TRUE(driver.Child(L"chk") && driver.Child(L"r1") && driver.Child(L"r2") && toggle);

    for (const wchar_t* name : {L"btn", L"img", L"off", L"chk", L"tog", L"r1"})
        driver.Click(name);
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"btn"));
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"img"));
    EXPECT_EQ(0, host.Count(EventCmd::EventID, L"off")); // disabled: the click reaches nobody
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"chk"));
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"tog"));
    EXPECT_EQ(1, host.Count(EventCmd::EventID, L"r1"));
    EXPECT_TRUE(driver.Child(L"chk")->TestChecked());
    EXPECT_TRUE(toggle->IsToggled());
    EXPECT_TRUE(driver.Child(L"r1")->TestChecked());
    EXPECT_FALSE(driver.Child(L"r2")->TestChecked());

    // A second round, queued and pumped, flips the check box and the toggle back; the radio box
    // stays checked.
    for (const wchar_t* name : {L"chk", L"tog", L"r1"}) {
        POINT pt = driver.Centre(name);
        driver.Post(WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        driver.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        driver.Post(WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }
    driver.Pump();
    EXPECT_FALSE(driver.Child(L"chk")->TestChecked());
    EXPECT_FALSE(toggle->IsToggled());
    EXPECT_TRUE(driver.Child(L"r1")->TestChecked());
    EXPECT_EQ(2, host.Count(EventCmd::EventID, L"r1"));
}

TEST_F(HostClickTest, ReleaseAwayFromThePressedControlFiresNothing)
{
    HostDriver driver = Open(kClickLayout);
    RecordingHost& host = driver.Host();
    SWindow* button = driver.Child(L"btn");
    SWindow* check = driver.Child(L"chk");
    ASSERT_TRUE(button && check);

    driver.Press(driver.Centre(L"btn"));
    EXPECT_EQ(button->GetHandle(), host.GetCapture());
    EXPECT_EQ(::GetCapture(), driver.Hwnd());
    EXPECT_TRUE(button->GetStateFlags() & kStatePushed);
    driver.Drag(POINT{150, 110}); // off the button: it no longer shows pushed
    EXPECT_FALSE(button->GetStateFlags() & kStatePushed);
    driver.Release(POINT{150, 110});
    EXPECT_EQ(0u, host.GetCapture());
    EXPECT_NE(::GetCapture(), driver.Hwnd());

    // Pressed on the check box, released on the button: neither reacts.
    driver.Press(driver.Centre(L"chk"));
    driver.Drag(driver.Centre(L"btn"));
    driver.Release(driver.Centre(L"btn"));
    EXPECT_EQ(0, host.Count(EventCmd::EventID));
    EXPECT_FALSE(check->TestChecked());
}

TEST_F(HostClickTest, HoverAndPushedLooksReachThePixelsAndLeaveRestoresTheNormalOne)
{
    HostDriver driver = Open(kClickLayout);
    SWindow* button = driver.Child(L"img"); // an image button: no focus frame after the press
    ASSERT_NE(nullptr, button);
    const RECT face = driver.RectOf(L"img");
    Shot normal = driver.Capture();

    driver.Move(driver.At(L"img", 5, 5));
    EXPECT_TRUE(button->GetStateFlags() & kStateHover);
    Shot hover = driver.Capture();
    EXPECT_TRUE(hover.Differs(normal, face));

    driver.Send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(face.left + 5, face.top + 5));
    Shot pushed = driver.Capture();
    EXPECT_TRUE(pushed.Differs(hover, face));
    EXPECT_TRUE(pushed.Differs(normal, face));
    driver.Release(driver.At(L"img", 5, 5));
    EXPECT_FALSE(driver.Capture().Differs(hover, face));

    driver.Leave();
    EXPECT_FALSE(button->GetStateFlags() & kStateHover);
    Shot after = driver.Capture();
    EXPECT_FALSE(after.Differs(normal, face));
    // Only the button changed look all along.
    EXPECT_FALSE(hover.Differs(normal, RECT{0, face.bottom + 1, 300, 120}));
}

} // namespace
} // namespace hosttest
