// Push buttons: skin states, the hover fade on the timeline, clicks, keys and the
// accelerator's conditions.
#include "ctrl_basic_test_env.h"

using namespace ctrltest;

namespace {

class CtrlButtonTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        m_skin = AddSkin(L"_skin.sys.btn.normal", 4, SIZE{60, 24});
        BuildFromXml(L"<window>"
                     L"<button name='b' pos='10,10,@60,@24'>OK</button>"
                     L"<button name='fade' pos='10,50,@60,@24' animate='1'/>"
                     L"</window>");
        m_button = Find<SButton>(L"b");
        m_fade = Find<SButton>(L"fade");
        ASSERT_NE(nullptr, m_button);
        ASSERT_NE(nullptr, m_fade);
    }
    int LastState()
    {
        m_skin->draws.clear();
        Render();
        return m_skin->draws.empty() ? -1 : m_skin->draws[0].state;
    }

    RecSkin* m_skin = nullptr;
    SButton* m_button = nullptr;
    SButton* m_fade = nullptr;
};

} // namespace

TEST_F(CtrlButtonTest, DrawsTheBuiltInSkinByState)
{
    EXPECT_EQ(m_skin, m_button->GetSkin());
    EXPECT_TRUE(m_button->IsFocusable());
    EXPECT_EQ(0, LastState());
    m_button->ChangeState(kStateHover, 0, TRUE);
    EXPECT_EQ(1, LastState());
    m_button->ChangeState(kStatePushed, 0, TRUE);
    EXPECT_EQ(2, LastState());
    m_button->EnableWindow(FALSE);
    EXPECT_EQ(3, LastState());
    SRefPtr<IRenderTarget> rt = Render();
    EXPECT_EQ(Px(StateColor(3)), rt->GetPixel(12, 12));
    SIZE preferred = m_button->ComputePreferredSize(nullptr);
    EXPECT_EQ(60, preferred.cx);
    EXPECT_EQ(24, preferred.cy);
}

TEST_F(CtrlButtonTest, ClickSpaceAndReturnFireCommands)
{
    Click(m_button, 20, 20);
    EXPECT_EQ(1, m_ctrl.Count(EventCmd::EventID, L"b"));

    for (WPARAM key : {WPARAM(VK_SPACE), WPARAM(VK_RETURN)}) {
        EXPECT_TRUE(m_button->SendUiMessage(WM_KEYDOWN, key) == 0);
        EXPECT_TRUE(m_button->GetStateFlags() & kStatePushed);
        m_button->SendUiMessage(WM_KEYUP, key);
        EXPECT_FALSE(m_button->GetStateFlags() & kStatePushed);
    }
    EXPECT_EQ(3, m_ctrl.Count(EventCmd::EventID, L"b"));

    // Other keys are left to others, and a key-up without the press fires nothing.
    BOOL handled = TRUE;
    m_button->SendUiMessage(WM_KEYDOWN, 'A', 0, &handled);
    EXPECT_FALSE(handled);
    m_button->SendUiMessage(WM_KEYUP, VK_SPACE);
    EXPECT_EQ(3, m_ctrl.Count(EventCmd::EventID, L"b"));
}

TEST_F(CtrlButtonTest, HoverFadeRunsNineTicksAndBlendsTheHoverState)
{
    m_fade->ChangeState(kStateHover, 0, TRUE);
    EXPECT_EQ(50, m_fade->GetFadeAlpha());
    EXPECT_EQ(1u, m_ctrl.timeline.count(m_fade));

    // During the fade: state 0 at the skin's alpha, then state 1 at alpha * fade / 256.
    m_skin->draws.clear();
    Render();
    std::vector<SkinDraw> fadeDraws;
    for (const SkinDraw& draw : m_skin->draws) {
        if (draw.rect.top == 50)
            fadeDraws.push_back(draw);
    }
    ASSERT_EQ(2u, fadeDraws.size());
    EXPECT_EQ(0, fadeDraws[0].state);
    EXPECT_EQ(255, fadeDraws[0].alpha);
    EXPECT_EQ(1, fadeDraws[1].state);
    EXPECT_EQ(255 * 50 / 256, fadeDraws[1].alpha);

    int ticks = 0;
    while (m_ctrl.timeline.count(m_fade) && ticks < 20) {
        m_fade->OnTimelineTick();
        ++ticks;
    }
    EXPECT_EQ(9, ticks);
    EXPECT_EQ(255, m_fade->GetFadeAlpha());
}

TEST_F(CtrlButtonTest, FadeIsCancelledOrSkippedAndItsStepKeepsOneByte)
{
    m_fade->ChangeState(kStateHover, 0, TRUE);
    m_fade->SendUiMessage(WM_LBUTTONDOWN, 0, At(20, 60));  // pressing cancels
    EXPECT_EQ(255, m_fade->GetFadeAlpha());
    EXPECT_EQ(0u, m_ctrl.timeline.count(m_fade));

    // Losing hover while holding the capture shows no fade.
    ASSERT_EQ(m_fade->GetHandle(), m_ctrl.capture);
    m_fade->ChangeState(0, kStateHover | kStatePushed, TRUE);
    m_fade->ChangeState(kStateHover, 0, TRUE);
    EXPECT_EQ(255, m_fade->GetFadeAlpha());

    m_ctrl.capture = 0;
    m_fade->ApplyAttribute(SStringW(L"animateStep"), SStringW(L"300"), FALSE);  // 300 & 0xFF = 44
    m_fade->ChangeState(0, kStateHover, TRUE);
    m_fade->OnTimelineTick();
    EXPECT_EQ(94, m_fade->GetFadeAlpha());

    // A step of 0 ends the fade at the first tick instead of running forever.
    m_fade->ApplyAttribute(SStringW(L"animateStep"), SStringW(L"0"), FALSE);
    m_fade->ChangeState(kStateHover, 0, TRUE);
    m_fade->OnTimelineTick();
    EXPECT_EQ(255, m_fade->GetFadeAlpha());
    EXPECT_EQ(0u, m_ctrl.timeline.count(m_fade));
}

TEST_F(CtrlButtonTest, AcceleratorActsOnlyWhenAllowed)
{
    const CAccelerator f5(VK_F5, false, false, false);
    EXPECT_TRUE(m_button->OnAcceleratorPressed(f5));
    m_button->ChangeVisibility(FALSE);
    EXPECT_TRUE(m_button->OnAcceleratorPressed(f5));  // hidden still clicks by default
    m_button->ApplyAttribute(SStringW(L"disableAccelIfInvisible"), SStringW(L"TRUE"), FALSE);
    EXPECT_FALSE(m_button->OnAcceleratorPressed(f5));
    m_button->ChangeVisibility(TRUE);
    m_button->EnableWindow(FALSE);
    EXPECT_FALSE(m_button->OnAcceleratorPressed(f5));
    EXPECT_EQ(2, m_ctrl.Count(EventCmd::EventID, L"b"));
}

TEST_F(CtrlButtonTest, ImageButtonDrawsNoFocusFrame)
{
    BuildFromXml(L"<window><imgbtn name='i' pos='0,0,@60,@24' skin='_skin.sys.btn.normal'/></window>");
    SImageButton* image = Find<SImageButton>(L"i");
    ASSERT_NE(nullptr, image);
    EXPECT_TRUE(m_button->GetOwnFlags() & kWndDrawFocusRect);
    EXPECT_FALSE(image->GetOwnFlags() & kWndDrawFocusRect);
    EXPECT_NE(nullptr, Find<SButton>(L"i"));  // an image button is a button
}
