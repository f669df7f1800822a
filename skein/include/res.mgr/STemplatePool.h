#pragma once
// Named templates: each child element of a "template" section keyed by its tag, holding its
// first child node printed as XML text; and the stack of pools searched from the newest.
#include "core/SCmnMap.h"
#include "res.mgr/SStylePoolStack.h"
#include "core/SObjRef.h"
#include "core/SSingleton.h"
#include <pugixml.hpp>

namespace SKEIN {

class STemplatePool : public TObjRefImpl2<IObjRef, STemplatePool> {
public:
    // The first definition of a name wins. 0 for an empty element, else 1.
    BOOL LoadFromXml(const pugi::xml_node& element);
    // The template's text; empty when absent.
    SStringW FindTemplate(const wchar_t* name) const;
    int Count() const { return m_templates.Count(); }

private:
    SCmnMap<SStringW, SStringW> m_templates;
};

class STemplatePoolMgr : public SSingleton2, public SSingleton<STemplatePoolMgr> {
public:
    // Puts the pool on top; the manager keeps a reference.
    void PushPool(STemplatePool* pool) { m_pools.Push(pool); }
    // Removes the pool (null: the top one) and releases the manager's reference; false when
    // there is no such pool.
    BOOL PopPool(STemplatePool* pool) { return m_pools.Pop(pool); }
    // Asks the pools from the top down; the first non-empty text wins.
    SStringW FindTemplate(const wchar_t* name) const;

private:
    SPoolStack<STemplatePool> m_pools;
};

} // namespace SKEIN
