#include "pages/KeymapLabels.h"
#include "protocol/MappingCode.h"

namespace {

constexpr UINT32 AxisCode(BYTE axis)
{
    return MakeMappingCode(kClassAxis, kSubJoystick, axis);
}

const UINT32 kX = AxisCode(kAxisXMinus);
const UINT32 kY = AxisCode(kAxisYMinus);
const UINT32 kRz = AxisCode(kAxisRzMinus);
const UINT32 kTurboOn = 20;

// The split axes, as every page that shows them has them.
const AxisButton kSplitAxes[9] = {
    {L"btn_Aixymap_X", 0, 1, true, kX, false},
    {L"btn_Aixymap_X_Left", 0, 1, false, kX, false},
    {L"btn_Aixymap_X_Right", 1, 0, false, kX, false},
    {L"btn_Aixymap_Y", 2, 3, true, kY, false},
    {L"btn_Aixymap_Y_Up", 2, 3, false, kY, false},
    {L"btn_Aixymap_Y_Down", 3, 2, false, kY, false},
    {L"btn_Aixymap_RZ", 4, 5, true, kRz, false},
    {L"btn_Aixymap_RZ_Left", 4, 5, false, kRz, false},
    {L"btn_Aixymap_RZ_Right", 5, 4, false, kRz, false},
};
const AxisPairButtons kSplitPairs[3] = {
    {L"btn_Aixymap_X", L"btn_Aixymap_X_Left", L"btn_Aixymap_X_Right", 0},
    {L"btn_Aixymap_Y", L"btn_Aixymap_Y_Up", L"btn_Aixymap_Y_Down", 2},
    {L"btn_Aixymap_RZ", L"btn_Aixymap_RZ_Left", L"btn_Aixymap_RZ_Right", 4},
};

const AxisButton kOlderSingles[] = {{L"btn_Aixymap_Z", 6, -1, true, AxisCode(kAxisZ), true}};
const AxisButton kSingles6891A[] = {{L"btn_Aixymap_Slider", 9, -1, true, AxisCode(kAxisSlider), true}};
const AxisButton kSingles6891B[] = {
    {L"btn_Aixymap_Z", 8, -1, true, AxisCode(kAxisZ), true},
    {L"btn_Aixymap_RX", 6, -1, true, AxisCode(kAxisRx), true},
    {L"btn_Aixymap_RY", 7, -1, true, AxisCode(kAxisRy), true},
};

} // namespace

const KeymapPageDesign kOlderKeymapPage = {kSplitAxes, 9, kSplitPairs, 3, kOlderSingles, 1, nullptr, 0};
const KeymapPageDesign kKeymapPage6891A = {kSplitAxes, 9, kSplitPairs, 3, kSingles6891A, 1, L"btn_keymapAgotoB", 1};
const KeymapPageDesign kKeymapPage6891B = {nullptr, 0, nullptr, 0, kSingles6891B, 3, L"btn_keymapBgotoA", 0};

void PairAxisSlots(bool wholeButton, UINT32 written, UINT32& partner)
{
    if (IsJoystickAxisCode(written))
        partner = written;
    else if (wholeButton || IsJoystickAxisCode(partner))
        partner = 0;
}

UINT32 ToggledTurbo(UINT32 speed)
{
    return speed == 0 ? kTurboOn : 0;
}

KeymapLabels MakeKeymapLabels(const KeymapPageDesign& design, const UINT32* keyCode, const UINT32* turbo,
                              const UINT32* axisCode, const CodeNamer& name)
{
    KeymapLabels labels;
    for (int i = 0; i < kButtonCount; ++i) {
        labels.keys[i] = name(keyCode[i], true);
        labels.turbo[i] = turbo[i] != 0;
    }
    for (int pair = 0; pair < design.pairCount; ++pair) {
        UINT32 first = axisCode[design.pairs[pair].firstSlot];
        UINT32 second = axisCode[design.pairs[pair].firstSlot + 1];
        AxisPairLabels& shown = labels.pairs[pair];
        shown.showWhole = IsJoystickAxisCode(first) || IsJoystickAxisCode(second);
        shown.whole = name(first, false);
        shown.first = name(first, true);
        shown.second = name(second, true);
    }
    for (int single = 0; single < design.singleCount; ++single)
        labels.singles[single] = name(axisCode[design.singles[single].slot], false);
    return labels;
}
