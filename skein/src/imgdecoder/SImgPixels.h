#pragma once
// Pixel-block sizes and the conversions between straight and premultiplied alpha shared by the
// image-decoder back ends.
#include <windows.h>
#include <stddef.h>

namespace SKEIN {

// Largest pixel block one image may take, all frames together.
const size_t kMaxImageBytes = 512u << 20;

// Bytes of `frames` frames of width x height 32-bit pixels; false (nothing computed) when a side or
// the frame count is 0 or the block would exceed kMaxImageBytes.
bool ImageBytes(UINT width, UINT height, UINT frames, size_t* bytes);

// malloc of ImageBytes(width, height, frames); null when the size is refused or memory runs out.
BYTE* AllocImage(UINT width, UINT height, UINT frames);

// Straight blue, green, red, alpha to premultiplied; src and dst may be the same.
void PremultiplyBGRA(const BYTE* src, BYTE* dst, size_t count);

// Straight red, green, blue, alpha to premultiplied blue, green, red, alpha; in place allowed.
void PremultiplyRGBAToBGRA(const BYTE* src, BYTE* dst, size_t count);

// Premultiplied blue, green, red, alpha to straight red, green, blue, alpha; the exact inverse of
// the premultiplication above, so that the pixels come back unchanged when decoded again.
void UnpremultiplyBGRAToRGBA(const BYTE* src, BYTE* dst, size_t count);

} // namespace SKEIN
