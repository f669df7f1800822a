#pragma once
// Application-level timers of windowless windows: thread timers of the user-interface thread,
// keyed by (window handle, timer id) and delivered to the window as UI message 6456 with
// wParam = the timer id. A timer of a window that no longer exists is stopped.
#include <windows.h>
#include "core/SSingletonMap.h"
#include "core/SWindowMgr.h"

namespace SKEIN {

struct tagTIMERINFO {
    SwndHandle window;
    UINT id;
    bool operator==(const tagTIMERINFO& other) const { return window == other.window && id == other.id; }
};

// Map from the native timer id to the window's timer.
class STimer2 : public SSingletonMap<STimer2, tagTIMERINFO, UINT_PTR> {
public:
    enum { kMsgTimer2 = 6456 };

    STimer2();
    ~STimer2() override;

    // Restarts the window's timer id with the new period; false when the system refuses it.
    bool SetTimer(SwndHandle window, UINT id, UINT elapse);
    void KillTimer(SwndHandle window, UINT id);
    void KillTimersOfWindow(SwndHandle window);

private:
    static void CALLBACK TimerProc(HWND hwnd, UINT message, UINT_PTR osId, DWORD time);
    void Deliver(UINT_PTR osId);
    // The native id of the window's timer id (any of its timers for null), 0 when none.
    UINT_PTR FindTimer(SwndHandle window, const UINT* id) const;
};

} // namespace SKEIN
