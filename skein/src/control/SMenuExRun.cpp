// Running a popup menu: placement of a level, the modal loop and the run's result.
#include <algorithm>
#include <windowsx.h>
#include "control/SMenuEx.h"

namespace SKEIN {

namespace {

bool IsPress(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDOWN || msg == WM_NCLBUTTONDOWN
           || msg == WM_NCRBUTTONDOWN;
}

bool IsKey(UINT msg)
{
    return msg == WM_KEYDOWN || msg == WM_KEYUP || msg == WM_CHAR || msg == WM_SYSKEYDOWN || msg == WM_SYSKEYUP
           || msg == WM_IME_CHAR;
}

bool Inside(const RECT& rect, const RECT& bounds)
{
    return rect.left >= bounds.left && rect.top >= bounds.top && rect.right <= bounds.right
           && rect.bottom <= bounds.bottom;
}

// Moves rect the least that brings it onto bounds; one larger than bounds keeps its left or top
// edge on them.
void ShiftOnto(RECT& rect, const RECT& bounds)
{
    LONG dx = std::max<LONG>(std::min<LONG>(0, bounds.right - rect.right), bounds.left - rect.left);
    LONG dy = std::max<LONG>(std::min<LONG>(0, bounds.bottom - rect.bottom), bounds.top - rect.top);
    ::OffsetRect(&rect, dx, dy);
}

// Takes out of the queue the message that peeked describes (the first one of its kind for its
// window), so each message is dispatched exactly once whatever arrives meanwhile.
bool RemovePeeked(const MSG& peeked, MSG& removed)
{
    return ::PeekMessageW(&removed, peeked.hwnd, peeked.message, peeked.message, PM_REMOVE) != FALSE;
}

} // namespace

SMenuExBase* SMenuExRunData::FindMenu(HWND hwnd) const
{
    for (auto* node = openMenus.First(); node; node = node->next) {
        if (hwnd && node->value->Handle() == hwnd)
            return node->value;
    }
    return nullptr;
}

SMenuExBase* SMenuExRunData::MenuAt(POINT pt) const
{
    SMenuExBase* found = nullptr;
    for (auto* node = openMenus.First(); node; node = node->next) {
        RECT rect;
        if (::GetWindowRect(node->value->Handle(), &rect) && ::PtInRect(&rect, pt))
            found = node->value;
    }
    return found;
}

RECT PlaceMenuRect(UINT flags, POINT pt, SIZE size, const RECT& monitor, const SMenuPlacement& how)
{
    size.cy = std::min<LONG>(size.cy, monitor.bottom - monitor.top);
    int x = pt.x;
    int y = pt.y;
    if (flags & kMenuAlignCenter)
        x -= size.cx / 2;
    else if (flags & kMenuAlignRight)
        x -= size.cx;
    if (flags & kMenuAlignVCenter)
        y -= size.cy / 2;
    else if (flags & kMenuAlignBottom)
        y -= size.cy;
    RECT menu{x, y, x + size.cx, y + size.cy};
    int d = how.subMenu ? how.offset : 0;
    int left = x + d;
    int top = y;
    if (Inside(menu, monitor)) {
        ::OffsetRect(&menu, left - menu.left, 0);
        return menu;
    }
    if (how.subMenu) {
        if (menu.right > monitor.right)
            left = x - how.parentWidth - d - size.cx;
        ::OffsetRect(&menu, left - menu.left, 0);
        ShiftOnto(menu, monitor);
        return menu;
    }
    left = menu.right > monitor.right ? x - size.cx : x;
    if (how.flipDownAtTop && menu.top < monitor.top)
        top = y + size.cy;
    if (menu.bottom > monitor.bottom)
        top = y - size.cy;
    RECT placed{left, top, left + size.cx, top + size.cy};
    ShiftOnto(placed, monitor);
    return placed;
}

bool SMenuExBase::HasShownItem() const
{
    for (SWindow* child = m_root->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling)) {
        if (child->TestVisible(FALSE) && !static_cast<SMenuExItemBase*>(child)->IsSeparator())
            return true;
    }
    return false;
}

