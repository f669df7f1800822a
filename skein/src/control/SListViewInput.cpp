// SListView: the visible panels under the mouse, the wheel, the tooltip and the navigation keys.
#include "control/SListView.h"

namespace SKEIN {

SItemPanel* SListView::PanelAtPoint(POINT pt, RECT* rect)
{
    for (const VisibleItem& item : m_visible) {
        if (ItemRect(item.panel, rect) && ::PtInRect(rect, pt))
            return item.panel;
    }
    *rect = RECT{0, 0, 0, 0};
    return nullptr;
}

void SListView::OnMouseWheel(UINT msg, WPARAM wParam, LPARAM lParam)
{
    SItemPanel* selected = ItemPanelOf(m_selection);
    if (selected && SendToPanel(selected, msg, wParam, lParam) != 0)
        return;
    LRESULT ignored = 0;
    SPanel::HandleMessage(msg, wParam, lParam, &ignored);
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

BOOL SListView::OnNavigationKey(UINT vk)
{
    switch (vk) {
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: return OnArrowKey(vk);
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME: OnPageKey(vk); return TRUE;
    default: return FALSE;
    }
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

} // namespace SKEIN
