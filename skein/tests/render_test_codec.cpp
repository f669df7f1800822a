// Bitmaps loaded and saved through the image decoders the render factory holds.
#include <stdio.h>
#include "interface/SImgDecoder-i.h"
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
        path = std::wstring(folder) + L"skein_render_codec.png";
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

INSTANTIATE_TEST_SUITE_P(Backends, RenderCodec,
                         ::testing::Values(Backend{"apng", CreateImgDecoderFactory_PNG, 0},
                                           Backend{"gdip", CreateImgDecoderFactory_GDIP, 1}),
                         [](const ::testing::TestParamInfo<Backend>& info) { return std::string(info.param.name); });
