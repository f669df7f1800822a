#include "files/ModelDataFolder.h"
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

namespace {

const wchar_t kMakerFolder[] = L"\\ZVK";

std::wstring g_rootOverride;

std::wstring CommonDataFolder()
{
    if (!g_rootOverride.empty())
        return g_rootOverride;
    wchar_t path[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::wstring();
    return path;
}

} // namespace

std::wstring ModelDataFolder(const std::wstring& model)
{
    std::wstring common = CommonDataFolder();
    if (common.empty())
        return std::wstring();
    std::wstring folder = common + kMakerFolder;
    if (!model.empty())
        folder += L"\\" + model;
    if (!PathIsDirectoryW(folder.c_str()))
        SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return PathIsDirectoryW(folder.c_str()) ? folder : std::wstring();
}

void SetModelDataRoot(const std::wstring& root)
{
    g_rootOverride = root;
}
