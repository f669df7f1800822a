#include "imgdecoder/SImgDecoder_WIC.h"
#include <wincodec.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include "imgdecoder/SImgPixels.h"

namespace SKEIN {

static const CLSID kClsidImagingFactory = {0xCACAF262, 0x9370, 0x4615,
                                           {0xA1, 0x3B, 0x9F, 0x55, 0x39, 0xDA, 0x4C, 0x0A}};
static const IID kIidImagingFactory = {0xEC5EC8A9, 0xC395, 0x4314, {0x9C, 0x77, 0x54, 0xD7, 0xA9, 0x35, 0xFF, 0x70}};
static const GUID kFormat32bppPBGRA = {0x6FDDC324, 0x4E03, 0x4BFE, {0xB1, 0x85, 0x3D, 0x77, 0x76, 0x8D, 0xC9, 0x10}};

SImgDecoderFactory_WIC::~SImgDecoderFactory_WIC()
{
    m_wic->Release();
}

BOOL SImgDecoderFactory_WIC::CreateImgX(IImgX** image)
{
    *image = new SImgX_WIC(m_wic);
    return TRUE;
}

SImgFrame_WIC::~SImgFrame_WIC()
{
    if (m_source)
        m_source->Release();
}

BOOL SImgFrame_WIC::GetSize(UINT* width, UINT* height)
{
    return m_source && SUCCEEDED(m_source->GetSize(width, height));
}

BOOL SImgFrame_WIC::CopyPixels(const RECT* rect, UINT stride, UINT bufferSize, BYTE* buffer)
{
    if (!m_source)
        return FALSE;
    WICRect area = {};
    if (rect) {
        area.X = rect->left;
        area.Y = rect->top;
        area.Width = rect->right - rect->left;
        area.Height = rect->bottom - rect->top;
    }
    return SUCCEEDED(m_source->CopyPixels(rect ? &area : nullptr, stride, bufferSize, buffer));
}

SImgX_WIC::SImgX_WIC(IWICImagingFactory* wic) : m_wic(wic), m_data(nullptr)
{
    m_wic->AddRef();
}

SImgX_WIC::~SImgX_WIC()
{
    Clear();
    m_wic->Release();
}

void SImgX_WIC::Clear()
{
    m_frames.Resize(0);
    free(m_data);
    m_data = nullptr;
}

IImgFrame* SImgX_WIC::GetFrame(UINT index)
{
    if (index >= GetFrameCount())
        return nullptr;
    return m_frames.ItemAt(static_cast<int>(index));
}

int SImgX_WIC::LoadFromMemory(const void* buffer, size_t size)
{
    Clear();
    if (!buffer || size == 0 || size > MAXDWORD)
        return 0;
    m_data = static_cast<BYTE*>(malloc(size));
    if (!m_data)
        return 0;
    memcpy(m_data, buffer, size);
    IWICStream* stream = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    if (SUCCEEDED(m_wic->CreateStream(&stream)) &&
        SUCCEEDED(stream->InitializeFromMemory(m_data, static_cast<DWORD>(size))))
        m_wic->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
    if (stream)
        stream->Release(); // the decoder keeps its own reference
    return Decode(decoder);
}

int SImgX_WIC::LoadFromFileW(const wchar_t* path)
{
    Clear();
    IWICBitmapDecoder* decoder = nullptr;
    if (path)
        m_wic->CreateDecoderFromFilename(path, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnLoad, &decoder);
    return Decode(decoder);
}

int SImgX_WIC::Decode(IWICBitmapDecoder* decoder)
{
    UINT count = 0;
    bool ok = decoder && SUCCEEDED(decoder->GetFrameCount(&count)) && count > 0 && count <= INT_MAX &&
              m_frames.Resize(static_cast<int>(count));
    for (UINT i = 0; ok && i < count; ++i)
        ok = AddFrame(decoder, i, m_frames[static_cast<int>(i)]);
    if (decoder)
        decoder->Release();
    if (!ok)
        Clear();
    return m_frames.Count();
}

bool SImgX_WIC::AddFrame(IWICBitmapDecoder* decoder, UINT index, SImgFrame_WIC& frame)
{
    IWICBitmapFrameDecode* source = nullptr;
    IWICFormatConverter* converter = nullptr;
    HRESULT hr = decoder->GetFrame(index, &source);
    if (SUCCEEDED(hr))
        hr = m_wic->CreateFormatConverter(&converter);
    if (SUCCEEDED(hr))
        hr = converter->Initialize(source, kFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom);
    UINT width = 0, height = 0;
    size_t bytes = 0;
    if (SUCCEEDED(hr))
        hr = converter->GetSize(&width, &height);
    if (SUCCEEDED(hr) && !ImageBytes(width, height, 1, &bytes))
        hr = E_FAIL;
    if (source)
        source->Release();
    if (FAILED(hr)) {
        if (converter)
            converter->Release();
        return false;
    }
    frame.Attach(converter);
    return true;
}

BOOL CreateImgDecoderFactory_WIC(IImgDecoderFactory** factory)
{
    IWICImagingFactory* wic = nullptr;
    *factory = nullptr;
    if (FAILED(CoCreateInstance(kClsidImagingFactory, nullptr, CLSCTX_INPROC_SERVER, kIidImagingFactory,
                                reinterpret_cast<void**>(&wic))))
        return FALSE;
    *factory = new SImgDecoderFactory_WIC(wic);
    return TRUE;
}

} // namespace SKEIN
