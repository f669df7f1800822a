#pragma once
// The Windows Imaging Component decoder back end ("wic"): frames converted to premultiplied BGRA
// on demand.
#include "core/SObjRef.h"
#include "imgdecoder/SImgXBase.h"

struct IWICImagingFactory;
struct IWICBitmapSource;
struct IWICBitmapDecoder;

namespace SKEIN {

// Holds one reference to the WIC imaging factory; each of its images holds another.
class SImgDecoderFactory_WIC : public TObjRefImpl<IImgDecoderFactory> {
public:
    // Takes over the reference to wic.
    explicit SImgDecoderFactory_WIC(IWICImagingFactory* wic) : m_wic(wic) {}
    ~SImgDecoderFactory_WIC() override;

    BOOL CreateImgX(IImgX** image) override;
    HRESULT SaveImage(IBitmap*, const wchar_t*, const GUID*) override { return E_FAIL; }
    const wchar_t* GetDescription() override { return L"wic"; }

private:
    IWICImagingFactory* m_wic;
};

// A frame is a WIC format converter to 32bpp PBGRA; pixels are made when copied.
class SImgFrame_WIC : public IImgFrame {
public:
    typedef void SRelocatable;

    SImgFrame_WIC() : m_source(nullptr) {}
    SImgFrame_WIC(const SImgFrame_WIC&) = delete;
    SImgFrame_WIC& operator=(const SImgFrame_WIC&) = delete;
    ~SImgFrame_WIC();
    // Takes over the reference to source.
    void Attach(IWICBitmapSource* source) { m_source = source; }

    BOOL GetSize(UINT* width, UINT* height) override;
    // rect {left, top, right, bottom}, or null for the whole frame.
    BOOL CopyPixels(const RECT* rect, UINT stride, UINT bufferSize, BYTE* buffer) override;
    int GetDelay() override { return 0; }

private:
    IWICBitmapSource* m_source;
};

class SImgX_WIC : public SImgXBase {
public:
    explicit SImgX_WIC(IWICImagingFactory* wic);
    ~SImgX_WIC() override;

    // The bytes are copied: frames read them whenever pixels are copied.
    int LoadFromMemory(const void* buffer, size_t size) override;
    int LoadFromFileW(const wchar_t* path) override;
    UINT GetFrameCount() override { return static_cast<UINT>(m_frames.Count()); }
    IImgFrame* GetFrame(UINT index) override;

private:
    void Clear();
    // Makes the frames; takes over the reference to decoder; the frame count.
    int Decode(IWICBitmapDecoder* decoder);
    bool AddFrame(IWICBitmapDecoder* decoder, UINT index, SImgFrame_WIC& frame);

    IWICImagingFactory* m_wic;
    BYTE* m_data;
    SDynArray<SImgFrame_WIC> m_frames;
};

} // namespace SKEIN
