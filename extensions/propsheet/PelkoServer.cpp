// The library's entry points: the class factory of the property sheet and
// the four exported server functions.
#include <new>

#include "CDIGameCntrlPropSheet.h"
#include "CMyIClassFactory.h"
#include "ComServer.h"

namespace pelko {
namespace {

// {5B0E27C4-3A51-0D47-9E12-6F4C08D3A27E}
const CLSID kPelkoClsid = {0x5B0E27C4, 0x3A51, 0x0D47, {0x9E, 0x12, 0x6F, 0x4C, 0x08, 0xD3, 0xA2, 0x7E}};

class PropSheetFactory : public CMyIClassFactory {
protected:
    HRESULT CreateServed(REFIID iid, void** out) override
    {
        CDIGameCntrlPropSheet* sheet = new (std::nothrow) CDIGameCntrlPropSheet;
        if (!sheet)
            return E_OUTOFMEMORY;
        const HRESULT hr = sheet->Initialize();
        if (FAILED(hr)) {
            sheet->Release();
            return hr;
        }
        return HandOut(sheet, iid, out);
    }
};

CMyIClassFactory* NewFactory()
{
    return new (std::nothrow) PropSheetFactory;
}

const ComServerClass kClass = {kPelkoClsid, NewFactory};

} // namespace
} // namespace pelko

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        ComServer::Attach(module);
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return ComServer::CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return ComServer::GetClassObject(pelko::kClass, clsid, iid, out);
}

STDAPI DllRegisterServer()
{
    return ComServer::RegisterServer(pelko::kClass.clsid);
}

STDAPI DllUnregisterServer()
{
    return ComServer::UnregisterServer(pelko::kClass.clsid);
}
