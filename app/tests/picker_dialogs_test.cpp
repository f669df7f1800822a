// The key and mouse pickers: their click rules as tables, their layouts from the program's
// archive (every key once, nothing overlapping), and real modal runs driven by mouse and
// keyboard messages: a pick ends with its value, Escape, the close button and closing the
// window cancel, Enter picks nothing. Also the pictures of both for the documentation.
#include <functional>
#include <map>
#include <set>
#include "dialogs/SKeyboad.h"
#include "dialogs/SMouseDialog.h"
#include "host_ctrl_test_env.h"
#include "shell_test_env.h"
#include "texts/KeyboardTable.h"

namespace {

using namespace SKEIN;
using shelltest::TestFolder;

TEST(PickerRules, KeyboardKeyIdsChooseTheirTableEntryAndAnythingElseCancels)
{
    const struct {
        const wchar_t* name;
        int id;
        PickerOutcome outcome;
    } cases[] = {
        {L"kbhuanhao", 1, {kPickerChosen, 0x35}}, {L"kb1", 2, {kPickerChosen, 0x1E}},
        {L"kbE", 18, {kPickerChosen, 0x08}},      {L"Enterx", 101, {kPickerChosen, 0x58}},
        {L"kb_xiaodian", 103, {kPickerChosen, 0x63}}, {nullptr, 51, {kPickerChosen, 0x38}},
        {L"~", 5, {kPickerCancelled, 0}},         {L"bkcose", 0, {kPickerCancelled, 0}},
        {L"bkcose", 65600, {kPickerCancelled, 0}}, {L"x", 104, {kPickerCancelled, 0}},
        {L"x", -1, {kPickerCancelled, 0}},
    };
    for (const auto& c : cases) {
        PickerOutcome outcome = KeyboardPick(c.name, c.id);
        EXPECT_EQ(c.outcome.result, outcome.result) << c.id;
        EXPECT_EQ(c.outcome.value, outcome.value) << c.id;
    }
}

TEST(PickerRules, MouseIdsAreTheValuesOfferedAndAnythingElseCancels)
{
    for (int id : {1, 2, 3, 4, 5, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26}) {
        PickerOutcome outcome = MousePick(L"msdlg_any", id);
        EXPECT_EQ(kPickerChosen, outcome.result) << id;
        EXPECT_EQ(id, outcome.value) << id;
    }
    // The close button (no id of its own), values the dialog does not offer, the cancel name.
    for (int id : {0, -1, 6, 8, 0x20, 0x27, 65663}) {
        PickerOutcome outcome = MousePick(L"msdlg_close", id);
        EXPECT_EQ(kPickerCancelled, outcome.result) << id;
        EXPECT_EQ(0, outcome.value) << id;
    }
    EXPECT_EQ(kPickerCancelled, MousePick(L"\x7F", 1).result);
}

// Message that runs a dialog's script.
const UINT kRunScript = WM_APP + 7;
const int kTimedOut = -1;
// Ends a dialog from its script, after the script looked at it.
const int kEndedByScript = -2;

// A picker that runs onInit after its own initialisation and onScript on kRunScript.
template <class Dialog>
class Scripted : public Dialog {
public:
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override
    {
        if (mapId == 0 && msg == kRunScript) {
            if (onScript)
                onScript();
            return TRUE;
        }
        BOOL handled = Dialog::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
        if (mapId == 0 && msg == WM_INITDIALOG && onInit)
            onInit();
        return handled;
    }
    void Post(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { ::PostMessageW(this->m_hwnd, msg, wParam, lParam); }
    // The mouse pressed and released at the middle of a named window.
    void PostClick(const wchar_t* name)
    {
        SWindow* window = this->LookupChildByName(SStringW(name));
        ASSERT_NE(nullptr, window) << name;
        RECT rect = window->GetWindowRect();
        LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        Post(WM_MOUSEMOVE, 0, point);
        Post(WM_LBUTTONDOWN, MK_LBUTTON, point);
        Post(WM_LBUTTONUP, 0, point);
    }

    std::function<void()> onInit;
    std::function<void()> onScript;
};

SHostDialog* g_running = nullptr;

void CALLBACK EndStuckDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_running)
        g_running->EndModal(kTimedOut);
}

