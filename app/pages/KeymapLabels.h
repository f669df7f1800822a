#pragma once
// A key-mapping page as data: its axis buttons and the slots they edit, how an edit of one axis
// slot brings its partner in line, and what the page shows for a profile layer. The one-layer
// models have one page; model 6891 splits its controls over pages A and B. Pure: the page
// handler binds it to the controls.
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

// A pair of axis slots shown either by one whole-axis button or by two half buttons.
struct AxisPairButtons {
    const wchar_t* whole;
    const wchar_t* first;
    const wchar_t* second;
    int firstSlot; // the second slot follows it
};

const int kMaxAxisPairs = 3;
const int kMaxSingleAxes = 4;

// The axis controls of one page, and the button that shows another sub-page (null: none).
struct KeymapPageDesign {
    const AxisButton* axisButtons; // the split axes' buttons
    int axisButtonCount;
    const AxisPairButtons* pairs;
    int pairCount;
    const AxisButton* singles; // axes of one slot, shown whole
    int singleCount;
    const wchar_t* gotoButton;
    int gotoPage;

    struct Buttons {
        const AxisButton* first;
        int count;
        const AxisButton* begin() const { return first; }
        const AxisButton* end() const { return first + count; }
    };
    Buttons Split() const { return {axisButtons, axisButtonCount}; }
    Buttons Single() const { return {singles, singleCount}; }
};

// The one-layer models: X, Y and Rz as a whole and per half, then the throttle (slot 6).
extern const KeymapPageDesign kOlderKeymapPage;
// Model 6891: page A has X, Y, RZ and the slider, page B the throttle, RX and RY.
extern const KeymapPageDesign kKeymapPage6891A;
extern const KeymapPageDesign kKeymapPage6891B;

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
    AxisPairLabels pairs[kMaxAxisPairs];   // the design's pairs in order
    SKEIN::SStringW singles[kMaxSingleAxes]; // the design's single axes in order
};

// keyCode, turbo: 26 entries; axisCode: the layer's axis slots.
KeymapLabels MakeKeymapLabels(const KeymapPageDesign& design, const UINT32* keyCode, const UINT32* turbo,
                              const UINT32* axisCode, const CodeNamer& name);
