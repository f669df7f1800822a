// Recognising the supported joysticks' interfaces in device notices, and reading a notice's
// name only when the notice is well formed.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <cstddef>
#include <string>
#include <vector>
#include "device/SupportedDevices.h"
#include "support/DeviceNotice.h"

namespace {

const wchar_t kHidSuffix[] = L"#7&2a6b1c3&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

std::wstring HidName(const std::wstring& ids)
{
    return L"\\\\?\\HID#" + ids + kHidSuffix;
}

TEST(DeviceNoticeTest, MatchesOnlyTheFirstInterfaceOfSupportedModels)
{
    struct Case {
        std::wstring name;
        USHORT product;
    } cases[] = {
        {HidName(L"VID_2E7A&PID_1AEB&MI_00"), 6891}, // as the system writes it
        {HidName(L"vid_2e7a&pid_1aeb&mi_00"), 6891},
        {HidName(L"Vid_2e7A&Pid_1Ad3&Mi_00"), 6867},
        {HidName(L"VID_2E7A&PID_1AC4&MI_00"), 6852},
        {HidName(L"VID_2E7A&PID_1AB8&MI_00"), 6840},
        {L"vid_2e7a&pid_1ab8&mi_00", 6840},           // the bare text
        {HidName(L"VID_2E7A&PID_1AEB&MI_01"), 0},     // another interface of the device
        {HidName(L"VID_2E7A&PID_1AEB&COL01"), 0},     // no interface number
        {HidName(L"VID_2E7A&PID_1AEB"), 0},
        {HidName(L"VID_045E&PID_1AEB&MI_00"), 0},     // another vendor
        {HidName(L"VID_2E7A&PID_1AB9&MI_00"), 0},     // another product
        {HidName(L"VID_2E7A&PID_6891&MI_00"), 0},     // the model number is not the hex id
        {HidName(L"VID_845E&PID_0001"), 0},           // Wine's own HID devices
        {L"\\\\?\\HID#VID_2E7A&PID_1AEB&MI_0", 0},    // truncated
        {L"vid_2e7a&pid_1ae", 0},
        {L"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.product, MatchSupportedInterface(c.name)) << std::string(c.name.begin(), c.name.end());
}

TEST(DeviceNoticeTest, ReadsTheNameOfWellFormedInterfaceNotices)
{
    const std::wstring name = HidName(L"VID_2E7A&PID_1AEB&MI_00");
    std::vector<BYTE> notice = InterfaceNotice(name);
    std::wstring read;
    ASSERT_TRUE(ReadInterfaceName(reinterpret_cast<LPARAM>(notice.data()), read));
    EXPECT_EQ(name, read);

    // A stated size beyond the terminator reads up to the terminator.
    notice.resize(notice.size() + 8, 0xCC);
    reinterpret_cast<DEV_BROADCAST_HDR*>(notice.data())->dbch_size = static_cast<DWORD>(notice.size());
    ASSERT_TRUE(ReadInterfaceName(reinterpret_cast<LPARAM>(notice.data()), read));
    EXPECT_EQ(name, read);

    // An empty name fits the bare structure.
    notice = InterfaceNotice(L"");
    EXPECT_EQ(sizeof(DEV_BROADCAST_DEVICEINTERFACE_W), notice.size());
    ASSERT_TRUE(ReadInterfaceName(reinterpret_cast<LPARAM>(notice.data()), read));
    EXPECT_EQ(L"", read);
}

TEST(DeviceNoticeTest, IgnoresMalformedNotices)
{
    const std::wstring name = L"\\\\?\\HID#VID_2E7A&PID_1AEB&MI_00#x";
    const DWORD nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    const DWORD fullSize = static_cast<DWORD>(InterfaceNotice(name).size());
    struct Case {
        const char* what;
        DWORD type;
        DWORD size;
    } cases[] = {
        {"volume notice", DBT_DEVTYP_VOLUME, fullSize},
        {"handle notice", DBT_DEVTYP_HANDLE, fullSize},
        {"size below the header", DBT_DEVTYP_DEVICEINTERFACE, 12},
        {"no room for a name", DBT_DEVTYP_DEVICEINTERFACE, nameOffset},
        {"odd byte of a name", DBT_DEVTYP_DEVICEINTERFACE, nameOffset + 1},
        {"terminator outside the size", DBT_DEVTYP_DEVICEINTERFACE, fullSize - DWORD(sizeof(wchar_t))},
        {"size cuts the name", DBT_DEVTYP_DEVICEINTERFACE, nameOffset + 10 * sizeof(wchar_t)},
        {"size zero", DBT_DEVTYP_DEVICEINTERFACE, 0},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> notice = InterfaceNotice(name);
        auto* header = reinterpret_cast<DEV_BROADCAST_HDR*>(notice.data());
        header->dbch_devicetype = c.type;
        header->dbch_size = c.size;
        std::wstring read = L"untouched";
        EXPECT_FALSE(ReadInterfaceName(reinterpret_cast<LPARAM>(notice.data()), read)) << c.what;
        EXPECT_EQ(L"untouched", read) << c.what;
    }
    std::wstring read;
    EXPECT_FALSE(ReadInterfaceName(0, read));
}

} // namespace
