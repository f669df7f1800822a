#pragma once
// The mouse picker ("LAYOUT:SMouseDlg"): a modal dialog offering mouse buttons 1..5 and, unless
// the caller hides them, the movements 0x21..0x26; Value() is the chosen one.
#include "dialogs/SPickerDialog.h"

class SMouseDialog : public SPickerDialog {
public:
    SMouseDialog() : SPickerDialog(L"LAYOUT:SMouseDlg") {}

    // Nonzero: only the five buttons are offered. Set before RunModal.
    void SetHideMovement(int hide) { m_hideMovement = hide; }

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;

protected:
    PickerOutcome Pick(const wchar_t* name, int id) const override { return MousePick(name, id); }

private:
    int m_hideMovement = 0;
};
