// The program button's two skins by state and the axis bar's position rectangle.
#include <algorithm>
#include "widget_test_env.h"

using namespace widgettest;

namespace {

const COLORREF kRestColour = 0x0000FF;
const COLORREF kLitColour = 0x00FF00;

class WidgetButtonTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        AddTagSkin(L"_skin.sys.btn.normal", 'b', 4, 0x808080);
        AddTagSkin(L"rest", 'r', 1, kRestColour);
        AddTagSkin(L"lit", 'l', 1, kLitColour);
        BuildFromXml(L"<window>"
                     L"<mybutton name='b' pos='0,0,@60,@24' skin='rest' skin2='lit'/>"
                     L"<mybutton name='plain' pos='70,0,@60,@24' skin='rest'/>"
                     L"<mybutton name='bare' pos='140,0,@60,@24' skin='none' skin2='lit' colorText='#ffffff'>OK</mybutton>"
                     L"<mybutton name='fade' pos='0,30,@60,@24' skin='rest' skin2='lit' animate='1'/>"
                     L"</window>");
        m_button = Find<SmyButton>(L"b");
        ASSERT_NE(nullptr, m_button);
    }

    SmyButton* m_button = nullptr;
};

class WidgetBarTest : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        AddTagSkin(L"back", 'k', 1, 0x202020);
        AddTagSkin(L"pos", 'p', 1, 0x0000FF);
    }

    SProgressExV* Build(const wchar_t* attributes)
    {
        std::wstring xml = std::wstring(L"<window><progressExV name='bar' bkgndSkin='back' posSkin='pos' ") +
                           attributes + L"/></window>";
        BuildFromXml(xml.c_str());
        return Find<SProgressExV>(L"bar");
    }

    // The rectangle the position skin got in one render, after exactly one background.
    RECT PositionRect(int left)
    {
        std::string drawn = DrawnAt(left, 0);
        RECT position = {-1, -1, -1, -1};
        for (const SkinHit& hit : m_hits) {
            if (hit.tag == 'p')
                position = hit.rect;
        }
        EXPECT_EQ(1, std::count(drawn.begin(), drawn.end(), 'k'));
        return position;
    }
};

} // namespace

