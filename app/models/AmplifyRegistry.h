#pragma once
// The vibration strengths the program keeps for itself: HKEY_CURRENT_USER "SOFTWARE\CORVANE",
// values "LeftAmplify" and "RightAmplify", each 4 bytes (REG_BINARY, little-endian).
#include <windows.h>

extern const wchar_t kAmplifyKey[];
extern const wchar_t kLeftAmplifyValue[];
extern const wchar_t kRightAmplifyValue[];

// Writes both values; false when the key cannot be opened or a value not written.
bool WriteAmplify(UINT32 left, UINT32 right);
