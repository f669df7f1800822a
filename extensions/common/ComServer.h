#pragma once
// In-process COM server skeleton shared by the extension libraries: module handle, the
// library-wide object count, DllGetClassObject / DllCanUnloadNow logic and the registration rows
// under HKEY_CLASSES_ROOT.
//
// How a library plugs in:
//  1. Derive its class factory from CMyIClassFactory (CMyIClassFactory.h) and implement
//     CreateServed(); each served object calls ComServer::LockModule() in its constructor and
//     ComServer::UnlockModule() in its destructor.
//  2. Describe itself in one ComServerClass: its CLSID and a function that makes a new factory.
//  3. Call ComServer::Attach(module) from DllMain at process attach.
//  4. Define the four exports by forwarding, and export them by ordinal in its .def file
//     (1 DllCanUnloadNow, 2 DllGetClassObject, 3 DllRegisterServer, 4 DllUnregisterServer):
//       STDAPI DllGetClassObject(REFCLSID c, REFIID i, void** o) { return ComServer::GetClassObject(kClass, c, i, o); }
//       STDAPI DllCanUnloadNow() { return ComServer::CanUnloadNow(); }
//       STDAPI DllRegisterServer() { return ComServer::RegisterServer(kClass.clsid); }
//       STDAPI DllUnregisterServer() { return ComServer::UnregisterServer(kClass.clsid); }
#include <windows.h>
#include <objbase.h>

class CMyIClassFactory;

struct ComServerClass {
    CLSID clsid;                         // the one class the library serves
    CMyIClassFactory* (*newFactory)();   // a new factory holding one reference, or null
};

namespace ComServer {

// Text of a GUID as registry keys write it: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
using GuidString = char[39];
void GuidText(REFGUID guid, GuidString& text);

void Attach(HMODULE module);
HMODULE Module();

// The library-wide count of factories, served objects and server locks.
void LockModule();
void UnlockModule();

HRESULT GetClassObject(const ComServerClass& served, REFCLSID clsid, REFIID iid, void** out);
HRESULT CanUnloadNow();

// Writes "CLSID\{clsid}" (empty default value) and its "InProcServer32" key (module path,
// ThreadingModel "Both"); a failed row rolls back every row and gives E_FAIL.
HRESULT RegisterServer(REFCLSID clsid);
// Deletes the rows' keys, last row first; S_FALSE when any delete failed (the last two rows share
// one key, so a complete unregistration gives S_FALSE).
HRESULT UnregisterServer(REFCLSID clsid);

}  // namespace ComServer
