// The rich edit's context menu in a real host: commands are grayed by the text's state, the
// chosen command is raised as an event and then carried out.
#include "ctrl_text_test_env.h"

namespace hosttest {
namespace {

UINT Bit(UINT command)
{
    return 1u << command;
}

// The grayed commands of every menu shown on this thread, as Bit() masks.
std::vector<UINT> g_grayed;

LRESULT CALLBACK RecordMenuStates(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITMENUPOPUP) {
        HMENU menu = reinterpret_cast<HMENU>(call->wParam);
        UINT grayed = 0;
        for (UINT command = kEditMenuCut; command <= kEditMenuSelectAll; ++command) {
            if (::GetMenuState(menu, command, MF_BYCOMMAND) & MF_GRAYED)
                grayed |= Bit(command);
        }
        g_grayed.push_back(grayed);
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

struct MenuRecorder {
    bool OnMenu(EventREMenu* evt)
    {
        chosen.push_back(evt->command);
        return false;
    }
    std::vector<UINT> chosen;
};

class RichEditMenuTest : public TextCtrlTest {
protected:
    void SetUp() override
    {
        TextCtrlTest::SetUp();
        g_grayed.clear();
        m_hook = ::SetWindowsHookExW(WH_CALLWNDPROC, RecordMenuStates, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override
    {
        ::UnhookWindowsHookEx(m_hook);
        TextCtrlTest::TearDown();
    }
    HHOOK m_hook = nullptr;
};

TEST_F(RichEditMenuTest, CommandsAreGrayedByStateAndTheChosenOneIsCarriedOut)
{
    const UINT kEditing = Bit(kEditMenuCut) | Bit(kEditMenuDelete);
    struct Case {
        const char* attributes;
        const char* text;
        DWORD selStart;
        DWORD selEnd;
        UINT key;
        UINT grayed; // paste aside, which follows the clipboard
        UINT chosen;
        const wchar_t* after;
    } const kCases[] = {
        {"readOnly='1'", "Hello", 0, 2, VK_ESCAPE, kEditing, 0, L"Hello"},
        {"", "Hello", 1, 1, 'A', kEditing | Bit(kEditMenuCopy), kEditMenuSelectAll, L"Hello"},
        {"", "Hello", 0, 2, 'D', 0, kEditMenuDelete, L"llo"},
        {"", "", 0, 0, VK_ESCAPE, kEditing | Bit(kEditMenuCopy) | Bit(kEditMenuSelectAll), 0, L""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.attributes) + " " + c.text);
        g_grayed.clear();
        HostDriver driver = Open(Layout(std::string("<richedit name='re' pos='10,10,@300,@40' ") + c.attributes + ">"
                                        + c.text + "</richedit>"));
        SRichEdit* edit = driver.Find<SRichEdit>(L"re");
        ASSERT_TRUE(edit && edit->TextServices());
        MenuRecorder recorder;
        edit->GetEventSet()->AddSubscriber(EventREMenu::EventID, Subscriber(&MenuRecorder::OnMenu, &recorder));
        edit->TakeFocus();
        edit->SendUiMessage(EM_SETSEL, c.selStart, c.selEnd);

        driver.Post(WM_KEYDOWN, c.key, 1);
        driver.Post(WM_KEYUP, c.key, 0xC0000001);
        POINT pt = driver.Centre(L"re");
        driver.Move(pt);
        driver.Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));

        ASSERT_FALSE(g_grayed.empty()); // the drawer window passes the notification on to the host
        EXPECT_EQ(c.grayed, g_grayed[0] & ~Bit(kEditMenuPaste));
        if (edit->EditStyle() & ES_READONLY) {
            EXPECT_TRUE(g_grayed[0] & Bit(kEditMenuPaste));
        }
        EXPECT_EQ(std::vector<UINT>{c.chosen}, recorder.chosen);
        EXPECT_EQ(c.after, TextOf(edit));
        if (c.chosen == kEditMenuSelectAll) {
            EXPECT_EQ(0u, Selection(edit).first);
            EXPECT_GE(Selection(edit).second, 5u);
        }
        m_host->DestroyHost();
    }
}

} // namespace
} // namespace hosttest
