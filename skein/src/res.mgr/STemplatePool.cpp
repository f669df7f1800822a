#include "res.mgr/STemplatePool.h"
#include "res.mgr/SXmlWriter.h"

namespace SKEIN {

BOOL STemplatePool::LoadFromXml(const pugi::xml_node& element)
{
    if (!element)
        return FALSE;
    for (pugi::xml_node tpl = element.first_child(); tpl; tpl = tpl.next_sibling()) {
        if (tpl.type() != pugi::node_element)
            continue;
        SStringW key(tpl.name());
        if (!m_templates.Find(key))
            m_templates.Set(key, PrintXmlNode(tpl.first_child(), L""));
    }
    return TRUE;
}

SStringW STemplatePool::FindTemplate(const wchar_t* name) const
{
    SStringW* text = m_templates.Find(SStringW(name));
    return text ? *text : SStringW();
}

SStringW STemplatePoolMgr::FindTemplate(const wchar_t* name) const
{
    SStringW text;
    m_pools.FindFromTop([&](const STemplatePool& pool) {
        text = pool.FindTemplate(name);
        return !text.IsEmptyText();
    });
    return text;
}

} // namespace SKEIN
