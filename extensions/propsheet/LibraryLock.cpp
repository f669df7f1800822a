#include "LibraryLock.h"

#include <windows.h>

namespace pelko {
namespace {

// Made when the library is loaded and deleted when it is unloaded.
class CriticalSection {
public:
    CriticalSection() { InitializeCriticalSection(&section_); }
    ~CriticalSection() { DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;

    CRITICAL_SECTION* Get() { return &section_; }

private:
    CRITICAL_SECTION section_;
};

CriticalSection g_section;

} // namespace

LibraryLock::LibraryLock()
{
    EnterCriticalSection(g_section.Get());
}

LibraryLock::~LibraryLock()
{
    LeaveCriticalSection(g_section.Get());
}

} // namespace pelko
