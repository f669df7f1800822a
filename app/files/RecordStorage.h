#pragma once
// Reading and writing whole record files.
#include <windows.h>
#include <string>

enum class ReadStatus { OpenFailed, ReadFailed, Read };

// Opens path for reading (shared read) and reads up to size bytes in one call; count is what
// arrived.
ReadStatus ReadRecordFile(const std::wstring& path, BYTE* buffer, DWORD size, DWORD& count);

enum class WriteStatus { Written, CreateFailed, WriteFailed, ReplaceFailed };

// Writes the bytes to a new file in path's folder, flushes it and then replaces path with it in
// one step. Never truncates path first: on any failure path is as it was and the new file is
// removed. A read-only file or a folder at path is left alone (ReplaceFailed).
WriteStatus ReplaceFileWith(const std::wstring& path, const BYTE* bytes, DWORD size);
