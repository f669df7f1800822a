#include "imgdecoder/SApngDecoder.h"
#include <png.h>
#include <stdlib.h>
#include <string.h>
#include "imgdecoder/SImgPixels.h"

namespace SKEIN {

size_t IPngReader_Mem::Read(BYTE* buffer, size_t count)
{
    size_t n = count < m_left ? count : m_left;
    memcpy(buffer, m_cursor, n);
    m_cursor += n;
    m_left -= n;
    return n;
}

WORD ApngDelay(WORD numerator, WORD denominator)
{
    UINT32 hundredths;
    switch (denominator) {
    case 0:
    case 100:
        hundredths = numerator;
        break;
    case 10:
        hundredths = numerator * 10u;
        break;
    case 1000:
        hundredths = numerator / 10u;
        break;
    default:
        hundredths = numerator * 100u / denominator;
        break;
    }
    return static_cast<WORD>(hundredths > 0xFFFF ? 0xFFFF : hundredths);
}

namespace {

// Everything the decoding holds, as plain data: libpng's errors longjmp over the functions below,
// so none of them owns anything with a destructor.
struct ApngState {
    png_structp png;
    png_infop info;
    png_bytep* rows; // one address per image row
    BYTE* canvas;
    BYTE* scratch;
    SApngFrames out;
};

struct FrameHead {
    png_uint_32 width, height, x, y;
    png_uint_16 delayNum, delayDen;
    png_byte dispose, blend;
    bool timed; // the frame has an fcTL
};

// libpng's limits for what the framework reads. Sides up to 32768 pixels, the largest bitmap side
// the framework takes anywhere (kMaxImageBytes still bounds the area), keep libpng's own row
// buffers small; chunks other than the pixel data are capped at 1 MiB, and at 128 kept.
const png_uint_32 kMaxPngSide = 0x8000;
const png_alloc_size_t kMaxChunkBytes = 1 << 20;
const png_uint_32 kMaxCachedChunks = 128;

// libpng only warns about a chunk above the cap and then allocates what the chunk states, up to
// 2 GiB for a file of a few bytes. No ancillary chunk but tRNS changes the pixels made here
// (texts, profiles, gamma and the like are never applied), so all the others are skipped unread:
// no stated length is ever allocated, and a chunk longer than its file ends at the file's end.
void SetLimits(png_structp png)
{
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_set_chunk_cache_max(png, kMaxCachedChunks);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
}

void OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep data, size_t length)
{
    IPngReader* reader = static_cast<IPngReader*>(png_get_io_ptr(png));
    if (reader->Read(data, length) != length)
        png_error(png, "read error");
}

size_t Stride(const ApngState* s)
{
    return static_cast<size_t>(s->out.width) * 4;
}

BYTE* Allocated(ApngState* s, void* block)
{
    if (!block)
        png_error(s->png, "out of memory");
    return static_cast<BYTE*>(block);
}

// Rows 0 .. count-1 of a block of whole image rows.
void PointRows(ApngState* s, BYTE* block, png_uint_32 count)
{
    for (png_uint_32 r = 0; r < count; ++r)
        s->rows[r] = block + r * Stride(s);
}

// Every row becomes width x 4 bytes of red, green, blue, alpha.
void SetTransforms(ApngState* s)
{
    png_set_expand(s->png);
    png_set_filler(s->png, 0xFF, PNG_FILLER_AFTER);
    png_set_gray_to_rgb(s->png);
    png_set_strip_16(s->png);
    png_set_interlace_handling(s->png);
    png_read_update_info(s->png, s->info);
    if (png_get_rowbytes(s->png, s->info) != Stride(s))
        png_error(s->png, "unexpected row format");
}

void ReadStill(ApngState* s)
{
    s->out.count = 1;
    s->out.pixels = Allocated(s, AllocImage(s->out.width, s->out.height, 1));
    PointRows(s, s->out.pixels, s->out.height);
    png_read_image(s->png, s->rows);
}

// The next frame's header; a frame without fcTL (the default image) covers the whole canvas.
FrameHead ReadFrameHead(ApngState* s)
{
    png_read_frame_head(s->png, s->info);
    FrameHead head = {s->out.width, s->out.height, 0, 0, 0, 0, PNG_DISPOSE_OP_NONE, PNG_BLEND_OP_SOURCE, false};
    if (png_get_valid(s->png, s->info, PNG_INFO_fcTL)) {
        png_get_next_frame_fcTL(s->png, s->info, &head.width, &head.height, &head.x, &head.y, &head.delayNum,
                                &head.delayDen, &head.dispose, &head.blend);
        head.timed = true;
    }
    if (head.width == 0 || head.height == 0 || head.x > s->out.width || head.width > s->out.width - head.x ||
        head.y > s->out.height || head.height > s->out.height - head.y)
        png_error(s->png, "frame outside the image");
    return head;
}

// Over: each byte d of the canvas becomes (frame byte x s + d x (255 - s)) >> 8, s the frame's alpha.
void BlendOver(const BYTE* src, BYTE* dst, png_uint_32 count)
{
    for (png_uint_32 i = 0; i < count; ++i, src += 4, dst += 4) {
        unsigned alpha = src[3];
        for (int k = 0; k < 4; ++k)
            dst[k] = static_cast<BYTE>((src[k] * alpha + dst[k] * (255 - alpha)) >> 8);
    }
}

void BlendFrame(ApngState* s, const FrameHead& head)
{
    for (png_uint_32 r = 0; r < head.height; ++r) {
        const BYTE* src = s->scratch + r * Stride(s);
        BYTE* dst = s->canvas + (head.y + r) * Stride(s) + head.x * 4;
        if (head.blend == PNG_BLEND_OP_OVER)
            BlendOver(src, dst, head.width);
        else
            memcpy(dst, src, head.width * 4);
    }
}

void DisposeFrame(ApngState* s, const FrameHead& head, png_uint_32 index, size_t frameBytes)
{
    if (head.dispose == PNG_DISPOSE_OP_BACKGROUND) {
        for (png_uint_32 r = 0; r < head.height; ++r)
            memset(s->canvas + (head.y + r) * Stride(s) + head.x * 4, 0, head.width * 4);
    } else if (head.dispose == PNG_DISPOSE_OP_PREVIOUS && index > 0) {
        memcpy(s->canvas, s->out.pixels + (index - 1) * frameBytes, frameBytes);
    }
}

void ReadAnimated(ApngState* s, png_uint_32 count)
{
    s->out.count = count;
    s->out.pixels = Allocated(s, AllocImage(s->out.width, s->out.height, count));
    s->canvas = Allocated(s, AllocImage(s->out.width, s->out.height, 1));
    s->scratch = Allocated(s, AllocImage(s->out.width, s->out.height, 1));
    s->out.delays = static_cast<WORD*>(static_cast<void*>(Allocated(s, calloc(count, sizeof(WORD)))));
    size_t frameBytes = Stride(s) * s->out.height;
    memset(s->canvas, 0, frameBytes);
    for (png_uint_32 i = 0; i < count; ++i) {
        FrameHead head = ReadFrameHead(s);
        s->out.delays[i] = head.timed ? ApngDelay(head.delayNum, head.delayDen) : 0;
        PointRows(s, s->scratch, head.height);
        png_read_image(s->png, s->rows);
        BlendFrame(s, head);
        memcpy(s->out.pixels + i * frameBytes, s->canvas, frameBytes);
        DisposeFrame(s, head, i, frameBytes);
    }
}

void ReadImage(ApngState* s)
{
    png_read_info(s->png, s->info);
    s->out.width = png_get_image_width(s->png, s->info);
    s->out.height = png_get_image_height(s->png, s->info);
    size_t bytes = 0;
    if (!ImageBytes(s->out.width, s->out.height, 1, &bytes))
        png_error(s->png, "image too large");
    SetTransforms(s);
    s->rows = static_cast<png_bytep*>(static_cast<void*>(Allocated(s, calloc(s->out.height, sizeof(png_bytep)))));
    png_uint_32 frames = 0, plays = 0;
    if (png_get_acTL(s->png, s->info, &frames, &plays))
        ReadAnimated(s, frames);
    else
        ReadStill(s);
    png_read_end(s->png, nullptr);
}

// Holds the only setjmp: a libpng error anywhere below returns false here.
bool ReadPng(ApngState* s, IPngReader* reader)
{
    BYTE signature[8];
    if (reader->Read(signature, sizeof(signature)) != sizeof(signature) ||
        png_sig_cmp(signature, 0, sizeof(signature)) != 0)
        return false;
    s->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!s->png)
        return false;
    s->info = png_create_info_struct(s->png);
    if (!s->info)
        return false;
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_set_read_fn(s->png, reader, OnRead);
    SetLimits(s->png);
    png_set_sig_bytes(s->png, sizeof(signature));
    ReadImage(s);
    return true;
}

} // namespace

bool DecodeApng(IPngReader& reader, SApngFrames* frames)
{
    ApngState s;
    memset(&s, 0, sizeof(s));
    bool ok = ReadPng(&s, &reader);
    if (s.png)
        png_destroy_read_struct(&s.png, s.info ? &s.info : nullptr, nullptr);
    free(s.rows);
    free(s.canvas);
    free(s.scratch);
    if (ok) {
        *frames = s.out;
    } else {
        free(s.out.pixels);
        free(s.out.delays);
    }
    return ok;
}

} // namespace SKEIN
