#pragma once
// Helpers shared by the panel, scroll bar, slider and tab controls.
#include <windows.h>
#include "core/SString.h"
#include "layout/SLayoutSize.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

// The client point of a mouse message.
inline POINT MousePoint(LPARAM lParam)
{
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Two dimensions joined by one comma, each through the named-dimension table; false (nothing
// changed) for any other number of pieces.
inline bool ParseDimensionPair(const SStringW& value, SLayoutSize& first, SLayoutSize& second)
{
    int comma = value.FindChar(L',');
    if (comma < 0 || value.FindChar(L',', comma + 1) >= 0)
        return false;
    first = ResolveNamedDimension(value.LeftPart(comma).c_str());
    second = ResolveNamedDimension(value.Substring(comma + 1, value.Length() - comma - 1).c_str());
    return true;
}

} // namespace SKEIN
