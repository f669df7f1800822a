#pragma once
// Lookups of child elements and attributes whose names compare without regard to case, and
// the framework's reading of truth values.
#include <pugixml.hpp>

namespace SKEIN {

// Whether node is an element whose name equals name ignoring case.
bool XmlElementIs(const pugi::xml_node& node, const wchar_t* name);
// The first child element whose name equals name ignoring case.
pugi::xml_node XmlChildNoCase(const pugi::xml_node& parent, const wchar_t* name);
// The first attribute whose name equals name ignoring case.
pugi::xml_attribute XmlAttributeNoCase(const pugi::xml_node& element, const wchar_t* name);
// "0" and "false" (any case) are false, any other text true; fallback when the attribute is absent.
bool XmlAttributeTruth(const pugi::xml_node& element, const wchar_t* name, bool fallback);
// Decimal or "0x" hexadecimal; fallback when the attribute is absent.
int XmlAttributeInt(const pugi::xml_node& element, const wchar_t* name, int fallback);

} // namespace SKEIN
