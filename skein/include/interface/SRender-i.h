#pragma once
// Drawing: the render factory, the render objects it makes (pens, brushes, bitmaps, fonts,
// regions) and the render target everything paints into.
//
// Colours are 32-bit values: red in the low byte, then green, blue, and alpha in the high byte.
// Bitmaps hold top-down rows of width x 4 bytes, each pixel blue, green, red, alpha, with the
// colour channels premultiplied by alpha.
#include <windows.h>
#include "core/SObjRef.h"
#include "core/SObject.h"

namespace SKEIN {

struct IRenderFactory;
struct IImgDecoderFactory;
struct IImgFrame;

// Render-object kinds (IRenderObj::ObjectType, IRenderTarget::GetCurrentObject).
enum {
    kRenderObjPen = 1,
    kRenderObjBrush = 2,
    kRenderObjBitmap = 3,
    kRenderObjFont = 4,
    kRenderObjRegion = 5,
};

// Expand modes of the bitmap drawing operations: the low 16 bits pick the mode, the high 16
// bits carry a filter level (a hint this back end ignores).
enum {
    kExpandNatural = 0,
    kExpandStretch = 1,
    kExpandTile = 2,
};

struct IRenderObj : public IObject, public IObjRef {
    virtual int ObjectType() const = 0;
    // The factory that made the object (not add-referenced; it outlives its objects).
    virtual IRenderFactory* GetRenderFactory() const = 0;
};

struct IBitmap : public IRenderObj {
    // Sizes the bitmap from the frame and copies its pixels: 0, or a failure code.
    virtual HRESULT InitFromFrame(IImgFrame* frame) = 0;
    // width x height pixels copied from pixels, or zero-filled when pixels is null. 0 x 0 (or a
    // zero side) leaves an empty bitmap. E_INVALIDARG for negative or oversized sizes,
    // E_OUTOFMEMORY when the pixel memory can't be made (the bitmap is then empty).
    virtual HRESULT Init(int width, int height, const void* pixels) = 0;
    // Frame 0 of the image through the factory's decoder: 0 on success; a failure code, with
    // the bitmap unchanged, when nothing decodes.
    virtual HRESULT LoadFromFile(const wchar_t* path) = 0;
    virtual HRESULT LoadFromMemory(const void* buffer, size_t size) = 0;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual SIZE Size() const = 0;
    virtual void* LockPixelBits() = 0;
    virtual void UnlockPixelBits(void* bits) = 0;
    virtual const void* GetPixelBits() const = 0;
    // An independent copy (one reference for the caller).
    virtual HRESULT Clone(IBitmap** out) const = 0;
    virtual HRESULT Scale(IBitmap** out, int width, int height, UINT filter) = 0;
    // Scale to MulDiv(width, percent, 100) x MulDiv(height, percent, 100).
    virtual HRESULT ScaleByPercent(IBitmap** out, int percent, UINT filter) = 0;
    // Through the decoder factory's SaveImage.
    virtual HRESULT Save(const wchar_t* path, const GUID* format) = 0;
};

struct IPen : public IRenderObj {
};

struct IBrush : public IRenderObj {
};

struct IFont : public IRenderObj {
    virtual const LOGFONTW* LogFont() const = 0;
    virtual const wchar_t* FamilyName() const = 0;
    virtual int TextSize() const = 0;
    // weight exactly 700
    virtual BOOL IsBold() const = 0;
    virtual BOOL IsUnderline() const = 0;
    virtual BOOL IsItalic() const = 0;
    virtual BOOL IsStrikeOut() const = 0;
    // false (nothing changed) when the font has no native font
    virtual BOOL UpdateFont(const LOGFONTW* logFont) = 0;
};

// Modes are GDI's RGN_AND, RGN_OR, RGN_XOR, RGN_DIFF (this region minus the shape), RGN_COPY.
struct IRegion : public IRenderObj {
    virtual void CombineRect(const RECT* rect, int mode) = 0;
    virtual void CombineRgn(const IRegion* region, int mode) = 0;
    // corner: width and height of the corner ellipse
    virtual void CombineRoundRect(const RECT* rect, POINT corner, int mode) = 0;
    virtual void CombineEllipse(const RECT* rect, int mode) = 0;
    virtual BOOL PtInRegion(int x, int y) const = 0;
    virtual BOOL RectInRegion(const RECT* rect) const = 0;
    virtual void GetRgnBox(RECT* box) const = 0;
    virtual BOOL IsEmpty() const = 0;
    virtual void Offset(POINT offset) = 0;
    virtual void Clear() = 0;
    virtual void CopyFromHandle(HRGN region) = 0;
};

// Results are HRESULT codes (0 = success) unless said otherwise. Rectangles and points are in
// logical coordinates: the viewport origin applies.
struct IRenderTarget : public IObjRef {
    virtual HRESULT CreateCompatibleRenderTarget(SIZE size, IRenderTarget** out) = 0;
    virtual HRESULT CreatePen(int style, COLORREF color, int width, IPen** out) = 0;
    virtual HRESULT CreateSolidColorBrush(COLORREF color, IBrush** out) = 0;
    virtual HRESULT CreateBitmapBrush(IBitmap* bitmap, IBrush** out) = 0;
    virtual HRESULT CreateRegion(IRegion** out) = 0;
    // New size, zero-filled (contents lost). A 0 x 0 size leaves an empty bitmap.
    virtual HRESULT Resize(SIZE size) = 0;

