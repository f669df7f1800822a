#include "RundelTestSupport.h"

#include <cstdio>
#include <cstring>

namespace RundelTest {
namespace {

const char kOemKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_0C62&PID_2B19";
const char kEffectsKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_0C62&PID_2B19"
    "\\OEMForceFeedback\\Effects";

}  // namespace

void SeedAttributes() {
    for (DWORD id = 0; id < 12; ++id) {
        // {13541C2x-8E33-11D0-9AD0-00A0C9A06E35}, x the effect id in hexadecimal
        char key[sizeof kEffectsKey + 40];
        std::snprintf(key, sizeof key, "%s\\{13541C2%lX-8E33-11D0-9AD0-00A0C9A06E35}", kEffectsKey,
                      static_cast<unsigned long>(id));
        DWORD record[5] = {id, id < 2 ? id + 1 : id < 7 ? 3u : id < 11 ? 4u : 5u, 0x1FF, 0x1FF, 0x30};
        HKEY handle;
        RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
        RegSetValueExA(handle, "Attributes", 0, REG_BINARY, reinterpret_cast<const BYTE*>(record), sizeof record);
        RegCloseKey(handle);
    }
}

void RemoveAttributes() { RegDeleteTreeA(HKEY_CURRENT_USER, kEffectsKey); }

void SetAmplify(DWORD amplify) {
    HKEY handle;
    RegCreateKeyExA(HKEY_CURRENT_USER, kOemKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
    RegSetValueExA(handle, "Amplify", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&amplify), sizeof amplify);
    RegCloseKey(handle);
}

void ClearAmplify() {
    HKEY handle;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOemKey, 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueA(handle, "Amplify");
    RegCloseKey(handle);
}

TestEffect::TestEffect(DWORD axisCount) {
    effect_.dwSize = sizeof effect_;
    effect_.dwFlags = DIEFF_CARTESIAN;
    effect_.dwDuration = INFINITE;
    effect_.dwGain = 10000;
    effect_.dwTriggerButton = DIEB_NOTRIGGER;
    effect_.cAxes = axisCount;
}

TestEffect& TestEffect::Constant(LONG magnitude) {
    DICONSTANTFORCE constant = {magnitude};
    std::memcpy(block_, &constant, sizeof constant);
    effect_.cbTypeSpecificParams = sizeof constant;
    return *this;
}

TestEffect& TestEffect::Ramp(LONG start, LONG end) {
    DIRAMPFORCE ramp = {start, end};
    std::memcpy(block_, &ramp, sizeof ramp);
    effect_.cbTypeSpecificParams = sizeof ramp;
    return *this;
}

TestEffect& TestEffect::Periodic(DWORD magnitude, LONG offset, DWORD phase, DWORD period) {
    DIPERIODIC periodic = {magnitude, offset, phase, period};
    std::memcpy(block_, &periodic, sizeof periodic);
    effect_.cbTypeSpecificParams = sizeof periodic;
    return *this;
}

TestEffect& TestEffect::TypeSpecificSize(DWORD size) {
    effect_.cbTypeSpecificParams = size;
    return *this;
}

TestEffect& TestEffect::Directions(LONG first, LONG second) {
    directions_[0] = first;
    directions_[1] = second;
    return *this;
}

TestEffect& TestEffect::Axes(DWORD first, DWORD second) {
    axes_[0] = first;
    axes_[1] = second;
    return *this;
}

TestEffect& TestEffect::Flags(DWORD flags) {
    effect_.dwFlags = flags;
    return *this;
}

TestEffect& TestEffect::Gain(DWORD gain) {
    effect_.dwGain = gain;
    return *this;
}

TestEffect& TestEffect::Duration(DWORD micros) {
    effect_.dwDuration = micros;
    return *this;
}

TestEffect& TestEffect::Envelope(DWORD attackLevel, DWORD attackTime, DWORD fadeLevel, DWORD fadeTime) {
    hasEnvelope_ = true;
    envelope_ = {sizeof envelope_, attackLevel, attackTime, fadeLevel, fadeTime};
    return *this;
}

const DIEFFECT* TestEffect::Get() {
    effect_.rgdwAxes = effect_.cAxes ? axes_ : nullptr;
    effect_.rglDirection = effect_.cAxes ? directions_ : nullptr;
    effect_.lpEnvelope = hasEnvelope_ ? &envelope_ : nullptr;
    effect_.lpvTypeSpecificParams = effect_.cbTypeSpecificParams ? block_ : nullptr;
    return &effect_;
}

}  // namespace RundelTest
