// The drop-down window and the combos in real hosts: exit codes and the first reason winning,
// self-deletion, keys steered through the owner's loop, drop heights, opening upward near the
// monitor's bottom, selection events around the popup, typed text kept when no item is chosen,
// and the sound fallbacks of the combos.
#include "adapter_test_env.h"
#include "control/SComboBox.h"
#include "control/SComboView.h"
#include "core/SApp.h"
#include "host_ctrl_test_env.h"
#include "res.mgr/SSkinPoolMgr.h"

namespace hosttest {
namespace {

// A rectangle's edges, comparable and printable.
std::vector<LONG> Edges(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// An owner that records what its popup tells it.
struct PopupOwner : ISDropDownOwner {
    explicit PopupOwner(SWindow* window) : window(window) {}
    SWindow* OwnerWindow() override { return window; }
    void OnDropDownCreated(SDropDownWnd*) override { ++created; }
    void OnDropDownDestroyed(SDropDownWnd* popup) override
    {
        ++destroyed;
        if (endAgain)
            popup->EndPopup(kDropDownAccepted);
        exitCode = popup->GetExitCode();
        if (keep) {
            popup->AddRef();
            kept = popup;
        }
    }
    SWindow* window;
    int created = 0;
    int destroyed = 0;
    int exitCode = 0;
    bool endAgain = false;
    bool keep = false; // takes a reference to the popup as it ends
    SDropDownWnd* kept = nullptr;
};

class DropDownTest : public HostCtrlTest {
protected:
    HostDriver OpenAnchor()
    {
        return Open("<SKEIN width='200' height='100'><root colorBkgnd='#ffffff'>"
                    "<window name='anchor' pos='10,10,@100,@20'/></root></SKEIN>");
    }
    // A shown popup of owner at 300,300 holding the capture.
    static SDropDownWnd* Show(PopupOwner& owner)
    {
        SDropDownWnd* popup = new SDropDownWnd(&owner);
        EXPECT_TRUE(popup->CreatePopup(RECT{300, 300, 400, 400}, nullptr, WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
        ::SetWindowPos(popup->Handle(), nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        ::SetCapture(popup->Handle());
        return popup;
    }
};

TEST_F(DropDownTest, EndsWithTheFirstReasonAndDeletesItself)
{
    struct Case {
        const char* what;
        std::vector<MSG> messages; // hwnd null: to the popup
        bool throughLoop;          // the first message goes through the owner's loop filters
        bool endAgain;
        int exitCode;
    } cases[] = {
        {"enter", {{nullptr, WM_KEYDOWN, VK_RETURN, 0}}, false, false, kDropDownAccepted},
        {"escape", {{nullptr, WM_KEYDOWN, VK_ESCAPE, 0}}, false, false, kDropDownCancelled},
        {"activation then enter", {{nullptr, WM_ACTIVATEAPP, TRUE, 0}, {nullptr, WM_KEYDOWN, VK_RETURN, 0}}, false,
         false, kDropDownAccepted},
        {"application deactivated", {{nullptr, WM_ACTIVATEAPP, FALSE, 0}}, false, false, kDropDownCancelled},
        {"deactivation seen by the loop", {{reinterpret_cast<HWND>(1), WM_ACTIVATEAPP, FALSE, 0}}, true, false,
         kDropDownCancelled},
        {"focus lost", {{nullptr, WM_KILLFOCUS, 0, 0}}, false, false, kDropDownCancelled},
        {"press outside", {{nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, -5)}}, false, false,
         kDropDownCancelled},
        {"press inside, release outside",
         {{nullptr, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)}, {nullptr, WM_LBUTTONUP, 0, MAKELPARAM(150, 5)}},
         false, false, kDropDownCancelled},
        {"accept after cancel", {{nullptr, WM_KEYDOWN, VK_ESCAPE, 0}}, false, true, kDropDownCancelled},
    };
    HostDriver driver = OpenAnchor();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PopupOwner owner(driver.Child(L"anchor"));
        owner.endAgain = c.endAgain;
        SDropDownWnd* popup = Show(owner);
        SwndHandle handle = popup->GetHandle();
        HWND hwnd = popup->Handle();
        EXPECT_EQ(1, owner.created);
        for (size_t i = 0; i < c.messages.size(); ++i) {
            MSG msg = c.messages[i];
            if (i == 0 && c.throughLoop) {
                msg.hwnd = driver.Hwnd();
                EXPECT_FALSE(m_app->GetMainMessageLoop()->PreTranslateMessage(&msg));
            } else {
                ::SendMessageW(hwnd, msg.message, msg.wParam, msg.lParam);
            }
        }
        EXPECT_EQ(1, owner.destroyed);
        EXPECT_EQ(c.exitCode, owner.exitCode);
        EXPECT_FALSE(::IsWindow(hwnd));
        EXPECT_EQ(nullptr, SWindowMgr::GetWindow(handle));
    }
}

// Its last reference released while it is open (the window's own), the popup ends, tells its
// owner once and drops the reference its window took once: an owner that keeps it from the end
// on still holds a live popup.
TEST_F(DropDownTest, ReleasedWhileOpenItEndsAndDropsItsReferenceOnce)
{
    HostDriver driver = OpenAnchor();
    const long hosts = SHostWnd::LiveCount();
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "kept by the owner" : "not kept");
        PopupOwner owner(driver.Child(L"anchor"));
        owner.keep = keep;
        SDropDownWnd* popup = Show(owner);
        HWND hwnd = popup->Handle();
        popup->Release();
        EXPECT_FALSE(::IsWindow(hwnd));
        EXPECT_EQ(1, owner.destroyed);
        ASSERT_EQ(hosts + (keep ? 1 : 0), SHostWnd::LiveCount());
        if (keep) {
            EXPECT_EQ(kDropDownOpen, owner.kept->GetExitCode());
            owner.kept->Release();
            EXPECT_EQ(hosts, SHostWnd::LiveCount());
        }
    }
}

TEST_F(DropDownTest, PopupThatCannotBeCreatedTellsNobody)
{
    RecWnd loose; // no container: no parent for a child window
    PopupOwner owner(&loose);
    SDropDownWnd* popup = new SDropDownWnd(&owner);
    EXPECT_FALSE(popup->CreatePopup(RECT{0, 0, 10, 10}, nullptr, WS_CHILD, 0));
    EXPECT_EQ(0, owner.created);
    EXPECT_EQ(nullptr, popup->Handle());
    popup->Release();
    MSG move = {nullptr, WM_MOUSEMOVE, 0, 0};
    EXPECT_FALSE(m_app->GetMainMessageLoop()->PreTranslateMessage(&move)); // its filter is gone
}

// ---- combo box ----

std::string ComboLayout(const std::string& attributes, int items, const std::string& children = "")
{
    std::string rows;
    for (int i = 0; i < items; ++i)
        rows += "<item text='item " + std::to_string(i) + "'/>";
    return "<SKEIN width='200' height='80'><root colorBkgnd='#ffffff'><combobox name='combo' pos='10,10,@150,@30' "
           "animateTime='0' "
           + attributes + ">" + children + "<items>" + rows + "</items></combobox></root></SKEIN>";
}

class ComboBoxTest : public DropDownTest {
protected:
    SComboBox* OpenCombo(const std::string& attributes, int items, const std::string& children = "")
    {
        m_driver.reset(new HostDriver(Open(ComboLayout(attributes, items, children))));
        return m_driver->Find<SComboBox>(L"combo");
    }
    int SelChanges() const { return m_host->Count(EventCBSelChange::EventID, L"combo"); }
    // A key as the owner's loop sees it while the focus is in the main window.
    BOOL LoopKey(UINT vk)
    {
        MSG msg = {m_driver->Hwnd(), WM_KEYDOWN, vk, 1};
        return m_app->GetMainMessageLoop()->PreTranslateMessage(&msg);
    }
    // A key pressed and released on the host, which holds the keyboard focus.
    void TypeKey(UINT vk)
    {
        Deliver(m_driver->Hwnd(), WM_KEYDOWN, vk, 1);
        Deliver(m_driver->Hwnd(), WM_KEYUP, vk, 0xC0000001);
    }
    void TypeText(const std::wstring& text)
    {
        for (wchar_t ch : text)
            Deliver(m_driver->Hwnd(), WM_CHAR, ch, 1);
    }
    // A mouse message at a host point, delivered to the window holding the capture if any.
    void Mouse(UINT msg, WPARAM keys, POINT pt)
    {
        HWND host = m_driver->Hwnd();
        HWND target = ::GetCapture() ? ::GetCapture() : host;
        ::MapWindowPoints(host, target, &pt, 1);
        Deliver(target, msg, keys, MAKELPARAM(pt.x, pt.y));
    }
    void ClickAt(POINT pt)
    {
        Mouse(WM_MOUSEMOVE, 0, pt);
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, pt);
        Mouse(WM_LBUTTONUP, 0, pt);
    }
    void ClickDropButton(SComboBase* combo)
    {
        RECT button = combo->DropButtonRect();
        ClickAt(POINT{(button.left + button.right) / 2, (button.top + button.bottom) / 2});
    }
    static RECT PopupRect(SComboBox* combo)
    {
        RECT rect = {};
        ::GetWindowRect(combo->GetPopup()->Handle(), &rect);
        return rect;
    }

