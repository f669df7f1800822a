#pragma once
// The 8-bit checksum that guards the settings and profile files.
#include <windows.h>

// The sum of count bytes modulo 256.
BYTE Checksum8(const BYTE* bytes, size_t count);
