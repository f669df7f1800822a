// The hat widgets: skin frames by direction, the vector arrows' pixels, the rotation, and the
// deflection arrow's magnitude and redrawn area.
#include "widget_test_env.h"

using namespace widgettest;

namespace {

const DWORD kRed = 0xFF0000;  // colour part of a stored pixel
const DWORD kGrey = 0x808080; // the grey stock brush

class WidgetHatTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_frames = AddSkin(L"skinpov", 9, SIZE{30, 30});
        BuildFromXml(L"<window>"
                     L"<PovCtrlEx name='arrows' pos='0,0,@100,@100'/>"
                     L"<PovCtrlEx2 name='PovEx1' pos='110,0,@30,@30' skin='skinpov'/>"
                     L"<PovCtrlEx2 name='bare' pos='150,0,@30,@30' colorText='#ffffff'>X</PovCtrlEx2>"
                     L"<PovCtrl name='deflect' pos='0,0,@100,@100' visible='0'/>"
                     L"</window>");
        m_arrows = Find<SPovCtrlEx>(L"arrows");
        m_skinned = Find<SPovCtrlEx2>(L"PovEx1");
        m_deflect = Find<SPovCtrl>(L"deflect");
        ASSERT_NE(nullptr, m_arrows);
        ASSERT_NE(nullptr, m_skinned);
        ASSERT_NE(nullptr, m_deflect);
    }

    // Which of the eight arrows of the 100 x 100 control are red (bit i: i * 45 degrees),
    // probed on each shaft 28 pixels from the centre (49, 49).
    int RedArrows(IRenderTarget* rt)
    {
        const POINT probes[8] = {{49, 21}, {69, 29}, {77, 49}, {69, 69}, {49, 77}, {29, 69}, {21, 49}, {29, 29}};
        int red = 0;
        for (int i = 0; i < 8; ++i) {
            DWORD colour = Rgb(rt, probes[i].x, probes[i].y);
            EXPECT_TRUE(colour == kRed || colour == kGrey) << i << ": " << std::hex << colour;
            red |= (colour == kRed) << i;
        }
        return red;
    }

    RecSkin* m_frames = nullptr;
    SPovCtrlEx* m_arrows = nullptr;
    SPovCtrlEx2* m_skinned = nullptr;
    SPovCtrl* m_deflect = nullptr;
};

} // namespace

TEST_F(WidgetHatTest, SkinnedHatShowsTheFrameOfEachDirectionAndFrame8Otherwise)
{
    const struct {
        int value;
        int frame;
    } cases[] = {{0, 0},     {4500, 1},  {4550, 1},  {9000, 2},  {13500, 3}, {18000, 4}, {22500, 5},
                 {27000, 6}, {31500, 7}, {4499, 8},  {35999, 8}, {36000, 8}, {-1, 8},    {99000, 8}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        m_skinned->SetPovValue(c.value);
        m_frames->draws.clear();
        SRefPtr<IRenderTarget> rt = Render();
        // only the paint draws the frame set: no background frame beneath it
        ASSERT_EQ(1u, m_frames->draws.size());
        EXPECT_EQ(c.frame, m_frames->draws[0].state);
        EXPECT_EQ(110, m_frames->draws[0].rect.left);
        EXPECT_EQ(Px(StateColor(c.frame)), rt->GetPixel(125, 15));
    }
}

TEST_F(WidgetHatTest, SkinnedHatWithoutSkinPaintsNothingNotEvenItsText)
{
    SRefPtr<IRenderTarget> rt = Render();
    for (int y = 0; y < 30; ++y) {
        for (int x = 150; x < 180; ++x)
            ASSERT_EQ(0u, rt->GetPixel(x, y)) << x << "," << y;
    }
}