    std::unique_ptr<HostDriver> m_driver;
};

TEST_F(ComboBoxTest, InitialSelectionFiresOnceAndShowsTheText)
{
    SComboBox* combo = OpenCombo("curSel='2'", 3);
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(2, combo->GetCurSel());
    EXPECT_EQ(1, SelChanges());
    EXPECT_EQ(SStringW(L"item 2"), combo->QueryText());
    EXPECT_EQ(1, combo->FindString(SStringW(L"item 1")));
    EXPECT_EQ(-1, combo->FindString(SStringW(L"Item 1")));

    EXPECT_TRUE(combo->SetCurSel(-1));
    EXPECT_FALSE(combo->SetCurSel(-1));
    EXPECT_FALSE(combo->SetCurSel(3));
    EXPECT_EQ(2, SelChanges());
    EXPECT_EQ(SStringW(), combo->QueryText());
}

TEST_F(ComboBoxTest, DropHeightIsTheRowsCappedAtDropHeight)
{
    struct Case {
        int items;
        int height;
    } cases[] = {{3, 60}, {30, 200}, {0, 200}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.items);
        SComboBox* combo = OpenCombo("dropHeight='200'", c.items, "<listStyle itemHeight='20'/>");
        ASSERT_NE(nullptr, combo);
        EXPECT_EQ(c.height, combo->GetListBoxHeight());
    }
}