bool SMenuExBase::ShowAt(UINT flags, int x, int y)
{
    SMenuExRunData* run = RunSlot();
    if (!m_parentItem && TopLevelSendsInitPopup())
        SendInitPopup(0);
    if (!HasShownItem())
        return false;
    SendUiMessageToTree(kUiMsgScaleChanged, run ? run->scale : 100);
    RECT limit{0, 0, 10000, 10000};
    SIZE size = m_root->ComputePreferredSize(&limit);

    MONITORINFO info = {sizeof(info)};
    ::GetMonitorInfoW(::MonitorFromWindow(m_hwnd, MONITOR_DEFAULTTOPRIMARY), &info);
    SMenuPlacement how{m_parentItem != nullptr, 0, 0, TopLevelFlipsDown()};
    if (m_parentItem) {
        how.offset = m_root->Pixels(m_root->m_subMenuOffset);
        RECT parent = {};
        ::GetWindowRect(m_parentItem->OwnerMenu()->Handle(), &parent);
        how.parentWidth = parent.right - parent.left;
    }
    RECT place = PlaceMenuRect(flags, POINT{x, y}, size, info.rcMonitor, how);
    m_contentHeight = size.cy;
    m_scrollPos = 0;
    ArrangeView(SIZE{size.cx, place.bottom - place.top});
    ::SetWindowPos(m_hwnd, HWND_TOPMOST, place.left, place.top, size.cx, place.bottom - place.top,
                   SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (run && !run->FindMenu(m_hwnd))
        run->openMenus.AddTail(this);
    return true;
}

int SMenuExBase::RunPopup(UINT flags, int x, int y, HWND owner, int scale)
{
    if (!::IsWindow(m_hwnd) || !m_root)
        return -1;
    SMenuExRunData*& slot = RunSlot();
    if (slot)
        slot->AddRef();
    else
        slot = NewRunData(owner, scale);
    SMenuExRunData* run = slot;

    HWND effective = EffectiveOwner(owner);
    HWND topLevel = effective ? ::GetAncestor(effective, GA_ROOT) : nullptr;
    if (topLevel)
        ::SetForegroundWindow(topLevel);
    // A menu with nothing to show ends at once without a choice.
    bool shown = ShowAt(flags, x, y);
    if (shown) {
        RunLoop(topLevel);
        HideMenu(FALSE);
        if (HWND target = effective ? effective : ::GetActiveWindow()) {
            POINT pt = {};
            ::GetCursorPos(&pt);
            ::ScreenToClient(target, &pt);
            ::PostMessageW(target, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        }
    }
    int result = shown ? run->result : -1;
    if (run->Release() == 0 && slot == run)
        slot = nullptr;
    if (!shown || (flags & kMenuReturnCmd))
        return result;
    ::SendMessageW(owner, WM_COMMAND, LOWORD(result), 0);
    return 1;
}

// Runs while the owner's top-level window is the foreground window and the menu has its window;
// without them it ends at once.
void SMenuExBase::RunLoop(HWND topLevel)
{
    SMenuExRunData* run = RunSlot();
    HWND lastMouse = nullptr;
    while (!run->exitFlag && topLevel && ::GetForegroundWindow() == topLevel && m_hwnd) {
        MSG peeked;
        if (!::PeekMessageW(&peeked, nullptr, 0, 0, PM_NOREMOVE)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            continue;
        }
        if (IsPress(peeked.message)) {
            SMenuExBase* menu = run->FindMenu(peeked.hwnd);
            if (!menu) {
                // A press elsewhere ends the run and stays queued for its target.
                run->exitFlag = true;
                run->result = 0;
                return;
            }
            menu->HideSubMenu();
        }
        MSG msg;
        if (!RemovePeeked(peeked, msg))
            continue;
        if (IsKey(msg.message)) {
            if (SMenuExBase* last = run->LastMenu())
                msg.hwnd = last->Handle();
        } else if (msg.message == WM_MOUSEWHEEL) {
            // The wheel goes to the focused window: it scrolls the level under the cursor.
            SMenuExBase* menu = run->MenuAt(POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
            if (!menu)
                menu = run->LastMenu();
            if (menu)
                msg.hwnd = menu->Handle();
        } else if (msg.message == WM_MOUSEMOVE && msg.hwnd != lastMouse) {
            if (lastMouse)
                ::SendMessageW(lastMouse, WM_MOUSELEAVE, 0, 0);
            lastMouse = run->FindMenu(msg.hwnd) ? msg.hwnd : nullptr;
        }
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void SMenuExBase::FinishRun(SMenuExRunData* run, int id)
{
    if (!run)
        return;
    run->exitFlag = true;
    run->result = id;
    ::PostMessageW(run->owner, WM_NULL, 0, 0);
}

} // namespace SKEIN
