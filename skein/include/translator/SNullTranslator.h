#pragma once
// The translator manager the application holds until the program installs its own: it knows
// no language, installs nothing and translates nothing.
#include "translator/STranslator-i.h"

namespace SKEIN {

class SNullTranslator : public TObjRefImpl<ITranslatorMgr> {
public:
    void SetLanguage(const wchar_t*) override {}
    int GetLanguage(wchar_t name[kTranslatorNameSize]) const override;
    BOOL CreateTranslator(ITranslator** out) override;
    BOOL InstallTranslator(ITranslator*) override { return FALSE; }
    BOOL UninstallTranslator(REFGUID) override { return FALSE; }
    int Translate(const wchar_t*, const wchar_t*, wchar_t*, int) const override { return 0; }
    BOOL UpdateFont(const wchar_t*, LOGFONTW*) const override { return FALSE; }
};

} // namespace SKEIN
