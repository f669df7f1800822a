#pragma once
// Writers of the small images the decoder tests feed to every back end: PNG and animated PNG
// chunk by chunk, GIF, 24-bit BMP and a grayscale baseline JPEG of flat 8 x 8 blocks.
#include <stdint.h>
#include <string>
#include <vector>

namespace fixtures {

typedef std::vector<uint8_t> Bytes;

struct Rgba {
    uint8_t r, g, b, a;
};

// A chunk placed between IHDR and the image data (PLTE, tRNS, acTL ...).
struct Chunk {
    std::string type;
    Bytes data;
};

Bytes Be32(uint32_t value);
Bytes Be16(uint16_t value);

// rows: packed scanlines without filter bytes. Interlacing is written for 8-bit RGBA only.
Bytes MakePng(uint32_t width, uint32_t height, int colorType, int bitDepth, const Bytes& rows,
              const std::vector<Chunk>& chunks = {}, bool interlaced = false);

// The PNG with the size in its header replaced (the data left as it is).
Bytes Resized(Bytes png, uint32_t width, uint32_t height);

Bytes Rgba8Rows(const std::vector<Rgba>& pixels);

struct ApngFrame {
    uint32_t width, height, x, y;
    uint16_t delayNum, delayDen;
    uint8_t dispose, blend;
    std::vector<Rgba> pixels; // width x height (fewer: a frame short of data)
};

// An 8-bit RGBA animated PNG; frame 0 goes into IDAT. declaredFrames 0: the number of frames.
Bytes MakeApng(uint32_t width, uint32_t height, const std::vector<ApngFrame>& frames, uint32_t declaredFrames = 0);

struct GifFrame {
    std::vector<uint8_t> indices; // the whole canvas, palette indices 0-3
    uint16_t delay;               // hundredths of a second
    int transparent;              // palette index, or -1
};

Bytes MakeGif(uint16_t width, uint16_t height, const std::vector<Rgba>& palette, const std::vector<GifFrame>& frames);

// Bottom-up BI_RGB file; alpha ignored.
Bytes MakeBmp24(uint32_t width, uint32_t height, const std::vector<Rgba>& pixels);

// width and height multiples of 8; one gray value per block, blocks in rows.
Bytes MakeGrayJpeg(uint32_t width, uint32_t height, const std::vector<uint8_t>& blockValues);

} // namespace fixtures
