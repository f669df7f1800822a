#pragma once
// Scripted stand-in for the prompt seam (prompt/UserPrompt.h): message boxes and file dialogs
// answer from a script, and every call is recorded with what it was asked.
//
//   ScriptedPrompt prompt;                 // installed (SetUserPrompt) while it lives
//   prompt.QueueAnswer(IDYES);             // answers of the next message boxes, in order;
//                                          // a box without a queued answer returns IDOK
//   prompt.QueueFile(L"C:\\x\\a.qmf");     // the next file dialog (open or save) chooses a file
//   prompt.QueueCancel();                  // the next file dialog is cancelled; a dialog without
//                                          // a queued choice is cancelled as well
//   prompt.During([] { ... }, 1);          // runs inside the box or dialog after the next one
//                                          // (0: the next), before it answers, as a message
//                                          // arriving in its loop would
//   ... run the code under test ...
//   prompt.Messages()[0].text == L"File invalid", .caption (nullopt for a null caption), .type
//   prompt.Dialogs()[0].save, .flags, .filter ({L"qmf files(*.qmf)", L"*.qmf"}), .defaultExtension,
//       .initialDir, .fileBufferSize, .owner, .chosen, .result
//   prompt.MessageTexts()                  // just the texts, in order
//
// Like the real dialogs, a dialog fails (FALSE, nothing written) when OFN_ENABLEHOOK is set
// without a hook procedure or when the chosen path does not fit the caller's buffer; a chosen
// name without an extension gets the default extension.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>
#include "prompt/UserPrompt.h"

class ScriptedPrompt : public IUserPrompt {
public:
    struct Message {
        HWND owner;
        std::wstring text;
        std::optional<std::wstring> caption;
        UINT type;
        int answer;
    };
    struct Dialog {
        bool save;
        HWND owner;
        DWORD structSize;
        std::vector<std::wstring> filter; // display text and pattern, alternately
        std::wstring defaultExtension;
        std::wstring initialDir;          // empty: none given
        std::wstring title;               // lpstrTitle; empty: none given
        std::wstring initialFile;         // what lpstrFile held on entry
        DWORD flags;
        DWORD fileBufferSize;             // nMaxFile
        DWORD fileTitleSize;              // nMaxFileTitle (0 without a title buffer)
        bool hasHook;
        std::wstring chosen;              // what was written into lpstrFile; empty when none
        BOOL result;
    };

    ScriptedPrompt();
    ~ScriptedPrompt() override;
    ScriptedPrompt(const ScriptedPrompt&) = delete;
    ScriptedPrompt& operator=(const ScriptedPrompt&) = delete;

    void QueueAnswer(int answer) { m_answers.push_back(answer); }
    void QueueFile(const std::wstring& path) { m_files.push_back(path); }
    void QueueCancel() { m_files.push_back(std::nullopt); }
    void During(std::function<void()> arrival, int skip = 0)
    {
        m_during = std::move(arrival);
        m_duringSkip = skip;
    }

    const std::vector<Message>& Messages() const { return m_messages; }
    const std::vector<Dialog>& Dialogs() const { return m_dialogs; }
    std::vector<std::wstring> MessageTexts() const;
    void Clear();

    int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) override;
    BOOL ChooseOpenFile(OPENFILENAMEW& dialog) override { return Choose(dialog, false); }
    BOOL ChooseSaveFile(OPENFILENAMEW& dialog) override { return Choose(dialog, true); }

private:
    BOOL Choose(OPENFILENAMEW& dialog, bool save);
    void RunDuring();

    IUserPrompt* m_previous;
    std::deque<int> m_answers;
    std::deque<std::optional<std::wstring>> m_files;
    std::vector<Message> m_messages;
    std::vector<Dialog> m_dialogs;
    std::function<void()> m_during;
    int m_duringSkip = 0;
};
