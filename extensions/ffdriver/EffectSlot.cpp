#include "EffectSlot.h"

bool EffectParams::Consistent(const DIEFFECT& effect) {
    bool axesAgree = effect.cAxes ? effect.rgdwAxes && effect.rglDirection : !effect.rgdwAxes && !effect.rglDirection;
    bool blockAgrees = (effect.cbTypeSpecificParams != 0) == (effect.lpvTypeSpecificParams != nullptr);
    return axesAgree && blockAgrees;
}

bool EffectParams::KeepsAxesInStep(const DIEFFECT& effect, DWORD paramFlags) const {
    bool axes = paramFlags & DIEP_AXES, directions = paramFlags & DIEP_DIRECTION;
    return axes == directions || effect.cAxes == AxisCount();
}

void EffectParams::Copy(const DIEFFECT& effect, DWORD paramFlags) {
    flags = effect.dwFlags;
    if (paramFlags & DIEP_DURATION) duration = effect.dwDuration;
    if (paramFlags & DIEP_SAMPLEPERIOD) samplePeriod = effect.dwSamplePeriod;
    if (paramFlags & DIEP_GAIN) gain = effect.dwGain;
    if (paramFlags & DIEP_TRIGGERBUTTON) triggerButton = effect.dwTriggerButton;
    if (paramFlags & DIEP_TRIGGERREPEATINTERVAL) triggerRepeatInterval = effect.dwTriggerRepeatInterval;
    if (paramFlags & DIEP_AXES) axes.assign(effect.rgdwAxes, effect.rgdwAxes + effect.cAxes);
    if (paramFlags & DIEP_DIRECTION) directions.assign(effect.rglDirection, effect.rglDirection + effect.cAxes);
    if (paramFlags & DIEP_ENVELOPE) {
        hasEnvelope = effect.lpEnvelope != nullptr;
        envelope = hasEnvelope ? *effect.lpEnvelope : DIENVELOPE{};
    }
    if (paramFlags & DIEP_TYPESPECIFICPARAMS) {
        const BYTE* block = static_cast<const BYTE*>(effect.lpvTypeSpecificParams);
        typeSpecific.assign(block, block + effect.cbTypeSpecificParams);
    }
}
