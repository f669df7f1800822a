#pragma once
// Whole-file access for the "file" pseudo-type and the folder provider.
#include <windows.h>

namespace SKEIN {

// Size of a regular file; 0 when it is missing, a folder, or too large for a 32-bit size.
size_t DiskFileSize(const wchar_t* path);

// Reads the whole file; a buffer smaller than the file sets ERROR_INSUFFICIENT_BUFFER and
// fails. TRUE only when every byte was read.
BOOL ReadDiskFile(const wchar_t* path, void* buffer, size_t size);

} // namespace SKEIN
