#include "res.mgr/SUiDefInfo.h"
#include <new>
#include "helper/SLog.h"
#include "helper/SXmlLookup.h"
#include "res.mgr/SResName.h"
#include "res.mgr/SSkinPool.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SXmlResource.h"

namespace SKEIN {

namespace {

void LogInitWarning(const char* text)
{
    SKEIN_LOG(3, "SKEIN::SUiDefInfo::Init").Line().AppendText(text);
}

// The root's section element, or, when it names another resource with src="type:name", that
// resource's top element of the same name, read from the same provider into holder. A missing
// or unreadable resource gives an empty section; text that does not parse leaves the element.
pugi::xml_node LoadUiDefSection(const pugi::xml_node& root, const wchar_t* name, IResProvider* provider,
                                pugi::xml_document& holder)
{
    pugi::xml_node element = XmlChildNoCase(root, name);
    pugi::xml_attribute src = XmlAttributeNoCase(element, L"src");
    SDynArray<SStringW> parts;
    if (!src || !*src.value() || SplitResourceName(src.value(), parts) != 2)
        return element;
    switch (LoadXmlResource(provider, parts[0], parts[1], holder)) {
    case kXmlResourceLoaded:
        return XmlChildNoCase(holder, name);
    case kXmlResourceMalformed:
        return element;
    default:
        return pugi::xml_node();
    }
}

// A new pool loaded from the section; null for a missing section.
template <class Pool>
SRefPtr<Pool> LoadPool(const pugi::xml_node& section)
{
    SRefPtr<Pool> pool(section ? new (std::nothrow) Pool : nullptr, false);
    if (pool)
        pool->LoadFromXml(section);
    return pool;
}

} // namespace

SUiDefInfo::SUiDefInfo()
    : m_skinPool(nullptr), m_stylePool(nullptr), m_objDefAttr(nullptr), m_templatePool(nullptr)
{
}

SUiDefInfo::~SUiDefInfo()
{
    SetSkinPool(nullptr);
    SetStylePool(nullptr);
    SetObjDefAttr(nullptr);
    SetTemplatePool(nullptr);
}

void SUiDefInfo::SetSkinPool(SSkinPool* pool)
{
    AssignObjRef(m_skinPool, pool);
}

void SUiDefInfo::SetStylePool(SStylePool* pool)
{
    AssignObjRef(m_stylePool, pool);
}

void SUiDefInfo::SetTemplatePool(STemplatePool* pool)
{
    AssignObjRef(m_templatePool, pool);
}

void SUiDefInfo::SetObjDefAttr(SObjDefAttr* attributes)
{
    AssignObjRef(m_objDefAttr, attributes);
}

BOOL SUiDefInfo::Init(IResProvider* provider, const wchar_t* id)
{
    SDynArray<SStringW> parts;
    if (SplitResourceName(id, parts) != 2) {
        LogInitWarning("warning!!!! Add ResProvider Error.");
        return FALSE;
    }
    pugi::xml_document document;
    SXmlResourceResult loaded = LoadXmlResource(provider, parts[0], parts[1], document);
    if (loaded == kXmlResourceMissing) {
        LogInitWarning("warning!!!! uidef was not found in the specified resprovider");
        return FALSE;
    }
    if (loaded != kXmlResourceLoaded) {
        LogInitWarning("warning!!! load uidef as xml document failed");
        return FALSE;
    }
    pugi::xml_node root = XmlChildNoCase(document, L"uidef");
    if (!root) {
        LogInitWarning("warning!!! \"uidef\" element is not the root element of uidef xml");
        return FALSE;
    }
    m_defaultFont.Load(XmlChildNoCase(root, L"font"));
    pugi::xml_node unit = XmlChildNoCase(root, L"unit");
    if (unit) {
        pugi::xml_attribute defUnit = XmlAttributeNoCase(unit, L"defUnit");
        SLayoutSize::SetDefaultUnit(defUnit ? defUnit.value() : L"dp");
    }
    LoadSections(root, provider);
    return TRUE;
}

void SUiDefInfo::LoadSections(const pugi::xml_node& root, IResProvider* provider)
{
    pugi::xml_document holder;
    m_strings.InitFromXml(LoadUiDefSection(root, L"string", provider, holder));
    m_colors.InitFromXml(LoadUiDefSection(root, L"color", provider, holder));
    m_dimensions.InitFromXml(LoadUiDefSection(root, L"dim", provider, holder));
    // Each section is taken before the holder is reused for the next one.
    SetSkinPool(LoadPool<SSkinPool>(LoadUiDefSection(root, L"skin", provider, holder)));
    SetStylePool(LoadPool<SStylePool>(LoadUiDefSection(root, L"style", provider, holder)));
    SetTemplatePool(LoadPool<STemplatePool>(LoadUiDefSection(root, L"template", provider, holder)));
    pugi::xml_node objattr = LoadUiDefSection(root, L"objattr", provider, holder);
    if (!objattr)
        return;
    SRefPtr<SObjDefAttr> attributes(new (std::nothrow) SObjDefAttr, false);
    if (attributes && attributes->Init(objattr))
        SetObjDefAttr(attributes);
}

} // namespace SKEIN
