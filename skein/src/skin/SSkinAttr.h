#pragma once
// Attribute readers and drawing helpers shared by the skin classes.
#include <windows.h>
#include "core/SString.h"
#include "interface/SRender-i.h"
#include "layout/SLayoutSize.h"

namespace SKEIN {

// Decimal, or hexadecimal with a "0x" prefix.
int SkinAttrInt(const SStringW& text);
// Read with "%f"; 0 when nothing parses.
float SkinAttrFloat(const SStringW& text);
// A colour through the named values (0x00FFFFFF when it doesn't parse); false for an empty text.
bool SkinAttrColor(const SStringW& text, COLORREF* color);
// "@string/" references resolved.
SStringW SkinAttrString(const SStringW& text);
// A size through the named dimensions.
SLayoutSize SkinAttrDimension(const SStringW& text);
// Equal ignoring case.
inline bool SkinAttrIs(const SStringW& name, const wchar_t* wanted)
{
    return name.CompareIgnoringCase(wanted) == 0;
}
// Alpha of a solid colour scaled by the skin's alpha (unchanged at 255).
inline COLORREF SkinAlphaColor(COLORREF color, BYTE alpha)
{
    if (alpha == 255)
        return color;
    UINT32 scaled = ((color >> 24) * alpha) >> 8;
    return (color & 0x00FFFFFFu) | (scaled << 24);
}


// Corner radius: cornerPercent of the shorter side when set, else the fixed radius.
inline int SkinCornerRadius(const RECT* rect, float percent, int radius)
{
    if (percent > 0.0f) {
        int width = rect->right - rect->left;
        int height = rect->bottom - rect->top;
        return static_cast<int>(percent * static_cast<float>(width < height ? width : height));
    }
    return radius;
}


// A pen selected into a render target for the scope's lifetime.
class SSkinPenScope {
public:
    SSkinPenScope(IRenderTarget* rt, int style, COLORREF color, int width) : m_rt(rt), m_previous(nullptr)
    {
        IPen* pen = nullptr;
        if (SUCCEEDED(rt->CreatePen(style, color, width, &pen)) && pen) {
            rt->SelectObject(pen, &m_previous);
            pen->Release();
        }
    }
    ~SSkinPenScope()
    {
        if (m_previous) {
            m_rt->SelectObject(m_previous, nullptr);
            m_previous->Release();
        }
    }
    SSkinPenScope(const SSkinPenScope&) = delete;
    SSkinPenScope& operator=(const SSkinPenScope&) = delete;

private:
    IRenderTarget* m_rt;
    IRenderObj* m_previous;
};

} // namespace SKEIN
