// The framework's drawn popup menu: built from "SMENUEX" XML, placed on the monitor, and run
// modally under real input: keys, clicks, hovering, outside clicks, quit messages.
#include <algorithm>
#include <atomic>
#include <thread>
#include "control/SMenuEx.h"
#include "host_test_env.h"
#include "menu_test_env.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinObjBase.h"

namespace {

using namespace SKEIN;
using menutest::Driver;

// Items 1 ("Open", hot-key o), a separator, 2 disabled, 3 with a sub-menu of 31 and 32,
// 4 ("Print", hot-key p).
const char kFileMenu[] =
    "<menuRoot itemHeight='24' minWidth='120' trCtx='menu'>"
    "<menuItem id='1' hotKey='o'>Open</menuItem><sep/>"
    "<menuItem id='2' enable='0'>Closed</menuItem>"
    "<menuItem id='3'>Recent<menuItem id='31'>First</menuItem><menuItem id='32'>Second</menuItem></menuItem>"
    "<menuItem id='4' hotKey='P' check='1'>Print</menuItem>"
    "</menuRoot>";

class PopupMenu : public menutest::MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        AddMenu(L"file", kFileMenu);
        ASSERT_TRUE(m_menu.LoadFromResource(L"file", m_owner.Handle()));
    }
    SWindow* Item(int id) { return m_menu.Root()->LookupChildById(id); }
    int Run(UINT flags = kMenuReturnCmd)
    {
        m_driver.Start();
        return m_menu.RunPopup(flags, 60, 60, m_owner.Handle(), 100);
    }
    void Keys(std::initializer_list<UINT> keys)
    {
        for (UINT key : keys)
            m_driver.Then([this, key] { Driver::PostKey(m_menu.Handle(), key); });
    }

    SMenuEx m_menu;
    Driver m_driver;
};

TEST_F(PopupMenu, BuildsLevelsFromXml)
{
    SMenuExRootBase* root = m_menu.Root();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(5, root->GetChildCount());
    EXPECT_TRUE(root->MatchesClassName(L"menuRoot"));
    SMenuExItemBase* sep = static_cast<SMenuExItemBase*>(root->GetRelative(kRelFirstChild)->GetRelative(kRelNextSibling));
    EXPECT_TRUE(sep->IsSeparator());
    EXPECT_TRUE(sep->MatchesClassName(L"sep") && sep->MatchesClassName(L"menuItem"));
    EXPECT_TRUE(sep->TestDisabled());
    SMenuExItemBase* recent = static_cast<SMenuExItemBase*>(Item(3));
    ASSERT_NE(nullptr, recent->SubMenu());
    EXPECT_STREQ(L"Recent", recent->QueryText().c_str());
    SMenuExRootBase* subRoot = recent->SubMenu()->Root();
    ASSERT_NE(nullptr, subRoot);
    EXPECT_EQ(2, subRoot->GetChildCount());
    EXPECT_EQ(24, subRoot->Pixels(subRoot->m_itemHeight)); // the top root's attributes come first
    EXPECT_TRUE(subRoot->QueryText().IsEmptyText());
    EXPECT_EQ(L'P', static_cast<SMenuExItemBase*>(Item(4))->HotKey());
    EXPECT_STREQ(L"menu", m_menu.TranslationContext().c_str());
    EXPECT_STREQ(L"menu", recent->SubMenu()->TranslationContext().c_str()); // its item's context
    EXPECT_FALSE(m_menu.BuildFromXml(pugi::xml_node())); // built once
}

// A menu of more items than one creation's work allows is built up to where the work ends.
TEST_F(PopupMenu, ItemsBeyondTheWorkOfACreationAreNotBuilt)
{
    std::string items;
    for (int i = 0; i < 200000; ++i)
        items += "<menuItem/>";
    AddMenu(L"endless", "<menuRoot>" + items + "</menuRoot>");
    SMenuEx menu;
    ASSERT_TRUE(menu.LoadFromResource(L"endless", m_owner.Handle()));
    EXPECT_GE(kXmlWorkBudget / kXmlWorkPerElement, menu.Root()->GetChildCount());
}

