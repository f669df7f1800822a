// The combo view over a list view and its adapter.
#include "control/SComboView.h"
#include <algorithm>

namespace SKEIN {

int SComboView::GetCount() const
{
    ListItemAdapter* adapter = m_list ? m_list->GetAdapter() : nullptr;
    return adapter ? adapter->ItemCount() : 0;
}

BOOL SComboView::SetCurSel(int index)
{
    // The list view ignores an index it has no item for: nothing is selected, nothing reported.
    if (!m_list || !m_list->GetAdapter() || index >= GetCount())
        return FALSE;
    index = std::max(index, -1);
    if (index == m_list->GetSelection())
        return FALSE;
    m_list->SetSelection(index, FALSE);
    OnSelChanged();
    return TRUE;
}

SStringW SComboView::GetItemText(int index, bool raw) const
{
    ListItemAdapter* adapter = m_list ? m_list->GetAdapter() : nullptr;
    if (!adapter || index == -1)
        return SStringW();
    SStringW text = adapter->ItemDescription(index);
    return raw ? text : TranslateText(text);
}

BOOL SComboView::CreateListBox(pugi::xml_node node)
{
    return CreateList(node);
}

int SComboView::GetListBoxHeight()
{
    if (GetCount() == 0)
        return DropHeightPx();
    // A list view without an item template has no locator: it has no height of its own.
    IListViewItemLocator* locator = m_list->GetLocator();
    if (!locator)
        return 0;
    return FitDropHeight(m_list, locator->TotalHeight());
}

} // namespace SKEIN
