#pragma once
// The keyboard focus of one window tree: the focused window by handle, saved while the native
// window is inactive and restored when it is active again; Tab, Shift+Tab and the arrows of
// radio groups move it; accelerators go to the windows that registered them.
#include "core/SAccelerator.h"
#include "core/SHashMap.h"
#include "core/SLinkedList.h"
#include "core/SWindowMgr.h"

namespace SKEIN {

class SWindow;

// Why the focus changed; a window gets it as the lParam of WM_SETFOCUS.
enum { kFocusReasonDirect = 0, kFocusReasonNavigation = 1, kFocusReasonRestore = 2 };

// The next or previous focusable window of a tree in Tab order. Radio groups are entered on
// their checked member and left as a whole.
class FocusSearch {
public:
    FocusSearch(SWindow* root, bool wrap) : m_root(root), m_wrap(wrap), m_groupParent(nullptr) {}
    virtual ~FocusSearch() {}

    // From start (none: from the first or the last window, which is then checked itself).
    SWindow* FindNext(SWindow* start, bool reverse, bool checkStart);

private:
    SWindow* SearchForward(SWindow* window, bool checkSelf, bool mayGoUp, bool mayGoDown);
    SWindow* SearchBackward(SWindow* window, bool checkSelf, bool mayGoUp, bool mayGoDown);
    // The window to focus for a candidate (its checked group member first), or null.
    SWindow* Offer(SWindow* window) const;

    SWindow* m_root;
    bool m_wrap;
    SWindow* m_groupParent;
};

class CFocusManager : public IAcceleratorMgr {
public:
    explicit CFocusManager(SWindow* root);
    virtual ~CFocusManager();

    void RegisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) override;
    bool UnregisterAccelerator(const CAccelerator& accel, IAcceleratorTarget* target) override;
    void UnregisterAccelerators(IAcceleratorTarget* target) override;
    // The targets of accel in registration order until one consumes it.
    bool ProcessAccelerator(const CAccelerator& accel);

    SwndHandle GetFocusedWindow() const { return m_focused; }
    int GetLastReason() const { return m_lastReason; }
    // Nothing focused and nothing saved, as for a new native window.
    void Reset() { m_focused = m_saved = 0; }
    // Forgets a focused window that died or left this tree.
    void ValidateFocus();
    // The native window became inactive or lost the OS focus.
    void SaveFocus();
    // The native window became active or got the OS focus.
    void RestoreFocus();
    // Only enabled, focusable windows take the focus; while a focus is saved, only the saved
    // handle changes.
    void SetFocusedWindow(SwndHandle handle, int reason);
    void AdvanceFocus(bool reverse);
    // Navigation keys and accelerators; true when the key was consumed.
    bool OnKeyDown(UINT vk);

    static bool IsFocusableWindow(SWindow* window);

private:
    typedef SLinkedList<IAcceleratorTarget*> TargetList;

    bool MoveInRadioGroup(SWindow* focused, UINT vk);

    SwndHandle m_focused;
    SwndHandle m_saved;
    int m_lastReason;
    SWindow* m_root;
    SHashMap<DWORD, TargetList*> m_accelerators;
};

} // namespace SKEIN