TEST_F(PopupMenu, RootAttributesAndSize)
{
    SMenuExRootBase* root = m_menu.Root();
    EXPECT_EQ(S_OK, root->ApplyAttribute(L"iconPos", L"8", TRUE));
    EXPECT_EQ(8, root->Pixels(root->m_iconX));
    EXPECT_EQ(-1000, root->Pixels(root->m_iconY));
    EXPECT_EQ(S_OK, root->ApplyAttribute(L"iconPos", L"8,3", TRUE));
    EXPECT_EQ(3, root->Pixels(root->m_iconY));
    EXPECT_EQ(E_INVALIDARG, root->ApplyAttribute(L"iconPos", L"1,2,3", TRUE));
    EXPECT_EQ(S_FALSE, root->ApplyAttribute(L"contextHelpId", L"0x20", TRUE));
    EXPECT_EQ(32, root->m_contextHelpId);
    EXPECT_EQ(S_FALSE, root->ApplyAttribute(L"sepSkin", L"_skin.sys.border", TRUE));

    RECT limit{0, 0, 10000, 10000};
    SIZE size = root->ComputePreferredSize(&limit);
    SIZE sep = root->GetRelative(kRelFirstChild)->GetRelative(kRelNextSibling)->ComputePreferredSize(nullptr);
    EXPECT_EQ(10000, sep.cx); // a separator never widens the menu
    EXPECT_EQ(120, size.cx);  // short captions: the minimum width
    EXPECT_EQ(4 * 24 + sep.cy, size.cy);
    root->ApplyAttribute(L"minWidth", L"20", TRUE);
    int natural = root->ComputePreferredSize(&limit).cx;
    EXPECT_LT(natural, 120);
    root->ApplyAttribute(L"maxWidth", L"30", TRUE);
    EXPECT_EQ(30, root->ComputePreferredSize(&limit).cx);
}

TEST(MenuPlacement, KeepsLevelsOnTheMonitor)
{
    const RECT monitor{0, 0, 800, 600};
    const SIZE size{100, 50};
    struct Case {
        UINT flags;
        POINT pt;
        SMenuPlacement how;
        RECT expected;
    } cases[] = {
        {0, {10, 10}, {false, 0, 0, true}, {10, 10, 110, 60}},
        {kMenuAlignCenter | kMenuAlignBottom, {100, 100}, {false, 0, 0, true}, {50, 50, 150, 100}},
        {kMenuAlignRight | kMenuAlignVCenter, {100, 100}, {false, 0, 0, true}, {0, 75, 100, 125}},
        {0, {750, 10}, {false, 0, 0, true}, {650, 10, 750, 60}},     // right edge: left of the point
        {0, {10, 580}, {false, 0, 0, true}, {10, 530, 110, 580}},    // bottom edge: above the point
        {kMenuAlignBottom, {10, 20}, {false, 0, 0, true}, {10, 20, 110, 70}},  // top edge: below
        {kMenuAlignBottom, {10, 20}, {false, 0, 0, false}, {10, 0, 110, 50}}, // not flipped, kept on
        {0, {300, 10}, {true, 5, 120, true}, {305, 10, 405, 60}},    // sub-menu with its offset
        {0, {750, 10}, {true, 5, 120, true}, {525, 10, 625, 60}},    // flips left of its parent
        {0, {300, 580}, {true, 0, 120, true}, {300, 550, 400, 600}}, // shifted up onto the monitor
    };
    for (const Case& c : cases) {
        RECT placed = PlaceMenuRect(c.flags, c.pt, size, monitor, c.how);
        EXPECT_TRUE(EqualRect(&placed, &c.expected))
            << c.pt.x << "," << c.pt.y << " -> " << placed.left << "," << placed.top;
    }
    // Taller than the monitor, or wider than the room on either side: cut to the monitor's height
    // and moved onto it; aligned right of a point near the left edge: moved onto it.
    const struct {
        SIZE size;
        POINT pt;
        SMenuPlacement how;
        RECT expected;
        UINT flags;
    } large[] = {
        {{100, 1560}, {60, 300}, {false, 0, 0, true}, {60, 0, 160, 600}},
        {{100, 1560}, {60, 300}, {false, 0, 0, false}, {60, 0, 160, 600}},
        {{100, 1560}, {300, 300}, {true, 0, 120, true}, {300, 0, 400, 600}},
        {{500, 50}, {400, 10}, {false, 0, 0, true}, {0, 10, 500, 60}},
        {{100, 50}, {30, 100}, {false, 0, 0, true}, {0, 100, 100, 150}, kMenuAlignRight}, // right of the point
    };
    for (const auto& c : large) {
        RECT placed = PlaceMenuRect(c.flags, c.pt, c.size, monitor, c.how);
        EXPECT_TRUE(EqualRect(&placed, &c.expected))
            << c.size.cx << "x" << c.size.cy << " -> " << placed.left << "," << placed.top << "," << placed.right
            << "," << placed.bottom;
    }
}

