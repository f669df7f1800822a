#pragma once
// Passes the OLE drag and drop over a rich edit on to its text services' own drop target.
#include "control/STextServiceHelper.h"

namespace SKEIN {

class SRicheditDropTarget final : public IDropTarget {
public:
    // Holds a reference to services; the new object has one reference.
    explicit SRicheditDropTarget(ITextServices* services);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // Each call fails as the services do when they give no drop target.
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    // A drop whose effect is already none is not passed on (S_FALSE).
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

private:
    ~SRicheditDropTarget();
    SRicheditDropTarget(const SRicheditDropTarget&) = delete;
    SRicheditDropTarget& operator=(const SRicheditDropTarget&) = delete;

    // Calls call with the services' drop target, released afterwards.
    template <class Call>
    HRESULT Forward(Call call);

    ITextServices* m_services;
    ULONG m_ref;
};

} // namespace SKEIN
