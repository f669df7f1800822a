#include "res.mgr/SBuiltinResProvider.h"
#include <new>
#include "res.mgr/SResProviderFiles.h"
#include "res.mgr/SResProviderPE.h"

namespace SKEIN {

bool MakeBuiltinResProvider(int kind, IResProvider** out)
{
    if (!out)
        return false;
    IResProvider* provider = nullptr;
    if (kind == kResProviderPE)
        provider = new (std::nothrow) SResProviderPE();
    else if (kind == kResProviderFiles)
        provider = new (std::nothrow) SResProviderFiles();
    if (!provider)
        return false;
    *out = provider;
    return true;
}

} // namespace SKEIN
