// Where the calibration goes for each Windows version, what is written there,
// and the calibration page driving it in a test sheet.
#include "PelkoPageFixture.h"

#include <string>

#include "Calibration.h"
#include "SheetDevice.h"

namespace pelko_test {
namespace {

const char kDirectInputBase[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\DirectInput\\VID_3A51&PID_0D47\\"
    "Calibration";
const char kDeviceClassesBase[] =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{4d1e55b2-f16f-11cf-88cb-001111000030}";

OSVERSIONINFOA Version(DWORD platform, DWORD major, DWORD minor)
{
    OSVERSIONINFOA v = {};
    v.dwOSVersionInfoSize = sizeof v;
    v.dwPlatformId = platform;
    v.dwMajorVersion = major;
    v.dwMinorVersion = minor;
    return v;
}

TEST(PelkoCalibrationPlace, WindowsClassFollowsPlatformAndVersion)
{
    const struct {
        DWORD platform, major, minor;
        int windowsClass;
    } cases[] = {
        {VER_PLATFORM_WIN32s, 3, 10, 1},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 0, 2},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 10, 3},
        {VER_PLATFORM_WIN32_WINDOWS, 4, 90, 4},
        {VER_PLATFORM_WIN32_WINDOWS, 5, 0, 0},
        {VER_PLATFORM_WIN32_NT, 4, 0, 5},
        {VER_PLATFORM_WIN32_NT, 5, 0, 6},
        {VER_PLATFORM_WIN32_NT, 5, 1, 7},
        {VER_PLATFORM_WIN32_NT, 6, 1, 8},
        {VER_PLATFORM_WIN32_NT, 10, 0, 8},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.windowsClass, pelko::WindowsClassOf(true, Version(c.platform, c.major, c.minor)))
            << c.platform << " " << c.major << "." << c.minor;
    EXPECT_EQ(0, pelko::WindowsClassOf(false, Version(VER_PLATFORM_WIN32_NT, 6, 1)));
}

TEST(PelkoCalibrationPlace, DirectXVersionComesFromTheMiddleFields)
{
    EXPECT_EQ(0x900u, pelko::ParseDirectXVersion("4.09.00.0904"));
    EXPECT_EQ(0x800u, pelko::ParseDirectXVersion("4.08.00.0400"));
    EXPECT_EQ(0x801u, pelko::ParseDirectXVersion("4.08.01.0810"));
    EXPECT_EQ(0x700u, pelko::ParseDirectXVersion("4.09"));
    EXPECT_EQ(0x700u, pelko::ParseDirectXVersion(""));
}

TEST(PelkoCalibrationPlace, LayoutFollowsWindowsClassAndDirectX)
{
    using pelko::CalibrationLayout;
    const struct {
        int windowsClass;
        DWORD directX;
        CalibrationLayout layout;
        HKEY root;
        bool everyone;
    } cases[] = {
        {7, 0x900, CalibrationLayout::DirectInput, HKEY_LOCAL_MACHINE, false},
        {7, 0x800, CalibrationLayout::DeviceClasses, HKEY_LOCAL_MACHINE, false},
        {6, 0x801, CalibrationLayout::DirectInput, HKEY_LOCAL_MACHINE, false},
        {6, 0x700, CalibrationLayout::DeviceClasses, HKEY_LOCAL_MACHINE, false},
        {8, 0x700, CalibrationLayout::DirectInput, HKEY_CURRENT_USER, true},
        {3, 0x900, CalibrationLayout::Joystick9x, HKEY_LOCAL_MACHINE, false},
        {4, 0x900, CalibrationLayout::Joystick9x, HKEY_LOCAL_MACHINE, false},
        {5, 0x900, CalibrationLayout::None, nullptr, false},
        {2, 0x900, CalibrationLayout::None, nullptr, false},
        {0, 0x900, CalibrationLayout::None, nullptr, false},
    };
    for (const auto& c : cases) {
        const pelko::CalibrationLocation location = pelko::CalibrationLocationFor(c.windowsClass, c.directX);
        EXPECT_EQ(c.layout, location.layout) << c.windowsClass << " " << c.directX;
        EXPECT_EQ(c.root, location.root) << c.windowsClass;
        EXPECT_EQ(c.everyone, location.everyoneAccess) << c.windowsClass;
    }
    EXPECT_STREQ(kDeviceClassesBase, pelko::CalibrationLocationFor(7, 0x800).base);
    EXPECT_STREQ(kDirectInputBase, pelko::CalibrationLocationFor(7, 0x900).base);
}

// The stored (minimum, centre, maximum) of one axis key, or nothing.
std::vector<DWORD> StoredAxis(HKEY root, const std::string& axes, const char* axis)
{
    DWORD values[3];
    DWORD size = sizeof values;
    if (RegGetValueA(root, (axes + "\\" + axis).c_str(), "Calibration", RRF_RT_REG_BINARY, nullptr, values,
                     &size) != ERROR_SUCCESS ||
        size != sizeof values)
        return {};
    return {values[0], values[1], values[2]};
}

DWORD SubkeyCount(HKEY root, const std::string& path)
{
    HKEY key;
    DWORD count = DWORD(-1);
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
        RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(key);
    }
    return count;
}

