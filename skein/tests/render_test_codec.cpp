// Bitmaps loaded and saved through the image decoders the render factory holds.
#include <stdio.h>
#include "interface/SImgDecoder-i.h"
#include "render/SBitmap_GDI.h"
#include "render_test_fixture.h"

namespace rendertest {

// ImageFormatPNG of GDI+
const GUID kPngFormat = {0xB96B3CAF, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

// Premultiplied pixels over the range of alpha values.
const DWORD kSample[8] = {0,
                          Pixel(255, 1, 2, 3),
                          Pixel(128, 64, 0, 128),
                          Pixel(1, 1, 0, 0),
                          Pixel(200, 200, 100, 0),
                          Pixel(255, 255, 255, 255),
                          Pixel(10, 3, 7, 9),
                          Pixel(128, 127, 1, 0)};

struct Backend {
    const char* name;
    BOOL (*create)(IImgDecoderFactory**);
    // largest difference per channel after a save and reload
    int tolerance;
};

void ExpectSamePixels(const std::vector<DWORD>& actual, const std::vector<DWORD>& expected, int tolerance)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        for (int shift = 0; shift < 32; shift += 8) {
            int a = (actual[i] >> shift) & 0xFF, e = (expected[i] >> shift) & 0xFF;
            EXPECT_NEAR(a, e, tolerance) << "pixel " << i << std::hex << ": " << actual[i] << " vs " << expected[i];
        }
    }
}

class RenderCodec : public RenderTest, public ::testing::WithParamInterface<Backend> {
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(GetParam().create(&decoders));
        factory->SetImgDecoderFactory(decoders);
        decoders->Release();
        wchar_t folder[MAX_PATH];
        GetTempPathW(MAX_PATH, folder);
        // one file per process: ctest runs these tests side by side
        path = std::wstring(folder) + L"skein_render_codec_" +
               std::to_wstring(GetCurrentProcessId()) + L".png";
    }

    void TearDown() override { DeleteFileW(path.c_str()); }

    std::vector<BYTE> ReadFile()
    {
        std::vector<BYTE> bytes;
        FILE* file = _wfopen(path.c_str(), L"rb");
        if (!file)
            return bytes;
        BYTE chunk[4096];
        size_t got;
        while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
            bytes.insert(bytes.end(), chunk, chunk + got);
        fclose(file);
        return bytes;
    }

    std::wstring path;
};

} // namespace rendertest

using namespace rendertest;

// The PNG back end writes the file itself and reloads it exactly; GDI+ un-premultiplies on its
// own and may lose one step of a colour channel under partial alpha.
TEST_P(RenderCodec, SavedPngReloads)
{
    SRefPtr<IBitmap> saved = NewBitmap(4, 2, kSample);
    ASSERT_EQ(saved->Save(path.c_str(), &kPngFormat), S_OK);

    SRefPtr<IBitmap> fromFile = NewBitmap(1, 1);
    ASSERT_EQ(fromFile->LoadFromFile(path.c_str()), S_OK);
    EXPECT_EQ(fromFile->Width(), 4);
    EXPECT_EQ(fromFile->Height(), 2);
    ExpectSamePixels(Pixels(fromFile), Pixels(saved), GetParam().tolerance);

    std::vector<BYTE> bytes = ReadFile();
    ASSERT_FALSE(bytes.empty());
    SRefPtr<IBitmap> fromMemory = NewBitmap(0, 0);
    ASSERT_EQ(fromMemory->LoadFromMemory(bytes.data(), bytes.size()), S_OK);
    ExpectSamePixels(Pixels(fromMemory), Pixels(saved), GetParam().tolerance);
}

