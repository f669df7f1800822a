#include "render/SPen_GDI.h"

namespace SKEIN {

SPen_GDI::SPen_GDI(IRenderFactory* factory, int style, COLORREF color, int width)
    : Base(factory), m_style(style), m_width(width), m_color(color)
{
    COLORREF rgb = color & 0xFFFFFF;
    if (style & PS_GEOMETRIC) {
        LOGBRUSH brush = {BS_SOLID, rgb, 0};
        ReplaceHandle(ExtCreatePen(style, width, &brush, 0, nullptr));
    } else {
        ReplaceHandle(::CreatePen(style, width, rgb));
    }
}

} // namespace SKEIN
