#include "render/SDib32.h"

namespace SKEIN {

bool IsDib32SizeValid(int width, int height)
{
    return width > 0 && height > 0 && static_cast<unsigned long long>(width) * height * 4 <= 0x7FFFFFFFull;
}

HBITMAP CreateDib32(int width, int height, void** bits)
{
    *bits = nullptr;
    if (!IsDib32SizeValid(width, height))
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (!dib)
        *bits = nullptr;
    return dib;
}

} // namespace SKEIN
