#pragma once
// Parsing an XML resource of a provider.
#include <pugixml.hpp>
#include "interface/SResProvider-i.h"

namespace SKEIN {

enum SXmlResourceResult {
    kXmlResourceMissing,    // no provider, absent or empty
    kXmlResourceUnreadable, // present, but the read failed
    kXmlResourceMalformed,  // read, but the text does not parse
    kXmlResourceLoaded,
};

// Reads (type, name) whole and parses it as UTF-8 with the default options. A resource larger
// than kMaxResourceBytes (SResLoaders.h) is unreadable, with a log line, and is not read.
SXmlResourceResult LoadXmlResource(IResProvider* provider, const wchar_t* type, const wchar_t* name,
                                   pugi::xml_document& document);

} // namespace SKEIN
