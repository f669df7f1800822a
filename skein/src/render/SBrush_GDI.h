#pragma once
// GDI brush: solid (a colour) or pattern (a bitmap's pixels, drawn opaque).
#include "render/SRenderObj_GDI.h"

namespace SKEIN {

class SBrush_GDI : public TGdiRenderObjImpl<IBrush, kRenderObjBrush, HBRUSH> {
    typedef TGdiRenderObjImpl<IBrush, kRenderObjBrush, HBRUSH> Base;
    SKEIN_CLASS_NAME(Base, L"brush")
public:
    SBrush_GDI(IRenderFactory* factory, COLORREF color);
    // The pattern's colours; its alpha bytes are dropped so that what GDI paints with it reads
    // as drawn in an alpha scratch DC.
    SBrush_GDI(IRenderFactory* factory, const IBitmap* pattern);

    bool IsBitmap() const { return m_isBitmap; }
    COLORREF GetColor() const { return m_color; }

private:
    bool m_isBitmap;
    COLORREF m_color;
};

} // namespace SKEIN