TEST_F(PopupMenu, DownAndReturnChooseAndSkipDisabledItems)
{
    Keys({VK_DOWN, VK_RETURN});
    EXPECT_EQ(1, Run());

    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}); // past the separator, the disabled item and 3
    EXPECT_EQ(4, Run());
}

TEST_F(PopupMenu, OwnerGetsCommandInitPopupAndOtherEvents)
{
    Keys({VK_UP, VK_RETURN}); // from the last item
    EXPECT_EQ(1, Run(0));
    ASSERT_EQ(1u, m_owner.commands.size());
    EXPECT_EQ(4, m_owner.commands[0]);
    ASSERT_EQ(1u, m_owner.initPopups.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<SMenuExBase*>(&m_menu)), m_owner.initPopups[0].first);
    EXPECT_EQ(0, m_owner.initPopups[0].second);
    EXPECT_NE(m_owner.events.end(), std::find(m_owner.events.begin(), m_owner.events.end(), EventSwndSize::EventID));
    EXPECT_FALSE(IsWindowVisible(m_menu.Handle()));
}

TEST_F(PopupMenu, EscapeAndOutsideClickCancel)
{
    Keys({VK_DOWN, VK_ESCAPE});
    EXPECT_EQ(1, Run(0));
    EXPECT_EQ(std::vector<int>{0}, m_owner.commands);

    m_driver.Then([this] { ::PostMessageW(m_owner.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); });
    EXPECT_EQ(0, Run());
    EXPECT_EQ(0, m_owner.presses);
    Pump();
    EXPECT_EQ(1, m_owner.presses); // the press still reaches its window
}

TEST_F(PopupMenu, HoverOpensTheSubMenuAfterItsDelay)
{
    SMenuExBase* subMenu = static_cast<SMenuExItemBase*>(Item(3))->SubMenu();
    bool openEarly = true;
    bool openLater = false;
    m_driver.Then([this] { Driver::MoveTo(m_menu.Handle(), Item(3)); })
        .Then([&] { openEarly = IsWindowVisible(subMenu->Handle()) != FALSE; }, 250)
        .Then([&] { openLater = IsWindowVisible(subMenu->Handle()) != FALSE; }, 600)
        .Then([&] { Driver::Click(subMenu->Handle(), subMenu->Root()->LookupChildById(32)); });
    EXPECT_EQ(32, Run());
    EXPECT_FALSE(openEarly);
    EXPECT_TRUE(openLater);
    ASSERT_EQ(2u, m_owner.initPopups.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(subMenu), m_owner.initPopups[1].first);
    EXPECT_EQ(3, m_owner.initPopups[1].second); // three root children before the item
    EXPECT_FALSE(IsWindowVisible(subMenu->Handle()));
}

TEST_F(PopupMenu, KeysReachTheDeepestLevel)
{
    Keys({VK_UP, VK_UP, VK_RIGHT, VK_ESCAPE, VK_RIGHT, VK_DOWN, VK_RETURN});
    EXPECT_EQ(32, Run());
}

TEST_F(PopupMenu, HotKeysMatchCharactersNotKeyCodes)
{
    Keys({VK_F1, VK_NUMPAD1, VK_ESCAPE}); // F1 is 0x70 ('p'), numpad 1 is 0x61 ('a')
    EXPECT_EQ(0, Run());
    Keys({'P'});
    EXPECT_EQ(4, Run());
    m_driver.Then([this] { ::PostMessageW(m_menu.Handle(), WM_CHAR, L'O', 0); });
    EXPECT_EQ(1, Run());
}

