#include "DriverRegistry.h"

#include <dinput.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "ComServer.h"
#include "RundelDevice.h"

namespace DriverRegistry {
namespace {

// The standard effects in list order: the list index is the effect id the driver expects.
const GUID* const kEffectGuids[RundelDevice::kEffectCount] = {
    &GUID_ConstantForce, &GUID_RampForce, &GUID_Square,  &GUID_Sine,    &GUID_Triangle, &GUID_SawtoothUp,
    &GUID_SawtoothDown,  &GUID_Spring,    &GUID_Damper,  &GUID_Inertia, &GUID_Friction, &GUID_CustomForce,
};

bool ReadAttribute(const GUID& effect, DIEFFECTATTRIBUTES* attribute) {
    ComServer::GuidString guid;
    ComServer::GuidText(effect, guid);
    char key[sizeof RundelDevice::kEffectsKey + sizeof guid + 1];
    std::snprintf(key, sizeof key, "%s\\%s", RundelDevice::kEffectsKey, guid);
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    bool read = RegQueryValueExA(handle, "Attributes", nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    std::vector<BYTE> data(size);
    read = read && RegQueryValueExA(handle, "Attributes", nullptr, nullptr, data.data(), &size) == ERROR_SUCCESS;
    RegCloseKey(handle);
    if (!read) return false;
    *attribute = DIEFFECTATTRIBUTES{};
    std::memcpy(attribute, data.data(), size < sizeof *attribute ? size : sizeof *attribute);
    return true;
}

}  // namespace

bool ReadAttributes(DIEFFECTATTRIBUTES (&attributes)[RundelDevice::kEffectCount]) {
    for (DWORD i = 0; i < RundelDevice::kEffectCount; ++i) {
        if (!ReadAttribute(*kEffectGuids[i], &attributes[i])) return false;
    }
    return true;
}

bool ReadAmplify(DWORD* amplify) {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RundelDevice::kOemKey, 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
    BYTE bytes[4] = {};
    DWORD size = sizeof bytes;
    bool read = RegQueryValueExA(handle, "Amplify", nullptr, nullptr, bytes, &size) == ERROR_SUCCESS;
    RegCloseKey(handle);
    if (read) *amplify = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<DWORD>(bytes[3]) << 24;
    return read;
}

}  // namespace DriverRegistry
