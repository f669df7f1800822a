// Items and separators of a popup-menu level: attributes, sizes, sub-menu and painting.
#include <algorithm>
#include "control/SCtrlAttr.h"
#include "control/SMenuEx.h"
#include "layout/SLayout-i.h"

namespace SKEIN {

using ctrl::Is;

namespace {

// The vertical position of an iconPos given as one value: the icon is centred.
const int kCentredIcon = -1000;

bool IsMenuElement(pugi::xml_node element)
{
    return element.type() == pugi::node_element
           && (wcscmp(element.name(), L"menuItem") == 0 || wcscmp(element.name(), L"sep") == 0);
}

// Marks (or clears) the nested items and separators so the window tree leaves them out.
void SkipMenuElements(pugi::xml_node node, bool skip)
{
    for (pugi::xml_node element = node.first_child(); element; element = element.next_sibling()) {
        if (IsMenuElement(element))
            SXmlFlags::SetSkipped(element, skip);
    }
}

} // namespace

SMenuExItemBase::SMenuExItemBase(SMenuExBase* ownerMenu, ISkinObj* skin, bool separator)
    : m_subMenu(nullptr), m_ownerMenu(ownerMenu), m_iconIndex(-1), m_check(0), m_radio(0), m_hotKey(0),
      m_separator(separator)
{
    m_skin = skin;
    m_style.ApplyAttribute(SStringW(L"trackMouseEvent"), SStringW(L"1"), TRUE);
    m_style.ApplyAttribute(SStringW(L"align"), SStringW(L"left"), TRUE);
    if (separator) {
        m_state |= kStateDisabled;
        m_flags |= kWndDisabled;
    }
}

SMenuExItemBase::~SMenuExItemBase()
{
    if (m_subMenu)
        m_subMenu->Release();
}

void SMenuExItemBase::AdoptSubMenu(SMenuExBase* subMenu)
{
    if (m_subMenu)
        subMenu->Release();
    else
        m_subMenu = subMenu;
}

SMenuExRootBase* SMenuExItemBase::Root() const
{
    return m_ownerMenu->Root();
}

HRESULT SMenuExItemBase::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_OK;
    if (Is(name, L"icon"))
        m_iconIndex = ctrl::ParseInt(value);
    else if (Is(name, L"check"))
        m_check = ctrl::ParseInt(value);
    else if (Is(name, L"radio"))
        m_radio = ctrl::ParseInt(value);
    else if (!Is(name, L"hotKey"))
        return SWindow::ApplyAttribute(name, value, loading);
    else {
        m_hotKey = value.Length() > 0 ? value.c_str()[0] : 0;
        result = S_FALSE;
    }
    return AfterAttribute(name, value, loading, result);
}

// Nested "menuItem" elements build the sub-menu rather than child windows.
BOOL SMenuExItemBase::CreateChildrenFromXml(pugi::xml_node node)
{
    SkipMenuElements(node, true);
    SWindow::CreateChildrenFromXml(node);
    SkipMenuElements(node, false);
    bool hasSubItems = false;
    for (pugi::xml_node element = node.first_child(); element && !hasSubItems; element = element.next_sibling())
        hasSubItems = element.type() == pugi::node_element && _wcsicmp(element.name(), L"menuItem") == 0;
    if (hasSubItems && !m_subMenu) {
        m_subMenu = m_ownerMenu->NewSubMenu(this);
        m_subMenu->BuildMenu(node);
    }
    return TRUE;
}

