#include "res.mgr/SResLoaders.h"
#include "helper/SLog.h"

namespace SKEIN {

namespace {

SResRenderFactorySource g_renderFactorySource = nullptr;

IBitmap* NewBitmap(IRenderFactory* factory)
{
    IBitmap* bitmap = nullptr;
    if (!factory || !factory->CreateBitmap(&bitmap))
        return nullptr;
    return bitmap;
}

IImgX* NewImageX(IRenderFactory* factory)
{
    IImgDecoderFactory* decoders = factory ? factory->GetImgDecoderFactory() : nullptr;
    IImgX* image = nullptr;
    if (!decoders || !decoders->CreateImgX(&image))
        return nullptr;
    return image;
}

// Keeps the object when the load succeeded (any result but 0 is a failure), else releases it.
template <class T>
T* KeepIf(T* object, bool loaded)
{
    if (object && !loaded) {
        object->Release();
        return nullptr;
    }
    return object;
}

} // namespace

bool WithinSizeLimit(const char* function, const char* kind, const wchar_t* name, UINT64 size, UINT64 limit)
{
    if (size <= limit)
        return true;
    SLogEntry entry(3, function, __FILE__, __LINE__, __builtin_return_address(0));
    entry.Line().AppendText(kind).AppendText(" refused, larger than ").AppendInt(static_cast<int>(limit));
    entry.Line().AppendText(" bytes: ").AppendWide(name);
    return false;
}

bool WithinResourceLimit(const wchar_t* what, UINT64 size)
{
    return WithinSizeLimit("SKEIN::WithinResourceLimit", "resource", what, size, kMaxResourceBytes);
}

void SetResRenderFactorySource(SResRenderFactorySource source)
{
    g_renderFactorySource = source;
}

IRenderFactory* ResRenderFactory()
{
    return g_renderFactorySource ? g_renderFactorySource() : nullptr;
}

IBitmap* LoadBitmapFromFile(const wchar_t* path)
{
    IBitmap* bitmap = NewBitmap(ResRenderFactory());
    return KeepIf(bitmap, bitmap && bitmap->LoadFromFile(path) == S_OK);
}

IBitmap* LoadBitmapFromMemory(const void* bytes, size_t size)
{
    return LoadBitmapFromMemory(ResRenderFactory(), bytes, size);
}

IBitmap* LoadBitmapFromMemory(IRenderFactory* factory, const void* bytes, size_t size)
{
    IBitmap* bitmap = NewBitmap(factory);
    return KeepIf(bitmap, bitmap && bitmap->LoadFromMemory(bytes, size) == S_OK);
}

IImgX* LoadImageXFromFile(const wchar_t* path)
{
    IImgX* image = NewImageX(ResRenderFactory());
    return KeepIf(image, image && image->LoadFromFileW(path) != 0);
}

IImgX* LoadImageXFromMemory(const void* bytes, size_t size)
{
    return LoadImageXFromMemory(ResRenderFactory(), bytes, size);
}

IImgX* LoadImageXFromMemory(IRenderFactory* factory, const void* bytes, size_t size)
{
    IImgX* image = NewImageX(factory);
    return KeepIf(image, image && image->LoadFromMemory(bytes, size) != 0);
}

} // namespace SKEIN
