#include "imgdecoder/SImgDecoder_GDIP.h"
#include <objidl.h>
#include <gdiplus.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include "imgdecoder/SBitmapLock.h"
#include "imgdecoder/SImgPixels.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace SKEIN {

static const GUID kFrameDimensionTime = {0x6AEDBD6D, 0x3FB5, 0x418A, {0x83, 0xA6, 0x7F, 0x45, 0x22, 0x9D, 0xC8, 0x72}};
static const PROPID kFrameDelayTag = 0x5100;

// Locks the whole bitmap as 32bpp ARGB and premultiplies it into dst (rows of width x 4 bytes).
static bool ReadPremultiplied(GpBitmap* bitmap, UINT width, UINT height, BYTE* dst)
{
    GpRect rect(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData data;
    if (GdipBitmapLockBits(bitmap, &rect, ImageLockModeRead, PixelFormat32bppARGB, &data) != Ok)
        return false;
    const BYTE* row = static_cast<const BYTE*>(data.Scan0);
    for (UINT y = 0; y < height; ++y, row += data.Stride, dst += width * 4)
        PremultiplyBGRA(row, dst, width);
    GdipBitmapUnlockBits(bitmap, &data);
    return true;
}

// The frame-delay property (hundredths of a second per frame), malloc'ed; null when absent.
static PropertyItem* ReadDelays(GpBitmap* bitmap)
{
    UINT size = 0;
    if (GdipGetPropertyItemSize(bitmap, kFrameDelayTag, &size) != Ok || size < sizeof(PropertyItem))
        return nullptr;
    PropertyItem* item = static_cast<PropertyItem*>(malloc(size));
    if (item && GdipGetPropertyItem(bitmap, kFrameDelayTag, size, item) != Ok) {
        free(item);
        item = nullptr;
    }
    return item;
}

// Delay of frame index in milliseconds: at least 100; a missing entry counts as 0.
static int DelayMs(const PropertyItem* delays, UINT index)
{
    UINT32 hundredths = 0;
    if (delays && delays->value && delays->length / 4 > index)
        memcpy(&hundredths, static_cast<const BYTE*>(delays->value) + index * 4, 4);
    if (hundredths < 10)
        hundredths = 10;
    return hundredths > INT_MAX / 10 ? INT_MAX : static_cast<int>(hundredths * 10);
}

// Makes frame index active and draws it alone onto the cleared work bitmap.
static bool DrawFrame(GpBitmap* image, UINT index, GpBitmap* work, UINT width, UINT height)
{
    GpGraphics* graphics = nullptr;
    if (GdipImageSelectActiveFrame(image, &kFrameDimensionTime, index) != Ok ||
        GdipGetImageGraphicsContext(work, &graphics) != Ok)
        return false;
    bool ok = GdipGraphicsClear(graphics, 0) == Ok &&
              GdipDrawImageRectI(graphics, image, 0, 0, static_cast<INT>(width), static_cast<INT>(height)) == Ok;
    GdipDeleteGraphics(graphics);
    return ok;
}

SImgDecoderFactory_GDIP::SImgDecoderFactory_GDIP() : m_token(0)
{
    GdiplusStartupInput input; // version 1, no debug callback, nothing suppressed
    if (GdiplusStartup(&m_token, &input, nullptr) != Ok)
        m_token = 0;
}

SImgDecoderFactory_GDIP::~SImgDecoderFactory_GDIP()
{
    if (m_token)
        GdiplusShutdown(m_token);
}

BOOL SImgDecoderFactory_GDIP::CreateImgX(IImgX** image)
{
    *image = new SImgX_GDIP(this);
    return TRUE;
}

// The CLSID of the first encoder for the format.
static HRESULT FindEncoder(const GUID& format, CLSID* encoder)
{
    UINT count = 0, size = 0;
    if (GdipGetImageEncodersSize(&count, &size) != Ok || size == 0)
        return E_FAIL;
    ImageCodecInfo* codecs = static_cast<ImageCodecInfo*>(malloc(size));
    if (!codecs)
        return E_OUTOFMEMORY;
    HRESULT hr = E_FAIL;
    if (GdipGetImageEncoders(count, size, codecs) == Ok) {
        for (UINT i = 0; i < count; ++i) {
            if (IsEqualGUID(codecs[i].FormatID, format)) {
                *encoder = codecs[i].Clsid;
                hr = S_OK;
                break;
            }
        }
    }
    free(codecs);
    return hr;
}

HRESULT SImgDecoderFactory_GDIP::SaveImage(IBitmap* bitmap, const wchar_t* path, const GUID* format)
{
    if (!bitmap || !path || !format)
        return E_INVALIDARG;
    CLSID encoder;
    HRESULT hr = FindEncoder(*format, &encoder);
    if (FAILED(hr))
        return hr;
    SBitmapLock lock(bitmap);
    if (!lock.Bits())
        return E_FAIL;
    GpBitmap* wrapper = nullptr;
    GpStatus status = GdipCreateBitmapFromScan0(static_cast<INT>(lock.Width()), static_cast<INT>(lock.Height()),
                                                static_cast<INT>(lock.Width() * 4), PixelFormat32bppPARGB,
                                                lock.Bits(), &wrapper);
    if (status == Ok) {
        status = GdipSaveImageToFile(wrapper, path, &encoder, nullptr);
        GdipDisposeImage(wrapper);
    }
    return status == Ok ? S_OK : E_FAIL;
}

int SImgX_GDIP::LoadFromMemory(const void* buffer, size_t size)
{
    Clear();
    if (!buffer || size == 0)
        return 0;
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, size);
    if (!block)
        return 0;
    memcpy(reinterpret_cast<void*>(block), buffer, size);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(block, TRUE, &stream))) {
        GlobalFree(block);
        return 0;
    }
    GpBitmap* bitmap = nullptr;
    GpStatus status = GdipCreateBitmapFromStream(stream, &bitmap);
    stream->Release(); // the bitmap holds its own reference while it lives
    return status == Ok ? DecodeAndDispose(bitmap) : 0;
}

