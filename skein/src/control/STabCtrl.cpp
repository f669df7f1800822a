// STabCtrl and STabPage: pages, header strip, selection, keys and mouse.
#include "control/STabCtrl.h"
#include <algorithm>
#include "core/SApp.h"
#include "core/SEvents.h"
#include "core/SXmlCreation.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"
#include "SPanelUtil.h"

namespace SKEIN {

using namespace ctrl;

namespace {

const COLORREF kTabFocusFrameColor = 0xFF585858;

// Text format bits kept when only one axis of the text offset is given.
const UINT kKeepHorizontal = 0x8023; // DT_CENTER | DT_RIGHT | DT_SINGLELINE | DT_END_ELLIPSIS
const UINT kKeepVertical = 0x802C;   // DT_VCENTER | DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS

} // namespace

// ---- page ----

STabPage::STabPage() : m_tabs(nullptr), m_title(this), m_iconIndex(-1)
{
    m_flags &= ~kWndVisible;
}

BOOL STabPage::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg == WM_DESTROY && m_tabs)
        m_tabs->RemoveItem(this);
    return SWindow::HandleMessage(msg, wParam, lParam, result);
}

HRESULT STabPage::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"title"))
        m_title.SetSource(ResolveNamedString(value.c_str()));
    else if (Is(name, L"iconIndex"))
        m_iconIndex = ParseInt(value);
    else
        return SWindow::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_FALSE);
}

// ---- tab control: attributes ----

STabCtrl::STabCtrl()
    : m_hoverItem(-1), m_curSel(-1), m_tabWidth(-1.0f, 0), m_tabHeight(-1.0f, 0),
      m_tabSkin(FindSystemSkin(kSysSkinTabPage, 100)), m_textX(-1.0f, 0), m_textY(-1.0f, 0),
      m_tabAlign(kAlignTop), m_slider(nullptr), m_textDir(0), m_animateSteps(0), m_animateType(0)
{
    if (SApplication* app = SApplication::Instance())
        m_interpolator.Attach(app->CreateInterpolatorByName(L"Linear"));
    m_flags |= kWndFocusable;
    m_eventSet.DeclareEvent(EventTabSelChanging::EventID, EventTabSelChanging::EventName());
    m_eventSet.DeclareEvent(EventTabSelChanged::EventID, EventTabSelChanged::EventName());
    m_eventSet.DeclareEvent(EventTabItemHover::EventID, EventTabItemHover::EventName());
    m_eventSet.DeclareEvent(EventTabItemLeave::EventID, EventTabItemLeave::EventName());
}

BOOL STabCtrl::ReplaceInterpolator(const SStringW& className)
{
    SApplication* app = SApplication::Instance();
    IInterpolator* created = app ? app->CreateInterpolatorByName(className.c_str()) : nullptr;
    if (!created)
        return FALSE;
    m_interpolator.Attach(created);
    return TRUE;
}

