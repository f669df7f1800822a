#include <gtest/gtest.h>
#include <windows.h>
#include <malloc.h>
#include <objbase.h>
#include <psapi.h>
#include <stdio.h>
#include <string>
#include <vector>
#include "imgdecoder_test_fixtures.h"
#include "interface/SImgDecoder-i.h"
#include "interface/SRender-i.h"

using namespace SKEIN;
using namespace fixtures;

namespace {

enum Backend { kGdip, kWic, kStb, kPng, kBackends };
const char* const kBackendNames[kBackends] = {"gdi+", "wic", "stb", "apng"};

// Straight RGBA to the premultiplied BGRA every back end hands out.
Bytes Premul(const std::vector<Rgba>& pixels)
{
    Bytes out;
    for (const Rgba& p : pixels) {
        out.push_back(static_cast<uint8_t>(p.b * p.a / 255));
        out.push_back(static_cast<uint8_t>(p.g * p.a / 255));
        out.push_back(static_cast<uint8_t>(p.r * p.a / 255));
        out.push_back(p.a);
    }
    return out;
}

// 5 x 3, every kind of alpha, transparent pixels with colour in them.
const std::vector<Rgba> kImage = {
    {255, 0, 0, 255},   {0, 255, 0, 255},   {0, 0, 255, 255},   {255, 255, 255, 0}, {12, 34, 56, 0},
    {200, 100, 50, 128}, {255, 255, 255, 1}, {10, 20, 30, 254}, {255, 128, 0, 64},  {99, 199, 9, 200},
    {0, 0, 0, 255},     {255, 255, 255, 255}, {128, 128, 128, 127}, {1, 2, 3, 4},   {250, 240, 230, 220},
};

std::vector<Rgba> Opaque(std::vector<Rgba> pixels)
{
    for (Rgba& p : pixels)
        p.a = 255;
    return pixels;
}

Bytes RgbRows(const std::vector<Rgba>& pixels)
{
    Bytes rows;
    for (const Rgba& p : pixels)
        rows.insert(rows.end(), {p.r, p.g, p.b});
    return rows;
}

std::vector<Rgba> Gray(const std::vector<uint8_t>& values, const std::vector<uint8_t>& alphas = {})
{
    std::vector<Rgba> out;
    for (size_t i = 0; i < values.size(); ++i)
        out.push_back({values[i], values[i], values[i], alphas.empty() ? uint8_t(255) : alphas[i]});
    return out;
}

// 9 x 9 so that all seven interlace passes carry pixels.
std::vector<Rgba> Pattern(uint32_t width, uint32_t height)
{
    std::vector<Rgba> out;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x)
            out.push_back({uint8_t(x * 28), uint8_t(y * 28), uint8_t((x * y) * 3), uint8_t(x == y ? 0 : 255 - x * 9)});
    }
    return out;
}

struct Decoded {
    int count = 0;
    UINT width = 0, height = 0;
    std::vector<Bytes> frames;
    std::vector<int> delays;
};

// Every frame copied out whole; checks the frame table against the count.
Decoded ReadFrames(IImgX* image, int count)
{
    Decoded d;
    d.count = count;
    EXPECT_EQ(image->GetFrameCount(), static_cast<UINT>(count < 0 ? 0 : count));
    EXPECT_EQ(image->GetFrame(image->GetFrameCount()), nullptr);
    for (int i = 0; i < count; ++i) {
        IImgFrame* frame = image->GetFrame(i);
        if (!frame || !frame->GetSize(&d.width, &d.height)) {
            ADD_FAILURE() << "frame " << i << " has no size";
            break;
        }
        Bytes pixels(d.width * d.height * 4);
        EXPECT_TRUE(frame->CopyPixels(nullptr, d.width * 4, static_cast<UINT>(pixels.size()), pixels.data()));
        d.frames.push_back(pixels);
        d.delays.push_back(frame->GetDelay());
    }
    return d;
}

SRefPtr<IImgX> NewImage(IImgDecoderFactory* factory)
{
    IImgX* image = nullptr;
    EXPECT_TRUE(factory->CreateImgX(&image));
    return SRefPtr<IImgX>(image, false);
}

Decoded Decode(IImgDecoderFactory* factory, const Bytes& data)
{
    SRefPtr<IImgX> image = NewImage(factory);
    static const uint8_t none = 0;
    return ReadFrames(image, image->LoadFromMemory(data.empty() ? &none : data.data(), data.size()));
}