TEST_F(PopupMenu, ClickOnAnItemChoosesIt)
{
    m_driver.Then([this] { Driver::Click(m_menu.Handle(), Item(4)); });
    EXPECT_EQ(4, Run());
    m_driver.Then([this] { Driver::Click(m_menu.Handle(), Item(2)); }) // disabled: nothing
        .Then([this] { Driver::PostKey(m_menu.Handle(), VK_ESCAPE); }, 150);
    EXPECT_EQ(0, Run());
}

TEST_F(PopupMenu, QuitMessageIsPostedAgain)
{
    m_driver.Then([] { ::PostQuitMessage(7); });
    EXPECT_EQ(-1, Run());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST_F(PopupMenu, LosingTheForegroundEndsTheRunWithoutAChoice)
{
    menutest::OwnerSpy other;
    other.Create();
    ::SetForegroundWindow(m_owner.Handle());
    m_driver.Then([&] { ::SetForegroundWindow(other.Handle()); });
    EXPECT_EQ(1, Run(0));
    EXPECT_EQ(std::vector<int>{0xFFFF}, m_owner.commands);
    other.DestroyWindow();
}

// Messages posted from another thread while the loop also handles timer and input messages are
// each delivered once, in order.
TEST_F(PopupMenu, LoopDispatchesEachMessageOnce)
{
    const int kCount = 3000;
    std::atomic<bool> go{false};
    HWND owner = m_owner.Handle();
    std::thread poster([&] {
        while (!go)
            Sleep(1);
        for (int i = 0; i < kCount; ++i) {
            ::PostMessageW(owner, WM_APP, i, 0);
            if (i % 50 == 0)
                Sleep(1);
        }
    });
    UINT_PTR busy = ::SetTimer(m_owner.Handle(), 5, 1, nullptr);
    m_driver.Then([&] { go = true; });
    for (int i = 0; i < 20; ++i)
        m_driver.Then([this] { Driver::PostKey(m_menu.Handle(), VK_DOWN); }, 20);
    m_driver.Then([&] { Driver::PostKey(m_menu.Handle(), VK_ESCAPE); }, 300);
    EXPECT_EQ(0, Run());
    poster.join();
    ::KillTimer(m_owner.Handle(), busy);
    Pump();
    ASSERT_EQ(static_cast<size_t>(kCount), m_owner.received.size());
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(i, m_owner.received[i]);
}

TEST_F(PopupMenu, FinishRunningMenuEndsTheRun)
{
    m_driver.Then([] { SMenuEx::FinishRunningMenu(77); });
    EXPECT_EQ(77, Run());
    SMenuEx::FinishRunningMenu(5); // no run: nothing
}

// Menus made, run and released over and over leave no window and no host behind: with a sub-menu
// (opened or not) and without, ended by Escape, a click outside or a pick, each released as a
// counted object.
TEST_F(PopupMenu, MenusMadeAndEndedTwentyTimesLeaveNothingBehind)
{
    AddMenu(L"flat", "<menuRoot><menuItem id='7'>Seven</menuItem><menuItem id='8'>Eight</menuItem></menuRoot>");
    const DWORD kStep = 20;
    const struct {
        const wchar_t* menu;
        std::vector<UINT> keys; // none: a click outside
        int result;
    } kWays[] = {
        {L"file", {VK_ESCAPE}, 0}, {L"file", {}, 0}, {L"file", {VK_DOWN, VK_RETURN}, 1},
        {L"file", {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}, 32},
        {L"flat", {VK_ESCAPE}, 0}, {L"flat", {}, 0}, {L"flat", {VK_DOWN, VK_RETURN}, 7},
    };
    const int windows = hosttest::ThreadWindowCount();
    const long hosts = SHostWnd::LiveCount();
    for (int round = 1; round <= 20; ++round) {
        for (const auto& way : kWays) {
            SRefPtr<SMenuEx> menu(new SMenuEx, false);
            ASSERT_TRUE(menu->LoadFromResource(way.menu, m_owner.Handle()));
            SMenuEx* shown = menu;
            for (UINT key : way.keys)
                m_driver.Then([shown, key] { Driver::PostKey(shown->Handle(), key); }, kStep);
            if (way.keys.empty())
                m_driver.Then([this] { ::PostMessageW(m_owner.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0); }, kStep);
            m_driver.Start();
            ASSERT_EQ(way.result, menu->RunPopup(kMenuReturnCmd, 60, 60, m_owner.Handle(), 100)) << round;
            Pump(); // the press outside reaches the owner
        }
        ASSERT_EQ(windows, hosttest::ThreadWindowCount()) << "round " << round;
        ASSERT_EQ(hosts, SHostWnd::LiveCount()) << "round " << round;
    }
}

// A skin that logs what it draws.
class LogSkin : public SSkinObjBase {
public:
    LogSkin(const wchar_t* name, int states, SIZE size) : m_states(states), m_size(size) { m_name = name; }
    SIZE GetSkinSize() const override { return m_size; }
    BOOL IsStateless() const override { return m_states < 2; }
    int GetStateCount() const override { return m_states; }
    std::vector<std::pair<RECT, int>> draws;

protected:
    void DrawCore(IRenderTarget*, const RECT* rect, int state, BYTE) override { draws.push_back({*rect, state}); }

private:
    int m_states;
    SIZE m_size;
};

class MenuPaint : public menutest::MenuTest {
protected:
    LogSkin* AddSkin(const wchar_t* name, int states, SIZE size)
    {
        LogSkin* skin = new LogSkin(name, states, size);
        SSkinPoolMgr::Instance()->BuiltinPool()->AddSkin(SkinKey(SStringW(name), 100), skin);
        skin->Release();
        return skin;
    }
    // The draws of skin inside window's rectangle.
    static std::vector<std::pair<RECT, int>> In(const LogSkin* skin, SWindow* window)
    {
        std::vector<std::pair<RECT, int>> found;
        RECT common;
        for (const auto& draw : skin->draws) {
            if (IntersectRect(&common, &draw.first, &window->GetWindowRect()))
                found.push_back(draw);
        }
        return found;
    }
};

TEST_F(MenuPaint, ItemsDrawTheirStatesSymbolsAndArrows)
{
    LogSkin* item = AddSkin(L"t.item", 3, {10, 10});
    LogSkin* icon = AddSkin(L"t.icon", 5, {16, 16});
    LogSkin* check = AddSkin(L"t.check", 3, {12, 12});
    LogSkin* arrow = AddSkin(L"t.arrow", 2, {8, 8});
    LogSkin* sep = AddSkin(L"t.sep", 1, {10, 3});
    AddMenu(L"paint", "<menuRoot itemSkin='t.item' iconSkin='t.icon' checkSkin='t.check' arrowSkin='t.arrow'"
                      " sepSkin='t.sep' itemHeight='20' iconBarWidth='30' iconPos='4'>"
                      "<menuItem id='1' icon='2'>a</menuItem><menuItem id='2' check='1'>b</menuItem>"
                      "<menuItem id='3' radio='1' check='1'>c</menuItem><menuItem id='4' radio='1'>d</menuItem>"
                      "<sep id='9'/><menuItem id='5' enable='0'>e</menuItem>"
                      "<menuItem id='6'>f<menuItem id='61'>g</menuItem></menuItem></menuRoot>");
    SMenuEx menu;
    ASSERT_TRUE(menu.LoadFromResource(L"SMENUEX:paint"));
    SMenuExRootBase* root = menu.Root();
    SIZE size = root->ComputePreferredSize(nullptr);
    EXPECT_EQ(6 * 20 + 3, size.cy);
    root->ApplyRect(RECT{0, 0, size.cx, size.cy});
    root->LookupChildById(1)->SetCheckedState(TRUE);
    IRenderTarget* target = nullptr;
    ASSERT_TRUE(m_render->CreateRenderTarget(&target, size.cx, size.cy));
    SRefPtr<IRenderTarget> rt(target, false);
    root->PaintSubtree(rt, nullptr);

    const int itemStates[] = {1, 0, 0, 0, 2, 0}; // selected, plain ..., disabled, plain
    const int ids[] = {1, 2, 3, 4, 5, 6};
    for (int i = 0; i < 6; ++i) {
        SWindow* window = root->LookupChildById(ids[i]);
        auto draws = In(item, window);
        ASSERT_EQ(1u, draws.size()) << ids[i];
        EXPECT_EQ(itemStates[i], draws[0].second) << ids[i];
        EXPECT_TRUE(EqualRect(&draws[0].first, &window->GetWindowRect()));
    }
    auto icons = In(icon, root->LookupChildById(1));
    ASSERT_EQ(1u, icons.size());
    EXPECT_EQ(2, icons[0].second);
    EXPECT_EQ(4, icons[0].first.left);
    EXPECT_EQ(2, icons[0].first.top); // centred: (20 - 16) / 2
    const int checkStates[] = {0, 1, 2}; // check, checked radio, radio
    for (int i = 0; i < 3; ++i) {
        auto draws = In(check, root->LookupChildById(2 + i));
        ASSERT_EQ(1u, draws.size());
        EXPECT_EQ(checkStates[i], draws[0].second);
    }
    SWindow* withSubMenu = root->LookupChildById(6);
    auto arrows = In(arrow, withSubMenu);
    ASSERT_EQ(1u, arrows.size());
    EXPECT_EQ(0, arrows[0].second);
    EXPECT_EQ(withSubMenu->GetWindowRect().right, arrows[0].first.right);
    ASSERT_EQ(1u, sep->draws.size());
    EXPECT_EQ(3, sep->draws[0].first.bottom - sep->draws[0].first.top);
    EXPECT_TRUE(In(icon, root->LookupChildById(2)).empty()); // a check replaces the icon

    RECT text;
    root->LookupChildById(1)->ComputeTextRect(&text);
    EXPECT_EQ(30, text.left);
    withSubMenu->ComputeTextRect(&text);
    EXPECT_EQ(withSubMenu->GetWindowRect().right - 8, text.right);
}

// Recent (with a sub-menu) and Print hidden between two openings take no room: keys pass over
// them as over disabled items, and the hot key Print shares with Paste finds Paste.
TEST_F(PopupMenu, KeysAndHotKeysPassOverHiddenItems)
{
    AddMenu(L"edit", "<menuRoot><menuItem id='3'>Recent<menuItem id='31'>First</menuItem></menuItem>"
                     "<menuItem id='4' hotKey='p'>Print</menuItem><menuItem id='5' hotKey='p'>Paste</menuItem>"
                     "<menuItem id='6'>Exit</menuItem></menuRoot>");
    SMenuEx menu;
    ASSERT_TRUE(menu.LoadFromResource(L"edit", m_owner.Handle()));
    auto run = [&] {
        m_driver.Start();
        return menu.RunPopup(kMenuReturnCmd, 60, 60, m_owner.Handle(), 100);
    };
    m_driver.Then([] { SMenuEx::FinishRunningMenu(0); });
    EXPECT_EQ(0, run());
    menu.Root()->LookupChildById(3)->ChangeVisibility(FALSE);
    menu.Root()->LookupChildById(4)->ChangeVisibility(FALSE);

    const struct {
        std::vector<UINT> keys;
        int selected;
    } cases[] = {{{VK_DOWN}, 5}, {{VK_UP, VK_UP}, 5}, {{VK_DOWN, VK_DOWN, VK_DOWN}, 5}, {{VK_UP, VK_UP, VK_UP}, 6}};
    for (const auto& c : cases) {
        int selected = 0;
        for (UINT key : c.keys)
            m_driver.Then([&menu, key] { Driver::PostKey(menu.Handle(), key); });
        m_driver.Then([&] {
            selected = menu.SelectedItem() ? menu.SelectedItem()->GetId() : 0;
            SMenuEx::FinishRunningMenu(0);
        });
        EXPECT_EQ(0, run());
        EXPECT_EQ(c.selected, selected) << c.keys.size();
    }
    m_driver.Then([&menu] { Driver::PostKey(menu.Handle(), 'P'); });
    EXPECT_EQ(5, run());
}

// The selected or hovered item hidden while the menu is open: Return, Right and the hover delay
// no longer open its sub-menu.
TEST_F(PopupMenu, ASelectionHiddenUnderTheUserOpensNothing)
{
    SMenuExBase* subMenu = static_cast<SMenuExItemBase*>(Item(3))->SubMenu();
    bool opened = true;
    Keys({VK_UP, VK_UP});
    m_driver.Then([this] { Item(3)->ChangeVisibility(FALSE); });
    Keys({VK_RETURN, VK_RIGHT});
    m_driver.Then([&] {
        opened = IsWindowVisible(subMenu->Handle()) != FALSE;
        SMenuEx::FinishRunningMenu(0);
    });
    EXPECT_EQ(0, Run());
    EXPECT_FALSE(opened);

    // Hidden while its sub-menu's hover delay runs.
    Item(3)->ChangeVisibility(TRUE);
    opened = true;
    m_driver.Then([this] { Driver::MoveTo(m_menu.Handle(), Item(3)); })
        .Then([this] { Item(3)->ChangeVisibility(FALSE); }, 100)
        .Then([&] {
            opened = IsWindowVisible(subMenu->Handle()) != FALSE;
            SMenuEx::FinishRunningMenu(0);
        }, 700);
    EXPECT_EQ(0, Run());
    EXPECT_FALSE(opened);
}

// A menu taller than its monitor: the rows that do not fit scroll into view.
class TallMenu : public menutest::MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        MONITORINFO info = {sizeof(info)};
        ::GetMonitorInfoW(::MonitorFromWindow(m_owner.Handle(), MONITOR_DEFAULTTOPRIMARY), &info);
        m_monitor = info.rcMonitor;
        m_count = (m_monitor.bottom - m_monitor.top) / 26 + 20;
        std::string xml = "<menuRoot itemHeight='26'>";
        for (int id = 1; id <= m_count; ++id)
            xml += "<menuItem id='" + std::to_string(id) + "'>Item " + std::to_string(id) + "</menuItem>";
        AddMenu(L"tall", xml + "</menuRoot>");
        ASSERT_TRUE(m_menu.LoadFromResource(L"tall", m_owner.Handle()));
    }
    int Run()
    {
        m_driver.Start();
        return m_menu.RunPopup(kMenuReturnCmd, 60, 300, m_owner.Handle(), 100);
    }
    SWindow* Item(int id) { return m_menu.Root()->LookupChildById(id); }
    // The item lies whole in the menu window's client area, on the monitor.
    bool Shown(int id)
    {
        RECT client;
        ::GetClientRect(m_menu.Handle(), &client);
        RECT item = Item(id)->GetWindowRect();
        POINT top{item.left, item.top};
        ::ClientToScreen(m_menu.Handle(), &top);
        return item.top >= client.top && item.bottom <= client.bottom && top.y >= m_monitor.top
               && top.y + (item.bottom - item.top) <= m_monitor.bottom;
    }

    SMenuEx m_menu;
    Driver m_driver;
    RECT m_monitor{};
    int m_count = 0;
};