class PickerDialog : public ::testing::Test {
protected:
    void SetUp() override { m_startup.reset(new CCorvaneStartup(::GetModuleHandleW(nullptr))); }
    void TearDown() override { m_startup.reset(); }

    // RunModal, ended after 5 s when the script did not end it.
    static int Run(SHostDialog& dialog)
    {
        g_running = &dialog;
        UINT_PTR guard = ::SetTimer(nullptr, 0, 5000, EndStuckDialog);
        int result = dialog.RunModal(nullptr);
        ::KillTimer(nullptr, guard);
        g_running = nullptr;
        return result;
    }

    std::unique_ptr<CCorvaneStartup> m_startup;
};

// Each key button once, with the id of its table entry, on the keyboard below the caption, and
// no two keys overlapping.
TEST_F(PickerDialog, KeyboardHasEveryKeyOnceInsideTheDialogWithoutOverlaps)
{
    Scripted<SKeyboad> keyboard;
    std::vector<RECT> keys;
    std::set<int> ids;
    RECT client = {};
    keyboard.onInit = [&] {
        ::GetClientRect(keyboard.Handle(), &client);
        for (int id = 1; id <= KeyCount(); ++id) {
            SWindow* key = keyboard.LookupChildById(id);
            ASSERT_NE(nullptr, key) << id;
            EXPECT_TRUE(key->MatchesClassName(L"mybutton")) << id;
            ids.insert(key->GetId());
            keys.push_back(key->GetWindowRect());
        }
        keyboard.EndModal(kPickerCancelled);
    };
    ASSERT_EQ(kPickerCancelled, Run(keyboard));
    EXPECT_EQ(776, client.right);
    EXPECT_EQ(344, client.bottom);
    ASSERT_EQ(static_cast<size_t>(KeyCount()), ids.size());
    for (size_t a = 0; a < keys.size(); ++a) {
        EXPECT_GE(keys[a].top, 80) << a + 1;
        EXPECT_GE(keys[a].left, 0) << a + 1;
        EXPECT_LE(keys[a].right, client.right) << a + 1;
        EXPECT_LE(keys[a].bottom, client.bottom) << a + 1;
        for (size_t b = a + 1; b < keys.size(); ++b) {
            RECT overlap;
            EXPECT_FALSE(::IntersectRect(&overlap, &keys[a], &keys[b])) << a + 1 << " and " << b + 1;
        }
    }
}

// How a run ends: a click on a named button, or keys and messages posted to the dialog.
struct RunCase {
    const char* label;
    std::function<void(Scripted<SKeyboad>&)> keyboardScript;
    std::function<void(Scripted<SMouseDialog>&)> mouseScript;
    int result;
    int keyboardValue;
    int mouseValue;
};

void Close(SHostDialog& dialog)
{
    ::PostMessageW(dialog.Handle(), WM_CLOSE, 0, 0);
}

