#include "res.mgr/SUiDef.h"
#include <new>
#include "core/SApp.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SUiDefInfo.h"

namespace SKEIN {

namespace {

// The current definition's table, or an empty one.
template <class Table>
const Table& CurrentTable(const Table& (IUiDefInfo::*table)())
{
    static const Table empty;
    SUiDef* uiDef = SUiDef::Current();
    IUiDefInfo* info = uiDef ? uiDef->GetUiDefInfo() : nullptr;
    return info ? (info->*table)() : empty;
}

// Pushes the pool on the application's manager in that singleton slot; nothing without either.
template <class Manager, class Pool>
void PushPool(int index, Pool* pool)
{
    SApplication* app = SApplication::Instance();
    Manager* manager = app ? static_cast<Manager*>(app->OwnedSingleton(index)) : nullptr;
    if (manager && pool)
        manager->PushPool(pool);
}

} // namespace

SUiDef::SUiDef() : m_info(nullptr) {}

SUiDef::~SUiDef()
{
    SetUiDefInfo(nullptr);
}

SUiDef* SUiDef::Current()
{
    SApplication* app = SApplication::Instance();
    return app ? static_cast<SUiDef*>(app->OwnedSingleton(kSingletonUiDef)) : nullptr;
}

void SUiDef::SetUiDefInfo(IUiDefInfo* info)
{
    AssignObjRef(m_info, info);
}

IUiDefInfo* SUiDef::CreateUiDefInfo(IResProvider* provider, const wchar_t* id)
{
    SUiDefInfo* info = new (std::nothrow) SUiDefInfo;
    if (!info)
        return nullptr;
    SRefPtr<IUiDefInfo> previous(m_info);
    SetUiDefInfo(info);
    info->Init(provider, id);
    SetUiDefInfo(previous);
    return info;
}

IUiDefInfo* SUiDef::CreateAndPushUiDefInfo(IResProvider* provider, const wchar_t* id)
{
    IUiDefInfo* info = CreateUiDefInfo(provider, id);
    if (!info)
        return nullptr;
    PushPool<SSkinPoolMgr>(kSingletonSkinPoolMgr, info->GetSkinPool());
    PushPool<SStylePoolMgr>(kSingletonStylePoolMgr, info->GetStylePool());
    PushPool<STemplatePoolMgr>(kSingletonTemplatePoolMgr, info->GetTemplatePool());
    return info;
}

SStringW ResolveNamedString(const wchar_t* text)
{
    return CurrentTable(&IUiDefInfo::GetNamedString).Resolve(text);
}

UINT32 ResolveNamedColor(const wchar_t* text)
{
    return CurrentTable(&IUiDefInfo::GetNamedColor).Resolve(text);
}

SLayoutSize ResolveNamedDimension(const wchar_t* text)
{
    return CurrentTable(&IUiDefInfo::GetNamedDimension).Resolve(text);
}

} // namespace SKEIN
