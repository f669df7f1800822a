// Icons, cursors and bitmaps from the bytes of archive members. Every size and offset taken
// from the bytes is checked against them in 64-bit arithmetic before it is used.
#include <string.h>
#include <vector>
#include "helper/SLog.h"
#include "res.mgr/SResProviderZip.h"
#include "res.mgr/SLittleEndian.h"

namespace SKEIN {

namespace {

const size_t kIconDirSize = 6;
const size_t kIconEntrySize = 16;
const size_t kBmpFileHeaderSize = 14;
const size_t kCoreHeaderSize = 12;
const size_t kInfoHeaderSize = 40;
const INT64 kMaxDibSide = 0x8000;

INT64 Abs64(INT64 value)
{
    return value < 0 ? -value : value;
}

// The fields of a 12-byte (core) or 40-byte-or-longer bitmap header.
struct DibHeader {
    UINT32 headerSize;
    INT64 width;
    INT64 height;
    UINT32 bits;
    UINT32 compression;
    UINT32 usedColors;
};

// False for a header size that is neither form, or a header running past size.
bool ParseDibHeader(const BYTE* dib, size_t size, DibHeader& header)
{
    if (size < kCoreHeaderSize)
        return false;
    header.headerSize = U32(dib);
    if (header.headerSize > size)
        return false;
    if (header.headerSize == kCoreHeaderSize) {
        header.width = U16(dib + 4);
        header.height = static_cast<INT16>(U16(dib + 6));
        header.bits = U16(dib + 10);
        header.compression = BI_RGB;
        header.usedColors = 0;
        return true;
    }
    if (header.headerSize < kInfoHeaderSize)
        return false;
    header.width = static_cast<INT32>(U32(dib + 4));
    header.height = static_cast<INT32>(U32(dib + 8));
    header.bits = U16(dib + 14);
    header.compression = U32(dib + 16);
    header.usedColors = U32(dib + 32);
    return true;
}

bool ValidDimensions(const DibHeader& header)
{
    static const UINT32 kBitCounts[] = {1, 4, 8, 16, 24, 32};
    bool validBits = false;
    for (UINT32 bits : kBitCounts)
        validBits = validBits || header.bits == bits;
    return validBits && header.width > 0 && header.width <= kMaxDibSide && header.height != 0 &&
           Abs64(header.height) <= 2 * kMaxDibSide;
}

// Header plus palette (and bit-field masks).
UINT64 DibInfoSize(const DibHeader& header)
{
    if (header.headerSize == kCoreHeaderSize)
        return kCoreHeaderSize + 3 * (header.bits <= 8 ? (1ull << header.bits) : 0);
    UINT64 colors = header.usedColors ? (header.usedColors < 256 ? header.usedColors : 256)
                                      : (header.bits <= 8 ? (1ull << header.bits) : 0);
    UINT64 base = header.compression == BI_BITFIELDS ? 52 : kInfoHeaderSize;
    if (header.headerSize > base)
        base = header.headerSize;
    return base + 4 * colors;
}

// Rows of whole 32-bit units.
UINT64 DibImageSize(INT64 width, INT64 height, UINT32 bits)
{
    return ((static_cast<UINT64>(width) * bits + 31) / 8 & ~3ull) * static_cast<UINT64>(Abs64(height));
}

HDC ScreenDC()
{
    static HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    return dc;
}

// A copy of header and palette in aligned memory, with the height set to height.
std::vector<BYTE> InfoCopy(const BYTE* dib, const DibHeader& header, UINT64 infoSize, INT64 height)
{
    std::vector<BYTE> info(dib, dib + infoSize);
    if (header.headerSize == kCoreHeaderSize) {
        UINT16 value = static_cast<UINT16>(height);
        memcpy(&info[6], &value, sizeof(value));
    } else {
        INT32 value = static_cast<INT32>(height);
        memcpy(&info[8], &value, sizeof(value));
    }
    return info;
}

struct MaskInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
};

MaskInfo MonochromeInfo(INT64 width, INT64 height)
{
    MaskInfo info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = static_cast<LONG>(width);
    info.header.biHeight = static_cast<LONG>(height);
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = 2;
    info.header.biClrImportant = 2;
    info.colors[1].rgbBlue = info.colors[1].rgbGreen = info.colors[1].rgbRed = 255;
    return info;
}

// 1 bit per pixel with a black-then-white palette.
bool IsMonochromeDib(const BYTE* dib, const DibHeader& header)
{
    if (header.bits != 1)
        return false;
    const BYTE* palette = dib + header.headerSize;
    if (header.headerSize == kCoreHeaderSize) {
        static const BYTE kCore[6] = {0, 0, 0, 255, 255, 255};
        return memcmp(palette, kCore, sizeof(kCore)) == 0;
    }
    static const BYTE kQuads[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    return memcmp(palette, kQuads, sizeof(kQuads)) == 0;
}

bool DibHasAlpha(const BYTE* rows, UINT64 size, UINT32 bits)
{
    if (bits != 32)
        return false;
    for (UINT64 i = 3; i < size; i += 4) {
        if (rows[i])
            return true;
    }
    return false;
}

void StretchInto(HDC dc, int x, int y, int cx, int cy, INT64 width, INT64 height, const BYTE* rows, const void* info)
{
    StretchDIBits(dc, x, y, cx, cy, 0, 0, static_cast<int>(width), static_cast<int>(height), rows,
                  static_cast<const BITMAPINFO*>(info), DIB_RGB_COLORS, SRCCOPY);
}

// A 32-bit top-down section of cx by cy with the rows stretched in and premultiplied by alpha.
HBITMAP CreateAlphaBitmap(HDC memory, int cx, int cy, INT64 width, INT64 height, const BYTE* rows, const void* info)
{
    BITMAPINFO section = {};
    section.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    section.bmiHeader.biWidth = cx;
    section.bmiHeader.biHeight = -cy;
    section.bmiHeader.biPlanes = 1;
    section.bmiHeader.biBitCount = 32;
    section.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(ScreenDC(), &section, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    HGDIOBJ old = SelectObject(memory, bitmap);
    StretchInto(memory, 0, 0, cx, cy, width, height, rows, info);
    SelectObject(memory, old);
    GdiFlush();
    BYTE* pixel = static_cast<BYTE*>(bits);
    for (size_t i = 0, n = static_cast<size_t>(cx) * cy; i < n; ++i, pixel += 4) {
        for (int c = 0; c < 3; ++c)
            pixel[c] = static_cast<BYTE>(pixel[c] * pixel[3] / 255);
    }
    return bitmap;
}

void LogDib(const char* format, UINT64 a, UINT64 b = 0, UINT64 c = 0, UINT64 d = 0)
{
    SKEIN_LOG(3, "SKEIN::CreateIconFromDib")
        .Line()
        .AppendFormat(format, static_cast<unsigned long long>(a), static_cast<unsigned long long>(b),
                      static_cast<unsigned long long>(c), static_cast<unsigned long long>(d));
}

struct IconTarget {
    int cx;
    int cy;
    POINT hotspot;
};

IconTarget TargetOf(const DibHeader& header, POINT hotspot, bool isIcon, int cx, int cy, UINT flags)
{
    INT64 height = Abs64(header.height) / 2;
    if (flags & LR_DEFAULTSIZE) {
        if (!cx)
            cx = GetSystemMetrics(isIcon ? SM_CXICON : SM_CXCURSOR);
        if (!cy)
            cy = GetSystemMetrics(isIcon ? SM_CYICON : SM_CYCURSOR);
    } else {
        if (!cx)
            cx = static_cast<int>(header.width);
        if (!cy)
            cy = static_cast<int>(height);
    }
    IconTarget target = {cx, cy, hotspot};
    if (isIcon) {
        target.hotspot.x = cx / 2;
        target.hotspot.y = cy / 2;
    } else if (cx != header.width || cy != height) {
        target.hotspot.x = static_cast<LONG>(hotspot.x * static_cast<INT64>(cx) / header.width);
        target.hotspot.y = static_cast<LONG>(hotspot.y * static_cast<INT64>(cy) / height);
    }
    return target;
}

HICON CreateIconFromDib(size_t size, const BYTE* dib, POINT hotspot, bool isIcon, int cx, int cy, UINT flags)
{
    if (size <= 11)
        return nullptr;
    DibHeader header;
    if (U32(dib) > size) {
        LogDib("invalid header size %llu\n", U32(dib));
        return nullptr;
    }
    if (!ParseDibHeader(dib, size, header) ||
        (header.compression != BI_RGB && header.compression != BI_BITFIELDS) || !ValidDimensions(header) ||
        header.height < 2) {
        LogDib("invalid bitmap header %llu\n", header.headerSize);
        return nullptr;
    }
    INT64 width = header.width;
    INT64 height = header.height / 2;
    UINT64 infoSize = DibInfoSize(header);
    UINT64 colorSize = DibImageSize(width, height, header.bits);
    UINT64 maskSize = DibImageSize(width, height, 1);
    if (size < infoSize + colorSize) {
        LogDib("truncated file %llu < %llu+%llu+%llu\n", size, infoSize, colorSize, maskSize);
        return nullptr;
    }
    bool hasMask = size - infoSize - colorSize >= maskSize;
    IconTarget target = TargetOf(header, hotspot, isIcon, cx, cy, flags);
    if (target.cx <= 0 || target.cy <= 0 || target.cx > kMaxDibSide || target.cy > kMaxDibSide)
        return nullptr;
    const BYTE* colorRows = dib + infoSize;
    const BYTE* maskRows = colorRows + colorSize;
    std::vector<BYTE> info = InfoCopy(dib, header, infoSize, height);
    MaskInfo maskInfo = MonochromeInfo(width, height);
    HDC memory = CreateCompatibleDC(ScreenDC());
    HBITMAP color = nullptr;
    HBITMAP alpha = nullptr;
    HBITMAP mask = nullptr;
    if (IsMonochromeDib(dib, header)) {
        mask = CreateBitmap(target.cx, target.cy * 2, 1, 1, nullptr);
        HGDIOBJ old = SelectObject(memory, mask);
        StretchInto(memory, 0, target.cy, target.cx, target.cy, width, height, colorRows, info.data());
        if (hasMask)
            StretchInto(memory, 0, 0, target.cx, target.cy, width, height, maskRows, &maskInfo);
        SelectObject(memory, old);
    } else {
        mask = CreateBitmap(target.cx, target.cy, 1, 1, nullptr);
        color = CreateCompatibleBitmap(ScreenDC(), target.cx, target.cy);
        HGDIOBJ old = SelectObject(memory, color);
        StretchInto(memory, 0, 0, target.cx, target.cy, width, height, colorRows, info.data());
        if (DibHasAlpha(colorRows, colorSize, header.bits))
            alpha = CreateAlphaBitmap(memory, target.cx, target.cy, width, height, colorRows, info.data());
        if (hasMask) {
            SelectObject(memory, mask);
            StretchInto(memory, 0, 0, target.cx, target.cy, width, height, maskRows, &maskInfo);
        }
        SelectObject(memory, old);
    }
    DeleteDC(memory);
    ICONINFO iconInfo = {isIcon, static_cast<DWORD>(target.hotspot.x), static_cast<DWORD>(target.hotspot.y), mask,
                         alpha ? alpha : color};
    HICON icon = mask ? CreateIconIndirect(&iconInfo) : nullptr;
    DeleteObject(alpha);
    DeleteObject(color);
    DeleteObject(mask);
    return icon;
}

// One directory entry of an .ico/.cur file and the bitmap header it points at.
struct IconEntry {
    int width;
    int height;
    int bits;
};

// An entry whose directory record and 40-byte header lie inside the bytes.
bool ReadIconEntry(const BYTE* bytes, size_t size, UINT32 count, UINT32 i, IconEntry& entry)
{
    if (i >= count || size < static_cast<UINT64>(i) * kIconEntrySize + 22)
        return false;
    const BYTE* record = bytes + kIconDirSize + i * kIconEntrySize;
    UINT64 offset = U32(record + 12);
    if (size < offset + kInfoHeaderSize)
        return false;
    entry.width = record[0] ? record[0] : 256;
    entry.height = record[1] ? record[1] : 256;
    entry.bits = U16(bytes + offset + 14);
    return true;
}

int FindBestIconEntry(const BYTE* bytes, size_t size, UINT32 count, int cx, int cy, int depth, UINT flags)
{
    IconEntry entry;
    if (flags & LR_DEFAULTSIZE) {
        if (!cx)
            cx = GetSystemMetrics(SM_CXICON);
        if (!cy)
            cy = GetSystemMetrics(SM_CYICON);
    } else if (!cx && !cy && ReadIconEntry(bytes, size, count, 0, entry)) {
        cx = entry.width;
        cy = entry.height;
    }
    int best = -1;
    int bestDistance = INT_MAX;
    for (UINT32 i = 0; i < count && bestDistance != 0; ++i) {
        if (!ReadIconEntry(bytes, size, count, i, entry))
            continue;
        int distance = abs(cx - entry.width) + abs(cy - entry.height);
        if (distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
        }
    }
    int bestDepth = INT_MAX;
    for (UINT32 i = 0; best >= 0 && i < count; ++i) {
        if (!ReadIconEntry(bytes, size, count, i, entry) ||
            abs(cx - entry.width) + abs(cy - entry.height) != bestDistance)
            continue;
        if (abs(depth - entry.bits) < bestDepth) {
            best = static_cast<int>(i);
            bestDepth = abs(depth - entry.bits);
        }
    }
    return best;
}

int FindBestCursorEntry(const BYTE* bytes, size_t size, UINT32 count, int cx, int cy, UINT flags)
{
    IconEntry entry;
    if (flags & LR_DEFAULTSIZE) {
        if (!cx)
            cx = GetSystemMetrics(SM_CXCURSOR);
        if (!cy)
            cy = GetSystemMetrics(SM_CYCURSOR);
    } else if (!cx && !cy) {
        return ReadIconEntry(bytes, size, count, 0, entry) ? 0 : -1;
    }
    int best = -1;
    IconEntry bestEntry = {0, 0, 0};
    for (UINT32 i = 0; i < count; ++i) {
        if (ReadIconEntry(bytes, size, count, i, entry) && entry.width <= cx && entry.height <= 2 * cy &&
            entry.width > bestEntry.width && entry.height > bestEntry.height) {
            best = static_cast<int>(i);
            bestEntry = entry;
        }
    }
    if (best >= 0)
        return best;
    for (UINT32 i = 0; i < count; ++i) {
        if (!ReadIconEntry(bytes, size, count, i, entry))
            continue;
        if (best < 0 || (entry.width < bestEntry.width && entry.height < bestEntry.height)) {
            best = static_cast<int>(i);
            bestEntry = entry;
        }
    }
    return best;
}

int ScreenDepth()
{
    HDC dc = GetDC(nullptr);
    int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(nullptr, dc);
    return bits;
}

} // namespace

HICON CreateIconFromBytes(const BYTE* bytes, size_t size, int cx, int cy, bool isCursor, UINT flags)
{
    if (!bytes || size < kIconDirSize || size > 0xFFFFFFFFu)
        return nullptr;
    if (memcmp(bytes, "RIFF", 4) == 0)
        return CreateIconFromResource(const_cast<BYTE*>(bytes), static_cast<DWORD>(size), FALSE, 0x30000);
    UINT32 count = U16(bytes + 4);
    if (size < static_cast<UINT64>(count) * kIconEntrySize + kIconDirSize)
        return nullptr;
    int depth = (flags & LR_MONOCHROME) ? 1 : ScreenDepth();
    int index = isCursor ? FindBestCursorEntry(bytes, size, count, cx, cy, flags)
                         : FindBestIconEntry(bytes, size, count, cx, cy, depth, flags);
    if (index < 0)
        return nullptr;
    const BYTE* record = bytes + kIconDirSize + index * kIconEntrySize;
    UINT64 dataSize = U32(record + 8);
    UINT64 offset = U32(record + 12);
    if (offset + dataSize > size)
        return nullptr;
    POINT hotspot = {U16(record + 4), U16(record + 6)};
    return CreateIconFromDib(static_cast<size_t>(dataSize), bytes + offset, hotspot, !isCursor, cx, cy, flags);
}

HBITMAP CreateBitmapFromBytes(const BYTE* bytes, size_t size)
{
    if (!bytes || size < kBmpFileHeaderSize + kCoreHeaderSize || bytes[0] != 'B' || bytes[1] != 'M' ||
        U32(bytes + 2) > size)
        return nullptr;
    const BYTE* dib = bytes + kBmpFileHeaderSize;
    size_t dibSize = size - kBmpFileHeaderSize;
    DibHeader header;
    if (!ParseDibHeader(dib, dibSize, header) || !ValidDimensions(header))
        return nullptr;
    UINT64 infoSize = DibInfoSize(header);
    UINT64 bitsOffset = U32(bytes + 10);
    UINT64 imageSize = DibImageSize(header.width, header.height, header.bits);
    if (header.compression == BI_RLE8 || header.compression == BI_RLE4)
        imageSize = header.headerSize >= kInfoHeaderSize ? U32(dib + 20) : 0;
    else if (header.compression != BI_RGB && header.compression != BI_BITFIELDS)
        return nullptr;
    if (infoSize > dibSize || bitsOffset < kBmpFileHeaderSize + infoSize || imageSize == 0 ||
        bitsOffset + imageSize > size)
        return nullptr;
    std::vector<BYTE> info(dib, dib + infoSize);
    return CreateDIBitmap(ScreenDC(), reinterpret_cast<const BITMAPINFOHEADER*>(info.data()), CBM_INIT,
                          bytes + bitsOffset, reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
}

} // namespace SKEIN