TEST_F(ComboBoxTest, OpensDownwardsOrUpwardsNearTheMonitorBottom)
{
    SComboBox* combo = OpenCombo("", 3, "<listStyle itemHeight='20'/>");
    ASSERT_NE(nullptr, combo);
    RECT screen = combo->GetWindowRect();
    ::MapWindowPoints(m_driver->Hwnd(), nullptr, reinterpret_cast<POINT*>(&screen), 2);
    combo->ShowDropDown();
    ASSERT_NE(nullptr, combo->GetPopup());
    EXPECT_EQ(2, combo->ButtonState());
    RECT rect = PopupRect(combo);
    EXPECT_EQ(Edges(RECT{screen.left, screen.bottom, screen.right, screen.bottom + 60}), Edges(rect));
    combo->CloseUp();
    EXPECT_EQ(nullptr, combo->GetPopup());
    EXPECT_EQ(0, combo->ButtonState());

    int bottom = ::GetSystemMetrics(SM_CYSCREEN);
    ::SetWindowPos(m_driver->Hwnd(), nullptr, 0, bottom - 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    screen = combo->GetWindowRect();
    ::MapWindowPoints(m_driver->Hwnd(), nullptr, reinterpret_cast<POINT*>(&screen), 2);
    combo->ShowDropDown();
    ASSERT_NE(nullptr, combo->GetPopup());
    rect = PopupRect(combo);
    EXPECT_EQ(Edges(RECT{screen.left, screen.top - 60, screen.right, screen.top}), Edges(rect));
    combo->CloseUp();
}

TEST_F(ComboBoxTest, SlidingPopupEndsShownAndHoldsTheCapture)
{
    SComboBox* combo = OpenCombo("animateTime='30'", 3);
    ASSERT_NE(nullptr, combo);
    combo->ShowDropDown();
    ASSERT_NE(nullptr, combo->GetPopup());
    HWND popup = combo->GetPopup()->Handle();
    EXPECT_TRUE(::IsWindowVisible(popup));
    EXPECT_EQ(popup, ::GetCapture());
    combo->ShowDropDown(); // open already: nothing
    EXPECT_EQ(popup, combo->GetPopup()->Handle());
    combo->SendUiMessage(WM_KILLFOCUS);
    EXPECT_EQ(nullptr, combo->GetPopup());
    EXPECT_NE(popup, ::GetCapture());
}

TEST_F(ComboBoxTest, KeysSteerTheListAndEnterReportsTheChoiceAgain)
{
    SComboBox* combo = OpenCombo("curSel='0'", 3);
    ASSERT_NE(nullptr, combo);
    combo->ShowDropDown();
    ASSERT_NE(nullptr, combo->GetPopup());
    EXPECT_EQ(combo->GetPopup(), static_cast<SWindow*>(combo->GetListBox()->GetParentWindow()));
    EXPECT_TRUE(LoopKey(VK_DOWN));
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ(2, SelChanges());
    EXPECT_FALSE(LoopKey(VK_LEFT)); // other keys reach the main window
    EXPECT_TRUE(LoopKey(VK_RETURN));
    EXPECT_EQ(nullptr, combo->GetPopup());
    EXPECT_EQ(3, SelChanges());
    EXPECT_EQ(nullptr, combo->GetListBox()->GetParentWindow());

    combo->ShowDropDown();
    EXPECT_TRUE(LoopKey(VK_DOWN));
    EXPECT_TRUE(LoopKey(VK_ESCAPE));
    EXPECT_EQ(nullptr, combo->GetPopup());
    EXPECT_EQ(2, combo->GetCurSel());
    EXPECT_EQ(4, SelChanges()); // the step only
}

TEST_F(ComboBoxTest, ClickOnARowSelectsItAndCloses)
{
    SComboBox* combo = OpenCombo("", 3, "<listStyle itemHeight='20'/>");
    ASSERT_NE(nullptr, combo);
    combo->ShowDropDown();
    ASSERT_NE(nullptr, combo->GetPopup());
    HWND popup = combo->GetPopup()->Handle();
    ::SendMessageW(popup, WM_MOUSEMOVE, 0, MAKELPARAM(20, 30));
    ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 30));
    EXPECT_EQ(-1, combo->GetCurSel()); // the drop list tracks the mouse: release selects
    ::SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(20, 30));
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ(1, SelChanges());
    EXPECT_EQ(nullptr, combo->GetPopup());
    EXPECT_FALSE(::IsWindow(popup));
}

