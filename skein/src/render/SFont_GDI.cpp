#include "render/SFont_GDI.h"

namespace SKEIN {

SFont_GDI::SFont_GDI(IRenderFactory* factory, const LOGFONTW* logFont) : Base(factory), m_logFont(*logFont)
{
    ReplaceHandle(CreateFontIndirectW(&m_logFont));
}

BOOL SFont_GDI::UpdateFont(const LOGFONTW* logFont)
{
    if (!m_handle)
        return FALSE;
    m_logFont = *logFont;
    ReplaceHandle(CreateFontIndirectW(&m_logFont));
    return TRUE;
}

} // namespace SKEIN
