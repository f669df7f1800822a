#pragma once
// Named styles: "class" elements (keyed by their "name") and other elements (keyed by their
// tag) of a "style" section, and the stack of pools searched from the newest.
#include <pugixml.hpp>
#include "core/SCmnMap.h"
#include "res.mgr/SStylePoolStack.h"
#include "core/SObjRef.h"
#include "core/SSingleton.h"

namespace SKEIN {

class SStylePool : public TObjRefImpl2<IObjRef, SStylePool> {
public:
    // Copies the element's children in; the first definition of a name wins. 0 for an empty
    // element, else 1.
    BOOL LoadFromXml(const pugi::xml_node& element);
    // The style's element (its attributes are the style); empty when absent.
    pugi::xml_node FindStyle(const wchar_t* name) const;
    int Count() const { return m_styles.Count(); }

private:
    void AddStyle(pugi::xml_node style);

    pugi::xml_document m_doc;
    SCmnMap<pugi::xml_node, SStringW> m_styles;
};

class SStylePoolMgr : public SSingleton2, public SSingleton<SStylePoolMgr> {
public:
    // Puts the pool on top; the manager keeps a reference.
    void PushPool(SStylePool* pool) { m_pools.Push(pool); }
    // Removes the pool (null: the top one) and releases the manager's reference; false when
    // there is no such pool.
    BOOL PopPool(SStylePool* pool) { return m_pools.Pop(pool); }
    // Asks the pools from the top down; empty when none holds the name.
    pugi::xml_node FindStyle(const wchar_t* name) const;

private:
    SPoolStack<SStylePool> m_pools;
};

} // namespace SKEIN
