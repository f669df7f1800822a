#include "imgdecoder/SImgDecoder_PNG.h"
#include <stdio.h>
#include <stdlib.h>
#include "imgdecoder/SApngDecoder.h"
#include "imgdecoder/SBitmapLock.h"
#include "imgdecoder/SImgPixels.h"
#include "imgdecoder/SPngWriter.h"

namespace SKEIN {

BOOL SImgDecoderFactory_PNG::CreateImgX(IImgX** image)
{
    *image = new SImgX_PNG();
    return TRUE;
}

HRESULT SImgDecoderFactory_PNG::SaveImage(IBitmap* bitmap, const wchar_t* path, const GUID*)
{
    if (!bitmap)
        return E_INVALIDARG;
    SBitmapLock lock(bitmap);
    return WritePngFile(path, lock.Width(), lock.Height(), lock.Bits());
}

int SImgX_PNG::LoadFromMemory(const void* buffer, size_t size)
{
    Clear();
    if (!buffer)
        return 0;
    IPngReader_Mem reader(static_cast<const BYTE*>(buffer), size);
    return Load(reader);
}

int SImgX_PNG::LoadFromFileW(const wchar_t* path)
{
    Clear();
    FILE* file = path ? _wfopen(path, L"rb") : nullptr;
    if (!file)
        return 0;
    IPngReader_File reader(file);
    int count = Load(reader);
    fclose(file);
    return count;
}

int SImgX_PNG::Load(IPngReader& reader)
{
    SApngFrames frames = {};
    if (!DecodeApng(reader, &frames))
        return 0;
    PremultiplyRGBAToBGRA(frames.pixels, frames.pixels,
                          static_cast<size_t>(frames.width) * frames.height * frames.count);
    int count = Adopt(frames.pixels, frames.width, frames.height, frames.count);
    for (int i = 0; i < count && frames.delays; ++i)
        Frame(static_cast<UINT>(i)).SetDelay(frames.delays[i]);
    free(frames.delays);
    return count;
}

BOOL CreateImgDecoderFactory_PNG(IImgDecoderFactory** factory)
{
    *factory = new SImgDecoderFactory_PNG();
    return TRUE;
}

} // namespace SKEIN
