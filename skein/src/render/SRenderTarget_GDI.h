#pragma once
// GDI render target: a memory DC with a 32-bit top-down DIB of premultiplied pixels selected
// into it. Shapes and text go through SAlphaScratchDC, direct GDI calls through SAlphaBackup,
// so that every pixel keeps a right alpha byte.
#include "core/SDynArray.h"
#include "interface/SRender-i.h"
#include "render/SAlphaScratchDC.h"

namespace SKEIN {

class SRenderTarget_GDI : public TObjRefImpl<IRenderTarget>, public SObjectImpl<IObject> {
public:
    explicit SRenderTarget_GDI(IRenderFactory* factory);
    ~SRenderTarget_GDI() override;
    // The DC, the default pen, brush and font, and a zero-filled width x height bitmap; false
    // when the DC or (for a non-empty size) the bitmap can't be made.
    bool Init(int width, int height);

    HRESULT CreateCompatibleRenderTarget(SIZE size, IRenderTarget** out) override;
    HRESULT CreatePen(int style, COLORREF color, int width, IPen** out) override;
    HRESULT CreateSolidColorBrush(COLORREF color, IBrush** out) override;
    HRESULT CreateBitmapBrush(IBitmap* bitmap, IBrush** out) override;
    HRESULT CreateRegion(IRegion** out) override;
    HRESULT Resize(SIZE size) override;

    HRESULT OffsetViewportOrg(int dx, int dy, POINT* previous) override;
    HRESULT GetViewportOrg(POINT* origin) override;
    HRESULT SetViewportOrg(POINT origin) override;

    HRESULT PushClipRect(const RECT* rect, int mode) override;
    HRESULT PushClipRegion(IRegion* region, int mode) override;
    HRESULT PopClip() override;
    HRESULT ExcludeClipRect(const RECT* rect) override;
    HRESULT IntersectClipRect(const RECT* rect) override;
    HRESULT SaveClip(int* cookie) override;
    HRESULT RestoreClip(int cookie) override;
    HRESULT GetClipRegion(IRegion** out) override;
    HRESULT GetClipBox(RECT* box) override;

    HRESULT DrawText(const wchar_t* text, int length, RECT* rect, UINT format) override;
    HRESULT MeasureText(const wchar_t* text, int length, SIZE* size) override;
    HRESULT TextOut(int x, int y, const wchar_t* text, int length) override;

    HRESULT DrawRectangle(const RECT* rect) override;
    HRESULT FillRectangle(const RECT* rect) override;
    HRESULT FillSolidRect(const RECT* rect, COLORREF color) override;
    HRESULT DrawRoundRect(const RECT* rect, POINT corner) override;
    HRESULT FillRoundRect(const RECT* rect, POINT corner) override;
    HRESULT FillSolidRoundRect(const RECT* rect, POINT corner, COLORREF color) override;
    HRESULT ClearRect(const RECT* rect, COLORREF color) override;
    HRESULT InvertRect(const RECT* rect) override;
    HRESULT DrawEllipse(const RECT* rect) override;
    HRESULT FillEllipse(const RECT* rect) override;
    HRESULT FillSolidEllipse(const RECT* rect, COLORREF color) override;
    HRESULT DrawArc(const RECT* rect, float startAngle, float sweepAngle, BOOL useCenter) override;
    HRESULT FillArc(const RECT* rect, float startAngle, float sweepAngle) override;
    HRESULT DrawLines(const POINT* points, int count) override;
    HRESULT GradientFill(const RECT* rect, BOOL vertical, COLORREF first, COLORREF second, BYTE alpha) override;
    HRESULT ReservedOp2(int, COLORREF, COLORREF, COLORREF, float, float, float, int, BYTE) override
    {
        return E_NOTIMPL;
    }
    HRESULT DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags) override;

    HRESULT DrawBitmap(const RECT* dest, IBitmap* bitmap, int xSrc, int ySrc, BYTE alpha) override;
    HRESULT DrawBitmapEx(const RECT* dest, IBitmap* bitmap, const RECT* src, UINT expandMode, BYTE alpha) override;
    HRESULT DrawBitmap9Patch(const RECT* dest, IBitmap* bitmap, const RECT* src, const RECT* margins,
                             UINT expandMode, BYTE alpha) override;
    HRESULT BitBlt(const RECT* dest, IRenderTarget* source, int xSrc, int ySrc, DWORD rop) override;
    HRESULT AlphaBlend(const RECT* dest, IRenderTarget* source, const RECT* src, BYTE alpha) override;

