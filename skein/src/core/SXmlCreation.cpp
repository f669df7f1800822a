#include "core/SXmlCreation.h"
#include "core/SApp.h"
#include "core/SWnd.h"
#include "helper/SLog.h"

namespace SKEIN {

thread_local SXmlCreation::State* SXmlCreation::s_current = nullptr;

namespace {

long long g_workBudget = kXmlWorkBudget;

int DepthInTree(const SWindow* window)
{
    int depth = 0;
    for (SWindow* parent = window->GetParentWindow(); parent; parent = parent->GetParentWindow())
        ++depth;
    return depth;
}

// The attributes of an element and the weighted characters of their values.
struct AttributeWork {
    int count = 0;
    long long chars = 0;
};

AttributeWork AttributesOf(pugi::xml_node element)
{
    AttributeWork work;
    for (pugi::xml_attribute attribute = element.first_attribute(); attribute; attribute = attribute.next_attribute()) {
        ++work.count;
        work.chars += kXmlAppliedCharWeight * static_cast<long long>(wcslen(attribute.value()));
    }
    return work;
}

} // namespace

void SetXmlWorkBudget(long long work)
{
    g_workBudget = work > 0 ? work : kXmlWorkBudget;
}

SXmlCreation::SXmlCreation(const SWindow* parent) : m_state(s_current), m_savedLevel(0), m_savedParent(nullptr)
{
    if (!m_state) {
        m_state = s_current = &m_own;
        m_own.level = DepthInTree(parent) + 1;
        m_own.parent = parent;
        m_own.budget = g_workBudget;
        return;
    }
    m_savedLevel = m_state->level;
    m_savedParent = m_state->parent;
    if (m_state->parent != parent) {
        ++m_state->level;
        m_state->parent = parent;
    }
}

SXmlCreation::~SXmlCreation()
{
    if (m_state == &m_own) {
        s_current = nullptr;
        delete m_own.included;
        return;
    }
    m_state->level = m_savedLevel;
    m_state->parent = m_savedParent;
}

bool SXmlCreation::FirstTime(Refusal refusal)
{
    bool first = (m_state->logged & refusal) == 0;
    m_state->logged |= refusal;
    return first;
}

bool SXmlCreation::Spend(int elements, long long attributes, long long chars, const wchar_t* before)
{
    State& s = *m_state;
    if (!s.stopped) {
        long long work = (s.elements + static_cast<long long>(elements)) * kXmlWorkPerElement +
                         (s.attributes + attributes) * kXmlWorkPerAttribute + (s.chars + chars) / kXmlCharsPerWork +
                         s.other;
        if (work <= s.budget) {
            s.elements += elements;
            s.attributes += attributes;
            s.chars += chars;
            return true;
        }
        s.stopped = true;
    }
    if (FirstTime(kBudgetSpent))
        SKEIN_LOG(3, "SKEIN::SXmlCreation::Spend")
            .FormatW(L"work budget of %lld spent (%d elements, %lld attributes, %lld characters): creation stopped at [%s]",
                     s.budget, s.elements, s.attributes, s.chars, before);
    return false;
}

bool SXmlCreation::AdmitElement(pugi::xml_node element)
{
    if (m_state->level > kMaxXmlDepth) {
        if (FirstTime(kTooDeep))
            SKEIN_LOG(3, "SKEIN::SXmlCreation::AdmitElement")
                .FormatW(L"[%s] would nest deeper than %d levels: it and its siblings are not created",
                         element.name(), kMaxXmlDepth);
        return false;
    }
    AttributeWork attributes = AttributesOf(element);
    long long text = kXmlAppliedCharWeight * static_cast<long long>(wcslen(element.text().get()));
    return Spend(1, attributes.count, attributes.chars + text, element.name());
}

void SXmlCreation::CountAttributes(pugi::xml_node element)
{
    if (!s_current)
        return;
    AttributeWork attributes = AttributesOf(element);
    s_current->attributes += attributes.count;
    s_current->chars += attributes.chars;
}

void SXmlCreation::CountWork(int units)
{
    if (s_current)
        s_current->other += units;
}

pugi::xml_node SXmlCreation::IncludedRoot(const SStringW& type, const SStringW& name, const SStringW& key)
{
    SApplication* app = SApplication::Instance();
    if (!app)
        return pugi::xml_node();
    State& s = *m_state;
    if (!s.included)
        s.included = new Documents(DeleteDocument);
    pugi::xml_document* document = nullptr;
    if (pugi::xml_document** known = s.included->Find(key)) {
        document = *known;
    } else {
        // Clamped far beyond any budget, so that the sums cannot overflow.
        unsigned long long size = app->GetResDataSize(type.c_str(), name.c_str());
        long long chars = static_cast<long long>(size < (1ULL << 50) ? size : (1ULL << 50));
        if (size && Spend(0, 0, kXmlIncludedCharWeight * chars, key.c_str())) {
            document = new pugi::xml_document;
            if (!app->LoadXmlDocument(*document, type.c_str(), name.c_str())) {
                delete document;
                document = nullptr;
            }
        }
        s.included->Set(key, document);
    }
    return document ? document->child(L"include") : pugi::xml_node();
}

void SXmlCreation::DeleteDocument(pugi::xml_document* document)
{
    delete document;
}

bool SXmlCreation::FitsOneUse(long long length, const wchar_t* templateName)
{
    if (length <= kMaxXmlTemplateText)
        return true;
    if (FirstTime(kTemplateTooLong))
        SKEIN_LOG(3, "SKEIN::SXmlCreation::FillTemplate")
            .FormatW(L"template [%s] would make more than %d characters: not created", templateName,
                     kMaxXmlTemplateText);
    return false;
}

bool SXmlCreation::FitsAllUses(long long length, const wchar_t* templateName)
{
    State& s = *m_state;
    if (s.templateText + length <= kMaxXmlTemplateTextTotal) {
        s.templateText += length;
        return true;
    }
    if (FirstTime(kTemplatesTooLong))
        SKEIN_LOG(3, "SKEIN::SXmlCreation::FillTemplate")
            .FormatW(L"templates would make more than %d characters in all: [%s] not created",
                     kMaxXmlTemplateTextTotal, templateName);
    return false;
}

bool SXmlCreation::FillTemplate(SStringW& text, pugi::xml_node data, const wchar_t* templateName)
{
    if (!FitsOneUse(text.Length(), templateName) || !Spend(0, 0, text.Length(), templateName))
        return false;
    for (pugi::xml_attribute attribute : data.attributes()) {
        SStringW pattern(L"{{");
        pattern += attribute.name();
        pattern += L"}}";
        if (!Spend(0, 0, text.Length() + kXmlCharsPerWork, templateName)) // the search, at least a unit
            return false;
        int count = 0;
        for (int at = text.FindText(pattern.c_str()); at >= 0; at = text.FindText(pattern.c_str(), at + pattern.Length()))
            ++count;
        if (count == 0)
            continue;
        long long grown = text.Length() + static_cast<long long>(count) *
                                              (static_cast<long long>(wcslen(attribute.value())) - pattern.Length());
        if (!FitsOneUse(grown, templateName) || !Spend(0, 0, grown, templateName) ||
            text.Replace(pattern.c_str(), attribute.value()) < 0)
            return false;
    }
    // What the use makes counts once towards all uses; then the parse.
    return FitsAllUses(text.Length(), templateName) && Spend(0, 0, text.Length(), templateName);
}

SXmlCreation::Expansion::Expansion(SXmlCreation& creation, const wchar_t* kind, const SStringW& key,
                                   const wchar_t* name)
    : m_creation(creation), m_entered(false)
{
    SDynArray<SStringW>& chain = creation.m_state->chain;
    for (int i = 0; i < chain.Count(); ++i) {
        if (chain[i] == key) {
            if (creation.FirstTime(kCycle))
                SKEIN_LOG(3, "SKEIN::SXmlCreation::Expansion::Expansion")
                    .FormatW(L"%s [%s] is already being expanded, not expanded again", kind, name);
            return;
        }
    }
    if (chain.Count() >= kMaxXmlNesting) {
        if (creation.FirstTime(kNestedTooDeep))
            SKEIN_LOG(3, "SKEIN::SXmlCreation::Expansion::Expansion")
                .FormatW(L"%s [%s] nested deeper than %d levels, not expanded", kind, name, kMaxXmlNesting);
        return;
    }
    m_entered = chain.Add(key) >= 0;
}

SXmlCreation::Expansion::~Expansion()
{
    if (m_entered)
        m_creation.m_state->chain.RemoveAt(m_creation.m_state->chain.Count() - 1);
}

} // namespace SKEIN
