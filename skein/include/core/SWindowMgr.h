#pragma once
// Handles of windowless windows: issued from 1 upwards, never reused, mapped back to the
// window while it lives. Anything that may outlive a window (capture, hover, focus, timers,
// events) keeps its handle and resolves it at each use.
#include <windows.h>
#include "core/SSingletonMap.h"
#include "helper/SCriticalSection.h"

namespace SKEIN {

class SWindow;

typedef DWORD SwndHandle; // 0 = no window (same type as in the window header)

class SWindowMgr : public SSingletonMap<SWindowMgr, SWindow*, SwndHandle> {
public:
    SWindowMgr();
    ~SWindowMgr() override;

    // A new handle for window; 0 once every 32-bit handle has been issued (handles are never
    // reused) and for a null window.
    SwndHandle NewWindow(SWindow* window);
    // Null for 0 and for unknown or destroyed handles.
    SWindow* WindowFromHandle(SwndHandle handle);
    // Forgets the handle and kills its STimer2 timers; false when it was not known.
    bool DestroyWindow(SwndHandle handle);

    // The same through the application's instance; null or false when there is none.
    static SWindow* GetWindow(SwndHandle handle);

private:
    SCriticalSection m_lock;
    SwndHandle m_lastHandle;
};

// Window timers run as native timers of the host window, with the window and its timer id
// packed into the native id: bit 31 set, bits 24-30 the window's timer id, bits 0-23 the handle.
enum {
    kSwndTimerIdMax = 0x7F,
    kSwndTimerHandleMax = 0xFFFFFF,
};

// False (packed untouched) when timerId is above 127 or window is 0 or above 0xFFFFFF: such a
// timer would come back with another id or to another window.
bool PackSwndTimerId(SwndHandle window, UINT timerId, UINT_PTR& packed);
// False for a native id without bit 31 (a host's own timer) or above 32 bits.
bool UnpackSwndTimerId(UINT_PTR packed, SwndHandle& window, UINT& timerId);

} // namespace SKEIN
