#include "imgdecoder/SImgXBase.h"
#include <stdlib.h>
#include <string.h>

namespace SKEIN {

int SImgXBase::LoadFromFileA(const char* path)
{
    wchar_t wide[MAX_PATH];
    if (!path || !MultiByteToWideChar(CP_ACP, 0, path, -1, wide, MAX_PATH))
        return LoadFromFileW(nullptr); // a null path only drops the current frames
    return LoadFromFileW(wide);
}

void SImgFrameMem::Set(UINT width, UINT height, const BYTE* pixels)
{
    m_width = width;
    m_height = height;
    m_pixels = pixels;
}

BOOL SImgFrameMem::GetSize(UINT* width, UINT* height)
{
    if (!m_pixels)
        return FALSE;
    *width = m_width;
    *height = m_height;
    return TRUE;
}

BOOL SImgFrameMem::CopyPixels(const RECT*, UINT, UINT bufferSize, BYTE* buffer)
{
    // the image's size passed ImageBytes, so this product fits
    size_t bytes = static_cast<size_t>(m_width) * m_height * 4;
    if (!m_pixels || !buffer || bufferSize != bytes)
        return FALSE;
    memcpy(buffer, m_pixels, bytes);
    return TRUE;
}

SImgXMem::~SImgXMem()
{
    Clear();
}

IImgFrame* SImgXMem::GetFrame(UINT index)
{
    if (index >= GetFrameCount())
        return nullptr;
    return &Frame(index);
}

void SImgXMem::Clear()
{
    m_frames.Resize(0);
    free(m_block);
    m_block = nullptr;
}

int SImgXMem::Adopt(BYTE* block, UINT width, UINT height, UINT count)
{
    Clear();
    if (!block || !m_frames.Resize(static_cast<int>(count))) {
        free(block);
        return 0;
    }
    m_block = block;
    m_frameBytes = static_cast<size_t>(width) * height * 4;
    for (UINT i = 0; i < count; ++i)
        Frame(i).Set(width, height, FrameBits(i));
    return static_cast<int>(count);
}

} // namespace SKEIN
