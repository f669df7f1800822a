#include "render/SAlphaBackup.h"

namespace SKEIN {

SAlphaBackup::SAlphaBackup(SDynArray<BYTE>& buffer, HDC dc, IBitmap* bitmap, const RECT& rect)
    : m_buffer(buffer), m_pixels(nullptr), m_width(bitmap->Width()), m_area()
{
    POINT origin;
    GetViewportOrgEx(dc, &origin);
    RECT area = {rect.left + origin.x, rect.top + origin.y, rect.right + 1 + origin.x, rect.bottom + 1 + origin.y};
    RECT bounds = {0, 0, bitmap->Width(), bitmap->Height()};
    if (!IntersectRect(&m_area, &area, &bounds))
        return;
    int count = (m_area.right - m_area.left) * (m_area.bottom - m_area.top);
    if (m_buffer.Count() < count && !m_buffer.Resize(count))
        return;
    m_pixels = static_cast<BYTE*>(bitmap->LockPixelBits());
    ForEachAlpha([](BYTE& alpha, BYTE& saved) { saved = alpha; });
}

SAlphaBackup::~SAlphaBackup()
{
    if (!m_pixels)
        return;
    GdiFlush();
    ForEachAlpha([](BYTE& alpha, BYTE& saved) { alpha = saved; });
}

template <class Copy>
void SAlphaBackup::ForEachAlpha(Copy copy)
{
    BYTE* saved = m_buffer.ItemAt(0);
    for (int y = m_area.top; y < m_area.bottom; ++y) {
        BYTE* pixel = m_pixels + (static_cast<size_t>(y) * m_width + m_area.left) * 4 + 3;
        for (int x = m_area.left; x < m_area.right; ++x, pixel += 4)
            copy(*pixel, *saved++);
    }
}

} // namespace SKEIN