void SeedGuid(HKEY root, const std::string& path, const GUID& guid)
{
    HKEY key;
    RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExA(key, "GUID", 0, REG_BINARY, reinterpret_cast<const BYTE*>(&guid), sizeof guid);
    RegCloseKey(key);
}

DIJOYCONFIG_DX5 Record(DWORD xMin, DWORD xCentre, DWORD xMax, DWORD other)
{
    DIJOYCONFIG_DX5 record = {};
    record.dwSize = sizeof record;
    JOYRANGE& range = record.hwc.hwv.jrvHardware;
    range.jpMin = {xMin, other, other, other, 99, 99};
    range.jpCenter = {xCentre, other + 1, other + 1, other + 1, 99, 99};
    range.jpMax = {xMax, other + 2, other + 2, other + 2, 99, 99};
    return record;
}

const GUID kInstance = {0x11223344, 0x5566, 0x7788, {9, 10, 11, 12, 13, 14, 15, 16}};
const GUID kOtherInstance = {0x99887766, 0x5566, 0x7788, {9, 10, 11, 12, 13, 14, 15, 16}};

// This system keeps no access list given at key creation, so the descriptor
// handed to it is checked instead.
TEST(PelkoCalibrationPlace, NewKeysGiveEveryoneAllKeyAccess)
{
    pelko::EveryoneKeyAccess access;
    const SECURITY_ATTRIBUTES* attributes = access.Attributes();
    ASSERT_NE(nullptr, attributes);
    EXPECT_FALSE(attributes->bInheritHandle);
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    ASSERT_TRUE(GetSecurityDescriptorDacl(attributes->lpSecurityDescriptor, &present, &acl, &defaulted));
    ASSERT_TRUE(present && acl);
    EXPECT_EQ(ACL_REVISION, acl->AclRevision);
    EXPECT_EQ(1024, acl->AclSize);
    ASSERT_EQ(1, acl->AceCount);
    ACCESS_ALLOWED_ACE* ace = nullptr;
    ASSERT_TRUE(GetAce(acl, 0, reinterpret_cast<void**>(&ace)));
    EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, ace->Header.AceType);
    EXPECT_EQ(0xF003Fu, ace->Mask);
    BYTE world[SECURITY_MAX_SID_SIZE];
    DWORD worldSize = sizeof world;
    ASSERT_TRUE(CreateWellKnownSid(WinWorldSid, nullptr, world, &worldSize));
    EXPECT_TRUE(EqualSid(&ace->SidStart, world));
}

class PelkoCalibrationStore : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        DeleteTree(HKEY_CURRENT_USER, kDirectInputBase);
        DeleteTree(HKEY_LOCAL_MACHINE, kDeviceClassesBase);
    }
};