TEST_F(TallMenu, StaysOnTheMonitorAndKeysScrollTheSelectionIntoView)
{
    RECT placed = {};
    bool lastShown = false;
    bool firstShown = false;
    UINT32 stripCorner = 0;
    UINT32 downArrow = 0;
    UINT32 upArrow = 0;
    m_driver.Then([&] {
                ::GetWindowRect(m_menu.Handle(), &placed);
                // The strips are drawn over the rows: the down arrow dark, the up arrow (nothing
                // above) greyed.
                IRenderTarget* memory = m_menu.MemoryTarget();
                int width = placed.right - placed.left;
                int height = placed.bottom - placed.top;
                stripCorner = memory->GetPixel(1, height - 1);
                downArrow = memory->GetPixel(width / 2, height - 8);
                upArrow = memory->GetPixel(width / 2, 7);
            })
        .Then([this] { Driver::PostKey(m_menu.Handle(), VK_UP); })
        .Then([&] { lastShown = Shown(m_count) && m_menu.SelectedItem() == Item(m_count); })
        .Then([this] { Driver::PostKey(m_menu.Handle(), VK_DOWN); })
        .Then([&] { firstShown = Shown(1) && m_menu.SelectedItem() == Item(1); })
        .Then([this] { Driver::PostKey(m_menu.Handle(), VK_UP); })
        .Then([this] { Driver::PostKey(m_menu.Handle(), VK_RETURN); });
    EXPECT_EQ(m_count, Run());
    RECT inside;
    EXPECT_TRUE(::IntersectRect(&inside, &placed, &m_monitor) && ::EqualRect(&inside, &placed));
    EXPECT_EQ(m_monitor.bottom - m_monitor.top, placed.bottom - placed.top);
    EXPECT_TRUE(lastShown);
    EXPECT_TRUE(firstShown);
    EXPECT_NE(0u, stripCorner >> 24); // opaque: the strip takes the mouse
    EXPECT_EQ(0xFF404040u, downArrow);
    EXPECT_EQ(0xFFB0B0B0u, upArrow);
}

