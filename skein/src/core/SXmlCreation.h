#pragma once
// The bounds of one creation of windows from XML on a thread: the outermost LoadFromXml or
// CreateChildrenFromXml call with everything it creates, includes and expands. Layouts and
// UI definitions are files a user or a skin author may change; whatever they hold, creation
// ends, within the stack, the memory and the work budget (limits in core/SWnd.h):
// - windows deeper than kMaxXmlDepth levels in their tree are not created;
// - an include or template already being expanded in the current chain is not expanded again,
//   nor is one that would nest deeper than kMaxXmlNesting;
// - an included resource is read and parsed once per creation;
// - a template use whose substitution would produce too much text is not created;
// - once the work budget is spent the creation creates nothing more.
// Each refusal writes one log line per creation.
#include <windows.h>
#include <pugixml.hpp>
#include "core/SCmnMap.h"
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

    // Counts the element with its attributes and its text; false when it lies too deep or the
    // budget is spent.
    bool AdmitElement(pugi::xml_node element);
    // Counts the attributes (with their values) of an element that a window being created takes
    // besides those of its own element (class defaults, named styles, a template's root);
    // nothing outside a creation.
    static void CountAttributes(pugi::xml_node element);
    // Counts work units of a window being created whose creation costs far more than a plain
    // window's (native objects behind it); nothing outside a creation.
    static void CountWork(int units);

    // The root "include" element of the resource, read and parsed on its first use in the
    // creation; empty when it does not load or its size exceeds what the budget has left. key
    // tells resources apart.
    pugi::xml_node IncludedRoot(const SStringW& type, const SStringW& name, const SStringW& key);

    // Replaces "{{name}}" in the template's text by the value of each attribute of data, in
    // order; false (text undefined) when a text of the use would grow too long, the uses of the
    // creation would make too much text in all, or the budget is spent.
    bool FillTemplate(SStringW& text, pugi::xml_node data, const wchar_t* templateName);

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
    enum Refusal { kTooDeep = 1, kBudgetSpent = 2, kCycle = 4, kNestedTooDeep = 8, kTemplateTooLong = 16,
                   kTemplatesTooLong = 32 };

    typedef SCmnMap<pugi::xml_document*, SStringW> Documents; // null: the resource did not load

    struct State {
        int level = 0;                  // depth of the windows being created in their tree
        const SWindow* parent = nullptr; // whose children are being created
        long long budget = 0;
        bool stopped = false;           // the budget is spent
        int elements = 0;
        long long attributes = 0;
        long long chars = 0;            // parsed, searched, made and applied
        long long templateText = 0;     // made by the template uses
        long long other = 0;            // CountWork
        SDynArray<SStringW> chain;      // keys of the expansions running, outermost first
        Documents* included = nullptr;  // made on the first include
        DWORD logged = 0;               // refusals logged so far
    };

    bool FirstTime(Refusal refusal);
    // Adds the work when the budget has room for it; otherwise stops the creation (logged
    // once, naming what it stopped before) and answers false.
    bool Spend(int elements, long long attributes, long long chars, const wchar_t* before);
    // Whether one text of a use stays within the bound of one use; logged once when not.
    bool FitsOneUse(long long length, const wchar_t* templateName);
    // Adds the text a use made to all uses' when it fits; logged once when not.
    bool FitsAllUses(long long length, const wchar_t* templateName);
    static void DeleteDocument(pugi::xml_document* document);

    static thread_local State* s_current;

    State* m_state;
    State m_own; // used by the creation's outermost scope only
    int m_savedLevel;
    const SWindow* m_savedParent;
};

} // namespace SKEIN
