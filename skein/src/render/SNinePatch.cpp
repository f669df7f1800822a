#include "render/SNinePatch.h"

namespace SKEIN {

bool SNinePatchAxis::Compute(int destStart, int destEnd, int srcStart, int srcEnd, int marginStart, int marginEnd)
{
    dest[0] = destStart;
    dest[1] = destStart + marginStart;
    dest[2] = destEnd - marginEnd;
    dest[3] = destEnd;
    src[0] = srcStart;
    src[1] = srcStart + marginStart;
    src[2] = srcEnd - marginEnd;
    src[3] = srcEnd;
    if (src[0] > src[1] || src[1] > src[2] || src[2] > src[3])
        return false;
    int extent = destEnd - destStart;
    if (extent >= marginStart + marginEnd)
        return true;
    if (marginStart >= extent) {
        // only the start part, cut to the destination
        src[1] = src[2] = src[3] = srcStart + extent;
        dest[1] = dest[2] = dest[3] = destEnd;
    } else if (marginEnd < extent) {
        // no middle; the end part shrinks to what is left
        dest[2] = dest[1];
        src[2] = srcEnd - (destEnd - dest[1]);
    } else {
        // only the end part, cut to the destination
        src[0] = src[1] = src[2] = srcEnd - extent;
        dest[0] = dest[1] = dest[2] = destEnd - extent;
    }
    return true;
}

} // namespace SKEIN