    IRenderObj* GetCurrentObject(int kind) override;
    HRESULT SelectDefaultObject(int kind, IRenderObj** previous) override;
    HRESULT SelectObject(IRenderObj* object, IRenderObj** previous) override;
    COLORREF GetTextColor() override { return m_textColor; }
    COLORREF SetTextColor(COLORREF color) override;
    HDC GetDC(UINT flag) override;
    void ReleaseDC(HDC dc) override;
    HRESULT SetTransform(const XFORM* matrix, XFORM* previous) override;
    HRESULT GetTransform(XFORM* matrix) override;
    COLORREF GetPixel(int x, int y) override;
    COLORREF SetPixel(int x, int y, COLORREF color) override;
    HRESULT SetRop2(int mode, int* previous) override;

private:
    enum { kSlotCount = 4 };

    // What a clip push saved besides the DC state: the objects the DC then had selected (kept
    // alive until the pop) and the viewport origin.
    struct SavedState {
        typedef void SRelocatable;
        int level;
        POINT origin;
        SRefPtr<IRenderObj> objects[kSlotCount];
    };

    // The bitmap's DIB selected into the target's reusable source DC for the life of the
    // object; GetDC() is null when the bitmap has no pixels or is selected elsewhere.
    class SourceSelection {
    public:
        SourceSelection(SRenderTarget_GDI& target, IBitmap* bitmap);
        ~SourceSelection();
        SourceSelection(const SourceSelection&) = delete;
        SourceSelection& operator=(const SourceSelection&) = delete;
        HDC GetDC() const { return m_dc; }
        int Width() const { return m_width; }
        int Height() const { return m_height; }
        // Every pixel of the part (inside the bitmap) has alpha 255.
        bool IsOpaque(const RECT& part) const;

    private:
        SRenderTarget_GDI& m_target;
        HDC m_dc;
        const DWORD* m_pixels;
        int m_width;
        int m_height;
    };

    HGDIOBJ NativeHandle(IRenderObj* object) const;
    int SaveState();
    HRESULT PushClip(HRGN deviceRegion, int mode);
    // RestoreDC to a save level; the records of objects and origin follow the DC.
    HRESULT RestoreState(int level);
    // Pixel of a logical point in the current bitmap, null outside it.
    DWORD* PixelAt(int x, int y);
    IBitmap* CurrentBitmap() const;
    BYTE PenAlpha() const;
    int PenWidth() const;
    BYTE BrushAlpha() const;
    // Fills a shape in the colour through a scratch DC without background copy; shape(dc)
    // draws it with the DC brush, which has the colour.
    template <class Shape>
    void FillSolidShape(const RECT& rect, COLORREF color, Shape shape);
    // One part of a bitmap draw by expand mode, from a selected source.
    HRESULT DrawFromSource(const SourceSelection& source, const RECT& dest, const RECT& src, UINT mode, BYTE alpha);
    HRESULT BlendNatural(const SourceSelection& source, const RECT& dest, int xSrc, int ySrc, BYTE alpha);
    HRESULT Tile(const SourceSelection& source, const RECT& dest, const RECT& src, BYTE alpha);
    // Blends src onto dest (stretched when the sizes differ); opaque: src is known to be opaque
    // and alpha is 255, so the blend is a plain copy.
    HRESULT Transfer(HDC source, bool opaque, const RECT& dest, const RECT& src, BYTE alpha);

    HDC m_dc;
    HGDIOBJ m_stockBitmap;
    COLORREF m_textColor;
    SRefPtr<IRenderObj> m_current[kSlotCount];
    SRefPtr<IRenderObj> m_defaults[kSlotCount];
    POINT m_origin;
    SRefPtr<IRenderFactory> m_factory;
    UINT m_dcLent;
    SDynArray<SavedState> m_saved;
    SDynArray<BYTE> m_alphaBuffer;
    SScratchSurface m_scratch;
    // source DC of bitmap draws, and the pixel ClearRect stretches
    HDC m_sourceDC;
    SRefPtr<IBitmap> m_clearPixel;
};

} // namespace SKEIN
