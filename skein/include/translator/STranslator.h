#pragma once
// One language loaded from a translator "language" element: messages grouped by context,
// each group sorted by source text, and per-font charset and face overrides.
#include <pugixml.hpp>
#include "core/SDynArray.h"
#include "core/SHashMap.h"
#include "translator/STranslator-i.h"

namespace SKEIN {

struct STrMessage {
    typedef void SRelocatable;
    SStringW source;
    SStringW translation;
};

// name empty: the global context.
struct STrContext {
    SStringW name;
    SDynArray<STrMessage> messages;

    // The first message of that source (document order among equal ones); null when absent.
    const STrMessage* Find(const wchar_t* source) const;
};

struct STrFontEntry {
    BYTE charset;
    SStringW face;
};

class STranslator : public TObjRefImpl<ITranslator> {
public:
    STranslator();
    ~STranslator() override;

    BOOL Load(const void* data, UINT kind) override;
    // Replaces whatever was loaded before.
    BOOL LoadXml(const pugi::xml_node& language);

    void GetName(wchar_t name[kTranslatorNameSize]) const override;
    BOOL NameEquals(const wchar_t* name) const override;
    GUID GetGuid() const override { return m_guid; }
    int Translate(const wchar_t* source, const wchar_t* context, wchar_t* buffer, int size) const override;
    BOOL UpdateFont(const wchar_t* fontName, LOGFONTW* logFont) const override;
    BYTE CharsetFromName(const wchar_t* text) const override;

private:
    void Clear();
    // The first context of that name; null when absent.
    const STrContext* FindContext(const wchar_t* name) const;
    void LoadContext(const pugi::xml_node& context);
    void LoadFonts(const pugi::xml_node& fonts);

    wchar_t m_name[kTranslatorNameSize];
    GUID m_guid;
    SDynArray<STrContext*> m_contexts;
    SHashMap<SStringW, STrFontEntry> m_fonts;
};

} // namespace SKEIN
