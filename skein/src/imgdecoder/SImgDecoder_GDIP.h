#pragma once
// The GDI+ decoder back end ("gdi+"): still images and composed animated-GIF frames.
#include "core/SObjRef.h"
#include "imgdecoder/SImgXBase.h"

namespace Gdiplus {
class GpBitmap;
}

namespace SKEIN {

// Keeps GDI+ started while it lives.
class SImgDecoderFactory_GDIP : public TObjRefImpl<IImgDecoderFactory> {
public:
    SImgDecoderFactory_GDIP();
    ~SImgDecoderFactory_GDIP() override;
    bool IsStarted() const { return m_token != 0; }

    BOOL CreateImgX(IImgX** image) override;
    // Saves with the GDI+ encoder whose format identifier is *format.
    HRESULT SaveImage(IBitmap* bitmap, const wchar_t* path, const GUID* format) override;
    const wchar_t* GetDescription() override { return L"gdi+"; }

private:
    ULONG_PTR m_token;
};

typedef SImgFrameMem SImgFrame_GDIP;

class SImgX_GDIP : public SImgXMem {
public:
    // The image keeps its factory, and so GDI+, alive.
    explicit SImgX_GDIP(IImgDecoderFactory* factory) : m_factory(factory) {}

    int LoadFromMemory(const void* buffer, size_t size) override;
    int LoadFromFileW(const wchar_t* path) override;

private:
    // Decodes every frame of the bitmap and disposes of it; the frame count.
    int DecodeAndDispose(Gdiplus::GpBitmap* bitmap);
    int Decode(Gdiplus::GpBitmap* bitmap);
    bool ComposeFrames(Gdiplus::GpBitmap* bitmap, UINT width, UINT height);

    SRefPtr<IImgDecoderFactory> m_factory;
};

} // namespace SKEIN
