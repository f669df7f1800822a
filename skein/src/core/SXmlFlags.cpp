#include "core/SXmlFlags.h"
#include "core/SHashMap.h"

namespace SKEIN {

namespace {

typedef SHashMap<const void*, bool> FlagSet;

FlagSet& ConsumedAttributes()
{
    static FlagSet set;
    return set;
}

FlagSet& SkippedElements()
{
    static FlagSet set;
    return set;
}

bool Has(const FlagSet& set, const void* key)
{
    return key && set.Count() > 0 && set.Lookup(key) != nullptr;
}

void Put(FlagSet& set, const void* key, bool on)
{
    if (!key)
        return;
    if (on)
        set.SetAt(key, true);
    else
        set.RemoveKey(key);
}

} // namespace

bool SXmlFlags::IsConsumed(const pugi::xml_attribute& attribute)
{
    return Has(ConsumedAttributes(), attribute.internal_object());
}

void SXmlFlags::SetConsumed(const pugi::xml_attribute& attribute, bool consumed)
{
    Put(ConsumedAttributes(), attribute.internal_object(), consumed);
}

bool SXmlFlags::IsSkipped(const pugi::xml_node& element)
{
    return Has(SkippedElements(), element.internal_object());
}

void SXmlFlags::SetSkipped(const pugi::xml_node& element, bool skipped)
{
    Put(SkippedElements(), element.internal_object(), skipped);
}

} // namespace SKEIN