// The wheel turned over the menu (it goes to the focused owner) and the mouse resting on the
// bottom edge both bring the last rows into view, where a click chooses them.
TEST_F(TallMenu, WheelAndEdgeHoverScrollForTheMouse)
{
    bool firstShown = false;
    m_driver.Then([&] {
        firstShown = Shown(1);
        RECT rect;
        ::GetWindowRect(m_menu.Handle(), &rect);
        ::SetCursorPos(rect.left + 20, (rect.top + rect.bottom) / 2);
        for (int i = 0; i < m_count; ++i)
            ::PostMessageW(m_owner.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
                           MAKELPARAM(rect.left + 20, (rect.top + rect.bottom) / 2));
    });
    m_driver.Then([this] {
        if (Shown(m_count))
            Driver::Click(m_menu.Handle(), Item(m_count));
        else
            SMenuEx::FinishRunningMenu(0);
    }, 300);
    EXPECT_EQ(m_count, Run());
    EXPECT_TRUE(firstShown);

    bool scrolled = false;
    m_driver.Then([this] {
                RECT client;
                ::GetClientRect(m_menu.Handle(), &client);
                POINT pt{20, client.bottom - 2};
                POINT screen = pt;
                ::ClientToScreen(m_menu.Handle(), &screen);
                ::SetCursorPos(screen.x, screen.y);
                ::PostMessageW(m_menu.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
            })
        .Then([&] {
            scrolled = !Shown(1);
            SMenuEx::FinishRunningMenu(0);
        }, 600);
    EXPECT_EQ(0, Run());
    EXPECT_TRUE(scrolled);
}

} // namespace

