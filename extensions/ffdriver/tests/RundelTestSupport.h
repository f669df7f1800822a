#pragma once
// What the Rundel tests share: the registry values the driver reads, and effect descriptions.
#include <windows.h>
#include <dinput.h>

namespace RundelTest {

// The class Rundel serves.
constexpr CLSID kClsid = {0x5B0E27C3, 0x0C62, 0x2B19, {0x9E, 0x12, 0x6F, 0x4C, 0x08, 0xD3, 0xA2, 0x7E}};

// Object ids of the X and Y axes (instance numbers 0 and 1).
constexpr DWORD kAxisX = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(0);
constexpr DWORD kAxisY = DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(1);

// A function that Rundel.dll exports, by name.
template <class Function>
Function ServerExport(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// The twelve effect "Attributes" records the device's installer writes.
void SeedAttributes();
void RemoveAttributes();
// The "Amplify" value under the device's OEM key (REG_DWORD), or none.
void SetAmplify(DWORD amplify);
void ClearAmplify();

// An effect description with arrays, envelope and type-specific block of its own: cartesian,
// full gain, infinite duration, axes X and Y, no envelope, no type-specific block.
class TestEffect {
public:
    explicit TestEffect(DWORD axisCount = 2);
    TestEffect(const TestEffect&) = delete;
    TestEffect& operator=(const TestEffect&) = delete;

    TestEffect& Constant(LONG magnitude);
    TestEffect& Ramp(LONG start, LONG end);
    TestEffect& Periodic(DWORD magnitude, LONG offset, DWORD phase, DWORD period);
    TestEffect& TypeSpecificSize(DWORD size);  // after one of the three above
    TestEffect& Directions(LONG first, LONG second = 0);
    TestEffect& Axes(DWORD first, DWORD second);
    TestEffect& Flags(DWORD flags);
    TestEffect& Gain(DWORD gain);
    TestEffect& Duration(DWORD micros);
    TestEffect& Envelope(DWORD attackLevel, DWORD attackTime, DWORD fadeLevel, DWORD fadeTime);

    // The description, pointing at this object's arrays.
    const DIEFFECT* Get();

private:
    DIEFFECT effect_ = {};
    DWORD axes_[2] = {kAxisX, kAxisY};
    LONG directions_[2] = {1, 0};
    bool hasEnvelope_ = false;
    DIENVELOPE envelope_ = {sizeof(DIENVELOPE)};
    BYTE block_[sizeof(DIPERIODIC)] = {};
};

}  // namespace RundelTest
