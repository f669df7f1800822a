#pragma once
// 32-bit top-down DIB sections, the pixel store of every bitmap and scratch buffer.
#include <windows.h>

namespace SKEIN {

// width, height > 0 with at most 2 GB of pixels
bool IsDib32SizeValid(int width, int height);

// A zero-filled width x height DIB section; null when the size is not valid or GDI can't make
// it. bits receives the pixel memory.
HBITMAP CreateDib32(int width, int height, void** bits);

} // namespace SKEIN
