#include "res.mgr/SXmlResource.h"
#include "helper/SSmallBuffer.h"

namespace SKEIN {

SXmlResourceResult LoadXmlResource(IResProvider* provider, const wchar_t* type, const wchar_t* name,
                                   pugi::xml_document& document)
{
    size_t size = provider ? provider->RawSize(type, name) : 0;
    if (size == 0)
        return kXmlResourceMissing;
    SSmallBuffer buffer;
    if (!buffer.Alloc(size) || !provider->ReadRawData(type, name, buffer.Data(), size))
        return kXmlResourceUnreadable;
    pugi::xml_parse_result parsed = document.load_buffer(buffer.Data(), size, pugi::parse_default, pugi::encoding_utf8);
    return parsed ? kXmlResourceLoaded : kXmlResourceMalformed;
}

} // namespace SKEIN
