#pragma once
// The one OLE drop target of a container: windowless windows register their own IDropTarget
// under their handle, and the OLE calls go to the registered target of the window under the
// cursor, with enter and leave as the cursor moves between windows. Owned by its container,
// so AddRef and Release change nothing.
#include <windows.h>
#include <ole2.h>
#include "core/SHashMap.h"
#include "core/SWindowMgr.h"

namespace SKEIN {

class SWindow;

class SDropTargetDispatcher : public IDropTarget {
public:
    // root: the container's root window, whose native window receives the drag.
    explicit SDropTargetDispatcher(SWindow* root);
    virtual ~SDropTargetDispatcher();
    SDropTargetDispatcher(const SDropTargetDispatcher&) = delete;
    SDropTargetDispatcher& operator=(const SDropTargetDispatcher&) = delete;

    // FALSE when handle is registered already (the first target stays).
    BOOL Register(SwndHandle handle, IDropTarget* target);
    // FALSE when handle is not registered.
    BOOL Unregister(SwndHandle handle);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

private:
    IDropTarget* TargetOf(SwndHandle handle) const;
    // The window under pt (screen coordinates).
    SwndHandle WindowAt(POINTL pt) const;
    void ReleaseData();

    SHashMap<SwndHandle, IDropTarget*> m_targets;
    IDataObject* m_data;
    SwndHandle m_hover;
    SWindow* m_root;
};

} // namespace SKEIN
