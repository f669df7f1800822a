// The prompt seam: the real message box and file dialogs under Wine, answered by a helper thread
// that finds the dialog and clicks it; and the scripted stand-in the other tests use.
#include <gtest/gtest.h>
#include <windows.h>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>
#include "files/FileDialog.h"
#include "res_test_util.h"
#include "support/ScriptedPrompt.h"

namespace {

const DWORD kFindTimeoutMs = 15000;
const DWORD kFindStepMs = 20;

struct ThreadDialogSearch {
    HWND found;
};

BOOL CALLBACK FindDialogOfThread(HWND window, LPARAM param)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (wcscmp(className, L"#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    reinterpret_cast<ThreadDialogSearch*>(param)->found = window;
    return FALSE;
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

BOOL CALLBACK CollectChildText(HWND child, LPARAM param)
{
    reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(WindowText(child));
    return TRUE;
}

// On its own thread, waits for a visible dialog of the calling thread and hands it to act.
class DialogDriver {
public:
    explicit DialogDriver(std::function<void(HWND)> act) : m_owner(GetCurrentThreadId()), m_act(std::move(act))
    {
        m_worker = std::thread([this] { Run(); });
    }
    ~DialogDriver() { m_worker.join(); }

    bool Found() const { return m_found; }
    std::wstring caption;
    std::vector<std::wstring> texts;

private:
    void Run()
    {
        for (DWORD waited = 0; waited < kFindTimeoutMs; waited += kFindStepMs) {
            ThreadDialogSearch search = {nullptr};
            EnumThreadWindows(m_owner, FindDialogOfThread, reinterpret_cast<LPARAM>(&search));
            if (search.found) {
                caption = WindowText(search.found);
                EnumChildWindows(search.found, CollectChildText, reinterpret_cast<LPARAM>(&texts));
                m_found = true;
                m_act(search.found);
                return;
            }
            Sleep(kFindStepMs);
        }
    }

    DWORD m_owner;
    std::function<void(HWND)> m_act;
    std::atomic<bool> m_found{false};
    std::thread m_worker;
};

// Types path into a file dialog's name field and presses OK.
void ChooseInDialog(HWND dialog, const std::wstring& path)
{
    const int kNameCombo = 0x47c; // cmb13
    const int kNameEdit = 0x480;  // edt1
    HWND name = GetDlgItem(dialog, kNameCombo);
    if (!name)
        name = GetDlgItem(dialog, kNameEdit);
    SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& text)
{
    for (const std::wstring& each : texts)
        if (each == text)
            return true;
    return false;
}

} // namespace

TEST(RealPrompt, MessageBoxShowsTextAndCaptionAndReturnsTheButtonPressed)
{
    DialogDriver driver([](HWND box) { PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0); });
    int answer = UserPrompt().ShowMessage(nullptr, L"是否恢复默认", L"Corvane映射软件", MB_ICONWARNING | MB_YESNO);
    ASSERT_TRUE(driver.Found());
    EXPECT_EQ(IDNO, answer);
    EXPECT_EQ(L"Corvane映射软件", driver.caption);
    EXPECT_TRUE(Contains(driver.texts, L"是否恢复默认"));
}

// The program's dialog routine, run through the real dialogs: its options open them, and the
// chosen file comes back (with the default extension on a bare name).
TEST(RealPrompt, ProgramSaveDialogOpensAndReturnsTheChosenFile)
{
    restest::TempFolder folder;
    std::wstring typed = folder.File(L"exported");
    DialogDriver driver([&](HWND dialog) { ChooseInDialog(dialog, typed); });
    std::wstring chosen;
    ASSERT_TRUE(ChooseFile(FileDialogKind::Save, L"qmf files(*.qmf)\0*.qmf\0", L"qmf", chosen));
    ASSERT_TRUE(driver.Found());
    EXPECT_EQ(typed + L".qmf", chosen);
}

TEST(RealPrompt, ProgramOpenDialogReturnsAnExistingFile)
{
    restest::TempFolder folder;
    std::wstring existing = folder.Write(L"stored.qmf", "x");
    DialogDriver driver([&](HWND dialog) { ChooseInDialog(dialog, existing); });
    std::wstring chosen;
    ASSERT_TRUE(ChooseFile(FileDialogKind::Open, L"qmf files(*.qmf)\0*.qmf\0", L"qmf", chosen));
    EXPECT_EQ(existing, chosen);
}

TEST(RealPrompt, CancelledDialogChoosesNothing)
{
    DialogDriver driver([](HWND dialog) { PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); });
    std::wstring chosen = L"untouched";
    EXPECT_FALSE(ChooseFile(FileDialogKind::Open, L"qmf files(*.qmf)\0*.qmf\0", L"qmf", chosen));
    EXPECT_TRUE(driver.Found());
    EXPECT_EQ(L"untouched", chosen);
}

