#pragma once
// The key-mapping page of the one-layer models as data: its axis buttons and the slots they
// edit, how an edit of one axis slot brings its partner in line, and what the page shows for a
// profile layer. Pure: the page handler binds it to the controls.
#include <functional>
#include "core/SString.h"
#include "files/ProfileRecords.h"

// An axis mapping button: the slot its pop-up writes, the partner slot it keeps in line (-1:
// none), the code of the menu's default item, and whether the mouse picker hides movements.
struct AxisButton {
    const wchar_t* name;
    int slot;
    int partner;
    bool whole; // the button of a whole axis (not of one half)
    UINT32 defaultCode;
    bool hideMouseMovement;
};

// X, Y and Rz as a whole and per half, then the throttle: the order in which a click is tried.
extern const AxisButton kOlderAxisButtons[10];

// A pair of axis slots shown either by one whole-axis button or by two half buttons.
struct AxisPairButtons {
    const wchar_t* whole;
    const wchar_t* first;
    const wchar_t* second;
    int firstSlot; // the second slot follows it
};
extern const AxisPairButtons kOlderAxisPairs[3];
// The throttle's button and slot.
extern const wchar_t kThrottleButton[];
const int kThrottleSlot = 6;

// After a pop-up wrote `written` through one of the pair's buttons: a joystick axis is copied
// to the partner; otherwise the whole-axis button clears the partner, and a half button clears
// it only when it held a joystick axis.
void PairAxisSlots(bool wholeButton, UINT32 written, UINT32& partner);

// Turbo off (0) becomes on (20); anything else becomes off.
UINT32 ToggledTurbo(UINT32 speed);

// The name of a mapping code; half: per direction, else an axis code names the whole axis.
using CodeNamer = std::function<SKEIN::SStringW(UINT32 code, bool half)>;

struct AxisPairLabels {
    bool showWhole; // either slot holds a joystick axis
    SKEIN::SStringW whole, first, second;
};

struct KeymapLabels {
    SKEIN::SStringW keys[kButtonCount];
    bool turbo[kButtonCount];
    AxisPairLabels pairs[3];
    SKEIN::SStringW throttle;
};

KeymapLabels MakeKeymapLabels(const OlderLayer& layer, const CodeNamer& name);
