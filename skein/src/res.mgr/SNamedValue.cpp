#include "res.mgr/SNamedValue.h"
#include <stdio.h>

namespace SKEIN {

namespace {

// text begins with prefix (exact case); rest is what follows it.
bool SplitPrefix(const wchar_t* text, const wchar_t* prefix, const wchar_t*& rest)
{
    size_t length = wcslen(prefix);
    if (!text || wcsncmp(text, prefix, length) != 0)
        return false;
    rest = text + length;
    return true;
}

} // namespace

bool SColorParser::Parse(const wchar_t* text, UINT32& color)
{
    SStringW lower(text);
    lower.LowerInPlace();
    int r = 255, g = 255, b = 255, a = 255;
    int read = 0;
    if (lower.StartsWith(SStringW(L"#"))) {
        unsigned int hex[4] = {255, 255, 255, 255};
        read = swscanf(lower.c_str(), L"#%02x%02x%02x%02x", &hex[0], &hex[1], &hex[2], &hex[3]);
        r = static_cast<int>(hex[0]);
        g = static_cast<int>(hex[1]);
        b = static_cast<int>(hex[2]);
        a = static_cast<int>(hex[3]);
    } else if (lower.StartsWith(SStringW(L"rgba"))) {
        read = swscanf(lower.c_str(), L"rgba(%d,%d,%d,%d)", &r, &g, &b, &a);
    } else if (lower.StartsWith(SStringW(L"rgb"))) {
        read = swscanf(lower.c_str(), L"rgb(%d,%d,%d)", &r, &g, &b);
    }
    if (read != 3 && read != 4)
        return false;
    color = (r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16 | static_cast<UINT32>(a & 0xFF) << 24;
    return true;
}

bool SStringParser::Parse(const wchar_t* text, SStringW& value)
{
    value = text;
    return true;
}

bool SDimensionParser::Parse(const wchar_t* text, SLayoutSize& value)
{
    value = SLayoutSize(text);
    return true;
}

bool SIntParser::Parse(const wchar_t* text, int& value)
{
    value = _wtol(text);
    return true;
}

SStringW SNamedString::Resolve(const wchar_t* text) const
{
    const wchar_t* name;
    return SplitPrefix(text, L"@string/", name) ? Find(name) : SStringW(text);
}

UINT32 SNamedColor::Resolve(const wchar_t* text) const
{
    const wchar_t* name;
    if (SplitPrefix(text, L"@color/", name))
        return Find(name);
    UINT32 color;
    return SColorParser::Parse(text, color) ? color : kNoColor;
}

SLayoutSize SNamedDimension::Resolve(const wchar_t* text) const
{
    const wchar_t* name;
    return SplitPrefix(text, L"@dim/", name) ? Find(name) : SLayoutSize(text);
}

} // namespace SKEIN
