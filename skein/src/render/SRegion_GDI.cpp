#include "render/SRegion_GDI.h"

namespace SKEIN {

SRegion_GDI::SRegion_GDI(IRenderFactory* factory) : Base(factory)
{
    ReplaceHandle(CreateRectRgn(0, 0, 0, 0));
}

// RGN_COPY makes the region a copy of the other one; the other modes combine this region with it.
void SRegion_GDI::CombineWith(HRGN other, int mode)
{
    if (mode == RGN_COPY)
        ::CombineRgn(m_handle, other, nullptr, RGN_COPY);
    else
        ::CombineRgn(m_handle, m_handle, other, mode);
}

void SRegion_GDI::CombineShape(HRGN shape, int mode)
{
    if (!shape)
        return;
    CombineWith(shape, mode);
    DeleteObject(shape);
}

void SRegion_GDI::CombineRect(const RECT* rect, int mode)
{
    CombineShape(CreateRectRgnIndirect(rect), mode);
}

void SRegion_GDI::CombineRgn(const IRegion* region, int mode)
{
    CombineWith(static_cast<const SRegion_GDI*>(region)->GetHandle(), mode);
}

void SRegion_GDI::CombineRoundRect(const RECT* rect, POINT corner, int mode)
{
    CombineShape(CreateRoundRectRgn(rect->left, rect->top, rect->right, rect->bottom, corner.x, corner.y), mode);
}

void SRegion_GDI::CombineEllipse(const RECT* rect, int mode)
{
    CombineShape(CreateEllipticRgnIndirect(rect), mode);
}

BOOL SRegion_GDI::PtInRegion(int x, int y) const
{
    return ::PtInRegion(m_handle, x, y);
}

BOOL SRegion_GDI::RectInRegion(const RECT* rect) const
{
    return ::RectInRegion(m_handle, rect);
}

void SRegion_GDI::GetRgnBox(RECT* box) const
{
    ::GetRgnBox(m_handle, box);
}

BOOL SRegion_GDI::IsEmpty() const
{
    RECT box;
    ::GetRgnBox(m_handle, &box);
    return box.right == box.left || box.bottom == box.top;
}

void SRegion_GDI::Offset(POINT offset)
{
    OffsetRgn(m_handle, offset.x, offset.y);
}

void SRegion_GDI::Clear()
{
    SetRectRgn(m_handle, 0, 0, 0, 0);
}

void SRegion_GDI::CopyFromHandle(HRGN region)
{
    CombineWith(region, RGN_COPY);
}

} // namespace SKEIN