TEST_F(ComboBoxTest, FallbacksForAMissingSkinAndAForeignListClass)
{
    SComboBox* combo = OpenCombo("btnSkin='no.such.skin' autoFitDropBtn='0'", 2, "<listStyle wndclass='text'/>");
    ASSERT_NE(nullptr, combo);
    ISkinObj* builtIn = SSkinPoolMgr::Instance()->FindSystemSkin(kSysSkinDropBtn, 100);
    ASSERT_NE(nullptr, builtIn);
    EXPECT_EQ(builtIn, combo->ButtonSkin());
    SIZE skin = builtIn->GetSkinSize();
    RECT button = combo->DropButtonRect();
    EXPECT_EQ(30 * skin.cx / skin.cy, button.right - button.left);
    EXPECT_EQ(30, button.bottom - button.top);
    ASSERT_NE(nullptr, combo->GetListBox());
    EXPECT_TRUE(combo->GetListBox()->MatchesClassName(L"listbox"));
    EXPECT_EQ(2, combo->GetCount());
}

TEST_F(ComboBoxTest, EditableComboClearsTheSelectionWhenItsTextIsSet)
{
    SComboBox* combo = OpenCombo("dropDown='0' curSel='1'", 3);
    ASSERT_NE(nullptr, combo);
    ASSERT_NE(nullptr, combo->GetEdit());
    EXPECT_EQ(kComboEditId, combo->GetEdit()->GetId());
    EXPECT_EQ(SStringW(L"item 1"), combo->QueryText());
    EXPECT_FALSE(combo->IsFocusable());
    combo->AssignText(SStringW(L"typed"));
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_EQ(SStringW(L"typed"), combo->QueryText());
    combo->SetCurSel(2);
    EXPECT_EQ(SStringW(L"item 2"), combo->GetEdit()->QueryText());
    EXPECT_EQ(2, combo->GetCurSel()); // the edit's own change notice did not clear it
}

