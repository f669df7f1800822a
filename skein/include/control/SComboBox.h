#pragma once
// The combo box ("combobox"): a combo whose drop list is a list box filled from the "items"
// child of its XML.
#include "control/SComboBase.h"
#include "control/SListBox.h"

namespace SKEIN {

class SComboBox : public SComboOver<SListBox, EventLBSelChanged> {
    SKEIN_CLASS_NAME(SComboBase, L"combobox")

public:
    int GetCurSel() const override { return m_list ? m_list->GetCurSel() : -1; }
    int GetCount() const override { return m_list ? m_list->GetCount() : 0; }
    BOOL SetCurSel(int index) override;
    SStringW GetItemText(int index, bool raw) const override;
    BOOL CreateListBox(pugi::xml_node node) override;
    int GetListBoxHeight() override;
    SListBox* GetListBox() const { return m_list; }

    int RetranslateTexts() override;
};

} // namespace SKEIN
