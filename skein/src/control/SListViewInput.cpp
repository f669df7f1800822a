// SListView: the navigation keys.
#include "control/SListView.h"

namespace SKEIN {

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
    // End goes to the last item even when measuring the rows moved the bottom.
    bool towardsTop = vk == VK_HOME || vk == VK_PRIOR;
    int last = vk == VK_END ? m_adapter->ItemCount() - 1 : m_firstVisible + static_cast<int>(m_visible.size()) - 1;
    int index = towardsTop ? m_firstVisible : last;
    EnsureVisible(index);
    SetSelection(index, KeySelectionNotifies());
}

} // namespace SKEIN
