// The property-sheet object as the panel sees it: created through the
// library's class factory, described, handed devices, and released.
#include <gtest/gtest.h>

#include "PelkoFakes.h"
#include "PelkoHarness.h"

namespace pelko_test {
namespace {

const char* const kClassNames[] = {"LampControl", "AxesControl", "PovControl", "RumbleControl",
                                   "SingleAxesControl"};

bool ClassesRegistered(HMODULE module)
{
    for (const char* name : kClassNames) {
        WNDCLASSA wc;
        if (!GetClassInfoA(module, name, &wc))
            return false;
    }
    return true;
}

class PelkoSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        sheet_ = library_.CreateSheet();
        ASSERT_NE(nullptr, sheet_);
    }
    void TearDown() override
    {
        if (sheet_)
            sheet_->Release();
    }

    const PelkoLibrary& library_ = PelkoLibrary::Get();
    IDIGameCntrlPropSheet* sheet_ = nullptr;
};

TEST_F(PelkoSheet, JoystickIdIsUnsetUntilGiven)
{
    EXPECT_EQ(USHORT(-1), sheet_->GetID());
    EXPECT_EQ(S_OK, sheet_->SetID(2));
    EXPECT_EQ(2, sheet_->GetID());
}

TEST_F(PelkoSheet, DescribesFourPagesFromItsOwnDialogs)
{
    DIGCSHEETINFO* info = nullptr;
    ASSERT_EQ(S_OK, sheet_->GetSheetInfo(&info));
    EXPECT_EQ(sizeof(DIGCSHEETINFO), info->size);
    EXPECT_EQ(4, info->pageCount);
    EXPECT_STREQ(L"TAMBRO RACING WHEEL", info->caption);
    EXPECT_TRUE(info->iconFlag);
    EXPECT_EQ(32517u, ULONG_PTR(info->icon));

    DIGCPAGEINFO* pages = nullptr;
    ASSERT_EQ(S_OK, sheet_->GetPageInfo(&pages));
    const ULONG_PTR dialogs[] = {107, 109, 108, 110};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(sizeof(DIGCPAGEINFO), pages[i].size);
        EXPECT_EQ(nullptr, pages[i].title);
        EXPECT_NE(nullptr, pages[i].procedure);
        EXPECT_FALSE(pages[i].procedureFlag);
        EXPECT_EQ(nullptr, pages[i].prePostProcedure);
        EXPECT_EQ(dialogs[i], ULONG_PTR(pages[i].dialogTemplate));
        EXPECT_EQ(LPARAM(sheet_), pages[i].parameter);
        EXPECT_EQ(library_.Module(), pages[i].module);
        EXPECT_NE(nullptr, FindResourceA(pages[i].module, LPCSTR(pages[i].dialogTemplate), LPCSTR(RT_DIALOG)));
    }
}

TEST_F(PelkoSheet, AnswersOnlyItsOwnInterfaces)
{
    void* out = nullptr;
    EXPECT_EQ(S_OK, sheet_->QueryInterface(IID_IUnknown, &out));
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(S_OK, sheet_->QueryInterface(IID_IDIGameCntrlPropSheet, &out));
    static_cast<IUnknown*>(out)->Release();
    out = this;
    EXPECT_EQ(E_NOINTERFACE, sheet_->QueryInterface(IID_IClassFactory, &out));
    EXPECT_EQ(nullptr, out);
}

TEST_F(PelkoSheet, HoldsAReferenceToWhatItIsHandedAndLetsGoOnce)
{
    FakeDevice device, replaced;
    FakeJoyConfig config;
    sheet_->SetDevice(&replaced);
    sheet_->SetDevice(&device);
    sheet_->SetJoyConfig(&config);
    EXPECT_EQ(1, replaced.references) << "a replaced device is let go";
    EXPECT_EQ(2, device.references);
    EXPECT_EQ(2, config.references);

    IDirectInputDevice2A* stored = nullptr;
    IDirectInputJoyConfig* storedConfig = nullptr;
    sheet_->GetDevice(&stored);
    sheet_->GetJoyConfig(&storedConfig);
    EXPECT_EQ(&device, stored);
    EXPECT_EQ(&config, storedConfig);
    EXPECT_EQ(2, device.references) << "getting adds no reference";

    sheet_->Release();
    sheet_ = nullptr;
    EXPECT_EQ(1, device.references);
    EXPECT_EQ(1, device.unacquires);
    EXPECT_EQ(1, config.references);
    EXPECT_EQ(1, config.unacquires);
    EXPECT_EQ(0, replaced.unacquires);
}

TEST_F(PelkoSheet, ControlClassesLiveUntilTheLastSheetGoes)
{
    IDIGameCntrlPropSheet* second = library_.CreateSheet();
    EXPECT_TRUE(ClassesRegistered(library_.Module()));
    sheet_->Release();
    sheet_ = nullptr;
    EXPECT_TRUE(ClassesRegistered(library_.Module())) << "the other sheet still uses them";
    EXPECT_EQ(S_FALSE, library_.CanUnloadNow());
    second->Release();
    for (const char* name : kClassNames) {
        WNDCLASSA wc;
        EXPECT_FALSE(GetClassInfoA(library_.Module(), name, &wc)) << name;
    }
    EXPECT_EQ(S_OK, library_.CanUnloadNow());
}

TEST_F(PelkoSheet, PageProceduresLeaveUnhandledMessagesToTheDialog)
{
    DIGCPAGEINFO* pages = nullptr;
    sheet_->GetPageInfo(&pages);
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(FALSE, pages[i].procedure(window, WM_NCHITTEST, 0, MAKELPARAM(10, 10))) << i;
        EXPECT_EQ(FALSE, pages[i].procedure(window, WM_SETCURSOR, WPARAM(window), HTCLIENT)) << i;
        EXPECT_EQ(FALSE, pages[i].procedure(window, WM_TIMER, 77, 0)) << i;
    }
    DestroyWindow(window);
}

TEST(PelkoServer, ServesOnlyItsClassAndRegistersItsPath)
{
    const PelkoLibrary& library = PelkoLibrary::Get();
    void* out = nullptr;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, library.GetClassObject(IID_IUnknown, IID_IClassFactory, &out));

    ASSERT_EQ(S_OK, library.Register());
    char expected[MAX_PATH], stored[MAX_PATH] = {};
    GetModuleFileNameA(library.Module(), expected, MAX_PATH);
    LONG size = sizeof stored;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueA(HKEY_CLASSES_ROOT,
                                            "CLSID\\{5B0E27C4-3A51-0D47-9E12-6F4C08D3A27E}\\InProcServer32",
                                            stored, &size));
    EXPECT_STREQ(expected, stored);
    library.Unregister();
    HKEY key;
    EXPECT_NE(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{5B0E27C4-3A51-0D47-9E12-6F4C08D3A27E}", 0, KEY_READ, &key));
}

} // namespace
} // namespace pelko_test
