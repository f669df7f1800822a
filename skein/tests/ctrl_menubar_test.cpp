// The menu bar in a real host: items from XML (only those whose menu loads), their geometry,
// a click that opens the menu below the item and reports the choice, and hovering another item
// while a menu is open, which switches menus without reporting anything.
#include "control/SMenuBar.h"
#include "host_ctrl_test_env.h"
#include "menu_test_env.h"

namespace hosttest {
namespace {

using menutest::Driver;

const char kBar[] =
    "<SKEIN width='240' height='100'><root colorBkgnd='#ffffff'>"
    "<menubar name='bar' pos='10,8,-10,@24'>"
    "<btnStyle tip='a menu'/>"
    "<menus>"
    "<menuItem menuName='file'>File</menuItem>"
    "<menuItem>No menu name</menuItem>"
    "<menuItem menuName='nosuch'>Menu not found</menuItem>"
    "<menuItem menuName='SMENUEX:edit'>Edit</menuItem>"
    "<menuItem menuName='view'>View</menuItem>"
    "</menus></menubar></root></SKEIN>";

// Records the choices reported by the bar.
class MenuBarHost : public RecordingHost {
public:
    using RecordingHost::RecordingHost;
    BOOL OnHostEvent(EventArgs* evt) override
    {
        if (auto* select = dynamic_cast<EventSelectMenu*>(evt))
            choices.push_back({select->menuId, select->menu});
        return RecordingHost::OnHostEvent(evt);
    }
    std::vector<std::pair<int, SMenuEx*>> choices;
};

class MenuBarTest : public HostCtrlTest {
protected:
    void SetUp() override
    {
        HostCtrlTest::SetUp();
        m_menus.Attach(new skein_test::MemProvider);
        m_menus->Put(L"SMENUEX", L"file", "<menuRoot><menuItem id='11'>Open</menuItem><menuItem id='12'>Close</menuItem></menuRoot>");
        m_menus->Put(L"SMENUEX", L"edit", "<menuRoot><menuItem id='21'>Copy</menuItem></menuRoot>");
        m_menus->Put(L"SMENUEX", L"view", "<menuRoot><menuItem id='31'>Zoom</menuItem></menuRoot>");
        m_app->AddProvider(m_menus, nullptr);
        ::SetCursorPos(1270, 1010); // away from the host and its menus
    }
    void TearDown() override
    {
        if (m_bar && m_bar->Handle())
            m_bar->DestroyHost();
        m_bar.reset();
        m_menus = nullptr;
        HostCtrlTest::TearDown();
    }

