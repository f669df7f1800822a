// The combo view over a list view and its adapter.
#include "control/SComboView.h"

namespace SKEIN {

SComboView::SComboView() : m_listView(nullptr) {}

SComboView::~SComboView()
{
    if (m_listView) {
        m_listView->SendUiMessage(WM_DESTROY);
        m_listView->Release();
    }
}

int SComboView::GetCount() const
{
    ListItemAdapter* adapter = m_listView ? m_listView->GetAdapter() : nullptr;
    return adapter ? adapter->ItemCount() : 0;
}

BOOL SComboView::SetCurSel(int index)
{
    if (!m_listView || index == m_listView->GetSelection())
        return FALSE;
    m_listView->SetSelection(index, FALSE);
    OnSelChanged();
    return TRUE;
}

SStringW SComboView::GetItemText(int index, bool raw) const
{
    ListItemAdapter* adapter = m_listView ? m_listView->GetAdapter() : nullptr;
    if (!adapter || index == -1)
        return SStringW();
    SStringW text = adapter->ItemDescription(index);
    return raw ? text : TranslateText(text);
}

void SComboView::OnSelChanged()
{
    SyncEditText();
    SComboBase::OnSelChanged();
}

BOOL SComboView::CreateListBox(pugi::xml_node node)
{
    m_listView = static_cast<SListView*>(CreateDropList(node, SListView::StaticXmlClassName()));
    return m_listView != nullptr;
}

int SComboView::GetListBoxHeight()
{
    int limit = DropHeightPx();
    // A list view without an item template has no locator: it has no height of its own.
    IListViewItemLocator* locator = m_listView ? m_listView->GetLocator() : nullptr;
    if (GetCount() == 0)
        return limit;
    if (!locator)
        return 0;
    RECT margin = m_listView->GetStyle().GetMarginRect();
    long long wanted = static_cast<long long>(locator->TotalHeight()) + margin.top + margin.bottom;
    return static_cast<int>(std::min<long long>(wanted, limit));
}

void SComboView::OnDropDownCreated(SDropDownWnd* popup)
{
    SComboBase::OnDropDownCreated(popup);
    if (!m_listView)
        return;
    InsertDropList(popup, m_listView);
    m_listView->EnsureVisible(GetCurSel());
}

void SComboView::OnDropDownDestroyed(SDropDownWnd* popup)
{
    if (m_listView)
        RemoveDropList(popup, m_listView);
    SComboBase::OnDropDownDestroyed(popup);
}

BOOL SComboView::RaiseEvent(EventArgs& evt)
{
    if (evt.idFrom == kComboListId && GetPopup()) {
        if (evt.GetId() == EventLVSelChanged::EventID) {
            OnSelChanged();
            return TRUE;
        }
        if (evt.GetId() == EventCmd::EventID) {
            CloseUp();
            return TRUE;
        }
    }
    return SComboBase::RaiseEvent(evt);
}

void SComboView::ApplyScale(int scale)
{
    SComboBase::ApplyScale(scale);
    if (m_listView)
        m_listView->SendUiMessage(kUiMsgScaleChanged, scale);
}

} // namespace SKEIN
