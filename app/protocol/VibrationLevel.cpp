#include "protocol/VibrationLevel.h"
#include <algorithm>

namespace {

const UINT32 kMaxStrength = 100;
const double kLevelPerPercent = 2.55;

} // namespace

BYTE VibrationLevel(UINT32 strengthPercent, UINT32 scale)
{
    double strength = std::min(strengthPercent, kMaxStrength);
    double factor = std::min(scale, kFullVibrationScale);
    return static_cast<BYTE>(static_cast<int>(strength * kLevelPerPercent / kFullVibrationScale * factor));
}
