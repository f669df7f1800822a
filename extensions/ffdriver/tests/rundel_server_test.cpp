// Rundel.dll as COM loads it: exports, class factory, unload counting and registration.
#include <gtest/gtest.h>

#include <dinput.h>
#include <dinputd.h>

#include <string>

#include "RundelTestSupport.h"

namespace {

using RundelTest::kClsid;
const char kClassKey[] = "CLSID\\{5B0E27C3-0C62-2B19-9E12-6F4C08D3A27E}";
const char kServerKey[] = "CLSID\\{5B0E27C3-0C62-2B19-9E12-6F4C08D3A27E}\\InProcServer32";

using GetClassObjectFn = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);
using ServerFn = HRESULT(WINAPI*)();

class RundelServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA("Rundel.dll");
        ASSERT_NE(nullptr, module_);
        getClassObject_ = RundelTest::ServerExport<GetClassObjectFn>(module_, "DllGetClassObject");
        canUnloadNow_ = RundelTest::ServerExport<ServerFn>(module_, "DllCanUnloadNow");
        RundelTest::SeedAttributes();
    }

    IClassFactory* Factory() {
        void* out = nullptr;
        EXPECT_EQ(S_OK, getClassObject_(kClsid, IID_IClassFactory, &out));
        return static_cast<IClassFactory*>(out);
    }

    static IDirectInputEffectDriver* Create(IClassFactory* factory, HRESULT expected = S_OK) {
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(expected, factory->CreateInstance(nullptr, IID_IDirectInputEffectDriver, &out));
        EXPECT_EQ(expected == S_OK, out != nullptr);
        return static_cast<IDirectInputEffectDriver*>(out);
    }

    HMODULE module_ = nullptr;
    GetClassObjectFn getClassObject_ = nullptr;
    ServerFn canUnloadNow_ = nullptr;
};

std::string ReadString(const char* key, const char* name) {
    char data[MAX_PATH] = {};
    DWORD size = sizeof data, type = 0;
    if (RegGetValueA(HKEY_CLASSES_ROOT, key, name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS) return "<none>";
    return type == REG_SZ ? data : "<not a string>";
}

bool KeyExists(const char* key) {
    HKEY handle;
    if (RegOpenKeyA(HKEY_CLASSES_ROOT, key, &handle) != ERROR_SUCCESS) return false;
    RegCloseKey(handle);
    return true;
}

DWORD RunRegsvr32(const std::string& arguments) {
    std::string command = "regsvr32.exe " + arguments;
    STARTUPINFOA startup = {sizeof startup};
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return GetLastError();
    WaitForSingleObject(process.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

}  // namespace

TEST(RundelLoadTest, RefusesToLoadWhenItsEffectLockCannotBeMade) {
    if (GetModuleHandleA("Rundel.dll")) GTEST_SKIP() << "already loaded by this process";
    HANDLE squatter = CreateMutexA(nullptr, FALSE, "VID_0C62&PID_2B19");  // takes the event's name
    ASSERT_NE(nullptr, squatter);
    EXPECT_EQ(nullptr, LoadLibraryA("Rundel.dll"));
    CloseHandle(squatter);
    EXPECT_NE(nullptr, LoadLibraryA("Rundel.dll"));
}

TEST_F(RundelServerTest, ExportsTheFourServerFunctionsByOrdinal) {
    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"};
    for (WORD ordinal = 1; ordinal <= 4; ++ordinal) {
        FARPROC byName = GetProcAddress(module_, names[ordinal - 1]);
        EXPECT_NE(nullptr, byName) << names[ordinal - 1];
        EXPECT_EQ(byName, GetProcAddress(module_, MAKEINTRESOURCEA(ordinal))) << ordinal;
    }
    EXPECT_EQ(nullptr, GetProcAddress(module_, MAKEINTRESOURCEA(5)));

    auto* base = reinterpret_cast<const BYTE*>(module_);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(
        base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress);
    EXPECT_STREQ("Rundel.dll", reinterpret_cast<const char*>(base + exports->Name));
    EXPECT_EQ(1u, exports->Base);
}

TEST_F(RundelServerTest, GetClassObjectCodes) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject_(IID_IDirectInputEffectDriver, IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, getClassObject_(kClsid, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);

    IClassFactory* factory = Factory();
    ASSERT_NE(nullptr, factory);
    EXPECT_EQ(2u, factory->AddRef());
    factory->Release();
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(factory, IID_IUnknown, &out));
    EXPECT_EQ(nullptr, out);
    EXPECT_EQ(0u, factory->Release());
}

TEST_F(RundelServerTest, StartupFailsWithoutEffectAttributesAndTheFactoryCanTryAgain) {
    RundelTest::RemoveAttributes();
    IClassFactory* factory = Factory();
    Create(factory, E_FAIL);
    EXPECT_EQ(S_FALSE, canUnloadNow_());  // the factory only

    RundelTest::SeedAttributes();
    IDirectInputEffectDriver* driver = Create(factory);
    ASSERT_NE(nullptr, driver);
    driver->Release();
    factory->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(RundelServerTest, OneDriverAtATimeAndANewOneAfterItIsGone) {
    IClassFactory* factory = Factory();
    IDirectInputEffectDriver* first = Create(factory);
    IDirectInputEffectDriver* second = Create(factory);
    EXPECT_EQ(first, second);
    second->Release();

    RundelTest::TestEffect effect;
    DWORD handle = 0;
    ASSERT_EQ(S_OK, first->DownloadEffect(0, 0, &handle, effect.Constant(5000).Get(), DIEP_ALLPARAMS));
    EXPECT_EQ(1u, handle);
    EXPECT_EQ(0u, first->Release());

    // The next driver is a new one: its start-up emptied the effect table.
    IDirectInputEffectDriver* third = Create(factory);
    handle = 0;
    ASSERT_EQ(S_OK, third->DownloadEffect(0, 0, &handle, effect.Get(), DIEP_ALLPARAMS));
    EXPECT_EQ(1u, handle);
    factory->Release();  // the driver keeps working without its factory
    EXPECT_EQ(S_OK, third->StartEffect(0, handle, 0, 1));
    EXPECT_EQ(0u, third->Release());
}

TEST_F(RundelServerTest, CanUnloadOnlyWithoutFactoryDriverOrLock) {
    EXPECT_EQ(S_OK, canUnloadNow_());
    IClassFactory* factory = Factory();
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    IDirectInputEffectDriver* driver = Create(factory);
    factory->LockServer(TRUE);
    factory->Release();
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    driver->Release();
    EXPECT_EQ(S_FALSE, canUnloadNow_());  // the server lock
    factory = Factory();
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(RundelServerTest, Regsvr32WritesAndRemovesTheClassKeys) {
    char path[MAX_PATH];
    ASSERT_LT(0u, GetModuleFileNameA(module_, path, MAX_PATH));
    std::string quoted = std::string("\"") + path + "\"";

    ASSERT_EQ(0u, RunRegsvr32("/s " + quoted));
    EXPECT_EQ("", ReadString(kClassKey, nullptr));
    EXPECT_EQ(path, ReadString(kServerKey, nullptr));
    EXPECT_EQ("Both", ReadString(kServerKey, "ThreadingModel"));

    RunRegsvr32("/s /u " + quoted);  // S_FALSE by design: two rows share one key
    EXPECT_FALSE(KeyExists(kServerKey));
    EXPECT_FALSE(KeyExists(kClassKey));
}
