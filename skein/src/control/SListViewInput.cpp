// SListView: mouse, wheel, keys, focus, cursor and tooltip, routed to the item panels.
#include "control/SListView.h"
#include "SPanelUtil.h"

namespace SKEIN {

namespace {

bool IsButtonPress(UINT msg)
{
    return msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
}

bool IsButtonRelease(UINT msg)
{
    return msg == WM_LBUTTONUP || msg == WM_RBUTTONUP || msg == WM_MBUTTONUP;
}

LPARAM RelativePoint(POINT pt, const RECT& rect)
{
    return MAKELPARAM(pt.x - rect.left, pt.y - rect.top);
}

} // namespace

// ---- mouse ----

LRESULT SListView::SendToPanel(SItemPanel* panel, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RECT rect;
    ItemRect(panel, &rect);
    return panel->DispatchHostMessage(msg, wParam, RelativePoint(MousePoint(lParam), rect));
}

SItemPanel* SListView::PanelAtPoint(POINT pt, RECT* rect) const
{
    SListView* self = const_cast<SListView*>(this);
    for (const VisibleItem& item : m_visible) {
        if (self->ItemRect(item.panel, rect) && ::PtInRect(rect, pt))
            return item.panel;
    }
    *rect = RECT{0, 0, 0, 0};
    return nullptr;
}

void SListView::MoveHoverTo(SItemPanel* panel, WPARAM wParam, LPARAM relative)
{
    // Handlers of the panels' events may change the view meanwhile.
    SRefPtr<SItemPanel> oldHover(m_hoveredPanel);
    SRefPtr<SItemPanel> newHover(panel);
    m_hoveredPanel = panel;
    if (oldHover) {
        oldHover->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
        oldHover->InvalidateArea();
    }
    if (newHover) {
        newHover->DispatchHostMessage(WM_MOUSEHOVER, wParam, relative);
        newHover->InvalidateArea();
    }
}

BOOL SListView::OnMouse(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_adapter)
        return FALSE;
    if (m_capturedPanel) {
        SendToPanel(m_capturedPanel, msg, wParam, lParam);
        return TRUE;
    }
    if (IsButtonPress(msg))
        SPanel::HandleMessage(msg, wParam, lParam, result);
    POINT pt = MousePoint(lParam);
    RECT rect;
    SItemPanel* panel = PanelAtPoint(pt, &rect);
    LPARAM relative = RelativePoint(pt, rect);
    if (panel != m_hoveredPanel)
        MoveHoverTo(panel, wParam, relative);
    if (SRefPtr<SItemPanel> hovered = m_hoveredPanel)
        hovered->DispatchHostMessage(msg, wParam, relative);
    if (IsButtonRelease(msg))
        SPanel::HandleMessage(msg, wParam, lParam, result);
    return TRUE;
}

void SListView::OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SItemPanel* selected = ItemPanelOf(m_selection);
    if (selected && SendToPanel(selected, msg, wParam, lParam) != 0)
        return;
    LRESULT ignored = 0;
    SPanel::HandleMessage(msg, wParam, lParam, &ignored);
}

void SListView::OnMouseLeave()
{
    SRefPtr<SItemPanel> hovered(m_hoveredPanel);
    m_hoveredPanel = nullptr;
    if (hovered)
        hovered->DispatchHostMessage(WM_MOUSELEAVE, 0, 0);
}

BOOL SListView::ApplyCursor(POINT pt)
{
    SItemPanel* panel = m_capturedPanel ? m_capturedPanel : m_hoveredPanel;
    if (panel && SendToPanel(panel, WM_SETCURSOR, 0, MAKELPARAM(pt.x, pt.y)) != 0)
        return TRUE;
    return SPanel::ApplyCursor(pt);
}

BOOL SListView::ProvideTooltip(POINT pt, SwndToolInfo* info)
{
    if (!m_hoveredPanel)
        return SPanel::ProvideTooltip(pt, info);
    RECT rect;
    ItemRect(m_hoveredPanel, &rect);
    return m_hoveredPanel->ProvideTooltip(POINT{pt.x - rect.left, pt.y - rect.top}, info);
}

// ---- keys and focus ----

BOOL SListView::ForwardToSelected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    SRefPtr<SItemPanel> panel(ItemPanelOf(m_selection));
    if (!panel)
        return FALSE;
    *result = panel->DispatchHostMessage(msg, wParam, lParam);
    return panel->IsMsgHandled();
}

BOOL SListView::OnKeyDown(UINT vk, LPARAM lParam, LRESULT* result)
{
    if (!m_adapter)
        return FALSE;
    bool offered = m_selection != -1 && m_wantTab && ItemPanelOf(m_selection);
    if (offered && ForwardToSelected(WM_KEYDOWN, vk, lParam, result))
        return TRUE;
    if ((vk == VK_ESCAPE || vk == VK_RETURN) && m_owner) {
        m_owner->SendUiMessage(WM_KEYDOWN, vk, lParam);
        return TRUE;
    }
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (OnArrowKey(vk))
            return TRUE;
        break;
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME: OnPageKey(vk); return TRUE;
    default: break;
    }
    return offered ? FALSE : ForwardToSelected(WM_KEYDOWN, vk, lParam, result);
}

BOOL SListView::OnArrowKey(UINT vk)
{
    int next = -1;
    if (vk == VK_DOWN && m_selection < m_adapter->ItemCount() - 1)
        next = m_selection + 1;
    else if (vk == VK_UP && m_selection > 0)
        next = m_selection - 1;
    else if (vk != VK_DOWN && vk != VK_UP)
        return FALSE;
    if (next != -1) {
        EnsureVisible(next);
        SetSelection(next, KeySelectionNotifies());
    }
    return TRUE;
}

void SListView::OnPageKey(UINT vk)
{
    UINT code = vk == VK_PRIOR ? SB_PAGEUP : vk == VK_NEXT ? SB_PAGEDOWN : vk == VK_END ? SB_BOTTOM : SB_TOP;
    OnScroll(TRUE, code, 0);
    if (m_visible.empty())
        return;
    bool towardsTop = vk == VK_HOME || vk == VK_PRIOR;
    int index = towardsTop ? m_firstVisible : m_firstVisible + static_cast<int>(m_visible.size()) - 1;
    EnsureVisible(index);
    SetSelection(index, KeySelectionNotifies());
}

void SListView::OnFocusChange(bool gained)
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
