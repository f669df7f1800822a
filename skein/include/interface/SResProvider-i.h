#pragma once
// A resource provider: one source of resources named by (type, name). Types compare without
// regard to case; names as the provider decides. Absence is answered by a null handle or
// object, a size of 0 or FALSE, never by a log line.
#include <windows.h>
#include "core/SObjRef.h"

namespace SKEIN {

struct IBitmap;
struct IImgX;

struct IResProvider : public IObjRef {
    // Once, by the creator: the module handle (module provider), the folder path (folder
    // provider) or an SZipInitParam (zip provider).
    virtual BOOL Init(const void* argument) = 0;
    virtual BOOL Contains(const wchar_t* type, const wchar_t* name) = 0;
    // Slots 5 to 7 use the types "ICON", "BITMAP" and "CURSOR".
    virtual HICON LoadIconRes(const wchar_t* name, int cx, int cy) = 0;
    virtual HBITMAP LoadBitmapRes(const wchar_t* name) = 0;
    virtual HCURSOR LoadCursorRes(const wchar_t* name) = 0;
    // One reference for the caller, or null.
    virtual IBitmap* LoadImageRes(const wchar_t* type, const wchar_t* name) = 0;
    virtual IImgX* LoadImageX(const wchar_t* type, const wchar_t* name) = 0;
    // Byte count, 0 when absent.
    virtual size_t RawSize(const wchar_t* type, const wchar_t* name) = 0;
    // The whole resource; a buffer smaller than it sets ERROR_INSUFFICIENT_BUFFER and fails.
    virtual BOOL ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size) = 0;
    virtual ~IResProvider() {}
};

} // namespace SKEIN
