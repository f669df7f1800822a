#include "Rumble.h"

#include <algorithm>
#include <cstdlib>

extern "C" {
#include <hidsdi.h>
#include <hidpi.h>
}

namespace pelko {
namespace {

const char kOemKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_3A51&PID_0D47";
const char kAmplify[] = "Amplify";
const USHORT kMaxOutputCaps = 4;

BYTE Strength(DWORD amplify, int demand)
{
    return BYTE(double(amplify) / kFullAmplify * 255 * std::abs(demand) / 10000);
}

} // namespace

DWORD ReadAmplify()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOemKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return kFullAmplify;
    DWORD value = 0, size = sizeof value;
    const LONG result = RegQueryValueExA(key, kAmplify, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size != sizeof value)
        return kFullAmplify;
    return std::min(value, kFullAmplify);
}

bool WriteAmplify(DWORD amplify)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOemKey, 0, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return false;
    const LONG result =
        RegSetValueExA(key, kAmplify, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&amplify), sizeof amplify);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

RumbleReport MakeRumbleReport(BYTE reportId, DWORD amplify, int left, int right)
{
    return {reportId, 0x02, 0x08, Strength(amplify, right), Strength(amplify, left), 0xFF, 0, 0, 0};
}

BYTE OutputReportId(HANDLE device)
{
    PHIDP_PREPARSED_DATA data = nullptr;
    if (!HidD_GetPreparsedData(device, &data))
        return 0;
    HIDP_VALUE_CAPS caps[kMaxOutputCaps] = {};
    USHORT count = kMaxOutputCaps;
    const NTSTATUS status = HidP_GetSpecificValueCaps(HidP_Output, 0, 0, 0, caps, &count, data);
    HidD_FreePreparsedData(data);
    return status == HIDP_STATUS_SUCCESS && count > 0 ? caps[0].ReportID : 0;
}

DWORD SendRumble(HANDLE device, const RumbleReport& report)
{
    DWORD written = 0;
    if (!WriteFile(device, report.data(), DWORD(report.size()), &written, nullptr))
        return GetLastError();
    return written == report.size() ? 0 : GetLastError();
}

} // namespace pelko
