#include "render/SBrush_GDI.h"
#include <stdlib.h>

namespace SKEIN {

SBrush_GDI::SBrush_GDI(IRenderFactory* factory, COLORREF color) : Base(factory), m_isBitmap(false), m_color(color)
{
    ReplaceHandle(CreateSolidBrush(color & 0xFFFFFF));
}

SBrush_GDI::SBrush_GDI(IRenderFactory* factory, const IBitmap* pattern) : Base(factory), m_isBitmap(true), m_color(0)
{
    const DWORD* pixels = static_cast<const DWORD*>(pattern->GetPixelBits());
    if (!pixels)
        return;
    size_t count = static_cast<size_t>(pattern->Width()) * pattern->Height();
    BITMAPINFO* packed = static_cast<BITMAPINFO*>(malloc(sizeof(BITMAPINFOHEADER) + count * 4));
    if (!packed)
        return;
    packed->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), pattern->Width(), -pattern->Height(), 1, 32, BI_RGB};
    DWORD* colours = reinterpret_cast<DWORD*>(&packed->bmiHeader + 1);
    for (size_t i = 0; i < count; ++i)
        colours[i] = pixels[i] & 0x00FFFFFF;
    ReplaceHandle(CreateDIBPatternBrushPt(packed, DIB_RGB_COLORS));
    free(packed);
}

} // namespace SKEIN