TEST_F(PelkoCalibrationStore, NewerWindowsWritesTheUsersAxisKeys)
{
    SeedGuid(HKEY_CURRENT_USER, std::string(kDirectInputBase) + "\\0", kOtherInstance);
    SeedGuid(HKEY_CURRENT_USER, std::string(kDirectInputBase) + "\\1", kInstance);
    const pelko::CalibrationLocation location = pelko::CalibrationLocationFor(8, 0x900);
    ASSERT_EQ(S_OK, pelko::WriteCalibration(Record(1, 2, 3, 10), DIJC_REGHWCONFIGTYPE, kInstance, 0, location));

    const std::string axes = std::string(kDirectInputBase) + "\\1\\Type\\Axes";
    EXPECT_EQ((std::vector<DWORD>{1, 2, 3}), StoredAxis(HKEY_CURRENT_USER, axes, "0"));
    for (const char* axis : {"1", "2", "5"})
        EXPECT_EQ((std::vector<DWORD>{10, 11, 12}), StoredAxis(HKEY_CURRENT_USER, axes, axis)) << axis;
    EXPECT_EQ(4u, SubkeyCount(HKEY_CURRENT_USER, axes));
    EXPECT_EQ(0u, SubkeyCount(HKEY_CURRENT_USER, std::string(kDirectInputBase) + "\\0")) << "other device";

    ASSERT_EQ(S_OK, pelko::WriteCalibration(Record(4, 5, 6, 20), DIJC_REGHWCONFIGTYPE, kInstance, 0, location));
    EXPECT_EQ((std::vector<DWORD>{4, 5, 6}), StoredAxis(HKEY_CURRENT_USER, axes, "0"));
    EXPECT_EQ((std::vector<DWORD>{20, 21, 22}), StoredAxis(HKEY_CURRENT_USER, axes, "5"));
    EXPECT_EQ(4u, SubkeyCount(HKEY_CURRENT_USER, axes));
    EXPECT_EQ(1u, SubkeyCount(HKEY_CURRENT_USER, std::string(kDirectInputBase) + "\\1\\Type"));
}

TEST_F(PelkoCalibrationStore, OlderDirectXWritesBelowTheDeviceInterface)
{
    const std::string device = std::string(kDeviceClassesBase) + "\\##?#HID#VID_3A51&PID_0D47#1";
    SeedGuid(HKEY_LOCAL_MACHINE, device + "\\#\\Device Parameters\\DirectX", kInstance);
    ASSERT_EQ(S_OK, pelko::WriteCalibration(Record(0, 0x8000, 0xFFFF, 0), DIJC_REGHWCONFIGTYPE, kInstance, 0,
                                            pelko::CalibrationLocationFor(7, 0x800)));
    const std::string axes = device + "\\#\\Device Parameters\\DirectX\\Type\\Axes";
    EXPECT_EQ((std::vector<DWORD>{0, 0x8000, 0xFFFF}), StoredAxis(HKEY_LOCAL_MACHINE, axes, "0"));
    EXPECT_EQ((std::vector<DWORD>{0, 1, 2}), StoredAxis(HKEY_LOCAL_MACHINE, axes, "5"));
}

TEST_F(PelkoCalibrationStore, WritesNothingWithoutItsDeviceOrItsFlag)
{
    SeedGuid(HKEY_CURRENT_USER, std::string(kDirectInputBase) + "\\0", kOtherInstance);
    const pelko::CalibrationLocation location = pelko::CalibrationLocationFor(8, 0x900);
    EXPECT_EQ(E_FAIL, pelko::WriteCalibration(Record(1, 2, 3, 4), DIJC_REGHWCONFIGTYPE, kInstance, 0, location));
    SeedGuid(HKEY_CURRENT_USER, std::string(kDirectInputBase) + "\\1", kInstance);
    EXPECT_EQ(S_OK, pelko::WriteCalibration(Record(1, 2, 3, 4), DIJC_GUIDINSTANCE, kInstance, 0, location));
    EXPECT_EQ(0u, SubkeyCount(HKEY_CURRENT_USER, std::string(kDirectInputBase) + "\\1"));
    EXPECT_EQ(E_FAIL, pelko::WriteCalibration(Record(1, 2, 3, 4), DIJC_REGHWCONFIGTYPE, kInstance, 0,
                                              pelko::CalibrationLocationFor(5, 0x900)));
}

TEST(PelkoDeviceCreation, CooperatesThroughTheSheetWindow)
{
    HWND frame = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND page = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 50, 50, frame, nullptr, nullptr, nullptr);
    FakeDevice device;
    FakeJoyConfig config;
    FakeDirectInput input(device);
    IDirectInputDevice2A* made = nullptr;
    ASSERT_EQ(DI_OK, pelko::CreateDevice(3, page, &input, &config, &made));
    EXPECT_EQ(&device, made);
    EXPECT_EQ(3u, config.lastId);
    EXPECT_EQ(DWORD(DIJC_GUIDINSTANCE), config.lastFlags);
    EXPECT_TRUE(IsEqualGUID(config.instance, input.createdFor));
    EXPECT_EQ(frame, device.cooperativeWindow);
    EXPECT_EQ(DWORD(DISCL_EXCLUSIVE | DISCL_BACKGROUND), device.cooperativeFlags);
    EXPECT_EQ(&c_dfDIJoystick, device.dataFormat);
    made->Release();
    EXPECT_EQ(1, device.references);
    DestroyWindow(frame);
}

