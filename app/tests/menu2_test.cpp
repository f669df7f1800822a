// The program's popup menu: items added in code to an empty menu, the joystick sub-menu filled
// the same way, runs of its own kept apart from the framework menu's.
#include "control/SMenuEx.h"
#include "menu_test_env.h"
#include "widgets/SMenuEx2.h"

namespace {

using namespace SKEIN;
using menutest::Driver;

const char kEmptyMenu[] = "<menuRoot itemHeight='24' iconPos='6' minWidth='90'/>";
const UINT kAppend = 0xFFFFFFFF;

class ProgramMenu : public menutest::MenuTest {
protected:
    void SetUp() override
    {
        MenuTest::SetUp();
        AddMenu(L"menuex_Fun", kEmptyMenu);
        ASSERT_TRUE(m_menu.LoadFromResource(L"smenuex:menuex_Fun"));
    }
    // Texts (ids) of the root's children in order; separators as "-".
    static std::wstring Children(SMenuExBase& menu)
    {
        std::wstring list;
        for (SWindow* child = menu.Root()->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
            if (!list.empty())
                list += L" ";
            list += static_cast<SMenuExItemBase*>(child)->IsSeparator() ? L"-" : std::to_wstring(child->GetId());
        }
        return list;
    }
    // The menu of the key-mapping pages: keyboard, mouse, joystick (12 buttons), default code.
    void BuildMappingMenu(int defaultCode)
    {
        const int ids[] = {1, 2, 3, defaultCode};
        for (int id : ids) {
            m_menu.AddItem(kAppend, kMenuAddByPosition | (id == 3 ? kMenuAddSubMenu : 0), id, L"entry");
            m_menu.AddItem(kAppend, kMenuAddByPosition | kMenuAddSeparator, 0, L"");
        }
        SMenuEx2* joystick = m_menu.SubMenuOfItem(3);
        ASSERT_NE(nullptr, joystick);
        EXPECT_EQ(0, joystick->AddItem(kAppend, kMenuAddByPosition, 0xF100, L"early")); // not loaded yet
        EXPECT_EQ(nullptr, joystick->Root());
        ASSERT_TRUE(joystick->LoadFromResource(L"smenuex:menuex_Fun"));
        for (int button = 0; button < 12; ++button) {
            joystick->AddItem(kAppend, kMenuAddByPosition, 0xF10000 + button, (L"Button " + std::to_wstring(button + 1)).c_str());
            joystick->AddItem(kAppend, kMenuAddByPosition | kMenuAddSeparator, 0, L"");
        }
    }
    int Run(HWND owner, UINT flags = kMenuReturnCmd)
    {
        m_driver.Start();
        return m_menu.RunPopup(flags, 80, 60, owner, 100);
    }

