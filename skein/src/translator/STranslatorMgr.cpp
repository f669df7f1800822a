#include "translator/STranslatorMgr.h"
#include <new>
#include <string.h>
#include "core/SContainerUtil.h"
#include "translator/STranslator.h"

namespace SKEIN {

STranslatorMgr::STranslatorMgr()
{
    m_language[0] = 0;
}

STranslatorMgr::~STranslatorMgr()
{
    UninstallAll();
}

void STranslatorMgr::UninstallAll()
{
    for (SLinkedList<ITranslator*>::Node* node = m_translators.First(); node; node = node->next)
        node->value->Release();
    m_translators.RemoveAll();
}

void STranslatorMgr::SetLanguage(const wchar_t* name)
{
    if (!name)
        name = L"";
    if (wcscmp(name, m_language) != 0)
        UninstallAll();
    lstrcpynW(m_language, name, kTranslatorNameSize);
}

int STranslatorMgr::GetLanguage(wchar_t name[kTranslatorNameSize]) const
{
    lstrcpynW(name, m_language, kTranslatorNameSize);
    return static_cast<int>(wcslen(name));
}

BOOL STranslatorMgr::CreateTranslator(ITranslator** out)
{
    if (!out)
        return FALSE;
    *out = new (std::nothrow) STranslator;
    return *out ? TRUE : FALSE;
}

BOOL STranslatorMgr::InstallTranslator(ITranslator* translator)
{
    if (!translator)
        return FALSE;
    if (!m_language[0])
        translator->GetName(m_language);
    if (!translator->NameEquals(m_language))
        return FALSE;
    GUID id = translator->GetGuid();
    for (SLinkedList<ITranslator*>::Node* node = m_translators.First(); node; node = node->next) {
        if (GuidEquals(node->value->GetGuid(), id))
            return FALSE;
    }
    if (!m_translators.AddHead(translator))
        return FALSE;
    translator->AddRef();
    return TRUE;
}

BOOL STranslatorMgr::UninstallTranslator(REFGUID id)
{
    for (SLinkedList<ITranslator*>::Node* node = m_translators.First(); node; node = node->next) {
        if (GuidEquals(node->value->GetGuid(), id)) {
            ITranslator* translator = node->value;
            m_translators.RemoveNode(node);
            translator->Release();
            return TRUE;
        }
    }
    return FALSE;
}

int STranslatorMgr::Translate(const wchar_t* source, const wchar_t* context, wchar_t* buffer, int size) const
{
    if (!source || !*source)
        return 0;
    for (SLinkedList<ITranslator*>::Node* node = m_translators.First(); node; node = node->next) {
        int result = node->value->Translate(source, context, buffer, size);
        if (result > 0 || result == -1)
            return result;
    }
    return 0;
}

BOOL STranslatorMgr::UpdateFont(const wchar_t* fontName, LOGFONTW* logFont) const
{
    SLinkedList<ITranslator*>::Node* newest = m_translators.First();
    return newest ? newest->value->UpdateFont(fontName, logFont) : FALSE;
}

BOOL CreateTranslatorMgr(ITranslatorMgr** out)
{
    if (!out)
        return FALSE;
    *out = new (std::nothrow) STranslatorMgr;
    return *out ? TRUE : FALSE;
}

} // namespace SKEIN
