#pragma once
// Attribute parsing and skin lookups shared by the basic controls.
#include "core/SString.h"
#include "helper/SPenScope.h"
#include "interface/SSkinobj-i.h"

namespace SKEIN {
namespace ctrl {

// Attribute names compare without regard to case.
inline bool Is(const SStringW& name, const wchar_t* text)
{
    return name.CompareIgnoringCase(text) == 0;
}

// "0" and "false" (any case) are false, anything else true.
bool ParseBool(const SStringW& value);
// Decimal, or hexadecimal with "0x".
int ParseInt(const SStringW& value);
// Index of value in words (exact case), or -1.
int ParseWord(const SStringW& value, const wchar_t* const* words, int count);
// A colour through the named-colour table; false for an empty value.
bool ParseColor(const SStringW& value, COLORREF* color);

// The named skin at scale (null when none); the system skin by index.
ISkinObj* FindSkin(const SStringW& name, int scale);
ISkinObj* FindSystemSkin(int index, int scale);
// The same skin looked up again by name at a new scale; kept when the name finds none.
void RescaleSkin(SRefPtr<ISkinObj>& skin, int scale);
// Width and height of a skin; 0 by 0 without one.
SIZE SkinSize(ISkinObj* skin);

} // namespace ctrl
} // namespace SKEIN
