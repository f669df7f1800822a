#pragma once
// Rundel's class factory: it hands out one driver at a time. While the driver it made lives, every
// CreateInstance returns that driver; once the driver is gone (it tells the factory), the next
// call makes and starts a new one.
#include <windows.h>

#include "CMyIClassFactory.h"

class CMyDIEffectDriver;

class CEffectDriverFactory final : public CMyIClassFactory {
public:
    static CMyIClassFactory* Create();

    // Called by a driver that is being destroyed.
    void Forget(CMyDIEffectDriver* driver);

private:
    HRESULT CreateServed(REFIID iid, void** out) override;
    // The live driver with a new reference, or a new driver (null without memory); fresh tells which.
    CMyDIEffectDriver* TakeDriver(bool* fresh);

    SRWLOCK lock_ = SRWLOCK_INIT;
    CMyDIEffectDriver* driver_ = nullptr;  // not owned
};
