#pragma once
// The combo view ("comboview"): a combo whose drop list is an adapter-driven list view; the combo
// shows the adapter's description of the selected item.
#include "control/SComboBase.h"
#include "control/SListView.h"

namespace SKEIN {

class SComboView : public SComboOver<SListView, EventLVSelChanged> {
    SKEIN_CLASS_NAME(SComboBase, L"comboview")

public:
    int GetCurSel() const override { return m_list ? m_list->GetSelection() : -1; }
    int GetCount() const override;
    BOOL SetCurSel(int index) override;
    SStringW GetItemText(int index, bool raw) const override;
    BOOL CreateListBox(pugi::xml_node node) override;
    int GetListBoxHeight() override;
    // The drop list, to set its adapter.
    SListView* GetListView() const { return m_list; }
};

} // namespace SKEIN