TEST_F(ComboBoxTest, TypingIntoAnEditableComboClearsTheSelectionAndArrowsPickAgain)
{
    SComboBox* combo = OpenCombo("dropDown='0' curSel='1'", 3);
    ASSERT_NE(nullptr, combo);
    SComboEdit* edit = combo->GetEdit();
    ASSERT_NE(nullptr, edit);
    m_driver->Click(m_driver->Centre(L"combo")); // into the edit, which takes the focus
    EXPECT_TRUE(edit->HoldsFocus());
    EXPECT_EQ(nullptr, combo->GetPopup());
    int changes = SelChanges();
    m_driver->Key(VK_END);
    for (wchar_t ch : std::wstring(L"x!"))
        m_driver->Send(WM_CHAR, ch, 1);
    EXPECT_EQ(SStringW(L"item 1x!"), combo->QueryText());
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_EQ(changes + 1, SelChanges()); // cleared once, not again per character
    EXPECT_GE(m_host->Count(EventRENotify::EventID, L"combo"), 2);

    // Down in the edit steps the combo's selection and writes the item into the edit.
    m_driver->Key(VK_DOWN);
    EXPECT_EQ(0, combo->GetCurSel());
    EXPECT_EQ(SStringW(L"item 0"), combo->QueryText());
    EXPECT_TRUE(edit->HoldsFocus());
}

