#include "res.mgr/SResFile.h"

namespace SKEIN {

size_t DiskFileSize(const wchar_t* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path || !GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return 0;
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || data.nFileSizeHigh != 0)
        return 0;
    return data.nFileSizeLow;
}

BOOL ReadDiskFile(const wchar_t* path, void* buffer, size_t size)
{
    if (!path)
        return FALSE;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = FALSE;
    bool tooSmall = false;
    LARGE_INTEGER length;
    if (GetFileSizeEx(file, &length)) {
        tooSmall = length.HighPart != 0 || length.LowPart > size;
        DWORD read = 0;
        ok = !tooSmall && ReadFile(file, buffer, length.LowPart, &read, nullptr) && read == length.LowPart;
    }
    CloseHandle(file);
    if (tooSmall)
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return ok;
}

} // namespace SKEIN
