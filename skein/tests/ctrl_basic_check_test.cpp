// Check boxes, radio groups and toggles: box placement, checked states, clicks and keys.
#include "ctrl_basic_test_env.h"

using namespace ctrltest;

namespace {

class CtrlCheckTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        m_check = AddSkin(L"_skin.sys.checkbox", 8, SIZE{12, 12});
        m_radio = AddSkin(L"_skin.sys.radio", 8, SIZE{10, 10});
        m_toggle = AddSkin(L"_skin.sys.tree.toggle", 6, SIZE{16, 16});
        AddSkin(L"_skin.sys.focuscheckbox", 1, SIZE{12, 12});
        AddSkin(L"_skin.sys.focusradio", 1, SIZE{10, 10});
    }
    // The state the skin last drew, -1 when it drew nothing.
    int DrawnState(RecSkin* skin)
    {
        skin->draws.clear();
        Render();
        return skin->draws.empty() ? -1 : skin->draws.back().state;
    }

    RecSkin* m_check = nullptr;
    RecSkin* m_radio = nullptr;
    RecSkin* m_toggle = nullptr;
};

} // namespace

TEST_F(CtrlCheckTest, CheckBoxSitsLeftAndCentredAndAddsFourWhenChecked)
{
    BuildFromXml(L"<window><check name='c' pos='10,10,@100,@30'>Go</check></window>");
    SCheckBox* check = Find<SCheckBox>(L"c");
    ASSERT_NE(nullptr, check);
    RECT box = check->ComputeBoxRect();
    EXPECT_EQ(10, box.left);
    EXPECT_EQ(19, box.top);  // (10 + 40 - 12) / 2
    EXPECT_EQ(22, box.right);
    RECT text;
    check->ComputeTextRect(&text);
    EXPECT_EQ(10 + 12 + 4, text.left);

    EXPECT_EQ(0, DrawnState(m_check));
    check->ChangeState(kStateHover, 0, TRUE);
    EXPECT_EQ(1, DrawnState(m_check));
    check->SetCheckedState(TRUE);
    EXPECT_EQ(5, DrawnState(m_check));
    check->EnableWindow(FALSE);
    EXPECT_EQ(7, DrawnState(m_check));
}

TEST_F(CtrlCheckTest, CheckBoxFlipsOnClickAndSpaceAndSwallowsKeys)
{
    BuildFromXml(L"<window><check name='c' pos='10,10,@100,@30' checked='false'/></window>");
    SCheckBox* check = Find<SCheckBox>(L"c");
    ASSERT_NE(nullptr, check);
    EXPECT_FALSE(check->TestChecked());
    Click(check, 20, 20);
    EXPECT_TRUE(check->TestChecked());
    EXPECT_EQ(1, m_ctrl.Count(EventCmd::EventID, L"c"));

    // Released outside: no flip, no command.
    check->SendUiMessage(WM_LBUTTONDOWN, 0, At(20, 20));
    check->SendUiMessage(WM_LBUTTONUP, 0, At(150, 80));
    EXPECT_TRUE(check->TestChecked());
    EXPECT_EQ(1, m_ctrl.Count(EventCmd::EventID, L"c"));

    check->SendUiMessage(WM_KEYDOWN, VK_SPACE);
    EXPECT_FALSE(check->TestChecked());
    EXPECT_EQ(2, m_ctrl.Count(EventCmd::EventID, L"c"));
    BOOL handled = FALSE;
    check->SendUiMessage(WM_KEYDOWN, 'A', 0, &handled);
    EXPECT_TRUE(handled);
    EXPECT_FALSE(check->TestChecked());
}

TEST_F(CtrlCheckTest, CheckBoxWithAnUnknownSkinDrawsOnlyItsText)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<check name='c' pos='0,0,@100,@30' skin='noSuchSkin' colorText='#0000ff'>MMM</check>"
                 L"</window>");
    SCheckBox* check = Find<SCheckBox>(L"c");
    ASSERT_NE(nullptr, check);
    EXPECT_EQ(nullptr, check->GetBoxSkin());
    SRefPtr<IRenderTarget> rt = Render();
    EXPECT_TRUE(m_check->draws.empty());
    int textPixels = 0;
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 100; ++x)
            textPixels += rt->GetPixel(x, y) == Px(0xFF0000);
    }
    EXPECT_GT(textPixels, 5);
}

