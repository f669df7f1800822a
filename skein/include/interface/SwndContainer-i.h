#pragma once
// The container of a window tree (a host window or an item panel): capture, hover and focus
// by handle, the native window, render targets, invalidation, caret, tooltip and timelines.
#include <windows.h>
#include <ole2.h>
#include "core/SString.h"
#include "core/SWindowMgr.h"
#include "interface/SRender-i.h"

namespace SKEIN {

class EventArgs;
class CFocusManager;
class SMessageLoop;
struct IScriptModule;

// Receives the host's 10 ms timeline tick.
struct ITimelineHandler {
    virtual void OnTimelineTick() = 0;
};

struct ISwndContainer : public ITimelineHandler {
    virtual BOOL RegisterDropTarget(SwndHandle handle, IDropTarget* target) = 0;
    virtual BOOL UnregisterDropTarget(SwndHandle handle) = 0;
    // The host's event map; returns whether the event was handled.
    virtual BOOL OnFireEvent(EventArgs* evt) = 0;
    virtual HWND GetHostHwnd() = 0;
    virtual SStringW TranslationContext() const = 0;
    virtual BOOL IsTranslucent() const = 0;
    virtual BOOL IsSendWheel2Hover() const = 0;
    virtual RECT GetContainerRect() const = 0;
    virtual IRenderTarget* AcquireRenderTarget(const RECT* rect, int paintFlags) = 0;
    virtual void ReleaseRenderTarget(IRenderTarget* rt, const RECT* rect, int paintFlags) = 0;
    virtual void InvalidateRect(const RECT* rect) = 0;
    virtual SwndHandle GetCapture() const = 0;
    virtual BOOL ReleaseCapture() = 0;
    // Returns the previous holder.
    virtual SwndHandle SetCapture(SwndHandle handle) = 0;
    virtual void SetFocusedWindow(SwndHandle handle) = 0;
    virtual SwndHandle GetHover() const = 0;
    virtual SwndHandle GetFocus() const = 0;
    virtual BOOL CreateCaret(SwndHandle owner, HBITMAP bitmap, int width, int height) = 0;
    virtual BOOL ShowCaret(BOOL show) = 0;
    virtual BOOL SetCaretPos(int x, int y) = 0;
    virtual BOOL UpdateWindow() = 0;
    virtual void UpdateTooltip() = 0;
    // Container to native-window coordinates.
    virtual void FrameToHost(RECT& rect) const = 0;
    virtual CFocusManager* GetFocusManager() = 0;
    virtual BOOL AddTimelineHandler(ITimelineHandler* handler) = 0;
    virtual BOOL RemoveTimelineHandler(ITimelineHandler* handler) = 0;
    virtual BOOL AddTrackedWindow(SwndHandle handle) = 0;
    virtual BOOL RemoveTrackedWindow(SwndHandle handle) = 0;
    virtual SMessageLoop* GetMessageLoop() = 0;
    virtual void SetZOrderDirty() = 0;
    virtual void RebuildZOrder() = 0;
    virtual IScriptModule* GetScriptModule() = 0;
    // Percent.
    virtual int GetScale() const = 0;
    virtual LRESULT DispatchHostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};

} // namespace SKEIN
