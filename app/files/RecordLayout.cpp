#include "files/RecordLayout.h"
#include <string.h>
#include "files/Checksum8.h"

namespace {

UINT16 ReadU16(const BYTE* p)
{
    return static_cast<UINT16>(p[0] | (p[1] << 8));
}

BYTE RangeSum(const BYTE* image, const RecordLayout& layout)
{
    return Checksum8(image + layout.sumBegin, layout.sumEnd - layout.sumBegin);
}

} // namespace

bool IsValidRecord(const BYTE* image, const RecordLayout& layout, UINT16 productId)
{
    if (layout.vendorAt != kNoIds &&
        (ReadU16(image + layout.vendorAt) != kVendorId || ReadU16(image + layout.productAt) != productId))
        return false;
    return image[layout.checksumAt] == RangeSum(image, layout);
}

void StampChecksum(BYTE* image, const RecordLayout& layout)
{
    image[layout.checksumAt] = RangeSum(image, layout);
}

std::vector<BYTE> FileImage(const BYTE* image, const RecordLayout& layout)
{
    std::vector<BYTE> copy(image, image + layout.size);
    for (DWORD i = 0; i < layout.memoryOnlyCount; ++i)
        memset(copy.data() + layout.memoryOnly[i], 0, sizeof(UINT32));
    StampChecksum(copy.data(), layout);
    return copy;
}

void TakeOver(BYTE* live, const BYTE* read, const RecordLayout& layout)
{
    memcpy(live + layout.copyBegin, read + layout.copyBegin, layout.copyEnd - layout.copyBegin);
    StampChecksum(live, layout);
}
