#include "EffectLock.h"

#include "RundelDevice.h"

namespace EffectLock {
namespace {

constexpr DWORD kEventWaitMs = 100;

SRWLOCK g_lock = SRWLOCK_INIT;
HANDLE g_event = nullptr;

}  // namespace

bool Open() {
    if (!g_event) g_event = CreateEventA(nullptr, FALSE, TRUE, RundelDevice::kDeviceName);
    return g_event != nullptr;
}

void Close() {
    if (g_event) CloseHandle(g_event);
    g_event = nullptr;
}

Guard::Guard() {
    AcquireSRWLockExclusive(&g_lock);
    // Another process holding the event longer than this is not waited for.
    WaitForSingleObject(g_event, kEventWaitMs);
}

Guard::~Guard() {
    SetEvent(g_event);
    ReleaseSRWLockExclusive(&g_lock);
}

}  // namespace EffectLock
