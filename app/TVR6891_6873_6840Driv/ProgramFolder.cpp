#include "ProgramFolder.h"
#include <windows.h>
#include <vector>

using namespace SKEIN;

namespace {

const DWORD kFirstBufferSize = MAX_PATH;
// Far above any path the system can give.
const DWORD kLargestBufferSize = 1 << 16;
// A long path keeps this many lines before its "..." line.
const size_t kShownHeadLines = 7;
const wchar_t kElision[] = L"...";

// The path in lines of at most kShownPathLineChars characters, each broken after its last
// backslash where it has one.
std::vector<SStringW> PathLines(const wchar_t* path)
{
    std::vector<SStringW> lines;
    const size_t length = wcslen(path);
    for (size_t start = 0; start < length;) {
        size_t end = start + kShownPathLineChars < length ? start + kShownPathLineChars : length;
        for (size_t at = end; end < length && at > start + 1; --at) {
            if (path[at - 1] == L'\\') {
                end = at;
                break;
            }
        }
        lines.push_back(SStringW(path + start, static_cast<int>(end - start)));
        start = end;
    }
    return lines;
}

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

SStringW ShownPath(const wchar_t* path)
{
    std::vector<SStringW> lines = PathLines(path);
    if (lines.size() > kShownPathLines) {
        lines.erase(lines.begin() + kShownHeadLines, lines.end() - (kShownPathLines - kShownHeadLines - 1));
        lines.insert(lines.begin() + kShownHeadLines, SStringW(kElision));
    }
    SStringW shown;
    for (size_t index = 0; index < lines.size(); ++index) {
        if (index > 0)
            shown += L"\n";
        shown += lines[index];
    }
    return shown;
}