TEST_F(ComboBoxTest, LeavingTheDroppedListKeepsTypedTextUnlessAnItemIsChosen)
{
    struct Case {
        const char* what;
        int hoverRow;           // -1: the mouse stays off the dropped list
        std::vector<UINT> keys; // then, with the list dropped
        const wchar_t* text;
        int selection;
        int reports; // selection changes after the typing
    } cases[] = {
        {"enter with no item chosen", -1, {VK_RETURN}, L"item 1x!", -1, 1},
        {"escape", -1, {VK_ESCAPE}, L"item 1x!", -1, 0},
        {"down with no row to step from, then enter", -1, {VK_DOWN, VK_RETURN}, L"item 1x!", -1, 1},
        {"down from the row under the mouse, then enter", 0, {VK_DOWN, VK_RETURN}, L"item 1", 1, 2},
        {"down from the row under the mouse, then escape", 1, {VK_DOWN, VK_ESCAPE}, L"item 2", 2, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SComboBox* combo = OpenCombo("dropDown='0' curSel='1'", 3, "<listStyle itemHeight='20'/>");
        ASSERT_NE(nullptr, combo);
        ClickAt(m_driver->Centre(L"combo")); // into the edit
        ASSERT_TRUE(combo->GetEdit()->HoldsFocus());
        TypeKey(VK_END);
        TypeText(L"x!");
        ASSERT_STREQ(L"item 1x!", combo->QueryText().c_str());
        ASSERT_EQ(-1, combo->GetCurSel());
        int typed = SelChanges();

        ClickDropButton(combo);
        ASSERT_NE(nullptr, combo->GetPopup());
        HWND popup = combo->GetPopup()->Handle();
        if (c.hoverRow >= 0)
            Deliver(popup, WM_MOUSEMOVE, 0, MAKELPARAM(20, c.hoverRow * 20 + 10));
        for (UINT vk : c.keys)
            TypeKey(vk);
        EXPECT_FALSE(::IsWindow(popup));
        EXPECT_EQ(nullptr, combo->GetPopup());
        EXPECT_STREQ(c.text, combo->QueryText().c_str());
        EXPECT_EQ(c.selection, combo->GetCurSel());
        EXPECT_EQ(typed + c.reports, SelChanges());
        EXPECT_TRUE(combo->GetEdit()->HoldsFocus());
    }
}

// ---- combo view ----

class ComboViewTest : public ComboBoxTest {
protected:
    SComboView* OpenView(const std::string& listStyle, int items, const std::string& attributes = "")
    {
        m_driver.reset(new HostDriver(Open("<SKEIN width='200' height='80'><root colorBkgnd='#ffffff'>"
                                           "<comboview name='cv' pos='10,10,@150,@30' animateTime='0' "
                                           "dropHeight='200' "
                                           + attributes + ">" + listStyle + "</comboview></root></SKEIN>")));
        SComboView* view = m_driver->Find<SComboView>(L"cv");
        if (view && items >= 0) {
            m_adapter.Attach(new adaptertest::RecordingListAdapter(items));
            view->GetListView()->SetAdapter(m_adapter);
        }
        return view;
    }
    SRefPtr<adaptertest::RecordingListAdapter> m_adapter;
};

TEST_F(ComboViewTest, DropHeightFromTheLocatorAndZeroWithoutATemplate)
{
    struct Case {
        const char* what;
        const char* listStyle;
        int items; // -1: no adapter
        int height;
    } cases[] = {
        {"rows of a template", "<listStyle><template itemHeight='20'><text pos='0,0,-0,-0'/></template></listStyle>", 5,
         100},
        {"many rows", "<listStyle><template itemHeight='20'><text pos='0,0,-0,-0'/></template></listStyle>", 50, 200},
        {"no template", "<listStyle/>", 5, 0},
        {"no adapter", "<listStyle/>", -1, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SComboView* view = OpenView(c.listStyle, c.items);
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(c.height, view->GetListBoxHeight());
    }
}

TEST_F(ComboViewTest, SelectingPastTheItemsOrWithoutAnAdapterIsRefused)
{
    SComboView* view = OpenView("<listStyle/>", -1);
    ASSERT_NE(nullptr, view);
    for (int index : {-1, 0, 2})
        EXPECT_FALSE(view->SetCurSel(index)) << index;
    m_adapter.Attach(new adaptertest::RecordingListAdapter(3));
    view->GetListView()->SetAdapter(m_adapter);
    EXPECT_FALSE(view->SetCurSel(3));
    EXPECT_FALSE(view->SetCurSel(100));
    EXPECT_EQ(0, m_host->Count(EventCBSelChange::EventID, L"cv"));
    EXPECT_TRUE(view->SetCurSel(2));
    EXPECT_FALSE(view->SetCurSel(3));
    EXPECT_EQ(2, view->GetCurSel());
    EXPECT_TRUE(view->SetCurSel(-5)); // any negative index clears
    EXPECT_EQ(-1, view->GetCurSel());
    EXPECT_EQ(2, m_host->Count(EventCBSelChange::EventID, L"cv"));
}

TEST_F(ComboViewTest, ClickOnADroppedRowSelectsItAndCloses)
{
    SComboView* view = OpenView("<listStyle><template itemHeight='20'><text pos='0,0,-0,-0'/></template></listStyle>", 5);
    ASSERT_NE(nullptr, view);
    m_driver->Click(m_driver->Centre(L"cv"));
    ASSERT_NE(nullptr, view->GetPopup());
    HWND popup = view->GetPopup()->Handle();
    RECT rect = {};
    ::GetClientRect(popup, &rect);
    EXPECT_EQ(100, rect.bottom);
    ::SendMessageW(popup, WM_MOUSEMOVE, 0, MAKELPARAM(20, 50));
    ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 50));
    ::SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(20, 50));
    EXPECT_EQ(2, view->GetCurSel());
    EXPECT_EQ(SStringW(L"2"), view->QueryText());
    EXPECT_EQ(nullptr, view->GetPopup());
    EXPECT_FALSE(::IsWindow(popup));
    EXPECT_EQ(1, m_host->Count(EventCBSelChange::EventID, L"cv"));
}

