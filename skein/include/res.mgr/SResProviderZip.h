#pragma once
// The provider of a (password-protected) zip archive: the index "uires.idx" inside the archive
// maps (type, name) to member paths, as for a folder; members are read through the archive
// reader, images made through the render factory given to Init, icons and cursors made from the
// member bytes without the system's file loader. A member larger than kMaxResourceBytes
// (SResLoaders.h) is refused with a log line; a size query answers the size a read of the
// member delivered, and keeps those bytes for the read that follows it.
#include <memory>
#include "core/SHashMap.h"
#include "core/SObjRef.h"
#include "core/SString.h"
#include "interface/SRender-i.h"
#include "interface/SResProvider-i.h"
#include "res.mgr/SResourceKey.h"

namespace SKEIN {

class SZipArchive;
class SZipBuffer;

// The argument of SResProviderZip::Init.
struct SZipInitParam {
    enum { kFile = 0, kResource = 1, kMemory = 2 };

    int kind;
    IRenderFactory* renderFactory; // the provider keeps a reference
    union {
        const wchar_t* path; // kFile
        HMODULE module;      // kResource
        const void* bytes;   // kMemory
    };
    union {
        const wchar_t* resName; // kResource
        size_t byteCount;       // kMemory
    };
    const wchar_t* resType; // kResource
    const char* password;   // null or 8-bit text of at most 62 bytes
    const wchar_t* childFolder; // folder inside the archive holding the index and members, or null
};

class SResProviderZip : public TObjRefImpl<IResProvider> {
public:
    SResProviderZip();
    ~SResProviderZip() override;

    // argument: an SZipInitParam. TRUE when the archive opened and its index has the root
    // "resource".
    BOOL Init(const void* argument) override;
    BOOL Contains(const wchar_t* type, const wchar_t* name) override;
    HICON LoadIconRes(const wchar_t* name, int cx, int cy) override;
    HBITMAP LoadBitmapRes(const wchar_t* name) override;
    HCURSOR LoadCursorRes(const wchar_t* name) override;
    IBitmap* LoadImageRes(const wchar_t* type, const wchar_t* name) override;
    IImgX* LoadImageX(const wchar_t* type, const wchar_t* name) override;
    // The size of the member's bytes, read (and kept) now; 0 when they can't be read.
    size_t RawSize(const wchar_t* type, const wchar_t* name) override;
    BOOL ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size) override;

private:
    bool Open(const SZipInitParam& param);
    void SetChildFolder(const wchar_t* folder);
    bool LoadZipIndex();
    // The indexed member path of (type, name); null when not indexed.
    const SStringW* MemberPath(const wchar_t* type, const wchar_t* name) const;
    // The archive entry of a member path, or of (type, name); -1 when absent or above the
    // resource size limit.
    int MemberEntry(const SStringW& path) const;
    int MemberEntry(const wchar_t* type, const wchar_t* name) const;
    bool ReadMember(const wchar_t* type, const wchar_t* name, SZipBuffer& out);
    // The member of (type, name) read into m_sized; false when it can't be read.
    bool ReadSized(const wchar_t* type, const wchar_t* name);
    void ForgetSized();

    SHashMap<SResourceKey, SStringW> m_files;
    SRefPtr<IRenderFactory> m_renderFactory;
    std::unique_ptr<SZipArchive> m_zip;
    SStringW m_childFolder;
    // The member whose size was asked last (entry index, -1: none) and its bytes.
    int m_sizedEntry;
    std::unique_ptr<SZipBuffer> m_sized;
};

// An icon (isCursor false) or cursor from the bytes of an .ico or .cur file, or an animated
// cursor ("RIFF"); the entry nearest cx by cy (and the screen's colour depth) is taken.
// LR_DEFAULTSIZE in flags turns a zero size into the system icon or cursor size; LR_MONOCHROME
// prefers 1-bit entries. Null when the bytes are malformed or truncated.
HICON CreateIconFromBytes(const BYTE* bytes, size_t size, int cx, int cy, bool isCursor, UINT flags);

// A device-dependent bitmap from the bytes of a .bmp file ("BM"); null unless the file header,
// the bitmap header, the palette and the pixel rows all lie inside the bytes.
HBITMAP CreateBitmapFromBytes(const BYTE* bytes, size_t size);

} // namespace SKEIN
