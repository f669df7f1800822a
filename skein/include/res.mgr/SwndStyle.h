#pragma once
// The part of a window's look that is not a skin: background and border colours, text colour
// and font per state (normal, hover, pushed, disabled), margin and padding, text alignment,
// cursor name, alpha and three flags. Window attributes the window itself does not take are
// offered here; E_NOTIMPL tells the window a name is not a style attribute.
#include "core/SObject.h"
#include "interface/SSkinobj-i.h"
#include "layout/SLayoutSize.h"
#include "res.mgr/SFontPool.h"

namespace SKEIN {

enum {
    kStyleStateCount = 4,
    // align
    kAlignLeft = 0,
    kAlignCenter = 256,
    kAlignRight = 512,
    // valign
    kVAlignTop = 0,
    kVAlignMiddle = 4096,
    kVAlignBottom = 8192,
};

class SwndStyle : public SObjectImpl<IObject> {
    SKEIN_CLASS_NAME(SObjectImpl<IObject>, L"style")

public:
    SwndStyle();

    using SObjectImpl<IObject>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    // textMode when set; otherwise DT_* flags from the alignments and the dotted flag.
    UINT GetDrawTextFormat() const;
    // State 0..3; an unset state (or one out of range) gives the normal state's value.
    UINT32 GetStateTextColor(int state) const;
    IFont* GetStateFont(int state) const;
    // 1 + the larger of the number of states 1..3 with a font and with a text colour.
    int GetStateCount() const;

    // Stores the scale and fetches the fonts again at it.
    void ApplyScale(int scale);
    int GetScale() const { return m_scale; }
    // The four sizes in pixels at the style's scale.
    RECT GetMarginRect() const;
    RECT GetPaddingRect() const;

    UINT32 GetBkgndColor() const { return m_colorBkgnd; }
    UINT32 GetBorderColor() const { return m_colorBorder; }
    const SStringW& GetCursor() const { return m_cursor; }
    BYTE GetAlpha() const { return m_alpha; }
    BYTE GetSepSpace() const { return m_sepSpace; }
    bool IsDotted() const { return m_dotted; }
    bool IsTrackMouseEvent() const { return m_trackMouseEvent; }
    bool IsBkgndBlend() const { return m_bkgndBlend; }
    int GetAlign() const { return m_align; }
    int GetVAlign() const { return m_valign; }

private:
    enum { kLeft, kTop, kRight, kBottom };

    HRESULT SetColor(UINT32& color, const SStringW& value);
    HRESULT SetFont(int state, const SStringW& value);
    // 1, 2 or 4 sizes: all sides; left and right, top and bottom; each side. Other counts
    // change nothing.
    static HRESULT SetSides(SLayoutSize sides[4], const SStringW& value, BOOL loading);
    static HRESULT SetPair(SLayoutSize& first, SLayoutSize& second, const SStringW& value, BOOL loading);
    static RECT ToPixels(const SLayoutSize sides[4], int scale);
    static int ParseInt(const SStringW& value);

    UINT32 m_colorBkgnd;
    UINT32 m_colorBorder;
    SStringW m_cursor;
    BYTE m_alpha;
    BYTE m_sepSpace;
    bool m_dotted;
    bool m_trackMouseEvent;
    bool m_bkgndBlend;
    SLayoutSize m_margin[4];
    SLayoutSize m_padding[4];
    int m_textMode;
    int m_align;
    int m_valign;
    UINT32 m_colorText[kStyleStateCount];
    SFontHolder m_font[kStyleStateCount];
    int m_scale;
};

} // namespace SKEIN
