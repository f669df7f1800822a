#pragma once
// The current language and its installed translators, newest first (one reference each).
#include "core/SLinkedList.h"
#include "translator/STranslator-i.h"

namespace SKEIN {

class STranslatorMgr : public TObjRefImpl<ITranslatorMgr> {
public:
    STranslatorMgr();
    ~STranslatorMgr() override;

    void SetLanguage(const wchar_t* name) override;
    int GetLanguage(wchar_t name[kTranslatorNameSize]) const override;
    BOOL CreateTranslator(ITranslator** out) override;
    BOOL InstallTranslator(ITranslator* translator) override;
    BOOL UninstallTranslator(REFGUID id) override;
    int Translate(const wchar_t* source, const wchar_t* context, wchar_t* buffer, int size) const override;
    BOOL UpdateFont(const wchar_t* fontName, LOGFONTW* logFont) const override;

private:
    void UninstallAll();

    wchar_t m_language[kTranslatorNameSize];
    SLinkedList<ITranslator*> m_translators;
};

// A new manager with an empty language (one reference for the caller).
BOOL CreateTranslatorMgr(ITranslatorMgr** out);

} // namespace SKEIN
