#pragma once
// Code-page conversions between the wide and narrow strings, and splitting.
#include "core/SDynArray.h"
#include "core/SString.h"

namespace SKEIN {

// Whole-length conversions (embedded NULs travel along); a failure gives the empty string.
SStringW StringA2W(const SStringA& text, UINT codePage = CP_ACP);
SStringA StringW2A(const SStringW& text, UINT codePage = CP_ACP);
SStringW StringW2W(const SStringW& text, UINT codePage = CP_ACP);

// Appends every non-empty piece between separators; returns the array's count.
int SplitByChar(const SStringW& text, wchar_t separator, SDynArray<SStringW>& pieces);

} // namespace SKEIN
