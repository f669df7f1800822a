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

// Holds a lock for one scope.
class SAutoLock {
public:
    explicit SAutoLock(SCriticalSection& lock) : m_lock(lock) { m_lock.Lock(); }
    ~SAutoLock() { m_lock.Unlock(); }
    SAutoLock(const SAutoLock&) = delete;
    SAutoLock& operator=(const SAutoLock&) = delete;

private:
    SCriticalSection& m_lock;
};

} // namespace SKEIN
