#pragma once
// GDI pen: style (GDI pen style bits), width and colour.
#include "render/SRenderObj_GDI.h"

namespace SKEIN {

class SPen_GDI : public TGdiRenderObjImpl<IPen, kRenderObjPen, HPEN> {
    typedef TGdiRenderObjImpl<IPen, kRenderObjPen, HPEN> Base;
    SKEIN_CLASS_NAME(Base, L"pen")
public:
    SPen_GDI(IRenderFactory* factory, int style, COLORREF color, int width);

    int GetStyle() const { return m_style; }
    int GetWidth() const { return m_width; }
    COLORREF GetColor() const { return m_color; }

private:
    int m_style;
    int m_width;
    COLORREF m_color;
};

} // namespace SKEIN
