#pragma once
// What a click on a picker dialog's button means: the dialog's end code and the chosen value.

// End codes of the pickers.
const int kPickerChosen = 1;
const int kPickerCancelled = 2;

struct PickerOutcome {
    int result; // kPickerChosen or kPickerCancelled
    int value;  // the chosen value; 0 when cancelled
};

// On-screen keyboard: key button id k chooses the HID usage id of keyboard table entry k - 1;
// the name "~", ids below 1 and ids past the table (the close button) cancel.
PickerOutcome KeyboardPick(const wchar_t* name, int id);

// Mouse picker: ids 1..5 (buttons) and 0x21..0x26 (movements) are chosen as they are; the
// name "\x7F", negative ids and every other id (the close button) cancel.
PickerOutcome MousePick(const wchar_t* name, int id);
