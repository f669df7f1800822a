#include "translator/SNullTranslator.h"

namespace SKEIN {

int SNullTranslator::GetLanguage(wchar_t name[kTranslatorNameSize]) const
{
    if (name)
        name[0] = L'\0';
    return 0;
}

BOOL SNullTranslator::CreateTranslator(ITranslator** out)
{
    if (out)
        *out = nullptr;
    return FALSE;
}

} // namespace SKEIN
