#include "render/SRenderTarget_GDI.h"
#include <math.h>
#include <new>
#include <wchar.h>
#include "render/SAlphaBackup.h"
#include "render/SAlphaScratchDC.h"
#include "render/SBitmap_GDI.h"
#include "render/SBrush_GDI.h"
#include "render/SFont_GDI.h"
#include "render/SNinePatch.h"
#include "render/SPen_GDI.h"
#include "render/SRegion_GDI.h"

namespace SKEIN {

namespace {

enum { kPenSlot, kBrushSlot, kBitmapSlot, kFontSlot };

BYTE AlphaOf(COLORREF color)
{
    return static_cast<BYTE>(color >> 24);
}

int SlotOf(int kind)
{
    return kind >= kRenderObjPen && kind <= kRenderObjFont ? kind - 1 : -1;
}

int TextLength(const wchar_t* text, int length)
{
    return length < 0 ? static_cast<int>(wcslen(text)) : length;
}

// Point at an angle (degrees, clockwise on screen) on the ellipse inscribed in rect.
POINT ArcPoint(const RECT& rect, float degrees)
{
    int cx = (rect.left + rect.right) / 2;
    int cy = (rect.top + rect.bottom) / 2;
    float radians = degrees * 3.1415925f / 180.0f;
    return POINT{cx + static_cast<int>(cosf(radians) * (cx - rect.left)),
                 cy + static_cast<int>(sinf(radians) * (cy - rect.top))};
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color, COLOR16 alpha)
{
    return TRIVERTEX{x, y, static_cast<COLOR16>(GetRValue(color) << 8), static_cast<COLOR16>(GetGValue(color) << 8),
                     static_cast<COLOR16>(GetBValue(color) << 8), alpha};
}

// GDI's gradient fill of a 32-bit bitmap writes the vertices' alpha.
void FillGradient(HDC dc, const RECT& rect, BOOL vertical, COLORREF first, COLORREF second, COLOR16 alpha)
{
    TRIVERTEX vertices[2] = {Vertex(rect.left, rect.top, first, alpha), Vertex(rect.right, rect.bottom, second, alpha)};
    GRADIENT_RECT mesh = {0, 1};
    GdiGradientFill(dc, vertices, 2, &mesh, 1, vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H);
}

// The DC's own brush colour as fill, no outline.
void SelectSolidFill(HDC dc)
{
    ::SelectObject(dc, GetStockObject(DC_BRUSH));
    ::SelectObject(dc, GetStockObject(NULL_PEN));
}

BLENDFUNCTION Blending(BYTE alpha)
{
    return BLENDFUNCTION{AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA};
}

// Selects a GDI object into a DC for the life of the scope.
class SSelectScope {
public:
    SSelectScope(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    ~SSelectScope() { ::SelectObject(m_dc, m_old); }
    SSelectScope(const SSelectScope&) = delete;
    SSelectScope& operator=(const SSelectScope&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

} // namespace

SRenderTarget_GDI::SourceSelection::SourceSelection(SRenderTarget_GDI& target, IBitmap* bitmap)
    : m_target(target), m_dc(nullptr), m_pixels(nullptr), m_width(0), m_height(0)
{
    HBITMAP dib = bitmap ? static_cast<SBitmap_GDI*>(bitmap)->DibHandle() : nullptr;
    if (!dib)
        return;
    if (!target.m_sourceDC)
        target.m_sourceDC = CreateCompatibleDC(target.m_dc);
    if (target.m_sourceDC && ::SelectObject(target.m_sourceDC, dib)) {
        m_dc = target.m_sourceDC;
        m_pixels = static_cast<const DWORD*>(bitmap->GetPixelBits());
        m_width = bitmap->Width();
        m_height = bitmap->Height();
    }
}

SRenderTarget_GDI::SourceSelection::~SourceSelection()
{
    if (m_dc)
        ::SelectObject(m_dc, m_target.m_stockBitmap);
}

bool SRenderTarget_GDI::SourceSelection::IsOpaque(const RECT& part) const
{
    if (part.left < 0 || part.top < 0 || part.right > m_width || part.bottom > m_height)
        return false;
    for (int y = part.top; y < part.bottom; ++y) {
        const DWORD* row = m_pixels + static_cast<size_t>(y) * m_width;
        for (int x = part.left; x < part.right; ++x) {
            if (row[x] < 0xFF000000)
                return false;
        }
    }
    return true;
}

SRenderTarget_GDI::SRenderTarget_GDI(IRenderFactory* factory)
    : m_dc(nullptr), m_stockBitmap(nullptr), m_textColor(0xFF000000), m_origin(), m_factory(factory), m_dcLent(0),
      m_sourceDC(nullptr)
{
}

SRenderTarget_GDI::~SRenderTarget_GDI()
{
    if (m_sourceDC)
        DeleteDC(m_sourceDC);
    if (m_dc)
        DeleteDC(m_dc);
}

bool SRenderTarget_GDI::Init(int width, int height)
{
    HDC screen = ::GetDC(nullptr);
    m_dc = CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    if (!m_dc)
        return false;
    m_stockBitmap = ::GetCurrentObject(m_dc, OBJ_BITMAP);
    SetBkMode(m_dc, TRANSPARENT);
    SetGraphicsMode(m_dc, GM_ADVANCED);
    // shrinking copies keep whole pixels (alpha included), as the blends do
    SetStretchBltMode(m_dc, COLORONCOLOR);
    ::SetTextColor(m_dc, m_textColor & 0xFFFFFF);

    IPen* pen = nullptr;
    CreatePen(PS_SOLID, 0xFF000000, 1, &pen);
    m_defaults[kPenSlot].Attach(pen);
    IBrush* brush = nullptr;
    CreateSolidColorBrush(0xFF000000, &brush);
    m_defaults[kBrushSlot].Attach(brush);
    LOGFONTW logFont = {};
    logFont.lfHeight = 20;
    wcscpy(logFont.lfFaceName, L"\u5B8B\u4F53");
    IFont* font = nullptr;
    m_factory->CreateFont(&font, &logFont);
    m_defaults[kFontSlot].Attach(font);
    IBitmap* bitmap = nullptr;
    m_factory->CreateBitmap(&bitmap);
    m_defaults[kBitmapSlot].Attach(bitmap);
    if (!pen || !brush || !font || !bitmap)
        return false;
    HRESULT sized = bitmap->Init(width, height, nullptr);
    for (int slot = 0; slot < kSlotCount; ++slot)
        SelectObject(m_defaults[slot], nullptr);
    return SUCCEEDED(sized);
}

HRESULT SRenderTarget_GDI::CreateCompatibleRenderTarget(SIZE size, IRenderTarget** out)
{
    return m_factory->CreateRenderTarget(out, size.cx, size.cy) ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::CreatePen(int style, COLORREF color, int width, IPen** out)
{
    *out = new (std::nothrow) SPen_GDI(m_factory, style, color, width);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::CreateSolidColorBrush(COLORREF color, IBrush** out)
{
    *out = new (std::nothrow) SBrush_GDI(m_factory, color);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::CreateBitmapBrush(IBitmap* bitmap, IBrush** out)
{
    *out = new (std::nothrow) SBrush_GDI(m_factory, bitmap);
    return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::CreateRegion(IRegion** out)
{
    return m_factory->CreateRegion(out) ? S_OK : E_OUTOFMEMORY;
}

// The DC holds its stock bitmap while the DIB is replaced, and keeps it when the new size is
// empty or can't be made, so no selected bitmap is ever deleted.
HRESULT SRenderTarget_GDI::Resize(SIZE size)
{
    IBitmap* bitmap = CurrentBitmap();
    ::SelectObject(m_dc, m_stockBitmap);
    HRESULT hr = bitmap->Init(size.cx, size.cy, nullptr);
    ::SelectObject(m_dc, NativeHandle(bitmap));
    return hr;
}

HRESULT SRenderTarget_GDI::OffsetViewportOrg(int dx, int dy, POINT* previous)
{
    if (previous)
        *previous = m_origin;
    return SetViewportOrg(POINT{m_origin.x + dx, m_origin.y + dy});
}

HRESULT SRenderTarget_GDI::GetViewportOrg(POINT* origin)
{
    *origin = m_origin;
    return S_OK;
}

HRESULT SRenderTarget_GDI::SetViewportOrg(POINT origin)
{
    m_origin = origin;
    SetViewportOrgEx(m_dc, origin.x, origin.y, nullptr);
    return S_OK;
}

int SRenderTarget_GDI::SaveState()
{
    SavedState state;
    state.level = SaveDC(m_dc);
    if (state.level == 0)
        return 0;
    state.origin = m_origin;
    for (int slot = 0; slot < kSlotCount; ++slot)
        state.objects[slot] = m_current[slot];
    if (m_saved.Add(state) < 0) {
        RestoreDC(m_dc, state.level);
        return 0;
    }
    return state.level;
}

HRESULT SRenderTarget_GDI::RestoreState(int level)
{
    if (!RestoreDC(m_dc, level))
        return E_FAIL;
    int first = 0;
    while (first < m_saved.Count() && m_saved[first].level < level)
        ++first;
    if (first < m_saved.Count()) {
        const SavedState& state = m_saved[first];
        m_origin = state.origin;
        for (int slot = 0; slot < kSlotCount; ++slot)
            m_current[slot] = state.objects[slot];
        m_saved.Resize(first);
    }
    return S_OK;
}

HRESULT SRenderTarget_GDI::PushClip(HRGN deviceRegion, int mode)
{
    if (!deviceRegion)
        return E_OUTOFMEMORY;
    HRESULT hr = SaveState() ? S_OK : E_OUTOFMEMORY;
    if (SUCCEEDED(hr))
        ExtSelectClipRgn(m_dc, deviceRegion, mode);
    DeleteObject(deviceRegion);
    return hr;
}

HRESULT SRenderTarget_GDI::PushClipRect(const RECT* rect, int mode)
{
    RECT device = *rect;
    OffsetRect(&device, m_origin.x, m_origin.y);
    return PushClip(CreateRectRgnIndirect(&device), mode);
}

HRESULT SRenderTarget_GDI::PushClipRegion(IRegion* region, int mode)
{
    HRGN device = CreateRectRgn(0, 0, 0, 0);
    if (device) {
        ::CombineRgn(device, static_cast<SRegion_GDI*>(region)->GetHandle(), nullptr, RGN_COPY);
        OffsetRgn(device, m_origin.x, m_origin.y);
    }
    return PushClip(device, mode);
}

HRESULT SRenderTarget_GDI::PopClip()
{
    if (m_saved.Count() == 0)
        return E_FAIL;
    return RestoreState(m_saved[m_saved.Count() - 1].level);
}

HRESULT SRenderTarget_GDI::ExcludeClipRect(const RECT* rect)
{
    ::ExcludeClipRect(m_dc, rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::IntersectClipRect(const RECT* rect)
{
    ::IntersectClipRect(m_dc, rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::SaveClip(int* cookie)
{
    int level = SaveState();
    if (cookie)
        *cookie = level;
    return level ? S_OK : E_OUTOFMEMORY;
}

HRESULT SRenderTarget_GDI::RestoreClip(int cookie)
{
    return RestoreState(cookie);
}

HRESULT SRenderTarget_GDI::GetClipRegion(IRegion** out)
{
    if (!m_factory->CreateRegion(out))
        return E_OUTOFMEMORY;
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    if (clip && ::GetClipRgn(m_dc, clip) == 1) {
        OffsetRgn(clip, -m_origin.x, -m_origin.y);
        (*out)->CopyFromHandle(clip);
    }
    if (clip)
        DeleteObject(clip);
    return S_OK;
}

HRESULT SRenderTarget_GDI::GetClipBox(RECT* box)
{
    ::GetClipBox(m_dc, box);
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawText(const wchar_t* text, int length, RECT* rect, UINT format)
{
    if (format & DT_CALCRECT) {
        if (!::DrawTextW(m_dc, text, length, rect, format)) {
            rect->right = rect->left;
            rect->bottom = rect->top;
        }
        return S_OK;
    }
    if (length == 0)
        return S_OK;
    SAlphaScratchDC scratch(m_scratch, m_dc, *rect, AlphaOf(m_textColor), true, SAlphaScratchDC::kTakeFont);
    if (scratch.GetDC()) {
        RECT area = *rect;
        ::DrawTextW(scratch.GetDC(), text, length, &area, format);
    }
    return S_OK;
}

HRESULT SRenderTarget_GDI::MeasureText(const wchar_t* text, int length, SIZE* size)
{
    ::GetTextExtentPoint32W(m_dc, text, TextLength(text, length), size);
    return S_OK;
}

HRESULT SRenderTarget_GDI::TextOut(int x, int y, const wchar_t* text, int length)
{
    length = TextLength(text, length);
    SIZE size = {};
    MeasureText(text, length, &size);
    RECT rect = {x, y, x + size.cx, y + size.cy};
    return DrawText(text, length, &rect, DT_SINGLELINE);
}

IBitmap* SRenderTarget_GDI::CurrentBitmap() const
{
    return static_cast<IBitmap*>(m_current[kBitmapSlot].Get());
}

BYTE SRenderTarget_GDI::PenAlpha() const
{
    return AlphaOf(static_cast<SPen_GDI*>(m_current[kPenSlot].Get())->GetColor());
}

int SRenderTarget_GDI::PenWidth() const
{
    return static_cast<SPen_GDI*>(m_current[kPenSlot].Get())->GetWidth();
}

BYTE SRenderTarget_GDI::BrushAlpha() const
{
    SBrush_GDI* brush = static_cast<SBrush_GDI*>(m_current[kBrushSlot].Get());
    return brush->IsBitmap() ? 255 : AlphaOf(brush->GetColor());
}

// Drawn straight onto the target; the outline keeps the alpha it covers.
HRESULT SRenderTarget_GDI::DrawRectangle(const RECT* rect)
{
    int width = PenWidth();
    RECT outline = *rect;
    if (width == 1) {
        --outline.right;
        --outline.bottom;
    } else {
        InflateRect(&outline, -(width / 2), -(width / 2));
    }
    SAlphaBackup backup(m_alphaBuffer, m_dc, CurrentBitmap(), *rect);
    SSelectScope noFill(m_dc, GetStockObject(NULL_BRUSH));
    ::Rectangle(m_dc, outline.left, outline.top, outline.right, outline.bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillRectangle(const RECT* rect)
{
    SAlphaScratchDC scratch(m_scratch, m_dc, *rect, BrushAlpha(), false, SAlphaScratchDC::kTakeBrush);
    if (HDC dc = scratch.GetDC()) {
        ::SelectObject(dc, GetStockObject(NULL_PEN));
        ::Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
    }
    return S_OK;
}

template <class Shape>
void SRenderTarget_GDI::FillSolidShape(const RECT& rect, COLORREF color, Shape shape)
{
    SAlphaScratchDC scratch(m_scratch, m_dc, rect, AlphaOf(color), false, 0);
    if (HDC dc = scratch.GetDC()) {
        SetDCBrushColor(dc, color & 0xFFFFFF);
        shape(dc);
    }
}

HRESULT SRenderTarget_GDI::FillSolidRect(const RECT* rect, COLORREF color)
{
    // an opaque fill gives the colour itself
    if (AlphaOf(color) == 0xFF)
        return ClearRect(rect, color);
    FillSolidShape(*rect, color, [rect](HDC dc) { ::FillRect(dc, rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH))); });
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawRoundRect(const RECT* rect, POINT corner)
{
    SAlphaScratchDC scratch(m_scratch, m_dc, *rect, PenAlpha(), true, SAlphaScratchDC::kTakePen);
    if (HDC dc = scratch.GetDC()) {
        ::SelectObject(dc, GetStockObject(NULL_BRUSH));
        ::RoundRect(dc, rect->left, rect->top, rect->right, rect->bottom, corner.x * 2, corner.y * 2);
    }
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillRoundRect(const RECT* rect, POINT corner)
{
    SAlphaScratchDC scratch(m_scratch, m_dc, *rect, BrushAlpha(), true, SAlphaScratchDC::kTakeBrush);
    if (HDC dc = scratch.GetDC()) {
        ::SelectObject(dc, GetStockObject(NULL_PEN));
        ::RoundRect(dc, rect->left, rect->top, rect->right, rect->bottom, corner.x, corner.y);
    }
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillSolidRoundRect(const RECT* rect, POINT corner, COLORREF color)
{
    FillSolidShape(*rect, color, [rect, corner](HDC dc) {
        SelectSolidFill(dc);
        ::RoundRect(dc, rect->left, rect->top, rect->right, rect->bottom, corner.x * 2, corner.y * 2);
    });
    return S_OK;
}

// One pixel of the colour, stretched over the visible part of the rectangle.
HRESULT SRenderTarget_GDI::ClearRect(const RECT* rect, COLORREF color)
{
    RECT clip, area;
    if (::GetClipBox(m_dc, &clip) == ERROR || !IntersectRect(&area, rect, &clip))
        return S_OK;
    if (!m_clearPixel) {
        IBitmap* pixel = nullptr;
        if (!m_factory->CreateBitmap(&pixel))
            return E_OUTOFMEMORY;
        m_clearPixel.Attach(pixel);
    }
    if (!m_clearPixel->GetPixelBits() && FAILED(m_clearPixel->Init(1, 1, nullptr)))
        return E_OUTOFMEMORY;
    *static_cast<DWORD*>(m_clearPixel->LockPixelBits()) =
        (color & 0xFF00FF00) | ((color & 0xFF) << 16) | ((color >> 16) & 0xFF);
    SourceSelection source(*this, m_clearPixel);
    if (!source.GetDC())
        return E_OUTOFMEMORY;
    StretchBlt(m_dc, area.left, area.top, area.right - area.left, area.bottom - area.top, source.GetDC(), 0, 0, 1, 1,
               SRCCOPY);
    return S_OK;
}

HRESULT SRenderTarget_GDI::InvertRect(const RECT* rect)
{
    return ::InvertRect(m_dc, rect) ? S_OK : E_UNEXPECTED;
}

HRESULT SRenderTarget_GDI::DrawEllipse(const RECT* rect)
{
    int half = PenWidth() / 2;
    RECT area = *rect;
    InflateRect(&area, half, half);
    SAlphaScratchDC scratch(m_scratch, m_dc, area, PenAlpha(), true,
                            SAlphaScratchDC::kTakePen | SAlphaScratchDC::kTakeBrush);
    if (HDC dc = scratch.GetDC())
        ::Ellipse(dc, rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillEllipse(const RECT* rect)
{
    SAlphaScratchDC scratch(m_scratch, m_dc, *rect, BrushAlpha(), true,
                            SAlphaScratchDC::kTakePen | SAlphaScratchDC::kTakeBrush);
    if (HDC dc = scratch.GetDC())
        ::Ellipse(dc, rect->left, rect->top, rect->right, rect->bottom);
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillSolidEllipse(const RECT* rect, COLORREF color)
{
    FillSolidShape(*rect, color, [rect](HDC dc) {
        SelectSolidFill(dc);
        ::Ellipse(dc, rect->left, rect->top, rect->right, rect->bottom);
    });
    return S_OK;
}

// GDI draws arcs counter-clockwise from its first radial, so it gets the end point first.
HRESULT SRenderTarget_GDI::DrawArc(const RECT* rect, float startAngle, float sweepAngle, BOOL useCenter)
{
    int half = PenWidth() / 2;
    RECT area = *rect;
    InflateRect(&area, half, half);
    SAlphaScratchDC scratch(m_scratch, m_dc, area, PenAlpha(), true, SAlphaScratchDC::kTakePen);
    if (HDC dc = scratch.GetDC()) {
        POINT start = ArcPoint(*rect, startAngle);
        POINT end = ArcPoint(*rect, startAngle + sweepAngle);
        ::SelectObject(dc, GetStockObject(NULL_BRUSH));
        if (useCenter)
            ::Pie(dc, rect->left, rect->top, rect->right, rect->bottom, end.x, end.y, start.x, start.y);
        else
            ::Arc(dc, rect->left, rect->top, rect->right, rect->bottom, end.x, end.y, start.x, start.y);
    }
    return S_OK;
}

HRESULT SRenderTarget_GDI::FillArc(const RECT* rect, float startAngle, float sweepAngle)
{
    SAlphaScratchDC scratch(m_scratch, m_dc, *rect, BrushAlpha(), true, SAlphaScratchDC::kTakeBrush);
    if (HDC dc = scratch.GetDC()) {
        POINT start = ArcPoint(*rect, startAngle);
        POINT end = ArcPoint(*rect, startAngle + sweepAngle);
        ::SelectObject(dc, GetStockObject(NULL_PEN));
        ::Pie(dc, rect->left, rect->top, rect->right, rect->bottom, end.x, end.y, start.x, start.y);
    }
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawLines(const POINT* points, int count)
{
    if (count <= 0)
        return S_OK;
    RECT box = {points[0].x, points[0].y, points[0].x, points[0].y};
    for (int i = 1; i < count; ++i) {
        box.left = points[i].x < box.left ? points[i].x : box.left;
        box.top = points[i].y < box.top ? points[i].y : box.top;
        box.right = points[i].x > box.right ? points[i].x : box.right;
        box.bottom = points[i].y > box.bottom ? points[i].y : box.bottom;
    }
    int width = PenWidth();
    RECT area = {box.left - 1, box.top - 1, box.right + width, box.bottom + width};
    SAlphaScratchDC scratch(m_scratch, m_dc, area, PenAlpha(), true, SAlphaScratchDC::kTakePen);
    if (HDC dc = scratch.GetDC())
        ::Polyline(dc, points, count);
    return S_OK;
}

HRESULT SRenderTarget_GDI::GradientFill(const RECT* rect, BOOL vertical, COLORREF first, COLORREF second, BYTE alpha)
{
    if (alpha == 255) {
        FillGradient(m_dc, *rect, vertical, first, second, 0xFF00);
        return S_OK;
    }
    // alpha 0 marks the pixels as drawn for the scratch
    SAlphaScratchDC scratch(m_scratch, m_dc, *rect, alpha, false, 0);
    if (HDC dc = scratch.GetDC())
        FillGradient(dc, *rect, vertical, first, second, 0);
    return S_OK;
}

HRESULT SRenderTarget_GDI::DrawIconEx(int x, int y, HICON icon, int cx, int cy, UINT flags)
{
    ICONINFO info;
    if (!GetIconInfo(icon, &info))
        return S_FALSE;
    BITMAP colour;
    bool hasAlpha = info.hbmColor && GetObjectW(info.hbmColor, sizeof(colour), &colour) && colour.bmBitsPixel == 32;
    BOOL drawn;
    if (hasAlpha) {
        drawn = ::DrawIconEx(m_dc, x, y, icon, cx, cy, 0, nullptr, flags);
    } else {
        SAlphaBackup backup(m_alphaBuffer, m_dc, CurrentBitmap(), RECT{x, y, x + cx, y + cy});
        drawn = ::DrawIconEx(m_dc, x, y, icon, cx, cy, 0, nullptr, flags);
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return drawn ? S_OK : S_FALSE;
}

// Over an opaque source with alpha 255 the blend gives the source pixels: a copy, much faster.
HRESULT SRenderTarget_GDI::Transfer(HDC source, bool opaque, const RECT& dest, const RECT& src, BYTE alpha)
{
    int width = dest.right - dest.left, height = dest.bottom - dest.top;
    int srcWidth = src.right - src.left, srcHeight = src.bottom - src.top;
    BOOL done;
    if (!opaque)
        done = GdiAlphaBlend(m_dc, dest.left, dest.top, width, height, source, src.left, src.top, srcWidth, srcHeight,
                             Blending(alpha));
    else if (width == srcWidth && height == srcHeight)
        done = ::BitBlt(m_dc, dest.left, dest.top, width, height, source, src.left, src.top, SRCCOPY);
    else
        done = StretchBlt(m_dc, dest.left, dest.top, width, height, source, src.left, src.top, srcWidth, srcHeight,
                          SRCCOPY);
    return done ? S_OK : E_FAIL;
}

// 1:1 from (xSrc, ySrc), cut to the destination and to the bitmap.
HRESULT SRenderTarget_GDI::BlendNatural(const SourceSelection& source, const RECT& dest, int xSrc, int ySrc,
                                        BYTE alpha)
{
    int width = dest.right - dest.left;
    int height = dest.bottom - dest.top;
    width = source.Width() - xSrc < width ? source.Width() - xSrc : width;
    height = source.Height() - ySrc < height ? source.Height() - ySrc : height;
    if (width <= 0 || height <= 0)
        return S_OK;
    RECT src = {xSrc, ySrc, xSrc + width, ySrc + height};
    return Transfer(source.GetDC(), alpha == 255 && source.IsOpaque(src),
                    RECT{dest.left, dest.top, dest.left + width, dest.top + height}, src, alpha);
}

// Whole tiles from the top-left, the last column and row cut to the destination.
HRESULT SRenderTarget_GDI::Tile(const SourceSelection& source, const RECT& dest, const RECT& src, BYTE alpha)
{
    int tileWidth = src.right - src.left;
    int tileHeight = src.bottom - src.top;
    if (tileWidth <= 0 || tileHeight <= 0)
        return S_OK;
    bool opaque = alpha == 255 && source.IsOpaque(src);
    HRESULT hr = S_OK;
    for (int y = dest.top; y < dest.bottom && SUCCEEDED(hr); y += tileHeight) {
        int height = dest.bottom - y < tileHeight ? dest.bottom - y : tileHeight;
        for (int x = dest.left; x < dest.right && SUCCEEDED(hr); x += tileWidth) {
            int width = dest.right - x < tileWidth ? dest.right - x : tileWidth;
            hr = Transfer(source.GetDC(), opaque, RECT{x, y, x + width, y + height},
                          RECT{src.left, src.top, src.left + width, src.top + height}, alpha);
        }
    }
    return hr;
}

HRESULT SRenderTarget_GDI::DrawFromSource(const SourceSelection& source, const RECT& dest, const RECT& src, UINT mode,
                                          BYTE alpha)
{
    switch (mode & 0xFFFF) {
    case kExpandNatural:
        return BlendNatural(source, dest, src.left, src.top, alpha);
    case kExpandStretch:
        if (IsRectEmpty(&dest) || IsRectEmpty(&src))
            return S_OK;
        return Transfer(source.GetDC(), alpha == 255 && source.IsOpaque(src), dest, src, alpha);
    default:
        return Tile(source, dest, src, alpha);
    }
}

HRESULT SRenderTarget_GDI::DrawBitmap(const RECT* dest, IBitmap* bitmap, int xSrc, int ySrc, BYTE alpha)
{
    SourceSelection source(*this, bitmap);
    if (!source.GetDC())
        return E_FAIL;
    return BlendNatural(source, *dest, xSrc, ySrc, alpha);
}

HRESULT SRenderTarget_GDI::DrawBitmapEx(const RECT* dest, IBitmap* bitmap, const RECT* src, UINT expandMode, BYTE alpha)
{
    SourceSelection source(*this, bitmap);
    if (!source.GetDC())
        return E_FAIL;
    return DrawFromSource(source, *dest, *src, expandMode, alpha);
}

// Corners at natural size, edges and centre by the expand mode.
HRESULT SRenderTarget_GDI::DrawBitmap9Patch(const RECT* dest, IBitmap* bitmap, const RECT* src, const RECT* margins,
                                            UINT expandMode, BYTE alpha)
{
    SNinePatchAxis columns, rows;
    if (!columns.Compute(dest->left, dest->right, src->left, src->right, margins->left, margins->right) ||
        !rows.Compute(dest->top, dest->bottom, src->top, src->bottom, margins->top, margins->bottom))
        return S_FALSE;
    SourceSelection source(*this, bitmap);
    if (!source.GetDC())
        return E_FAIL;
    HRESULT hr = S_OK;
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            RECT cellSrc = {columns.src[column], rows.src[row], columns.src[column + 1], rows.src[row + 1]};
            RECT cellDest = {columns.dest[column], rows.dest[row], columns.dest[column + 1], rows.dest[row + 1]};
            if (IsRectEmpty(&cellSrc) || IsRectEmpty(&cellDest))
                continue;
            bool corner = row != 1 && column != 1;
            HRESULT cell = DrawFromSource(source, cellDest, cellSrc, corner ? static_cast<UINT>(kExpandNatural) : expandMode, alpha);
            hr = FAILED(cell) ? cell : hr;
        }
    }
    return hr;
}

HRESULT SRenderTarget_GDI::BitBlt(const RECT* dest, IRenderTarget* source, int xSrc, int ySrc, DWORD rop)
{
    if (rop != SRCCOPY && rop != SRCAND && rop != SRCINVERT && rop != DSTINVERT)
        return E_INVALIDARG;
    HDC sourceDC = source->GetDC(0);
    int width = dest->right - dest->left;
    int height = dest->bottom - dest->top;
    if (rop == SRCCOPY) {
        ::BitBlt(m_dc, dest->left, dest->top, width, height, sourceDC, xSrc, ySrc, rop);
    } else {
        SAlphaBackup backup(m_alphaBuffer, m_dc, CurrentBitmap(), *dest);
        ::BitBlt(m_dc, dest->left, dest->top, width, height, sourceDC, xSrc, ySrc, rop);
    }
    source->ReleaseDC(sourceDC);
    return S_OK;
}

HRESULT SRenderTarget_GDI::AlphaBlend(const RECT* dest, IRenderTarget* source, const RECT* src, BYTE alpha)
{
    HDC sourceDC = source->GetDC(0);
    HRESULT hr = Transfer(sourceDC, false, *dest, *src, alpha);
    source->ReleaseDC(sourceDC);
    return hr;
}

// Objects without a native handle select a stock object, so the handle of the object they
// replace is never left selected.
HGDIOBJ SRenderTarget_GDI::NativeHandle(IRenderObj* object) const
{
    HGDIOBJ handle = nullptr;
    switch (object->ObjectType()) {
    case kRenderObjPen:
        handle = static_cast<SPen_GDI*>(object)->GetHandle();
        return handle ? handle : GetStockObject(NULL_PEN);
    case kRenderObjBrush:
        handle = static_cast<SBrush_GDI*>(object)->GetHandle();
        return handle ? handle : GetStockObject(NULL_BRUSH);
    case kRenderObjFont:
        handle = static_cast<SFont_GDI*>(object)->GetHandle();
        return handle ? handle : GetStockObject(SYSTEM_FONT);
    default:
        handle = static_cast<SBitmap_GDI*>(object)->DibHandle();
        return handle ? handle : m_stockBitmap;
    }
}

IRenderObj* SRenderTarget_GDI::GetCurrentObject(int kind)
{
    int slot = SlotOf(kind);
    return slot < 0 ? nullptr : m_current[slot].Get();
}

HRESULT SRenderTarget_GDI::SelectDefaultObject(int kind, IRenderObj** previous)
{
    if (previous)
        *previous = nullptr;
    int slot = SlotOf(kind);
    if (slot < 0)
        return E_INVALIDARG;
    if (m_current[slot].Get() == m_defaults[slot].Get())
        return S_FALSE;
    return SelectObject(m_defaults[slot], previous);
}

HRESULT SRenderTarget_GDI::SelectObject(IRenderObj* object, IRenderObj** previous)
{
    if (previous)
        *previous = nullptr;
    if (!object)
        return E_INVALIDARG;
    int slot = SlotOf(object->ObjectType());
    if (slot < 0)
        return S_OK;
    // fails for a bitmap that another DC holds
    if (!::SelectObject(m_dc, NativeHandle(object)))
        return E_FAIL;
    if (previous)
        *previous = m_current[slot].Detach();
    m_current[slot] = object;
    return S_OK;
}

COLORREF SRenderTarget_GDI::SetTextColor(COLORREF color)
{
    COLORREF previous = m_textColor;
    m_textColor = color;
    ::SetTextColor(m_dc, color & 0xFFFFFF);
    return previous;
}

HDC SRenderTarget_GDI::GetDC(UINT flag)
{
    m_dcLent = flag;
    return m_dc;
}

void SRenderTarget_GDI::ReleaseDC(HDC dc)
{
    if (dc == m_dc)
        m_dcLent = 0;
}

HRESULT SRenderTarget_GDI::SetTransform(const XFORM* matrix, XFORM* previous)
{
    if (previous && !GetWorldTransform(m_dc, previous))
        return E_FAIL;
    return SetWorldTransform(m_dc, matrix) ? S_OK : E_FAIL;
}

HRESULT SRenderTarget_GDI::GetTransform(XFORM* matrix)
{
    return GetWorldTransform(m_dc, matrix) ? S_OK : E_FAIL;
}

DWORD* SRenderTarget_GDI::PixelAt(int x, int y)
{
    IBitmap* bitmap = CurrentBitmap();
    x += m_origin.x;
    y += m_origin.y;
    if (x < 0 || y < 0 || x >= bitmap->Width() || y >= bitmap->Height())
        return nullptr;
    return static_cast<DWORD*>(bitmap->LockPixelBits()) + static_cast<size_t>(y) * bitmap->Width() + x;
}

COLORREF SRenderTarget_GDI::GetPixel(int x, int y)
{
    DWORD* pixel = PixelAt(x, y);
    return pixel ? *pixel : 0xFFFFFF;
}

COLORREF SRenderTarget_GDI::SetPixel(int x, int y, COLORREF color)
{
    DWORD* pixel = PixelAt(x, y);
    if (!pixel)
        return 0xFFFFFF;
    COLORREF previous = *pixel;
    *pixel = color;
    return previous;
}

HRESULT SRenderTarget_GDI::SetRop2(int mode, int* previous)
{
    if (mode < R2_BLACK || mode > R2_WHITE)
        return E_INVALIDARG;
    int old = SetROP2(m_dc, mode);
    if (previous)
        *previous = old;
    return S_OK;
}

} // namespace SKEIN
