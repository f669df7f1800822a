#include "render/SAlphaScratchDC.h"
#include "render/SDib32.h"

namespace SKEIN {

namespace {

const int kObjectTypes[3] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT};

} // namespace

SScratchSurface::SScratchSurface() : m_dc(nullptr), m_dib(nullptr), m_original(), m_bits(nullptr), m_width(0), m_height(0)
{
}

SScratchSurface::~SScratchSurface()
{
    if (m_dc)
        DeleteDC(m_dc);
    if (m_dib)
        DeleteObject(m_dib);
}

HDC SScratchSurface::Prepare(HDC compatible, int width, int height)
{
    if (!m_dc) {
        m_dc = CreateCompatibleDC(compatible);
        if (!m_dc)
            return nullptr;
        SetBkMode(m_dc, TRANSPARENT);
        for (int i = 0; i < 3; ++i)
            m_original[i] = GetCurrentObject(m_dc, kObjectTypes[i]);
    }
    if (width <= m_width && height <= m_height)
        return m_dc;
    int grownWidth = width > m_width ? width : m_width;
    int grownHeight = height > m_height ? height : m_height;
    void* bits = nullptr;
    HBITMAP dib = CreateDib32(grownWidth, grownHeight, &bits);
    if (!dib)
        return nullptr;
    SelectObject(m_dc, dib);
    if (m_dib)
        DeleteObject(m_dib);
    m_dib = dib;
    m_bits = static_cast<DWORD*>(bits);
    m_width = grownWidth;
    m_height = grownHeight;
    return m_dc;
}

void SScratchSurface::ReleaseObjects(int taken)
{
    for (int i = 0; i < 3; ++i) {
        if (taken & (1 << i))
            SelectObject(m_dc, m_original[i]);
    }
}

SAlphaScratchDC::SAlphaScratchDC(SScratchSurface& surface, HDC target, const RECT& rect, BYTE alpha,
                                 bool copyBackground, int takes)
    : m_surface(surface), m_target(target), m_dc(nullptr), m_rect(), m_alpha(alpha), m_takes(takes)
{
    RECT clip;
    if (::GetClipBox(target, &clip) == ERROR || !IntersectRect(&m_rect, &rect, &clip))
        return;
    int width = m_rect.right - m_rect.left;
    int height = m_rect.bottom - m_rect.top;
    m_dc = surface.Prepare(target, width, height);
    if (!m_dc)
        return;
    SetViewportOrgEx(m_dc, -m_rect.left, -m_rect.top, nullptr);
    for (int i = 0; i < 3; ++i) {
        if (takes & (1 << i))
            SelectObject(m_dc, GetCurrentObject(target, kObjectTypes[i]));
    }
    SetTextColor(m_dc, GetTextColor(target));
    if (copyBackground) {
        BitBlt(m_dc, m_rect.left, m_rect.top, width, height, target, m_rect.left, m_rect.top, SRCCOPY);
        GdiFlush();
        ForEachPixel([](DWORD& pixel) { pixel |= 0xFF000000; });
    } else {
        ForEachPixel([](DWORD& pixel) { pixel = 0xFF000000; });
    }
}

SAlphaScratchDC::~SAlphaScratchDC()
{
    if (!m_dc)
        return;
    GdiFlush();
    ForEachPixel([](DWORD& pixel) { pixel = (pixel >> 24) == 0 ? (pixel | 0xFF000000) : 0; });
    int width = m_rect.right - m_rect.left;
    int height = m_rect.bottom - m_rect.top;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_alpha, AC_SRC_ALPHA};
    GdiAlphaBlend(m_target, m_rect.left, m_rect.top, width, height, m_dc, m_rect.left, m_rect.top, width, height,
                  blend);
    m_surface.ReleaseObjects(m_takes);
}

template <class F>
void SAlphaScratchDC::ForEachPixel(F f)
{
    int width = m_rect.right - m_rect.left;
    for (int y = 0, height = m_rect.bottom - m_rect.top; y < height; ++y) {
        DWORD* row = m_surface.Bits() + static_cast<size_t>(y) * m_surface.Stride();
        for (int x = 0; x < width; ++x)
            f(row[x]);
    }
}

} // namespace SKEIN
