#include "skin/SSkinColorRect.h"
#include "skin/SSkinAttr.h"

namespace SKEIN {

namespace {

const wchar_t* const kFillNames[SSkinColorRect::kStates] = {L"normal", L"hover", L"pushdown", L"disable"};
const wchar_t* const kBorderNames[SSkinColorRect::kStates] = {L"normalBorder", L"hoverBorder", L"pushdownBorder",
                                                              L"disableBorder"};

} // namespace

SSkinColorRect::SSkinColorRect() : m_cornerRadius(0), m_cornerPercent(0.0f), m_borderWidth(0)
{
    for (int i = 0; i < kStates; ++i)
        m_fill[i] = m_border[i] = kColorUnset;
    m_fill[0] = 0xFFFFFFFF;
}

int SSkinColorRect::GetStateCount() const
{
    for (int i = kStates - 1; i >= 0; --i) {
        if (m_fill[i] != kColorUnset)
            return i + 1;
    }
    return 0;
}

void SSkinColorRect::DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    if (state < 0 || state >= kStates)
        return;
    int r = SkinCornerRadius(rect, m_cornerPercent, m_cornerRadius);
    POINT corner = {r, r};
    if (m_fill[state] == kColorUnset)
        state = 0;
    if (m_fill[state] != kColorUnset) { // no colour at all: nothing to fill
        COLORREF fill = SkinAlphaColor(m_fill[state], alpha);
        if (r < 1)
            rt->FillSolidRect(rect, fill);
        else
            rt->FillSolidRoundRect(rect, corner, fill);
    }
    if (m_border[state] == kColorUnset || m_borderWidth <= 0)
        return;
    SSkinPenScope pen(rt, PS_SOLID, SkinAlphaColor(m_border[state], alpha), m_borderWidth);
    if (r < 1)
        rt->DrawRectangle(rect);
    else
        rt->DrawRoundRect(rect, corner);
}

HRESULT SSkinColorRect::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    for (int i = 0; i < kStates; ++i) {
        COLORREF* target = SkinAttrIs(name, kFillNames[i]) ? &m_fill[i]
                           : SkinAttrIs(name, kBorderNames[i]) ? &m_border[i]
                                                               : nullptr;
        if (!target)
            continue;
        COLORREF color;
        if (!SkinAttrColor(value, &color))
            return Took(name, value, loading, E_FAIL);
        *target = color;
        return Took(name, value, loading, S_FALSE);
    }
    if (SkinAttrIs(name, L"borderWidth"))
        m_borderWidth = SkinAttrInt(value);
    else if (SkinAttrIs(name, L"cornerRadius"))
        m_cornerRadius = SkinAttrInt(value);
    else if (SkinAttrIs(name, L"cornerPercent"))
        m_cornerPercent = SkinAttrFloat(value);
    else
        return SSkinObjBase::ApplyAttribute(name, value, loading);
    return Took(name, value, loading, S_FALSE);
}

} // namespace SKEIN
