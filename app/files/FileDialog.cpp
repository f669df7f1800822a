#include "files/FileDialog.h"
#include <windows.h>
#include <shlobj.h>
#include "prompt/UserPrompt.h"

namespace {

const DWORD kFileBufferSize = MAX_PATH;
const DWORD kTitleBufferSize = 256;
// No hook flag: a hook flag without a hook procedure makes the dialog fail.
const DWORD kCommonFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
const DWORD kOpenFlags = kCommonFlags | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;

} // namespace

bool ChooseFile(FileDialogKind kind, const wchar_t* filter, const wchar_t* extension, std::wstring& path)
{
    wchar_t file[kFileBufferSize] = {};
    wchar_t title[kTitleBufferSize] = {};
    wchar_t documents[MAX_PATH];
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = GetActiveWindow();
    dialog.lpstrFilter = filter;
    dialog.lpstrDefExt = extension;
    dialog.lpstrFile = file;
    dialog.nMaxFile = kFileBufferSize;
    dialog.lpstrFileTitle = title;
    dialog.nMaxFileTitle = kTitleBufferSize;
    dialog.Flags = kind == FileDialogKind::Open ? kOpenFlags : kCommonFlags;
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, documents)))
        dialog.lpstrInitialDir = documents;
    IUserPrompt& prompt = UserPrompt();
    BOOL chosen = kind == FileDialogKind::Open ? prompt.ChooseOpenFile(dialog) : prompt.ChooseSaveFile(dialog);
    // A dialog whose window went while it ran chose nothing, as a dialog closed with it.
    if (chosen != TRUE || (dialog.hwndOwner && !IsWindow(dialog.hwndOwner)))
        return false;
    path = file;
    return true;
}
