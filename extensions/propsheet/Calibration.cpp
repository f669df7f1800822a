#include "Calibration.h"

#include <cstdio>

namespace pelko {
namespace {

const REGSAM kAxesAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;
const DWORD kAllKeyAccess = 0xF003F;

const char kJoystickSettings[] =
    "System\\CurrentControlSet\\Control\\MediaResources\\Joystick\\<FixedKey>\\CurrentJoystickSettings";
const char kDeviceClasses[] =
    "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\{4d1e55b2-f16f-11cf-88cb-001111000030}";
const char kDirectInputCalibration[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\DirectInput\\"
    "VID_3A51&PID_0D47\\Calibration";
const char kDeviceParameters[] = "#\\Device Parameters\\DirectX";
const char kDeviceClassesAxes[] = "#\\Device Parameters\\DirectX\\Type\\Axes";
const char kAxes[] = "Type\\Axes";

struct AxisKey {
    const char* name;
    DWORD JOYPOS::*position;
};

const AxisKey kAxisKeys[] = {
    {"0", &JOYPOS::dwX},
    {"1", &JOYPOS::dwY},
    {"2", &JOYPOS::dwZ},
    {"5", &JOYPOS::dwR},
};

class Key {
public:
    Key() = default;
    ~Key()
    {
        if (key_)
            RegCloseKey(key_);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }
    HKEY Take()
    {
        HKEY key = key_;
        key_ = nullptr;
        return key;
    }

private:
    HKEY key_ = nullptr;
};

LONG OpenOrCreate(HKEY parent, const char* path, SECURITY_ATTRIBUTES* security, Key& key)
{
    LONG result = RegOpenKeyExA(parent, path, 0, kAxesAccess, key.Out());
    if (result == ERROR_FILE_NOT_FOUND)
        result = RegCreateKeyExA(parent, path, 0, nullptr, 0, kAxesAccess, security, key.Out(), nullptr);
    return result;
}

bool HasInstanceGuid(HKEY key, const GUID& instance)
{
    GUID stored;
    DWORD size = sizeof stored;
    return RegQueryValueExA(key, "GUID", nullptr, nullptr, reinterpret_cast<BYTE*>(&stored), &size) ==
               ERROR_SUCCESS &&
           size == sizeof stored && IsEqualGUID(stored, instance);
}

bool IsDeviceKey(HKEY device, const CalibrationLocation& location, const GUID& instance)
{
    if (location.layout != CalibrationLayout::DeviceClasses)
        return HasInstanceGuid(device, instance);
    Key parameters;
    return RegOpenKeyExA(device, kDeviceParameters, 0, KEY_READ, parameters.Out()) == ERROR_SUCCESS &&
           HasInstanceGuid(parameters.Get(), instance);
}

// The first subkey of the base whose stored GUID is the instance GUID.
HKEY FindDeviceKey(const CalibrationLocation& location, const GUID& instance)
{
    Key base;
    if (RegOpenKeyExA(location.root, location.base, 0, KEY_READ, base.Out()) != ERROR_SUCCESS)
        return nullptr;
    char name[MAX_PATH];
    for (DWORD index = 0;; ++index) {
        DWORD length = sizeof name;
        if (RegEnumKeyExA(base.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return nullptr;
        Key device;
        if (RegOpenKeyExA(base.Get(), name, 0, kAxesAccess, device.Out()) == ERROR_SUCCESS &&
            IsDeviceKey(device.Get(), location, instance))
            return device.Take();
    }
}

LONG WriteAxis(HKEY axes, const AxisKey& axis, const JOYRANGE& range, SECURITY_ATTRIBUTES* security)
{
    Key key;
    LONG result = OpenOrCreate(axes, axis.name, security, key);
    if (result != ERROR_SUCCESS)
        return result;
    const DWORD values[3] = {range.jpMin.*axis.position, range.jpCenter.*axis.position,
                             range.jpMax.*axis.position};
    return RegSetValueExA(key.Get(), "Calibration", 0, REG_BINARY, reinterpret_cast<const BYTE*>(values),
                          sizeof values);
}

HRESULT WriteAxes(HKEY device, const DIJOYCONFIG_DX5& record, const CalibrationLocation& location)
{
    EveryoneKeyAccess everyone;
    SECURITY_ATTRIBUTES* security = location.everyoneAccess ? everyone.Attributes() : nullptr;
    Key axes;
    LONG result = OpenOrCreate(device, location.axesPath, security, axes);
    if (result != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(result);
    LONG first = ERROR_SUCCESS;
    for (const AxisKey& axis : kAxisKeys) {
        result = WriteAxis(axes.Get(), axis, record.hwc.hwv.jrvHardware, security);
        if (first == ERROR_SUCCESS)
            first = result;
    }
    return HRESULT_FROM_WIN32(first);
}

HRESULT WriteJoystickSettings(const DIJOYCONFIG_DX5& record, DWORD flags, UINT joystickId,
                              const CalibrationLocation& location)
{
    Key settings;
    LONG result = RegOpenKeyExA(location.root, location.base, 0, KEY_SET_VALUE, settings.Out());
    if (result != ERROR_SUCCESS || !(flags & DIJC_REGHWCONFIGTYPE))
        return HRESULT_FROM_WIN32(result);
    char name[32];
    std::snprintf(name, sizeof name, "Joystick%uConfiguration", joystickId + 1);
    result = RegSetValueExA(settings.Get(), name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&record.hwc),
                            sizeof record.hwc);
    return HRESULT_FROM_WIN32(result);
}

} // namespace

EveryoneKeyAccess::EveryoneKeyAccess()
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    ready_ = AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid_) &&
             InitializeAcl(reinterpret_cast<PACL>(acl_), sizeof acl_, ACL_REVISION) &&
             AddAccessAllowedAce(reinterpret_cast<PACL>(acl_), ACL_REVISION, kAllKeyAccess, sid_) &&
             InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             SetSecurityDescriptorDacl(&descriptor_, TRUE, reinterpret_cast<PACL>(acl_), FALSE);
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
}

EveryoneKeyAccess::~EveryoneKeyAccess()
{
    if (sid_)
        FreeSid(sid_);
}

SECURITY_ATTRIBUTES* EveryoneKeyAccess::Attributes()
{
    return ready_ ? &attributes_ : nullptr;
}

int WindowsClassOf(bool known, const OSVERSIONINFOA& version)
{
    if (!known)
        return 0;
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (version.dwMajorVersion != 4)
            return 0;
        return version.dwMinorVersion == 0 ? 2 : version.dwMinorVersion == 90 ? 4 : 3;
    case VER_PLATFORM_WIN32_NT:
        if (version.dwMajorVersion == 3 || version.dwMajorVersion == 4)
            return 5;
        if (version.dwMajorVersion == 5)
            return version.dwMinorVersion == 0 ? 6 : 7;
        return 8;
    }
    return 0;
}

int WindowsClass()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    const bool known = GetVersionExA(&version);
    return WindowsClassOf(known, version);
}

