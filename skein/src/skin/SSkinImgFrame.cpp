#include "skin/SSkinImgFrame.h"
#include <stdio.h>
#include <string.h>
#include "skin/SSkinAttr.h"

namespace SKEIN {

namespace {

BYTE AlphaAt(const UINT32* pixels, int width, int x, int y)
{
    return static_cast<BYTE>(pixels[static_cast<size_t>(y) * width + x] >> 24);
}

// Scans positions 1 .. count - 2 of a frame line: the first opaque one (begin) and the first
// transparent one after it (end).
void ScanBand(const UINT32* pixels, int width, int count, bool row, int* begin, int* end)
{
    int i = 1;
    while (i < count - 1 && AlphaAt(pixels, width, row ? i : 0, row ? 0 : i) == 0)
        ++i;
    *begin = i;
    while (i < count - 1 && AlphaAt(pixels, width, row ? i : 0, row ? 0 : i) != 0)
        ++i;
    *end = i;
}

} // namespace

SSkinImgFrame::SSkinImgFrame()
{
    SetRectEmpty(&m_margins);
}

UINT SSkinImgFrame::GetExpandMode() const
{
    return (m_tile ? kExpandTile : kExpandStretch) | (static_cast<UINT>(m_filterLevel) << 16);
}

void SSkinImgFrame::DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    RECT cell;
    if (CellRect(state, &cell))
        rt->DrawBitmap9Patch(rect, m_image, &cell, &m_margins, GetExpandMode(), alpha);
}

void SSkinImgFrame::CopySettingsTo(ISkinObj* target, int scale) const
{
    SSkinImgList::CopySettingsTo(target, scale);
    SSkinImgFrame* copy = dynamic_cast<SSkinImgFrame*>(target);
    if (!copy)
        return;
    copy->m_margins.left = MulDiv(m_margins.left, scale, m_scale);
    copy->m_margins.top = MulDiv(m_margins.top, scale, m_scale);
    copy->m_margins.right = MulDiv(m_margins.right, scale, m_scale);
    copy->m_margins.bottom = MulDiv(m_margins.bottom, scale, m_scale);
}

HRESULT SSkinImgFrame::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"margin")) {
        int left = m_margins.left, top = m_margins.top, right = m_margins.right, bottom = m_margins.bottom;
        swscanf(value.c_str(), L"%d,%d,%d,%d", &left, &top, &right, &bottom);
        SetRect(&m_margins, left, top, right, bottom);
    } else if (SkinAttrIs(name, L"left")) {
        m_margins.left = SkinAttrInt(value);
    } else if (SkinAttrIs(name, L"top")) {
        m_margins.top = SkinAttrInt(value);
    } else if (SkinAttrIs(name, L"right")) {
        m_margins.right = SkinAttrInt(value);
    } else if (SkinAttrIs(name, L"bottom")) {
        m_margins.bottom = SkinAttrInt(value);
    } else if (SkinAttrIs(name, L"margin-x")) {
        m_margins.left = m_margins.right = SkinAttrInt(value);
    } else if (SkinAttrIs(name, L"margin-y")) {
        m_margins.top = m_margins.bottom = SkinAttrInt(value);
    } else if (SkinAttrIs(name, L"margin2")) {
        SDynArray<SStringW> pieces;
        if (SplitByChar(value, L',', pieces) != 4)
            return Took(name, value, loading, E_INVALIDARG);
        SetRect(&m_margins, SkinAttrDimension(pieces[0]).ToPixels(100), SkinAttrDimension(pieces[1]).ToPixels(100),
                SkinAttrDimension(pieces[2]).ToPixels(100), SkinAttrDimension(pieces[3]).ToPixels(100));
    } else {
        return SSkinImgList::ApplyAttribute(name, value, loading);
    }
    return Took(name, value, loading, S_FALSE);
}

HRESULT SSkinImgFrame2::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (SkinAttrIs(name, L"src"))
        return Took(name, value, loading, LoadBorderedImage(value));
    return SSkinImgFrame::ApplyAttribute(name, value, loading);
}

HRESULT SSkinImgFrame2::LoadBorderedImage(const SStringW& id)
{
    IBitmap* source = LoadImage(id);
    if (!source)
        return E_FAIL;
    SRefPtr<IBitmap> keep(source, false);
    int width = source->Width();
    int height = source->Height();
    const UINT32* pixels = static_cast<const UINT32*>(source->GetPixelBits());
    if (width < 2 || height < 2 || !pixels)
        return E_INVALIDARG;

    int left, right, top, bottom;
    ScanBand(pixels, width, width, true, &left, &right);
    ScanBand(pixels, width, height, false, &top, &bottom);

    IBitmap* image = nullptr;
    IRenderFactory* factory = source->GetRenderFactory();
    if (!factory || !factory->CreateBitmap(&image) || !image)
        return E_OUTOFMEMORY;
    SRefPtr<IBitmap> made(image, false);
    HRESULT hr = image->Init(width - 2, height - 2, nullptr);
    if (FAILED(hr))
        return hr;
    UINT32* out = static_cast<UINT32*>(image->LockPixelBits());
    if (out) {
        for (int y = 1; y < height - 1; ++y)
            memcpy(out + static_cast<size_t>(y - 1) * (width - 2), pixels + static_cast<size_t>(y) * width + 1,
                   sizeof(UINT32) * (width - 2));
        image->UnlockPixelBits(out);
    }
    SetRect(&m_margins, left - 1, top - 1, width - 1 - right, height - 1 - bottom);
    SetImage(image);
    return S_OK;
}

} // namespace SKEIN
