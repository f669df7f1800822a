// The five small window classes the property-sheet dialogs place by name.
// Each keeps its whole value in the window's user data (32 bits) and paints
// itself from it.
#pragma once

#include <windows.h>

namespace pelko {

// Registers the classes for the first user and unregisters them when the
// last user lets go, so several sheets can share them.
void AcquireSheetControls(HINSTANCE module);
void ReleaseSheetControls(HINSTANCE module);

// Lamp colour or single-axis bar value.
void SetControlValue(HWND dialog, int id, DWORD value);
// Axes square (0..65535 each) or rumble display (-10000..10000 each).
void SetControlPoint(HWND dialog, int id, int x, int y);
// Hat display: angle in hundredths of a degree (36000 and above: centred);
// b and c are the lengths for the horizontal and vertical directions.
void SetHat(HWND dialog, int id, DWORD angle, int b, int c);

// Drawing colours shared by the controls.
const COLORREF kFrameShadow = 0x9D9DA1;
const COLORREF kFrameLight = 0xE2EFF1;
const COLORREF kLampText = 0xCACACA;
const COLORREF kHatGrey = 0x646464;
const COLORREF kRed = 0x0000FF;

DWORD ControlValue(HWND control);

} // namespace pelko
