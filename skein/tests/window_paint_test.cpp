// Painting a window tree off screen: background, skin, border, text and children in z-order,
// clipped, probed pixel by pixel.
#include "window_test_env.h"

using namespace wndtest;

namespace {

const COLORREF kWhite = 0xFFFFFF;
const COLORREF kRed = 0x0000FF;
const COLORREF kGreen = 0x00FF00;
const COLORREF kBlue = 0xFF0000;
const COLORREF kYellow = 0x00FFFF;

// Pixels in rect whose stored value is neither of the two colours.
int OtherPixels(IRenderTarget* rt, RECT rect, COLORREF a, COLORREF b)
{
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) {
            DWORD pixel = rt->GetPixel(x, y);
            count += pixel != Px(a) && pixel != Px(b);
        }
    }
    return count;
}

class WindowPaintTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        AddResources("<uidef><skin><colorrect name='blue' normal='#0000ff' hover='#00ff00'/>"
                     "<colorrect name='blue' scale='150' normal='#00ff00'/></skin></uidef>");
    }
};

} // namespace

TEST_F(WindowPaintTest, BackgroundSkinBorderTextAndChildrenInZOrder)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<window name='a' pos='10,10,@80,@80' margin='2' colorBorder='#ff0000' skin='blue'"
                 L" colorText='#ffff00' font='size:24'>MM</window>"
                 L"<window name='b' pos='50,50,@100,@45' colorBkgnd='#00ff00'/>"
                 L"<window name='hidden' pos='0,0,-0,-0' colorBkgnd='#ff0000' visible='0'/>"
                 L"</window>");
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    EXPECT_EQ(Px(kWhite), rt->GetPixel(5, 5));     // root background
    EXPECT_EQ(Px(kRed), rt->GetPixel(10, 10));     // a's border ring (margin 2)
    EXPECT_EQ(Px(kRed), rt->GetPixel(11, 40));
    EXPECT_EQ(Px(kBlue), rt->GetPixel(13, 13));    // a's skin over its inner rectangle
    EXPECT_EQ(Px(kGreen), rt->GetPixel(60, 60));   // b lies above a
    EXPECT_EQ(Px(kGreen), rt->GetPixel(149, 94));
    EXPECT_EQ(Px(kWhite), rt->GetPixel(160, 60));  // the hidden window draws nothing
    // The text lies over the skin, in a's text colour, and not under b.
    int textPixels = 0;
    for (int y = 12; y < 50; ++y) {
        for (int x = 12; x < 50; ++x)
            textPixels += rt->GetPixel(x, y) == Px(kYellow);
    }
    EXPECT_GT(textPixels, 10);
    EXPECT_EQ(0, OtherPixels(rt, RECT{50, 50, 150, 95}, kGreen, kGreen));

    // Hover switches the skin to its hover state.
    SWindow* a = m_root->LookupChildByName(SStringW(L"a"));
    a->ChangeState(kStateHover, 0, TRUE);
    rt = m_container.Render(200, 100);
    EXPECT_EQ(Px(kGreen), rt->GetPixel(13, 13));
}

TEST_F(WindowPaintTest, ClipClientKeepsChildrenInsideTheInnerRectangle)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<window name='clip' pos='20,20,@60,@40' margin='5' clipClient='1' colorBorder='#ff0000'>"
                 L"<window name='wide' colorBkgnd='#00ff00'/></window>"
                 L"<window name='open' pos='120,20,@60,@40' margin='5' colorBorder='#ff0000'>"
                 L"<window name='spill' pos='0,0,@200,@200' colorBkgnd='#00ff00'/></window>"
                 L"</window>");
    SWindow* wide = m_root->LookupChildByName(SStringW(L"wide"));
    RECT everywhere{0, 0, 200, 100};
    wide->SetFixedRect(&everywhere);
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    EXPECT_EQ(Px(kWhite), rt->GetPixel(10, 10));   // outside the clipping parent
    EXPECT_EQ(Px(kRed), rt->GetPixel(22, 22));     // its border is not covered by the child
    EXPECT_EQ(Px(kGreen), rt->GetPixel(30, 30));   // inside its inner rectangle
    EXPECT_EQ(Px(kWhite), rt->GetPixel(90, 70));
    EXPECT_EQ(0, OtherPixels(rt, RECT{25, 25, 75, 55}, kGreen, kGreen));
    // Without clipClient the child covers what lies around its parent.
    EXPECT_EQ(Px(kGreen), rt->GetPixel(190, 90));
}

