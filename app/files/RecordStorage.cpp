#include "files/RecordStorage.h"

namespace {

const wchar_t kTempPrefix[] = L"zvk";

std::wstring FolderOf(const std::wstring& path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

// A read-only file or a folder is never replaced (Windows refuses both; Wine would replace a
// read-only file).
bool Replaceable(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

// Writes and flushes the whole buffer; false when anything fell short.
bool WriteWhole(const std::wstring& path, const BYTE* bytes, DWORD size)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size && FlushFileBuffers(file);
    return CloseHandle(file) && whole;
}

} // namespace

ReadStatus ReadRecordFile(const std::wstring& path, BYTE* buffer, DWORD size, DWORD& count)
{
    count = 0;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ReadStatus::OpenFailed;
    BOOL read = ReadFile(file, buffer, size, &count, nullptr);
    CloseHandle(file);
    return read ? ReadStatus::Read : ReadStatus::ReadFailed;
}

WriteStatus ReplaceFileWith(const std::wstring& path, const BYTE* bytes, DWORD size)
{
    if (!Replaceable(path))
        return WriteStatus::ReplaceFailed;
    wchar_t temp[MAX_PATH];
    if (!GetTempFileNameW(FolderOf(path).c_str(), kTempPrefix, 0, temp))
        return WriteStatus::CreateFailed;
    WriteStatus status = WriteStatus::Written;
    if (!WriteWhole(temp, bytes, size))
        status = WriteStatus::WriteFailed;
    else if (!MoveFileExW(temp, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        status = WriteStatus::ReplaceFailed;
    if (status != WriteStatus::Written)
        DeleteFileW(temp);
    return status;
}
