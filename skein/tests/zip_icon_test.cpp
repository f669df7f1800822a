// Icons, cursors and bitmaps made from bytes: well-formed files, and damaged ones whose sizes
// and offsets point outside the bytes or wrap in 32 bits, which must give nothing.
#include <gtest/gtest.h>
#include <string>
#include "res.mgr/SResProviderZip.h"
#include "zip_test_util.h"

using namespace SKEIN;
using namespace ziptest;

namespace {

// An .ico (or .cur) of one 32-bit entry filled with bgra, or a 1-bit black-and-white one.
std::string IconFile(int width, int height, bool cursor, uint32_t bgra, bool monochrome = false)
{
    int bits = monochrome ? 1 : 32;
    std::string dib(40, '\0');
    Set32(dib, 0, 40);
    Set32(dib, 4, width);
    Set32(dib, 8, height * 2);
    Set16(dib, 12, 1);
    Set16(dib, 14, bits);
    if (monochrome)
        dib += std::string("\0\0\0\0\xff\xff\xff\0", 8);
    size_t colorRow = ((width * bits + 31) / 32) * 4;
    size_t maskRow = ((width + 31) / 32) * 4;
    for (int y = 0; y < height; ++y) {
        std::string row(colorRow, '\0');
        for (size_t x = 0; !monochrome && x < static_cast<size_t>(width); ++x)
            Set32(row, x * 4, bgra);
        dib += row;
    }
    dib += std::string(maskRow * height, '\0');
    std::string file(6 + 16, '\0');
    Set16(file, 2, cursor ? 2 : 1);
    Set16(file, 4, 1);
    file[6] = static_cast<char>(width);
    file[7] = static_cast<char>(height);
    Set16(file, 6 + 4, cursor ? 5 : 1);
    Set16(file, 6 + 6, cursor ? 6 : bits);
    Set32(file, 6 + 8, static_cast<uint32_t>(dib.size()));
    Set32(file, 6 + 12, 22);
    return file + dib;
}

// A 24-bit .bmp of width by height.
std::string BmpFile(int width, int height)
{
    size_t row = ((width * 24 + 31) / 32) * 4;
    std::string file(54, '\0');
    file[0] = 'B';
    file[1] = 'M';
    Set32(file, 2, static_cast<uint32_t>(54 + row * height));
    Set32(file, 10, 54);
    Set32(file, 14, 40);
    Set32(file, 18, width);
    Set32(file, 22, height);
    Set16(file, 26, 1);
    Set16(file, 28, 24);
    return file + std::string(row * height, '\x40');
}

HICON Icon(const std::string& bytes, int cx, int cy, bool cursor = false)
{
    return CreateIconFromBytes(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), cx, cy, cursor,
                               LR_DEFAULTSIZE);
}

HBITMAP Bitmap(const std::string& bytes)
{
    return CreateBitmapFromBytes(reinterpret_cast<const BYTE*>(bytes.data()), bytes.size());
}

TEST(ZipIcon, MakesIconsAndCursorsOfTheAskedSize)
{
    HICON icon = Icon(IconFile(16, 16, false, 0xFF0000FF), 24, 24);
    ICONINFO info = {};
    ASSERT_TRUE(icon && GetIconInfo(icon, &info));
    BITMAP bm = {};
    GetObjectW(info.hbmColor, sizeof(bm), &bm);
    EXPECT_EQ(24, bm.bmWidth); // stretched to the asked size
    EXPECT_EQ(12u, info.xHotspot);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);

    HCURSOR cursor = Icon(IconFile(32, 32, true, 0xFF00FF00), 0, 0, true);
    ASSERT_TRUE(cursor && GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(5u, info.xHotspot);
    EXPECT_EQ(6u, info.yHotspot);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyCursor(cursor);

    HICON mono = Icon(IconFile(32, 32, false, 0, true), 32, 32);
    ASSERT_TRUE(mono && GetIconInfo(mono, &info));
    EXPECT_EQ(nullptr, info.hbmColor); // black-and-white: one mask of double height
    GetObjectW(info.hbmMask, sizeof(bm), &bm);
    EXPECT_EQ(64, bm.bmHeight);
    DeleteObject(info.hbmMask);
    DestroyIcon(mono);
}

struct IconDamage {
    const char* what;
    void (*apply)(std::string& ico);
};

const size_t kDib = 22; // where IconFile puts the bitmap header