    virtual HRESULT OffsetViewportOrg(int dx, int dy, POINT* previous) = 0;
    virtual HRESULT GetViewportOrg(POINT* origin) = 0;
    virtual HRESULT SetViewportOrg(POINT origin) = 0;

    // Clip stack: every push saves the whole drawing state (clip, selected objects, origin);
    // the matching pop restores it.
    virtual HRESULT PushClipRect(const RECT* rect, int mode) = 0;
    virtual HRESULT PushClipRegion(IRegion* region, int mode) = 0;
    virtual HRESULT PopClip() = 0;
    virtual HRESULT ExcludeClipRect(const RECT* rect) = 0;
    virtual HRESULT IntersectClipRect(const RECT* rect) = 0;
    // The cookie is the save level, for RestoreClip.
    virtual HRESULT SaveClip(int* cookie) = 0;
    virtual HRESULT RestoreClip(int cookie) = 0;
    virtual HRESULT GetClipRegion(IRegion** out) = 0;
    virtual HRESULT GetClipBox(RECT* box) = 0;

    // GDI DrawText formats; with DT_CALCRECT the rectangle is measured, nothing drawn.
    virtual HRESULT DrawText(const wchar_t* text, int length, RECT* rect, UINT format) = 0;
    // length < 0: NUL-terminated
    virtual HRESULT MeasureText(const wchar_t* text, int length, SIZE* size) = 0;
    virtual HRESULT TextOut(int x, int y, const wchar_t* text, int length) = 0;

    virtual HRESULT DrawRectangle(const RECT* rect) = 0;
    virtual HRESULT FillRectangle(const RECT* rect) = 0;
    virtual HRESULT FillSolidRect(const RECT* rect, COLORREF color) = 0;
    virtual HRESULT DrawRoundRect(const RECT* rect, POINT corner) = 0;
    virtual HRESULT FillRoundRect(const RECT* rect, POINT corner) = 0;
    virtual HRESULT FillSolidRoundRect(const RECT* rect, POINT corner, COLORREF color) = 0;
    // Replaces the pixels, alpha included (the colour is taken as it is, not premultiplied).
    virtual HRESULT ClearRect(const RECT* rect, COLORREF color) = 0;
    virtual HRESULT InvertRect(const RECT* rect) = 0;
    virtual HRESULT DrawEllipse(const RECT* rect) = 0;
    virtual HRESULT FillEllipse(const RECT* rect) = 0;
    virtual HRESULT FillSolidEllipse(const RECT* rect, COLORREF color) = 0;
    // Angles in degrees, clockwise on screen (y grows downwards).
    virtual HRESULT DrawArc(const RECT* rect, float startAngle, float sweepAngle, BOOL useCenter) = 0;
    virtual HRESULT FillArc(const RECT* rect, float startAngle, float sweepAngle) = 0;
    virtual HRESULT DrawLines(const POINT* points, int count) = 0;
    virtual HRESULT GradientFill(const RECT* rect, BOOL vertical, COLORREF first, COLORREF second, BYTE alpha) = 0;
    // Multi-stop gradient (type, colours, angle, centre, radius): not drawn by this back end.
    virtual HRESULT ReservedOp2(int type, COLORREF start, COLORREF center, COLORREF end, float angle,
                                float centerX, float centerY, int radius, BYTE alpha) = 0;
    // 0, or 1 when GDI fails
    virtual HRESULT DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags) = 0;

