// The axis square's bevel and cross-hair pixels, and the lamp's skin states and caption.
#include "widget_test_env.h"

using namespace widgettest;

namespace {

const DWORD kBlack = Px(0x000000);
const DWORD kWhite = Px(0xFFFFFF);

class WidgetAxisTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        BuildFromXml(L"<window><AixsCtrl name='axis' pos='10,10,@72,@72'/>"
                     L"<AixsCtrl name='tiny' pos='100,10,@5,@5'/></window>");
        m_axis = Find<SAixsCtrl>(L"axis");
        ASSERT_NE(nullptr, m_axis);
    }

    SAixsCtrl* m_axis = nullptr;
};

class WidgetLampTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_twoStates = AddSkin(L"lamp2", 2, SIZE{40, 40});
        m_oneState = AddSkin(L"lamp1", 1, SIZE{40, 40});
        BuildFromXml(L"<window><LampCtrl name='two' pos='0,0,@40,@40' skin='lamp2' colorText='#00ff00'/>"
                     L"<LampCtrl name='one' pos='50,0,@40,@40' skin='lamp1'/></window>");
        m_two = Find<SLampCtrl>(L"two");
        m_one = Find<SLampCtrl>(L"one");
        ASSERT_NE(nullptr, m_two);
        ASSERT_NE(nullptr, m_one);
    }

    // Pixels of the caption colour (pure green) inside the first lamp.
    int GreenPixels(IRenderTarget* rt)
    {
        int count = 0;
        for (int y = 0; y < 40; ++y) {
            for (int x = 0; x < 40; ++x)
                count += ((rt->GetPixel(x, y) >> 8) & 0xFF) > 0x80;
        }
        return count;
    }

    RecSkin* m_twoStates = nullptr;
    RecSkin* m_oneState = nullptr;
    SLampCtrl* m_two = nullptr;
    SLampCtrl* m_one = nullptr;
};

} // namespace

TEST_F(WidgetAxisTest, BevelAndFaceSurroundTheCross)
{
    SRefPtr<IRenderTarget> rt = Render();
    const int l = 10, t = 10, r = 81, b = 81; // the last pixel row and column
    EXPECT_EQ(Px(0x9d9da1), rt->GetPixel(l, t + 30));      // outer shadow, left
    EXPECT_EQ(Px(0x9d9da1), rt->GetPixel(l + 30, t));      // outer shadow, top
    EXPECT_EQ(kWhite, rt->GetPixel(r, t + 30));            // outer light, right
    EXPECT_EQ(kWhite, rt->GetPixel(l + 30, b));            // outer light, bottom
    EXPECT_EQ(Px(0x9d9da1), rt->GetPixel(l + 1, t + 30));  // inner shadow
    EXPECT_EQ(Px(0xe2eff1), rt->GetPixel(l + 30, b - 1)); // inner light, bottom only
    EXPECT_EQ(0u, rt->GetPixel(r - 1, t + 30));            // no inner light on the right
    EXPECT_EQ(kWhite, rt->GetPixel(l + 40, t + 20));       // face
}

