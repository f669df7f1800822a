#pragma once
// GDI writes alpha 0 into every pixel it touches in a 32-bit bitmap. Shapes and text are
// therefore drawn into a scratch DC whose pixels start at alpha 255: on closing, the pixels GDI
// touched (alpha now 0) become opaque, the rest fully transparent, and the scratch is blended
// onto the target with a constant alpha. So what GDI draws lands fully covering (scaled by the
// constant alpha) and nothing else in the rectangle changes.
#include <windows.h>

namespace SKEIN {

// The DC and 32-bit DIB behind the scratch, kept by a render target from one drawing operation
// to the next; it grows to the largest area drawn so far.
class SScratchSurface {
public:
    SScratchSurface();
    ~SScratchSurface();
    SScratchSurface(const SScratchSurface&) = delete;
    SScratchSurface& operator=(const SScratchSurface&) = delete;

    // A DC with at least width x height pixels; null when it can't be made.
    HDC Prepare(HDC compatible, int width, int height);
    DWORD* Bits() const { return m_bits; }
    int Stride() const { return m_width; }
    // Puts the DC's own pen, brush and font back, so no object of the caller stays selected.
    void ReleaseObjects(int taken);

private:
    HDC m_dc;
    HBITMAP m_dib;
    HGDIOBJ m_original[3];
    DWORD* m_bits;
    int m_width;
    int m_height;
};

class SAlphaScratchDC {
public:
    // What the scratch takes over from the target besides its text colour.
    enum { kTakePen = 1, kTakeBrush = 2, kTakeFont = 4 };

    // rect in the target's logical coordinates; the scratch covers its part inside the target's
    // clip box. copyBackground draws over a copy of the target's pixels (for anti-aliased
    // edges and ClearType text).
    SAlphaScratchDC(SScratchSurface& surface, HDC target, const RECT& rect, BYTE alpha, bool copyBackground,
                    int takes);
    ~SAlphaScratchDC();
    SAlphaScratchDC(const SAlphaScratchDC&) = delete;
    SAlphaScratchDC& operator=(const SAlphaScratchDC&) = delete;

    // Same logical coordinates as the target; null when there is nothing to draw (the rectangle
    // is clipped away) or the scratch could not be made.
    HDC GetDC() const { return m_dc; }

private:
    // f(pixel) for every pixel of the drawn area
    template <class F>
    void ForEachPixel(F f);

    SScratchSurface& m_surface;
    HDC m_target;
    HDC m_dc;
    RECT m_rect;
    BYTE m_alpha;
    int m_takes;
};

} // namespace SKEIN
