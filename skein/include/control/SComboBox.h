#pragma once
// The combo box ("combobox"): a combo whose drop list is a list box filled from the "items"
// child of its XML.
#include "control/SComboBase.h"
#include "control/SListBox.h"

namespace SKEIN {

class SComboBox : public SComboBase {
    SKEIN_CLASS_NAME(SComboBase, L"combobox")

public:
    SComboBox();
    ~SComboBox() override;

    int GetCurSel() const override { return m_listBox ? m_listBox->GetCurSel() : -1; }
    int GetCount() const override { return m_listBox ? m_listBox->GetCount() : 0; }
    BOOL SetCurSel(int index) override;
    SStringW GetItemText(int index, bool raw) const override;
    void OnSelChanged() override;
    BOOL CreateListBox(pugi::xml_node node) override;
    int GetListBoxHeight() override;
    SListBox* GetListBox() const { return m_listBox; }

    void OnDropDownCreated(SDropDownWnd* popup) override;
    void OnDropDownDestroyed(SDropDownWnd* popup) override;

    BOOL RaiseEvent(EventArgs& evt) override;
    int RetranslateTexts() override;
    void ApplyScale(int scale) override;

private:
    SListBox* m_listBox;
};

} // namespace SKEIN
