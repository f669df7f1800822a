#pragma once
// What the driver reads from the registry: the effect attributes the device's installer wrote,
// and the "Amplify" strength of the vibration.
#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include "RundelDevice.h"

namespace DriverRegistry {

// One attribute record per standard effect, in list order; false when any is missing or unreadable.
bool ReadAttributes(DIEFFECTATTRIBUTES (&attributes)[RundelDevice::kEffectCount]);

// The 4-byte little-endian "Amplify" value (a shorter one gives a smaller number); false when
// the key or the value is missing or longer than 4 bytes.
bool ReadAmplify(DWORD* amplify);

}  // namespace DriverRegistry
