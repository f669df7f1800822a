// The menu bar and its items.
#include <windowsx.h>
#include "control/SMenuBar.h"
#include "control/SCtrlAttr.h"
#include "core/SXmlCreation.h"
#include "res.mgr/SUiDef.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

namespace {

// Item geometry, unscaled: from one pixel after the previous item (or the bar's inner left)
// to 50 pixels after it, 20 pixels high.
const int kItemGap = 1;
const int kItemEnd = 50;
const int kItemHeight = 20;
// Gap between an item and its menu.
const int kMenuGap = 2;
// The timer that opens a hovered item's menu once the open one has closed.
const UINT kSwitchTimer = 10;
const UINT kSwitchDelay = 10;
// RunPopup's answer when the run ended without a choice.
const int kNoChoice = -1;

} // namespace

// ---- SMenuItem ----

SMenuItem::SMenuItem(SMenuBar* bar, const SStringW& menuName)
    : m_bar(bar), m_menuName(menuName), m_menuLoaded(false)
{
    ApplyAttribute(SStringW(L"drawFocusRect"), SStringW(L"0"), TRUE);
    m_menuLoaded = m_menu.LoadFromResource(menuName.c_str(), nullptr) != FALSE;
}

BOOL SMenuItem::MatchesClassName(const wchar_t* name) const
{
    return (name && wcscmp(name, L"menuItem") == 0) || SButton::MatchesClassName(name);
}

HRESULT SMenuItem::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (!ctrl::Is(name, L"menuName"))
        return SButton::ApplyAttribute(name, value, loading);
    m_menuName = ResolveNamedString(value.c_str()); // the loaded menu stays
    return AfterAttribute(name, value, loading, S_OK);
}

int SMenuItem::RunMenu()
{
    // The menu's loop may close the host meanwhile.
    SRefPtr<SMenuBar> bar(m_bar);
    SRefPtr<SMenuItem> self(this);
    m_bar->m_menuShowing = 1;
    m_bar->m_currentItem = this;
    SetCheckedState(TRUE);
    HWND host = m_bar->HostWindow();
    RECT inner;
    GetInnerRect(&inner);
    POINT at = {inner.left, inner.bottom + kMenuGap};
    // From the host's client origin, where the item is drawn, not its frame's corner.
    ::ClientToScreen(host, &at);
    int id = m_menu.RunPopup(kMenuReturnCmd, at.x, at.y, host, 100);
    if (id == 0)
        DropClosingPress(host);
    SetCheckedState(FALSE);
    m_bar->m_menuShowing = 0;
    // A switch to another item has made that one current: this run reports nothing.
    bool chosen = m_bar->m_currentItem == this && id != 0 && id != kNoChoice;
    m_bar->m_currentItem = nullptr;
    if (chosen) {
        EventSelectMenu evt(m_bar);
        evt.menuId = id;
        evt.menu = &m_menu;
        RaiseEvent(evt);
    }
    return id;
}

// A press on this item closed its menu: it is taken from the queue, so that it does not open the
// menu again.
void SMenuItem::DropClosingPress(HWND host)
{
    MSG press;
    if (!::PeekMessageW(&press, host, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, PM_NOREMOVE) || press.message == WM_LBUTTONUP)
        return;
    POINT pt = {GET_X_LPARAM(press.lParam), GET_Y_LPARAM(press.lParam)};
    if (::PtInRect(&GetWindowRect(), pt))
        ::PeekMessageW(&press, host, press.message, press.message, PM_REMOVE);
}

BOOL SMenuItem::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    POINT pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    *result = 0;
    switch (msg) {
    case WM_LBUTTONDOWN:
        HandleLeftButtonDown(static_cast<UINT>(wParam), pt);
        RaiseToTop();
        if (::IsWindow(m_bar->HostWindow()))
            RunMenu();
        return TRUE;
    case WM_LBUTTONUP: HandleLeftButtonUp(static_cast<UINT>(wParam), pt); return TRUE;
    case WM_MOUSEMOVE:
        // Onto this item while another's menu runs: that menu ends, this one opens shortly.
        if (m_bar->m_menuShowing && m_bar->m_currentItem != this) {
            m_bar->m_currentItem = this;
            SMenuEx::FinishRunningMenu(0);
            StartHostTimer(kSwitchTimer, kSwitchDelay);
        }
        break;
    case WM_DESTROY: m_bar->RemoveItem(this); break; // out of the bar's list, whoever destroys it
    case WM_TIMER:
        if (wParam == kSwitchTimer && !m_bar->m_menuShowing) {
            RunMenu();
            StopHostTimer(kSwitchTimer);
            return TRUE;
        }
        break;
    default: break;
    }
    return SButton::HandleMessage(msg, wParam, lParam, result);
}

// ---- SMenuBar ----

SMenuBar::SMenuBar() : m_hostWindow(nullptr), m_menuShowing(0), m_currentItem(nullptr)
{
    m_eventSet.DeclareEvent(EventSelectMenu::EventID, EventSelectMenu::EventName());
}

HWND SMenuBar::HostWindow()
{
    if (!::IsWindow(m_hostWindow) && m_container)
        m_hostWindow = m_container->GetHostHwnd();
    return m_hostWindow;
}

BOOL SMenuBar::CreateChildrenFromXml(pugi::xml_node node)
{
    if (pugi::xml_node style = node.child(L"btnStyle")) {
        m_btnStyle.reset();
        m_btnStyle.append_copy(style);
    }
    SXmlCreation creation(this);
    for (pugi::xml_node item : node.child(L"menus").children(L"menuItem")) {
        if (!creation.AdmitElement(item))
            break;
        AddItem(SStringW(item.text().get()), SStringW(item.attribute(L"menuName").value()), -1);
    }
    return TRUE;
}

bool SMenuBar::AddItem(const SStringW& text, const SStringW& menuName, int index)
{
    if (menuName.IsEmptyText())
        return false;
    SMenuItem* item = new SMenuItem(this, menuName);
    if (!item->IsMenuLoaded()) {
        item->Dispose();
        return false;
    }
    LinkChild(item);
    if (!item->LoadFromXml(m_btnStyle.child(L"btnStyle")))
        return false; // refused by its create step and destroyed
    if (!text.IsEmptyText())
        item->AssignText(text);
    if (index < 0 || index > m_items.Count())
        index = m_items.Count();
    m_items.InsertRepeated(index, item, 1);
    ArrangeChildren();
    return true;
}

bool SMenuBar::RemoveItem(SMenuItem* item)
{
    int index = m_items.Find(item);
    if (index < 0)
        return false;
    m_items.RemoveAt(index);
    if (m_currentItem == item)
        m_currentItem = nullptr;
    InvalidateLayout();
    return true;
}

void SMenuBar::ArrangeChildren()
{
    RECT inner;
    GetInnerRect(&inner);
    POINT after = {inner.left, inner.top};
    for (int i = 0; i < m_items.Count(); ++i) {
        RECT rect = {after.x + kItemGap, after.y, after.x + kItemEnd, after.y + kItemHeight};
        m_items[i]->SetFixedRect(&rect);
        const RECT& placed = m_items[i]->GetWindowRect();
        after = POINT{placed.right, placed.top};
    }
}

} // namespace SKEIN