HRESULT STabCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    static const wchar_t* const kAligns[] = {L"top", L"left", L"bottom", L"right"};
    static const wchar_t* const kDirs[] = {L"hori", L"horizontal", L"vert", L"vertical"};
    HRESULT result = S_FALSE;
    if (Is(name, L"curSel")) {
        m_curSel = ParseInt(value);
    } else if (Is(name, L"tabSize")) {
        if (!ParseDimensionPair(value, m_tabWidth, m_tabHeight))
            return E_INVALIDARG;
        result = S_OK;
    } else if (Is(name, L"tabWidth") || Is(name, L"tabHeight") || Is(name, L"tabPos") || Is(name, L"tabInterSize")) {
        SLayoutSize& size = Is(name, L"tabWidth")    ? m_tabWidth
                            : Is(name, L"tabHeight") ? m_tabHeight
                            : Is(name, L"tabPos")    ? m_tabPos
                                                     : m_tabInterSize;
        size = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"tabSkin") || Is(name, L"iconSkin") || Is(name, L"tabInterSkin") || Is(name, L"frameSkin")) {
        SRefPtr<ISkinObj>& skin = Is(name, L"tabSkin")    ? m_tabSkin
                                  : Is(name, L"iconSkin") ? m_iconSkin
                                  : Is(name, L"tabInterSkin") ? m_tabInterSkin
                                                              : m_frameSkin;
        skin = FindSkin(value, GetScale());
    } else if (Is(name, L"icon-x") || Is(name, L"icon-y") || Is(name, L"text-x") || Is(name, L"text-y")) {
        SLayoutSize& size = Is(name, L"icon-x")   ? m_iconX
                            : Is(name, L"icon-y") ? m_iconY
                            : Is(name, L"text-x") ? m_textX
                                                  : m_textY;
        size = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"tabAlign")) {
        int align = ParseWord(value, kAligns, 4);
        if (align < 0)
            return E_FAIL;
        m_tabAlign = align;
        result = S_OK;
    } else if (Is(name, L"textDir")) {
        int dir = ParseWord(value, kDirs, 4);
        if (dir < 0)
            return E_FAIL;
        m_textDir = dir / 2;
        result = S_OK;
    } else if (Is(name, L"animateSteps")) {
        m_animateSteps = ParseInt(value);
    } else if (Is(name, L"animateType")) {
        m_animateType = ParseInt(value);
    } else if (Is(name, L"interpolator")) {
        if (!ReplaceInterpolator(value))
            return E_FAIL;
    } else {
        IObject* curve = dynamic_cast<IObject*>(m_interpolator.Get());
        HRESULT taken = curve ? curve->ApplyAttribute(name, value, loading) : E_FAIL;
        return SUCCEEDED(taken) ? taken : SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

void STabCtrl::OnXmlInitDone(pugi::xml_node element)
{
    SWindow::OnXmlInitDone(element);
    SIZE size = SkinSize(m_tabSkin);
    if (m_tabWidth.IsWrapContent())
        m_tabWidth = SLayoutSize(static_cast<float>(size.cx), 0);
    if (m_tabHeight.IsWrapContent())
        m_tabHeight = SLayoutSize(static_cast<float>(size.cy), 0);
}

void STabCtrl::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    for (ISkinObj* skin : {m_tabSkin.Get(), m_iconSkin.Get(), m_tabInterSkin.Get(), m_frameSkin.Get()}) {
        if (skin)
            skin->ApplyColorize(color);
    }
}

void STabCtrl::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    for (SRefPtr<ISkinObj>* skin : {&m_tabSkin, &m_iconSkin, &m_tabInterSkin, &m_frameSkin})
        RescaleSkin(*skin, scale);
}

int STabCtrl::RetranslateTexts()
{
    SWindow::RetranslateTexts();
    for (int i = 0; i < m_pages.Count(); ++i)
        m_pages[i]->RetranslateTitle();
    RECT title;
    GetTitleRect(&title);
    InvalidateArea(&title);
    return 3;
}

// ---- pages ----

STabPage* STabCtrl::CreatePageFromXml(pugi::xml_node node)
{
    SApplication* app = SApplication::Instance();
    if (!app || wcscmp(node.name(), L"page") != 0)
        return nullptr;
    IObject* created = app->CreateWindowByName(node.name());
    STabPage* page = dynamic_cast<STabPage*>(created);
    if (!page)
        delete created;
    return page;
}

int STabCtrl::InsertItem(pugi::xml_node node, int index, BOOL loading)
{
    STabPage* page = CreatePageFromXml(node);
    if (!page)
        return -1;
    LinkChild(page);
    if (!page->LoadFromXml(node))
        return -1; // the page refused its creation and is gone already
    if (ILayoutParam* param = page->GetLayoutParam())
        param->SetMatchParent(kOrientBoth);
    if (index < 0 || index > m_pages.Count())
        index = m_pages.Count();
    m_pages.InsertRepeated(index, page, 1);
    page->m_tabs = this;
    // Only the selected page shows, whatever the page's XML says.
    page->ChangeVisibility(FALSE, FALSE);
    if (!loading) {
        RECT area;
        GetChildAreaRect(&area);
        page->ApplyRect(area);
        if (m_curSel >= index)
            ++m_curSel;
        RECT title;
        GetTitleRect(&title);
        InvalidateArea(&title);
        if (m_curSel == -1)
            SelectPage(index);
    }
    OnItemInserted(page);
    return index;
}

