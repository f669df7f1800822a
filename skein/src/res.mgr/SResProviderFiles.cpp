#include "res.mgr/SResProviderFiles.h"
#include <pugixml.hpp>
#include "helper/SXmlLookup.h"
#include "res.mgr/SResFile.h"
#include "res.mgr/SResLoaders.h"

namespace SKEIN {

namespace {

SStringW FullPathOf(const wchar_t* path)
{
    SStringW full;
    DWORD needed = GetFullPathNameW(path, 0, nullptr, nullptr);
    wchar_t* buffer = needed > 0 && needed < INT_MAX ? full.WritableBuffer(static_cast<int>(needed)) : nullptr;
    if (!buffer)
        return SStringW();
    DWORD written = GetFullPathNameW(path, needed, buffer, nullptr);
    full.CommitBuffer(written > 0 && written < needed ? static_cast<int>(written) : 0);
    return full;
}

} // namespace

SResProviderFiles::SResProviderFiles() : m_files(17, 0.75f, 0.25f, 2.25f, 10) {}

BOOL SResProviderFiles::Init(const void* argument)
{
    m_files.RemoveAll();
    m_folder.Empty();
    const wchar_t* folder = static_cast<const wchar_t*>(argument);
    SStringW full = folder && *folder ? FullPathOf(folder) : SStringW();
    if (full.IsEmptyText())
        return FALSE;
    SStringW indexPath = full;
    indexPath += L"\\uires.idx";
    if (!LoadIndex(indexPath)) {
        m_files.RemoveAll();
        return FALSE;
    }
    m_folder = full;
    return TRUE;
}

bool SResProviderFiles::LoadIndex(const SStringW& indexPath)
{
    pugi::xml_document document;
    if (!document.load_file(indexPath.c_str(), pugi::parse_default, pugi::encoding_utf8))
        return false;
    pugi::xml_node root = XmlChildNoCase(document, L"resource");
    if (!root)
        return false;
    for (pugi::xml_node type : root.children()) {
        if (type.type() != pugi::node_element)
            continue;
        for (pugi::xml_node file : type.children()) {
            SResourceKey key;
            if (XmlElementIs(file, L"file") && key.Assign(type.name(), XmlAttributeNoCase(file, L"name").value()))
                m_files.SetAt(key, SStringW(XmlAttributeNoCase(file, L"path").value()));
        }
    }
    return true;
}

SStringW SResProviderFiles::FullPath(const wchar_t* type, const wchar_t* name) const
{
    SResourceKey key;
    auto* node = key.Assign(type, name) ? m_files.Lookup(key) : nullptr;
    if (!node)
        return SStringW();
    SStringW path = m_folder;
    path += L"\\";
    path += node->value;
    return path;
}

BOOL SResProviderFiles::Contains(const wchar_t* type, const wchar_t* name)
{
    SResourceKey key;
    return key.Assign(type, name) && m_files.Lookup(key);
}

HICON SResProviderFiles::LoadIconRes(const wchar_t* name, int cx, int cy)
{
    SStringW path = FullPath(L"ICON", name);
    if (path.IsEmptyText())
        return nullptr;
    return static_cast<HICON>(LoadImageW(nullptr, path, IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
}

HBITMAP SResProviderFiles::LoadBitmapRes(const wchar_t* name)
{
    SStringW path = FullPath(L"BITMAP", name);
    if (path.IsEmptyText())
        return nullptr;
    return static_cast<HBITMAP>(LoadImageW(nullptr, path, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE));
}

HCURSOR SResProviderFiles::LoadCursorRes(const wchar_t* name)
{
    SStringW path = FullPath(L"CURSOR", name);
    if (path.IsEmptyText())
        return nullptr;
    return static_cast<HCURSOR>(LoadImageW(nullptr, path, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
}

IBitmap* SResProviderFiles::LoadImageRes(const wchar_t* type, const wchar_t* name)
{
    SStringW path = FullPath(type, name);
    return path.IsEmptyText() ? nullptr : LoadBitmapFromFile(path);
}

IImgX* SResProviderFiles::LoadImageX(const wchar_t* type, const wchar_t* name)
{
    SStringW path = FullPath(type, name);
    return path.IsEmptyText() ? nullptr : LoadImageXFromFile(path);
}

size_t SResProviderFiles::RawSize(const wchar_t* type, const wchar_t* name)
{
    SStringW path = FullPath(type, name);
    return path.IsEmptyText() ? 0 : DiskFileSize(path);
}

BOOL SResProviderFiles::ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size)
{
    SStringW path = FullPath(type, name);
    return path.IsEmptyText() ? FALSE : ReadDiskFile(path, buffer, size);
}

} // namespace SKEIN