// The calibration page on this machine's Windows class.
class PelkoCalibrationPage : public PelkoPage {
protected:
    void SetUp() override
    {
        PelkoPage::SetUp();
        location = pelko::CalibrationLocationFor(pelko::WindowsClass(), pelko::DirectXVersion());
        ASSERT_NE(pelko::CalibrationLayout::None, location.layout);
        Clean();
        std::string device = std::string(location.base) + "\\0";
        if (location.layout == pelko::CalibrationLayout::DeviceClasses)
            device += "\\#\\Device Parameters\\DirectX";
        SeedGuid(location.root, device, config.instance);
        axes = std::string(location.base) + "\\0\\" + location.axesPath;
    }
    void TearDown() override
    {
        Clean();
        PelkoPage::TearDown();
    }
    void Clean() { DeleteTree(location.root, location.base); }

    // Hands the sheet fresh objects, as after a re-creation that this system cannot do.
    void HandOver(FakeDevice& newDevice, FakeJoyConfig& newConfig)
    {
        sheet->SetDevice(&newDevice);
        sheet->SetJoyConfig(&newConfig);
    }

    pelko::CalibrationLocation location = {};
    std::string axes;
};

TEST_F(PelkoCalibrationPage, DefaultThenSetStoresTheDefaultRangeAndRemakesTheDevice)
{
    TestSheet window(sheet);
    window.Select(kCalibrationPage);
    HWND page = window.Page(kCalibrationPage);
    EXPECT_EQ(DWORD(DIJC_REGHWCONFIGTYPE), config.lastFlags) << "the page read the stored configuration";
    EXPECT_EQ(config.acquires, config.unacquires);
    ASSERT_TRUE(PumpUntil([&] { return Text(page, IDC_CAL_X_TEXT) == "128"; }));

    window.Click(kCalibrationPage, IDC_CAL_DEFAULT);
    EXPECT_EQ((std::vector<DWORD>{0, 0x8000, 0xFFFF}), StoredAxis(location.root, axes, "0"));
    for (const char* axis : {"1", "2", "5"})
        EXPECT_EQ((std::vector<DWORD>{0, 128, 255}), StoredAxis(location.root, axes, axis)) << axis;

    // The device is let go to be made anew, which this system's DirectInput cannot do.
    EXPECT_EQ(1, device.references);
    EXPECT_GE(device.unacquires, 1);
    EXPECT_EQ(1, config.references);
    EXPECT_TRUE(PumpUntil(
        [&] { return Text(page, IDC_CAL_STATUS) == "Your game controller is not connected correctly!"; }));
}

TEST_F(PelkoCalibrationPage, SetStoresTheTrackedRangeAndASecondSetOnlyRewrites)
{
    TestSheet window(sheet);
    window.Select(kCalibrationPage);
    HWND page = window.Page(kCalibrationPage);
    for (LONG x : {1000, 60000, 30000}) {
        device.state.lX = x;
        device.state.lY = 10 * 256;
        ASSERT_TRUE(PumpUntil([&] { return Text(page, IDC_CAL_X_TEXT) == std::to_string(x / 256); }));
    }
    EXPECT_EQ("10", Text(page, IDC_CAL_Y_TEXT));
    EXPECT_EQ(DWORD((30000 << 16) | (10 * 256)), UserData(page, IDC_AXES));

    window.Click(kCalibrationPage, IDC_CAL_SET);
    // X from its start value 128 up to the largest X; Y from Y / 256 up to its start value.
    EXPECT_EQ((std::vector<DWORD>{128, 30000, 60000}), StoredAxis(location.root, axes, "0"));
    EXPECT_EQ((std::vector<DWORD>{10, 10, 128}), StoredAxis(location.root, axes, "1"));
    EXPECT_EQ((std::vector<DWORD>{128, 128, 128}), StoredAxis(location.root, axes, "2"));

    FakeDevice secondDevice;
    FakeJoyConfig secondConfig;
    secondDevice.state = device.state;
    secondDevice.state.lX = 40000;
    HandOver(secondDevice, secondConfig);
    ASSERT_TRUE(PumpUntil([&] { return Text(page, IDC_CAL_X_TEXT) == std::to_string(40000 / 256); }));
    window.Click(kCalibrationPage, IDC_CAL_SET);
    EXPECT_EQ((std::vector<DWORD>{128, 40000, 60000}), StoredAxis(location.root, axes, "0"));
    EXPECT_EQ(4u, SubkeyCount(location.root, axes));
}

} // namespace
} // namespace pelko_test