int STabCtrl::InsertItemFromText(const wchar_t* xml, int index)
{
    pugi::xml_document document;
    if (!xml || !document.load_string(xml))
        return -1;
    pugi::xml_node element = document.first_child();
    while (element && element.type() != pugi::node_element)
        element = element.next_sibling();
    return element ? InsertItem(element, index, FALSE) : -1;
}

BOOL STabCtrl::CreateChildrenFromXml(pugi::xml_node node)
{
    SXmlCreation creation(this);
    for (pugi::xml_node element = node.first_child(); element; element = element.next_sibling()) {
        if (element.type() != pugi::node_element)
            continue;
        if (!creation.AdmitElement(element))
            break;
        InsertItem(element, -1, TRUE);
    }
    if (m_curSel < 0 || m_curSel >= m_pages.Count())
        m_curSel = m_pages.Count() ? 0 : -1;
    if (m_curSel >= 0)
        m_pages[m_curSel]->ChangeVisibility(TRUE, FALSE);
    return TRUE;
}

STabPage* STabCtrl::PageAt(int index) const
{
    return index >= 0 && index < m_pages.Count() ? m_pages[index] : nullptr;
}

void STabCtrl::RemoveAllItems()
{
    StopSlide();
    m_curSel = -1; // nothing to pass the selection to
    while (m_pages.Count() > 0) {
        STabPage* page = m_pages[m_pages.Count() - 1];
        RemoveItem(page);
        DestroyChild(page);
    }
    m_hoverItem = -1;
}

bool STabCtrl::RemoveItem(STabPage* page)
{
    int index = m_pages.Find(page);
    if (index < 0)
        return false;
    m_pages.RemoveAt(index);
    page->m_tabs = nullptr;
    if (m_hoverItem == index)
        m_hoverItem = -1;
    else if (m_hoverItem > index)
        --m_hoverItem;
    bool selected = index == m_curSel;
    if (selected)
        m_curSel = -1;
    else if (m_curSel > index)
        --m_curSel;
    // The slide may show the page that goes.
    StopSlide();
    RECT title;
    GetTitleRect(&title);
    InvalidateArea(&title);
    if (selected) {
        page->ChangeVisibility(FALSE, TRUE); // it stays a child, out of sight
        SelectAfterRemoval(index);
    }
    OnItemRemoved(page);
    // Another header may now be under the mouse: the tip follows it.
    if (m_container && m_container->GetHover() == m_handle)
        m_container->UpdateTooltip();
    return true;
}

// The page now at index, or the last one, is selected. Refusing it cannot keep the old page,
// which went: while pages are left one is selected.
void STabCtrl::SelectAfterRemoval(int index)
{
    if (SelectPage(std::min(index, m_pages.Count() - 1)) || m_curSel >= 0)
        return;
    // Refused, or a subscriber removed pages meanwhile.
    int next = std::min(index, m_pages.Count() - 1);
    if (next >= 0)
        ApplySelection(-1, next);
}

// ---- geometry ----

int STabCtrl::Px(const SLayoutSize& size) const
{
    return std::max(0, size.ToPixels(GetScale()));
}

void STabCtrl::GetTitleRect(RECT* out) const
{
    SWindow::ComputeInnerRect(out);
    switch (m_tabAlign) {
    case kAlignLeft: out->right = out->left + TabWidth(); break;
    case kAlignBottom: out->top = out->bottom - TabHeight(); break;
    case kAlignRight: out->left = out->right - TabWidth(); break;
    default: out->bottom = out->top + TabHeight(); break;
    }
}