void ExpectPixels(const Bytes& actual, const Bytes& expected, int tolerance, const std::string& what)
{
    ASSERT_EQ(actual.size(), expected.size()) << what;
    for (size_t i = 0; i < actual.size(); ++i) {
        int diff = int(actual[i]) - int(expected[i]);
        if (diff > tolerance || diff < -tolerance) {
            ADD_FAILURE() << what << ": byte " << i << " (pixel " << i / 4 << ", channel " << i % 4 << ") is "
                          << int(actual[i]) << ", expected " << int(expected[i]);
            return;
        }
    }
}

class ImgDecoders : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitialize(nullptr);
        BOOL (*create[kBackends])(IImgDecoderFactory**) = {CreateImgDecoderFactory_GDIP, CreateImgDecoderFactory_WIC,
                                                           CreateImgDecoderFactory_STB, CreateImgDecoderFactory_PNG};
        for (int b = 0; b < kBackends; ++b) {
            ASSERT_TRUE(create[b](&s_factory[b])) << kBackendNames[b];
            ASSERT_NE(s_factory[b], nullptr);
        }
        ASSERT_TRUE(CreateRenderFactory_GDI(&s_render));
    }
    static void TearDownTestSuite()
    {
        for (IImgDecoderFactory*& factory : s_factory) {
            factory->Release();
            factory = nullptr;
        }
        s_render->Release();
        s_render = nullptr;
        CoUninitialize();
    }

    // A bitmap of the GDI render factory, what SaveImage is given in the program.
    static SRefPtr<IBitmap> NewBitmap(int width, int height, const void* pixels);

    static IImgDecoderFactory* s_factory[kBackends];
    static IRenderFactory* s_render; // outlives the bitmaps it makes
};

IImgDecoderFactory* ImgDecoders::s_factory[kBackends];
IRenderFactory* ImgDecoders::s_render;

// One fixture image and what each back end makes of it.
struct Case {
    std::string name;
    Bytes data;
    std::vector<Bytes> frames;              // composed frames, premultiplied BGRA
    int counts[kBackends];                  // frames per back end; 0: does not decode
    std::vector<int> delays[kBackends];
};

