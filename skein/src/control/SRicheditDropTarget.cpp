#include "control/SRicheditDropTarget.h"

namespace SKEIN {

SRicheditDropTarget::SRicheditDropTarget(ITextServices* services) : m_services(services), m_ref(1)
{
    m_services->AddRef();
}

SRicheditDropTarget::~SRicheditDropTarget()
{
    m_services->Release();
}

HRESULT SRicheditDropTarget::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IDropTarget) {
        *out = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG SRicheditDropTarget::AddRef()
{
    return ++m_ref;
}

ULONG SRicheditDropTarget::Release()
{
    ULONG left = --m_ref;
    if (left == 0)
        delete this;
    return left;
}

template <class Call>
HRESULT SRicheditDropTarget::Forward(Call call)
{
    IDropTarget* target = nullptr;
    HRESULT result = m_services->TxGetDropTarget(&target);
    if (FAILED(result))
        return result;
    if (!target)
        return E_FAIL;
    result = call(target);
    target->Release();
    return result;
}

HRESULT SRicheditDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect)
{
    return Forward([&](IDropTarget* target) {
        HRESULT result = target->DragEnter(data, keys, pt, effect);
        *effect = DROPEFFECT_COPY;
        return result;
    });
}

HRESULT SRicheditDropTarget::DragOver(DWORD keys, POINTL pt, DWORD* effect)
{
    return Forward([&](IDropTarget* target) {
        HRESULT result = target->DragOver(keys, pt, effect);
        *effect = DROPEFFECT_COPY;
        return result;
    });
}

HRESULT SRicheditDropTarget::DragLeave()
{
    return Forward([](IDropTarget* target) { return target->DragLeave(); });
}

HRESULT SRicheditDropTarget::Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect)
{
    if (*effect == DROPEFFECT_NONE)
        return S_FALSE;
    return Forward([&](IDropTarget* target) { return target->Drop(data, keys, pt, effect); });
}

} // namespace SKEIN