    SMenuEx2 m_menu;
    Driver m_driver;
};

TEST_F(ProgramMenu, AddItemPlacesItemsAndSeparators)
{
    EXPECT_EQ(0, m_menu.AddItem(kAppend, kMenuAddByPosition, 1, L"one"));
    m_menu.AddItem(kAppend, kMenuAddByPosition | kMenuAddSeparator, 0, L"");
    m_menu.AddItem(0, kMenuAddByPosition, 2, L"two");        // before the first child
    m_menu.AddItem(1, kMenuAddSubMenu, 3, L"three");          // before the item with id 1
    m_menu.AddItem(3, kMenuAddSeparator, 0, L"");             // before id 3
    EXPECT_EQ(L"2 - 3 1 -", Children(m_menu));
    EXPECT_EQ(0, m_menu.AddItem(99, 0, 4, L"four"));          // no item 99: nothing
    m_menu.AddItem(40, kMenuAddByPosition, 5, L"five");       // past the end: appended
    EXPECT_EQ(L"2 - 3 1 - 5", Children(m_menu));

    SMenuExItemBase* three = static_cast<SMenuExItemBase*>(m_menu.Root()->LookupChildById(3));
    EXPECT_STREQ(L"three", three->QueryText().c_str());
    EXPECT_TRUE(three->MatchesClassName(L"menuItem"));
    ASSERT_NE(nullptr, m_menu.SubMenuOfItem(3));
    EXPECT_EQ(nullptr, m_menu.SubMenuOfItem(3)->Handle()); // no window until it is loaded
    EXPECT_EQ(-1, m_menu.SubMenuOfItem(3)->RunPopup(kMenuReturnCmd, 0, 0, m_owner.Handle(), 100));

    SMenuEx2* subMenu = m_menu.SubMenuOfItem(3);
    ASSERT_TRUE(subMenu->LoadFromResource(L"menuex_Fun"));
    subMenu->AddItem(kAppend, kMenuAddByPosition, 30, L"thirty");
    subMenu->AddItem(kAppend, kMenuAddByPosition, 31, L"thirty-one");
    subMenu->AddItem(31, 0, 7, L"seven"); // by id within the sub-menu's own tree
    EXPECT_EQ(L"30 7 31", Children(*subMenu));
    EXPECT_EQ(0, m_menu.AddItem(30, 0, 8, L"eight")); // the sub-menu's items are not this tree's
}

TEST_F(ProgramMenu, SubMenuOfAMissingItemIsNullAndLogged)
{
    SRefPtr<skein_test::LogRecorder> log(new skein_test::LogRecorder, false);
    m_app->SetLogManager(log);
    m_menu.AddItem(kAppend, kMenuAddByPosition, 1, L"one");
    EXPECT_EQ(nullptr, m_menu.SubMenuOfItem(1)); // an item without a sub-menu
    EXPECT_EQ(nullptr, m_menu.SubMenuOfItem(42));
    std::vector<std::string> failures;
    for (const std::string& line : log->lines) {
        if (line.find("FindChildByID2 Failed") != std::string::npos)
            failures.push_back(line);
    }
    ASSERT_EQ(1u, failures.size());
    EXPECT_NE(std::string::npos, failures[0].find("3|"));
    EXPECT_NE(std::string::npos, failures[0].find("no window of class [menuItem] with id of [42]"));
    m_app->SetLogManager(nullptr);
}

TEST_F(ProgramMenu, RootIconPosAndContextHelp)
{
    SMenuExRootBase* root = m_menu.Root();
    EXPECT_EQ(6, root->Pixels(root->m_iconX));
    EXPECT_FLOAT_EQ(-1000.0f, root->m_iconY.value);
    EXPECT_EQ(SLayoutSize::DefaultUnit(), root->m_iconY.unit);
    EXPECT_EQ(E_INVALIDARG, root->ApplyAttribute(L"iconPos", L"1,2,3", TRUE));
    m_menu.SetContextHelpId(12);
    EXPECT_EQ(12, m_menu.GetContextHelpId());
}

TEST_F(ProgramMenu, JoystickSubMenuReturnsTheChosenCode)
{
    BuildMappingMenu(0x00F10005);
    EXPECT_EQ(L"1 - 2 - 3 - 15794181 -", Children(m_menu));
    SMenuEx2* joystick = m_menu.SubMenuOfItem(3);
    EXPECT_EQ(24, joystick->Root()->GetChildCount());
    for (UINT key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN}) // Right selects button 1
        m_driver.Then([this, key] { Driver::PostKey(m_menu.Handle(), key); });
    EXPECT_EQ(0xF10001, Run(m_owner.Handle()));
    ASSERT_EQ(1u, m_owner.initPopups.size()); // the top level sends none
    EXPECT_EQ(reinterpret_cast<WPARAM>(static_cast<SMenuExBase*>(joystick)), m_owner.initPopups[0].first);
    EXPECT_EQ(4, m_owner.initPopups[0].second);
    EXPECT_STREQ(L"", joystick->TranslationContext().c_str());

    m_driver.Then([this] { Driver::PostKey(m_menu.Handle(), VK_UP); }) // past the last separator
        .Then([this] { Driver::PostKey(m_menu.Handle(), VK_RETURN); });
    EXPECT_EQ(1, Run(m_owner.Handle(), 0)); // the default code, sent to the owner
    EXPECT_EQ(std::vector<int>{0x0005}, m_owner.commands);
    EXPECT_EQ(m_owner.Handle(), reinterpret_cast<HWND>(GetWindowLongPtrW(m_menu.Handle(), GWLP_HWNDPARENT)));
}

TEST_F(ProgramMenu, NullOwnerEndsAtOnce)
{
    m_menu.AddItem(kAppend, kMenuAddByPosition, 1, L"one");
    EXPECT_EQ(-1, Run(nullptr));
    EXPECT_FALSE(IsWindowVisible(m_menu.Handle()));
}

// An SMenuEx run started inside an SMenuEx2 run: each ends with its own choice.
TEST_F(ProgramMenu, RunsOfTheTwoFamiliesStayApart)
{
    m_menu.AddItem(kAppend, kMenuAddByPosition, 1, L"one");
    m_menu.AddItem(kAppend, kMenuAddByPosition, 2, L"two");
    AddMenu(L"other", "<menuRoot><menuItem id='7'>seven</menuItem><menuItem id='8'>eight</menuItem></menuRoot>");
    SMenuEx other;
    ASSERT_TRUE(other.LoadFromResource(L"other", m_owner.Handle()));
    int inner = 0;
    m_driver.Then([&] { inner = other.RunPopup(kMenuReturnCmd, 300, 60, m_owner.Handle(), 100); })
        .Then([] { SMenuEx2::FinishRunningMenu(2); }) // plays inside the inner run
        .Then([&] { Driver::PostKey(other.Handle(), VK_UP); })
        .Then([&] { Driver::PostKey(other.Handle(), VK_RETURN); });
    EXPECT_EQ(2, Run(m_owner.Handle()));
    EXPECT_EQ(8, inner);
}

} // namespace
