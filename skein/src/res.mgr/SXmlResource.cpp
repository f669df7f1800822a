#include "res.mgr/SXmlResource.h"
#include "core/SString.h"
#include "helper/SSmallBuffer.h"
#include "res.mgr/SResLoaders.h"

namespace SKEIN {

namespace {

// "type:name" for the log line of a refused resource.
SStringW ResourceId(const wchar_t* type, const wchar_t* name)
{
    SStringW id(type);
    id += L":";
    id += name;
    return id;
}

} // namespace

SXmlResourceResult LoadXmlResource(IResProvider* provider, const wchar_t* type, const wchar_t* name,
                                   pugi::xml_document& document)
{
    size_t size = provider ? provider->RawSize(type, name) : 0;
    if (size == 0)
        return kXmlResourceMissing;
    if (!WithinResourceLimit(ResourceId(type, name), size))
        return kXmlResourceUnreadable;
    SSmallBuffer buffer;
    if (!buffer.Alloc(size) || !provider->ReadRawData(type, name, buffer.Data(), size))
        return kXmlResourceUnreadable;
    pugi::xml_parse_result parsed = document.load_buffer(buffer.Data(), size, pugi::parse_default, pugi::encoding_utf8);
    return parsed ? kXmlResourceLoaded : kXmlResourceMalformed;
}

} // namespace SKEIN
