#include "CEffectDriverFactory.h"

#include <new>

#include "CMyDIEffectDriver.h"

CMyIClassFactory* CEffectDriverFactory::Create() { return new (std::nothrow) CEffectDriverFactory; }

void CEffectDriverFactory::Forget(CMyDIEffectDriver* driver) {
    AcquireSRWLockExclusive(&lock_);
    if (driver_ == driver) driver_ = nullptr;
    ReleaseSRWLockExclusive(&lock_);
}

CMyDIEffectDriver* CEffectDriverFactory::TakeDriver(bool* fresh) {
    AcquireSRWLockExclusive(&lock_);
    *fresh = !driver_ || !driver_->TryAddRef();
    if (*fresh) driver_ = new (std::nothrow) CMyDIEffectDriver(this);
    CMyDIEffectDriver* driver = driver_;
    ReleaseSRWLockExclusive(&lock_);
    return driver;
}

HRESULT CEffectDriverFactory::CreateServed(REFIID iid, void** out) {
    bool fresh;
    CMyDIEffectDriver* driver = TakeDriver(&fresh);
    if (!driver) return E_OUTOFMEMORY;
    if (fresh) {
        HRESULT hr = driver->Startup();
        if (FAILED(hr)) {
            driver->Release();  // the dying driver makes the factory forget it
            return hr;
        }
    }
    return HandOut(driver, iid, out);
}
