#include "skin/SSkinGradation.h"
#include "skin/SColorize.h"
#include "skin/SSkinAttr.h"

namespace SKEIN {

SSkinGradation::SSkinGradation()
    : m_colorFrom(kColorUnset), m_colorTo(kColorUnset), m_vertical(1), m_backupFrom(kColorUnset), m_backupTo(kColorUnset)
{
}

void SSkinGradation::DrawCore(IRenderTarget* rt, const RECT* rect, int, BYTE alpha)
{
    rt->GradientFill(rect, m_vertical, m_colorFrom, m_colorTo, alpha);
}

void SSkinGradation::ApplyColorize(COLORREF color)
{
    if (!m_enableColorize || color == m_colorizeColor)
        return;
    if (m_colorizeColor == 0) {
        m_backupFrom = m_colorFrom;
        m_backupTo = m_colorTo;
    } else {
        m_colorFrom = m_backupFrom;
        m_colorTo = m_backupTo;
    }
    m_colorizeColor = color;
    if (color == 0)
        return;
    SColorize colorize(color);
    m_colorFrom = colorize.Color(m_colorFrom);
    m_colorTo = colorize.Color(m_colorTo);
}

HRESULT SSkinGradation::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    COLORREF* target = nullptr;
    if (SkinAttrIs(name, L"colorFrom"))
        target = &m_colorFrom;
    else if (SkinAttrIs(name, L"colorTo"))
        target = &m_colorTo;
    if (target) {
        COLORREF color;
        if (!SkinAttrColor(value, &color))
            return Took(name, value, loading, E_FAIL);
        *target = color;
        return Took(name, value, loading, S_OK);
    }
    if (SkinAttrIs(name, L"vertical")) {
        m_vertical = SkinAttrInt(value);
        return Took(name, value, loading, S_OK);
    }
    return SSkinObjBase::ApplyAttribute(name, value, loading);
}

} // namespace SKEIN
