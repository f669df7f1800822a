#include "CMyIClassFactory.h"

#include "ComServer.h"

CMyIClassFactory::CMyIClassFactory() { ComServer::LockModule(); }

CMyIClassFactory::~CMyIClassFactory() { ComServer::UnlockModule(); }

STDMETHODIMP CMyIClassFactory::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CMyIClassFactory::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) CMyIClassFactory::Release() {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP CMyIClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return CreateServed(iid, out);
}

STDMETHODIMP CMyIClassFactory::LockServer(BOOL lock) {
    if (lock)
        ComServer::LockModule();
    else
        ComServer::UnlockModule();
    return S_OK;
}

HRESULT CMyIClassFactory::HandOut(IUnknown* object, REFIID iid, void** out) {
    HRESULT hr = object->QueryInterface(iid, out);
    object->Release();
    return hr;
}
