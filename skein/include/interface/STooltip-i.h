#pragma once
// The tooltip of a host window: a message filter of the host's message loop that the host
// tells which tip the window under the mouse has; and the factory that makes one per host.
#include <windows.h>
#include "core/SMsgLoop.h"
#include "core/SObjRef.h"
#include "core/SString.h"
#include "core/SWindowMgr.h"

namespace SKEIN {

// Which tip is shown: the window and an item of the window.
struct SwndTipId {
    SwndHandle handle;
    UINT_PTR cookie;
    bool operator==(const SwndTipId& other) const { return handle == other.handle && cookie == other.cookie; }
};

struct IToolTip : public IMessageFilter {
    // rect in the host's client coordinates; scale in percent.
    virtual void UpdateTip(const SwndTipId& id, const RECT& rect, const SStringW& text, int scale) = 0;
    virtual void ClearTip() = 0;
    // Shows or hides the tip after a mouse message of the host.
    virtual void RelayEvent(const MSG* msg) = 0;
};

struct IToolTipFactory : public IObjRef {
    // Null when the tip cannot be made.
    virtual IToolTip* CreateToolTip(HWND host) = 0;
    // Null is ignored.
    virtual void DestroyToolTip(IToolTip* tip) = 0;
    virtual ~IToolTipFactory() {}
};

} // namespace SKEIN
