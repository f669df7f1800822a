// STreeView: a press outside the items and the navigation keys.
#include "control/STreeView.h"

namespace SKEIN {

void STreeView::OnPressOutsideItems()
{
    if (SItemPanel* selected = ItemPanelOf(m_selection))
        selected->DispatchHostMessage(WM_KILLFOCUS, 0, 0);
}

void STreeView::SelectByKey(STreeHandle item)
{
    if (!item)
        return;
    EnsureVisible(item);
    SetSelection(item, TRUE);
}

BOOL STreeView::OnNavigationKey(UINT vk)
{
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
    default: return FALSE;
    }
}

} // namespace SKEIN
