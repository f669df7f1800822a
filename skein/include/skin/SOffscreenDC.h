#pragma once
// A memory DC compatible with another DC, with a bitmap selected for its lifetime.
#include <windows.h>

namespace SKEIN {

class SOffscreenDC {
public:
    // Selects bitmap (the old one kept) with the viewport origin at (0, 0); when ownsBitmap,
    // the bitmap is deleted with this object.
    SOffscreenDC(HDC compatibleWith, HBITMAP bitmap, bool ownsBitmap);
    ~SOffscreenDC();
    SOffscreenDC(const SOffscreenDC&) = delete;
    SOffscreenDC& operator=(const SOffscreenDC&) = delete;

    HDC Handle() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_oldBitmap;
    bool m_ownsBitmap;
};

} // namespace SKEIN
