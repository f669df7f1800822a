#include "res.mgr/SStylePool.h"
#include "helper/SXmlLookup.h"

namespace SKEIN {

BOOL SStylePool::LoadFromXml(const pugi::xml_node& element)
{
    if (!element)
        return FALSE;
    pugi::xml_node copy = m_doc.append_copy(element);
    for (pugi::xml_node style = copy.first_child(); style; style = style.next_sibling()) {
        if (style.type() == pugi::node_element)
            AddStyle(style);
    }
    return TRUE;
}

void SStylePool::AddStyle(pugi::xml_node style)
{
    SStringW key(style.name());
    if (key.CompareIgnoringCase(L"class") == 0) {
        pugi::xml_attribute name = XmlAttributeNoCase(style, L"name");
        key = name.value();
        if (key.IsEmptyText())
            return;
        style.remove_attribute(name);
    }
    if (!m_styles.Find(key))
        m_styles.Set(key, style);
}

pugi::xml_node SStylePool::FindStyle(const wchar_t* name) const
{
    pugi::xml_node* style = m_styles.Find(SStringW(name));
    return style ? *style : pugi::xml_node();
}

pugi::xml_node SStylePoolMgr::FindStyle(const wchar_t* name) const
{
    pugi::xml_node style;
    m_pools.FindFromTop([&](const SStylePool& pool) {
        style = pool.FindStyle(name);
        return !style.empty();
    });
    return style;
}

} // namespace SKEIN
