#include "texts/LanguageFile.h"
#include <windows.h>
#include <vector>
#include "res.mgr/SResLoaders.h"

using namespace SKEIN;

namespace {

// The file's bytes when it has at most kMaxLanguageFileBytes; its size is taken from the open
// handle, so a file that grows afterwards is still read no further.
bool ReadSmallFile(HANDLE file, const wchar_t* path, std::vector<char>& bytes)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return false;
    if (!WithinSizeLimit("LoadLanguageFile", "language file", path, size.QuadPart, kMaxLanguageFileBytes))
        return false;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    return bytes.empty() || (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                             read == bytes.size());
}

} // namespace

bool LoadLanguageFile(pugi::xml_document& document, const wchar_t* path)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::vector<char> bytes;
    bool read = ReadSmallFile(file, path, bytes);
    CloseHandle(file);
    return read && document.load_buffer(bytes.data(), bytes.size());
}
