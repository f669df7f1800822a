#include "core/SXmlCreation.h"
#include "core/SWnd.h"
#include "helper/SLog.h"

namespace SKEIN {

thread_local SXmlCreation::State* SXmlCreation::s_current = nullptr;

namespace {

int DepthInTree(const SWindow* window)
{
    int depth = 0;
    for (SWindow* parent = window->GetParentWindow(); parent; parent = parent->GetParentWindow())
        ++depth;
    return depth;
}

} // namespace

SXmlCreation::SXmlCreation(const SWindow* parent) : m_state(s_current), m_savedLevel(0), m_savedParent(nullptr)
{
    if (!m_state) {
        m_state = s_current = &m_own;
        m_own.level = DepthInTree(parent) + 1;
        m_own.parent = parent;
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

bool SXmlCreation::AdmitElement(pugi::xml_node element)
{
    if (m_state->level > kMaxXmlDepth) {
        if (FirstTime(kTooDeep))
            SKEIN_LOG(3, "SKEIN::SXmlCreation::AdmitElement")
                .FormatW(L"[%s] would nest deeper than %d levels: it and its siblings are not created",
                         element.name(), kMaxXmlDepth);
        return false;
    }
    if (m_state->elements >= kMaxXmlElements) {
        if (FirstTime(kBudgetSpent))
            SKEIN_LOG(3, "SKEIN::SXmlCreation::AdmitElement")
                .FormatW(L"more than %d elements: creation stopped before [%s]", kMaxXmlElements, element.name());
        return false;
    }
    ++m_state->elements;
    return true;
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