BOOL STabCtrl::GetItemRect(int index, RECT* out) const
{
    if (index < 0 || index >= m_pages.Count())
        return FALSE;
    RECT title;
    GetTitleRect(&title);
    RECT item{title.left, title.top, title.left + TabWidth(), title.top + TabHeight()};
    if (IsVerticalStrip())
        ::OffsetRect(&item, 0, index * (TabHeight() + Px(m_tabInterSize)) + Px(m_tabPos));
    else
        ::OffsetRect(&item, index * (TabWidth() + Px(m_tabInterSize)) + Px(m_tabPos), 0);
    if (!::IntersectRect(out, &item, &title))
        *out = RECT{0, 0, 0, 0};
    return TRUE;
}

void STabCtrl::GetChildAreaRect(RECT* out) const
{
    SWindow::GetChildAreaRect(out);
    switch (m_tabAlign) {
    case kAlignLeft: out->left += TabWidth(); break;
    case kAlignBottom: out->bottom -= TabHeight(); break;
    case kAlignRight: out->right -= TabWidth(); break;
    default: out->top += TabHeight(); break;
    }
}

void STabCtrl::ArrangeChildren()
{
    RECT area;
    GetChildAreaRect(&area);
    for (int i = 0; i < m_pages.Count(); ++i)
        m_pages[i]->ApplyRect(area);
    // The slide's surface fits the old child area only.
    if (m_slider && !::EqualRect(&m_slider->GetWindowRect(), &area))
        StopSlide();
}

int STabCtrl::HitTest(POINT pt) const
{
    for (int i = 0; i < m_pages.Count(); ++i) {
        RECT item;
        if (GetItemRect(i, &item) && ::PtInRect(&item, pt))
            return i;
    }
    return -1;
}

void STabCtrl::InvalidateItem(int index)
{
    RECT item;
    if (GetItemRect(index, &item) && !::IsRectEmpty(&item))
        InvalidateArea(&item);
}

// ---- selection ----

void STabCtrl::StopSlide()
{
    STabSlider* slider = m_slider;
    if (!slider)
        return;
    m_slider = nullptr;
    DestroyChild(slider);
    if (STabPage* page = PageAt(m_curSel)) {
        page->ChangeVisibility(TRUE, FALSE);
        page->InvalidateArea();
    }
}

BOOL STabCtrl::SelectPage(int index)
{
    if (index < 0 || index >= m_pages.Count() || index == m_curSel)
        return FALSE;
    int old = m_curSel;
    STabPage* target = m_pages[index];
    EventTabSelChanging changing(this);
    changing.oldSel = old;
    changing.newSel = index;
    RaiseEvent(changing);
    // A subscriber may also have removed pages or moved the selection.
    if (changing.cancel || m_curSel != old || PageAt(index) != target)
        return FALSE;
    ApplySelection(old, index);
    return TRUE;
}

void STabCtrl::ApplySelection(int old, int index)
{
    InvalidateItem(old);
    StopSlide();
    if (m_animateSteps <= 0 || !TestVisible(TRUE)) {
        if (STabPage* page = PageAt(old))
            page->ChangeVisibility(FALSE, TRUE);
        m_pages[index]->ChangeVisibility(TRUE, TRUE);
    } else if (old < 0) {
        m_pages[index]->ChangeVisibility(TRUE, TRUE);
    } else {
        m_slider = new STabSlider(this, old, index, m_animateSteps, m_animateType, m_interpolator);
    }
    m_curSel = index;
    InvalidateItem(index);
    EventTabSelChanged changed(this);
    changed.oldSel = old;
    changed.newSel = index;
    RaiseEvent(changed);
}

// ---- painting ----

