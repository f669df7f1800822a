// Keyboard focus in a real host: Tab and Shift+Tab order with radio groups, arrows inside a
// group, accelerators (Ctrl+Tab, Alt+letter), the focus saved while the host is inactive, and
// buttons reacting to Space and to their accelerators.
#include <functional>
#include <initializer_list>
#include "control/SButton.h"
#include "core/SFocusManager.h"
#include "host_test_env.h"

namespace hosttest {
namespace {

const char kNavLayout[] =
    "<SKEIN width='300' height='200'><root>"
    "<button name='b1' pos='0,0,@40,@20'/>"
    "<window name='group' pos='0,30,@200,@30'>"
    "<radio name='r1' pos='0,0,@40,@20'/><radio name='r2' pos='50,0,@40,@20' checked='1'/>"
    "<radio name='r3' pos='100,0,@40,@20'/></window>"
    "<button name='hidden' pos='0,70,@40,@20' visible='0'/>"
    "<window pos='0,100,@200,@40'><button name='b2' pos='0,0,@40,@20'/></window>"
    "<button name='off' pos='50,150,@40,@20' enable='0'/>"
    "<button name='b3' pos='0,150,@40,@20'/>"
    "<recwnd name='plain' pos='100,150,@40,@20'/>"
    "</root></SKEIN>";

const char kRecLayout[] =
    "<SKEIN width='200' height='100'><root>"
    "<recwnd name='f1' focusable='1' pos='0,0,@50,@50'/><recwnd name='f2' focusable='1' pos='50,0,@50,@50'/>"
    "</root></SKEIN>";

const char kUnfocusableLayout[] =
    "<SKEIN width='200' height='100'><root><recwnd name='a' pos='0,0,@50,@50'/></root></SKEIN>";

const char kAccelLayout[] =
    "<SKEIN width='300' height='100'><root>"
    "<button name='save' accel='ctrl+s' pos='0,0,@40,@20'/>"
    "<button name='open' pos='50,0,@40,@20'>Open(&amp;O)</button>"
    "<button name='hid' accel='f2' visible='0' disableAccelIfInvisible='1' pos='100,0,@40,@20'/>"
    "<button name='dis' accel='f3' enable='0' pos='150,0,@40,@20'/>"
    "<button name='plain' pos='200,0,@40,@20'>Save(S)</button>"
    "<button name='both' accel='ctrl+b' pos='0,50,@40,@20'>Bold(&amp;B)</button>"
    "</root></SKEIN>";

// Records the accelerators it gets and consumes them.
struct RecTarget : IAcceleratorTarget {
    bool OnAcceleratorPressed(const CAccelerator& accel) override
    {
        pressed.push_back(accel.Packed());
        return true;
    }
    std::vector<DWORD> pressed;
};

class FocusNavTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        AddLayouts({{L"nav", kNavLayout}, {L"rec", kRecLayout}, {L"none", kUnfocusableLayout}, {L"accel", kAccelLayout}});
    }
    void TearDown() override
    {
        if (m_host)
            m_host->DestroyHost();
        delete m_host;
        HostTest::TearDown();
    }
    HWND Open(const wchar_t* layout)
    {
        m_host = new RecordingHost(layout);
        m_hwnd = CreatePopup(*m_host);
        return m_hwnd;
    }
    SWindow* W(const wchar_t* name) { return m_host->LookupChildByName(name); }
    const wchar_t* Focused()
    {
        SWindow* focused = SWindowMgr::GetWindow(m_host->GetFocus());
        return focused ? focused->GetName() : L"";
    }
    void Key(UINT vk) { ::SendMessageW(m_hwnd, WM_KEYDOWN, vk, 1); }
    void KeyUp(UINT vk) { ::SendMessageW(m_hwnd, WM_KEYUP, vk, 0xC0000001); }
    // A letter typed with Alt held, as the system delivers it.
    void AltChar(wchar_t c)
    {
        HeldKeys alt({VK_MENU});
        ::SendMessageW(m_hwnd, WM_SYSCHAR, c, 0x20000001);
    }
    CFocusManager* Manager() { return m_host->GetFocusManager(); }