const Rgba kA = {200, 100, 50, 255}, kB = {10, 220, 30, 255}, kC = {90, 90, 250, 128}, kClear = {1, 2, 3, 0};

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    const std::vector<Rgba> opaque = Opaque(kImage);
    const std::vector<int> still = {0};
    cases.push_back({"png-rgba8", MakePng(5, 3, 6, 8, Rgba8Rows(kImage)), {Premul(kImage)}, {1, 1, 1, 1},
                     {still, still, still, still}});
    cases.push_back({"png-rgb8", MakePng(5, 3, 2, 8, RgbRows(opaque)), {Premul(opaque)}, {1, 1, 1, 1},
                     {still, still, still, still}});
    // 2-bit gray 0, 1, 2, 3 expand to 0, 85, 170, 255
    cases.push_back({"png-gray2", MakePng(4, 2, 0, 2, {0x1B, 0xE4}), {Premul(Gray({0, 85, 170, 255, 255, 170, 85, 0}))},
                     {1, 1, 1, 1}, {still, still, still, still}});
    // 4-bit palette, tRNS gives entries 0-2 alpha 0, 128, 255; entry 3 stays opaque
    const std::vector<Rgba> palette = {{255, 0, 0, 0}, {0, 255, 0, 128}, {0, 0, 255, 255}, {40, 50, 60, 255}};
    cases.push_back({"png-palette4-trns",
                     MakePng(3, 2, 3, 4, {0x01, 0x20, 0x32, 0x10},
                             {{"PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255, 40, 50, 60}}, {"tRNS", {0, 128, 255}}}),
                     {Premul({palette[0], palette[1], palette[2], palette[3], palette[2], palette[1]})},
                     {1, 1, 1, 1},
                     {still, still, still, still}});
    // 16-bit samples with equal bytes, so that every way of cutting them to 8 bits agrees
    cases.push_back({"png-gray-alpha16", MakePng(2, 1, 4, 16, {0xAB, 0xAB, 0xFF, 0xFF, 0x33, 0x33, 0x80, 0x80}),
                     {Premul(Gray({0xAB, 0x33}, {0xFF, 0x80}))}, {1, 1, 1, 1}, {still, still, still, still}});
    cases.push_back({"png-rgba8-interlaced", MakePng(9, 9, 6, 8, Rgba8Rows(Pattern(9, 9)), {}, true),
                     {Premul(Pattern(9, 9))}, {1, 1, 1, 1}, {still, still, still, still}});
    // Text chunks of ordinary size (a short comment, 64 KiB of text, an international one), a
    // resolution and a time stamp change no pixel.
    const auto bytesOf = [](const std::string& bytes) { return Bytes(bytes.begin(), bytes.end()); };
    cases.push_back({"png-rgba8-text",
                     MakePng(5, 3, 6, 8, Rgba8Rows(kImage),
                             {{"tEXt", bytesOf(std::string("Comment\0made for the tests", 26))},
                              {"tEXt", bytesOf("Description" + std::string(1, '\0') + std::string(65536, 'x'))},
                              {"iTXt", bytesOf(std::string("Title\0\0\0en\0Title\0Image", 22))},
                              {"pHYs", {0, 0, 0x0E, 0xC4, 0, 0, 0x0E, 0xC4, 1}},
                              {"tIME", {0x07, 0xE8, 1, 2, 3, 4, 5}}}),
                     {Premul(kImage)}, {1, 1, 1, 1}, {still, still, still, still}});
    // The libpng back end takes sides up to 32768 pixels.
    const std::vector<Rgba> widest(32768, kImage[5]), wider(32769, kImage[5]);
    cases.push_back({"png-32768-wide", MakePng(32768, 1, 6, 8, Rgba8Rows(widest)), {Premul(widest)}, {1, 1, 1, 1},
                     {still, still, still, still}});
    cases.push_back({"png-32769-wide", MakePng(32769, 1, 6, 8, Rgba8Rows(wider)), {Premul(wider)}, {1, 1, 1, 0},
                     {still, still, still, {}}});

    // Frame 1 covers the middle pixel of row 1 with blending over; the others show frame 0 only.
    std::vector<Rgba> composed = kImage;
    composed[7] = {49, 154, 139, 190}; // kC over kB: (f x s + d x (255 - s)) >> 8 per byte
    std::vector<Rgba> base = kImage;
    base[7] = kB;
    cases.push_back({"apng", MakeApng(5, 3, {{5, 3, 0, 0, 1, 10, 0, 0, base}, {1, 1, 2, 1, 1, 2, 0, 1, {kC}}}),
                     {Premul(base), Premul(composed)}, {1, 1, 1, 2}, {still, still, still, {10, 50}}});

    // index 3 is transparent in frame 0
    const std::vector<Rgba> gifPalette = {{255, 0, 0, 255}, {0, 128, 255, 255}, {10, 20, 30, 255}, {7, 7, 7, 255}};
    auto gifPixels = [&](const std::vector<uint8_t>& indices, int transparent) {
        std::vector<Rgba> out;
        for (uint8_t i : indices)
            out.push_back(int(i) == transparent ? Rgba{0, 0, 0, 0} : gifPalette[i]);
        return out;
    };
    const std::vector<uint8_t> g0 = {0, 1, 2, 3, 3, 2, 1, 0}, g1 = {1, 1, 1, 1, 2, 2, 2, 2},
                               g2 = {3, 2, 1, 0, 0, 1, 2, 3};
    cases.push_back({"gif-anim",
                     MakeGif(4, 2, gifPalette, {{g0, 0, 3}, {g1, 5, -1}, {g2, 20, -1}}),
                     {Premul(gifPixels(g0, 3)), Premul(gifPixels(g1, -1)), Premul(gifPixels(g2, -1))},
                     {3, 3, 1, 0},
                     {{100, 100, 200}, {0, 0, 0}, still, {}}});
    cases.push_back({"gif-still", MakeGif(4, 2, gifPalette, {{g0, 7, 3}}), {Premul(gifPixels(g0, 3))}, {1, 1, 1, 0},
                     {still, still, still, {}}});
    cases.push_back({"bmp24", MakeBmp24(5, 3, opaque), {Premul(opaque)}, {1, 1, 1, 0}, {still, still, still, {}}});
    std::vector<uint8_t> jpegPixels;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 16; ++x)
            jpegPixels.push_back(x < 8 ? 40 : 200);
    }
    cases.push_back({"jpeg-gray", MakeGrayJpeg(16, 8, {40, 200}), {Premul(Gray(jpegPixels))}, {1, 1, 1, 0},
                     {still, still, still, {}}});

    // Broken files: nothing decodes anywhere.
    const Bytes good = MakePng(16, 16, 6, 8, Rgba8Rows(Pattern(16, 16)));
    cases.push_back({"empty", {}, {}, {0, 0, 0, 0}, {}});
    const std::string text = "not an image";
    cases.push_back({"garbage", Bytes(text.begin(), text.end()), {}, {0, 0, 0, 0}, {}});
    cases.push_back({"png-truncated", Bytes(good.begin(), good.begin() + good.size() / 2), {}, {0, 0, 0, 0}, {}});
    cases.push_back({"png-zero-size", Resized(good, 0, 0), {}, {0, 0, 0, 0}, {}});
    // 100000 x 100000 claimed, 16 x 16 of data: refused before pixels are allocated
    cases.push_back({"png-huge", Resized(good, 100000, 100000), {}, {0, 0, 0, 0}, {}});
    return cases;
}

