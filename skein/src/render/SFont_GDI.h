#pragma once
// GDI font made from a LOGFONT, which it keeps.
#include "render/SRenderObj_GDI.h"

namespace SKEIN {

class SFont_GDI : public TGdiRenderObjImpl<IFont, kRenderObjFont, HFONT> {
    typedef TGdiRenderObjImpl<IFont, kRenderObjFont, HFONT> Base;
    SKEIN_CLASS_NAME(Base, L"font")
public:
    SFont_GDI(IRenderFactory* factory, const LOGFONTW* logFont);

    const LOGFONTW* LogFont() const override { return &m_logFont; }
    const wchar_t* FamilyName() const override { return m_logFont.lfFaceName; }
    int TextSize() const override { return m_logFont.lfHeight; }
    BOOL IsBold() const override { return m_logFont.lfWeight == FW_BOLD; }
    BOOL IsUnderline() const override { return m_logFont.lfUnderline != 0; }
    BOOL IsItalic() const override { return m_logFont.lfItalic != 0; }
    BOOL IsStrikeOut() const override { return m_logFont.lfStrikeOut != 0; }
    BOOL UpdateFont(const LOGFONTW* logFont) override;

private:
    LOGFONTW m_logFont;
};

} // namespace SKEIN
