#pragma once
// Keeps the alpha bytes of an area of a render target's bitmap across a GDI call drawn straight
// onto its DC (GDI leaves alpha 0 behind, and raster operations combine the alpha bytes too).
#include <windows.h>
#include "core/SDynArray.h"
#include "interface/SRender-i.h"

namespace SKEIN {

class SAlphaBackup {
public:
    // bitmap: the one selected into dc. rect in the DC's logical coordinates, right and bottom
    // included; buffer is the caller's reusable store. Nothing is kept for a bitmap without
    // pixels.
    SAlphaBackup(SDynArray<BYTE>& buffer, HDC dc, IBitmap* bitmap, const RECT& rect);
    // Writes the saved alpha bytes back.
    ~SAlphaBackup();
    SAlphaBackup(const SAlphaBackup&) = delete;
    SAlphaBackup& operator=(const SAlphaBackup&) = delete;

private:
    template <class Copy>
    void ForEachAlpha(Copy copy);

    SDynArray<BYTE>& m_buffer;
    BYTE* m_pixels;
    int m_width;
    RECT m_area;
};

} // namespace SKEIN