TEST_F(ImgDecoders, FixtureTableDecodesAlikeOnEveryBackend)
{
    for (const Case& c : Cases()) {
        for (int b = 0; b < kBackends; ++b) {
            std::string what = c.name + " on " + kBackendNames[b];
            Decoded d = Decode(s_factory[b], c.data);
            EXPECT_EQ(d.count, c.counts[b]) << what;
            if (d.count != c.counts[b])
                continue;
            EXPECT_EQ(d.delays, c.delays[b]) << what;
            for (int i = 0; i < d.count && i < static_cast<int>(d.frames.size()); ++i)
                ExpectPixels(d.frames[i], c.frames[i], b == kWic ? 1 : 0, what + " frame " + std::to_string(i));
        }
    }
}

// 3 x 1 frames: A everywhere, then B, C and a transparent pixel in single-pixel rectangles,
// exercising each dispose operation and both blend operations.
TEST_F(ImgDecoders, ApngComposesDisposesAndTimesFrames)
{
    const Rgba kAOver = {199, 99, 49, 254}; // A under a transparent pixel: (d x 255) >> 8
    const Rgba kCOverB = {49, 154, 139, 190};
    Bytes apng = MakeApng(3, 1, {
        {3, 1, 0, 0, 1, 10, 2, 0, {kA, kA, kA}},   // dispose previous on the first frame keeps the canvas
        {1, 1, 1, 0, 25, 1000, 1, 0, {kB}},        // dispose background clears its rectangle
        {1, 1, 2, 0, 3, 0, 2, 0, {kC}},            // dispose previous restores frame 1
        {1, 1, 0, 0, 2, 50, 0, 1, {kClear}},       // over with alpha 0
        {1, 1, 1, 0, 65535, 10, 0, 1, {kC}},       // over with alpha 128; delay saturates
    });
    Decoded d = Decode(s_factory[kPng], apng);
    ASSERT_EQ(d.count, 5);
    EXPECT_EQ(d.delays, std::vector<int>({10, 2, 3, 4, 65535}));
    const std::vector<std::vector<Rgba>> expected = {
        {kA, kA, kA}, {kA, kB, kA}, {kA, {0, 0, 0, 0}, kC}, {kAOver, kB, kA}, {kAOver, kCOverB, kA}};
    for (size_t i = 0; i < expected.size(); ++i)
        ExpectPixels(d.frames[i], Premul(expected[i]), 0, "frame " + std::to_string(i));
}

