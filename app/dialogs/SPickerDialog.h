#pragma once
// The modal picker dialogs' common part: a click on one of their "mybutton" controls ends the
// dialog as the picker's rule says; Escape and closing the window cancel; Enter picks nothing.
#include "core/SHostDialog.h"
#include "dialogs/PickerRules.h"

class SPickerDialog : public SKEIN::SHostDialog {
public:
    // The chosen value, when RunModal returned kPickerChosen.
    int Value() const { return m_value; }

    BOOL OnHostEvent(SKEIN::EventArgs* evt) override;
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;

protected:
    explicit SPickerDialog(const wchar_t* layoutName) : SHostDialog(layoutName) {}
    virtual PickerOutcome Pick(const wchar_t* name, int id) const = 0;

private:
    int m_value = 0;
};
