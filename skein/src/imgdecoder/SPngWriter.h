#pragma once
// Writing 8-bit red-green-blue-alpha PNG files through libpng.
#include <windows.h>

namespace SKEIN {

// Writes width x height premultiplied blue-green-red-alpha pixels (rows of width x 4 bytes) as a
// PNG with straight alpha. S_OK; E_INVALIDARG for no pixels or an unusable size; E_FAIL when the
// file cannot be written (a partly written file is removed).
HRESULT WritePngFile(const wchar_t* path, UINT width, UINT height, const BYTE* pixels);

} // namespace SKEIN
