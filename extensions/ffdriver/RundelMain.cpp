// Entry point and exports of Rundel.dll.
#include <windows.h>

#include "CEffectDriverFactory.h"
#include "ComServer.h"
#include "EffectLock.h"
#include "RundelDevice.h"

namespace {

const ComServerClass kServedClass = {RundelDevice::kClsid, &CEffectDriverFactory::Create};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        ComServer::Attach(module);
        return EffectLock::Open();  // no loading without the effect lock
    case DLL_PROCESS_DETACH:
        EffectLock::Close();
        return TRUE;
    default:
        return TRUE;
    }
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    return ComServer::GetClassObject(kServedClass, clsid, iid, out);
}

STDAPI DllCanUnloadNow() { return ComServer::CanUnloadNow(); }

STDAPI DllRegisterServer() { return ComServer::RegisterServer(kServedClass.clsid); }

STDAPI DllUnregisterServer() { return ComServer::UnregisterServer(kServedClass.clsid); }