void STabCtrl::BeginPaintState(IRenderTarget* rt, SPaintState* saved)
{
    if (IFont* font = m_style.GetStateFont(0))
        rt->SelectObject(font, &saved->font);
    COLORREF color = m_style.GetStateTextColor(0);
    if (color != kColorUnset)
        saved->textColor = rt->SetTextColor(color);
}

void STabCtrl::DrawSeparator(IRenderTarget* rt, const RECT& previous, const RECT& current)
{
    int gap = Px(m_tabInterSize);
    RECT rect = IsVerticalStrip() ? RECT{current.left, previous.bottom, current.right, previous.bottom + gap}
                                  : RECT{previous.right, current.top, previous.right + gap, current.bottom};
    m_tabInterSkin->DrawByState(rt, &rect, 0);
}

void STabCtrl::OnPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT title;
    GetTitleRect(&title);
    rt->PushClipRect(&title, RGN_AND);
    RECT previous{0, 0, 0, 0};
    for (int i = 0; i < m_pages.Count(); ++i) {
        RECT item;
        GetItemRect(i, &item);
        if (::IsRectEmpty(&item))
            continue;
        DWORD state = i == m_curSel ? kStatePushed : (i == m_hoverItem ? kStateHover : 0);
        if (m_tabInterSkin && !::IsRectEmpty(&previous))
            DrawSeparator(rt, previous, item);
        DrawItem(rt, item, i, state);
        previous = item;
    }
    rt->PopClip();
    if (m_frameSkin) {
        RECT area;
        GetChildAreaRect(&area);
        m_frameSkin->DrawByState(rt, &area, 0);
    }
    RECT selected;
    if (HoldsFocus() && IsFocusable() && (m_flags & kWndDrawFocusRect) && GetItemRect(m_curSel, &selected)) {
        ::InflateRect(&selected, -2, -2);
        SPenScope pen(rt, PS_DOT, kTabFocusFrameColor, 1);
        rt->DrawRectangle(&selected);
    }
    EndPaintState(rt, &saved);
}

void STabCtrl::DrawStackedText(IRenderTarget* rt, const SStringW& text, POINT origin, const RECT* centreIn)
{
    SIZE block{0, 0};
    for (int i = 0; i < text.Length(); ++i) {
        SIZE size{0, 0};
        rt->MeasureText(text.c_str() + i, 1, &size);
        block.cx = std::max(block.cx, size.cx);
        block.cy += size.cy;
    }
    if (centreIn) {
        origin.x = centreIn->left + (centreIn->right - centreIn->left - block.cx) / 2;
        origin.y = centreIn->top + (centreIn->bottom - centreIn->top - block.cy) / 2;
    }
    for (int i = 0; i < text.Length(); ++i) {
        SIZE size{0, 0};
        rt->MeasureText(text.c_str() + i, 1, &size);
        rt->TextOut(origin.x, origin.y, text.c_str() + i, 1);
        origin.y += size.cy;
    }
}

void STabCtrl::DrawItemText(IRenderTarget* rt, RECT rect, const SStringW& text)
{
    int textX = m_textX.ToPixels(GetScale());
    int textY = m_textY.ToPixels(GetScale());
    if (textX > 0 && textY > 0) {
        POINT origin{rect.left + textX, rect.top + textY};
        if (m_textDir == 1)
            DrawStackedText(rt, text, origin, nullptr);
        else
            rt->TextOut(origin.x, origin.y, text.c_str(), text.Length());
        return;
    }
    UINT format = m_style.GetDrawTextFormat();
    if (textX < 0 && textY > 0) {
        rect.top += textY;
        format &= kKeepHorizontal;
    } else if (textX > 0 && textY < 0) {
        rect.left += textX;
        format &= kKeepVertical;
    }
    if (m_textDir == 1)
        DrawStackedText(rt, text, POINT{0, 0}, &rect);
    else
        RenderText(rt, text.c_str(), text.Length(), &rect, format);
}

