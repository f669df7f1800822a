#pragma once
// The second-device look-up: the interface path of the first present HID interface that is the
// companion device (its ids and report layout below). The program runs it once at start and
// keeps the path; nothing reads it yet.
#include <string>
#include "device/DeviceAccess.h"

// Whether a present HID interface is the companion device.
bool IsSecondDevice(const HidInterfaceInfo& info);
// Walks the present HID interfaces and stores the first match's path (empty when none).
void LookUpSecondDevice();
// The stored path.
const std::wstring& SecondDevicePath();