TEST(ScriptedPromptKit, InstallsItselfAndAnswersInOrderThenRestores)
{
    IUserPrompt* real = &UserPrompt();
    {
        ScriptedPrompt prompt;
        EXPECT_EQ(&prompt, &UserPrompt());
        prompt.QueueAnswer(IDYES);
        HWND owner = reinterpret_cast<HWND>(0x1234);
        EXPECT_EQ(IDYES, UserPrompt().ShowMessage(owner, L"first", L"title", MB_YESNO));
        EXPECT_EQ(IDOK, UserPrompt().ShowMessage(nullptr, L"second", nullptr, MB_ICONERROR));
        ASSERT_EQ(2u, prompt.Messages().size());
        EXPECT_EQ(owner, prompt.Messages()[0].owner);
        EXPECT_EQ(L"title", prompt.Messages()[0].caption.value());
        EXPECT_EQ(static_cast<UINT>(MB_YESNO), prompt.Messages()[0].type);
        EXPECT_FALSE(prompt.Messages()[1].caption.has_value());
        EXPECT_EQ((std::vector<std::wstring>{L"first", L"second"}), prompt.MessageTexts());
    }
    EXPECT_EQ(real, &UserPrompt());
}

// The stand-in fails a dialog the way the real one would, so callers' options are checked.
TEST(ScriptedPromptKit, DialogsFailLikeTheRealOnes)
{
    struct Case {
        const char* what;
        DWORD flags;
        DWORD bufferSize;
        const wchar_t* choice;
        BOOL result;
        const wchar_t* chosen;
    };
    const Case cases[] = {
        {"plain choice", OFN_EXPLORER, MAX_PATH, L"C:\\d\\a.qmf", TRUE, L"C:\\d\\a.qmf"},
        {"bare name gets the default extension", OFN_EXPLORER, MAX_PATH, L"C:\\d\\a", TRUE, L"C:\\d\\a.qmf"},
        {"hook flag without a hook", OFN_EXPLORER | OFN_ENABLEHOOK, MAX_PATH, L"C:\\d\\a.qmf", FALSE, L""},
        {"buffer too small", OFN_EXPLORER, 8, L"C:\\d\\a.qmf", FALSE, L""},
        {"cancelled", OFN_EXPLORER, MAX_PATH, nullptr, FALSE, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedPrompt prompt;
        if (c.choice)
            prompt.QueueFile(c.choice);
        wchar_t file[MAX_PATH] = {};
        wchar_t title[64] = {};
        OPENFILENAMEW dialog = {};
        dialog.lStructSize = sizeof(dialog);
        dialog.lpstrFilter = L"qmf files(*.qmf)\0*.qmf\0";
        dialog.lpstrDefExt = L"qmf";
        dialog.lpstrFile = file;
        dialog.nMaxFile = c.bufferSize;
        dialog.lpstrFileTitle = title;
        dialog.nMaxFileTitle = 64;
        dialog.Flags = c.flags;
        EXPECT_EQ(c.result, UserPrompt().ChooseSaveFile(dialog));
        EXPECT_STREQ(c.chosen, file);
        ASSERT_EQ(1u, prompt.Dialogs().size());
        const ScriptedPrompt::Dialog& seen = prompt.Dialogs()[0];
        EXPECT_TRUE(seen.save);
        EXPECT_EQ((std::vector<std::wstring>{L"qmf files(*.qmf)", L"*.qmf"}), seen.filter);
        EXPECT_EQ(c.flags, seen.flags);
        if (c.result) {
            EXPECT_STREQ(L"a.qmf", title);
            EXPECT_EQ(5, dialog.nFileOffset);
            EXPECT_EQ(7, dialog.nFileExtension);
        }
    }
}
