#pragma once
// The periodic rumble tick: every 35 ms the playing effects of each open device are advanced,
// their forces added up into two motor strengths, and the device is sent its 9-byte rumble
// report: report id, 0x02, 0x08, right motor, left motor, 0xFF, 0, 0, 0.
#include <windows.h>

#include "DeviceTable.h"

class RumblePort;

namespace RumbleTick {

constexpr UINT kPeriodMs = 35;

// The process has one timer that runs the tick, whatever number of drivers opened devices: the
// first holder starts it; when the last one lets go it is killed, once a running pass has ended.
void Hold();
void Drop();

// One pass over the open devices of the table under the effect lock, at one reading of the clock.
void Run();

// Writes the rumble report; 0 when every byte was written, otherwise the error code.
DWORD SendReport(const DeviceRecord& record, BYTE right, BYTE left, RumblePort& port);

}  // namespace RumbleTick
