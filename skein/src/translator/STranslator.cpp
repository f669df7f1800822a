#include "translator/STranslator.h"
#include <algorithm>
#include <objbase.h>

namespace SKEIN {

namespace {

const int kGuidTextSize = 100;

struct CharsetName {
    const wchar_t* name;
    BYTE value;
};

const CharsetName kCharsetNames[] = {
    {L"ANSI", 0},          {L"DEFAULT", 1},      {L"SYMBOL", 2},    {L"SHIFTJIS", 128}, {L"HANGEUL", 129},
    {L"HANGUL", 129},      {L"GB2312", 134},     {L"CHINESEBIG5", 136}, {L"OEM", 255},  {L"JOHAB", 130},
    {L"HEBREW", 177},      {L"ARABIC", 178},     {L"GREEK", 161},   {L"TURKISH", 162},  {L"VIETNAMESE", 163},
    {L"THAI", 222},        {L"EASTEUROPE", 238}, {L"RUSSIAN", 204}, {L"MAC", 77},       {L"BALTIC", 186},
};

bool SourceLess(const STrMessage& a, const STrMessage& b)
{
    return wcscmp(a.source.c_str(), b.source.c_str()) < 0;
}

bool ContextLess(const STrContext* a, const STrContext* b)
{
    return wcscmp(a->name.c_str(), b->name.c_str()) < 0;
}

// All zeros when the text is not a GUID.
GUID ParseGuid(const wchar_t* text)
{
    wchar_t copy[kGuidTextSize];
    lstrcpynW(copy, text, kGuidTextSize);
    GUID guid;
    if (FAILED(IIDFromString(copy, &guid)))
        return GUID();
    return guid;
}

} // namespace

const STrMessage* STrContext::Find(const wchar_t* source) const
{
    const STrMessage* begin = messages.ItemAt(0);
    const STrMessage* end = begin + messages.Count();
    STrMessage key;
    key.source = source;
    const STrMessage* found = std::lower_bound(begin, end, key, SourceLess);
    return (found != end && found->source == source) ? found : nullptr;
}

STranslator::STranslator() : m_guid(GUID())
{
    m_name[0] = 0;
}

STranslator::~STranslator()
{
    Clear();
}

void STranslator::Clear()
{
    for (int i = 0; i < m_contexts.Count(); ++i)
        delete m_contexts[i];
    m_contexts.Resize(0);
    m_fonts.RemoveAll();
    m_name[0] = 0;
    m_guid = GUID();
}

BOOL STranslator::Load(const void* data, UINT kind)
{
    if (kind != kTranslatorLoadXml || !data)
        return FALSE;
    return LoadXml(*static_cast<const pugi::xml_node*>(data));
}

BOOL STranslator::LoadXml(const pugi::xml_node& language)
{
    Clear();
    lstrcpynW(m_name, language.attribute(L"name").value(), kTranslatorNameSize);
    m_guid = ParseGuid(language.attribute(L"guid").value());
    for (pugi::xml_node context = language.child(L"context"); context; context = context.next_sibling(L"context"))
        LoadContext(context);
    std::stable_sort(m_contexts.ItemAt(0), m_contexts.ItemAt(0) + m_contexts.Count(), ContextLess);
    LoadFonts(language.child(L"fonts"));
    return TRUE;
}

void STranslator::LoadContext(const pugi::xml_node& context)
{
    STrContext* entry = new (std::nothrow) STrContext;
    if (!entry)
        return;
    if (m_contexts.Add(entry) < 0) {
        delete entry;
        return;
    }
    entry->name = context.attribute(L"name").value();
    for (pugi::xml_node message = context.child(L"message"); message; message = message.next_sibling(L"message")) {
        STrMessage item;
        item.source = message.child(L"source").text().get();
        item.translation = message.child(L"translation").text().get();
        entry->messages.Add(item);
    }
    STrMessage* first = entry->messages.ItemAt(0);
    std::stable_sort(first, first + entry->messages.Count(), SourceLess);
}

void STranslator::LoadFonts(const pugi::xml_node& fonts)
{
    for (pugi::xml_node font = fonts.child(L"font"); font; font = font.next_sibling(L"font")) {
        STrFontEntry entry;
        entry.charset = CharsetFromName(font.attribute(L"charset").value());
        entry.face = font.attribute(L"face").value();
        m_fonts.SetAt(SStringW(font.attribute(L"name").value()), entry);
    }
}

void STranslator::GetName(wchar_t name[kTranslatorNameSize]) const
{
    lstrcpynW(name, m_name, kTranslatorNameSize);
}

BOOL STranslator::NameEquals(const wchar_t* name) const
{
    return wcscmp(m_name, name ? name : L"") == 0;
}

const STrContext* STranslator::FindContext(const wchar_t* name) const
{
    STrContext* const* begin = m_contexts.ItemAt(0);
    STrContext* const* end = begin + m_contexts.Count();
    STrContext key;
    key.name = name;
    STrContext* const* found = std::lower_bound(begin, end, &key, ContextLess);
    return (found != end && (*found)->name == name) ? *found : nullptr;
}

int STranslator::Translate(const wchar_t* source, const wchar_t* context, wchar_t* buffer, int size) const
{
    if (!source)
        return 0;
    if (!context)
        context = L"";
    const STrContext* group = FindContext(context);
    const STrMessage* message = group ? group->Find(source) : nullptr;
    if (!message)
        return *context ? Translate(source, L"", buffer, size) : 0;
    int needed = message->translation.Length() + 1;
    if (!buffer)
        return needed;
    if (size < needed)
        return -1;
    memcpy(buffer, message->translation.c_str(), sizeof(wchar_t) * needed);
    return needed;
}

BOOL STranslator::UpdateFont(const wchar_t* fontName, LOGFONTW* logFont) const
{
    SHashMap<SStringW, STrFontEntry>::Node* node = m_fonts.Lookup(SStringW(fontName));
    if (!node || !logFont)
        return FALSE;
    logFont->lfCharSet = node->value.charset;
    lstrcpynW(logFont->lfFaceName, node->value.face.c_str(), LF_FACESIZE);
    return TRUE;
}

BYTE STranslator::CharsetFromName(const wchar_t* text) const
{
    if (!text)
        return 0;
    for (const CharsetName& row : kCharsetNames) {
        if (_wcsicmp(row.name, text) == 0)
            return row.value;
    }
    return static_cast<BYTE>(_wtol(text));
}

} // namespace SKEIN
