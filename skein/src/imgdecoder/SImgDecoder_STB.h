#pragma once
// The stb_image decoder back end ("stb"): one frame per image, no saving.
#include "core/SObjRef.h"
#include "imgdecoder/SImgXBase.h"

namespace SKEIN {

class SImgDecoderFactory_STB : public TObjRefImpl<IImgDecoderFactory> {
public:
    BOOL CreateImgX(IImgX** image) override;
    HRESULT SaveImage(IBitmap*, const wchar_t*, const GUID*) override { return E_NOTIMPL; }
    const wchar_t* GetDescription() override { return L"stb"; }
};

typedef SImgFrameMem SImgFrame_STB;

class SImgX_STB : public SImgXMem {
public:
    int LoadFromMemory(const void* buffer, size_t size) override;
    int LoadFromFileW(const wchar_t* path) override;

private:
    // Premultiplies the decoded red-green-blue-alpha pixels into the one frame.
    int TakePixels(BYTE* pixels, int width, int height);
};

} // namespace SKEIN
