#include "helper/SXmlLookup.h"
#include <wchar.h>

namespace SKEIN {

bool XmlElementIs(const pugi::xml_node& node, const wchar_t* name)
{
    return node.type() == pugi::node_element && _wcsicmp(node.name(), name) == 0;
}

pugi::xml_node XmlChildNoCase(const pugi::xml_node& parent, const wchar_t* name)
{
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        if (XmlElementIs(child, name))
            return child;
    }
    return pugi::xml_node();
}

pugi::xml_attribute XmlAttributeNoCase(const pugi::xml_node& element, const wchar_t* name)
{
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        if (_wcsicmp(attribute.name(), name) == 0)
            return attribute;
    }
    return pugi::xml_attribute();
}

bool XmlAttributeTruth(const pugi::xml_node& element, const wchar_t* name, bool fallback)
{
    pugi::xml_attribute attribute = XmlAttributeNoCase(element, name);
    if (!attribute)
        return fallback;
    const wchar_t* value = attribute.value();
    return wcscmp(value, L"0") != 0 && _wcsicmp(value, L"false") != 0;
}

int XmlAttributeInt(const pugi::xml_node& element, const wchar_t* name, int fallback)
{
    pugi::xml_attribute attribute = XmlAttributeNoCase(element, name);
    return attribute ? attribute.as_int(fallback) : fallback;
}

} // namespace SKEIN
