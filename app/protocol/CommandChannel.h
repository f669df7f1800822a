#pragma once
// The channel to the current joystick: its HID device file, opened for one batch of feature
// reports (or for one vibration test, overlapped) and closed when its owner lets it go.
#include <memory>
#include "device/DeviceAccess.h"

class CDirectInputJoy;

// Null without a current device, without its interface path, or when the path cannot be
// opened: a channel that did not open is no channel.
std::unique_ptr<IHidChannel> OpenCommandChannel(CDirectInputJoy& joy, bool overlapped = false);
