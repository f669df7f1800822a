// The hat display: a circle with a centre dot and an arrow pointing in the
// hat's direction.
#pragma once

#include <windows.h>

namespace pelko {

void PaintHat(HWND control, HDC dc, const RECT& client);
// Invalidates the areas of the old and the new arrow after a value change.
void InvalidateHatArrow(HWND control);
void ForgetHatArrow(HWND control);

} // namespace pelko
