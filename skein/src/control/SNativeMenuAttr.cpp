// The look of a native menu.
#include "control/SCtrlAttr.h"
#include "control/SNativeMenu.h"
#include "helper/SStringConv.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

COLORREF OpaqueSysColor(int index)
{
    return 0xFF000000u | ::GetSysColor(index);
}

} // namespace

SMenuAttr::SMenuAttr()
    : m_itemSkin(ctrl::FindSystemSkin(kSysSkinMenuSkin, 100)),
      m_sepSkin(ctrl::FindSystemSkin(kSysSkinMenuSep, 100)),
      m_checkSkin(ctrl::FindSystemSkin(kSysSkinMenuCheck, 100)),
      m_itemHeight(SLayoutSize::kUnspecified, SLayoutSize::DefaultUnit()),
      m_iconMargin(2.0f, SLayoutSize::DefaultUnit()),
      m_textMargin(5.0f, SLayoutSize::DefaultUnit()),
      m_colorText(OpaqueSysColor(COLOR_MENUTEXT)),
      m_colorTextSel(OpaqueSysColor(COLOR_HIGHLIGHTTEXT)),
      m_colorTextGray(OpaqueSysColor(COLOR_GRAYTEXT)),
      m_iconSize{SLayoutSize(16.0f, SLayoutSize::DefaultUnit()), SLayoutSize(16.0f, SLayoutSize::DefaultUnit())},
      m_maxWidth(SLayoutSize::kUnspecified, SLayoutSize::DefaultUnit()),
      m_scale(100)
{
}

HRESULT SMenuAttr::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"itemSkin") || Is(name, L"iconSkin") || Is(name, L"sepSkin") || Is(name, L"checkSkin")) {
        SRefPtr<ISkinObj>& skin = Is(name, L"itemSkin")  ? m_itemSkin
                                  : Is(name, L"iconSkin") ? m_iconSkin
                                  : Is(name, L"sepSkin")  ? m_sepSkin
                                                          : m_checkSkin;
        skin = ctrl::FindSkin(value, m_scale);
    } else if (Is(name, L"itemHeight")) {
        m_itemHeight = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"iconMargin")) {
        m_iconMargin = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"textMargin")) {
        m_textMargin = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"maxWidth")) {
        m_maxWidth = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"iconSize")) {
        SDynArray<SStringW> pieces;
        if (SplitByChar(value, L',', pieces) != 2)
            return E_INVALIDARG;
        m_iconSize[0] = ResolveNamedDimension(pieces[0].c_str());
        m_iconSize[1] = ResolveNamedDimension(pieces[1].c_str());
    } else if (Is(name, L"font")) {
        m_font.Assign(value, m_scale);
    } else if (Is(name, L"colorText") || Is(name, L"colorTextSel") || Is(name, L"cororTextGray")) {
        COLORREF& color = Is(name, L"colorText") ? m_colorText : Is(name, L"colorTextSel") ? m_colorTextSel : m_colorTextGray;
        if (!ctrl::ParseColor(value, &color))
            return E_FAIL;
    } else if (Is(name, L"trCtx")) {
        m_trCtx = value;
    } else {
        return SObjectImpl<IObject>::ApplyAttribute(name, value, loading);
    }
    return S_FALSE;
}

void SMenuAttr::OnXmlInitDone(pugi::xml_node)
{
    if (!m_itemHeight.HasValue())
        m_itemHeight.Assign(static_cast<float>(ctrl::SkinSize(m_itemSkin).cy), SLayoutSize::kDp);
}

void SMenuAttr::SetScale(int scale)
{
    if (scale == m_scale)
        return;
    m_scale = scale;
    m_font.Rescale(scale);
    for (SRefPtr<ISkinObj>* skin : {&m_itemSkin, &m_iconSkin, &m_sepSkin, &m_checkSkin})
        ctrl::RescaleSkin(*skin, scale);
}

IFont* SMenuAttr::MenuFont() const
{
    if (IFont* font = m_font.GetFont())
        return font;
    SFontPool* pool = SFontPool::Instance();
    return pool ? pool->ObtainFont(L"", m_scale) : nullptr;
}

} // namespace SKEIN