TEST_F(WidgetHatTest, ArrowsShowTheActiveDirectionInRed)
{
    // a new control shows "up" until its first value
    SRefPtr<IRenderTarget> rt = Render();
    EXPECT_EQ(1, RedArrows(rt));
    EXPECT_EQ(kRed, Rgb(rt, 49, 49)); // the centre dot
    EXPECT_EQ(0x646464u, Rgb(rt, 44, 49)); // its outline

    const struct {
        int value;
        int red;
    } cases[] = {{9000, 1 << 2}, {4500, 1 << 1}, {27000, 1 << 6}, {31500, 1 << 7}, {-1, 0}, {36000, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        m_arrows->SetPovValue(c.value);
        rt = Render();
        EXPECT_EQ(c.red, RedArrows(rt));
        EXPECT_EQ(kRed, Rgb(rt, 49, 49));
    }
    // nothing outside the arrows' reach
    EXPECT_EQ(0u, rt->GetPixel(3, 3));
}

TEST_F(WidgetHatTest, RepeatedHatValuesAreNotRedrawn)
{
    for (SPovCtrlEx* hat : {m_arrows, static_cast<SPovCtrlEx*>(m_skinned)}) {
        TakeInvalidBox(hat);
        hat->SetPovValue(9000);
        EXPECT_TRUE(Invalidated(hat));
        hat->SetPovValue(9000);
        EXPECT_FALSE(Invalidated(hat));
        hat->SetPovValue(-1);
        EXPECT_TRUE(Invalidated(hat));
        EXPECT_EQ(0xFFFFFFFFu, hat->GetPovValue());
    }
}

TEST_F(WidgetHatTest, RotationTurnsClockwiseOnScreenAndTruncates)
{
    const struct {
        POINT in;
        int angle;
        POINT out;
    } cases[] = {
        {{0, 10}, 0, {0, 10}},   {{0, 10}, 90, {10, 0}},   {{10, 0}, 90, {0, -10}},
        {{0, 10}, 180, {0, -10}}, {{0, 10}, 45, {7, 7}},   {{0, 10}, -90, {-10, 0}},
    };
    for (const auto& c : cases) {
        POINT points[2] = {c.in, c.in};
        SPovCtrlEx::RotatePoints(points, 1, c.angle);
        EXPECT_EQ(c.out.x, points[0].x) << c.angle;
        EXPECT_EQ(c.out.y, points[0].y) << c.angle;
        EXPECT_EQ(c.in.x, points[1].x); // only count points turn
    }
}

TEST_F(WidgetHatTest, DeflectionArrowTakesItsMagnitudeFromTheSectorsAxis)
{
    const struct {
        int value, x, y;
        double magnitude;
    } cases[] = {
        {0, 30, -50, 50},     {18000, 30, -50, 50}, {9000, -30, 50, 30},    {27000, -30, 50, 30},
        {4500, 30, -50, 40},  {31500, -30, 50, 40}, {36000, 30, 50, 0},     {-1, 30, 50, 0},
        {0x10000 + 9000, 70, 0, 70}, // only the low 16 bits count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        m_deflect->SetPovState(c.value, c.x, c.y);
        EXPECT_EQ(c.magnitude, m_deflect->GetMagnitude());
        EXPECT_EQ(c.value & 0xFFFF, m_deflect->GetPovValue());
    }
}

TEST_F(WidgetHatTest, DeflectionArrowRedrawsOnlyWhereItWasAndIs)
{
    m_deflect->ChangeVisibility(TRUE, FALSE);
    m_arrows->ChangeVisibility(FALSE, FALSE);
    TakeInvalidBox(m_deflect);
    // centred before any arrow: nothing to redraw, nothing breaks
    m_deflect->SetPovState(-1, 0, 0);
    EXPECT_FALSE(Invalidated(m_deflect));

    m_deflect->SetPovState(9000, 100, 0);
    RECT right = TakeInvalidBox(m_deflect);
    EXPECT_GT(right.left, 60);
    EXPECT_GT(right.right, 90);
    EXPECT_LT(right.top, 49);
    EXPECT_GT(right.bottom, 49);
    SRefPtr<IRenderTarget> rt = Render();
    EXPECT_EQ(kRed, Rgb(rt, 84, 49)); // on the arrow near the rim

    m_deflect->SetPovState(9000, 100, 0);
    EXPECT_FALSE(Invalidated(m_deflect));

    // a new direction redraws the old arrow's place and the new one's
    m_deflect->SetPovState(0, 0, 100);
    RECT both = TakeInvalidBox(m_deflect);
    EXPECT_LE(both.left, 49);
    EXPECT_GE(both.right, right.right);
    EXPECT_LT(both.top, 20);

    // centred: the last arrow's place is redrawn and the arrow is gone
    m_deflect->SetPovState(36000, 0, 0);
    EXPECT_TRUE(Invalidated(m_deflect));
    rt = Render();
    EXPECT_NE(kRed, Rgb(rt, 49, 14));

    // with no deflection the arrow collapses onto the centre
    m_deflect->SetPovState(9000, 0, 0);
    rt = Render();
    EXPECT_NE(kRed, Rgb(rt, 84, 49));
    EXPECT_EQ(kRed, Rgb(rt, 49, 49));

    m_deflect->SendUiMessage(WM_DESTROY);
    m_deflect->SetPovState(18000, 0, 100); // regions are made again after a destroy
    EXPECT_TRUE(Invalidated(m_deflect));
}
