#pragma once
// The motor level (0..254) of a vibration strength.
#include <windows.h>

// The scale of a full-strength test (the settings pages' preview).
const UINT32 kFullVibrationScale = 10000;

// trunc(strength × 2.55 / 10000 × scale), left to right in double precision, with the strength
// in percent clamped to 0..100 and scale to 0..10000: 95 % gives 242, 50 % 127, 100 % 254.
BYTE VibrationLevel(UINT32 strengthPercent, UINT32 scale = kFullVibrationScale);
