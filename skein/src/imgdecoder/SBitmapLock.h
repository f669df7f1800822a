#pragma once
// A bitmap's pixels, locked for the lifetime of the object (what the savers read).
#include "interface/SRender-i.h"

namespace SKEIN {

class SBitmapLock {
public:
    explicit SBitmapLock(IBitmap* bitmap)
        : m_bitmap(bitmap), m_bits(static_cast<BYTE*>(bitmap->LockPixelBits())),
          m_width(bitmap->Width() > 0 ? static_cast<UINT>(bitmap->Width()) : 0),
          m_height(bitmap->Height() > 0 ? static_cast<UINT>(bitmap->Height()) : 0)
    {
    }
    ~SBitmapLock() { m_bitmap->UnlockPixelBits(m_bits); }
    SBitmapLock(const SBitmapLock&) = delete;
    SBitmapLock& operator=(const SBitmapLock&) = delete;

    // Null for a bitmap without pixels.
    BYTE* Bits() const { return m_bits; }
    UINT Width() const { return m_width; }
    UINT Height() const { return m_height; }

private:
    IBitmap* m_bitmap;
    BYTE* m_bits;
    UINT m_width;
    UINT m_height;
};

} // namespace SKEIN
