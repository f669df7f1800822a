#include "imgdecoder_test_fixtures.h"
#include <algorithm>
#include <zlib.h>

namespace fixtures {

namespace {

void Append(Bytes& out, const Bytes& more)
{
    out.insert(out.end(), more.begin(), more.end());
}

void PutLe16(Bytes& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutLe32(Bytes& out, uint32_t value)
{
    PutLe16(out, value & 0xFFFF);
    PutLe16(out, value >> 16);
}

void PutChunk(Bytes& out, const std::string& type, const Bytes& data)
{
    Append(out, Be32(static_cast<uint32_t>(data.size())));
    Bytes body(type.begin(), type.end());
    Append(body, data);
    Append(out, body);
    Append(out, Be32(static_cast<uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())))));
}

Bytes Deflate(const Bytes& raw)
{
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes out(size);
    compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
    out.resize(size);
    return out;
}

// Filter byte 0 in front of every row.
Bytes Unfiltered(const Bytes& rows, size_t rowBytes, uint32_t height)
{
    Bytes out;
    for (uint32_t y = 0; y < height; ++y) {
        out.push_back(0);
        out.insert(out.end(), rows.begin() + y * rowBytes, rows.begin() + (y + 1) * rowBytes);
    }
    return out;
}

// The seven Adam7 sub-images of 4-byte pixels, each row with its filter byte.
Bytes Adam7(const Bytes& rows, uint32_t width, uint32_t height)
{
    static const uint32_t pass[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
    Bytes out;
    for (const auto& p : pass) {
        if (p[0] >= width)
            continue;
        for (uint32_t y = p[1]; y < height; y += p[3]) {
            out.push_back(0);
            for (uint32_t x = p[0]; x < width; x += p[2])
                out.insert(out.end(), rows.begin() + (y * width + x) * 4, rows.begin() + (y * width + x + 1) * 4);
        }
    }
    return out;
}

const Bytes kSignature = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

Bytes Ihdr(uint32_t width, uint32_t height, int bitDepth, int colorType, bool interlaced)
{
    Bytes ihdr = Be32(width);
    Append(ihdr, Be32(height));
    ihdr.push_back(static_cast<uint8_t>(bitDepth));
    ihdr.push_back(static_cast<uint8_t>(colorType));
    ihdr.push_back(0);
    ihdr.push_back(0);
    ihdr.push_back(interlaced ? 1 : 0);
    return ihdr;
}

// Most significant bit first, with a 0 after every 0xFF byte, padded with ones.
class JpegBits {
public:
    void Put(uint32_t code, int length)
    {
        for (int i = length - 1; i >= 0; --i) {
            m_byte = static_cast<uint8_t>((m_byte << 1) | ((code >> i) & 1));
            if (++m_count == 8)
                Flush();
        }
    }
    Bytes Finish()
    {
        while (m_count != 0)
            Put(1, 1);
        return m_out;
    }

private:
    void Flush()
    {
        m_out.push_back(m_byte);
        if (m_byte == 0xFF)
            m_out.push_back(0);
        m_byte = 0;
        m_count = 0;
    }

    Bytes m_out;
    uint8_t m_byte = 0;
    int m_count = 0;
};

void PutSegment(Bytes& out, uint8_t marker, const Bytes& body)
{
    out.push_back(0xFF);
    out.push_back(marker);
    Append(out, Be16(static_cast<uint16_t>(body.size() + 2)));
    Append(out, body);
}

} // namespace

Bytes Be32(uint32_t value)
{
    return {static_cast<uint8_t>(value >> 24), static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value)};
}