// Hostile animations give no image on the animated back end (the others show the default image).
TEST_F(ImgDecoders, HostileApngGivesNoImage)
{
    const ApngFrame whole = {4, 4, 0, 0, 1, 10, 0, 0, std::vector<Rgba>(16, kA)};
    const ApngFrame corner = {2, 2, 2, 2, 1, 10, 0, 0, std::vector<Rgba>(4, kB)};
    const struct {
        const char* name;
        Bytes data;
    } cases[] = {
        {"frame beyond the right edge", MakeApng(4, 4, {whole, {2, 2, 3, 0, 1, 10, 0, 0, corner.pixels}})},
        {"frame beyond the bottom edge", MakeApng(4, 4, {whole, {2, 2, 0, 3, 1, 10, 0, 0, corner.pixels}})},
        {"offset wrapping 32 bits", MakeApng(4, 4, {whole, {2, 2, 0xFFFFFFFFu, 0, 1, 10, 0, 0, corner.pixels}})},
        // 0x04000001 frames of 64 bytes wrap 32-bit size arithmetic to a single frame
        {"frame count wrapping 32 bits", MakeApng(4, 4, {whole, corner}, 0x04000001)},
        {"frame count too large", MakeApng(4, 4, {whole, corner}, 0x7FFFFFFF)},
        {"fewer frames than declared", MakeApng(4, 4, {whole, corner}, 3)},
        {"frame short of data", MakeApng(4, 4, {whole, {2, 2, 2, 2, 1, 10, 0, 0, {kB, kB}}})},
    };
    ASSERT_EQ(Decode(s_factory[kPng], MakeApng(4, 4, {whole, corner})).count, 2);
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(s_factory[kPng], c.data).count, 0) << c.name;
        EXPECT_TRUE(HeapValidate(reinterpret_cast<HANDLE>(_get_heap_handle()), 0, nullptr)) << c.name;
        for (int b = kGdip; b < kPng; ++b)
            EXPECT_LE(Decode(s_factory[b], c.data).count, 1) << c.name << " on " << kBackendNames[b];
    }
}

class TempDir {
public:
    TempDir()
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        m_path = std::wstring(base) + L"skein_imgdecoder_" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_path.c_str(), nullptr);
    }
    ~TempDir()
    {
        for (const std::wstring& file : m_files)
            DeleteFileW(file.c_str());
        RemoveDirectoryW(m_path.c_str());
    }
    std::wstring Write(const wchar_t* name, const Bytes& data)
    {
        std::wstring path = File(name);
        FILE* f = _wfopen(path.c_str(), L"wb");
        fwrite(data.data(), 1, data.size(), f);
        fclose(f);
        return path;
    }
    std::wstring File(const wchar_t* name)
    {
        m_files.push_back(m_path + L"\\" + name);
        return m_files.back();
    }

private:
    std::wstring m_path;
    std::vector<std::wstring> m_files;
};

std::string Narrow(const std::wstring& text)
{
    char buffer[MAX_PATH * 2];
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof(buffer), nullptr, nullptr);
    return buffer;
}

// The process's peak resident memory so far (Wine keeps the peak of the working set, not the
// peak of the committed memory).
SIZE_T PeakResidentBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

double NowMs()
{
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count.QuadPart * 1000.0 / frequency.QuadPart;
}

// libpng's own hostile files (its contrib/testpngs/crashers, copied beside the tests): chunks
// that state about 1 GiB in files of 57 bytes, bad checksums, empty chunks of every kind. Each
// ends at once without a large allocation: the huge ones refused, the others decoded or not.
TEST_F(ImgDecoders, LibpngCrashersEndAtOnceWithoutALargeAllocation)
{
    wchar_t program[MAX_PATH];
    std::wstring folder(program, GetModuleFileNameW(nullptr, program, MAX_PATH));
    folder = folder.substr(0, folder.rfind(L'\\')) + L"\\png_crashers\\";
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"*.png").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found))
        names.push_back(found.cFileName);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    ASSERT_GE(names.size(), 20u) << Narrow(folder);
    for (const std::wstring& name : names) {
        SRefPtr<IImgX> image = NewImage(s_factory[kPng]);
        SIZE_T peak = PeakResidentBytes();
        double start = NowMs();
        int count = image->LoadFromFileW((folder + name).c_str());
        double took = NowMs() - start;
        SIZE_T grew = PeakResidentBytes() - peak;
        EXPECT_LT(took, 100) << Narrow(name); // generous for shared machines: the decode takes well under 1 ms
        EXPECT_LT(grew, SIZE_T(16) << 20) << Narrow(name);
        if (name.compare(0, 5, L"huge_") == 0)
            EXPECT_EQ(count, 0) << Narrow(name);
        else
            EXPECT_LE(count, 1) << Narrow(name);
    }
}

