#pragma once
// One downloaded effect: the slot's own copy of its description and its playing state.
#include <windows.h>
#include <dinput.h>

#include <vector>

enum EffectState : DWORD { kStateNone = 0, kStatePlaying = 1, kStateStopped = 3 };

// The description's parameters in their DirectX 5 form; the arrays, the envelope and the
// type-specific block are the slot's own copies. The axis and direction arrays always have
// the same length, the effect's axis count.
struct EffectParams {
    DWORD flags = 0;
    DWORD duration = 0;  // microseconds, INFINITE for ever
    DWORD samplePeriod = 0;
    DWORD gain = 0;  // 0..10000
    DWORD triggerButton = 0;
    DWORD triggerRepeatInterval = 0;
    std::vector<DWORD> axes;
    std::vector<LONG> directions;
    bool hasEnvelope = false;
    DIENVELOPE envelope = {};
    std::vector<BYTE> typeSpecific;

    size_t AxisCount() const { return axes.size(); }

    // Whether the description's arrays agree with its counts: a nonzero axis count needs both the
    // axis and the direction array, a zero count neither; the type-specific size its block likewise.
    static bool Consistent(const DIEFFECT& effect);
    // Whether copying the parameters selected by paramFlags keeps axes and directions in step.
    bool KeepsAxesInStep(const DIEFFECT& effect, DWORD paramFlags) const;
    // Copies the flags word and the parameters selected by paramFlags (DIEP_*); throws
    // std::bad_alloc when a copy cannot be made.
    void Copy(const DIEFFECT& effect, DWORD paramFlags);
};

struct EffectSlot {
    bool inUse = false;
    EffectParams params;
    DWORD effectId = 0;        // index in the standard effect list
    ULONGLONG startTick = 0;   // milliseconds
    ULONGLONG elapsed = 0;     // milliseconds since the start of the current iteration
    DWORD iterations = 0;      // remaining
    DWORD state = kStateNone;
};
