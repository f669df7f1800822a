#include "render/SBitmap_GDI.h"
#include <string.h>
#include "interface/SImgDecoder-i.h"
#include "render/SDib32.h"

namespace SKEIN {

SBitmap_GDI::SBitmap_GDI(IRenderFactory* factory) : Base(factory), m_width(0), m_height(0), m_bits(nullptr) {}

HRESULT SBitmap_GDI::Allocate(int width, int height)
{
    bool empty = width == 0 || height == 0;
    if (width < 0 || height < 0 || (!empty && !IsDib32SizeValid(width, height)))
        return E_INVALIDARG;
    ReplaceHandle(nullptr);
    m_width = m_height = 0;
    m_bits = nullptr;
    if (empty)
        return S_OK;
    HBITMAP dib = CreateDib32(width, height, &m_bits);
    if (!dib)
        return E_OUTOFMEMORY;
    ReplaceHandle(dib);
    m_width = width;
    m_height = height;
    return S_OK;
}

HRESULT SBitmap_GDI::Init(int width, int height, const void* pixels)
{
    HRESULT hr = Allocate(width, height);
    if (SUCCEEDED(hr) && pixels && m_bits)
        memcpy(m_bits, pixels, static_cast<size_t>(m_width) * 4 * m_height);
    return hr;
}

HRESULT SBitmap_GDI::InitFromFrame(IImgFrame* frame)
{
    UINT width = 0, height = 0;
    if (!frame || !frame->GetSize(&width, &height) || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return E_FAIL;
    HRESULT hr = Allocate(static_cast<int>(width), static_cast<int>(height));
    if (FAILED(hr) || !m_bits)
        return hr;
    UINT stride = width * 4;
    if (!frame->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(m_bits))) {
        Allocate(0, 0);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT SBitmap_GDI::CreateImage(SRefPtr<IImgX>& image) const
{
    IImgDecoderFactory* decoders = m_factory->GetImgDecoderFactory();
    if (!decoders)
        return E_UNEXPECTED;
    IImgX* created = nullptr;
    if (!decoders->CreateImgX(&created) || !created)
        return E_OUTOFMEMORY;
    image.Attach(created);
    return S_OK;
}

// An image that does not decode is a failure, and the bitmap keeps what it had.
HRESULT SBitmap_GDI::AdoptFirstFrame(IImgX* image, int frameCount)
{
    if (frameCount <= 0)
        return E_FAIL;
    return InitFromFrame(image->GetFrame(0));
}

HRESULT SBitmap_GDI::LoadFromFile(const wchar_t* path)
{
    SRefPtr<IImgX> image;
    HRESULT hr = CreateImage(image);
    if (FAILED(hr))
        return hr;
    return AdoptFirstFrame(image, image->LoadFromFileW(path));
}

HRESULT SBitmap_GDI::LoadFromMemory(const void* buffer, size_t size)
{
    SRefPtr<IImgX> image;
    HRESULT hr = CreateImage(image);
    if (FAILED(hr))
        return hr;
    return AdoptFirstFrame(image, image->LoadFromMemory(buffer, size));
}

void* SBitmap_GDI::LockPixelBits()
{
    GdiFlush();
    return m_bits;
}

const void* SBitmap_GDI::GetPixelBits() const
{
    GdiFlush();
    return m_bits;
}

HRESULT SBitmap_GDI::Clone(IBitmap** out) const
{
    *out = nullptr;
    IBitmap* copy = nullptr;
    if (!m_factory->CreateBitmap(&copy) || !copy)
        return E_UNEXPECTED;
    HRESULT hr = copy->Init(m_width, m_height, GetPixelBits());
    if (FAILED(hr)) {
        copy->Release();
        return hr;
    }
    *out = copy;
    return S_OK;
}

// Stretched onto a render target of the new size, whose bitmap becomes the result.
HRESULT SBitmap_GDI::Scale(IBitmap** out, int width, int height, UINT filter)
{
    *out = nullptr;
    if (width == m_width && height == m_height)
        return Clone(out);
    if (width <= 0 || height <= 0)
        return E_INVALIDARG;
    if (!m_bits)
        return E_FAIL;
    IRenderTarget* target = nullptr;
    if (!m_factory->CreateRenderTarget(&target, width, height))
        return E_OUTOFMEMORY;
    RECT dest = {0, 0, width, height};
    RECT src = {0, 0, m_width, m_height};
    HRESULT hr = target->DrawBitmapEx(&dest, this, &src, (filter << 16) | kExpandStretch, 255);
    if (SUCCEEDED(hr)) {
        IRenderObj* result = target->GetCurrentObject(kRenderObjBitmap);
        result->AddRef();
        *out = static_cast<IBitmap*>(result);
    }
    target->Release();
    return hr;
}

HRESULT SBitmap_GDI::ScaleByPercent(IBitmap** out, int percent, UINT filter)
{
    return Scale(out, MulDiv(m_width, percent, 100), MulDiv(m_height, percent, 100), filter);
}

HRESULT SBitmap_GDI::Save(const wchar_t* path, const GUID* format)
{
    IImgDecoderFactory* decoders = m_factory->GetImgDecoderFactory();
    if (!decoders)
        return E_UNEXPECTED;
    return decoders->SaveImage(this, path, format);
}

} // namespace SKEIN
