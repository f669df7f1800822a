#pragma once
// The libpng decoder back end with animated PNG ("apng"); saves 8-bit RGBA PNG files.
#include "core/SObjRef.h"
#include "imgdecoder/SImgXBase.h"

namespace SKEIN {

struct IPngReader;

class SImgDecoderFactory_PNG : public TObjRefImpl<IImgDecoderFactory> {
public:
    BOOL CreateImgX(IImgX** image) override;
    // Always writes PNG; the format is not looked at.
    HRESULT SaveImage(IBitmap* bitmap, const wchar_t* path, const GUID* format) override;
    const wchar_t* GetDescription() override { return L"apng"; }
};

typedef SImgFrameMem SImgFrame_PNG;

// Frames are composed canvases; delays in hundredths of a second (0 for a still image).
class SImgX_PNG : public SImgXMem {
public:
    int LoadFromMemory(const void* buffer, size_t size) override;
    int LoadFromFileW(const wchar_t* path) override;

private:
    int Load(IPngReader& reader);
};

} // namespace SKEIN
