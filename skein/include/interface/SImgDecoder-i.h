#pragma once
// Image decoding: a decoder back end (factory), the images it makes and their frames.
// Every back end hands out frames as top-down rows of premultiplied blue, green, red, alpha.
#include <windows.h>
#include "core/SObjRef.h"

namespace SKEIN {

struct IBitmap;

// One decoded frame; owned by its image, valid while the image lives.
struct IImgFrame {
    // false when the frame has no pixels
    virtual BOOL GetSize(UINT* width, UINT* height) = 0;
    // rect null copies the whole frame; see each back end for the use of rect and stride
    virtual BOOL CopyPixels(const RECT* rect, UINT stride, UINT bufferSize, BYTE* buffer) = 0;
    // display time: milliseconds (gdi+), hundredths of a second (apng), 0 elsewhere
    virtual int GetDelay() = 0;

protected:
    ~IImgFrame() {}
};

struct IImgX : IObjRef {
    // Each load returns the number of frames, 0 when nothing decodes (and then no frame exists).
    virtual int LoadFromMemory(const void* buffer, size_t size) = 0;
    virtual int LoadFromFileA(const char* path) = 0;
    virtual int LoadFromFileW(const wchar_t* path) = 0;
    virtual UINT GetFrameCount() = 0;
    // null when index >= GetFrameCount()
    virtual IImgFrame* GetFrame(UINT index) = 0;
    virtual ~IImgX() {}
};

struct IImgDecoderFactory : IObjRef {
    // true with a new, empty image (one reference for the caller)
    virtual BOOL CreateImgX(IImgX** image) = 0;
    // format: GDI+ image-format identifier (gdi+); ignored by apng (always PNG)
    virtual HRESULT SaveImage(IBitmap* bitmap, const wchar_t* path, const GUID* format) = 0;
    virtual const wchar_t* GetDescription() = 0;
    virtual ~IImgDecoderFactory() {}
};

// Back-end creation functions: true with a new factory (one reference), false and null when the
// back end cannot work here (GDI+ did not start, no WIC imaging factory: COM must be initialised).
BOOL CreateImgDecoderFactory_GDIP(IImgDecoderFactory** factory); // "gdi+"
BOOL CreateImgDecoderFactory_WIC(IImgDecoderFactory** factory);  // "wic"
BOOL CreateImgDecoderFactory_STB(IImgDecoderFactory** factory);  // "stb"
BOOL CreateImgDecoderFactory_PNG(IImgDecoderFactory** factory);  // "apng"

} // namespace SKEIN
