#include "CRumble.h"

#include <climits>
#include <cmath>
#include <cstring>

namespace {

enum EffectId : DWORD { kConstant = 0, kRamp, kSquare, kSine, kTriangle, kSawtoothUp, kSawtoothDown };

// The type-specific block as T, when it is large enough to hold one.
template <class T>
bool ReadBlock(const EffectParams& params, T* block) {
    if (params.typeSpecific.size() < sizeof(T)) return false;
    std::memcpy(block, params.typeSpecific.data(), sizeof(T));
    return true;
}

// Toward zero, saturated to the range of LONG.
LONG TruncateToLong(double value) {
    if (value <= LONG_MIN) return LONG_MIN;
    if (value >= LONG_MAX) return LONG_MAX;
    return static_cast<LONG>(value);
}

}  // namespace

CRumble::CRumble(const DeviceRecord& device, const EffectSlot& slot)
    : device_(device), slot_(slot), micros_(slot.elapsed * 1000) {}

bool CRumble::AxisValues(LONG (&values)[2]) const {
    const EffectParams& params = slot_.params;
    size_t count = params.AxisCount();
    double entries[2];
    if (count == 0 || count > 2 || !Split(Magnitude(), entries)) return false;
    for (size_t j = 0; j < count; ++j) {
        DWORD instance = (params.axes[j] >> 8) & 0xFFFF;
        values[j] = instance < count ? TruncateToLong(entries[instance]) : 0;
    }
    return true;
}

double CRumble::Magnitude() const {
    const EffectParams& params = slot_.params;
    double base = device_.amplify / 1000.0 * 255.0 * device_.gain / 10000.0;
    double gain = params.gain;
    double scaled = gain / 10000.0 * base;
    switch (slot_.effectId) {
    case kConstant: {
        DICONSTANTFORCE constant;
        if (!ReadBlock(params, &constant)) return 0;
        return Envelope(constant.lMagnitude) * (gain / 9000.0 * base) / 10000.0;
    }
    case kRamp: {
        DIRAMPFORCE ramp;
        if (!ReadBlock(params, &ramp)) return 0;
        if (params.duration == INFINITE || params.duration == 0) return Envelope(ramp.lStart) * scaled / 10000.0;
        double level = ramp.lStart + (static_cast<double>(ramp.lEnd) - ramp.lStart) * micros_ / params.duration;
        return Envelope(level) * scaled / 10000.0;
    }
    case kSine: {
        DIPERIODIC sine;
        if (!ReadBlock(params, &sine)) return 0;
        return std::fabs(Envelope(std::fabs(sine.dwMagnitude / 100.0)) * scaled + sine.lOffset / 10000.0 * 255.0);
    }
    case kSquare:
    case kTriangle:
    case kSawtoothUp:
    case kSawtoothDown: {
        DIPERIODIC periodic;
        if (!ReadBlock(params, &periodic) || periodic.dwPeriod == 0) return 0;
        return std::fabs(Envelope(Wave(periodic)) * scaled / 10000.0 + periodic.lOffset / 10000.0 * 255.0);
    }
    default:  // conditions and custom forces give no rumble
        return 0;
    }
}

double CRumble::Wave(const DIPERIODIC& periodic) const {
    ULONGLONG period = periodic.dwPeriod;
    ULONGLONG position = (micros_ + static_cast<ULONGLONG>(periodic.dwPhase / 36000.0 * period)) % period;
    bool firstHalf = position <= period / 2;
    double pos = static_cast<double>(position);
    switch (slot_.effectId) {
    case kSquare:
        return firstHalf ? 10000.0 : 0.0;
    case kTriangle: {
        double half = period * 0.5;
        return firstHalf ? pos / half * 10000.0 : 10000.0 - (pos - half) / half * 10000.0;
    }
    case kSawtoothUp:
        return pos * 10000.0 / period;
    default:  // sawtooth down
        return 10000.0 - pos * 10000.0 / period;
    }
}

double CRumble::Envelope(double level) const {
    const EffectParams& params = slot_.params;
    if (!params.hasEnvelope) return level;
    const DIENVELOPE& envelope = params.envelope;
    double t = static_cast<double>(micros_);
    double attackLevel = envelope.dwAttackLevel, attackTime = envelope.dwAttackTime;
    double fadeLevel = envelope.dwFadeLevel, fadeTime = envelope.dwFadeTime;
    double fadeStart = static_cast<double>(params.duration) - fadeTime;
    if (attackTime > 0 && attackTime >= t) return attackLevel - t / attackTime * (attackLevel - level);
    if (params.duration != INFINITE && fadeTime > 0 && t >= fadeStart)
        return level - (level - fadeLevel) * (t - fadeStart) / fadeTime;
    return level;
}

bool CRumble::Split(double magnitude, double (&entries)[2]) const {
    const EffectParams& params = slot_.params;
    size_t count = params.AxisCount();
    // Only the coordinate bits matter; DirectInput may add the object-id or offset bits.
    const DWORD coordinates = params.flags & (DIEFF_CARTESIAN | DIEFF_POLAR | DIEFF_SPHERICAL);
    if (coordinates == DIEFF_CARTESIAN) {
        // Two squares of 32-bit directions fit in 64 unsigned bits.
        ULONGLONG squares = 0;
        for (size_t j = 0; j < count; ++j) {
            LONGLONG direction = params.directions[j];
            squares += static_cast<ULONGLONG>(direction * direction);
        }
        double share = squares ? std::sqrt(magnitude * magnitude / static_cast<double>(squares)) : 0;
        for (size_t j = 0; j < count; ++j) entries[j] = squares ? std::fabs(params.directions[j] * share) : magnitude;
        return true;
    }
    if (coordinates == DIEFF_POLAR) {
        // The first direction is the angle in degrees: even axes take its cosine, odd ones its sine.
        double angle = params.directions[0] * 3.14159 / 180.0;
        for (size_t j = 0; j < count; ++j) entries[j] = (j % 2 ? std::sin(angle) : std::cos(angle)) * magnitude;
        return true;
    }
    return false;
}
