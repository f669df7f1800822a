#pragma once
// Two flags the framework keeps on parsed XML, both clear after parsing: "consumed" on an
// attribute (applied ahead of the others, so not applied twice) and "skip" on an element
// (passed over when windows are created). They are keyed by the node's identity, so whoever
// sets a flag clears it before the document goes away.
#include <pugixml.hpp>

namespace SKEIN {

class SXmlFlags {
public:
    static bool IsConsumed(const pugi::xml_attribute& attribute);
    static void SetConsumed(const pugi::xml_attribute& attribute, bool consumed);
    static bool IsSkipped(const pugi::xml_node& element);
    static void SetSkipped(const pugi::xml_node& element, bool skipped);
};

} // namespace SKEIN
