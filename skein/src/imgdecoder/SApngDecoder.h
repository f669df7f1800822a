#pragma once
// Reading PNG and animated PNG through libpng, with frame composition of our own: every frame
// comes out as a whole canvas of red, green, blue, alpha bytes.
#include <windows.h>
#include <stdio.h>

namespace SKEIN {

// Where the PNG bytes come from.
struct IPngReader {
    // Bytes read into buffer, fewer than count at the end of the data.
    virtual size_t Read(BYTE* buffer, size_t count) = 0;

protected:
    ~IPngReader() {}
};

class IPngReader_File : public IPngReader {
public:
    explicit IPngReader_File(FILE* file) : m_file(file) {}
    size_t Read(BYTE* buffer, size_t count) override { return fread(buffer, 1, count, m_file); }

private:
    FILE* m_file;
};

class IPngReader_Mem : public IPngReader {
public:
    IPngReader_Mem(const BYTE* data, size_t size) : m_cursor(data), m_left(size) {}
    size_t Read(BYTE* buffer, size_t count) override;

private:
    const BYTE* m_cursor;
    size_t m_left;
};

// A decoded image: `count` frames of width x height x 4 bytes one after the other.
struct SApngFrames {
    UINT width;
    UINT height;
    UINT count;
    BYTE* pixels;   // malloc'ed, owned by the receiver
    WORD* delays;   // malloc'ed, one per frame in hundredths of a second; null for a still image
};

// Decodes the whole PNG; false (and nothing to free) when it does not decode, when its size
// exceeds kMaxImageBytes or when a frame does not fit the image.
bool DecodeApng(IPngReader& reader, SApngFrames* frames);

// A frame's delay in hundredths of a second from the fcTL fraction, saturated at 16 bits.
WORD ApngDelay(WORD numerator, WORD denominator);

} // namespace SKEIN
