// The stored vibration strength and the two-motor rumble report.
#pragma once

#include <windows.h>

#include <array>

namespace pelko {

// "Amplify" runs 0..1200, where 1200 is full strength.
const DWORD kFullAmplify = 1200;

// The stored strength: the value's 4 bytes whatever its type, at most full; full strength when
// the key or the value is missing or the value is not 4 bytes long.
DWORD ReadAmplify();
// Writes the strength into the device's existing OEM key.
bool WriteAmplify(DWORD amplify);

using RumbleReport = std::array<BYTE, 9>;

// Left and right are motor demands of -10000..10000 (sign ignored).
RumbleReport MakeRumbleReport(BYTE reportId, DWORD amplify, int left, int right);

// Report id of the device's first output value, 0 when it has none.
BYTE OutputReportId(HANDLE device);
// 0 when the whole report was written, else the system's error code.
DWORD SendRumble(HANDLE device, const RumbleReport& report);

} // namespace pelko
