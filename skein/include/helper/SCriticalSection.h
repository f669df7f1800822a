#pragma once
// The framework's lock: one OS critical section (re-entrant on its owning thread).
#include <windows.h>

namespace SKEIN {

class SCriticalSection {
public:
    SCriticalSection() { InitializeCriticalSection(&m_section); }
    virtual ~SCriticalSection() { DeleteCriticalSection(&m_section); }
    SCriticalSection(const SCriticalSection&) = delete;
    SCriticalSection& operator=(const SCriticalSection&) = delete;

    void Lock() { EnterCriticalSection(&m_section); }
    void Unlock() { LeaveCriticalSection(&m_section); }

private:
    CRITICAL_SECTION m_section;
};

} // namespace SKEIN
