// Images, animated images, icons and progress bars.
#include "ctrl_basic_test_env.h"

using namespace ctrltest;

namespace {

// Answers every icon it holds with a white icon of the requested size, logging "name:cx:cy".
class IconProvider : public skein_test::MemProvider {
public:
    HICON LoadIconRes(const wchar_t* name, int cx, int cy) override
    {
        requests.push_back(std::wstring(name) + L":" + std::to_wstring(cx) + L":" + std::to_wstring(cy));
        std::vector<BYTE> andMask(cx * cy / 8, 0x00);
        std::vector<BYTE> xorMask(cx * cy / 8, 0xFF);
        return ::CreateIcon(nullptr, cx, cy, 1, 1, andMask.data(), xorMask.data());
    }
    std::vector<std::wstring> requests;
};

class CtrlImageTest : public CtrlTest {
protected:
    void SetUp() override
    {
        CtrlTest::SetUp();
        m_wide = AddSkin(L"wide", 3, SIZE{200, 100});
        m_frames = AddSkin(L"frames", 3, SIZE{20, 20});
        m_empty = AddSkin(L"empty", 0, SIZE{20, 20});
    }
    // A solid opaque bitmap (colour with red in the low byte).
    SRefPtr<IBitmap> SolidBitmap(int width, int height, COLORREF color)
    {
        std::vector<DWORD> pixels(width * height, Px(color));
        IBitmap* bitmap = nullptr;
        EXPECT_TRUE(m_factory->CreateBitmap(&bitmap));
        bitmap->Init(width, height, pixels.data());
        return SRefPtr<IBitmap>(bitmap, false);
    }
    // Ticks the animation until it leaves the timeline or limit ticks have passed.
    static int TickWhileRunning(SAnimateImgWnd* animation, std::set<ITimelineHandler*>& timeline, int limit)
    {
        int ticks = 0;
        while (timeline.count(animation) && ticks < limit) {
            animation->OnTimelineTick();
            ++ticks;
        }
        return ticks;
    }

    RecSkin* m_wide = nullptr;
    RecSkin* m_frames = nullptr;
    RecSkin* m_empty = nullptr;
};

class CtrlProgressTest : public CtrlTest {
protected:
    void AddBarSkins()
    {
        m_bkgnd = AddSkin(L"_skin.sys.prog.bkgnd", 1, SIZE{10, 8});
        m_bar = AddSkin(L"_skin.sys.prog.bar", 1, SIZE{10, 8});
        m_vbkgnd = AddSkin(L"_skin.sys.vert.prog.bkgnd", 1, SIZE{8, 10});
        m_vbar = AddSkin(L"_skin.sys.vert.prog.bar", 1, SIZE{8, 10});
    }
    RecSkin* m_bkgnd = nullptr;
    RecSkin* m_bar = nullptr;
    RecSkin* m_vbkgnd = nullptr;
    RecSkin* m_vbar = nullptr;
};

} // namespace

TEST_F(CtrlImageTest, KeepAspectLetterboxesTheSkin)
{
    BuildFromXml(L"<window><img name='i' pos='0,0,@100,@100' skin='wide' keepAspect='1' iconIndex='2'/></window>");
    Render();
    ASSERT_EQ(1u, m_wide->draws.size());
    const SkinDraw& draw = m_wide->draws[0];
    EXPECT_EQ(2, draw.state);
    EXPECT_EQ(0, draw.rect.left);
    EXPECT_EQ(25, draw.rect.top);
    EXPECT_EQ(100, draw.rect.right);
    EXPECT_EQ(75, draw.rect.bottom);
    SIZE preferred = Find<SImageWnd>(L"i")->ComputePreferredSize(nullptr);
    EXPECT_EQ(200, preferred.cx);
}

