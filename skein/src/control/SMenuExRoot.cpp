// The root of a popup-menu level: attributes shared by its items, stacking and menu size.
#include <algorithm>
#include "control/SCtrlAttr.h"
#include "control/SMenuEx.h"
#include "core/SApp.h"
#include "core/SXmlCreation.h"
#include "helper/SStringConv.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

using ctrl::Is;

namespace {

// Children wider than this (separators) do not widen the menu.
const int kWidestCountedChild = 2000;

pugi::xml_node DocumentElement(pugi::xml_node node)
{
    for (pugi::xml_node child = node.root().first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element)
            return child;
    }
    return pugi::xml_node();
}

} // namespace

SMenuExRootBase::SMenuExRootBase(SMenuExBase* ownerMenu)
    : m_itemSkin(ctrl::FindSystemSkin(kSysSkinMenuSkin, 100)), m_checkSkin(ctrl::FindSystemSkin(kSysSkinMenuCheck, 100)),
      m_arrowSkin(ctrl::FindSystemSkin(kSysSkinMenuArrow, 100)), m_sepSkin(ctrl::FindSystemSkin(kSysSkinMenuSep, 100)),
      m_itemHeight(26.0f, SLayoutSize::kDp), m_iconBarWidth(24.0f, SLayoutSize::kDp), m_textOffset(0.0f, SLayoutSize::kPx),
      m_iconX(0.0f, SLayoutSize::kPx), m_iconY(0.0f, SLayoutSize::kPx), m_minWidth(100.0f, SLayoutSize::kDp),
      m_subMenuOffset(0.0f, SLayoutSize::kPx), m_contextHelpId(0), m_ownerMenu(ownerMenu)
{
    SetLayoutByName(SStringW(L"vbox"));
}

HRESULT SMenuExRootBase::ApplySkin(SRefPtr<ISkinObj>& skin, const SStringW& value)
{
    skin = ctrl::FindSkin(value, GetScale());
    return S_FALSE;
}

HRESULT SMenuExRootBase::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    struct SizeAttribute {
        const wchar_t* name;
        SLayoutSize SMenuExRootBase::*field;
    };
    static const SizeAttribute kSizes[] = {
        {L"itemHeight", &SMenuExRootBase::m_itemHeight},     {L"iconBarWidth", &SMenuExRootBase::m_iconBarWidth},
        {L"textOffset", &SMenuExRootBase::m_textOffset},     {L"minWidth", &SMenuExRootBase::m_minWidth},
        {L"subMenuOffset", &SMenuExRootBase::m_subMenuOffset},
    };
    struct SkinAttribute {
        const wchar_t* name;
        SRefPtr<ISkinObj> SMenuExRootBase::*field;
    };
    static const SkinAttribute kSkins[] = {
        {L"itemSkin", &SMenuExRootBase::m_itemSkin},   {L"iconSkin", &SMenuExRootBase::m_iconSkin},
        {L"checkSkin", &SMenuExRootBase::m_checkSkin}, {L"arrowSkin", &SMenuExRootBase::m_arrowSkin},
        {L"sepSkin", &SMenuExRootBase::m_sepSkin},
    };
    HRESULT result = S_FALSE;
    if (Is(name, L"iconPos")) {
        result = ApplyIconPos(value);
    } else if (Is(name, L"contextHelpId")) {
        m_contextHelpId = ctrl::ParseInt(value);
    } else {
        auto size = std::find_if(std::begin(kSizes), std::end(kSizes), [&](const SizeAttribute& a) { return Is(name, a.name); });
        auto skin = std::find_if(std::begin(kSkins), std::end(kSkins), [&](const SkinAttribute& a) { return Is(name, a.name); });
        if (size != std::end(kSizes))
            this->*(size->field) = ResolveNamedDimension(value.c_str());
        else if (skin != std::end(kSkins))
            ApplySkin(this->*(skin->field), value);
        else
            return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

SLayoutSize SMenuExRootBase::IconPosPart(const SStringW& text) const
{
    return ResolveNamedDimension(text.c_str());
}

HRESULT SMenuExRootBase::ApplyIconPos(const SStringW& value)
{
    SDynArray<SStringW> parts;
    int count = SplitByChar(value, L',', parts);
    if (count != 1 && count != 2)
        return E_INVALIDARG;
    m_iconX = IconPosPart(parts[0]);
    m_iconY = count == 2 ? IconPosPart(parts[1]) : CentredIconY();
    return S_OK;
}

// A sub-menu's root (built from an item element) takes the top root's attributes first.
BOOL SMenuExRootBase::ApplyXmlAttributes(pugi::xml_node element)
{
    pugi::xml_node top = DocumentElement(element);
    if (top && top != element)
        SWindow::ApplyXmlAttributes(top);
    return SWindow::ApplyXmlAttributes(element);
}

SMenuExItemBase* SMenuExRootBase::NewChild(bool separator)
{
    SMenuExItemBase* child = m_ownerMenu->NewItem(separator, separator ? m_sepSkin : m_itemSkin);
    if (SApplication* app = SApplication::Instance())
        app->ApplyClassDefaults(child);
    return child;
}

BOOL SMenuExRootBase::CreateChildrenFromXml(pugi::xml_node node)
{
    SXmlCreation creation(this);
    for (pugi::xml_node element = node.first_child(); element; element = element.next_sibling()) {
        bool item = wcscmp(element.name(), L"menuItem") == 0;
        if (element.type() != pugi::node_element || (!item && wcscmp(element.name(), L"sep") != 0))
            continue;
        if (!creation.AdmitElement(element))
            break;
        SMenuExItemBase* child = NewChild(!item);
        LinkChild(child);
        child->LoadFromXml(element);
    }
    return TRUE;
}

void SMenuExRootBase::GetChildAreaRect(RECT* out) const
{
    ComputeInnerRect(out);
}

void SMenuExRootBase::ArrangeChildren()
{
    RECT area;
    GetChildAreaRect(&area);
    int top = area.top;
    for (SWindow* child = GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
        int height = child->ComputePreferredSize(nullptr).cy;
        child->ApplyRect(RECT{area.left, top, area.right, top + height});
        top += height;
    }
}

SIZE SMenuExRootBase::ComputePreferredSize(const RECT*)
{
    SIZE size{0, 0};
    for (SWindow* child = GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
        SIZE part = child->ComputePreferredSize(nullptr);
        if (part.cx < kWidestCountedChild)
            size.cx = std::max<LONG>(size.cx, part.cx);
        size.cy += part.cy;
    }
    RECT margin = m_style.GetMarginRect();
    size.cx += margin.left + margin.right;
    size.cy += margin.top + margin.bottom;
    if (m_maxWidth.HasValue() && !m_maxWidth.IsWrapContent())
        size.cx = std::min<LONG>(size.cx, Pixels(m_maxWidth));
    size.cx = std::max<LONG>(size.cx, Pixels(m_minWidth));
    return size;
}

void SMenuExRootBase::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    for (SRefPtr<ISkinObj>* skin : {&m_itemSkin, &m_iconSkin, &m_checkSkin, &m_arrowSkin, &m_sepSkin})
        ctrl::RescaleSkin(*skin, scale);
}

} // namespace SKEIN
