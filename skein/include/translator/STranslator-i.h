#pragma once
// Run-time translation of window texts: a translator is one loaded language; the manager
// keeps the current language and the installed translators, newest first.
#include <windows.h>
#include "core/SObjRef.h"

namespace SKEIN {

enum {
    kTranslatorNameSize = 64, // language names: 63 characters and the terminator
    kTranslatorLoadXml = 1,   // Load kind: data points to the "language" pugi::xml_node
};

struct ITranslator : public IObjRef {
    virtual BOOL Load(const void* data, UINT kind) = 0;
    virtual void GetName(wchar_t name[kTranslatorNameSize]) const = 0;
    // Exact, case-sensitive comparison.
    virtual BOOL NameEquals(const wchar_t* name) const = 0;
    virtual GUID GetGuid() const = 0;
    // The translation of source in context (falling back to the global context): its length
    // + 1, copied with its terminator when buffer is given and size is at least that; -1 when
    // the buffer is too small (nothing copied); 0 when there is no translation.
    virtual int Translate(const wchar_t* source, const wchar_t* context, wchar_t* buffer, int size) const = 0;
    // Applies the language's charset and face for the named font; false (logFont unchanged)
    // when the language has no override for it.
    virtual BOOL UpdateFont(const wchar_t* fontName, LOGFONTW* logFont) const = 0;
    // A charset name ("GB2312", any case) or a decimal number.
    virtual BYTE CharsetFromName(const wchar_t* text) const = 0;
    virtual ~ITranslator() {}
};

struct ITranslatorMgr : public IObjRef {
    // Another name than the current one uninstalls every translator.
    virtual void SetLanguage(const wchar_t* name) = 0;
    // Copies the current name; returns its length.
    virtual int GetLanguage(wchar_t name[kTranslatorNameSize]) const = 0;
    // A new empty translator (one reference for the caller).
    virtual BOOL CreateTranslator(ITranslator** out) = 0;
    // Refused (false) for another language or a GUID already installed.
    virtual BOOL InstallTranslator(ITranslator* translator) = 0;
    virtual BOOL UninstallTranslator(REFGUID id) = 0;
    // As ITranslator::Translate, asking the installed translators from the newest.
    virtual int Translate(const wchar_t* source, const wchar_t* context, wchar_t* buffer, int size) const = 0;
    // The newest translator's override; false when none is installed.
    virtual BOOL UpdateFont(const wchar_t* fontName, LOGFONTW* logFont) const = 0;
    virtual ~ITranslatorMgr() {}
};

} // namespace SKEIN
