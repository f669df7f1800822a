#pragma once
// The two mapping pop-ups as data: which items their menu offers, and
// which code a choice (with the picker's answer, when the choice opened one) stores. Pure: the
// device handler runs the menu and the pickers through the mapping chooser.
#include <optional>
#include <vector>
#include "core/SString.h"

class ModelTexts;

// Ids of the menu's own items; every other id is a mapping code.
enum MappingMenuId { kMenuKeyboard = 1, kMenuMouse = 2, kMenuJoystick = 3 };

struct MappingMenuItem {
    UINT32 id;
    SKEIN::SStringW text;
};

// Items of the top level (the kMenuJoystick item holds the sub-menu), and of the sub-menu.
struct MappingMenu {
    std::vector<MappingMenuItem> items;
    std::vector<MappingMenuItem> subItems;
    bool separators; // each item followed by a separator
};

// How many joystick buttons and whole axes a model's pop-ups offer.
const int kOlderMenuButtons = 12;
const int kMenuButtons6891 = 16;
const int kOlderMenuAxes = 4;
const int kMenuAxes6891 = 7;

// Keyboard, mouse, joystick buttons 1..buttons, default; with separators.
MappingMenu KeyMappingMenu(const ModelTexts& texts, UINT32 defaultCode, int buttons = kOlderMenuButtons);
// Keyboard, mouse, the first `axes` of X, Y, throttle, twist, RX, RY, slider, default; without
// separators.
MappingMenu AxisMappingMenu(const ModelTexts& texts, UINT32 defaultCode, int axes = kOlderMenuAxes);

// What a picker answered: result 1 when something was chosen, with its value (keyboard usage
// id, mouse button 1..8 or movement 0x21..0x26).
struct PickerAnswer {
    int result;
    UINT32 value;
};

enum class MappingTarget { Button, Axis };

// The code a pop-up stores for the menu's choice (0 or -1: dismissed) and, after the keyboard
// or mouse item, the picker's answer; nothing when the choice changes nothing. Only codes of
// the target's class (0xF1 button, 0xF3 axis) or the default code are ever stored.
std::optional<UINT32> MappingPopupOutcome(MappingTarget target, UINT32 defaultCode, bool hideMouseMovement,
                                          int menuChoice, const PickerAnswer& picker);
