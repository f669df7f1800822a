#pragma once
// Little-endian fields of the archive and icon formats.
#include <windows.h>

namespace SKEIN {

inline UINT16 U16(const BYTE* p)
{
    return static_cast<UINT16>(p[0] | (p[1] << 8));
}

inline UINT32 U32(const BYTE* p)
{
    return static_cast<UINT32>(U16(p)) | (static_cast<UINT32>(U16(p + 2)) << 16);
}

} // namespace SKEIN
