#include "res.mgr/SUiDefObjAttr.h"
#include "core/SApp.h"
#include "helper/SXmlLookup.h"

namespace SKEIN {

namespace {

// The lower-cased name of the window class's base; empty at the root or without an application.
SStringW BaseClassName(const wchar_t* className)
{
    SApplication* app = SApplication::Instance();
    if (!app)
        return SStringW();
    return app->BaseClassInfo(SObjectInfo(className, kKindWindow)).Name();
}

} // namespace

BOOL SObjDefAttr::Init(const pugi::xml_node& objattr)
{
    if (!objattr)
        return FALSE;
    RemoveAll();
    m_document.reset();
    pugi::xml_node copy = m_document.append_copy(objattr);
    for (pugi::xml_node child = copy.first_child(); child; child = child.next_sibling()) {
        SStringW name(child.name());
        if (child.type() == pugi::node_element && !Find(name))
            Set(name, child);
    }
    for (Node* node = Map().FirstNode(); node; node = Map().NextNode(node))
        MergeBaseAttributes(node->value, node->key);
    return TRUE;
}

void SObjDefAttr::MergeBaseAttributes(pugi::xml_node element, const wchar_t* className)
{
    for (SStringW base = BaseClassName(className); !base.IsEmptyText(); base = BaseClassName(base)) {
        pugi::xml_node* baseElement = Find(base);
        if (!baseElement)
            continue;
        for (pugi::xml_attribute attribute : baseElement->attributes()) {
            if (!XmlAttributeNoCase(element, attribute.name()))
                element.append_attribute(attribute.name()).set_value(attribute.value());
        }
    }
}

pugi::xml_node SObjDefAttr::FindClassAttributes(const wchar_t* className) const
{
    for (SStringW name(className); !name.IsEmptyText(); name = BaseClassName(name)) {
        pugi::xml_node* element = Find(name);
        if (element)
            return *element;
    }
    return pugi::xml_node();
}

} // namespace SKEIN