TEST_F(ImgDecoders, LoadsFilesByWideAndNarrowPath)
{
    TempDir dir;
    const Bytes gif = MakeGif(2, 1, {{1, 2, 3, 255}, {4, 5, 6, 255}, {7, 8, 9, 255}, {0, 0, 0, 255}},
                              {{{0, 1}, 0, -1}, {{1, 2}, 0, -1}});
    const std::wstring png = dir.Write(L"still.png", MakePng(5, 3, 6, 8, Rgba8Rows(kImage)));
    const std::wstring anim = dir.Write(L"anim.gif", gif);
    const std::string tooLong = "C:\\" + std::string(300, 'a') + ".png";
    const int gifFrames[kBackends] = {2, 2, 1, 0};
    for (int b = 0; b < kBackends; ++b) {
        SRefPtr<IImgX> image = NewImage(s_factory[b]);
        Decoded d = ReadFrames(image, image->LoadFromFileW(png.c_str()));
        ASSERT_EQ(d.count, 1) << kBackendNames[b];
        ExpectPixels(d.frames[0], Premul(kImage), b == kWic ? 1 : 0, kBackendNames[b]);
        EXPECT_EQ(image->LoadFromFileA(Narrow(anim).c_str()), gifFrames[b]) << kBackendNames[b];
        EXPECT_EQ(image->LoadFromFileA(tooLong.c_str()), 0) << kBackendNames[b];
        EXPECT_EQ(image->GetFrameCount(), 0u) << kBackendNames[b];
        EXPECT_EQ(image->LoadFromFileW(dir.File(L"missing.png").c_str()), 0) << kBackendNames[b];
    }
}

// A failed load leaves no frames behind, a new load replaces the old frames.
TEST_F(ImgDecoders, ReloadReplacesFrames)
{
    const Bytes gif = MakeGif(2, 1, {{1, 2, 3, 255}, {4, 5, 6, 255}, {7, 8, 9, 255}, {0, 0, 0, 255}},
                              {{{0, 1}, 0, -1}, {{1, 2}, 0, -1}});
    const Bytes png = MakePng(5, 3, 6, 8, Rgba8Rows(kImage));
    const Bytes garbage(64, 0x47);
    for (int b = 0; b < kBackends; ++b) {
        SRefPtr<IImgX> image = NewImage(s_factory[b]);
        EXPECT_EQ(image->LoadFromMemory(png.data(), png.size()), 1) << kBackendNames[b];
        EXPECT_EQ(image->LoadFromMemory(garbage.data(), garbage.size()), 0) << kBackendNames[b];
        EXPECT_EQ(image->GetFrameCount(), 0u) << kBackendNames[b];
        EXPECT_EQ(image->GetFrame(0), nullptr) << kBackendNames[b];
        image->LoadFromMemory(gif.data(), gif.size());
        Decoded d = ReadFrames(image, image->LoadFromMemory(png.data(), png.size()));
        ASSERT_EQ(d.count, 1) << kBackendNames[b];
        EXPECT_EQ(d.width, 5u);
    }
}

TEST_F(ImgDecoders, CopyPixelsWantsTheWholeFrame)
{
    const Bytes png = MakePng(5, 3, 6, 8, Rgba8Rows(kImage));
    for (int b = 0; b < kBackends; ++b) {
        SRefPtr<IImgX> image = NewImage(s_factory[b]);
        ASSERT_EQ(image->LoadFromMemory(png.data(), png.size()), 1);
        IImgFrame* frame = image->GetFrame(0);
        Bytes buffer(5 * 3 * 4);
        EXPECT_FALSE(frame->CopyPixels(nullptr, 20, static_cast<UINT>(buffer.size() - 1), buffer.data()))
            << kBackendNames[b];
        EXPECT_TRUE(frame->CopyPixels(nullptr, 20, static_cast<UINT>(buffer.size()), buffer.data()))
            << kBackendNames[b];
    }
    // WIC copies the rectangle it is given.
    SRefPtr<IImgX> image = NewImage(s_factory[kWic]);
    ASSERT_EQ(image->LoadFromMemory(png.data(), png.size()), 1);
    const RECT rect = {1, 1, 3, 2};
    Bytes two(8);
    ASSERT_TRUE(image->GetFrame(0)->CopyPixels(&rect, 8, 8, two.data()));
    ExpectPixels(two, Premul({kImage[6], kImage[7]}), 1, "rectangle");
}

