#include "imgdecoder/SImgPixels.h"
#include <stdlib.h>
#include <string.h>

namespace SKEIN {

bool ImageBytes(UINT width, UINT height, UINT frames, size_t* bytes)
{
    if (width == 0 || height == 0 || frames == 0)
        return false;
    // each product is checked against the cap before the next one, so none can wrap
    unsigned long long total = 4ull * width;
    if (total > kMaxImageBytes)
        return false;
    total *= height;
    if (total > kMaxImageBytes)
        return false;
    total *= frames;
    if (total > kMaxImageBytes)
        return false;
    *bytes = static_cast<size_t>(total);
    return true;
}

BYTE* AllocImage(UINT width, UINT height, UINT frames)
{
    size_t bytes = 0;
    if (!ImageBytes(width, height, frames, &bytes))
        return nullptr;
    return static_cast<BYTE*>(malloc(bytes));
}

static inline BYTE Scale(BYTE c, BYTE a)
{
    return static_cast<BYTE>(c * a / 255);
}

void PremultiplyBGRA(const BYTE* src, BYTE* dst, size_t count)
{
    for (size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        BYTE a = src[3];
        if (a == 255) {
            memmove(dst, src, 4);
        } else {
            dst[0] = Scale(src[0], a);
            dst[1] = Scale(src[1], a);
            dst[2] = Scale(src[2], a);
            dst[3] = a;
        }
    }
}

void PremultiplyRGBAToBGRA(const BYTE* src, BYTE* dst, size_t count)
{
    for (size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        BYTE r = src[0], g = src[1], b = src[2], a = src[3];
        dst[0] = Scale(b, a);
        dst[1] = Scale(g, a);
        dst[2] = Scale(r, a);
        dst[3] = a;
    }
}

// The smallest straight value that Scale takes back to c, so premultiplied pixels survive a
// round trip through straight alpha unchanged.
static inline BYTE Unscale(BYTE c, BYTE a)
{
    unsigned v = (c * 255u + a - 1u) / a;
    return static_cast<BYTE>(v > 255 ? 255 : v);
}

void UnpremultiplyBGRAToRGBA(const BYTE* src, BYTE* dst, size_t count)
{
    for (size_t i = 0; i < count; ++i, src += 4, dst += 4) {
        BYTE b = src[0], g = src[1], r = src[2], a = src[3];
        if (a == 0) {
            dst[0] = dst[1] = dst[2] = dst[3] = 0;
        } else {
            dst[0] = Unscale(r, a);
            dst[1] = Unscale(g, a);
            dst[2] = Unscale(b, a);
            dst[3] = a;
        }
    }
}

} // namespace SKEIN