// An image that does not decode is a failure, never an empty bitmap reported as loaded.
TEST_P(RenderCodec, UndecodableImagesFailAndLeaveTheBitmapAsItWas)
{
    const BYTE garbage[64] = {0x89, 'P', 'N', 'G', 1, 2, 3};
    SRefPtr<IBitmap> fresh = NewBitmap(0, 0);
    EXPECT_TRUE(FAILED(fresh->LoadFromMemory(garbage, sizeof(garbage))));
    EXPECT_EQ(fresh->Width(), 0);
    EXPECT_EQ(fresh->GetPixelBits(), nullptr);

    SRefPtr<IBitmap> loaded = NewBitmap(4, 2, kSample);
    EXPECT_TRUE(FAILED(loaded->LoadFromMemory(garbage, sizeof(garbage))));
    EXPECT_TRUE(FAILED(loaded->LoadFromFile(L"C:\\no\\such\\image.png")));
    EXPECT_EQ(Pixels(loaded), std::vector<DWORD>(kSample, kSample + 8));
}

// A PNG from memory is decoded when its pixels are first needed, and then draws exactly what
// the same file decoded at once draws.
TEST_P(RenderCodec, PngFromMemoryDecodesWhenFirstDrawnToTheSamePixels)
{
    SRefPtr<IBitmap> saved = NewBitmap(4, 2, kSample);
    ASSERT_EQ(saved->Save(path.c_str(), &kPngFormat), S_OK);
    SRefPtr<IBitmap> atOnce = NewBitmap(0, 0);
    ASSERT_EQ(atOnce->LoadFromFile(path.c_str()), S_OK);
    std::vector<BYTE> bytes = ReadFile();
    SRefPtr<IBitmap> deferred = NewBitmap(0, 0);
    ASSERT_EQ(deferred->LoadFromMemory(bytes.data(), bytes.size()), S_OK);
    const SBitmap_GDI* gdi = static_cast<const SBitmap_GDI*>(deferred.Get());
    EXPECT_FALSE(gdi->IsDecoded());
    EXPECT_EQ(deferred->Width(), 4);
    EXPECT_EQ(deferred->Height(), 2);

    const RECT dest = {1, 1, 11, 6};
    const RECT source = {0, 0, 4, 2};
    SRefPtr<IRenderTarget> expected = NewTarget(12, 7);
    SRefPtr<IRenderTarget> actual = NewTarget(12, 7);
    ASSERT_EQ(expected->DrawBitmapEx(&dest, atOnce, &source, kExpandStretch, 200), S_OK);
    ASSERT_EQ(actual->DrawBitmapEx(&dest, deferred, &source, kExpandStretch, 200), S_OK);
    EXPECT_TRUE(gdi->IsDecoded());
    EXPECT_EQ(Pixels(actual), Pixels(expected));
}

// Only a PNG that is whole waits: one cut short or with a damaged chunk is decoded at once, so
// a failure shows at loading as before.
TEST_P(RenderCodec, DamagedPngIsDecodedAtLoading)
{
    SRefPtr<IBitmap> saved = NewBitmap(4, 2, kSample);
    ASSERT_EQ(saved->Save(path.c_str(), &kPngFormat), S_OK);
    std::vector<BYTE> whole = ReadFile();
    ASSERT_GT(whole.size(), 40u);
    std::vector<BYTE> cut(whole.begin(), whole.end() - 12); // without IEND
    std::vector<BYTE> damaged = whole;
    damaged[whole.size() - 20] ^= 0x40; // inside the image data: its checksum no longer matches
    for (const std::vector<BYTE>* bytes : {&cut, &damaged}) {
        SRefPtr<IBitmap> bitmap = NewBitmap(0, 0);
        HRESULT result = bitmap->LoadFromMemory(bytes->data(), bytes->size());
        EXPECT_TRUE(static_cast<const SBitmap_GDI*>(bitmap.Get())->IsDecoded());
        if (SUCCEEDED(result)) {
            EXPECT_NE(bitmap->GetPixelBits(), nullptr); // a decoder that reads past the damage
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Backends, RenderCodec,
                         ::testing::Values(Backend{"apng", CreateImgDecoderFactory_PNG, 0},
                                           Backend{"gdip", CreateImgDecoderFactory_GDIP, 1}),
                         [](const ::testing::TestParamInfo<Backend>& info) { return std::string(info.param.name); });
