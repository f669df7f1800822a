#include "skin/SSkinAttr.h"
#include <stdio.h>
#include <stdlib.h>
#include "skin/SSkinEnv.h"

namespace SKEIN {

int SkinAttrInt(const SStringW& text)
{
    const wchar_t* chars = text.c_str();
    if (chars[0] == L'0' && (chars[1] == L'x' || chars[1] == L'X'))
        return static_cast<int>(wcstoul(chars + 2, nullptr, 16));
    return static_cast<int>(wcstol(chars, nullptr, 10));
}

float SkinAttrFloat(const SStringW& text)
{
    float value = 0.0f;
    swscanf(text.c_str(), L"%f", &value);
    return value;
}

bool SkinAttrColor(const SStringW& text, COLORREF* color)
{
    if (text.IsEmptyText())
        return false;
    *color = GetSkinEnv()->ResolveColor(text);
    return true;
}

SStringW SkinAttrString(const SStringW& text)
{
    return GetSkinEnv()->ResolveString(text);
}

SLayoutSize SkinAttrDimension(const SStringW& text)
{
    return GetSkinEnv()->ResolveDimension(text);
}

} // namespace SKEIN