TEST_F(ComboViewTest, SelectionAndTextFollowTheAdapter)
{
    SComboView* view = OpenView("<listStyle wndclass='listbox'/>", 4);
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(view->GetListView()->MatchesClassName(L"listview"));
    EXPECT_EQ(4, view->GetCount());
    EXPECT_EQ(SStringW(), view->QueryText());
    EXPECT_FALSE(view->SetCurSel(-1));
    EXPECT_TRUE(view->SetCurSel(3));
    EXPECT_FALSE(view->SetCurSel(3));
    EXPECT_EQ(SStringW(L"3"), view->QueryText());
    EXPECT_EQ(SStringW(L"3"), view->GetItemText(3, true));
    EXPECT_TRUE(view->SetCurSel(-1));
    EXPECT_EQ(2, m_host->Count(EventCBSelChange::EventID, L"cv"));
}

TEST_F(ComboViewTest, EnterWithNoRowChosenKeepsTypedText)
{
    const char* listStyle = "<listStyle><template itemHeight='20'><text pos='0,0,-0,-0'/></template></listStyle>";
    SComboView* view = OpenView(listStyle, 3, "dropDown='0'");
    ASSERT_NE(nullptr, view);
    ClickAt(m_driver->Centre(L"cv")); // into the edit
    TypeText(L"abc");
    ClickDropButton(view);
    ASSERT_NE(nullptr, view->GetPopup());
    TypeKey(VK_RETURN);
    EXPECT_EQ(nullptr, view->GetPopup());
    EXPECT_STREQ(L"abc", view->QueryText().c_str());
    EXPECT_EQ(-1, view->GetCurSel());
    EXPECT_EQ(1, m_host->Count(EventCBSelChange::EventID, L"cv")); // Enter reports, as with a chosen row
}

TEST_F(ComboViewTest, KeyStepsInTheDroppedListAreReportedOnce)
{
    const char* listStyle = "<listStyle><template itemHeight='20'><text pos='0,0,-0,-0'/></template></listStyle>";
    for (const char* attributes : {"", "dropDown='0'"}) {
        SCOPED_TRACE(attributes);
        SComboView* view = OpenView(listStyle, 3, attributes);
        ASSERT_NE(nullptr, view);
        auto reports = [this] { return m_host->Count(EventCBSelChange::EventID, L"cv"); };
        ClickDropButton(view);
        ASSERT_NE(nullptr, view->GetPopup());
        TypeKey(VK_DOWN);
        EXPECT_EQ(0, view->GetCurSel());
        EXPECT_STREQ(L"0", view->QueryText().c_str());
        EXPECT_EQ(1, reports());
        TypeKey(VK_DOWN);
        EXPECT_EQ(2, reports());
        TypeKey(VK_ESCAPE);
        EXPECT_EQ(nullptr, view->GetPopup());
        EXPECT_EQ(1, view->GetCurSel());
        EXPECT_STREQ(L"1", view->QueryText().c_str());
        EXPECT_EQ(2, reports());

        ClickDropButton(view);
        ASSERT_NE(nullptr, view->GetPopup());
        TypeKey(VK_UP);
        TypeKey(VK_UP); // at the first row already: no step
        EXPECT_EQ(0, view->GetCurSel());
        EXPECT_EQ(3, reports());
        ClickAt(POINT{190, 5}); // away from the combo and its list
        EXPECT_EQ(nullptr, view->GetPopup());
        EXPECT_EQ(3, reports());
    }
}

