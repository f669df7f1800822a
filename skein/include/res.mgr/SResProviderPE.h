#pragma once
// The provider of the resources compiled into a module (the program itself, or a
// resource-only library such as "skein-sys-resource.dll").
#include "core/SObjRef.h"
#include "interface/SResProvider-i.h"

namespace SKEIN {

class SResProviderPE : public TObjRefImpl<IResProvider> {
public:
    SResProviderPE();

    // argument: the module handle (HINSTANCE).
    BOOL Init(const void* argument) override;
    BOOL Contains(const wchar_t* type, const wchar_t* name) override;
    HICON LoadIconRes(const wchar_t* name, int cx, int cy) override;
    HBITMAP LoadBitmapRes(const wchar_t* name) override;
    // An animated cursor (type 21) is built from its data, any other through the system.
    HCURSOR LoadCursorRes(const wchar_t* name) override;
    IBitmap* LoadImageRes(const wchar_t* type, const wchar_t* name) override;
    IImgX* LoadImageX(const wchar_t* type, const wchar_t* name) override;
    size_t RawSize(const wchar_t* type, const wchar_t* name) override;
    BOOL ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size) override;

private:
    // BITMAP, ICON, CURSOR (retried as animated cursor) and HTML map to the system's types
    // (any case); other types are named resource types.
    HRSRC FindRes(const wchar_t* type, const wchar_t* name) const;
    // The resource's bytes and size; null when it is missing or empty.
    const void* LockedData(HRSRC resource, DWORD& size) const;

    HINSTANCE m_module;
};

} // namespace SKEIN
