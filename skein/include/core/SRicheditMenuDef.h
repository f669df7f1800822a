#pragma once
// The template of the edit control's context menu, an application-owned singleton; empty
// until the system resources provide it.
#include <pugixml.hpp>
#include "core/SSingleton.h"

namespace SKEIN {

class SRicheditMenuDef : public SSingleton2 {
public:
    pugi::xml_document& Document() { return m_document; }

private:
    pugi::xml_document m_document;
};

} // namespace SKEIN
