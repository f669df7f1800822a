#pragma once
// The HID side of opening the device: finding the HID path of DirectInput's device and reading
// the report id of its output reports.
#include <windows.h>

#include <cstddef>

namespace HidDevice {

// The HID device path of DirectInput's joystick `device` (0..15), matched through its instance GUID;
// empty when DirectInput, its joystick configuration or a matching HID interface is missing.
// Paths that do not fit in `size` characters are not taken.
void FindPath(DWORD device, char* path, size_t size);

// Stores the report id of the device's first output value capability; false when it has none.
bool ReadOutputReportId(HANDLE device, BYTE* reportId);

}  // namespace HidDevice
