#pragma once
// Bitmap held in a 32-bit top-down DIB section of premultiplied pixels. A whole PNG loaded from
// memory is kept encoded, sized from its header, until its pixels are first needed: start-up
// decodes only the images it draws.
#include <vector>
#include "render/SRenderObj_GDI.h"

namespace SKEIN {

struct IImgX;

class SBitmap_GDI : public TGdiRenderObjImpl<IBitmap, kRenderObjBitmap, HBITMAP> {
    typedef TGdiRenderObjImpl<IBitmap, kRenderObjBitmap, HBITMAP> Base;
    SKEIN_CLASS_NAME(Base, L"bitmap")
public:
    explicit SBitmap_GDI(IRenderFactory* factory);

    HRESULT InitFromFrame(IImgFrame* frame) override;
    HRESULT Init(int width, int height, const void* pixels) override;
    HRESULT LoadFromFile(const wchar_t* path) override;
    HRESULT LoadFromMemory(const void* buffer, size_t size) override;
    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    SIZE Size() const override { return SIZE{m_width, m_height}; }
    void* LockPixelBits() override;
    void UnlockPixelBits(void*) override {}
    const void* GetPixelBits() const override;
    HRESULT Clone(IBitmap** out) const override;
    HRESULT Scale(IBitmap** out, int width, int height, UINT filter) override;
    HRESULT ScaleByPercent(IBitmap** out, int percent, UINT filter) override;
    HRESULT Save(const wchar_t* path, const GUID* format) override;

    // The DIB section, with a deferred PNG decoded first; null for an empty bitmap.
    HBITMAP DibHandle() const;
    // False while a PNG waits to be decoded.
    bool IsDecoded() const { return m_encoded.empty(); }

private:
    // Replaces the pixels by width x height zero pixels (none for a zero side).
    HRESULT Allocate(int width, int height);
    // A new image of the factory's decoder.
    HRESULT CreateImage(SRefPtr<IImgX>& image) const;
    // Frame 0 of an image whose load gave frameCount frames.
    HRESULT AdoptFirstFrame(IImgX* image, int frameCount);
    HRESULT Decode(const void* buffer, size_t size);
    // Keeps a PNG encoded when its header gives a valid size and a decoder is at hand.
    bool Defer(const void* buffer, size_t size);
    // Decodes a deferred PNG; one that fails leaves an empty bitmap. Decoding does not change
    // what the bitmap is, so it runs from const operations too.
    void DecodeDeferred() const;

    int m_width;
    int m_height;
    void* m_bits;
    std::vector<BYTE> m_encoded;
};

} // namespace SKEIN