TEST_F(WidgetAxisTest, CrossFollowsTheAxesAndIsCutAtTheBevel)
{
    struct Case {
        int x, y;
        POINT centre;            // relative to the square's corner
        int left, right;         // first and last black pixel of the horizontal bar
    };
    const Case cases[] = {
        {0, 0, {3, 3}, 3, 10},               // cut at 3 on the near side
        {65535, 65535, {68, 68}, 61, 67},    // the end point (the centre) is left out
        {32767, 32767, {35, 35}, 28, 42},
        {-5, 70000, {3, 68}, 3, 10},         // out of range: the nearer end
        {16384, 49152, {18, 54}, 11, 25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
        m_axis->SetAxisXY(c.x, c.y);
        EXPECT_EQ(c.x, m_axis->GetAxisX());
        SRefPtr<IRenderTarget> rt = Render();
        const int y = 10 + c.centre.y;
        EXPECT_EQ(kBlack, rt->GetPixel(10 + c.left, y));
        EXPECT_EQ(kBlack, rt->GetPixel(10 + c.right, y));
        EXPECT_EQ(kWhite, rt->GetPixel(10 + c.right + 1, y));
        if (c.left > 3) {
            EXPECT_EQ(kWhite, rt->GetPixel(10 + c.left - 1, y));
        }
        // the vertical bar through the centre column, beside the centre
        EXPECT_EQ(kBlack, rt->GetPixel(10 + c.centre.x, c.centre.y > 3 ? y - 1 : y + 1));
    }
}

TEST_F(WidgetAxisTest, UnchangedCrossIsNotRedrawnAndATinySquareGetsNoCross)
{
    TakeInvalidBox(m_axis);
    m_axis->SetAxisXY(0, 0);
    EXPECT_FALSE(Invalidated(m_axis));
    m_axis->SetAxisXY(100, 100); // same pixel: jitter costs no repaint
    EXPECT_FALSE(Invalidated(m_axis));
    m_axis->SetAxisXY(32767, 32767);
    RECT box = TakeInvalidBox(m_axis);
    EXPECT_EQ(10, box.left);
    EXPECT_EQ(82, box.bottom);
    m_axis->SetAxisXY(32767, 32767);
    EXPECT_FALSE(Invalidated(m_axis));

    SAixsCtrl* tiny = Find<SAixsCtrl>(L"tiny");
    ASSERT_NE(nullptr, tiny);
    tiny->SetAxisXY(65535, 65535);
    SRefPtr<IRenderTarget> rt = Render();
    for (int y = 10; y < 15; ++y) {
        for (int x = 100; x < 105; ++x)
            EXPECT_NE(kBlack, rt->GetPixel(x, y)) << x << "," << y;
    }
}

TEST_F(WidgetLampTest, TwoStateSkinFollowsTheLampOneStateSkinNeverChanges)
{
    for (int state : {0, 1, 7, 0}) {
        SCOPED_TRACE(state);
        m_two->SetLampState(state);
        m_one->SetLampState(state);
        // hovering changes nothing: the lamp's own state picks the skin state
        m_two->ChangeState(kStateHover, 0, FALSE);
        m_twoStates->draws.clear();
        m_oneState->draws.clear();
        SRefPtr<IRenderTarget> rt = Render();
        ASSERT_EQ(1u, m_twoStates->draws.size());
        EXPECT_EQ(state ? 1 : 0, m_twoStates->draws[0].state);
        ASSERT_EQ(1u, m_oneState->draws.size());
        EXPECT_EQ(0, m_oneState->draws[0].state);
        EXPECT_EQ(Px(StateColor(state ? 1 : 0)), rt->GetPixel(1, 1));
    }
}

TEST_F(WidgetLampTest, CaptionIsDrawnInItsColourAndRedrawnOnlyThroughTheState)
{
    EXPECT_EQ(0, GreenPixels(Render()));
    EXPECT_EQ(0xFF00FF00u, m_two->GetColorText());

    TakeInvalidBox(m_two);
    m_two->lampText = L"8";
    EXPECT_FALSE(Invalidated(m_two));
    m_two->SetLampState(0); // same state, new text
    EXPECT_TRUE(Invalidated(m_two));
    m_two->SetLampState(0);
    EXPECT_FALSE(Invalidated(m_two));
    m_two->SetLampState(1);
    EXPECT_TRUE(Invalidated(m_two));
    EXPECT_GT(GreenPixels(Render()), 5);

    // An empty colour is refused and keeps the old one.
    EXPECT_EQ(E_FAIL, m_two->ApplyAttribute(SStringW(L"colorText"), SStringW(L""), FALSE));
    EXPECT_EQ(0xFF00FF00u, m_two->GetColorText());
    EXPECT_EQ(S_FALSE, m_two->ApplyAttribute(SStringW(L"COLORTEXT"), SStringW(L"#0000ff"), FALSE));
    EXPECT_EQ(0xFFFF0000u, m_two->GetColorText());
}

TEST_F(WidgetLampTest, DestroyingALampStillDestroysItsChildren)
{
    SWindow* child = AddChild(m_two, L"<window name='inner'/>", RECT{0, 0, 10, 10});
    SwndHandle handle = child->GetHandle();
    m_two->SendUiMessage(WM_DESTROY);
    EXPECT_EQ(0, m_two->GetChildCount());
    EXPECT_EQ(nullptr, SWindowMgr::Instance()->GetWindow(handle));
}
