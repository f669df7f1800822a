#include "core/SDropTargetDispatcher.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

SDropTargetDispatcher::SDropTargetDispatcher(SWindow* root) : m_targets(17), m_data(nullptr), m_hover(0), m_root(root)
{
}

SDropTargetDispatcher::~SDropTargetDispatcher()
{
    ReleaseData();
    for (auto* node = m_targets.FirstNode(); node; node = m_targets.NextNode(node))
        node->value->Release();
    m_targets.RemoveAll();
}

BOOL SDropTargetDispatcher::Register(SwndHandle handle, IDropTarget* target)
{
    if (!target || m_targets.Lookup(handle) || !m_targets.SetAt(handle, target))
        return FALSE;
    target->AddRef();
    return TRUE;
}

BOOL SDropTargetDispatcher::Unregister(SwndHandle handle)
{
    auto* node = m_targets.Lookup(handle);
    if (!node)
        return FALSE;
    IDropTarget* target = node->value;
    m_targets.RemoveNode(node);
    target->Release();
    return TRUE;
}

IDropTarget* SDropTargetDispatcher::TargetOf(SwndHandle handle) const
{
    auto* node = handle ? m_targets.Lookup(handle) : nullptr;
    return node ? node->value : nullptr;
}

SwndHandle SDropTargetDispatcher::WindowAt(POINTL pt) const
{
    POINT client = {pt.x, pt.y};
    ISwndContainer* container = m_root->GetHostContainer();
    ::ScreenToClient(container ? container->GetHostHwnd() : nullptr, &client);
    return m_root->FindWindowAtPoint(client, FALSE);
}

void SDropTargetDispatcher::ReleaseData()
{
    if (m_data)
        m_data->Release();
    m_data = nullptr;
}

HRESULT SDropTargetDispatcher::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *out = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

// A data object still kept from an earlier drag is dropped first.
HRESULT SDropTargetDispatcher::DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect)
{
    if (data)
        data->AddRef();
    ReleaseData();
    m_data = data;
    return DragOver(keys, pt, effect);
}

HRESULT SDropTargetDispatcher::DragOver(DWORD keys, POINTL pt, DWORD* effect)
{
    *effect = DROPEFFECT_NONE;
    SwndHandle window = WindowAt(pt);
    if (window == m_hover) {
        if (IDropTarget* target = TargetOf(window))
            target->DragOver(keys, pt, effect);
        return S_OK;
    }
    if (IDropTarget* old = TargetOf(m_hover))
        old->DragLeave();
    m_hover = window;
    if (IDropTarget* target = TargetOf(window))
        target->DragEnter(m_data, keys, pt, effect);
    return S_OK;
}

// The hovered window's target leaves too, so no target keeps the state of a drag that left.
HRESULT SDropTargetDispatcher::DragLeave()
{
    if (IDropTarget* target = TargetOf(m_hover))
        target->DragLeave();
    m_hover = 0;
    ReleaseData();
    return S_OK;
}

HRESULT SDropTargetDispatcher::Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect)
{
    if (IDropTarget* target = TargetOf(m_hover))
        target->Drop(data, keys, pt, effect);
    m_hover = 0;
    ReleaseData();
    return S_OK;
}

} // namespace SKEIN
