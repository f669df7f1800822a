#include "res.mgr/SResProviderMgr.h"
#include "interface/SRender-i.h"
#include "res.mgr/SResFile.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SResName.h"

namespace SKEIN {

namespace {

struct SystemCursor {
    const wchar_t* name;
    WORD id;
};

const SystemCursor kSystemCursors[] = {
    {L"arrow", 32512},    {L"ibeam", 32513},    {L"wait", 32514},   {L"cross", 32515},  {L"uparrow", 32516},
    {L"size", 32640},     {L"sizenwse", 32642}, {L"sizenesw", 32643}, {L"sizewe", 32644}, {L"sizens", 32645},
    {L"sizeall", 32646},  {L"no", 32648},       {L"hand", 32649},   {L"help", 32651},
};

// The IDC value of a system cursor name (any case), 0 when it is none.
WORD SystemCursorId(const wchar_t* name)
{
    for (const SystemCursor& cursor : kSystemCursors) {
        if (_wcsicmp(cursor.name, name) == 0)
            return cursor.id;
    }
    return 0;
}

} // namespace

SResProviderMgr::SResProviderMgr() : m_providers(10), m_cursors(17, 0.75f, 0.25f, 2.25f, 10) {}

SResProviderMgr::~SResProviderMgr()
{
    RemoveAllProviders();
}

bool SResProviderMgr::IsFileType(const wchar_t* type)
{
    return type && _wcsicmp(type, L"file") == 0;
}

IResProvider* SResProviderMgr::FindLocked(const wchar_t* type, const wchar_t* name) const
{
    if (!type)
        return nullptr;
    for (auto* node = m_providers.Last(); node; node = node->prev) {
        if (node->value->Contains(type, name))
            return node->value;
    }
    return nullptr;
}

SRefPtr<IResProvider> SResProviderMgr::FindResProvider(const wchar_t* type, const wchar_t* name)
{
    SAutoLock guard(m_lock);
    return SRefPtr<IResProvider>(FindLocked(type, name));
}

size_t SResProviderMgr::GetResDataSize(const wchar_t* type, const wchar_t* name)
{
    SAutoLock guard(m_lock);
    if (IsFileType(type))
        return DiskFileSize(name);
    IResProvider* provider = FindLocked(type, name);
    return provider ? provider->RawSize(type, name) : 0;
}

BOOL SResProviderMgr::ReadResData(const wchar_t* type, const wchar_t* name, void* buffer, size_t size)
{
    SAutoLock guard(m_lock);
    if (IsFileType(type))
        return ReadDiskFile(name, buffer, size);
    IResProvider* provider = FindLocked(type, name);
    return provider ? provider->ReadRawData(type, name, buffer, size) : FALSE;
}

HICON SResProviderMgr::LoadIconRes(const wchar_t* name, int cx, int cy, BOOL fromFile)
{
    SAutoLock guard(m_lock);
    if (fromFile)
        return static_cast<HICON>(LoadImageW(nullptr, name, IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
    IResProvider* provider = FindLocked(L"ICON", name);
    return provider ? provider->LoadIconRes(name, cx, cy) : nullptr;
}

HICON SResProviderMgr::LoadIconFromId(const wchar_t* id)
{
    SDynArray<SStringW> pieces;
    int size = SplitResourceName(id, pieces) == 2 ? _wtol(pieces[1]) : 0;
    return LoadIconRes(pieces[0], size, size, FALSE);
}

IBitmap* SResProviderMgr::LoadImageFromId(const wchar_t* id)
{
    SDynArray<SStringW> pieces;
    if (SplitResourceName(id, pieces) != 2)
        return nullptr;
    SAutoLock guard(m_lock);
    if (IsFileType(pieces[0]))
        return LoadBitmapFromFile(pieces[1]);
    IResProvider* provider = FindLocked(pieces[0], pieces[1]);
    return provider ? provider->LoadImageRes(pieces[0], pieces[1]) : nullptr;
}

HCURSOR SResProviderMgr::LoadCursorRes(const wchar_t* name, BOOL fromFile)
{
    if (IS_INTRESOURCE(name))
        return LoadCursorW(nullptr, name);
    if (WORD id = SystemCursorId(name))
        return LoadCursorW(nullptr, MAKEINTRESOURCEW(id));

    SAutoLock guard(m_lock);
    SStringW key(name);
    if (auto* node = m_cursors.Lookup(key))
        return node->value;
    HCURSOR cursor = nullptr;
    if (fromFile) {
        cursor = static_cast<HCURSOR>(LoadImageW(nullptr, name, IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    } else if (IResProvider* provider = FindLocked(L"CURSOR", name)) {
        cursor = provider->LoadCursorRes(name);
    }
    if (cursor)
        m_cursors.SetAt(key, cursor);
    return cursor;
}

void SResProviderMgr::AddProvider(IResProvider* provider, const wchar_t* uidefId)
{
    if (!provider)
        return;
    SAutoLock guard(m_lock);
    if (!m_providers.AddTail(provider))
        return;
    provider->AddRef();
    if (uidefId)
        LoadUiDefFromProvider(provider, uidefId);
}

void SResProviderMgr::RemoveProvider(IResProvider* provider)
{
    SAutoLock guard(m_lock);
    for (auto* node = m_providers.Last(); node; node = node->prev) {
        if (node->value == provider) {
            m_providers.RemoveNode(node);
            provider->Release();
            return;
        }
    }
}

void SResProviderMgr::RemoveAllProviders()
{
    SAutoLock guard(m_lock);
    while (auto* node = m_providers.First()) {
        IResProvider* provider = node->value;
        m_providers.RemoveNode(node);
        provider->Release();
    }
    for (auto* node = m_cursors.FirstNode(); node; node = m_cursors.NextNode(node))
        DestroyCursor(node->value);
    m_cursors.RemoveAll();
}

} // namespace SKEIN
