#include "res.mgr/SResProviderZip.h"
#include <pugixml.hpp>
#include <string.h>
#include "helper/SXmlLookup.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SZipArchive.h"

namespace SKEIN {

namespace {

const wchar_t kIndexName[] = L"uires.idx";

} // namespace

SResProviderZip::SResProviderZip()
    : m_files(17, 0.75f, 0.25f, 2.25f, 10), m_zip(new SZipArchive), m_sizedEntry(-1), m_sized(new SZipBuffer)
{
}

SResProviderZip::~SResProviderZip() {}

BOOL SResProviderZip::Init(const void* argument)
{
    m_files.RemoveAll();
    ForgetSized();
    const SZipInitParam* param = static_cast<const SZipInitParam*>(argument);
    if (!param)
        return FALSE;
    m_renderFactory = param->renderFactory;
    SetChildFolder(param->childFolder);
    if (!Open(*param))
        return FALSE;
    m_zip->SetPassword(param->password);
    return LoadZipIndex();
}

bool SResProviderZip::Open(const SZipInitParam& param)
{
    switch (param.kind) {
    case SZipInitParam::kFile:
        return m_zip->OpenFile(param.path) != FALSE;
    case SZipInitParam::kResource:
        return m_zip->OpenResource(param.module, param.resName, param.resType) != FALSE;
    case SZipInitParam::kMemory:
        return m_zip->OpenMemory(param.bytes, param.byteCount) != FALSE;
    default:
        m_zip->Close();
        return false;
    }
}

// Trailing "\" characters, then trailing "/" characters, are dropped and one "\" is appended.
void SResProviderZip::SetChildFolder(const wchar_t* folder)
{
    m_childFolder = folder ? folder : L"";
    if (m_childFolder.IsEmptyText())
        return;
    int length = m_childFolder.Length();
    while (length > 0 && m_childFolder[length - 1] == L'\\')
        --length;
    while (length > 0 && m_childFolder[length - 1] == L'/')
        --length;
    m_childFolder = SStringW(m_childFolder.c_str(), length);
    m_childFolder += L"\\";
}

// Every child element of every type element is an entry (whatever its name).
bool SResProviderZip::LoadZipIndex()
{
    SStringW indexPath = m_childFolder;
    indexPath += kIndexName;
    SZipBuffer index;
    int entry = MemberEntry(indexPath);
    if (entry < 0 || !m_zip->ReadEntry(entry, index))
        return false;
    pugi::xml_document document;
    if (!document.load_buffer(index.Data(), index.Size(), pugi::parse_default, pugi::encoding_utf8))
        return false;
    pugi::xml_node root = XmlChildNoCase(document, L"resource");
    if (!root)
        return false;
    for (pugi::xml_node type : root.children()) {
        if (type.type() != pugi::node_element)
            continue;
        for (pugi::xml_node file : type.children()) {
            SResourceKey key;
            if (file.type() != pugi::node_element || !key.Assign(type.name(), XmlAttributeNoCase(file, L"name").value()))
                continue;
            SStringW path = m_childFolder;
            path += XmlAttributeNoCase(file, L"path").value();
            m_files.SetAt(key, path);
        }
    }
    return true;
}

const SStringW* SResProviderZip::MemberPath(const wchar_t* type, const wchar_t* name) const
{
    SResourceKey key;
    auto* node = key.Assign(type, name) ? m_files.Lookup(key) : nullptr;
    return node ? &node->value : nullptr;
}

int SResProviderZip::MemberEntry(const SStringW& path) const
{
    SZipArchive::EntryInfo info;
    int entry = m_zip->FindEntry(path, &info);
    if (entry < 0)
        return -1;
    UINT64 stored = info.compressedSize > info.size ? info.compressedSize : info.size;
    return WithinResourceLimit(path, stored) ? entry : -1;
}

int SResProviderZip::MemberEntry(const wchar_t* type, const wchar_t* name) const
{
    const SStringW* path = MemberPath(type, name);
    return path ? MemberEntry(*path) : -1;
}

bool SResProviderZip::ReadMember(const wchar_t* type, const wchar_t* name, SZipBuffer& out)
{
    int entry = MemberEntry(type, name);
    return entry >= 0 && m_zip->ReadEntry(entry, out);
}

bool SResProviderZip::ReadSized(const wchar_t* type, const wchar_t* name)
{
    int entry = MemberEntry(type, name);
    if (entry >= 0 && entry == m_sizedEntry)
        return true;
    ForgetSized();
    if (entry < 0 || !m_zip->ReadEntry(entry, *m_sized))
        return false;
    m_sizedEntry = entry;
    return true;
}

void SResProviderZip::ForgetSized()
{
    m_sizedEntry = -1;
    m_sized->Free();
}

BOOL SResProviderZip::Contains(const wchar_t* type, const wchar_t* name)
{
    return MemberPath(type, name) != nullptr;
}

HICON SResProviderZip::LoadIconRes(const wchar_t* name, int cx, int cy)
{
    SZipBuffer bytes;
    if (!ReadMember(L"ICON", name, bytes))
        return nullptr;
    return CreateIconFromBytes(bytes.Data(), bytes.Size(), cx, cy, false, LR_DEFAULTSIZE);
}

HBITMAP SResProviderZip::LoadBitmapRes(const wchar_t* name)
{
    SZipBuffer bytes;
    if (!ReadMember(L"BITMAP", name, bytes))
        return nullptr;
    return CreateBitmapFromBytes(bytes.Data(), bytes.Size());
}

HCURSOR SResProviderZip::LoadCursorRes(const wchar_t* name)
{
    SZipBuffer bytes;
    if (!ReadMember(L"CURSOR", name, bytes))
        return nullptr;
    return CreateIconFromBytes(bytes.Data(), bytes.Size(), 0, 0, true, LR_DEFAULTSIZE);
}

IBitmap* SResProviderZip::LoadImageRes(const wchar_t* type, const wchar_t* name)
{
    SZipBuffer bytes;
    if (!m_renderFactory || !ReadMember(type, name, bytes))
        return nullptr;
    return LoadBitmapFromMemory(m_renderFactory, bytes.Data(), bytes.Size());
}

IImgX* SResProviderZip::LoadImageX(const wchar_t* type, const wchar_t* name)
{
    SZipBuffer bytes;
    if (!m_renderFactory || !ReadMember(type, name, bytes))
        return nullptr;
    return LoadImageXFromMemory(m_renderFactory, bytes.Data(), bytes.Size());
}

size_t SResProviderZip::RawSize(const wchar_t* type, const wchar_t* name)
{
    return ReadSized(type, name) ? m_sized->Size() : 0;
}

// The bytes the size query read are handed over and let go; without one, the member is read now.
BOOL SResProviderZip::ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size)
{
    if (!ReadSized(type, name))
        return FALSE;
    if (!buffer || size < m_sized->Size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    memcpy(buffer, m_sized->Data(), m_sized->Size());
    ForgetSized();
    return TRUE;
}

} // namespace SKEIN
