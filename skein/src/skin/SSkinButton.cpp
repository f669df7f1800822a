#include "skin/SSkinButton.h"
#include "skin/SColorize.h"
#include "skin/SSkinAttr.h"

namespace SKEIN {

namespace {

enum { kBorder = 0, kUp = 4, kDown = 8 };

const COLORREF kDefaultColors[SSkinButton::kColors] = {
    0x707070, kColorUnset, kColorUnset, kColorUnset, // borders
    0xEEEEEE, 0xEEEEEE,    0xCECECE,    0x8E8E8E,    // colorUp
    0xD6D6D6, 0xE0E0E0,    0xC0C0C0,    0x808080,    // colorDown
};

// Attribute names by colour slot.
const wchar_t* const kColorNames[SSkinButton::kColors] = {
    L"colorBorder", L"colorBorderHover", L"colorBorderPush", L"colorBorderDisable",
    L"colorUp",     L"colorUpHover",     L"colorUpPush",     L"colorUpDisable",
    L"colorDown",   L"colorDownHover",   L"colorDownPush",   L"colorDownDisable",
};

} // namespace

SSkinButton::SSkinButton() : m_cornerRadius(2), m_cornerPercent(0.0f)
{
    for (int i = 0; i < kColors; ++i)
        m_colors[i] = m_backup[i] = kDefaultColors[i];
}

void SSkinButton::DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha)
{
    if (state < 0 || state >= kStates)
        return;
    int r = SkinCornerRadius(rect, m_cornerPercent, m_cornerRadius);
    POINT corner = {r, r};
    COLORREF up = m_colors[kUp + state];
    COLORREF down = m_colors[kDown + state];
    if (up == down) {
        if (r < 1)
            rt->FillSolidRect(rect, SkinAlphaColor(up, alpha));
        else
            rt->FillSolidRoundRect(rect, corner, SkinAlphaColor(up, alpha));
    } else {
        bool clipped = false;
        if (r > 2) {
            IRegion* region = nullptr;
            if (SUCCEEDED(rt->CreateRegion(&region)) && region) {
                RECT bounds = {rect->left, rect->top, rect->right + 1, rect->bottom + 1};
                POINT ellipse = {2 * r, 2 * r};
                region->CombineRoundRect(&bounds, ellipse, RGN_COPY);
                clipped = SUCCEEDED(rt->PushClipRegion(region, RGN_AND));
                region->Release();
            }
        }
        RECT inner = *rect;
        InflateRect(&inner, -1, -1);
        rt->GradientFill(&inner, TRUE, up, down, alpha);
        if (clipped)
            rt->PopClip();
    }
    COLORREF border = m_colors[kBorder + state];
    if (border == kColorUnset)
        border = m_colors[kBorder];
    SSkinPenScope pen(rt, PS_SOLID, SkinAlphaColor(border, alpha), 1);
    rt->DrawRoundRect(rect, corner);
}

void SSkinButton::ApplyColorize(COLORREF color)
{
    if (!m_enableColorize || color == m_colorizeColor)
        return;
    if (color != 0) {
        for (int i = 0; i < kColors; ++i) {
            if (m_colorizeColor == 0)
                m_backup[i] = m_colors[i];
            else
                m_colors[i] = m_backup[i];
        }
        m_colorizeColor = color;
        SColorize colorize(color);
        for (int i = 0; i < kColors; ++i)
            m_colors[i] = colorize.Color(m_colors[i]);
    } else {
        for (int i = 0; i < kColors; ++i)
            m_colors[i] = m_backup[i];
        m_colorizeColor = 0;
    }
}

HRESULT SSkinButton::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    for (int i = 0; i < kColors; ++i) {
        if (SkinAttrIs(name, kColorNames[i])) {
            COLORREF color;
            if (!SkinAttrColor(value, &color))
                return Took(name, value, loading, E_FAIL);
            m_colors[i] = color;
            return Took(name, value, loading, S_OK);
        }
    }
    if (SkinAttrIs(name, L"cornerRadius")) {
        m_cornerRadius = SkinAttrInt(value);
        return Took(name, value, loading, S_OK);
    }
    if (SkinAttrIs(name, L"cornerPercent")) {
        m_cornerPercent = SkinAttrFloat(value);
        return Took(name, value, loading, S_OK);
    }
    return SSkinObjBase::ApplyAttribute(name, value, loading);
}

} // namespace SKEIN
