#pragma once
// The combo view ("comboview"): a combo whose drop list is an adapter-driven list view; the combo
// shows the adapter's description of the selected item.
#include "control/SComboBase.h"
#include "control/SListView.h"

namespace SKEIN {

class SComboView : public SComboBase {
    SKEIN_CLASS_NAME(SComboBase, L"comboview")

public:
    SComboView();
    ~SComboView() override;

    int GetCurSel() const override { return m_listView ? m_listView->GetSelection() : -1; }
    int GetCount() const override;
    BOOL SetCurSel(int index) override;
    SStringW GetItemText(int index, bool raw) const override;
    void OnSelChanged() override;
    BOOL CreateListBox(pugi::xml_node node) override;
    int GetListBoxHeight() override;
    // The drop list, to set its adapter.
    SListView* GetListView() const { return m_listView; }

    void OnDropDownCreated(SDropDownWnd* popup) override;
    void OnDropDownDestroyed(SDropDownWnd* popup) override;

    BOOL RaiseEvent(EventArgs& evt) override;
    void ApplyScale(int scale) override;

private:
    SListView* m_listView;
};

} // namespace SKEIN
