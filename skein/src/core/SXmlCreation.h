#pragma once
// The bounds of one creation of windows from XML on a thread: the outermost LoadFromXml or
// CreateChildrenFromXml call with everything it creates, includes and expands. Layouts and
// UI definitions are files a user or a skin author may change; whatever they hold, creation
// ends, within the stack and within the element budget (limits in core/SWnd.h):
// - windows deeper than kMaxXmlDepth levels in their tree are not created;
// - an include or template already being expanded in the current chain is not expanded again,
//   nor is one that would nest deeper than kMaxXmlNesting;
// - after kMaxXmlElements elements the creation creates nothing more.
// Each refusal writes one log line per creation.
#include <windows.h>
#include <pugixml.hpp>
#include "core/SDynArray.h"
#include "core/SString.h"

namespace SKEIN {

class SWindow;

class SXmlCreation {
public:
    // The scope of creating parent's children: joins the creation running on this thread (one
    // level deeper, unless it is creating parent's children already) or starts one.
    explicit SXmlCreation(const SWindow* parent);
    ~SXmlCreation();
    SXmlCreation(const SXmlCreation&) = delete;
    SXmlCreation& operator=(const SXmlCreation&) = delete;

    // Counts the element; false when it lies too deep or the budget is spent.
    bool AdmitElement(pugi::xml_node element);

    // An include or template expansion for as long as it lives. key tells expansions apart
    // (the same key is the same resource); name is what the log shows.
    class Expansion {
    public:
        Expansion(SXmlCreation& creation, const wchar_t* kind, const SStringW& key, const wchar_t* name);
        ~Expansion();
        Expansion(const Expansion&) = delete;
        Expansion& operator=(const Expansion&) = delete;
        bool Entered() const { return m_entered; }

    private:
        SXmlCreation& m_creation;
        bool m_entered;
    };

private:
    enum Refusal { kTooDeep = 1, kBudgetSpent = 2, kCycle = 4, kNestedTooDeep = 8 };

    struct State {
        int level = 0;                  // depth of the windows being created in their tree
        const SWindow* parent = nullptr; // whose children are being created
        int elements = 0;
        SDynArray<SStringW> chain;      // keys of the expansions running, outermost first
        DWORD logged = 0;               // refusals logged so far
    };

    bool FirstTime(Refusal refusal);

    static thread_local State* s_current;

    State* m_state;
    State m_own; // used by the creation's outermost scope only
    int m_savedLevel;
    const SWindow* m_savedParent;
};

} // namespace SKEIN
