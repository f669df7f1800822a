#include "res.mgr/SwndStyle.h"
#include <stdlib.h>
#include "helper/SStringConv.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

namespace {

const wchar_t* const kTextColorNames[kStyleStateCount] = {L"colorText", L"colorTextHover", L"colorTextPush",
                                                          L"colorTextDisable"};
const wchar_t* const kFontNames[kStyleStateCount] = {L"font", L"fontHover", L"fontPush", L"fontDisable"};

bool Is(const SStringW& name, const wchar_t* attribute)
{
    return name.CompareIgnoringCase(attribute) == 0;
}

// Index of name in a table of four attribute names, -1 when absent.
int IndexOfName(const SStringW& name, const wchar_t* const names[kStyleStateCount])
{
    for (int state = 0; state < kStyleStateCount; ++state) {
        if (Is(name, names[state]))
            return state;
    }
    return -1;
}

// Values compare exactly: "Center" is not "center".
int Keyword(const SStringW& value, const wchar_t* first, const wchar_t* second, const wchar_t* third,
            const int codes[3])
{
    if (value == first)
        return codes[0];
    if (value == second)
        return codes[1];
    if (value == third)
        return codes[2];
    return -1;
}

HRESULT Loaded(BOOL loading)
{
    return loading ? S_FALSE : S_OK;
}

int ValidState(int state)
{
    return state >= 0 && state < kStyleStateCount ? state : 0;
}

} // namespace

SwndStyle::SwndStyle()
    : m_colorBkgnd(kColorUnset), m_colorBorder(kColorUnset), m_cursor(L"arrow"), m_alpha(255), m_sepSpace(5),
      m_dotted(false), m_trackMouseEvent(false), m_bkgndBlend(true), m_textMode(0), m_align(kAlignCenter),
      m_valign(kVAlignMiddle), m_scale(100)
{
    for (UINT32& color : m_colorText)
        color = kColorUnset;
}

int SwndStyle::ParseInt(const SStringW& value)
{
    const wchar_t* text = value.c_str();
    if (text[0] == L'0' && (text[1] == L'x' || text[1] == L'X'))
        return static_cast<int>(wcstoul(text + 2, nullptr, 16));
    return _wtoi(text);
}

HRESULT SwndStyle::SetColor(UINT32& color, const SStringW& value)
{
    if (value.IsEmptyText())
        return E_FAIL;
    color = ResolveNamedColor(value.c_str());
    return S_OK;
}

HRESULT SwndStyle::SetFont(int state, const SStringW& value)
{
    m_font[state].Assign(value, m_scale);
    return S_OK;
}

HRESULT SwndStyle::SetSides(SLayoutSize sides[4], const SStringW& value, BOOL loading)
{
    SDynArray<SStringW> pieces;
    SplitByChar(value, L',', pieces);
    int count = pieces.Count();
    if (count == 1 || count == 2 || count == 4) {
        for (int side = kLeft; side <= kBottom; ++side) {
            int piece = count == 4 ? side : side % count;
            sides[side] = ResolveNamedDimension(pieces[piece].c_str());
        }
    }
    return Loaded(loading);
}

HRESULT SwndStyle::SetPair(SLayoutSize& first, SLayoutSize& second, const SStringW& value, BOOL loading)
{
    first = second = ResolveNamedDimension(value.c_str());
    return Loaded(loading);
}