    RecordingHost* m_host = nullptr;
    HWND m_hwnd = nullptr;
};

TEST_F(FocusNavTest, TabAndShiftTabWrapThroughFocusableWindowsEnteringRadioGroupsOnTheCheckedMember)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:nav"));
    const wchar_t* forward[] = {L"b1", L"r2", L"b2", L"b3", L"b1"};
    for (const wchar_t* expected : forward) {
        Key(VK_TAB);
        EXPECT_STREQ(expected, Focused());
    }
    EXPECT_EQ(kFocusReasonNavigation, Manager()->GetLastReason());
    HeldKeys shift({VK_SHIFT});
    const wchar_t* backward[] = {L"b3", L"b2", L"r2", L"b1", L"b3"};
    for (const wchar_t* expected : backward) {
        Key(VK_TAB);
        EXPECT_STREQ(expected, Focused());
    }
    EXPECT_TRUE(W(L"r2")->TestChecked());
}

TEST_F(FocusNavTest, TabWithNothingFocusableLeavesTheFocusAlone)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:none"));
    Key(VK_TAB);
    EXPECT_EQ(0u, m_host->GetFocus());
    EXPECT_EQ(0, static_cast<RecWnd*>(W(L"a"))->Count(WM_KEYDOWN)); // consumed as navigation
}

TEST_F(FocusNavTest, ArrowsMoveInsideARadioGroupPassingOverDisabledMembers)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:nav"));
    W(L"r2")->TakeFocus();
    const std::pair<UINT, const wchar_t*> moves[] = {
        {VK_RIGHT, L"r3"}, {VK_DOWN, L"r1"}, {VK_LEFT, L"r3"}, {VK_UP, L"r2"}, {VK_RIGHT, L"r3"}};
    for (const auto& move : moves) {
        Key(move.first);
        EXPECT_STREQ(move.second, Focused());
        EXPECT_TRUE(W(move.second)->TestChecked()) << testing::PrintToString(std::wstring(move.second));
    }
    EXPECT_FALSE(W(L"r2")->TestChecked());
    W(L"r1")->EnableWindow(FALSE);
    Key(VK_RIGHT);
    EXPECT_STREQ(L"r2", Focused());

    // Outside a group the arrows are no navigation keys.
    W(L"b1")->TakeFocus();
    Key(VK_RIGHT);
    EXPECT_STREQ(L"b1", Focused());
}

TEST_F(FocusNavTest, CtrlTabAndAltLettersGoToTheAccelerators)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:nav"));
    RecTarget target;
    Manager()->RegisterAccelerator(CAccelerator(VK_TAB, true, false, false), &target);
    Manager()->RegisterAccelerator(CAccelerator('A', false, true, false), &target);
    W(L"b1")->TakeFocus();
    {
        HeldKeys ctrl({VK_CONTROL});
        Key(VK_TAB);
    }
    EXPECT_STREQ(L"b1", Focused());
    AltChar(L'a');
    ASSERT_EQ(2u, target.pressed.size());
    EXPECT_EQ(CAccelerator(VK_TAB, true, false, false).Packed(), target.pressed[0]);
    EXPECT_EQ(CAccelerator(65, false, true, false).Packed(), target.pressed[1]);
    Manager()->UnregisterAccelerators(&target);
}

// Of the two rules on which windows take the focus, the focus manager's holds: only enabled,
// focusable windows; asking for it elsewhere only takes it from the focused window.
TEST_F(FocusNavTest, OnlyEnabledFocusableWindowsTakeTheFocus)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:nav"));
    W(L"b1")->TakeFocus();
    EXPECT_STREQ(L"b1", Focused());
    W(L"plain")->TakeFocus();
    EXPECT_EQ(0u, m_host->GetFocus());
    m_host->SetFocusedWindow(W(L"off")->GetHandle());
    EXPECT_EQ(0u, m_host->GetFocus());
}