TEST_F(CtrlImageTest, BitmapTakesPrecedenceAndAnUnknownTileModeDrawsNothing)
{
    BuildFromXml(L"<window colorBkgnd='#ffffff'>"
                 L"<img name='stretch' pos='0,0,@50,@50' skin='wide'/>"
                 L"<img name='odd' pos='100,0,@50,@50' tile='3'/>"
                 L"</window>");
    SRefPtr<IBitmap> red = SolidBitmap(4, 4, 0x0000FF);
    Find<SImageWnd>(L"stretch")->SetImage(red, 0);
    Find<SImageWnd>(L"odd")->SetImage(red, 0);
    SRefPtr<IRenderTarget> rt = Render();
    EXPECT_TRUE(m_wide->draws.empty());
    EXPECT_EQ(Px(0x0000FF), rt->GetPixel(45, 45));  // stretched over the whole window
    EXPECT_EQ(Px(0xFFFFFF), rt->GetPixel(101, 1));
    EXPECT_EQ(4, Find<SImageWnd>(L"odd")->ComputePreferredSize(nullptr).cx);
}

TEST_F(CtrlImageTest, AnimationFramesLastSixTicksAndRepeatStopsIt)
{
    BuildFromXml(L"<window><animateimg name='a' pos='0,0,@20,@20' skin='frames' autoStart='0' repeat='2'/></window>");
    SAnimateImgWnd* animation = Find<SAnimateImgWnd>(L"a");
    ASSERT_NE(nullptr, animation);
    EXPECT_TRUE(animation->GetOwnFlags() & kWndMsgTransparent);
    animation->Start();
    EXPECT_EQ(1, m_ctrl.Count(EventAnimateStart::EventID, L"a"));
    ASSERT_EQ(1u, m_ctrl.timeline.count(animation));

    animation->OnTimelineTick();  // the first tick advances at once
    EXPECT_EQ(1, animation->CurrentFrame());
    for (int i = 0; i < 5; ++i)
        animation->OnTimelineTick();
    EXPECT_EQ(1, animation->CurrentFrame());
    animation->OnTimelineTick();  // speed 50: a frame lasts 50 / 10 + 1 ticks
    EXPECT_EQ(2, animation->CurrentFrame());

    // Two cycles of three frames: the sixth frame change, on tick 31, wraps and stops.
    int ticks = 7 + TickWhileRunning(animation, m_ctrl.timeline, 100);
    EXPECT_EQ(5 * 6 + 1, ticks);
    EXPECT_FALSE(animation->IsRunning());
    EXPECT_EQ(1, m_ctrl.Count(EventAnimateStop::EventID, L"a"));
    EXPECT_EQ(0, animation->CurrentFrame());
}

TEST_F(CtrlImageTest, HidingPausesAnimationSilentlyAndShowingResumesIt)
{
    BuildFromXml(L"<window><animateimg name='a' pos='0,0,@20,@20' skin='frames' autoStart='0'/>"
                 L"<animateimg name='auto' pos='0,0,@20,@20' skin='empty' visible='0'/>"
                 L"<animateimg name='default' pos='0,0,@20,@20' skin='frames'/></window>");
    EXPECT_TRUE(Find<SAnimateImgWnd>(L"default")->IsRunning());  // autoStart: runs once shown after loading
    SAnimateImgWnd* animation = Find<SAnimateImgWnd>(L"a");
    animation->Start();
    animation->ChangeVisibility(FALSE);
    EXPECT_EQ(0u, m_ctrl.timeline.count(animation));
    EXPECT_TRUE(animation->IsRunning());
    EXPECT_EQ(0, m_ctrl.Count(EventAnimateStop::EventID));
    animation->ChangeVisibility(TRUE);
    EXPECT_EQ(1u, m_ctrl.timeline.count(animation));
    EXPECT_EQ(1, m_ctrl.Count(EventAnimateStart::EventID, L"a"));
    // With repeat -1 it never stops by itself.
    EXPECT_EQ(200, TickWhileRunning(animation, m_ctrl.timeline, 200));

    // Showing a stopped one with autoStart starts it; a skin without states wraps each frame.
    SAnimateImgWnd* automatic = Find<SAnimateImgWnd>(L"auto");
    automatic->ChangeVisibility(TRUE);
    EXPECT_TRUE(automatic->IsRunning());
    for (int i = 0; i < 20; ++i)
        automatic->OnTimelineTick();
    EXPECT_EQ(0, automatic->CurrentFrame());

    animation->SendUiMessage(WM_DESTROY);
    EXPECT_EQ(1, m_ctrl.Count(EventAnimateStop::EventID, L"a"));
}