HRESULT SwndStyle::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const int kAligns[3] = {kAlignLeft, kAlignCenter, kAlignRight};
    static const int kVAligns[3] = {kVAlignTop, kVAlignMiddle, kVAlignBottom};

    int state = IndexOfName(name, kTextColorNames);
    if (state >= 0)
        return SetColor(m_colorText[state], value);
    state = IndexOfName(name, kFontNames);
    if (state >= 0)
        return SetFont(state, value);
    if (Is(name, L"colorBkgnd"))
        return SetColor(m_colorBkgnd, value);
    if (Is(name, L"colorBorder"))
        return SetColor(m_colorBorder, value);
    if (Is(name, L"textMode")) {
        m_textMode = ParseInt(value);
        return S_OK;
    }
    if (Is(name, L"align") || Is(name, L"valign")) {
        bool horizontal = Is(name, L"align");
        int code = horizontal ? Keyword(value, L"left", L"center", L"right", kAligns)
                              : Keyword(value, L"top", L"middle", L"bottom", kVAligns);
        if (code < 0)
            return E_FAIL;
        (horizontal ? m_align : m_valign) = code;
        return S_OK;
    }
    if (Is(name, L"margin"))
        return SetSides(m_margin, value, loading);
    if (Is(name, L"inset") || Is(name, L"padding"))
        return SetSides(m_padding, value, loading);
    if (Is(name, L"margin-x"))
        return SetPair(m_margin[kLeft], m_margin[kRight], value, loading);
    if (Is(name, L"margin-y"))
        return SetPair(m_margin[kTop], m_margin[kBottom], value, loading);
    static const wchar_t* const kPaddingSides[4] = {L"padding_left", L"padding_top", L"padding_right",
                                                    L"padding_bottom"};
    int side = IndexOfName(name, kPaddingSides);
    if (side >= 0) {
        m_padding[side] = ResolveNamedDimension(value.c_str());
        return S_OK;
    }
    if (Is(name, L"cursor")) {
        m_cursor = ResolveNamedString(value.c_str());
        return S_FALSE;
    }
    if (Is(name, L"dotted"))
        m_dotted = (ParseInt(value) & 1) != 0;
    else if (Is(name, L"trackMouseEvent"))
        m_trackMouseEvent = (ParseInt(value) & 1) != 0;
    else if (Is(name, L"bkgndBlend"))
        m_bkgndBlend = (ParseInt(value) & 1) != 0;
    else if (Is(name, L"alpha"))
        m_alpha = static_cast<BYTE>(ParseInt(value));
    else if (Is(name, L"sepSpace"))
        m_sepSpace = static_cast<BYTE>(ParseInt(value));
    else
        return E_NOTIMPL;
    return S_OK;
}

UINT SwndStyle::GetDrawTextFormat() const
{
    if (m_textMode)
        return static_cast<UINT>(m_textMode);
    UINT format = 0;
    if (m_align == kAlignCenter)
        format |= DT_CENTER;
    else if (m_align == kAlignRight)
        format |= DT_RIGHT;
    if (m_valign == kVAlignMiddle)
        format |= DT_VCENTER | DT_SINGLELINE;
    else if (m_valign == kVAlignBottom)
        format |= DT_BOTTOM | DT_SINGLELINE;
    if (m_dotted)
        format |= DT_END_ELLIPSIS;
    return format;
}

UINT32 SwndStyle::GetStateTextColor(int state) const
{
    UINT32 color = m_colorText[ValidState(state)];
    return color != kColorUnset ? color : m_colorText[0];
}

IFont* SwndStyle::GetStateFont(int state) const
{
    IFont* font = m_font[ValidState(state)].GetFont();
    return font ? font : m_font[0].GetFont();
}

int SwndStyle::GetStateCount() const
{
    int fonts = 0;
    int colors = 0;
    for (int state = 1; state < kStyleStateCount; ++state) {
        if (m_font[state].GetFont())
            ++fonts;
        if (m_colorText[state] != kColorUnset)
            ++colors;
    }
    return 1 + (fonts > colors ? fonts : colors);
}

void SwndStyle::ApplyScale(int scale)
{
    m_scale = scale;
    for (SFontHolder& font : m_font)
        font.Rescale(scale);
}

RECT SwndStyle::ToPixels(const SLayoutSize sides[4], int scale)
{
    RECT rect = {sides[kLeft].ToPixels(scale), sides[kTop].ToPixels(scale), sides[kRight].ToPixels(scale),
                 sides[kBottom].ToPixels(scale)};
    return rect;
}

RECT SwndStyle::GetMarginRect() const
{
    return ToPixels(m_margin, m_scale);
}

RECT SwndStyle::GetPaddingRect() const
{
    return ToPixels(m_padding, m_scale);
}

} // namespace SKEIN
