#include "imgdecoder/SPngWriter.h"
#include <png.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "imgdecoder/SImgPixels.h"

namespace SKEIN {

namespace {

// Plain data only: libpng's errors longjmp over WriteRows.
struct PngWriteState {
    png_structp png;
    png_infop info;
    FILE* file;
    BYTE* row;
};

void OnError(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void WriteRows(PngWriteState* s, UINT width, UINT height, const BYTE* pixels)
{
    png_init_io(s->png, s->file);
    png_set_IHDR(s->png, s->info, width, height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(s->png, s->info);
    size_t stride = static_cast<size_t>(width) * 4;
    for (UINT y = 0; y < height; ++y) {
        UnpremultiplyBGRAToRGBA(pixels + y * stride, s->row, width);
        png_write_row(s->png, s->row);
    }
    png_write_end(s->png, nullptr);
}

// Holds the only setjmp of the writer.
bool Write(PngWriteState* s, UINT width, UINT height, const BYTE* pixels)
{
    s->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!s->png)
        return false;
    s->info = png_create_info_struct(s->png);
    if (!s->info)
        return false;
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    WriteRows(s, width, height, pixels);
    return true;
}

} // namespace

HRESULT WritePngFile(const wchar_t* path, UINT width, UINT height, const BYTE* pixels)
{
    size_t bytes = 0;
    if (!path || !pixels || !ImageBytes(width, height, 1, &bytes))
        return E_INVALIDARG;
    PngWriteState s;
    memset(&s, 0, sizeof(s));
    s.row = static_cast<BYTE*>(malloc(static_cast<size_t>(width) * 4));
    if (!s.row)
        return E_OUTOFMEMORY;
    s.file = _wfopen(path, L"wb");
    bool ok = s.file && Write(&s, width, height, pixels);
    if (s.png)
        png_destroy_write_struct(&s.png, s.info ? &s.info : nullptr);
    if (s.file) {
        ok = fclose(s.file) == 0 && ok;
        if (!ok)
            _wremove(path);
    }
    free(s.row);
    return ok ? S_OK : E_FAIL;
}

} // namespace SKEIN
