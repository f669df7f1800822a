#pragma once
// Size arithmetic, hashing and identifier comparison shared by strings and containers.
#include <windows.h>
#include <string.h>

namespace SKEIN {

// Sizes are 32-bit on every architecture; a sum or product that does not fit fails.
inline HRESULT SafeAddSize(UINT32& out, UINT32 a, UINT32 b)
{
    if (a > 0xFFFFFFFFu - b)
        return E_INVALIDARG;
    out = a + b;
    return S_OK;
}

inline HRESULT SafeMulSize(UINT32& out, UINT32 a, UINT32 b)
{
    if (b != 0 && a > 0xFFFFFFFFu / b)
        return E_INVALIDARG;
    out = a * b;
    return S_OK;
}

// h = h * 33 + c over the UTF-16 units, wrapping at 32 bits.
inline UINT32 HashWideString(const wchar_t* text)
{
    UINT32 h = 0;
    if (text) {
        for (; *text; ++text)
            h = h * 33 + static_cast<UINT32>(*text);
    }
    return h;
}

inline int GuidEquals(const GUID& a, const GUID& b)
{
    return memcmp(&a, &b, sizeof(GUID)) == 0 ? 1 : 0;
}

} // namespace SKEIN