SIZE SMenuExItemBase::ComputePreferredSize(const RECT* available)
{
    if (!TestVisible(FALSE))
        return SIZE{0, 0};
    SMenuExRootBase* root = Root();
    bool fixedWidth = m_layoutParam && m_layoutParam->IsSpecifiedSize(kOrientHorz);
    bool fixedHeight = m_layoutParam && m_layoutParam->IsSpecifiedSize(kOrientVert);
    int fixed = fixedHeight ? m_layoutParam->GetSpecifiedSize(kOrientVert).ToPixels(GetScale()) : 0;
    RECT margin = m_style.GetMarginRect();
    if (m_separator) {
        int height = fixed;
        if (!fixedHeight && root && root->m_sepSkin)
            height = std::max<int>(1, root->m_sepSkin->GetSkinSize().cy);
        return SIZE{10000, height + margin.top + margin.bottom};
    }
    SIZE size = SWindow::ComputePreferredSize(available);
    if (!root)
        return size;
    if (!fixedWidth) {
        size.cx += root->Pixels(root->m_iconBarWidth) + root->Pixels(root->m_textOffset);
        if (m_subMenu)
            size.cx += ctrl::SkinSize(root->m_arrowSkin).cx;
    }
    size.cy = fixedHeight ? fixed : root->Pixels(root->m_itemHeight);
    return size;
}

void SMenuExItemBase::ComputeTextRect(RECT* out) const
{
    GetInnerRect(out);
    SMenuExRootBase* root = Root();
    if (!root)
        return;
    out->left += root->Pixels(root->m_iconBarWidth) + root->Pixels(root->m_textOffset);
    if (m_subMenu)
        out->right -= ctrl::SkinSize(root->m_arrowSkin).cx;
}

BOOL SMenuExItemBase::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    IRenderTarget* rt = reinterpret_cast<IRenderTarget*>(wParam);
    if (msg == WM_ERASEBKGND) {
        PaintItemBackground(rt);
        *result = 1;
        return TRUE;
    }
    if (msg == WM_PAINT) {
        if (!m_separator)
            PaintItem(rt);
        *result = 0;
        return TRUE;
    }
    return SWindow::HandleMessage(msg, wParam, lParam, result);
}

void SMenuExItemBase::PaintItemBackground(IRenderTarget* rt)
{
    if (!m_skin)
        return;
    RECT inner;
    ComputeInnerRect(&inner);
    int state = 0;
    if (!m_separator) {
        if (m_state & kStateDisabled)
            state = 2;
        else if (m_state & (kStateChecked | kStatePushed | kStateHover))
            state = 1;
    }
    m_skin->DrawByState(rt, &inner, state < m_skin->GetStateCount() ? state : 0);
}

void SMenuExItemBase::PaintItem(IRenderTarget* rt)
{
    DrawTextContent(rt);
    SMenuExRootBase* root = Root();
    if (!root)
        return;
    RECT inner;
    ComputeInnerRect(&inner);
    PaintSymbol(rt, inner);
    ISkinObj* arrow = root->m_arrowSkin;
    if (!m_subMenu || !arrow)
        return;
    SIZE size = arrow->GetSkinSize();
    int top = (inner.top + inner.bottom - size.cy) / 2;
    RECT rect{inner.right - size.cx, top, inner.right, top + size.cy};
    arrow->DrawByState(rt, &rect, (m_state & kStateHover) ? 1 : 0);
}

// The check or radio symbol, else the icon, in the icon column.
void SMenuExItemBase::PaintSymbol(IRenderTarget* rt, const RECT& inner)
{
    SMenuExRootBase* root = Root();
    ISkinObj* skin = root->m_iconSkin;
    int state = m_iconIndex;
    if (m_check || m_radio) {
        skin = root->m_checkSkin;
        state = !m_radio ? 0 : (m_check ? 1 : 2);
    }
    if (!skin || state < 0)
        return;
    SIZE size = skin->GetSkinSize();
    int left = inner.left + root->Pixels(root->m_iconX);
    int y = root->Pixels(root->m_iconY);
    int top = y == kCentredIcon ? (inner.top + inner.bottom - size.cy) / 2 : inner.top + y;
    RECT rect{left, top, left + size.cx, top + size.cy};
    skin->DrawByState(rt, &rect, state);
}

} // namespace SKEIN
