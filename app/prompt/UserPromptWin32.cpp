#include "prompt/UserPrompt.h"

namespace {

class UserPromptWin32 : public IUserPrompt {
public:
    int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) override
    {
        return ::MessageBoxW(owner, text, caption, type);
    }
    BOOL ChooseOpenFile(OPENFILENAMEW& dialog) override { return ::GetOpenFileNameW(&dialog); }
    BOOL ChooseSaveFile(OPENFILENAMEW& dialog) override { return ::GetSaveFileNameW(&dialog); }
};

UserPromptWin32 g_realPrompt;
IUserPrompt* g_installedPrompt = nullptr;

} // namespace

IUserPrompt& UserPrompt()
{
    return g_installedPrompt ? *g_installedPrompt : g_realPrompt;
}

void SetUserPrompt(IUserPrompt* prompt)
{
    g_installedPrompt = prompt;
}