TEST_F(WidgetButtonTest, RestSkinAtRestSecondSkinAloneWhenHoveredOrPressed)
{
    EXPECT_FALSE(m_button->GetOwnFlags() & kWndDrawFocusRect);
    const struct {
        DWORD state;
        const char* drawn;
    } cases[] = {
        {0, "r"},
        {kStateHover, "l"},
        {kStatePushed, "l"},
        {kStateChecked, "l"},
        {kStateDisabled, "r"},
        {kStateDisabled | kStateHover | kStatePushed, "r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.state);
        m_button->ChangeState(c.state, ~c.state & (kStateHover | kStatePushed | kStateChecked | kStateDisabled), FALSE);
        EXPECT_EQ(c.drawn, DrawnAt(0));
        SRefPtr<IRenderTarget> rt = m_ctrl.target;
        EXPECT_EQ(Px(c.drawn[0] == 'r' ? kRestColour : kLitColour), rt->GetPixel(30, 12));
    }
}

TEST_F(WidgetButtonTest, DefaultSecondSkinIsTheBuiltInButtonAndNoBackgroundDrawsNothing)
{
    SmyButton* plain = Find<SmyButton>(L"plain");
    ASSERT_NE(nullptr, plain);
    plain->ChangeState(kStateHover, 0, FALSE);
    EXPECT_EQ("b", DrawnAt(70));
    EXPECT_EQ(0, m_hits.back().state);

    // No background skin: neither skin nor the text is drawn, whatever the state.
    SmyButton* bare = Find<SmyButton>(L"bare");
    ASSERT_NE(nullptr, bare);
    EXPECT_EQ(nullptr, bare->GetSkin());
    for (DWORD state : {0ul, static_cast<unsigned long>(kStateHover)}) {
        bare->ChangeState(state, ~state & kStateHover, FALSE);
        EXPECT_EQ("", DrawnAt(140));
        SRefPtr<IRenderTarget> rt = m_ctrl.target;
        for (int x = 140; x < 200; x += 3)
            ASSERT_EQ(0u, rt->GetPixel(x, 12)) << x;
    }
}

TEST_F(WidgetButtonTest, DuringTheFadeBothSkinsAreDrawnRestFirst)
{
    SmyButton* fade = Find<SmyButton>(L"fade");
    ASSERT_NE(nullptr, fade);
    fade->ChangeState(kStateHover, 0, TRUE);
    ASSERT_NE(255, fade->GetFadeAlpha());
    EXPECT_EQ("rl", DrawnAt(0, 30));
}

TEST_F(WidgetButtonTest, SecondSkinAttributeAtRunTime)
{
    EXPECT_EQ(S_OK, m_button->ApplyAttribute(SStringW(L"SKIN2"), SStringW(L"rest"), FALSE));
    m_button->ChangeState(kStateHover, 0, FALSE);
    EXPECT_EQ("r", DrawnAt(0));
    EXPECT_EQ(S_FALSE, m_button->ApplyAttribute(SStringW(L"skin2"), SStringW(L"nothing"), TRUE));
    EXPECT_EQ(nullptr, m_button->GetSkin2());
    EXPECT_EQ("", DrawnAt(0)); // hovered without a second skin: nothing
}

TEST_F(WidgetBarTest, VerticalBarFillsFromTheBottom)
{
    SProgressExV* bar = Build(L"pos='10,0,@10,@100' min='0' max='255' vertical='1'");
    ASSERT_NE(nullptr, bar);
    const struct {
        int value;
        int top;
    } cases[] = {{0, 100}, {255, 0}, {128, 50}, {1, 100}, {254, 1}, {-20, 100}, {300, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        bar->SetClampedValue(c.value);
        RECT position = PositionRect(10);
        EXPECT_EQ(c.top, position.top);
        EXPECT_EQ(100, position.bottom);
        EXPECT_EQ(10, position.left);
        EXPECT_EQ(20, position.right);
    }
}

TEST_F(WidgetBarTest, HorizontalBarDrawsAOnePixelLineInsideTheBar)
{
    SProgressExV* bar = Build(L"pos='30,0,@100,@20' min='0' max='255'");
    ASSERT_NE(nullptr, bar);
    const struct {
        int value;
        int left;
    } cases[] = {{0, 30}, {255, 129}, {128, 80}, {-20, 30}, {300, 129}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        bar->SetClampedValue(c.value);
        RECT position = PositionRect(30);
        EXPECT_EQ(c.left, position.left);
        EXPECT_EQ(c.left + 1, position.right);
        EXPECT_EQ(0, position.top);
        EXPECT_EQ(20, position.bottom);
    }
}

TEST_F(WidgetBarTest, ValuesFromXmlOutsideTheRangeStayInsideTheBar)
{
    SProgressExV* bar = Build(L"pos='10,0,@10,@100' min='0' max='255' value='400' vertical='1'");
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(400, bar->CurrentValue()); // stored as given
    EXPECT_EQ(0, PositionRect(10).top);
}

TEST_F(WidgetBarTest, EmptyRangeDrawsOnlyTheBackground)
{
    SProgressExV* bar = Build(L"pos='30,0,@100,@20' min='5' max='5' value='5' showPercent='1'");
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ("k", DrawnAt(30));
}

TEST_F(WidgetBarTest, PercentageOnlyOnAHorizontalBar)
{
    for (const wchar_t* vertical : {L"0", L"1"}) {
        std::wstring attributes = std::wstring(L"pos='0,0,@200,@100' min='0' max='200' value='100' showPercent='1' "
                                               L"colorText='#00ff00' vertical='") +
                                  vertical + L"'";
        SProgressExV* bar = Build(attributes.c_str());
        ASSERT_NE(nullptr, bar);
        Render();
        int green = 0;
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 200; ++x)
                green += ((m_ctrl.target->GetPixel(x, y) >> 8) & 0xFF) > 0x80;
        }
        if (vertical[0] == L'0')
            EXPECT_GT(green, 5);
        else
            EXPECT_EQ(0, green);
        m_root->DestroyChild(bar);
    }
}

TEST_F(WidgetBarTest, UnchangedValueIsNotRedrawn)
{
    SProgressExV* bar = Build(L"pos='10,0,@10,@100' min='0' max='255' vertical='1'");
    ASSERT_NE(nullptr, bar);
    TakeInvalidBox(bar);
    bar->SetClampedValue(65535 >> 8);
    EXPECT_TRUE(Invalidated(bar));
    bar->SetClampedValue(255);
    EXPECT_FALSE(Invalidated(bar));
    bar->SetClampedValue(400); // clamps to the same value
    EXPECT_FALSE(Invalidated(bar));
}