TEST_F(CtrlImageTest, IconIsLoadedByNameAndSizeAndDrawnAtItsInnerRectangle)
{
    SRefPtr<IconProvider> provider(new IconProvider, false);
    provider->Put(L"ICON", L"ICON_LOGO", "icon");
    m_app->AddProvider(provider, nullptr);
    BuildFromXml(L"<window colorBkgnd='#000000'>"
                 L"<icon name='logo' pos='10,10,@16,@16' src='ICON_LOGO:16'/>"
                 L"<icon name='missing' pos='40,10,@16,@16' src='NO_SUCH_ICON'/>"
                 L"</window>");
    ASSERT_EQ(1u, provider->requests.size());
    EXPECT_EQ(L"ICON_LOGO:16:16", provider->requests[0]);
    SIconWnd* logo = Find<SIconWnd>(L"logo");
    ASSERT_NE(nullptr, logo->GetIcon());
    SIZE size = logo->ComputePreferredSize(nullptr);
    EXPECT_EQ(16, size.cx);
    EXPECT_EQ(16, size.cy);
    EXPECT_EQ(nullptr, Find<SIconWnd>(L"missing")->GetIcon());
    EXPECT_EQ(0, Find<SIconWnd>(L"missing")->ComputePreferredSize(nullptr).cx);

    SRefPtr<IRenderTarget> rt = Render();
    EXPECT_EQ(0xFFFFFFu, rt->GetPixel(15, 15) & 0xFFFFFF);  // the white icon
    EXPECT_EQ(0u, rt->GetPixel(30, 15) & 0xFFFFFF);
}

TEST_F(CtrlProgressTest, FillIsProportionalAndAnEmptyRangeDrawsOnlyTheBackground)
{
    AddBarSkins();
    BuildFromXml(L"<window>"
                 L"<progress name='p' pos='0,0,@255,@10' max='255' value='20'/>"
                 L"<progress name='flat' pos='0,20,@100,@10' min='5' max='5' value='9' showPercent='1'/>"
                 L"<progress name='v' pos='0,40,@10,@50' vertical='1' value='50'/>"
                 L"</window>");
    Render();
    ASSERT_EQ(1u, m_bar->draws.size());  // the flat bar draws no position
    EXPECT_EQ(20, m_bar->draws[0].rect.right);
    EXPECT_EQ(2u, m_bkgnd->draws.size());
    ASSERT_EQ(1u, m_vbar->draws.size());
    EXPECT_EQ(40, m_vbar->draws[0].rect.top);  // vertical fills downwards
    EXPECT_EQ(65, m_vbar->draws[0].rect.bottom);

    SProgress* bar = Find<SProgress>(L"p");
    bar->SetClampedValue(300);
    EXPECT_EQ(255, bar->CurrentValue());
    bar->SetClampedValue(-5);
    EXPECT_EQ(0, bar->CurrentValue());
    m_bar->draws.clear();
    Render();
    EXPECT_TRUE(m_bar->draws.empty());  // value at min: background only
}

TEST_F(CtrlProgressTest, PercentageIsDrawnOverTheBar)
{
    AddBarSkins();
    BuildFromXml(L"<window><progress name='p' pos='0,0,@200,@40' value='50' showPercent='1'"
                 L" colorText='#ffffff' font='size:20'/></window>");
    SRefPtr<IRenderTarget> rt = Render();
    int white = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 80; x < 120; ++x)
            white += rt->GetPixel(x, y) == Px(0xFFFFFF);
    }
    EXPECT_GT(white, 10);
    EXPECT_TRUE(Find<SProgress>(L"p")->IsFocusable());
}

TEST_F(CtrlProgressTest, CreationFailsWithoutSkins)
{
    BuildFromXml(L"<window><progress name='p' pos='0,0,@100,@10'/></window>");
    EXPECT_EQ(nullptr, m_root->LookupChildByName(SStringW(L"p")));
    AddBarSkins();
    BuildFromXml(L"<window><progress name='q' pos='0,0,@100,@10'/></window>");
    EXPECT_NE(nullptr, m_root->LookupChildByName(SStringW(L"q")));
}
