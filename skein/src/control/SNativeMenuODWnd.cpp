// Measuring and drawing the items of a running native menu.
#include "control/SCtrlAttr.h"
#include "control/SNativeMenu.h"
#include "core/SApp.h"

namespace SKEIN {

namespace {

const UINT kReflectBase = 0x2000;
const int kSeparatorHeight = 3;
const UINT kItemTextFormat = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;

SRefPtr<IRenderTarget> NewTarget(int width, int height)
{
    SApplication* app = SApplication::Instance();
    IRenderTarget* rt = nullptr;
    if (!app || !app->RenderFactory() || !app->RenderFactory()->CreateRenderTarget(&rt, width, height))
        return SRefPtr<IRenderTarget>();
    return SRefPtr<IRenderTarget>(rt, false);
}

bool IsOwnerDraw(UINT msg, UINT expected)
{
    return msg == expected || msg == expected + kReflectBase;
}

// Selects a font for the scope; nothing for null.
class SFontScope {
public:
    SFontScope(IRenderTarget* rt, IFont* font) : m_rt(rt), m_previous(nullptr), m_selected(font != nullptr)
    {
        if (m_selected)
            m_rt->SelectObject(font, &m_previous);
    }
    ~SFontScope()
    {
        if (!m_selected)
            return;
        m_rt->SelectObject(m_previous, nullptr);
        if (m_previous)
            m_previous->Release();
    }

private:
    IRenderTarget* m_rt;
    IRenderObj* m_previous;
    bool m_selected;
};

bool IsRadioItem(HMENU menu, UINT id)
{
    MENUITEMINFOW info = {sizeof(info), MIIM_FTYPE};
    return ::GetMenuItemInfoW(menu, id, FALSE, &info) && (info.fType & MFT_RADIOCHECK);
}

} // namespace

BOOL SMenuODWnd::HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    result = 0;
    switch (msg) {
    case WM_INITMENU:
    case WM_INITMENUPOPUP:
    case WM_MENUSELECT:
        ::SendMessageW(m_owner, msg, wParam, lParam);
        return TRUE;
    case WM_DELETEITEM: result = 1; return TRUE;
    case WM_COMPAREITEM: return TRUE;
    case WM_MENUCHAR:
        result = OnMenuChar(static_cast<wchar_t>(LOWORD(wParam)), reinterpret_cast<HMENU>(lParam));
        return TRUE;
    default: break;
    }
    if (IsOwnerDraw(msg, WM_MEASUREITEM)) {
        MEASUREITEMSTRUCT* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType != ODT_MENU || !m_attr)
            return FALSE;
        OnMeasureItem(mis);
        result = TRUE;
        return TRUE;
    }
    if (IsOwnerDraw(msg, WM_DRAWITEM)) {
        const DRAWITEMSTRUCT* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType != ODT_MENU || !m_attr)
            return FALSE;
        OnDrawItem(dis);
        result = TRUE;
        return TRUE;
    }
    return FALSE;
}

int SMenuODWnd::MeasureTextWidth(const SStringW& text)
{
    if (!m_measure)
        m_measure = NewTarget(1, 1);
    if (!m_measure)
        return 0;
    SFontScope font(m_measure, m_attr->MenuFont());
    SIZE size = {0, 0};
    m_measure->MeasureText(text.c_str(), text.Length(), &size);
    return size.cx;
}

void SMenuODWnd::OnMeasureItem(MEASUREITEMSTRUCT* mis)
{
    const SNativeMenuItemData* data = reinterpret_cast<const SNativeMenuItemData*>(mis->itemData);
    if (!data) {
        mis->itemWidth = 0;
        mis->itemHeight = m_attr->m_sepSkin ? ctrl::SkinSize(m_attr->m_sepSkin).cy : kSeparatorHeight;
        return;
    }
    const SMenuAttr& attr = *m_attr;
    mis->itemHeight = attr.Px(attr.m_itemHeight);
    int width = 2 * attr.Px(attr.m_iconMargin) + attr.Px(attr.m_iconSize[0]) + MeasureTextWidth(data->text) +
                2 * attr.Px(attr.m_textMargin);
    if (attr.m_maxWidth.HasValue() && attr.Px(attr.m_maxWidth) < width)
        width = attr.Px(attr.m_maxWidth);
    mis->itemWidth = width;
}

