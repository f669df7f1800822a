#pragma once
// The provider of a folder of loose files listed by its index file "uires.idx":
//   <resource><LAYOUT><file name="main" path="layout\main.xml"/></LAYOUT>...</resource>
// Types and names are found without regard to case; a later entry of one (type, name) wins.
#include "core/SHashMap.h"
#include "core/SObjRef.h"
#include "core/SString.h"
#include "interface/SResProvider-i.h"
#include "res.mgr/SResourceKey.h"

namespace SKEIN {

class SResProviderFiles : public TObjRefImpl<IResProvider> {
public:
    SResProviderFiles();

    // argument: the folder path (const wchar_t*). TRUE when its index parsed with the root
    // "resource"; otherwise the provider stays empty.
    BOOL Init(const void* argument) override;
    BOOL Contains(const wchar_t* type, const wchar_t* name) override;
    HICON LoadIconRes(const wchar_t* name, int cx, int cy) override;
    HBITMAP LoadBitmapRes(const wchar_t* name) override;
    HCURSOR LoadCursorRes(const wchar_t* name) override;
    IBitmap* LoadImageRes(const wchar_t* type, const wchar_t* name) override;
    IImgX* LoadImageX(const wchar_t* type, const wchar_t* name) override;
    size_t RawSize(const wchar_t* type, const wchar_t* name) override;
    BOOL ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size) override;

private:
    bool LoadIndex(const SStringW& indexPath);
    // Folder + "\" + the indexed relative path; empty when (type, name) is not indexed.
    SStringW FullPath(const wchar_t* type, const wchar_t* name) const;

    SStringW m_folder;
    SHashMap<SResourceKey, SStringW> m_files;
};

} // namespace SKEIN
