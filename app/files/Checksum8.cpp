#include "files/Checksum8.h"

BYTE Checksum8(const BYTE* bytes, size_t count)
{
    BYTE sum = 0;
    for (size_t i = 0; i < count; ++i)
        sum = static_cast<BYTE>(sum + bytes[i]);
    return sum;
}
