// The split window's attributes, defaults and class identity, and the distribution of a size
// change over panes by priority.
#include "control/SSplitWnd.h"
#include "ctrl_basic_test_env.h"

namespace ctrltest {
namespace {

class SplitAttrTest : public CtrlTest {
protected:
    SSplitWnd* Create(const wchar_t* className)
    {
        SSplitWnd* split = dynamic_cast<SSplitWnd*>(m_app->CreateWindowByName(className));
        if (split)
            m_root->LinkChild(split);
        return split;
    }
};

TEST_F(SplitAttrTest, PresetsAndDefaults)
{
    RecSkin* vert = AddSkin(L"_skin.sys.split.vert", 1, SIZE{5, 5});
    RecSkin* horz = AddSkin(L"_skin.sys.split.horz", 1, SIZE{5, 5});
    struct Case {
        const wchar_t* name;
        BOOL vertical;
        ISkinObj* skin;
    } cases[] = {{L"splitwnd", TRUE, nullptr}, {L"splitcol", TRUE, vert}, {L"splitrow", FALSE, horz}};
    for (const Case& c : cases) {
        SSplitWnd* split = Create(c.name);
        ASSERT_NE(nullptr, split) << c.name;
        EXPECT_STREQ(c.name, split->XmlClassName());
        EXPECT_EQ(5, split->SeparatorSize()) << c.name;
        EXPECT_EQ(c.vertical, split->IsVertical()) << c.name;
        EXPECT_TRUE(split->IsAdjustable()) << c.name;
        EXPECT_EQ(c.skin, split->SeparatorSkin()) << c.name;
        EXPECT_EQ(-1, split->DraggedSeparator()) << c.name;
        EXPECT_TRUE(split->MatchesClassName(L"splitwnd"));
        EXPECT_TRUE(split->MatchesClassName(L"window"));
        EXPECT_FALSE(split->MatchesClassName(L"SplitWnd"));
    }
    SSplitWnd* col = Create(L"splitcol");
    EXPECT_TRUE(col->MatchesClassName(L"splitcol"));
    EXPECT_FALSE(col->MatchesClassName(L"splitrow"));
}

TEST_F(SplitAttrTest, AttributesTakeIntegersAndSkinNames)
{
    RecSkin* line = AddSkin(L"line", 1, SIZE{4, 4});
    SSplitWnd* split = Create(L"splitwnd");
    ASSERT_NE(nullptr, split);
    struct Case {
        const wchar_t* name;
        const wchar_t* value;
        int sepSize;
        BOOL vertical;
        BOOL adjustable;
    } cases[] = {
        {L"sepSize", L"0x10", 16, TRUE, TRUE},  {L"SEPSIZE", L"7", 7, TRUE, TRUE},
        {L"sepsize", L"-3", 0, TRUE, TRUE},     {L"vertical", L"true", 0, FALSE, TRUE},
        {L"vertical", L"0x1", 0, TRUE, TRUE},   {L"adjustable", L"0", 0, TRUE, FALSE},
        {L"Adjustable", L"1", 0, TRUE, TRUE},   {L"vertical", L"0", 0, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(S_OK, split->ApplyAttribute(SStringW(c.name), SStringW(c.value), FALSE)) << c.name;
        EXPECT_EQ(c.sepSize, split->SeparatorSize()) << c.name << "=" << c.value;
        EXPECT_EQ(c.vertical, split->IsVertical()) << c.name << "=" << c.value;
        EXPECT_EQ(c.adjustable, split->IsAdjustable()) << c.name << "=" << c.value;
    }
    EXPECT_EQ(S_OK, split->ApplyAttribute(SStringW(L"sepSkin"), SStringW(L"line"), FALSE));
    EXPECT_EQ(line, split->SeparatorSkin());

    // A name no pool holds drops the skin, the presets' own included.
    AddSkin(L"_skin.sys.split.horz", 1, SIZE{5, 5});
    for (SSplitWnd* target : {split, Create(L"splitrow")}) {
        EXPECT_EQ(S_OK, target->ApplyAttribute(SStringW(L"sepSkin"), SStringW(L"nosuch"), FALSE));
        EXPECT_EQ(nullptr, target->SeparatorSkin());
    }
}

TEST_F(SplitAttrTest, PaneAttributesAndDefaults)
{
    SSplitPane* pane = dynamic_cast<SSplitPane*>(m_app->CreateWindowByName(L"pane"));
    ASSERT_NE(nullptr, pane);
    m_root->LinkChild(pane);
    EXPECT_EQ(20, pane->IdealSize().ToPixels(100));
    EXPECT_EQ(0, pane->MinSize().ToPixels(100));
    EXPECT_EQ(20000, pane->MaxSize().ToPixels(200));
    EXPECT_EQ(0, pane->Priority());
    pane->ApplyAttribute(SStringW(L"idealsize"), SStringW(L"30dp"), TRUE);
    pane->ApplyAttribute(SStringW(L"minSize"), SStringW(L"7px"), TRUE);
    pane->ApplyAttribute(SStringW(L"MAXSIZE"), SStringW(L"90"), TRUE);
    pane->ApplyAttribute(SStringW(L"priority"), SStringW(L"0x2"), TRUE);
    EXPECT_EQ(45, pane->IdealSize().ToPixels(150));
    EXPECT_EQ(7, pane->MinSize().ToPixels(150));
    EXPECT_EQ(90, pane->MaxSize().ToPixels(100));
    EXPECT_EQ(2, pane->Priority());
    EXPECT_TRUE(pane->MatchesClassName(L"window"));
}

// Infos are size, ideal, minimum, maximum, highest priority first.
TEST(SplitAdjustTest, SizeChangesGoToIdealsByPriorityThenToLimitsFromTheLowest)
{
    struct Case {
        const char* what;
        std::vector<SSplitPaneInfo> infos;
        int delta;
        std::vector<int> sizes;
        int rest;
    } cases[] = {
        // 60/150/100 with ideals 100/200/100, the middle pane first: it reaches 200, the first 90.
        {"grow by 80", {{150, 200, 0, 1000}, {60, 100, 0, 1000}, {100, 100, 0, 1000}}, 80, {200, 90, 100}, 0},
        {"grow past the ideals", {{200, 200, 0, 1000}, {100, 100, 0, 1000}, {100, 100, 0, 120}}, 50,
         {200, 130, 120}, 0},
        {"shrink above the ideals first", {{250, 200, 0, 1000}, {150, 100, 50, 1000}, {100, 100, 50, 1000}}, -70,
         {200, 130, 100}, 0},
        {"shrink to the minimums from the last", {{200, 200, 0, 1000}, {100, 100, 50, 1000}, {100, 100, 50, 1000}},
         -70, {200, 80, 50}, 0},
        {"limits reached", {{10, 10, 10, 20}, {5, 5, 0, 5}}, 30, {20, 5}, 20},
        {"hidden panes neither give nor take", {{0, 0, 0, 0}, {50, 50, 10, 60}, {0, 0, 0, 0}}, -50, {0, 10, 0}, -10},
        {"nothing to do", {{30, 20, 0, 40}}, 0, {30}, 0},
    };
    for (Case& c : cases) {
        int rest = SSplitWnd::AdjustPaneSizes(c.infos.data(), static_cast<int>(c.infos.size()), c.delta);
        std::vector<int> sizes;
        for (const SSplitPaneInfo& info : c.infos)
            sizes.push_back(info.size);
        EXPECT_EQ(c.sizes, sizes) << c.what;
        EXPECT_EQ(c.rest, rest) << c.what;
    }
}

} // namespace
} // namespace ctrltest