    HostDriver OpenBar()
    {
        AddLayouts({{L"bar", kBar}});
        m_bar.reset(new MenuBarHost(L"LAYOUT:bar"));
        CreatePopup(*m_bar, 100, 100);
        Pump();
        return HostDriver(*m_bar);
    }
    SMenuBar* Bar() { return dynamic_cast<SMenuBar*>(m_bar->LookupChildByName(SStringW(L"bar"))); }
    static POINT Centre(SWindow* window)
    {
        const RECT& rect = window->GetWindowRect();
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    SRefPtr<skein_test::MemProvider> m_menus;
    std::unique_ptr<MenuBarHost> m_bar;
};

TEST_F(MenuBarTest, ItemsOf49By20OnePixelApartForTheMenusThatLoad)
{
    OpenBar();
    SMenuBar* bar = Bar();
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(3, bar->GetItemCount());
    EXPECT_EQ(3, bar->GetChildCount());
    RECT inner;
    bar->GetInnerRect(&inner);
    const wchar_t* texts[] = {L"File", L"Edit", L"View"};
    for (int i = 0; i < 3; ++i) {
        SMenuItem* item = bar->GetItem(i);
        RECT expected = {inner.left + 1 + 50 * i, inner.top, inner.left + 50 * (i + 1), inner.top + 20};
        EXPECT_TRUE(::EqualRect(&expected, &item->GetWindowRect())) << i;
        EXPECT_STREQ(texts[i], item->QueryText().c_str());
        EXPECT_STREQ(L"a menu", item->QueryTooltipText().c_str()); // from btnStyle
        EXPECT_TRUE(item->MatchesClassName(L"menuItem"));
        EXPECT_STREQ(L"button", item->XmlClassName());
    }

    EXPECT_FALSE(bar->AddItem(SStringW(L"Help"), SStringW(), 0));
    EXPECT_FALSE(bar->AddItem(SStringW(L"Help"), SStringW(L"nosuch"), 0));
    EXPECT_EQ(3, bar->GetChildCount());
    ASSERT_TRUE(bar->AddItem(SStringW(L"Help"), SStringW(L"view"), 0));
    EXPECT_STREQ(L"Help", bar->GetItem(0)->QueryText().c_str());
    EXPECT_EQ(inner.left + 1, bar->GetItem(0)->GetWindowRect().left);
    EXPECT_EQ(inner.left + 51, bar->GetItem(1)->GetWindowRect().left);
}

// Items beyond the work of the bar's creation are not made; the menus they load count in it.
TEST_F(MenuBarTest, ItemsBeyondTheWorkOfACreationAreNotMade)
{
    std::string items;
    for (int i = 0; i < 200; ++i)
        items += "<menuItem menuName='file'>File</menuItem>";
    AddLayouts({{L"long", "<SKEIN width='240' height='100'><root><menubar name='bar' pos='0,0,-0,@24'><menus>" +
                              items + "</menus></menubar></root></SKEIN>"}});
    const int kBudget = 2000;
    SetXmlWorkBudget(kBudget);
    m_bar.reset(new MenuBarHost(L"LAYOUT:long"));
    CreatePopup(*m_bar, 100, 100);
    SetXmlWorkBudget(0);
    ASSERT_NE(nullptr, Bar());
    EXPECT_LT(0, Bar()->GetItemCount());
    EXPECT_GE(kBudget / (4 * kXmlWorkPerElement), Bar()->GetItemCount()); // each an item and a menu of three
}

TEST_F(MenuBarTest, ADestroyedItemLeavesTheBarAndTheRestMoveUp)
{
    HostDriver driver = OpenBar();
    SMenuBar* bar = Bar();
    ASSERT_NE(nullptr, bar);
    ASSERT_EQ(3, bar->GetItemCount());
    SMenuItem* view = bar->GetItem(2);
    ASSERT_TRUE(bar->GetItem(1)->Dispose());
    ASSERT_EQ(2, bar->GetItemCount());
    EXPECT_EQ(view, bar->GetItem(1));
    Pump();
    RECT inner;
    bar->GetInnerRect(&inner);
    EXPECT_EQ(inner.left + 51, view->GetWindowRect().left);

    // The item that took its place opens its own menu.
    Driver steps;
    steps.Then([&] {
        Driver::PostKey(view->Menu().Handle(), VK_DOWN);
        Driver::PostKey(view->Menu().Handle(), VK_RETURN);
    });
    steps.Start();
    POINT at = Centre(view);
    driver.Press(at);
    driver.Release(at);
    ASSERT_EQ(1u, m_bar->choices.size());
    EXPECT_EQ(31, m_bar->choices[0].first);
}

TEST_F(MenuBarTest, AClickOpensTheMenuBelowTheItemAndReportsTheChoice)
{
    HostDriver driver = OpenBar();
    SMenuBar* bar = Bar();
    SMenuItem* file = bar->GetItem(0);
    HWND menu = file->Menu().Handle();
    RECT opened = {};
    bool checked = false;
    Driver steps;
    steps.Then([&] {
             checked = file->TestChecked() && bar->IsMenuShowing();
             ::GetWindowRect(menu, &opened);
         })
        .Then([&] {
            Driver::PostKey(menu, VK_DOWN);
            Driver::PostKey(menu, VK_DOWN);
            Driver::PostKey(menu, VK_RETURN);
        });
    steps.Start();
    POINT at = Centre(file);
    driver.Press(at);
    driver.Release(at);

    EXPECT_TRUE(checked);
    POINT expected = {file->GetWindowRect().left, file->GetWindowRect().bottom + 2};
    ::ClientToScreen(driver.Hwnd(), &expected);
    EXPECT_EQ(expected.x, opened.left);
    EXPECT_EQ(expected.y, opened.top);
    EXPECT_FALSE(file->TestChecked());
    EXPECT_FALSE(bar->IsMenuShowing());
    ASSERT_EQ(1u, m_bar->choices.size());
    EXPECT_EQ(12, m_bar->choices[0].first);
    EXPECT_EQ(&file->Menu(), m_bar->choices[0].second);
    EXPECT_EQ(1, m_bar->Count(EventSelectMenu::EventID, L"bar"));

    // Dismissed without a choice: nothing is reported.
    steps.Then([&] { Driver::PostKey(menu, VK_ESCAPE); });
    steps.Start();
    driver.Press(at);
    driver.Release(at);
    EXPECT_EQ(1u, m_bar->choices.size());
}

TEST_F(MenuBarTest, HoveringAnotherItemSwitchesMenusWithoutAReport)
{
    HostDriver driver = OpenBar();
    SMenuBar* bar = Bar();
    SMenuItem* file = bar->GetItem(0);
    SMenuItem* edit = bar->GetItem(1);
    bool fileClosed = false;
    bool editOpen = false;
    Driver steps;
    steps.Then([&] {
             POINT release = Centre(file);
             POINT onto = Centre(edit);
             driver.Post(WM_LBUTTONUP, 0, MAKELPARAM(release.x, release.y));
             driver.Post(WM_MOUSEMOVE, 0, MAKELPARAM(onto.x, onto.y));
         })
        .Then(
            [&] {
                fileClosed = !::IsWindowVisible(file->Menu().Handle());
                editOpen = ::IsWindowVisible(edit->Menu().Handle()) && edit->TestChecked();
            },
            200)
        .Then([&] { Driver::PostKey(edit->Menu().Handle(), VK_ESCAPE); });
    steps.Start();
    driver.Press(Centre(file)); // returns once the hover has closed the first menu
    EXPECT_TRUE(driver.PumpUntil([&] { return steps.Done() && !bar->IsMenuShowing(); }, 3000));
    EXPECT_TRUE(fileClosed);
    EXPECT_TRUE(editOpen);
    EXPECT_FALSE(edit->TestChecked());
    EXPECT_TRUE(m_bar->choices.empty());
    EXPECT_EQ(0, m_bar->Count(EventSelectMenu::EventID));
}

// A click on the item whose menu is open closes the menu and does not open it again.
TEST_F(MenuBarTest, ClickingTheOpenItemAgainClosesItsMenu)
{
    HostDriver driver = OpenBar();
    SMenuBar* bar = Bar();
    SMenuItem* file = bar->GetItem(0);
    POINT at = Centre(file);
    bool openBefore = false;
    bool openAfter = true;
    Driver steps;
    steps.Then([&] {
             openBefore = ::IsWindowVisible(file->Menu().Handle()) != FALSE;
             driver.Post(WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
             driver.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
             driver.Post(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
         })
        .Then(
            [&] {
                openAfter = ::IsWindowVisible(file->Menu().Handle()) != FALSE;
                SMenuEx::FinishRunningMenu(0);
            },
            200);
    steps.Start();
    driver.Click(at);
    EXPECT_TRUE(driver.PumpUntil([&] { return steps.Done() && !bar->IsMenuShowing(); }, 3000));
    EXPECT_TRUE(openBefore);
    EXPECT_FALSE(openAfter);
    EXPECT_FALSE(file->TestChecked());
    EXPECT_TRUE(m_bar->choices.empty());

    // The next click opens it again.
    steps.Then([&] { Driver::PostKey(file->Menu().Handle(), VK_DOWN); })
        .Then([&] { Driver::PostKey(file->Menu().Handle(), VK_RETURN); });
    steps.Start();
    driver.Click(at);
    ASSERT_EQ(1u, m_bar->choices.size());
    EXPECT_EQ(11, m_bar->choices[0].first);
}

} // namespace
} // namespace hosttest
