#pragma once
// Recolouring towards the hue and saturation of a colour while keeping light and dark parts,
// on 8-bit integer HSL values: for whole premultiplied bitmaps and for single colours.
#include <windows.h>
#include "interface/SRender-i.h"

namespace SKEIN {

// HSL packed as hue << 16 | saturation << 8 | lightness, each 0..255.
UINT32 RgbToHsl(int red, int green, int blue);
// Red, green and blue of an HSL triple.
void HslToRgb(UINT32 hsl, int* red, int* green, int* blue);

class SColorize {
public:
    // Target hue and saturation from the colour; blend weight 256 * alpha / 255, or 204
    // (0.8) for a colour whose alpha byte is 0.
    explicit SColorize(COLORREF color);

    // One premultiplied pixel, blue in the low byte and alpha in the high byte.
    UINT32 Pixel(UINT32 bgra) const;
    // A packed colour (red in the low byte), transformed as one pixel.
    COLORREF Color(COLORREF color) const;
    // Every pixel, each distinct value transformed once; a bitmap without pixels is left alone.
    void Bitmap(IBitmap* bitmap) const;

    int Weight() const { return m_weight; }

private:
    UINT32 m_hue;
    UINT32 m_saturation;
    int m_weight;
};

} // namespace SKEIN
