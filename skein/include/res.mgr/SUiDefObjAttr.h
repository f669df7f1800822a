#pragma once
// Default attributes per window class, from the "objattr" section of a UI definition. Each
// class's element also carries the defaults of its base classes that it does not set itself
// (the nearest ancestor's value wins).
#include <pugixml.hpp>
#include "core/SCmnMap.h"
#include "core/SObjRef.h"
#include "core/SString.h"

namespace SKEIN {

class SObjDefAttr : public SCmnMap<pugi::xml_node, SStringW>, public TObjRefImpl2<IObjRef, SObjDefAttr> {
public:
    SObjDefAttr() {}
    using TObjRefImpl2<IObjRef, SObjDefAttr>::Release; // not the map's value release

    // Copies the element; each child is the element of the class it is named after (the first
    // of a name wins). Base classes come from the application's factory table. FALSE when empty.
    BOOL Init(const pugi::xml_node& objattr);
    // The class's element, else the nearest base class's; empty when no class in the chain has one.
    pugi::xml_node FindClassAttributes(const wchar_t* className) const;

private:
    void MergeBaseAttributes(pugi::xml_node element, const wchar_t* className);

    pugi::xml_document m_document;
};

} // namespace SKEIN