TEST_F(CtrlCheckTest, CheckingOneRadioSilentlyUnchecksItsSibling)
{
    BuildFromXml(L"<window>"
                 L"<radio name='r1' pos='0,0,@60,@20' checked='1'/>"
                 L"<radio name='r2' pos='0,30,@60,@20'/>"
                 L"<radio name='r3' pos='0,60,@60,@20' checked='false'/>"
                 L"</window>");
    SRadioBox* r1 = Find<SRadioBox>(L"r1");
    SRadioBox* r2 = Find<SRadioBox>(L"r2");
    SRadioBox* r3 = Find<SRadioBox>(L"r3");
    ASSERT_TRUE(r1 && r2 && r3);
    // "checked" clears only for an exact "0": "false" checked r3 and so unchecked r1.
    EXPECT_FALSE(r1->TestChecked());
    EXPECT_TRUE(r3->TestChecked());
    EXPECT_EQ(r3, r2->FindCheckedGroupMember());
    m_ctrl.fired.clear();

    Click(r2, 10, 40);
    EXPECT_TRUE(r2->TestChecked());
    EXPECT_FALSE(r3->TestChecked());
    EXPECT_EQ(0, m_ctrl.Count(EventSwndStateChanged::EventID, L"r3"));
    EXPECT_GT(m_ctrl.Count(EventSwndStateChanged::EventID, L"r2"), 0);
    EXPECT_EQ(1, m_ctrl.Count(EventCmd::EventID, L"r2"));

    // A click on the checked box leaves it checked.
    Click(r2, 10, 40);
    EXPECT_TRUE(r2->TestChecked());

    // Gaining focus checks, unless the focus came for reason 2.
    r1->SendUiMessage(WM_SETFOCUS, 0, 2);
    EXPECT_FALSE(r1->TestChecked());
    r1->SendUiMessage(WM_SETFOCUS, 0, 0);
    EXPECT_TRUE(r1->TestChecked());
    EXPECT_FALSE(r2->TestChecked());
}

TEST_F(CtrlCheckTest, RadioBoxPlacesItsBoxByIconAlignment)
{
    BuildFromXml(L"<window><radio name='r' pos='0,0,@100,@40' iconAlign='right' iconValign='bottom'/></window>");
    SRadioBox* radio = Find<SRadioBox>(L"r");
    ASSERT_NE(nullptr, radio);
    RECT box = radio->ComputeBoxRect();
    EXPECT_EQ(90, box.left);
    EXPECT_EQ(30, box.top);
    RECT text;
    radio->ComputeTextRect(&text);
    EXPECT_EQ(100 - 14, text.right);
    EXPECT_EQ(40 - 14, text.bottom);
    EXPECT_EQ(E_FAIL, radio->ApplyAttribute(SStringW(L"iconAlign"), SStringW(L"Right"), FALSE));
    EXPECT_EQ(S_FALSE, radio->ApplyAttribute(SStringW(L"iconValign"), SStringW(L"middle"), FALSE));
    EXPECT_EQ(15, radio->ComputeBoxRect().top);
}

TEST_F(CtrlCheckTest, ToggleFlipsOnClickAndAddsThreeToItsState)
{
    BuildFromXml(L"<window><toggle name='t' pos='0,0,@16,@16'/></window>");
    SToggle* toggle = Find<SToggle>(L"t");
    ASSERT_NE(nullptr, toggle);
    EXPECT_EQ(0, DrawnState(m_toggle));
    Click(toggle, 5, 5);
    EXPECT_TRUE(toggle->IsToggled());
    EXPECT_EQ(3, DrawnState(m_toggle));
    toggle->ChangeState(kStateHover, 0, TRUE);
    EXPECT_EQ(4, DrawnState(m_toggle));
    SIZE preferred = toggle->ComputePreferredSize(nullptr);
    EXPECT_EQ(16, preferred.cx);
}
