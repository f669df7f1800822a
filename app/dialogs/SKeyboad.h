#pragma once
// The on-screen keyboard ("LAYOUT:SKeyboardDlg"): a modal dialog whose 103 key buttons carry
// the ids 1..103 of the keyboard table's entries; Value() is the chosen key's HID usage id.
#include "dialogs/SPickerDialog.h"

class SKeyboad : public SPickerDialog {
public:
    SKeyboad() : SPickerDialog(L"LAYOUT:SKeyboardDlg") {}

protected:
    PickerOutcome Pick(const wchar_t* name, int id) const override { return KeyboardPick(name, id); }
};
