#pragma once
// The program's one door to the user's modal answers: message boxes and the open and save file
// dialogs. The real implementation (UserPromptWin32.cpp) calls user32 and comdlg32; tests
// install scripted answers and read back what was asked.
#include <windows.h>
#include <commdlg.h>

class IUserPrompt {
public:
    virtual ~IUserPrompt() = default;
    // MessageBoxW.
    virtual int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) = 0;
    // GetOpenFileNameW / GetSaveFileNameW: TRUE when the user chose a file (written into
    // dialog.lpstrFile).
    virtual BOOL ChooseOpenFile(OPENFILENAMEW& dialog) = 0;
    virtual BOOL ChooseSaveFile(OPENFILENAMEW& dialog) = 0;
};

// The process's prompts: the real ones unless a test installed others (not owned).
IUserPrompt& UserPrompt();
void SetUserPrompt(IUserPrompt* prompt);