void STabCtrl::DrawItem(IRenderTarget* rt, const RECT& rect, int index, DWORD state)
{
    if (::IsRectEmpty(&rect))
        return;
    int skinState = (state & (kStatePushed | kStateChecked)) ? 2 : static_cast<int>(state & 1);
    if (m_tabSkin)
        m_tabSkin->DrawByState(rt, &rect, skinState);
    IRenderObj* oldFont = nullptr;
    IFont* font = m_style.GetStateFont(skinState);
    if (!font)
        font = m_style.GetStateFont(0);
    if (font)
        rt->SelectObject(font, &oldFont);
    COLORREF color = m_style.GetStateTextColor(skinState);
    if (color == kColorUnset)
        color = m_style.GetStateTextColor(0);
    COLORREF oldColor = color != kColorUnset ? rt->SetTextColor(color) : kColorUnset;
    STabPage* page = m_pages[index];
    if (m_iconSkin) {
        SIZE size = m_iconSkin->GetSkinSize();
        RECT icon{rect.left + Px(m_iconX), rect.top + Px(m_iconY), 0, 0};
        icon.right = icon.left + size.cx;
        icon.bottom = icon.top + size.cy;
        m_iconSkin->DrawByState(rt, &icon, page->IconIndex() == -1 ? index : page->IconIndex());
    }
    DrawItemText(rt, rect, page->Title());
    if (oldFont) {
        rt->SelectObject(oldFont, nullptr);
        oldFont->Release();
    }
    if (oldColor != kColorUnset)
        rt->SetTextColor(oldColor);
}

// ---- input ----

BOOL STabCtrl::ProvideTooltip(POINT pt, SwndToolInfo* info)
{
    int index = HitTest(pt);
    if (index < 0)
        return FALSE;
    SStringW text = m_pages[index]->QueryTooltipText();
    if (text.IsEmptyText())
        return FALSE;
    info->handle = m_handle;
    info->cookie = static_cast<UINT_PTR>(m_pages[index]->GetHandle()); // the page, wherever its header goes
    GetItemRect(index, &info->rect);
    info->text = text;
    return TRUE;
}

void STabCtrl::SetHoverItem(int index)
{
    if (index == m_hoverItem)
        return;
    int old = m_hoverItem;
    m_hoverItem = index;
    if (old != -1) {
        if (old != m_curSel)
            InvalidateItem(old);
        EventTabItemLeave leave(this);
        leave.index = old;
        RaiseEvent(leave);
    }
    if (index != -1) {
        if (index != m_curSel)
            InvalidateItem(index);
        EventTabItemHover hover(this);
        hover.index = index;
        RaiseEvent(hover);
    }
}

void STabCtrl::OnLeftButtonDown(UINT keys, POINT pt)
{
    HandleLeftButtonDown(keys, pt);
    int index = HitTest(pt);
    if (index != -1 && index != m_curSel)
        SelectPage(index);
}

void STabCtrl::OnKeyDown(UINT key)
{
    int count = m_pages.Count();
    switch (key) {
    case VK_HOME: SelectPage(0); break;
    case VK_END: SelectPage(count - 1); break;
    case VK_LEFT:
    case VK_UP:
        if (!SelectPage(m_curSel - 1))
            SelectPage(count - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        if (!SelectPage(m_curSel + 1))
            SelectPage(0);
        break;
    default: SetMsgHandled(FALSE); break;
    }
}

BOOL STabCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_DESTROY:
        RemoveAllItems();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); break;
    case WM_KEYDOWN: OnKeyDown(static_cast<UINT>(wParam)); break;
    case WM_MOUSEMOVE: SetHoverItem(HitTest(MousePoint(lParam))); break;
    case WM_LBUTTONDOWN: OnLeftButtonDown(static_cast<UINT>(wParam), MousePoint(lParam)); break;
    case WM_MOUSELEAVE:
        SetHoverItem(-1);
        HandleMouseLeave();
        break;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    return IsMsgHandled();
}

} // namespace SKEIN
