#include "render/SBitmap_GDI.h"
#include <string.h>
#include <zlib.h>
#include "interface/SImgDecoder-i.h"
#include "render/SDib32.h"

namespace SKEIN {

namespace {

const BYTE kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// A chunk: length, type, data, CRC of type and data; IHDR data begins with width and height.
const size_t kChunkFraming = 12;
const size_t kChunkTypeOffset = 4;
const size_t kChunkDataOffset = 8;
const UINT32 kHeaderDataSize = 13;

UINT32 BigEndian32(const BYTE* bytes)
{
    return (static_cast<UINT32>(bytes[0]) << 24) | (static_cast<UINT32>(bytes[1]) << 16) |
           (static_cast<UINT32>(bytes[2]) << 8) | bytes[3];
}

bool ChunkIs(const BYTE* chunk, const char* type)
{
    return memcmp(chunk + kChunkTypeOffset, type, 4) == 0;
}

// A PNG whose chunks are all whole with matching checksums, IHDR first and IEND last, and its
// stated size; false for anything else. Only such a file waits for its decoding.
bool ReadPngSize(const BYTE* bytes, size_t size, int& width, int& height)
{
    if (size < sizeof(kPngSignature) || memcmp(bytes, kPngSignature, sizeof(kPngSignature)) != 0)
        return false;
    bool first = true;
    for (size_t pos = sizeof(kPngSignature); size - pos >= kChunkFraming;) {
        const BYTE* chunk = bytes + pos;
        UINT32 length = BigEndian32(chunk);
        if (length > size - pos - kChunkFraming)
            return false;
        uLong crc = crc32(crc32(0L, Z_NULL, 0), chunk + kChunkTypeOffset, length + 4);
        if (crc != BigEndian32(chunk + kChunkDataOffset + length))
            return false;
        if (first) {
            if (!ChunkIs(chunk, "IHDR") || length != kHeaderDataSize)
                return false;
            UINT32 w = BigEndian32(chunk + kChunkDataOffset);
            UINT32 h = BigEndian32(chunk + kChunkDataOffset + 4);
            if (w > 0x7FFFFFFF || h > 0x7FFFFFFF || !IsDib32SizeValid(static_cast<int>(w), static_cast<int>(h)))
                return false;
            width = static_cast<int>(w);
            height = static_cast<int>(h);
            first = false;
        }
        if (ChunkIs(chunk, "IEND"))
            return true;
        pos += kChunkFraming + length;
    }
    return false;
}

} // namespace

SBitmap_GDI::SBitmap_GDI(IRenderFactory* factory) : Base(factory), m_width(0), m_height(0), m_bits(nullptr) {}

HRESULT SBitmap_GDI::Allocate(int width, int height)
{
    bool empty = width == 0 || height == 0;
    if (width < 0 || height < 0 || (!empty && !IsDib32SizeValid(width, height)))
        return E_INVALIDARG;
    ReplaceHandle(nullptr);
    m_width = m_height = 0;
    m_bits = nullptr;
    m_encoded.clear();
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
    return Defer(buffer, size) ? S_OK : Decode(buffer, size);
}

bool SBitmap_GDI::Defer(const void* buffer, size_t size)
{
    int width = 0, height = 0;
    if (!buffer || !ReadPngSize(static_cast<const BYTE*>(buffer), size, width, height) ||
        !m_factory->GetImgDecoderFactory())
        return false;
    ReplaceHandle(nullptr);
    m_bits = nullptr;
    m_width = width;
    m_height = height;
    const BYTE* bytes = static_cast<const BYTE*>(buffer);
    m_encoded.assign(bytes, bytes + size);
    return true;
}

void SBitmap_GDI::DecodeDeferred() const
{
    if (IsDecoded())
        return;
    SBitmap_GDI* self = const_cast<SBitmap_GDI*>(this);
    std::vector<BYTE> encoded;
    encoded.swap(self->m_encoded);
    if (FAILED(self->Decode(encoded.data(), encoded.size())))
        self->Allocate(0, 0);
}

HRESULT SBitmap_GDI::Decode(const void* buffer, size_t size)
{
    SRefPtr<IImgX> image;
    HRESULT hr = CreateImage(image);
    if (FAILED(hr))
        return hr;
    return AdoptFirstFrame(image, image->LoadFromMemory(buffer, size));
}

HBITMAP SBitmap_GDI::DibHandle() const
{
    DecodeDeferred();
    return m_handle;
}

void* SBitmap_GDI::LockPixelBits()
{
    DecodeDeferred();
    GdiFlush();
    return m_bits;
}

const void* SBitmap_GDI::GetPixelBits() const
{
    DecodeDeferred();
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
    DecodeDeferred();
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