TEST_F(ImgDecoders, FactoriesDescribeThemselvesAndRefuseWhatTheyCannotSave)
{
    for (int b = 0; b < kBackends; ++b) {
        char name[16];
        WideCharToMultiByte(CP_ACP, 0, s_factory[b]->GetDescription(), -1, name, sizeof(name), nullptr, nullptr);
        EXPECT_STREQ(name, kBackendNames[b]);
    }
    EXPECT_EQ(s_factory[kWic]->SaveImage(nullptr, L"x.png", nullptr), E_FAIL);
    EXPECT_EQ(s_factory[kStb]->SaveImage(nullptr, L"x.png", nullptr), E_NOTIMPL);
    EXPECT_EQ(s_factory[kPng]->SaveImage(nullptr, L"x.png", nullptr), E_INVALIDARG);
    EXPECT_EQ(s_factory[kGdip]->SaveImage(nullptr, L"x.png", nullptr), E_INVALIDARG);
}

SRefPtr<IBitmap> ImgDecoders::NewBitmap(int width, int height, const void* pixels)
{
    IBitmap* bitmap = nullptr;
    EXPECT_TRUE(s_render->CreateBitmap(&bitmap));
    if (width) {
        EXPECT_EQ(bitmap->Init(width, height, pixels), S_OK);
    }
    return SRefPtr<IBitmap>(bitmap, false);
}

Bytes ReadFile(const std::wstring& path)
{
    Bytes bytes;
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f)
        return bytes;
    uint8_t chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(f);
    return bytes;
}

// Straight alpha is written so that decoding gives back the very same premultiplied pixels:
// every alpha (x) against every premultiplied value up to it (y).
TEST_F(ImgDecoders, PngSaveReloadsEveryPremultipliedPixelExactly)
{
    Bytes pixels;
    for (int y = 0; y < 256; ++y) {
        for (int a = 0; a < 256; ++a) {
            int p = y < a ? y : a;
            pixels.insert(pixels.end(), {uint8_t(p), uint8_t(p / 2), uint8_t(a - p), uint8_t(a)});
        }
    }
    TempDir dir;
    const std::wstring path = dir.File(L"saved.png");
    SRefPtr<IBitmap> bitmap = NewBitmap(256, 256, pixels.data());
    ASSERT_EQ(s_factory[kPng]->SaveImage(bitmap, path.c_str(), nullptr), S_OK);
    Decoded d = Decode(s_factory[kPng], ReadFile(path));
    ASSERT_EQ(d.count, 1);
    ExpectPixels(d.frames[0], pixels, 0, "reloaded");
}

TEST_F(ImgDecoders, FailedSavesLeaveNoFile)
{
    const GUID kPngFormat = {0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
    const GUID kNoFormat = {0x12345678, 0, 0, {0, 0, 0, 0, 0, 0, 0, 1}};
    TempDir dir;
    const std::wstring path = dir.File(L"never.png");
    const std::wstring noFolder = dir.File(L"missing\\never.png");
    const Bytes pixels = Premul(kImage);
    SRefPtr<IBitmap> empty = NewBitmap(0, 0, nullptr);
    SRefPtr<IBitmap> image = NewBitmap(5, 3, pixels.data());
    EXPECT_EQ(s_factory[kPng]->SaveImage(empty, path.c_str(), nullptr), E_INVALIDARG);
    EXPECT_EQ(s_factory[kPng]->SaveImage(image, noFolder.c_str(), nullptr), E_FAIL);
    EXPECT_EQ(s_factory[kGdip]->SaveImage(image, path.c_str(), &kNoFormat), E_FAIL);
    EXPECT_EQ(s_factory[kGdip]->SaveImage(empty, path.c_str(), &kPngFormat), E_FAIL);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(s_factory[kGdip]->SaveImage(image, path.c_str(), &kPngFormat), S_OK);
    EXPECT_EQ(Decode(s_factory[kGdip], ReadFile(path)).count, 1);
}

// An image keeps what it needs of its back end (GDI+ started, the WIC factory) after the
// decoder factory is gone.
TEST_F(ImgDecoders, ImageOutlivesItsFactory)
{
    const Bytes png = MakePng(5, 3, 6, 8, Rgba8Rows(kImage));
    BOOL (*create[2])(IImgDecoderFactory**) = {CreateImgDecoderFactory_GDIP, CreateImgDecoderFactory_WIC};
    for (auto make : create) {
        IImgDecoderFactory* factory = nullptr;
        ASSERT_TRUE(make(&factory));
        SRefPtr<IImgX> image = NewImage(factory);
        factory->Release();
        Decoded d = ReadFrames(image, image->LoadFromMemory(png.data(), png.size()));
        ASSERT_EQ(d.count, 1);
        ExpectPixels(d.frames[0], Premul(kImage), 1, "after release");
    }
}

} // namespace
