#pragma once
// The modal part of the mapping pop-ups: the program's popup menu and the keyboard and mouse
// pickers. The real one (MappingChooserWin32.cpp) runs "smenuex:menuex_Fun" and the picker
// dialogs; tests install scripted answers.
#include <windows.h>
#include "models/MappingPopup.h"

namespace SKEIN {
class SMenuEx2;
}

class IMappingChooser {
public:
    virtual ~IMappingChooser() = default;
    // Runs the menu at a screen point over owner; the chosen item's id, 0 or -1 when dismissed.
    virtual int RunMenu(const MappingMenu& menu, POINT at, HWND owner) = 0;
    // The on-screen keyboard over owner: result 1 with the key's usage id when one was picked.
    virtual PickerAnswer PickKey(HWND owner) = 0;
    // The mouse picker over owner, its movements hidden on request: result 1 with the button or
    // movement picked.
    virtual PickerAnswer PickMouse(HWND owner, bool hideMovement) = 0;
};

// The process's chooser: the real one unless a test installed another (not owned).
IMappingChooser& MappingChooser();
void SetMappingChooser(IMappingChooser* chooser);

// Loads "smenuex:menuex_Fun" into popup and fills it and its sub-menu with the menu's items.
// False when the resource cannot be loaded.
bool BuildMappingMenu(SKEIN::SMenuEx2& popup, const MappingMenu& menu);