TEST_F(PickerDialog, RunsEndWithThePickedValueOrCancel)
{
    const RunCase cases[] = {
        // Ids 1 and 2, which the framework dialog would take for OK and Cancel, are picks.
        {"id 1", [](Scripted<SKeyboad>& d) { d.PostClick(L"kbhuanhao"); },
         [](Scripted<SMouseDialog>& d) { d.PostClick(L"msdlg_leftkey"); }, kPickerChosen, 0x35, 1},
        {"id 2", [](Scripted<SKeyboad>& d) { d.PostClick(L"kb1"); },
         [](Scripted<SMouseDialog>& d) { d.PostClick(L"msdlg_rightkey"); }, kPickerChosen, 0x1E, 2},
        {"last", [](Scripted<SKeyboad>& d) { d.PostClick(L"kb_xiaodian"); },
         [](Scripted<SMouseDialog>& d) { d.PostClick(L"msdlg_wheeldown"); }, kPickerChosen, 0x63, 0x26},
        {"close button", [](Scripted<SKeyboad>& d) { d.PostClick(L"bkcose"); },
         [](Scripted<SMouseDialog>& d) { d.PostClick(L"msdlg_close"); }, kPickerCancelled, 0, 0},
        {"WM_CLOSE", [](Scripted<SKeyboad>& d) { Close(d); }, [](Scripted<SMouseDialog>& d) { Close(d); },
         kPickerCancelled, 0, 0},
        {"escape", [](Scripted<SKeyboad>& d) { d.Post(WM_KEYDOWN, VK_ESCAPE, 1); },
         [](Scripted<SMouseDialog>& d) { d.Post(WM_KEYDOWN, VK_ESCAPE, 1); }, kPickerCancelled, 0, 0},
        // Enter leaves the dialog running: the script then checks and closes it.
        {"enter",
         [](Scripted<SKeyboad>& d) {
             d.Post(WM_KEYDOWN, VK_RETURN, 1);
             d.Post(WM_KEYUP, VK_RETURN, 0xC0000001);
             d.Post(kRunScript);
         },
         [](Scripted<SMouseDialog>& d) {
             d.Post(WM_KEYDOWN, VK_RETURN, 1);
             d.Post(WM_KEYUP, VK_RETURN, 0xC0000001);
             d.Post(kRunScript);
         },
         kEndedByScript, 0, 0},
    };
    for (const RunCase& c : cases) {
        Scripted<SKeyboad> keyboard;
        keyboard.onInit = [&] { c.keyboardScript(keyboard); };
        bool stillRunning = false;
        keyboard.onScript = [&] {
            stillRunning = keyboard.GetResult() == SHostDialog::kRunning;
            keyboard.EndModal(kEndedByScript);
        };
        EXPECT_EQ(c.result, Run(keyboard)) << c.label;
        if (c.result == kPickerChosen) {
            EXPECT_EQ(c.keyboardValue, keyboard.Value()) << c.label;
        }
        if (c.result == kEndedByScript) {
            EXPECT_TRUE(stillRunning) << c.label;
        }

        Scripted<SMouseDialog> mouse;
        mouse.onInit = [&] { c.mouseScript(mouse); };
        stillRunning = false;
        mouse.onScript = [&] {
            stillRunning = mouse.GetResult() == SHostDialog::kRunning;
            mouse.EndModal(kEndedByScript);
        };
        EXPECT_EQ(c.result, Run(mouse)) << c.label;
        if (c.result == kPickerChosen) {
            EXPECT_EQ(c.mouseValue, mouse.Value()) << c.label;
        }
        if (c.result == kEndedByScript) {
            EXPECT_TRUE(stillRunning) << c.label;
        }
    }
}

// Twenty runs of each picker, picked or cancelled, leave no window and no host behind.
TEST_F(PickerDialog, TwentyRunsOfEachLeaveNoWindowAndNoHostBehind)
{
    const int windows = hosttest::ThreadWindowCount();
    const long hosts = SHostWnd::LiveCount();
    for (int run = 1; run <= 20; ++run) {
        Scripted<SKeyboad> keyboard;
        keyboard.onInit = [&] { run % 2 ? keyboard.PostClick(L"kbE") : Close(keyboard); };
        EXPECT_EQ(run % 2 ? kPickerChosen : kPickerCancelled, Run(keyboard)) << run;
        Scripted<SMouseDialog> mouse;
        mouse.onInit = [&] { run % 2 ? mouse.Post(WM_KEYDOWN, VK_ESCAPE, 1) : mouse.PostClick(L"msdlg_rightkey"); };
        EXPECT_EQ(run % 2 ? kPickerCancelled : kPickerChosen, Run(mouse)) << run;
    }
    EXPECT_EQ(windows, hosttest::ThreadWindowCount());
    EXPECT_EQ(hosts, SHostWnd::LiveCount());
}

