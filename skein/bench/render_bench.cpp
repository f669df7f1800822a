// Time of a full-window (800 x 600) nine-part skin draw on the GDI render target.
// Usage: skein_bench_render [runs]
#include <stdio.h>
#include <stdlib.h>
#include <vector>
#include "interface/SRender-i.h"

using namespace SKEIN;

namespace {

const int kWidth = 800;
const int kHeight = 600;
const int kSkin = 24;
const int kMargin = 8;

// A window frame skin, premultiplied: a translucent shadow in the margins around an inside
// of the given pixel (opaque for a window background, translucent for a glass-like one).
SRefPtr<IBitmap> MakeSkin(IRenderFactory* factory, DWORD inside)
{
    std::vector<DWORD> pixels(kSkin * kSkin);
    for (int y = 0; y < kSkin; ++y) {
        for (int x = 0; x < kSkin; ++x) {
            int edge = x < y ? x : y;
            edge = kSkin - 1 - x < edge ? kSkin - 1 - x : edge;
            edge = kSkin - 1 - y < edge ? kSkin - 1 - y : edge;
            DWORD alpha = edge < kMargin ? 0x20 * (edge + 1) - 1 : 0;
            pixels[y * kSkin + x] = edge < kMargin ? (alpha << 24) | (alpha / 4 << 16) | (alpha / 4 << 8) | alpha / 4
                                                   : inside;
        }
    }
    IBitmap* bitmap = nullptr;
    factory->CreateBitmap(&bitmap);
    bitmap->Init(kSkin, kSkin, pixels.data());
    return SRefPtr<IBitmap>(bitmap, false);
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency)
{
    return (to.QuadPart - from.QuadPart) * 1000.0 / frequency.QuadPart;
}

void Measure(const char* name, IRenderTarget* target, IBitmap* skin, UINT mode, int runs)
{
    RECT dest = {0, 0, kWidth, kHeight};
    RECT src = {0, 0, kSkin, kSkin};
    RECT margins = {kMargin, kMargin, kMargin, kMargin};
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double total = 0, best = 1e9;
    for (int i = -3; i < runs; ++i) {
        target->ClearRect(&dest, 0);
        QueryPerformanceCounter(&start);
        target->DrawBitmap9Patch(&dest, skin, &src, &margins, mode, 255);
        QueryPerformanceCounter(&end);
        if (i < 0)
            continue; // warm-up
        double ms = Milliseconds(start, end, frequency);
        total += ms;
        best = ms < best ? ms : best;
    }
    printf("nine-part %dx%d %-28s average %.3f ms, best %.3f ms (%d runs)\n", kWidth, kHeight, name,
           total / runs, best, runs);
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? atoi(argv[1]) : 200;
    if (runs <= 0)
        runs = 200;
    IRenderFactory* factory = nullptr;
    IRenderTarget* target = nullptr;
    if (!CreateRenderFactory_GDI(&factory) || !factory->CreateRenderTarget(&target, kWidth, kHeight)) {
        fprintf(stderr, "no render target\n");
        return 1;
    }
    {
        SRefPtr<IBitmap> skin = MakeSkin(factory, 0xFFF0F0F0);
        Measure("stretch", target, skin, kExpandStretch, runs);
        Measure("tile", target, skin, kExpandTile, runs);
        SRefPtr<IBitmap> glass = MakeSkin(factory, 0xC0B4B4B4);
        Measure("stretch, translucent inside", target, glass, kExpandStretch, runs);
    }
    target->Release();
    factory->Release();
    return 0;
}