const IconDamage kIconDamages[] = {
    {"too short for its header", [](std::string& s) { s.resize(5); }},
    {"more entries than bytes", [](std::string& s) { Set16(s, 4, 0xFFFF); }},
    {"entry offset past the end", [](std::string& s) { Set32(s, 18, 0xFFFFFFF0u); }},
    {"entry size wraps in 32 bits", [](std::string& s) { Set32(s, 14, 0xFFFFFFF0u); }},
    {"entry size past the end", [](std::string& s) { Set32(s, 14, static_cast<uint32_t>(s.size())); }},
    {"bitmap header size past the data", [](std::string& s) { Set32(s, kDib, 0x10000); }},
    {"bitmap header of unknown size", [](std::string& s) { Set32(s, kDib, 20); }},
    {"compressed bitmap", [](std::string& s) { Set32(s, kDib + 16, BI_RLE8); }},
    {"odd bit count", [](std::string& s) { Set16(s, kDib + 14, 7); }},
    {"zero height", [](std::string& s) { Set32(s, kDib + 8, 0); }},
    {"huge width", [](std::string& s) { Set32(s, kDib + 4, 0x7FFFFFFF); }},
    {"width whose rows wrap in 32 bits", [](std::string& s) { Set32(s, kDib + 4, 0x8000); }},
    {"colour rows truncated", [](std::string& s) { s.resize(kDib + 40 + 16 * 16 * 4 - 1); Set32(s, 14, 40 + 1023); }},
    {"used colours past the data", [](std::string& s) { Set16(s, kDib + 14, 8); Set32(s, kDib + 32, 0xFFFFFFFFu); }},
};

TEST(ZipIcon, DamagedIconFilesGiveNothing)
{
    for (const IconDamage& damage : kIconDamages) {
        SCOPED_TRACE(damage.what);
        std::string ico = IconFile(16, 16, false, 0xFF0000FF);
        damage.apply(ico);
        EXPECT_EQ(nullptr, Icon(ico, 16, 16));
        EXPECT_EQ(nullptr, Icon(ico, 0, 0, true));
    }
    EXPECT_EQ(nullptr, Icon("RIFF\x10\0\0\0ACONjunk", 0, 0, true));
    EXPECT_EQ(nullptr, CreateIconFromBytes(nullptr, 100, 16, 16, false, 0));
}

TEST(ZipIcon, MissingMaskRowsStillMakeTheIcon)
{
    std::string ico = IconFile(16, 16, false, 0xFF0000FF);
    ico.resize(ico.size() - 8);
    Set32(ico, 14, Get32(ico, 14) - 8);
    HICON icon = Icon(ico, 16, 16);
    EXPECT_NE(nullptr, icon);
    DestroyIcon(icon);
}

struct BmpDamage {
    const char* what;
    void (*apply)(std::string& bmp);
};

const BmpDamage kBmpDamages[] = {
    {"not BM", [](std::string& s) { s[0] = 'P'; }},
    {"file size field past the data", [](std::string& s) { Set32(s, 2, static_cast<uint32_t>(s.size() + 1)); }},
    {"rows truncated", [](std::string& s) { s.pop_back(); Set32(s, 2, static_cast<uint32_t>(s.size())); }},
    {"bits offset past the end", [](std::string& s) { Set32(s, 10, 0xFFFFFFF0u); }},
    {"bits offset inside the header", [](std::string& s) { Set32(s, 10, 20); }},
    {"header size past the data", [](std::string& s) { Set32(s, 14, 0x100000); }},
    {"huge height", [](std::string& s) { Set32(s, 22, 0x40000000); }},
    {"huge negative height", [](std::string& s) { Set32(s, 22, 0x80000000u); }},
    {"palette past the data", [](std::string& s) { Set16(s, 28, 8); Set32(s, 46, 256); }},
    {"embedded PNG", [](std::string& s) { Set32(s, 30, 5); }},
};

TEST(ZipIcon, BitmapsOnlyFromWholeBmpFiles)
{
    HBITMAP bitmap = Bitmap(BmpFile(4, 2));
    BITMAP bm = {};
    ASSERT_NE(nullptr, bitmap);
    GetObjectW(bitmap, sizeof(bm), &bm);
    EXPECT_EQ(4, bm.bmWidth);
    EXPECT_EQ(2, bm.bmHeight);
    DeleteObject(bitmap);
    for (const BmpDamage& damage : kBmpDamages) {
        SCOPED_TRACE(damage.what);
        std::string bmp = BmpFile(4, 2);
        damage.apply(bmp);
        EXPECT_EQ(nullptr, Bitmap(bmp));
    }
}

} // namespace