int SImgX_GDIP::LoadFromFileW(const wchar_t* path)
{
    Clear();
    GpBitmap* bitmap = nullptr;
    if (!path || GdipCreateBitmapFromFile(path, &bitmap) != Ok)
        return 0;
    return DecodeAndDispose(bitmap);
}

int SImgX_GDIP::DecodeAndDispose(GpBitmap* bitmap)
{
    int count = Decode(bitmap);
    GdipDisposeImage(bitmap);
    return count;
}

int SImgX_GDIP::Decode(GpBitmap* bitmap)
{
    UINT width = 0, height = 0, count = 0;
    if (GdipGetImageWidth(bitmap, &width) != Ok || GdipGetImageHeight(bitmap, &height) != Ok)
        return 0;
    if (GdipImageGetFrameCount(bitmap, &kFrameDimensionTime, &count) != Ok || count == 0)
        count = 1;
    if (!Adopt(AllocImage(width, height, count), width, height, count))
        return 0;
    bool ok = count == 1 ? ReadPremultiplied(bitmap, width, height, FrameBits(0))
                         : ComposeFrames(bitmap, width, height);
    if (!ok)
        Clear();
    return static_cast<int>(GetFrameCount());
}

bool SImgX_GDIP::ComposeFrames(GpBitmap* bitmap, UINT width, UINT height)
{
    PropertyItem* delays = ReadDelays(bitmap);
    GpBitmap* work = nullptr;
    bool ok = GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                        PixelFormat32bppARGB, nullptr, &work) == Ok;
    for (UINT i = 0; ok && i < GetFrameCount(); ++i) {
        ok = DrawFrame(bitmap, i, work, width, height) && ReadPremultiplied(work, width, height, FrameBits(i));
        Frame(i).SetDelay(DelayMs(delays, i));
    }
    if (work)
        GdipDisposeImage(work);
    free(delays);
    return ok;
}

BOOL CreateImgDecoderFactory_GDIP(IImgDecoderFactory** factory)
{
    SImgDecoderFactory_GDIP* gdip = new SImgDecoderFactory_GDIP();
    if (!gdip->IsStarted()) {
        gdip->Release();
        gdip = nullptr;
    }
    *factory = gdip;
    return gdip != nullptr;
}

} // namespace SKEIN