TEST_F(ComboViewTest, DropDownsOpenedAndClosedTwentyTimesLeaveNothingBehind)
{
    const char* listStyle = "<listStyle><template itemHeight='20'><text pos='0,0,-0,-0'/></template></listStyle>";
    const std::vector<UINT> kWays[] = {{VK_ESCAPE}, {VK_DOWN, VK_RETURN}, {VK_DOWN, VK_DOWN, VK_ESCAPE}, {}};
    for (bool view : {false, true}) {
        SCOPED_TRACE(view ? "combo view" : "combo box");
        SComboBase* combo = view ? static_cast<SComboBase*>(OpenView(listStyle, 3, "dropDown='0'"))
                                 : OpenCombo("dropDown='0'", 3);
        ASSERT_NE(nullptr, combo);
        const int windows = ThreadWindowCount();
        const long hosts = SHostWnd::LiveCount();
        for (int round = 1; round <= 20; ++round) {
            for (const std::vector<UINT>& keys : kWays) {
                ClickDropButton(combo);
                ASSERT_NE(nullptr, combo->GetPopup()) << round;
                for (UINT key : keys)
                    TypeKey(key);
                if (keys.empty())
                    ClickAt(POINT{190, 5}); // away from the combo and its list
                ASSERT_EQ(nullptr, combo->GetPopup()) << round;
            }
            ASSERT_EQ(windows, ThreadWindowCount()) << "round " << round;
            ASSERT_EQ(hosts, SHostWnd::LiveCount()) << "round " << round;
        }
    }
}

// The last row chosen, then the adapter drops to two items while the combo is closed: nothing
// is chosen any more, and the combo shows no text of an item that is gone.
TEST_F(ComboViewTest, ItemsGoneWhileClosedTakeTheChosenRowWithThem)
{
    SComboView* view = OpenView("<listStyle><template itemHeight='20'><text pos='0,0,-0,-0'/></template></listStyle>", 5);
    ASSERT_NE(nullptr, view);
    m_driver->Click(m_driver->Centre(L"cv"));
    ASSERT_NE(nullptr, view->GetPopup());
    HWND popup = view->GetPopup()->Handle();
    ::SendMessageW(popup, WM_MOUSEMOVE, 0, MAKELPARAM(20, 90));
    ::SendMessageW(popup, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 90));
    ::SendMessageW(popup, WM_LBUTTONUP, 0, MAKELPARAM(20, 90));
    ASSERT_EQ(4, view->GetCurSel());
    m_adapter->count = 2;
    m_adapter->NotifyChanged();
    EXPECT_EQ(-1, view->GetCurSel());
    EXPECT_EQ(SStringW(), view->QueryText());
    m_adapter->count = 5;
    m_adapter->NotifyChanged();
    m_driver->Click(m_driver->Centre(L"cv"));
    ASSERT_NE(nullptr, view->GetPopup());
    EXPECT_EQ(-1, view->GetListView()->GetSelection());
}

// A list taller than the room below and above the combo opens on the side with more room, cut
// to it; a combo partly left of the monitor opens its list on the monitor.
TEST_F(ComboBoxTest, AListThatFitsNeitherWayStaysOnTheMonitor)
{
    SComboBox* combo = OpenCombo("dropHeight='3000'", 200, "<listStyle itemHeight='20'/>");
    ASSERT_NE(nullptr, combo);
    MONITORINFO info = {sizeof(info)};
    ::GetMonitorInfoW(::MonitorFromWindow(m_driver->Hwnd(), MONITOR_DEFAULTTOPRIMARY), &info);
    const RECT& monitor = info.rcMonitor;
    const struct {
        int x;
        int y;
        bool down;
    } cases[] = {{100, (monitor.bottom - monitor.top) * 2 / 5, true}, {-60, (monitor.bottom - monitor.top) * 3 / 5, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.y);
        ::SetWindowPos(m_driver->Hwnd(), nullptr, c.x, c.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT screen = combo->GetWindowRect();
        ::MapWindowPoints(m_driver->Hwnd(), nullptr, reinterpret_cast<POINT*>(&screen), 2);
        combo->ShowDropDown();
        ASSERT_NE(nullptr, combo->GetPopup());
        RECT rect = PopupRect(combo);
        LONG left = std::max(screen.left, monitor.left);
        RECT expected = c.down ? RECT{left, screen.bottom, left + 150, monitor.bottom}
                               : RECT{left, monitor.top, left + 150, screen.top};
        EXPECT_EQ(Edges(expected), Edges(rect));
        RECT list = combo->GetListBox()->GetWindowRect();
        EXPECT_LE(list.bottom, rect.bottom - rect.top); // the list scrolls within it
        combo->CloseUp();
    }
}

} // namespace
} // namespace hosttest