TEST_F(WindowPaintTest, TranslucentWindowIsBlendedThroughItsCache)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<window name='glass' pos='10,10,@50,@50' colorBkgnd='#ff0000' alpha='128'/>"
                 L"</window>");
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    DWORD pixel = rt->GetPixel(30, 30);
    EXPECT_EQ(0xFFu, pixel >> 24);
    EXPECT_EQ(0xFFu, (pixel >> 16) & 0xFF);               // red stays
    EXPECT_NEAR(127, static_cast<int>(pixel & 0xFF), 3);  // half of the white shows through
    EXPECT_EQ(Px(kWhite), rt->GetPixel(70, 30));
}

TEST_F(WindowPaintTest, LayeredWindowDrawsItsSubtreeThroughItsLayer)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<window name='layer' pos='10,10,@60,@60' layeredWindow='1' alpha='128' colorBkgnd='#ff0000'>"
                 L"<window pos='10,10,@20,@20' colorBkgnd='#0000ff'/></window>"
                 L"</window>");
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    DWORD red = rt->GetPixel(15, 15);   // half red over white
    DWORD blue = rt->GetPixel(25, 25);  // half blue over white: the child went into the layer too
    EXPECT_EQ(0xFFu, (red >> 16) & 0xFF);
    EXPECT_NEAR(127, static_cast<int>(red & 0xFF), 3);
    EXPECT_EQ(0xFFu, blue & 0xFF);
    EXPECT_NEAR(127, static_cast<int>((blue >> 16) & 0xFF), 3);
    EXPECT_EQ(Px(kWhite), rt->GetPixel(80, 15));
}

TEST_F(WindowPaintTest, InvalidRegionRepaintsTheWindowAndWhatLiesAboveIt)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<window name='direct' pos='10,10,@80,@80' bkgndBlend='0' colorBkgnd='#ff0000'/>"
                 L"<window name='above' pos='50,10,@80,@80' colorBkgnd='#00ff00'/>"
                 L"</window>");
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    ASSERT_TRUE(rt);
    RECT everything{0, 0, 200, 100};
    rt->ClearRect(&everything, 0);
    SWindow* direct = m_root->LookupChildByName(SStringW(L"direct"));
    m_container.invalidated.clear();
    direct->InvalidateArea();
    EXPECT_TRUE(m_container.invalidated.empty()); // kept by the window, not sent to the container
    ASSERT_NE(nullptr, direct->GetInvalidRegion());
    direct->UpdateInvalidRegion();
    EXPECT_EQ(nullptr, direct->GetInvalidRegion());
    EXPECT_EQ(1, m_container.released);
    EXPECT_EQ(Px(kRed), rt->GetPixel(20, 20));
    EXPECT_EQ(Px(kGreen), rt->GetPixel(60, 20));  // the overlay
    EXPECT_EQ(0u, rt->GetPixel(5, 5));            // nothing outside the window

    SWindow* above = m_root->LookupChildByName(SStringW(L"above"));
    above->InvalidateArea(); // bkgndBlend (the default): the root's container repaints
    ASSERT_EQ(1u, m_container.invalidated.size());
    EXPECT_EQ(50, m_container.invalidated[0].left);
}