TEST_F(FocusNavTest, FocusChangesWhileInactiveApplyOnActivation)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:rec"));
    RecWnd* f1 = static_cast<RecWnd*>(W(L"f1"));
    RecWnd* f2 = static_cast<RecWnd*>(W(L"f2"));
    f1->TakeFocus();
    ::SendMessageW(m_hwnd, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(1, f1->Count(WM_KILLFOCUS));
    EXPECT_EQ(0u, m_host->GetFocus());
    f2->TakeFocus();
    EXPECT_EQ(0, f2->Count(WM_SETFOCUS));
    EXPECT_EQ(0u, m_host->GetFocus());
    // Deactivation arriving as well keeps what was saved.
    m_host->DispatchHostMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    ::SendMessageW(m_hwnd, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(f2->GetHandle(), m_host->GetFocus());
    EXPECT_EQ(1, f2->Count(WM_SETFOCUS));
    EXPECT_EQ(kFocusReasonRestore, Manager()->GetLastReason());
    EXPECT_EQ(1, f1->Count(WM_SETFOCUS)); // only before the deactivation

    // Saved with nothing focused: activation focuses nothing.
    f2->DropFocus();
    m_host->DispatchHostMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    m_host->DispatchHostMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(0u, m_host->GetFocus());
}

TEST_F(FocusNavTest, SpaceOnAFocusedButtonClicksIt)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:nav"));
    W(L"b1")->TakeFocus();
    Key(VK_SPACE);
    EXPECT_EQ(0, m_host->Count(EventCmd::EventID, L"b1"));
    KeyUp(VK_SPACE);
    EXPECT_EQ(1, m_host->Count(EventCmd::EventID, L"b1"));
}

TEST_F(FocusNavTest, AcceleratorsClickTheirButtonsUnlessHiddenOrDisabled)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:accel"));
    {
        HeldKeys ctrl({VK_CONTROL});
        Key('S');
    }
    EXPECT_EQ(1, m_host->Count(EventCmd::EventID, L"save"));
    AltChar(L'o');
    EXPECT_EQ(1, m_host->Count(EventCmd::EventID, L"open"));
    Key(VK_F2);
    Key(VK_F3);
    EXPECT_EQ(0, m_host->Count(EventCmd::EventID, L"hid"));
    EXPECT_EQ(0, m_host->Count(EventCmd::EventID, L"dis"));
    EXPECT_EQ(0u, static_cast<SButton*>(W(L"plain"))->GetAccelerator());
}

// A button holds one accelerator: the text's replaces the attribute's, and destroying the button
// takes its registration along.
TEST_F(FocusNavTest, ButtonKeepsOneAcceleratorAndDropsItWhenDestroyed)
{
    ASSERT_NE(nullptr, Open(L"LAYOUT:accel"));
    SButton* both = static_cast<SButton*>(W(L"both"));
    EXPECT_EQ(CAccelerator('B', false, true, false).Packed(), both->GetAccelerator());
    {
        HeldKeys ctrl({VK_CONTROL});
        Key('B');
    }
    EXPECT_EQ(0, m_host->Count(EventCmd::EventID, L"both"));
    AltChar(L'b');
    EXPECT_EQ(1, m_host->Count(EventCmd::EventID, L"both"));

    both->ApplyAttribute(SStringW(L"accel"), SStringW(L"F4"), FALSE);
    AltChar(L'b');
    Key(VK_F4);
    EXPECT_EQ(2, m_host->Count(EventCmd::EventID, L"both"));

    m_host->DestroyChild(both);
    EXPECT_FALSE(Manager()->ProcessAccelerator(CAccelerator(VK_F4, false, false, false)));
    EXPECT_FALSE(Manager()->ProcessAccelerator(CAccelerator('B', true, false, false)));
    EXPECT_FALSE(Manager()->ProcessAccelerator(CAccelerator('B', false, true, false)));
}

} // namespace
} // namespace hosttest