DWORD ParseDirectXVersion(const char* text)
{
    unsigned fields[4];
    if (std::sscanf(text, "%x.%x.%x.%x", &fields[0], &fields[1], &fields[2], &fields[3]) != 4)
        return 0x700;
    return fields[1] * 256 + fields[2];
}

DWORD DirectXVersion()
{
    char text[64] = {};
    DWORD size = sizeof text - 1;
    Key key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\DirectX", 0, KEY_READ, key.Out()) !=
            ERROR_SUCCESS ||
        RegQueryValueExA(key.Get(), "Version", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS)
        return 0x700;
    return ParseDirectXVersion(text);
}

CalibrationLocation CalibrationLocationFor(int windowsClass, DWORD directXVersion)
{
    switch (windowsClass) {
    case 3:
    case 4:
        return {CalibrationLayout::Joystick9x, HKEY_LOCAL_MACHINE, kJoystickSettings, nullptr, false};
    case 6:
    case 7:
        if (directXVersion < 0x801)
            return {CalibrationLayout::DeviceClasses, HKEY_LOCAL_MACHINE, kDeviceClasses, kDeviceClassesAxes, false};
        return {CalibrationLayout::DirectInput, HKEY_LOCAL_MACHINE, kDirectInputCalibration, kAxes, false};
    case 8:
        return {CalibrationLayout::DirectInput, HKEY_CURRENT_USER, kDirectInputCalibration, kAxes, true};
    }
    return {CalibrationLayout::None, nullptr, nullptr, nullptr, false};
}

HRESULT WriteCalibration(const DIJOYCONFIG_DX5& record, DWORD flags, const GUID& instance,
                         UINT joystickId, const CalibrationLocation& location)
{
    switch (location.layout) {
    case CalibrationLayout::None:
        return E_FAIL;
    case CalibrationLayout::Joystick9x:
        return WriteJoystickSettings(record, flags, joystickId, location);
    default:
        break;
    }
    Key device;
    *device.Out() = FindDeviceKey(location, instance);
    if (!device.Get())
        return E_FAIL;
    if (!(flags & DIJC_REGHWCONFIGTYPE))
        return S_OK;
    return WriteAxes(device.Get(), record, location);
}

} // namespace pelko