TEST_F(WindowPaintTest, PaintTargetWithBackgroundPaintsBelowAndAbove)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<window name='mid' pos='10,10,@80,@80'/>"
                 L"<window name='top' pos='50,10,@80,@80' colorBkgnd='#00ff00'/>"
                 L"</window>");
    SRefPtr<IRenderTarget> rt = m_container.Render(200, 100);
    RECT everything{0, 0, 200, 100};
    rt->ClearRect(&everything, 0);
    SWindow* mid = m_root->LookupChildByName(SStringW(L"mid"));
    IRenderTarget* target = mid->AcquirePaintTarget(nullptr, kPaintWithBackground, FALSE);
    ASSERT_EQ(rt.Get(), target);
    EXPECT_EQ(Px(kWhite), rt->GetPixel(20, 20)); // below: the root
    RECT spot{20, 20, 30, 30};
    target->FillSolidRect(&spot, kBlue | 0xFF000000);
    mid->ReturnPaintTarget(target);
    EXPECT_EQ(Px(kBlue), rt->GetPixel(25, 25));
    EXPECT_EQ(Px(kGreen), rt->GetPixel(60, 20)); // above: painted after
    EXPECT_EQ(0u, rt->GetPixel(5, 5));

    mid->IncRedrawLock();
    IRenderTarget* dummy = mid->AcquirePaintTarget(nullptr, kPaintWithBackground, FALSE);
    EXPECT_NE(rt.Get(), dummy);
    mid->ReturnPaintTarget(dummy);
    mid->DecRedrawLock();
}

TEST_F(WindowPaintTest, ScaleMessageLooksSkinsUpAgainAndTintReachesTheSubtree)
{
    BuildFromXml(L"<window><window name='a' skin='blue' margin='2dp'><window name='b'/></window></window>");
    SWindow* a = m_root->LookupChildByName(SStringW(L"a"));
    SWindow* b = m_root->LookupChildByName(SStringW(L"b"));
    ASSERT_NE(nullptr, a->GetSkin());
    EXPECT_EQ(100, a->GetSkin()->GetScale());
    a->SendUiMessage(kUiMsgScaleChanged, 150);
    EXPECT_EQ(150, a->GetSkin()->GetScale());
    EXPECT_EQ(150, a->GetStyle().GetScale());
    EXPECT_EQ(3, a->GetStyle().GetMarginRect().left);
    EXPECT_EQ(1, a->GetLayoutDirty());

    m_root->BroadcastColorTint(0x123456);
    EXPECT_EQ(0x123456u, a->GetColorTint());
    EXPECT_EQ(0x123456u, b->GetColorTint());
}

TEST_F(WindowPaintTest, PreferredSizeOfTextAddsPaddingAndMarginAndWrapsAtMaxWidth)
{
    BuildFromXml(L"<window>"
                 L"<window name='fixed' pos='0,0,@40,@30' text='long long long text'/>"
                 L"<window name='line' pos='0,0' padding='3' margin='2' text='word word word word'/>"
                 L"<window name='wrapped' pos='0,0' maxWidth='60' textMode='0x10' text='word word word word'/>"
                 L"<window name='parent' pos='0,0'><window pos='0,0,@70,@25'/></window>"
                 L"</window>");
    SIZE fixed = m_root->LookupChildByName(SStringW(L"fixed"))->ComputePreferredSize(nullptr);
    EXPECT_EQ(40, fixed.cx);
    EXPECT_EQ(30, fixed.cy);

    SWindow* line = m_root->LookupChildByName(SStringW(L"line"));
    SIZE size = line->ComputePreferredSize(nullptr);
    RECT rect = line->GetWindowRect();
    EXPECT_EQ(size.cx, rect.right - rect.left);
    EXPECT_GT(size.cx, 40);
    SWindow* wrapped = m_root->LookupChildByName(SStringW(L"wrapped"));
    SIZE narrow = wrapped->ComputePreferredSize(nullptr);
    EXPECT_LE(narrow.cx, 60);
    EXPECT_GT(narrow.cy, size.cy - 10); // several lines: taller than the one line (less its frame of 10)

    SIZE parent = m_root->LookupChildByName(SStringW(L"parent"))->ComputePreferredSize(nullptr);
    EXPECT_EQ(70, parent.cx);
    EXPECT_EQ(25, parent.cy);
}
