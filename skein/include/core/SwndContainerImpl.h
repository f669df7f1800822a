#pragma once
// The common container of a window tree: its SWindow base is the root; capture, hover and
// focus are kept by handle and resolved at each use; native input is routed to the tree.
#include "core/SFocusManager.h"
#include "core/SDropTargetDispatcher.h"
#include "core/SHashMap.h"
#include "core/SLinkedList.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

// Mouse messages routed to the tree by position or capture: WM_MOUSEMOVE to WM_XBUTTONDBLCLK.
enum { kLastRoutedMouseMsg = 0x20D };

class SwndContainerImpl : public ISwndContainer, public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"SwndContainerImpl")

public:
    SwndContainerImpl();
    ~SwndContainerImpl() override;

    void OnTimelineTick() override;
    BOOL RegisterDropTarget(SwndHandle handle, IDropTarget* target) override;
    BOOL UnregisterDropTarget(SwndHandle handle) override;
    SwndHandle GetCapture() const override { return m_capture; }
    BOOL ReleaseCapture() override;
    SwndHandle SetCapture(SwndHandle handle) override;
    void SetFocusedWindow(SwndHandle handle) override;
    SwndHandle GetHover() const override { return m_hover; }
    SwndHandle GetFocus() const override { return m_focusMgr.GetFocusedWindow(); }
    void FrameToHost(RECT&) const override {}
    CFocusManager* GetFocusManager() override { return &m_focusMgr; }
    BOOL AddTimelineHandler(ITimelineHandler* handler) override;
    BOOL RemoveTimelineHandler(ITimelineHandler* handler) override;
    BOOL AddTrackedWindow(SwndHandle handle) override;
    BOOL RemoveTrackedWindow(SwndHandle handle) override;
    void SetZOrderDirty() override { m_zOrderDirty = TRUE; }
    void RebuildZOrder() override;
    LRESULT DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Takes the capture from its window and tells that window, which ends its press or drag.
    void CancelCapture();
    int TimelineHandlerCount() const { return m_timelineHandlers.Count(); }
    // The native window's OLE drop target.
    IDropTarget* DropTargetDispatcher() { return &m_dropTargets; }

protected:
    // The root's handled flag is the container's answer.
    BOOL ContainerHandled() const { return IsMsgHandled(); }

private:
    LRESULT RouteKey(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT RouteWheel(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT RouteMouse(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT RouteSetCursor(LPARAM lParam);
    void OnMouseMove(WPARAM flags, LPARAM lParam);
    void OnMouseLeave();
    void MoveHover(SWindow* oldHover, SWindow* newHover, WPARAM flags, LPARAM lParam, BOOL keepTracked);
    void SendLeave(SWindow* window);
    void UpdateTrackedWindows(POINT pt, BOOL leaveAll);
    // The message's target for its handled flag; sets handled 0 without one.
    LRESULT SendToTarget(SWindow* target, UINT msg, WPARAM wParam, LPARAM lParam);
    static SWindow* Window(SwndHandle handle) { return SWindowMgr::GetWindow(handle); }
    static BOOL Enabled(SWindow* window) { return window && !window->TestDisabled(); }

    SwndHandle m_capture;
    SwndHandle m_hover;
    BOOL m_ncHover;
    CFocusManager m_focusMgr;
    SDropTargetDispatcher m_dropTargets{this};
    BOOL m_zOrderDirty;
    SLinkedList<ITimelineHandler*> m_timelineHandlers;
    SLinkedList<SwndHandle> m_trackedWindows;
    // Each tracked window's node, so that adding and removing one costs the same however many
    // windows are tracked.
    SHashMap<SwndHandle, SLinkedList<SwndHandle>::Node*> m_trackedNodes;
};

} // namespace SKEIN
