#include "res.mgr/SSkinPool.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinEnv.h"

namespace SKEIN {

const int kBuiltinScales[6] = {100, 125, 150, 200, 250, 300};

int NormalizeSkinScale(int scale)
{
    int normalized = kBuiltinScales[0];
    for (int builtin : kBuiltinScales) {
        if (builtin <= scale)
            normalized = builtin;
    }
    return normalized;
}

namespace {

// A new skin of the class, with reference count 1; null for an unknown class.
ISkinObj* CreateSkin(const wchar_t* className)
{
    IObject* obj = GetSkinEnv()->CreateObject(SObjectInfo(className, kKindSkin));
    ISkinObj* skin = dynamic_cast<ISkinObj*>(obj);
    if (!skin)
        delete obj;
    return skin;
}

} // namespace

SSkinPool::SSkinPool() : m_skins(&SSkinPool::ReleaseSkin) {}

void SSkinPool::ReleaseSkin(ISkinObj* skin)
{
    skin->Release();
}

int SSkinPool::LoadFromXml(pugi::xml_node element)
{
    if (!element || !element.first_child())
        return 0;
    SSkinPoolMgr* mgr = SSkinPoolMgr::Instance();
    if (mgr)
        mgr->PushPool(this);
    int count = 0;
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        if (child.type() != pugi::node_element)
            continue;
        SStringW name(XmlAttributeNoCase(child, L"name").value());
        if (name.IsEmptyText() || !*child.name())
            continue;
        ISkinObj* skin = CreateSkin(child.name());
        if (!skin)
            continue;
        skin->ApplyXmlAttributes(child);
        ++count;
        AddSkin(SkinKey(name, skin->GetScale()), skin);
        skin->Release();
    }
    if (mgr)
        mgr->PopPool(this);
    return count;
}

ISkinObj* SSkinPool::Lookup(const SStringW& name, int scale) const
{
    ISkinObj** skin = m_skins.Find(SkinKey(name, scale));
    return skin ? *skin : nullptr;
}

ISkinObj* SSkinPool::FindSkin(const SStringW& name, int scale)
{
    if (ISkinObj* exact = Lookup(name, scale))
        return exact;
    int normalized = NormalizeSkinScale(scale);
    if (ISkinObj* nearest = Lookup(name, normalized))
        return nearest;
    ISkinObj* source = nullptr;
    for (int builtin : kBuiltinScales) {
        source = Lookup(name, builtin);
        if (source)
            break;
    }
    if (!source)
        return nullptr;
    ISkinObj* copy = source->CreateScaledCopy(normalized);
    if (!copy)
        return source;
    AddSkin(SkinKey(name, normalized), copy);
    copy->Release();
    return copy;
}

bool SSkinPool::AddSkin(const SkinKey& key, ISkinObj* skin)
{
    if (!skin || m_skins.Find(key))
        return false;
    skin->AddRef();
    if (m_skins.Set(key, skin))
        return true;
    skin->Release();
    return false;
}

} // namespace SKEIN
