#pragma once
// Identity of the device that Rundel drives, and the registry keys DirectInput keeps for it.
#include <windows.h>

namespace RundelDevice {

constexpr WORD kVendorId = 0x0C62;
constexpr WORD kProductId = 0x2B19;

// {5B0E27C3-0C62-2B19-9E12-6F4C08D3A27E}: vendor and product id in the second and third groups.
constexpr CLSID kClsid = {0x5B0E27C3, kVendorId, kProductId, {0x9E, 0x12, 0x6F, 0x4C, 0x08, 0xD3, 0xA2, 0x7E}};

// The standard effects, constant force to custom force; an effect's id is its index in that list.
constexpr DWORD kEffectCount = 12;

// "VID_0C62&PID_2B19": the name of the effect lock and of the device's OEM key.
constexpr char kDeviceName[] = "VID_0C62&PID_2B19";

// Under HKEY_CURRENT_USER; holds the value "Amplify".
constexpr char kOemKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_0C62&PID_2B19";

// Under HKEY_CURRENT_USER; one subkey per effect GUID, each with the value "Attributes".
constexpr char kEffectsKey[] =
    "System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_0C62&PID_2B19"
    "\\OEMForceFeedback\\Effects";

}  // namespace RundelDevice
