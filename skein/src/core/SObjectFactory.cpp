#include "core/SObjectFactory.h"
#include "core/SXmlCreation.h"
#include "helper/SLog.h"

namespace SKEIN {

SObjectInfo::SObjectInfo(const wchar_t* name, int kind) : m_name(name), m_kind(kind)
{
    int length = m_name.Length();
    if (length == 0)
        return;
    wchar_t* chars = m_name.WritableBuffer(length);
    if (!chars)
        return;
    for (int i = 0; i < length; ++i) {
        if (chars[i] >= L'A' && chars[i] <= L'Z')
            chars[i] = static_cast<wchar_t>(chars[i] + (L'a' - L'A'));
    }
    m_name.CommitBuffer(length);
}

SObjectFactoryMgr::SObjectFactoryMgr() : SCmnMap<SObjectFactory*, SObjectInfo>(&SObjectFactoryMgr::DeleteFactory) {}

SObjectFactoryMgr::~SObjectFactoryMgr() {}

void SObjectFactoryMgr::DeleteFactory(SObjectFactory* factory)
{
    delete factory;
}

IObject* SObjectFactoryMgr::CreateObject(const SObjectInfo& key)
{
    SObjectFactory** factory = Find(key);
    if (!factory) {
        SKEIN_LOG(3, "SKEIN::SObjectFactoryMgr::CreateObject")
            .FormatW(L"Warning: no object %s of type:%d in SKEIN!!", key.Name().c_str(), key.Kind());
        return nullptr;
    }
    IObject* obj = (*factory)->NewObject();
    ApplyClassDefaults(obj);
    return obj;
}

BOOL SObjectFactoryMgr::AddFactory(const SObjectFactory& factory, BOOL replace)
{
    SObjectInfo key = factory.GetObjectInfo();
    if (Find(key)) {
        if (!replace)
            return FALSE;
        Remove(key);
    }
    SObjectFactory* clone = factory.Clone();
    if (!clone)
        return FALSE;
    if (!Set(key, clone)) {
        delete clone;
        return FALSE;
    }
    return TRUE;
}

BOOL SObjectFactoryMgr::RemoveFactory(const SObjectInfo& key)
{
    return Remove(key) ? TRUE : FALSE;
}

SObjectInfo SObjectFactoryMgr::BaseClassInfo(const SObjectInfo& key) const
{
    SObjectFactory** factory = Find(key);
    if (!factory)
        return SObjectInfo();
    // Compared lower-cased: a class that names itself as its base in other letters would
    // otherwise make a base-chain walk endless.
    SObjectInfo base((*factory)->BaseClassName(), key.Kind());
    if (base.Name().IsEmptyText() || base.Name() == key.Name())
        return SObjectInfo();
    return base;
}

void SObjectFactoryMgr::ApplyClassDefaults(IObject* obj)
{
    if (!obj || obj->ObjectKind() != kKindWindow)
        return;
    pugi::xml_node defaults = ClassDefaultElement(obj->XmlClassName());
    if (!defaults)
        return;
    SXmlCreation::CountAttributes(defaults);
    pugi::xml_attribute classAttribute;
    for (pugi::xml_attribute attribute : defaults.attributes()) {
        if (_wcsicmp(attribute.name(), L"class") == 0) {
            classAttribute = attribute;
            break;
        }
    }
    if (classAttribute) {
        obj->ApplyAttribute(SStringW(classAttribute.name()), SStringW(classAttribute.value()), TRUE);
        SXmlFlags::SetConsumed(classAttribute, true);
    }
    for (pugi::xml_attribute attribute : defaults.attributes()) {
        if (!SXmlFlags::IsConsumed(attribute))
            obj->ApplyAttribute(SStringW(attribute.name()), SStringW(attribute.value()), TRUE);
    }
    if (classAttribute)
        SXmlFlags::SetConsumed(classAttribute, false);
}

pugi::xml_node SObjectFactoryMgr::ClassDefaultElement(const wchar_t*)
{
    return pugi::xml_node();
}

} // namespace SKEIN
