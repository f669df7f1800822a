// The COM server skeleton with a small served class of the test's own.
#include <gtest/gtest.h>

#include <string>

#include "CMyIClassFactory.h"
#include "ComServer.h"

namespace {

const CLSID kClsid = {0x5B0E27C5, 0x7E11, 0x4A02, {0x9E, 0x12, 0x6F, 0x4C, 0x08, 0xD3, 0xA2, 0x7F}};
const char kClassKey[] = "CLSID\\{5B0E27C5-7E11-4A02-9E12-6F4C08D3A27F}";
const char kServerKey[] = "CLSID\\{5B0E27C5-7E11-4A02-9E12-6F4C08D3A27F}\\InProcServer32";

class Served final : public IUnknown {
public:
    Served() { ComServer::LockModule(); }
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!IsEqualIID(iid, IID_IUnknown)) {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        *out = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override {
        ULONG refs = --refs_;
        if (refs == 0) delete this;
        return refs;
    }

private:
    ~Served() { ComServer::UnlockModule(); }
    ULONG refs_ = 1;
};

class Factory final : public CMyIClassFactory {
public:
    static CMyIClassFactory* Create() { return new Factory; }

private:
    HRESULT CreateServed(REFIID iid, void** out) override { return HandOut(new Served, iid, out); }
};

const ComServerClass kServed = {kClsid, &Factory::Create};

IClassFactory* GetFactory() {
    void* out = nullptr;
    EXPECT_EQ(S_OK, ComServer::GetClassObject(kServed, kClsid, IID_IClassFactory, &out));
    return static_cast<IClassFactory*>(out);
}

std::string ReadString(const char* key, const char* name) {
    char data[MAX_PATH] = {};
    HKEY handle;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, key, &handle) != ERROR_SUCCESS) return "<no key>";
    DWORD type = 0, length = sizeof data;
    LONG result = RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(data), &length);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS || type != REG_SZ) return "<no value>";
    return data;
}

bool KeyExists(const char* key) {
    HKEY handle;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, key, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

}  // namespace

TEST(ComServerTest, GetClassObjectAnswersOnlyItsClassAndTheFactoryInterface) {
    const CLSID other = {0x5B0E27C3, 0x0C62, 0x2B19, {0x9E, 0x12, 0x6F, 0x4C, 0x08, 0xD3, 0xA2, 0x7E}};
    struct Case {
        const CLSID& clsid;
        const IID& iid;
        HRESULT expected;
    } cases[] = {
        {other, IID_IClassFactory, CLASS_E_CLASSNOTAVAILABLE},
        {kClsid, IID_IUnknown, E_NOINTERFACE},
        {kClsid, IID_IDispatch, E_NOINTERFACE},
        {kClsid, IID_IClassFactory, S_OK},
    };
    for (const Case& c : cases) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(c.expected, ComServer::GetClassObject(kServed, c.clsid, c.iid, &out));
        EXPECT_EQ(c.expected == S_OK, out != nullptr);
        if (out) static_cast<IUnknown*>(out)->Release();
    }
    EXPECT_EQ(S_OK, ComServer::CanUnloadNow());
}

TEST(ComServerTest, FactoryComesWithOneReferenceHeldByTheCaller) {
    IClassFactory* factory = GetFactory();
    EXPECT_EQ(2u, factory->AddRef());
    EXPECT_EQ(1u, factory->Release());
    EXPECT_EQ(0u, factory->Release());
    EXPECT_EQ(S_OK, ComServer::CanUnloadNow());
}

TEST(ComServerTest, FactoryInterfacesAndAggregation) {
    IClassFactory* factory = GetFactory();
    void* out = nullptr;
    EXPECT_EQ(S_OK, factory->QueryInterface(IID_IUnknown, &out));
    EXPECT_EQ(static_cast<void*>(factory), out);
    factory->Release();
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->QueryInterface(IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);

    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IDispatch, &out));
    EXPECT_EQ(nullptr, out);
    factory->Release();
}

TEST(ComServerTest, CanUnloadOnlyWhenNoFactoryObjectOrLockRemains) {
    EXPECT_EQ(S_OK, ComServer::CanUnloadNow());
    IClassFactory* factory = GetFactory();
    EXPECT_EQ(S_FALSE, ComServer::CanUnloadNow());

    void* object = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IUnknown, &object));
    factory->LockServer(TRUE);
    factory->Release();
    EXPECT_EQ(S_FALSE, ComServer::CanUnloadNow());  // object and lock
    static_cast<IUnknown*>(object)->Release();
    EXPECT_EQ(S_FALSE, ComServer::CanUnloadNow());  // lock

    factory = GetFactory();
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(S_OK, ComServer::CanUnloadNow());
}

TEST(ComServerTest, RegistrationWritesThreeRowsAndUnregistrationRemovesThem) {
    ComServer::Attach(GetModuleHandleA(nullptr));
    char modulePath[MAX_PATH];
    GetModuleFileNameA(nullptr, modulePath, MAX_PATH);

    ASSERT_EQ(S_OK, ComServer::RegisterServer(kClsid));
    EXPECT_EQ("", ReadString(kClassKey, nullptr));
    EXPECT_EQ(modulePath, ReadString(kServerKey, nullptr));
    EXPECT_EQ("Both", ReadString(kServerKey, "ThreadingModel"));

    // The last two rows share one key: its second delete fails.
    EXPECT_EQ(S_FALSE, ComServer::UnregisterServer(kClsid));
    EXPECT_FALSE(KeyExists(kServerKey));
    EXPECT_FALSE(KeyExists(kClassKey));
}

TEST(ComServerTest, FailedRowRollsBackEveryRow) {
    ComServer::Attach(GetModuleHandleA(nullptr));
    // A volatile class key takes row 1 but refuses the lasting server key of row 2.
    HKEY volatileKey;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, kClassKey, 0, nullptr, REG_OPTION_VOLATILE,
                                             KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr));
    RegCloseKey(volatileKey);

    EXPECT_EQ(E_FAIL, ComServer::RegisterServer(kClsid));
    EXPECT_FALSE(KeyExists(kServerKey));
    EXPECT_FALSE(KeyExists(kClassKey));
}

TEST(ComServerTest, GuidTextIsUpperCaseRegistryForm) {
    ComServer::GuidString text;
    ComServer::GuidText(kClsid, text);
    EXPECT_STREQ("{5B0E27C5-7E11-4A02-9E12-6F4C08D3A27F}", text);
}
