#include "res.mgr/SResProviderPE.h"
#include <string.h>
#include "res.mgr/SResLoaders.h"

namespace SKEIN {

namespace {

struct PeType {
    const wchar_t* name;
    LPCWSTR type;
};

// ICON and CURSOR are looked up as the groups that name them.
const PeType kPeTypes[] = {
    {L"BITMAP", RT_BITMAP},
    {L"ICON", RT_GROUP_ICON},
    {L"CURSOR", RT_GROUP_CURSOR},
    {L"HTML", RT_HTML},
};

} // namespace

SResProviderPE::SResProviderPE() : m_module(nullptr) {}

BOOL SResProviderPE::Init(const void* argument)
{
    m_module = static_cast<HINSTANCE>(const_cast<void*>(argument));
    return TRUE;
}

HRSRC SResProviderPE::FindRes(const wchar_t* type, const wchar_t* name) const
{
    if (!type || !name)
        return nullptr;
    LPCWSTR peType = type;
    for (const PeType& entry : kPeTypes) {
        if (!IS_INTRESOURCE(type) && _wcsicmp(entry.name, type) == 0)
            peType = entry.type;
    }
    HRSRC resource = FindResourceW(m_module, name, peType);
    if (!resource && peType == RT_GROUP_CURSOR)
        resource = FindResourceW(m_module, name, RT_ANICURSOR);
    return resource;
}

const void* SResProviderPE::LockedData(HRSRC resource, DWORD& size) const
{
    size = resource ? SizeofResource(m_module, resource) : 0;
    if (size == 0)
        return nullptr;
    HGLOBAL loaded = LoadResource(m_module, resource);
    return loaded ? LockResource(loaded) : nullptr;
}

BOOL SResProviderPE::Contains(const wchar_t* type, const wchar_t* name)
{
    return FindRes(type, name) != nullptr;
}

HICON SResProviderPE::LoadIconRes(const wchar_t* name, int cx, int cy)
{
    return static_cast<HICON>(LoadImageW(m_module, name, IMAGE_ICON, cx, cy, LR_DEFAULTCOLOR));
}

HBITMAP SResProviderPE::LoadBitmapRes(const wchar_t* name)
{
    return LoadBitmapW(m_module, name);
}

HCURSOR SResProviderPE::LoadCursorRes(const wchar_t* name)
{
    DWORD size = 0;
    const void* data = LockedData(FindResourceW(m_module, name, RT_ANICURSOR), size);
    if (data)
        return CreateIconFromResource(static_cast<BYTE*>(const_cast<void*>(data)), size, FALSE, 0x30000);
    return LoadCursorW(m_module, name);
}

IBitmap* SResProviderPE::LoadImageRes(const wchar_t* type, const wchar_t* name)
{
    DWORD size = 0;
    const void* data = LockedData(FindRes(type, name), size);
    return data ? LoadBitmapFromMemory(data, size) : nullptr;
}

IImgX* SResProviderPE::LoadImageX(const wchar_t* type, const wchar_t* name)
{
    DWORD size = 0;
    const void* data = LockedData(FindRes(type, name), size);
    return data ? LoadImageXFromMemory(data, size) : nullptr;
}

size_t SResProviderPE::RawSize(const wchar_t* type, const wchar_t* name)
{
    HRSRC resource = FindRes(type, name);
    return resource ? SizeofResource(m_module, resource) : 0;
}

BOOL SResProviderPE::ReadRawData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size)
{
    HRSRC resource = FindRes(type, name);
    DWORD length = resource ? SizeofResource(m_module, resource) : 0;
    if (length == 0)
        return FALSE;
    if (size < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    const void* data = LockedData(resource, length);
    if (!data)
        return FALSE;
    memcpy(buffer, data, length);
    return TRUE;
}

} // namespace SKEIN
