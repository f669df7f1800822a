#include "skin/SColorize.h"
#include "core/SHashMap.h"

namespace SKEIN {

namespace {

int HueDistance(int max, int channel, int delta)
{
    return ((max - channel) * 42 + delta / 2) / delta;
}

int HueChannel(float p, float q, float x)
{
    if (x > 360.0f)
        x -= 360.0f;
    else if (x < 0.0f)
        x += 360.0f;
    float value;
    if (x < 60.0f)
        value = p + (q - p) * x / 60.0f;
    else if (x < 180.0f)
        value = q;
    else if (x < 240.0f)
        value = p + (q - p) * (240.0f - x) / 60.0f;
    else
        value = p;
    return static_cast<int>(value * 255.0f);
}

int Unpremultiply(int channel, int alpha)
{
    int value = channel * 255 / alpha;
    return value > 255 ? 255 : value;
}

} // namespace

UINT32 RgbToHsl(int red, int green, int blue)
{
    int max = red > green ? red : green;
    max = max > blue ? max : blue;
    int min = red < green ? red : green;
    min = min < blue ? min : blue;
    int lightness = ((max + min + 1) * 255) / 510;
    if (max == min)
        return (170u << 16) | static_cast<UINT32>(lightness);

    int delta = max - min;
    int sum = max + min;
    if (lightness >= 128)
        sum = 510 - sum;
    int saturation = (delta * 255 + sum / 2) / sum;
    int redDistance = HueDistance(max, red, delta);
    int greenDistance = HueDistance(max, green, delta);
    int blueDistance = HueDistance(max, blue, delta);
    int hue;
    if (red == max)
        hue = blueDistance - greenDistance;
    else if (green == max)
        hue = 85 + redDistance - blueDistance;
    else
        hue = 170 + greenDistance - redDistance;
    return (static_cast<UINT32>(hue & 0xFF) << 16) | (static_cast<UINT32>(saturation) << 8) |
           static_cast<UINT32>(lightness);
}

void HslToRgb(UINT32 hsl, int* red, int* green, int* blue)
{
    UINT32 hue = (hsl >> 16) & 0xFF;
    UINT32 saturation = (hsl >> 8) & 0xFF;
    float l = static_cast<float>(hsl & 0xFF) / 255.0f;
    if (saturation == 0) {
        *red = *green = *blue = static_cast<int>(l * 255.0f);
        return;
    }
    float s = static_cast<float>(saturation) / 255.0f;
    float q = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
    float p = 2.0f * l - q;
    float h = static_cast<float>(hue) * 360.0f / 255.0f;
    *red = HueChannel(p, q, h + 120.0f);
    *green = HueChannel(p, q, h);
    *blue = HueChannel(p, q, h - 120.0f);
}

SColorize::SColorize(COLORREF color)
{
    UINT32 hsl = RgbToHsl(GetRValue(color), GetGValue(color), GetBValue(color));
    m_hue = (hsl >> 16) & 0xFF;
    m_saturation = (hsl >> 8) & 0xFF;
    int alpha = static_cast<int>(color >> 24);
    float ratio = alpha == 0 ? 0.8f : static_cast<float>(alpha) / 255.0f;
    m_weight = static_cast<int>(ratio * 256.0f);
}

UINT32 SColorize::Pixel(UINT32 bgra) const
{
    int alpha = static_cast<int>(bgra >> 24);
    if (alpha == 0)
        return bgra;
    int blue = bgra & 0xFF;
    int green = (bgra >> 8) & 0xFF;
    int red = (bgra >> 16) & 0xFF;
    if (alpha != 255) {
        blue = Unpremultiply(blue, alpha);
        green = Unpremultiply(green, alpha);
        red = Unpremultiply(red, alpha);
    }
    int newRed, newGreen, newBlue;
    if (m_weight == 256) {
        UINT32 lightness = RgbToHsl(red, green, blue) & 0xFF;
        HslToRgb((m_hue << 16) | (m_saturation << 8) | lightness, &red, &green, &blue);
    } else {
        UINT32 grey = static_cast<UINT32>((red * 306 + green * 601 + blue * 117) >> 10);
        HslToRgb((m_hue << 16) | (m_saturation << 8) | grey, &newRed, &newGreen, &newBlue);
        int keep = 256 - m_weight;
        red = (red * keep + newRed * m_weight) >> 8;
        green = (green * keep + newGreen * m_weight) >> 8;
        blue = (blue * keep + newBlue * m_weight) >> 8;
    }
    if (alpha != 255) {
        red = red * alpha / 255;
        green = green * alpha / 255;
        blue = blue * alpha / 255;
    }
    return static_cast<UINT32>(blue) | (static_cast<UINT32>(green) << 8) | (static_cast<UINT32>(red) << 16) |
           (static_cast<UINT32>(alpha) << 24);
}

COLORREF SColorize::Color(COLORREF color) const
{
    UINT32 pixel = Pixel(GetBValue(color) | (GetGValue(color) << 8) | (GetRValue(color) << 16) | (color & 0xFF000000u));
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF) | (pixel & 0xFF000000u);
}

void SColorize::Bitmap(IBitmap* bitmap) const
{
    if (!bitmap)
        return;
    UINT32* pixels = static_cast<UINT32*>(bitmap->LockPixelBits());
    if (!pixels)
        return;
    SHashMap<UINT32, UINT32> cache(17, 0.75f, 0.25f, 2.25f, 10);
    size_t count = static_cast<size_t>(bitmap->Width()) * static_cast<size_t>(bitmap->Height());
    for (size_t i = 0; i < count; ++i) {
        SHashMap<UINT32, UINT32>::Node* known = cache.Lookup(pixels[i]);
        if (known) {
            pixels[i] = known->value;
            continue;
        }
        UINT32 result = Pixel(pixels[i]);
        cache.SetAt(pixels[i], result);
        pixels[i] = result;
    }
    bitmap->UnlockPixelBits(pixels);
}

} // namespace SKEIN
