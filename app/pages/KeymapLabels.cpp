#include "pages/KeymapLabels.h"
#include "protocol/MappingCode.h"

namespace {

const UINT32 kX = MakeMappingCode(kClassAxis, kSubJoystick, kAxisXMinus);
const UINT32 kY = MakeMappingCode(kClassAxis, kSubJoystick, kAxisYMinus);
const UINT32 kRz = MakeMappingCode(kClassAxis, kSubJoystick, kAxisRzMinus);
const UINT32 kZ = MakeMappingCode(kClassAxis, kSubJoystick, kAxisZ);
const UINT32 kTurboOn = 20;

} // namespace

const wchar_t kThrottleButton[] = L"btn_Aixymap_Z";

const AxisButton kOlderAxisButtons[10] = {
    {L"btn_Aixymap_X", 0, 1, true, kX, false},
    {L"btn_Aixymap_X_Left", 0, 1, false, kX, false},
    {L"btn_Aixymap_X_Right", 1, 0, false, kX, false},
    {L"btn_Aixymap_Y", 2, 3, true, kY, false},
    {L"btn_Aixymap_Y_Up", 2, 3, false, kY, false},
    {L"btn_Aixymap_Y_Down", 3, 2, false, kY, false},
    {L"btn_Aixymap_RZ", 4, 5, true, kRz, false},
    {L"btn_Aixymap_RZ_Left", 4, 5, false, kRz, false},
    {L"btn_Aixymap_RZ_Right", 5, 4, false, kRz, false},
    {kThrottleButton, kThrottleSlot, -1, true, kZ, true},
};

const AxisPairButtons kOlderAxisPairs[3] = {
    {L"btn_Aixymap_X", L"btn_Aixymap_X_Left", L"btn_Aixymap_X_Right", 0},
    {L"btn_Aixymap_Y", L"btn_Aixymap_Y_Up", L"btn_Aixymap_Y_Down", 2},
    {L"btn_Aixymap_RZ", L"btn_Aixymap_RZ_Left", L"btn_Aixymap_RZ_Right", 4},
};

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

KeymapLabels MakeKeymapLabels(const OlderLayer& layer, const CodeNamer& name)
{
    KeymapLabels labels;
    for (int i = 0; i < kButtonCount; ++i) {
        labels.keys[i] = name(layer.keyCode[i], true);
        labels.turbo[i] = layer.turbo[i] != 0;
    }
    for (int pair = 0; pair < 3; ++pair) {
        UINT32 first = layer.axisCode[kOlderAxisPairs[pair].firstSlot];
        UINT32 second = layer.axisCode[kOlderAxisPairs[pair].firstSlot + 1];
        AxisPairLabels& shown = labels.pairs[pair];
        shown.showWhole = IsJoystickAxisCode(first) || IsJoystickAxisCode(second);
        shown.whole = name(first, false);
        shown.first = name(first, true);
        shown.second = name(second, true);
    }
    labels.throttle = name(layer.axisCode[kThrottleSlot], false);
    return labels;
}