Bytes Be16(uint16_t value)
{
    return {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

Bytes Rgba8Rows(const std::vector<Rgba>& pixels)
{
    Bytes rows;
    for (const Rgba& p : pixels) {
        rows.push_back(p.r);
        rows.push_back(p.g);
        rows.push_back(p.b);
        rows.push_back(p.a);
    }
    return rows;
}

Bytes MakePng(uint32_t width, uint32_t height, int colorType, int bitDepth, const Bytes& rows,
              const std::vector<Chunk>& chunks, bool interlaced)
{
    Bytes png = kSignature;
    PutChunk(png, "IHDR", Ihdr(width, height, bitDepth, colorType, interlaced));
    for (const Chunk& chunk : chunks)
        PutChunk(png, chunk.type, chunk.data);
    size_t rowBytes = height ? rows.size() / height : 0;
    PutChunk(png, "IDAT", Deflate(interlaced ? Adam7(rows, width, height) : Unfiltered(rows, rowBytes, height)));
    PutChunk(png, "IEND", {});
    return png;
}

Bytes Resized(Bytes png, uint32_t width, uint32_t height)
{
    Bytes size = Be32(width);
    Append(size, Be32(height));
    std::copy(size.begin(), size.end(), png.begin() + 16);
    // the IHDR CRC covers its type and data: bytes 12-28
    Bytes crc = Be32(static_cast<uint32_t>(crc32(0, png.data() + 12, 17)));
    std::copy(crc.begin(), crc.end(), png.begin() + 29);
    return png;
}

Bytes MakeApng(uint32_t width, uint32_t height, const std::vector<ApngFrame>& frames, uint32_t declaredFrames)
{
    Bytes png = kSignature;
    PutChunk(png, "IHDR", Ihdr(width, height, 8, 6, false));
    Bytes actl = Be32(declaredFrames ? declaredFrames : static_cast<uint32_t>(frames.size()));
    Append(actl, Be32(0));
    PutChunk(png, "acTL", actl);
    uint32_t sequence = 0;
    for (size_t i = 0; i < frames.size(); ++i) {
        const ApngFrame& f = frames[i];
        Bytes fctl = Be32(sequence++);
        for (uint32_t v : {f.width, f.height, f.x, f.y})
            Append(fctl, Be32(v));
        Append(fctl, Be16(f.delayNum));
        Append(fctl, Be16(f.delayDen));
        fctl.push_back(f.dispose);
        fctl.push_back(f.blend);
        PutChunk(png, "fcTL", fctl);
        // a frame given fewer pixels than its rectangle gets that many whole rows of data
        Bytes data = Deflate(Unfiltered(Rgba8Rows(f.pixels), f.width * 4, uint32_t(f.pixels.size() / f.width)));
        if (i == 0) {
            PutChunk(png, "IDAT", data);
        } else {
            Bytes fdat = Be32(sequence++);
            Append(fdat, data);
            PutChunk(png, "fdAT", fdat);
        }
    }
    PutChunk(png, "IEND", {});
    return png;
}

Bytes MakeGif(uint16_t width, uint16_t height, const std::vector<Rgba>& palette, const std::vector<GifFrame>& frames)
{
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
    PutLe16(gif, width);
    PutLe16(gif, height);
    Append(gif, {0x91, 0, 0}); // global table of 4 colours
    for (size_t i = 0; i < 4; ++i)
        Append(gif, {palette[i].r, palette[i].g, palette[i].b});
    if (frames.size() > 1) {
        Append(gif, {0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0});
    }
    for (const GifFrame& f : frames) {
        Append(gif, {0x21, 0xF9, 4, static_cast<uint8_t>(0x04 | (f.transparent >= 0 ? 1 : 0))});
        PutLe16(gif, f.delay);
        Append(gif, {static_cast<uint8_t>(f.transparent >= 0 ? f.transparent : 0), 0});
        gif.push_back(0x2C);
        PutLe16(gif, 0);
        PutLe16(gif, 0);
        PutLe16(gif, width);
        PutLe16(gif, height);
        gif.push_back(0);
        // 3-bit codes, a clear code before every pixel so that the code table never grows
        Bytes lzw;
        uint32_t bits = 0;
        int count = 0;
        auto put = [&](uint32_t code) {
            bits |= code << count;
            count += 3;
            while (count >= 8) {
                lzw.push_back(static_cast<uint8_t>(bits));
                bits >>= 8;
                count -= 8;
            }
        };
        for (uint8_t index : f.indices) {
            put(4);
            put(index);
        }
        put(5);
        if (count > 0)
            lzw.push_back(static_cast<uint8_t>(bits));
        gif.push_back(2);
        for (size_t at = 0; at < lzw.size(); at += 255) {
            size_t n = lzw.size() - at < 255 ? lzw.size() - at : 255;
            gif.push_back(static_cast<uint8_t>(n));
            gif.insert(gif.end(), lzw.begin() + at, lzw.begin() + at + n);
        }
        gif.push_back(0);
    }
    gif.push_back(0x3B);
    return gif;
}

Bytes MakeBmp24(uint32_t width, uint32_t height, const std::vector<Rgba>& pixels)
{
    uint32_t stride = (width * 3 + 3) & ~3u;
    Bytes bmp = {'B', 'M'};
    PutLe32(bmp, 54 + stride * height);
    PutLe32(bmp, 0);
    PutLe32(bmp, 54);
    PutLe32(bmp, 40);
    PutLe32(bmp, width);
    PutLe32(bmp, height);
    PutLe16(bmp, 1);
    PutLe16(bmp, 24);
    for (uint32_t v : {0u, stride * height, 2835u, 2835u, 0u, 0u})
        PutLe32(bmp, v);
    for (uint32_t y = height; y-- > 0;) {
        for (uint32_t x = 0; x < width; ++x) {
            const Rgba& p = pixels[y * width + x];
            Append(bmp, {p.b, p.g, p.r});
        }
        bmp.resize(bmp.size() + stride - width * 3, 0);
    }
    return bmp;
}

Bytes MakeGrayJpeg(uint32_t width, uint32_t height, const std::vector<uint8_t>& blockValues)
{
    static const uint8_t dcBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
    // canonical codes of DC categories 0-11
    uint32_t dcCode[12];
    int dcLength[12];
    uint32_t code = 0;
    for (int length = 1, symbol = 0; length <= 16; ++length, code <<= 1) {
        for (int i = 0; i < dcBits[length - 1]; ++i, ++code, ++symbol) {
            dcCode[symbol] = code;
            dcLength[symbol] = length;
        }
    }

    Bytes jpeg = {0xFF, 0xD8};
    Bytes dqt = {0};
    dqt.resize(65, 1); // all quantisers 1
    PutSegment(jpeg, 0xDB, dqt);
    Bytes sof = {8};
    Append(sof, Be16(static_cast<uint16_t>(height)));
    Append(sof, Be16(static_cast<uint16_t>(width)));
    Append(sof, {1, 1, 0x11, 0});
    PutSegment(jpeg, 0xC0, sof);
    Bytes dht = {0x00};
    dht.insert(dht.end(), dcBits, dcBits + 16);
    for (uint8_t v = 0; v < 12; ++v)
        dht.push_back(v);
    PutSegment(jpeg, 0xC4, dht);
    Bytes aht = {0x10, 1}; // one AC code, "0" for end of block
    aht.resize(17, 0);
    aht.push_back(0);
    PutSegment(jpeg, 0xC4, aht);
    PutSegment(jpeg, 0xDA, {1, 1, 0x00, 0, 63, 0});

    JpegBits bits;
    int previous = 0;
    for (uint8_t value : blockValues) {
        int dc = 8 * (value - 128); // flat block: DC = 8 x level-shifted value
        int diff = dc - previous;
        previous = dc;
        int magnitude = diff < 0 ? -diff : diff;
        int category = 0;
        while (magnitude >> category)
            ++category;
        bits.Put(dcCode[category], dcLength[category]);
        if (category)
            bits.Put(static_cast<uint32_t>(diff > 0 ? diff : diff + (1 << category) - 1), category);
        bits.Put(0, 1);
    }
    Append(jpeg, bits.Finish());
    Append(jpeg, {0xFF, 0xD9});
    return jpeg;
}

} // namespace fixtures
