// Decode throughput of every image-decoder back end, in megapixels per second, on PNG images of
// skin and window size. Run: wine64 skein_bench_decode.exe [seconds per measurement]
#include <windows.h>
#include <objbase.h>
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <vector>
#include "interface/SImgDecoder-i.h"

using namespace SKEIN;

namespace {

struct Backend {
    const char* name;
    BOOL (*create)(IImgDecoderFactory**);
};

struct Sample {
    const char* name;
    int width;
    int height;
    std::vector<unsigned char> png;
};

// A skin-like picture: gradients, a soft-edged rounded shape over transparency and some grain,
// so that it compresses like real artwork rather than like a flat fill.
std::vector<unsigned char> Artwork(int width, int height)
{
    std::vector<unsigned char> rgba(static_cast<size_t>(width) * height * 4);
    unsigned seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            int grain = static_cast<int>((seed >> 16) & 7);
            int dx = 2 * x - width, dy = 2 * y - height;
            long long inside = 1000 - (1000LL * dx * dx) / (width * width) - (1000LL * dy * dy) / (height * height);
            int alpha = inside > 255 ? 255 : (inside < 0 ? 0 : static_cast<int>(inside));
            unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<unsigned char>(x * 255 / width + grain);
            p[1] = static_cast<unsigned char>(y * 255 / height);
            p[2] = static_cast<unsigned char>(128 + grain * 8);
            p[3] = static_cast<unsigned char>(alpha);
        }
    }
    return rgba;
}

std::vector<unsigned char> EncodePng(int width, int height)
{
    std::vector<unsigned char> rgba = Artwork(width, height);
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
    std::vector<unsigned char> png(size);
    if (!png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr))
        png.clear();
    png.resize(size);
    return png;
}

double Now()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// One decode: load from memory and copy frame 0 out (WIC makes its pixels only then).
bool DecodeOnce(IImgDecoderFactory* factory, const Sample& sample, std::vector<BYTE>& pixels)
{
    IImgX* image = nullptr;
    if (!factory->CreateImgX(&image))
        return false;
    bool ok = image->LoadFromMemory(sample.png.data(), sample.png.size()) > 0 &&
              image->GetFrame(0)->CopyPixels(nullptr, sample.width * 4, static_cast<UINT>(pixels.size()),
                                             pixels.data());
    image->Release();
    return ok;
}

// Megapixels per second over at least `seconds`; negative when the back end fails the image.
double Measure(IImgDecoderFactory* factory, const Sample& sample, double seconds)
{
    std::vector<BYTE> pixels(static_cast<size_t>(sample.width) * sample.height * 4);
    if (!DecodeOnce(factory, sample, pixels)) // also warms up caches and lazily loaded codecs
        return -1;
    long long decodes = 0;
    double start = Now(), elapsed = 0;
    do {
        if (!DecodeOnce(factory, sample, pixels))
            return -1;
        ++decodes;
        elapsed = Now() - start;
    } while (elapsed < seconds);
    return static_cast<double>(decodes) * sample.width * sample.height / elapsed / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    double seconds = argc > 1 ? atof(argv[1]) : 1.0;
    if (seconds <= 0)
        seconds = 1.0;
    CoInitialize(nullptr);
    const Backend backends[] = {{"gdi+", CreateImgDecoderFactory_GDIP},
                                {"wic", CreateImgDecoderFactory_WIC},
                                {"stb", CreateImgDecoderFactory_STB},
                                {"apng", CreateImgDecoderFactory_PNG}};
    Sample samples[] = {{"skin 64x64", 64, 64, {}}, {"skin 160x40", 160, 40, {}}, {"window 800x600", 800, 600, {}},
                        {"window 1280x800", 1280, 800, {}}};
    printf("PNG decode throughput, megapixels per second (RGBA 8-bit)\n%-8s", "backend");
    for (Sample& sample : samples) {
        sample.png = EncodePng(sample.width, sample.height);
        printf(" %16s", sample.name);
    }
    printf("\n");
    for (const Backend& backend : backends) {
        IImgDecoderFactory* factory = nullptr;
        printf("%-8s", backend.name);
        if (!backend.create(&factory)) {
            printf(" not available\n");
            continue;
        }
        for (const Sample& sample : samples) {
            double rate = Measure(factory, sample, seconds);
            if (rate < 0)
                printf(" %16s", "failed");
            else
                printf(" %16.1f", rate);
        }
        printf("\n");
        factory->Release();
    }
    CoUninitialize();
    return 0;
}
