#pragma once
// Bitmaps and images from a file or a byte block, made through the application's render
// factory (and its image-decoder factory); the size limit of resource loads.
#include <windows.h>
#include "interface/SImgDecoder-i.h"
#include "interface/SRender-i.h"

namespace SKEIN {

// The largest resource that loads read whole, in bytes: far above any real layout, text or
// image (the program's largest is about 40 KB).
const UINT64 kMaxResourceBytes = 16 * 1024 * 1024;
// Whether size is at most limit; a larger one is refused with the log line "<kind> refused,
// larger than <limit> bytes: <name>", logged as from function.
bool WithinSizeLimit(const char* function, const char* kind, const wchar_t* name, UINT64 size, UINT64 limit);
// Whether a resource of size bytes may be read (what: its id or member path; see above).
bool WithinResourceLimit(const wchar_t* what, UINT64 size);

// Where the loaders get the render factory (not add-referenced); the application object
// installs a source answering its own. No source, or a null answer, makes every loader fail.
typedef IRenderFactory* (*SResRenderFactorySource)();
void SetResRenderFactorySource(SResRenderFactorySource source);
// The source's answer; null without a source.
IRenderFactory* ResRenderFactory();

// One reference for the caller, or null when nothing decodes.
IBitmap* LoadBitmapFromFile(const wchar_t* path);
IBitmap* LoadBitmapFromMemory(const void* bytes, size_t size);
IImgX* LoadImageXFromFile(const wchar_t* path);
IImgX* LoadImageXFromMemory(const void* bytes, size_t size);
// The same through a given render factory (the zip provider's own).
IBitmap* LoadBitmapFromMemory(IRenderFactory* factory, const void* bytes, size_t size);
IImgX* LoadImageXFromMemory(IRenderFactory* factory, const void* bytes, size_t size);

} // namespace SKEIN
