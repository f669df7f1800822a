#pragma once
// The application's maker of the native windows that "realwnd" windows stand for. Installed in
// the application object; without one no native child window is ever made.
#include <windows.h>
#include "core/SObjRef.h"

namespace SKEIN {

class SRealWnd;

struct IRealWndHandler : public IObjRef {
    // The native window made from the window's creation parameters (the host window may be
    // its parent); null or a dead handle when none was made.
    virtual HWND CreateRealWindow(SRealWnd* wnd) = 0;
    virtual void DestroyRealWindow(SRealWnd* wnd) = 0;
    // Called after every successful creation.
    virtual BOOL InitRealWindow(SRealWnd* wnd) = 0;
    // Asked after a creation that did not happen at load; TRUE when the handler placed it.
    virtual BOOL PositionRealWindow(SRealWnd* wnd) { return FALSE; }
    // Asked on every move or resize; TRUE when the handler did it.
    virtual BOOL ResizeRealWindow(SRealWnd* wnd, const RECT& rect) { return FALSE; }
    virtual ~IRealWndHandler() {}
};

} // namespace SKEIN
