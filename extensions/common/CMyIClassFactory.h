#pragma once
// Class factory of the extension libraries: reference counting, interface queries, aggregation
// refusal and server locks. A library derives from it and supplies CreateServed().
#include <windows.h>
#include <unknwn.h>

class CMyIClassFactory : public IClassFactory {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

protected:
    CMyIClassFactory();  // one reference, held by the creator
    virtual ~CMyIClassFactory();

    // Makes (or finds) the served object and queries it for iid into out, which is already null.
    virtual HRESULT CreateServed(REFIID iid, void** out) = 0;

    // Queries object for iid into out and drops the caller's reference; returns the query's result.
    static HRESULT HandOut(IUnknown* object, REFIID iid, void** out);

private:
    LONG refs_ = 1;
};