    virtual HRESULT DrawBitmap(const RECT* dest, IBitmap* bitmap, int xSrc, int ySrc, BYTE alpha) = 0;
    virtual HRESULT DrawBitmapEx(const RECT* dest, IBitmap* bitmap, const RECT* src, UINT expandMode, BYTE alpha) = 0;
    // margins: widths of the left, top, right and bottom edges in the source. 1 (nothing drawn)
    // when the margins don't fit the source.
    virtual HRESULT DrawBitmap9Patch(const RECT* dest, IBitmap* bitmap, const RECT* src, const RECT* margins,
                                     UINT expandMode, BYTE alpha) = 0;
    // SRCCOPY, SRCAND, SRCINVERT or DSTINVERT; all but SRCCOPY keep the destination's alpha.
    virtual HRESULT BitBlt(const RECT* dest, IRenderTarget* source, int xSrc, int ySrc, DWORD rop) = 0;
    virtual HRESULT AlphaBlend(const RECT* dest, IRenderTarget* source, const RECT* src, BYTE alpha) = 0;

    // The selected pen, brush, bitmap or font (not add-referenced); null for other kinds.
    virtual IRenderObj* GetCurrentObject(int kind) = 0;
    // 1 when the default object of that kind is already current.
    virtual HRESULT SelectDefaultObject(int kind, IRenderObj** previous) = 0;
    // previous, when given, receives the replaced object with one reference for the caller.
    virtual HRESULT SelectObject(IRenderObj* object, IRenderObj** previous) = 0;
    virtual COLORREF GetTextColor() = 0;
    // Returns the previous colour.
    virtual COLORREF SetTextColor(COLORREF color) = 0;
    virtual HDC GetDC(UINT flag) = 0;
    virtual void ReleaseDC(HDC dc) = 0;
    virtual HRESULT SetTransform(const XFORM* matrix, XFORM* previous) = 0;
    virtual HRESULT GetTransform(XFORM* matrix) = 0;
    // The stored pixel (premultiplied blue, green, red, alpha as a little-endian value), or
    // 0xFFFFFF outside the bitmap.
    virtual COLORREF GetPixel(int x, int y) = 0;
    // Writes the value unchanged and returns the previous pixel; 0xFFFFFF (nothing written)
    // outside the bitmap.
    virtual COLORREF SetPixel(int x, int y, COLORREF color) = 0;
    // GDI mix modes R2_BLACK (1) to R2_WHITE (16).
    virtual HRESULT SetRop2(int mode, int* previous) = 0;
};

struct IRenderFactory : public IObjRef {
    // not add-referenced
    virtual IImgDecoderFactory* GetImgDecoderFactory() = 0;
    virtual void SetImgDecoderFactory(IImgDecoderFactory* factory) = 0;
    // Each creator: true with a new object (one reference for the caller), false and null when
    // it can't be made.
    virtual BOOL CreateRenderTarget(IRenderTarget** out, int width, int height) = 0;
    virtual BOOL CreateFont(IFont** out, const LOGFONTW* logFont) = 0;
    virtual BOOL CreateBitmap(IBitmap** out) = 0;
    virtual BOOL CreateRegion(IRegion** out) = 0;
    virtual ~IRenderFactory() {}
};

// The GDI render factory (one reference for the caller).
BOOL CreateRenderFactory_GDI(IRenderFactory** factory);

} // namespace SKEIN
