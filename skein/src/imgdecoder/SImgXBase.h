#pragma once
// The parts the image classes of the back ends share: the narrow-path load, and frames kept as
// slices of one premultiplied pixel block that the image owns.
#include "core/SDynArray.h"
#include "interface/SImgDecoder-i.h"

namespace SKEIN {

// Every image: LoadFromFileA goes through LoadFromFileW.
class SImgXBase : public TObjRefImpl<IImgX> {
public:
    // A path that does not fit MAX_PATH wide characters gives 0.
    int LoadFromFileA(const char* path) override;
};

// One frame over width x height pixels that belong to its image.
class SImgFrameMem : public IImgFrame {
public:
    typedef void SRelocatable;

    SImgFrameMem() : m_delay(0), m_width(0), m_height(0), m_pixels(nullptr) {}
    void Set(UINT width, UINT height, const BYTE* pixels);
    void SetDelay(int delay) { m_delay = delay; }

    BOOL GetSize(UINT* width, UINT* height) override;
    // Ignores rect and stride: copies the whole frame into a buffer of exactly width x height x 4.
    BOOL CopyPixels(const RECT* rect, UINT stride, UINT bufferSize, BYTE* buffer) override;
    int GetDelay() override { return m_delay; }

private:
    int m_delay;
    UINT m_width;
    UINT m_height;
    const BYTE* m_pixels;
};

// An image whose frames all have the image's size and lie one after the other in one block.
class SImgXMem : public SImgXBase {
public:
    SImgXMem() : m_block(nullptr), m_frameBytes(0) {}
    ~SImgXMem() override;

    UINT GetFrameCount() override { return static_cast<UINT>(m_frames.Count()); }
    IImgFrame* GetFrame(UINT index) override;

protected:
    // Drops the frames and their block.
    void Clear();
    // Takes over a malloc'ed block of `count` frames (as sized by ImageBytes) and makes the frame
    // table; the number of frames, 0 (block freed) when the block is null or the table cannot be made.
    int Adopt(BYTE* block, UINT width, UINT height, UINT count);
    SImgFrameMem& Frame(UINT index) { return m_frames[static_cast<int>(index)]; }
    BYTE* FrameBits(UINT index) { return m_block + index * m_frameBytes; }

private:
    BYTE* m_block;
    size_t m_frameBytes;
    SDynArray<SImgFrameMem> m_frames;
};

} // namespace SKEIN
