// STreeView: mouse, keys, focus and cursor, routed to the item panels.
#include "control/STreeView.h"
#include "SPanelUtil.h"

namespace SKEIN {

namespace {

LPARAM RelativePoint(POINT pt, const RECT& rect)
{
    return MAKELPARAM(pt.x - rect.left, pt.y - rect.top);
}

} // namespace

// ---- mouse ----

LRESULT STreeView::SendToPanel(SItemPanel* panel, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RECT rect;
    ItemRect(panel, &rect);
    return panel->DispatchHostMessage(msg, wParam, RelativePoint(MousePoint(lParam), rect));
}

SItemPanel* STreeView::PanelAtPoint(POINT pt, RECT* rect)
{
    for (const Shown& shown : m_visible) {
        if (ItemRect(shown.panel, rect) && ::PtInRect(rect, pt))
            return shown.panel;
    }
    *rect = RECT{0, 0, 0, 0};
    return nullptr;
}

// The newly hovered panel is told without a point.
void STreeView::MoveHoverTo(SItemPanel* panel, WPARAM wParam)
{
    SRefPtr<SItemPanel> oldHover(m_hoveredPanel);
    SRefPtr<SItemPanel> newHover(panel);
    m_hoveredPanel = panel;
    if (oldHover) {
        oldHover->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
        oldHover->InvalidateArea();
    }
    if (newHover) {
        newHover->DispatchHostMessage(WM_MOUSEHOVER, wParam, 0);
        newHover->InvalidateArea();
    }
}

BOOL STreeView::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_adapter)
        return FALSE;
    if (m_capturedPanel) {
        SendToPanel(m_capturedPanel, msg, wParam, lParam);
        return TRUE;
    }
    bool press = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
    if (press)
        SPanel::HandleMessage(msg, wParam, lParam, result);
    POINT pt = MousePoint(lParam);
    RECT rect;
    SItemPanel* panel = PanelAtPoint(pt, &rect);
    if (press && !panel) {
        if (SItemPanel* selected = ItemPanelOf(m_selection))
            selected->DispatchHostMessage(WM_KILLFOCUS, 0, 0);
    }
    if (panel != m_hoveredPanel)
        MoveHoverTo(panel, wParam);
    if (SRefPtr<SItemPanel> hovered = m_hoveredPanel)
        hovered->DispatchHostMessage(msg, wParam, RelativePoint(pt, rect));
    if (msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP)
        SPanel::HandleMessage(msg, wParam, lParam, result);
    return TRUE;
}

void STreeView::OnMouseLeave()
{
    SRefPtr<SItemPanel> hovered(m_hoveredPanel);
    m_hoveredPanel = nullptr;
    if (hovered)
        hovered->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
}

BOOL STreeView::ApplyCursor(POINT pt)
{
    SItemPanel* panel = m_capturedPanel ? m_capturedPanel : m_hoveredPanel;
    if (panel && SendToPanel(panel, WM_SETCURSOR, 0, MAKELPARAM(pt.x, pt.y)) != 0)
        return TRUE;
    return SPanel::ApplyCursor(pt);
}

// ---- keys and focus ----

BOOL STreeView::ForwardToSelected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    SRefPtr<SItemPanel> panel(ItemPanelOf(m_selection));
    if (!panel)
        return FALSE;
    *result = panel->DispatchHostMessage(msg, wParam, lParam);
    return panel->IsMsgHandled();
}

void STreeView::SelectByKey(STreeHandle item)
{
    if (!item)
        return;
    EnsureVisible(item);
    SetSelection(item, TRUE);
}

BOOL STreeView::OnKeyDown(UINT vk, LPARAM lParam, LRESULT* result)
{
    if (!m_adapter)
        return FALSE;
    bool offered = m_selection && m_wantTab && ItemPanelOf(m_selection);
    if (offered && ForwardToSelected(WM_KEYDOWN, vk, lParam, result))
        return TRUE;
    if ((vk == VK_ESCAPE || vk == VK_RETURN) && m_owner) {
        m_owner->SendUiMessage(WM_KEYDOWN, vk, lParam);
        return TRUE;
    }
    STreeHandle item = m_selection;
    bool branch = item && m_adapter->HasChildren(item);
    switch (vk) {
    case VK_UP:
        SelectByKey(item ? m_adapter->PreviousVisibleItem(item) : m_adapter->FirstVisibleItem());
        return TRUE;
    case VK_DOWN:
        SelectByKey(item ? m_adapter->NextVisibleItem(item) : m_adapter->FirstVisibleItem());
        return TRUE;
    case VK_LEFT:
        if (branch && m_adapter->IsExpanded(item))
            m_adapter->ExpandItem(item, 1);
        else if (item)
            SelectByKey(m_adapter->PreviousVisibleItem(item));
        return TRUE;
    case VK_RIGHT:
        if (branch && !m_adapter->IsExpanded(item))
            m_adapter->ExpandItem(item, 2);
        else if (item)
            SelectByKey(m_adapter->NextVisibleItem(item));
        return TRUE;
    case VK_PRIOR: OnScroll(TRUE, SB_PAGEUP, 0); return TRUE;
    case VK_NEXT: OnScroll(TRUE, SB_PAGEDOWN, 0); return TRUE;
    case VK_END: OnScroll(TRUE, SB_BOTTOM, 0); return TRUE;
    case VK_HOME: OnScroll(TRUE, SB_TOP, 0); return TRUE;
    default: break;
    }
    return offered ? FALSE : ForwardToSelected(WM_KEYDOWN, vk, lParam, result);
}

void STreeView::OnFocusChange(bool gained)
{
    SItemPanel* panel = ItemPanelOf(m_selection);
    if (!panel)
        return;
    if (gained)
        panel->GetFocusManager()->RestoreFocus();
    else
        panel->GetFocusManager()->SaveFocus();
}

} // namespace SKEIN
