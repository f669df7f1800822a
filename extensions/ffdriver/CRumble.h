#pragma once
// Force calculator of one playing effect: its magnitude at the slot's elapsed time (type, gains,
// Amplify, envelope) and the split of that magnitude over the effect's axes by its direction.
#include <windows.h>
#include <dinput.h>

#include "DeviceTable.h"

class CRumble {
public:
    CRumble(const DeviceRecord& device, const EffectSlot& slot);

    // The values of the slot's axes, for effects on one or two axes; false for other axis counts
    // and for a direction that is neither cartesian nor polar.
    bool AxisValues(LONG (&values)[2]) const;
    // The signed strength of the effect now, 255 being full strength at 100 % Amplify.
    double Magnitude() const;

private:
    bool Split(double magnitude, double (&entries)[2]) const;
    double Wave(const DIPERIODIC& periodic) const;  // 0..10000 at the current phase
    double Envelope(double level) const;

    const DeviceRecord& device_;
    const EffectSlot& slot_;
    ULONGLONG micros_;  // elapsed time of the current iteration
};
