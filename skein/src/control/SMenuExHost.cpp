// A popup-menu level: building, selection, sub-menus, keys and the events of its items.
#include "control/SMenuEx.h"
#include "core/SApp.h"
#include "helper/SXmlLookup.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SResName.h"

namespace SKEIN {

SMenuExBase::SMenuExBase(SMenuExItemBase* parentItem, SMenuExRunData*& runSlot)
    : m_parentItem(parentItem), m_hoverItem(nullptr), m_selectedItem(nullptr), m_openSubMenu(nullptr),
      m_initPopupSent(false), m_root(nullptr), m_scrollers{nullptr, nullptr}, m_client{0, 0}, m_contentHeight(0),
      m_scrollPos(0), m_scrollStep(0), m_runSlot(runSlot)
{
}

SMenuExBase::~SMenuExBase()
{
    if (m_hwnd)
        ::DestroyWindow(m_hwnd);
}

int SMenuExBase::GetScale() const
{
    SMenuExRunData* run = RunSlot();
    return run ? run->scale : 100;
}

BOOL SMenuExBase::LoadMenuResource(const wchar_t* resName)
{
    SDynArray<SStringW> pieces;
    SplitResourceName(resName, pieces);
    SStringW type = pieces.Count() == 2 ? pieces[0] : SStringW(L"SMENUEX");
    SStringW name = pieces.Count() == 2 ? pieces[1] : pieces[0];
    pugi::xml_document document;
    SApplication* app = SApplication::Instance();
    if (!app || !app->LoadXmlDocument(document, type.c_str(), name.c_str()))
        return FALSE;
    return BuildMenu(document.document_element());
}

BOOL SMenuExBase::BuildMenu(pugi::xml_node element)
{
    if (m_hwnd || (wcscmp(element.name(), L"menuRoot") != 0 && wcscmp(element.name(), L"menuItem") != 0))
        return FALSE;
    if (!CreateHost(WindowParent(), WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, 0, 0, 0, 0))
        return FALSE;
    pugi::xml_document document;
    pugi::xml_node host = document.append_child(L"SKEIN");
    host.append_attribute(L"translucent").set_value(L"1");
    if (pugi::xml_attribute trCtx = XmlAttributeNoCase(element, L"trCtx"); trCtx && !m_parentItem)
        host.append_attribute(L"trCtx").set_value(trCtx.value());
    InitFromXmlNode(host, 0, 0);
    m_root = NewRoot();
    LinkChild(m_root);
    m_root->LoadFromXml(element);
    m_root->AssignText(SStringW());
    if (ILayoutParam* param = m_root->GetLayoutParam())
        param->SetWrapContent(kOrientBoth);
    for (int i = 0; i < 2; ++i) {
        m_scrollers[i] = new SMenuExScroller(m_root, i == 1);
        LinkChild(m_scrollers[i]);
        m_scrollers[i]->ChangeVisibility(FALSE, FALSE);
    }
    return TRUE;
}

// ---- selection and sub-menus ----

int SMenuExBase::IndexOfItem(SMenuExItemBase* item) const
{
    int index = 0;
    for (SWindow* child = m_root->GetRelative(kRelFirstChild); child && child != item;
         child = child->GetRelative(kRelNextSibling))
        ++index;
    return index;
}

void SMenuExBase::SendInitPopup(int index)
{
    if (m_initPopupSent)
        return;
    m_initPopupSent = true;
    SMenuExRunData* run = RunSlot();
    ::SendMessageW(run ? run->owner : nullptr, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(this), index);
}

void SMenuExBase::Select(SMenuExItemBase* item)
{
    m_selectedItem = item;
    if (item)
        item->SetCheckedState(TRUE);
}

void SMenuExBase::ClearSelection()
{
    if (m_selectedItem)
        m_selectedItem->SetCheckedState(FALSE);
    m_selectedItem = nullptr;
}

void SMenuExBase::ShowSubMenu(SMenuExItemBase* item, bool selectFirst)
{
    KillTimer(kMenuTimerSubMenu);
    SMenuExBase* subMenu = item->SubMenu();
    if (!subMenu || !subMenu->m_root)
        return;
    if (m_openSubMenu && m_openSubMenu != subMenu)
        HideSubMenu();
    ScrollIntoView(item);
    subMenu->SendInitPopup(IndexOfItem(item));
    RECT rect = item->GetWindowRect();
    rect.left = m_root->GetWindowRect().left;
    rect.right = m_root->GetWindowRect().right;
    ::MapWindowPoints(m_hwnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    ClearSelection();
    Select(item);
    ::SetWindowLongPtrW(subMenu->m_hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(m_hwnd));
    if (!subMenu->ShowAt(0, rect.right, rect.top))
        return;
    m_openSubMenu = subMenu;
    if (selectFirst)
        subMenu->MoveSelection(true);
}

void SMenuExBase::HideSubMenu()
{
    if (m_openSubMenu)
        m_openSubMenu->HideMenu(FALSE);
}

int SMenuExBase::HideMenu(BOOL keepParentSelection)
{
    if (!m_hwnd || !::IsWindowVisible(m_hwnd))
        return 0;
    HideSubMenu();
    KillTimer(kMenuTimerSubMenu);
    KillTimer(kMenuTimerScroll);
    m_scrollStep = 0;
    m_hoverItem = nullptr;
    ShowWindow(SW_HIDE);
    ClearSelection();
    if (SMenuExRunData* run = RunSlot()) {
        if (auto* node = run->openMenus.Find(this))
            run->openMenus.RemoveNode(node);
    }
    if (m_parentItem)
        m_parentItem->OwnerMenu()->OnSubMenuHidden(this, keepParentSelection);
    return 1;
}

void SMenuExBase::OnSubMenuHidden(SMenuExBase* subMenu, BOOL keepSelection)
{
    if (m_openSubMenu == subMenu)
        m_openSubMenu = nullptr;
    if (!keepSelection)
        ClearSelection();
}

// The next (or previous) shown, enabled child after the selection, wrapping; from the first (or
// last) child when nothing is selected.
void SMenuExBase::MoveSelection(bool forward)
{
    if (!m_root)
        return;
    int count = m_root->GetChildCount();
    const int step = forward ? kRelNextSibling : kRelPrevSibling;
    const int wrap = forward ? kRelFirstChild : kRelLastChild;
    SWindow* candidate = m_selectedItem ? m_selectedItem->GetRelative(step) : m_root->GetRelative(wrap);
    ClearSelection();
    for (int i = 0; i < count; ++i) {
        if (!candidate)
            candidate = m_root->GetRelative(wrap);
        if (candidate && static_cast<SMenuExItemBase*>(candidate)->IsChoosable()) {
            Select(static_cast<SMenuExItemBase*>(candidate));
            ScrollIntoView(candidate);
            return;
        }
        candidate = candidate ? candidate->GetRelative(step) : nullptr;
    }
}

// ---- input ----

bool SMenuExBase::OnKeyDown(UINT key)
{
    switch (key) {
    case VK_RETURN:
        if (m_selectedItem && m_selectedItem->IsChoosable())
            m_selectedItem->FireCommand();
        return true;
    case VK_ESCAPE:
    case VK_LEFT:
        if (m_parentItem) {
            HideMenu(TRUE);
        } else if (SMenuExRunData* run = RunSlot()) {
            run->exitFlag = true;
            run->result = 0;
        }
        return true;
    case VK_UP:
    case VK_DOWN: MoveSelection(key == VK_DOWN); return true;
    case VK_RIGHT:
        if (m_selectedItem && m_selectedItem->IsChoosable())
            ShowSubMenu(m_selectedItem, true);
        return true;
    default: return false;
    }
}

// Hot-keys compare characters (so F1 or a numpad key never stands for a letter); hidden and
// disabled items and separators are passed over.
bool SMenuExBase::OnChar(wchar_t ch)
{
    if (!m_root || ch < L' ')
        return false;
    wchar_t wanted = static_cast<wchar_t>(towlower(ch));
    for (SWindow* child = m_root->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
        SMenuExItemBase* item = static_cast<SMenuExItemBase*>(child);
        if (item->HotKey() && towlower(item->HotKey()) == wanted && item->IsChoosable()) {
            item->FireCommand();
            return true;
        }
    }
    return false;
}

bool SMenuExBase::OnItemEvent(SMenuExItemBase* item, EventArgs* evt)
{
    switch (evt->GetId()) {
    case EventSwndMouseHover::EventID:
        if (item->SubMenu()) {
            SetTimer(kMenuTimerSubMenu, kMenuSubMenuDelay);
            m_hoverItem = item;
        }
        HideSubMenu();
        return true;
    case EventSwndMouseLeave::EventID:
        if (item->SubMenu()) {
            KillTimer(kMenuTimerSubMenu);
            m_hoverItem = nullptr;
        }
        return true;
    case EventCmd::EventID:
        if (item->SubMenu()) {
            ShowSubMenu(item, false);
        } else if (item->GetId() != 0) {
            SMenuExRunData* run = RunSlot();
            if (run) {
                run->result = item->GetId();
                run->exitFlag = true;
            }
        }
        return true;
    default: return false;
    }
}

// Item events drive the menu; every other event goes to the run's owner.
BOOL SMenuExBase::OnHostEvent(EventArgs* evt)
{
    if (SMenuExItemBase* item = dynamic_cast<SMenuExItemBase*>(evt->sender))
        return OnItemEvent(item, evt);
    if (SMenuExScroller* scroller = dynamic_cast<SMenuExScroller*>(evt->sender)) {
        OnScrollerEvent(scroller, evt);
        return TRUE;
    }
    SMenuExRunData* run = RunSlot();
    return run && run->owner ? static_cast<BOOL>(SendHostEvent(run->owner, evt)) : FALSE;
}

void SMenuExBase::ForgetTree()
{
    if (SMenuExRunData* run = RunSlot()) {
        if (auto* node = run->openMenus.Find(this))
            run->openMenus.RemoveNode(node);
    }
    m_root = nullptr;
    m_scrollers[0] = m_scrollers[1] = nullptr;
    m_hoverItem = m_selectedItem = nullptr;
    m_openSubMenu = nullptr;
}

BOOL SMenuExBase::HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId)
{
    if (mapId == 0) {
        result = 0;
        switch (msg) {
        case WM_MOUSEACTIVATE: result = MA_NOACTIVATE; return TRUE;
        case WM_TIMER:
            if (wParam == kMenuTimerScroll) {
                ScrollBy(m_scrollStep);
                return TRUE;
            }
            if (wParam != kMenuTimerSubMenu)
                break;
            if (m_hoverItem)
                ShowSubMenu(m_hoverItem, false);
            else
                KillTimer(kMenuTimerSubMenu);
            return TRUE;
        case WM_KEYDOWN:
            if (OnKeyDown(static_cast<UINT>(wParam)))
                return TRUE;
            break;
        case WM_CHAR:
            if (OnChar(static_cast<wchar_t>(wParam)))
                return TRUE;
            break;
        case WM_MOUSEWHEEL:
            if (m_root)
                ScrollBy(-GET_WHEEL_DELTA_WPARAM(wParam) * m_root->Pixels(m_root->m_itemHeight) / WHEEL_DELTA);
            return TRUE;
        case WM_DESTROY: {
            BOOL handled = SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
            ForgetTree();
            return handled;
        }
        default: break;
        }
    }
    return SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
}

} // namespace SKEIN