// The menu's window destroyed while it runs ends the run without a choice; nothing is left for
// a press elsewhere to end.
TEST_F(PopupMenu, RunEndsWhenTheMenuWindowGoes)
{
    bool stillRunning = false;
    m_driver.Then([this] { ::DestroyWindow(m_menu.Handle()); })
        .Then(
            [&] {
                stillRunning = true;
                ::PostMessageW(m_owner.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
            },
            1500);
    EXPECT_EQ(-1, Run());
    EXPECT_FALSE(stillRunning);
}

// A menu with nothing shown to choose from does not open as an empty strip: the run ends at
// once without a choice and the owner gets no command. A sub-menu whose items are all hidden
// stays closed.
TEST_F(PopupMenu, AMenuWithNothingShownDoesNotOpen)
{
    SMenuExBase* recent = static_cast<SMenuExItemBase*>(Item(3))->SubMenu();
    ASSERT_TRUE(recent);
    for (int id : {31, 32})
        recent->Root()->LookupChildById(id)->ChangeVisibility(FALSE);
    bool subMenuShown = true;
    Keys({VK_DOWN, VK_DOWN, VK_RIGHT});
    m_driver.Then([&] {
        subMenuShown = ::IsWindowVisible(recent->Handle()) != FALSE;
        SMenuEx::FinishRunningMenu(0);
    });
    EXPECT_EQ(0, Run());
    EXPECT_FALSE(subMenuShown);

    for (int id : {1, 2, 3, 4})
        Item(id)->ChangeVisibility(FALSE);
    bool stillRunning = false;
    m_driver.Then(
        [&] {
            stillRunning = true;
            SMenuEx::FinishRunningMenu(0);
        },
        300);
    EXPECT_EQ(-1, Run(0));
    EXPECT_FALSE(stillRunning);
    EXPECT_TRUE(m_owner.commands.empty());
    EXPECT_FALSE(::IsWindowVisible(m_menu.Handle()));
}