void SMenuODWnd::OnDrawItem(const DRAWITEMSTRUCT* dis)
{
    SIZE size = {dis->rcItem.right - dis->rcItem.left, dis->rcItem.bottom - dis->rcItem.top};
    if (size.cx <= 0 || size.cy <= 0)
        return;
    SRefPtr<IRenderTarget> rt = NewTarget(size.cx, size.cy);
    if (!rt)
        return;
    DrawItem(rt, dis, reinterpret_cast<const SNativeMenuItemData*>(dis->itemData), size);
    HDC source = rt->GetDC(0);
    ::BitBlt(dis->hDC, dis->rcItem.left, dis->rcItem.top, size.cx, size.cy, source, 0, 0, SRCCOPY);
    rt->ReleaseDC(source);
}

void SMenuODWnd::DrawItem(IRenderTarget* rt, const DRAWITEMSTRUCT* dis, const SNativeMenuItemData* data, SIZE size)
{
    const SMenuAttr& attr = *m_attr;
    RECT whole = {0, 0, size.cx, size.cy};
    if (!data) {
        if (attr.m_sepSkin)
            attr.m_sepSkin->DrawByState(rt, &whole, 0);
        return;
    }
    bool selected = (dis->itemState & ODS_SELECTED) != 0;
    if (attr.m_itemSkin)
        attr.m_itemSkin->DrawByState(rt, &whole, selected ? 1 : 0);

    int iconLeft = attr.Px(attr.m_iconMargin);
    SIZE icon = {attr.Px(attr.m_iconSize[0]), attr.Px(attr.m_iconSize[1])};
    RECT iconBox = {iconLeft, (size.cy - icon.cy) / 2, iconLeft + icon.cx, (size.cy - icon.cy) / 2 + icon.cy};
    if (dis->itemState & ODS_CHECKED) {
        if (attr.m_checkSkin) {
            bool radio = IsRadioItem(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID);
            attr.m_checkSkin->DrawByState(rt, &iconBox, radio ? 1 : 0);
        }
    } else if (data->icon != -1 && attr.m_iconSkin) {
        attr.m_iconSkin->DrawByState(rt, &iconBox, data->icon);
    }

    int textMargin = attr.Px(attr.m_textMargin);
    RECT textBox = {2 * iconLeft + icon.cx + textMargin, 0, size.cx - textMargin, size.cy};
    COLORREF color = (dis->itemState & ODS_GRAYED) ? attr.m_colorTextGray : selected ? attr.m_colorTextSel : attr.m_colorText;
    {
        SFontScope font(rt, attr.MenuFont());
        rt->SetTextColor(color);
        rt->DrawText(data->text.c_str(), data->text.Length(), &textBox, kItemTextFormat);
    }

    if (selected && attr.m_itemSkin && attr.m_itemSkin->GetStateCount() > 2)
        attr.m_itemSkin->DrawByState(rt, &whole, 2);
}

LRESULT SMenuODWnd::OnMenuChar(wchar_t ch, HMENU menu) const
{
    wchar_t typed = static_cast<wchar_t>(towlower(ch));
    int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {sizeof(info), MIIM_DATA | MIIM_STATE};
        if (!::GetMenuItemInfoW(menu, i, TRUE, &info) || (info.fState & MFS_DISABLED))
            continue;
        const SNativeMenuItemData* data = reinterpret_cast<const SNativeMenuItemData*>(info.dwItemData);
        if (data && data->accel && data->accel == typed)
            return MAKELRESULT(i, MNC_EXECUTE);
    }
    return 0;
}

} // namespace SKEIN