TEST_F(PickerDialog, MouseMovementsAreHiddenOnlyWhenTheCallerAsks)
{
    const wchar_t* const kButtons[] = {L"msdlg_leftkey", L"msdlg_rightkey", L"msdlg_middle_key", L"msdlg_4key",
                                       L"msdlg_5key"};
    const wchar_t* const kMovements[] = {L"msdlg_x_left", L"msdlg_x_right", L"msdlg_y_up",
                                         L"msdlg_y_down", L"msdlg_wheelup", L"msdlg_wheeldown"};
    for (int hide : {0, 1}) {
        Scripted<SMouseDialog> mouse;
        mouse.SetHideMovement(hide);
        std::map<std::wstring, bool> visible;
        mouse.onInit = [&] {
            for (const wchar_t* name : kButtons)
                visible[name] = shelltest::Visible(mouse, name);
            for (const wchar_t* name : kMovements)
                visible[name] = shelltest::Visible(mouse, name);
            mouse.EndModal(kPickerCancelled);
        };
        Run(mouse);
        for (const wchar_t* name : kButtons)
            EXPECT_TRUE(visible[name]) << hide;
        for (const wchar_t* name : kMovements)
            EXPECT_EQ(!hide, visible[name]) << hide;
    }
}

// A translucent dialog as painted (through its dummy window) over a white page, opaque.
hosttest::Shot OverWhite(SHostWnd& dialog)
{
    ::UpdateWindow(dialog.DummyHwnd());
    IRenderTarget* memory = dialog.MemoryTarget();
    RECT client = {};
    ::GetClientRect(dialog.Handle(), &client);
    hosttest::Shot shot;
    shot.width = client.right;
    shot.height = client.bottom;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            UINT32 pixel = memory->GetPixel(x, y); // premultiplied
            UINT32 under = 255 - (pixel >> 24);
            UINT32 out = 0;
            for (int shift = 0; shift < 24; shift += 8)
                out |= std::min<UINT32>(255, ((pixel >> shift) & 0xFF) + under) << shift;
            shot.pixels.push_back(out);
        }
    }
    return shot;
}

// docs pictures: the keyboard with a key under the mouse, the mouse picker with every choice.
TEST_F(PickerDialog, ScreenshotsOfBothPickers)
{
    Scripted<SKeyboad> keyboard;
    keyboard.onInit = [&] {
        SWindow* key = keyboard.LookupChildByName(L"kbE");
        RECT rect = key->GetWindowRect();
        keyboard.Post(WM_MOUSEMOVE, 0, MAKELPARAM(rect.left + 4, rect.top + 4));
        keyboard.Post(kRunScript);
    };
    hosttest::Shot keys;
    keyboard.onScript = [&] {
        keys = OverWhite(keyboard);
        keyboard.EndModal(kPickerCancelled);
    };
    Run(keyboard);
    ASSERT_EQ(776, keys.width);
    EXPECT_TRUE(keys.SavePng(m_startup->App()->RenderFactory(), TestFolder() + L"\\corvane-keyboard.png"));

    Scripted<SMouseDialog> mouse;
    mouse.onInit = [&] { mouse.Post(kRunScript); };
    hosttest::Shot choices;
    mouse.onScript = [&] {
        choices = OverWhite(mouse);
        mouse.EndModal(kPickerCancelled);
    };
    Run(mouse);
    ASSERT_EQ(319, choices.width);
    EXPECT_TRUE(choices.SavePng(m_startup->App()->RenderFactory(), TestFolder() + L"\\corvane-mouse.png"));
}

} // namespace
