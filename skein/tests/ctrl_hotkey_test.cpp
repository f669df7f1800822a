// The hot-key control in a real host: key combinations typed with the modifier keys held,
// invalid combinations replaced by the default one, the change events, Tab, and the caret.
#include <set>
#include "control/SHotKeyCtrl.h"
#include "host_ctrl_test_env.h"

namespace hosttest {
namespace {

// A key message and the keys held while the control handles it.
struct KeyStep {
    UINT msg;
    UINT vk;
};

const KeyStep Down(UINT vk)
{
    return KeyStep{WM_KEYDOWN, vk};
}
const KeyStep Up(UINT vk)
{
    return KeyStep{WM_KEYUP, vk};
}

class HotKeyTest : public HostCtrlTest {
protected:
    HostDriver OpenHotKey(const std::string& attributes)
    {
        HostDriver driver = Open("<SKEIN width='200' height='80'><root colorBkgnd='#ffffff'>"
                                 "<hotkey name='hk' pos='10,10,@150,@24' "
                                 + attributes + "/><button name='next' pos='10,44,@60,@24'/></root></SKEIN>");
        driver.Click(L"hk");
        return driver;
    }

    // Sends each message with the keyboard state the system would show at that moment.
    void Play(HostDriver& driver, std::initializer_list<KeyStep> steps)
    {
        for (const KeyStep& step : steps) {
            bool down = step.msg == WM_KEYDOWN || step.msg == WM_SYSKEYDOWN;
            if (down)
                m_held.insert(step.vk);
            else
                m_held.erase(step.vk);
            BYTE state[256] = {};
            for (UINT vk : m_held)
                state[vk] = 0x80;
            ::SetKeyboardState(state);
            driver.Send(step.msg, step.vk, down ? 1 : 0xC0000001);
        }
    }
    void TearDown() override
    {
        BYTE state[256] = {};
        ::SetKeyboardState(state);
        HostCtrlTest::TearDown();
    }

    std::set<UINT> m_held;
};

TEST_F(HotKeyTest, CombinationsTypedWithModifiersHeld)
{
    struct Case {
        const char* what;
        const char* attributes;
        std::initializer_list<KeyStep> steps;
        const wchar_t* text;
        WORD key;
        WORD modifiers;
        int events;
    } cases[] = {
        {"ctrl, shift, F5", "", {Down(VK_CONTROL), Down(VK_SHIFT), Down(VK_F5), Up(VK_F5)}, L"Ctrl+Shift+F5", VK_F5, 6,
         3},
        {"F5 alone", "", {Down(VK_F5), Up(VK_F5)}, L"F5", VK_F5, 0, 1},
        {"no modifiers is invalid: the default", "invalidComb='1' defCombKey='2'", {Down(VK_F5), Up(VK_F5)},
         L"Ctrl+F5", VK_F5, 2, 1},
        {"ctrl pressed and released alone", "", {Down(VK_CONTROL), Up(VK_CONTROL)}, L"无", 0, 0, 2},
        {"alt through the system keys", "",
         {{WM_SYSKEYDOWN, VK_MENU}, {WM_SYSKEYDOWN, VK_F5}, {WM_SYSKEYUP, VK_F5}}, L"Alt+F5", VK_F5, 1, 2},
        {"keys without a name never become the key", "", {Down(VK_SHIFT), Down(VK_F13), Up(VK_F13), Up(VK_SHIFT)},
         L"无", 0, 0, 3},
    };
    for (const Case& c : cases) {
        HostDriver driver = OpenHotKey(c.attributes);
        SHotKeyCtrl* hotKey = driver.Find<SHotKeyCtrl>(L"hk");
        ASSERT_TRUE(hotKey->HoldsFocus()) << c.what;
        Play(driver, c.steps);
        EXPECT_STREQ(c.text, hotKey->QueryText().c_str()) << c.what;
        EXPECT_EQ(c.key, hotKey->GetKey()) << c.what;
        EXPECT_EQ(c.modifiers, hotKey->GetModifier()) << c.what;
        EXPECT_EQ(c.events, driver.Host().Count(EventSetHotKey::EventID)) << c.what;
        EXPECT_FALSE(hotKey->IsCapturing()) << c.what;
        m_held.clear();
    }
}

TEST_F(HotKeyTest, TabStillMovesTheFocusAway)
{
    HostDriver driver = OpenHotKey("hotKey='0x74' combKey='2'");
    SHotKeyCtrl* hotKey = driver.Find<SHotKeyCtrl>(L"hk");
    EXPECT_STREQ(L"Ctrl+F5", hotKey->QueryText().c_str());
    Play(driver, {Down(VK_TAB), Up(VK_TAB)});
    EXPECT_TRUE(driver.Child(L"next")->HoldsFocus());
    EXPECT_STREQ(L"Ctrl+F5", hotKey->QueryText().c_str());
    EXPECT_EQ(0, driver.Host().Count(EventSetHotKey::EventID));
}

TEST_F(HotKeyTest, TheCaretFollowsTheText)
{
    HostDriver driver = OpenHotKey("");
    RECT rect = driver.RectOf(L"hk");
    POINT empty = {};
    ::GetCaretPos(&empty);
    Play(driver, {Down(VK_F5), Up(VK_F5)});
    POINT shortText = {};
    ::GetCaretPos(&shortText);
    Play(driver, {Down(VK_CONTROL), Down(VK_SHIFT), Down(VK_F5), Up(VK_F5)});
    POINT longText = {};
    ::GetCaretPos(&longText);
    EXPECT_GT(shortText.x, rect.left);
    EXPECT_GT(longText.x, shortText.x);
    EXPECT_LT(longText.x, rect.right);
    EXPECT_GE(longText.y, rect.top);
    EXPECT_LT(longText.y, rect.top + 12);
    EXPECT_GT(empty.x, rect.left); // after "无"
}

} // namespace
} // namespace hosttest
