// The sheet's DirectInput device: made for the sheet's joystick id, re-made
// after a calibration, and the HID file behind it.
#pragma once

#include "DirectInput7.h"

namespace pelko {

class CDIGameCntrlPropSheet;

// S_OK when it made the device, S_FALSE when the sheet already had both
// objects, or the failing DirectInput call's error.
HRESULT PrepareDevice(CDIGameCntrlPropSheet* sheet, HWND parent);
// Releases the sheet's objects and makes both anew.
HRESULT RecreateDevice(CDIGameCntrlPropSheet* sheet, HWND parent);
// Cooperation is set on the top-level window that holds parent.
HRESULT CreateDevice(UINT joystickId, HWND parent, IDirectInputA* input,
                     IDirectInputJoyConfig* config, IDirectInputDevice2A** device);

bool DeviceHidPath(IDirectInputDevice2A* device, WCHAR (&path)[MAX_PATH]);
// Null when the device has no HID path or the file does not open.
HANDLE OpenDeviceFile(IDirectInputDevice2A* device);

// The device is there when it can be acquired; no device is not there.
bool AcquireDevice(IDirectInputDevice2A* device);

} // namespace pelko
