#include "ProgramFolder.h"
#include <windows.h>
#include <vector>

using namespace SKEIN;

namespace {

const DWORD kFirstBufferSize = MAX_PATH;
// Far above any path the system can give.
const DWORD kLargestBufferSize = 1 << 16;

} // namespace

SStringW ProgramFolder()
{
    for (DWORD size = kFirstBufferSize; size <= kLargestBufferSize; size *= 2) {
        std::vector<wchar_t> path(size);
        DWORD length = GetModuleFileNameW(nullptr, path.data(), size);
        if (length == 0)
            return SStringW();
        if (length < size) {
            const wchar_t* slash = wcsrchr(path.data(), L'\\');
            return SStringW(path.data(), slash ? static_cast<int>(slash - path.data()) : 0);
        }
    }
    return SStringW();
}

SStringW BesideProgram(const wchar_t* name)
{
    SStringW path = ProgramFolder();
    path += L"\\";
    path += name;
    return path;
}
