#include "ComServer.h"

#include <cstdio>
#include <cstring>

#include "CMyIClassFactory.h"

namespace ComServer {
namespace {

HMODULE g_module = nullptr;
LONG g_objects = 0;

// One registration row: a value under a key of HKEY_CLASSES_ROOT; null data stands for the
// module path.
struct RegRow {
    bool serverKey;         // "...\InProcServer32" rather than the class key
    const char* valueName;  // null: the default value
    const char* data;
};

const RegRow kRows[] = {
    {false, nullptr, ""},
    {true, nullptr, nullptr},
    {true, "ThreadingModel", "Both"},
};

constexpr size_t kKeyLength = 64;

void RowKey(REFCLSID clsid, const RegRow& row, char (&key)[kKeyLength]) {
    GuidString text;
    GuidText(clsid, text);
    std::snprintf(key, sizeof key, row.serverKey ? "CLSID\\%s\\InProcServer32" : "CLSID\\%s", text);
}

bool WriteRow(const char* key, const RegRow& row, const char* modulePath) {
    HKEY handle;
    if (RegCreateKeyA(HKEY_CLASSES_ROOT, key, &handle) != ERROR_SUCCESS) return false;
    const char* data = row.data ? row.data : modulePath;
    LONG result = RegSetValueExA(handle, row.valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                                 static_cast<DWORD>(std::strlen(data) + 1));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

}  // namespace

void GuidText(REFGUID guid, GuidString& text) {
    std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
}

void Attach(HMODULE module) { g_module = module; }

HMODULE Module() { return g_module; }

void LockModule() { InterlockedIncrement(&g_objects); }

void UnlockModule() { InterlockedDecrement(&g_objects); }

HRESULT CanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

HRESULT GetClassObject(const ComServerClass& served, REFCLSID clsid, REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(clsid, served.clsid)) return CLASS_E_CLASSNOTAVAILABLE;
    if (!IsEqualIID(iid, IID_IClassFactory)) return E_NOINTERFACE;
    CMyIClassFactory* factory = served.newFactory();
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
}

HRESULT RegisterServer(REFCLSID clsid) {
    char modulePath[MAX_PATH];
    DWORD length = GetModuleFileNameA(g_module, modulePath, MAX_PATH);
    bool written = length > 0 && length < MAX_PATH;
    for (const RegRow& row : kRows) {
        if (!written) break;
        char key[kKeyLength];
        RowKey(clsid, row, key);
        written = WriteRow(key, row, modulePath);
    }
    if (written) return S_OK;
    UnregisterServer(clsid);
    return E_FAIL;
}

HRESULT UnregisterServer(REFCLSID clsid) {
    HRESULT hr = S_OK;
    for (size_t i = sizeof kRows / sizeof kRows[0]; i-- > 0;) {
        char key[kKeyLength];
        RowKey(clsid, kRows[i], key);
        if (RegDeleteKeyA(HKEY_CLASSES_ROOT, key) != ERROR_SUCCESS) hr = S_FALSE;
    }
    return hr;
}

}  // namespace ComServer
