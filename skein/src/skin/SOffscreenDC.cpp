#include "skin/SOffscreenDC.h"

namespace SKEIN {

SOffscreenDC::SOffscreenDC(HDC compatibleWith, HBITMAP bitmap, bool ownsBitmap)
    : m_dc(CreateCompatibleDC(compatibleWith)), m_bitmap(bitmap), m_oldBitmap(nullptr), m_ownsBitmap(ownsBitmap)
{
    if (!m_dc)
        return;
    m_oldBitmap = SelectObject(m_dc, bitmap);
    SetViewportOrgEx(m_dc, 0, 0, nullptr);
}

SOffscreenDC::~SOffscreenDC()
{
    if (m_dc) {
        SelectObject(m_dc, m_oldBitmap);
        DeleteDC(m_dc);
    }
    if (m_ownsBitmap && m_bitmap)
        DeleteObject(m_bitmap);
}

} // namespace SKEIN
