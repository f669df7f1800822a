#include "imgdecoder/SImgDecoder_STB.h"
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <stb_image.h>
#include "imgdecoder/SImgPixels.h"

namespace SKEIN {

BOOL SImgDecoderFactory_STB::CreateImgX(IImgX** image)
{
    *image = new SImgX_STB();
    return TRUE;
}

// The header's size is checked before stb allocates the pixels.
static bool SizeAccepted(int width, int height)
{
    size_t bytes = 0;
    return width > 0 && height > 0 &&
           ImageBytes(static_cast<UINT>(width), static_cast<UINT>(height), 1, &bytes);
}

int SImgX_STB::LoadFromMemory(const void* buffer, size_t size)
{
    Clear();
    if (!buffer || size == 0 || size > INT_MAX)
        return 0;
    const stbi_uc* bytes = static_cast<const stbi_uc*>(buffer);
    int width = 0, height = 0, channels = 0;
    if (!stbi_info_from_memory(bytes, static_cast<int>(size), &width, &height, &channels) ||
        !SizeAccepted(width, height))
        return 0;
    return TakePixels(stbi_load_from_memory(bytes, static_cast<int>(size), &width, &height, &channels, 4),
                      width, height);
}

int SImgX_STB::LoadFromFileW(const wchar_t* path)
{
    Clear();
    FILE* file = path ? _wfopen(path, L"rb") : nullptr;
    if (!file)
        return 0;
    int width = 0, height = 0, channels = 0;
    BYTE* pixels = nullptr;
    if (stbi_info_from_file(file, &width, &height, &channels) && SizeAccepted(width, height))
        pixels = stbi_load_from_file(file, &width, &height, &channels, 4);
    fclose(file);
    return TakePixels(pixels, width, height);
}

int SImgX_STB::TakePixels(BYTE* pixels, int width, int height)
{
    if (!pixels)
        return 0;
    if (!SizeAccepted(width, height)) {
        stbi_image_free(pixels);
        return 0;
    }
    PremultiplyRGBAToBGRA(pixels, pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
    // stb allocates with malloc (see stb_image_impl.c), so the block is handed on as it is
    return Adopt(pixels, static_cast<UINT>(width), static_cast<UINT>(height), 1);
}

BOOL CreateImgDecoderFactory_STB(IImgDecoderFactory** factory)
{
    *factory = new SImgDecoderFactory_STB();
    return TRUE;
}

} // namespace SKEIN
