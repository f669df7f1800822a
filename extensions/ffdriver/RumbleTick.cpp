#include "RumbleTick.h"

#include <mmsystem.h>

#include "CRumble.h"
#include "EffectLock.h"
#include "RumblePort.h"

namespace RumbleTick {
namespace {

constexpr UINT kTimerResolutionMs = 100;

SRWLOCK g_timerLock = SRWLOCK_INIT;
LONG g_holders = 0;
UINT g_timer = 0;

void CALLBACK OnTimer(UINT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) { Run(); }

// Forces are added in 64 bits; a sum is compared the way an unsigned 32-bit motor value was,
// so a negative total ranks above every positive one and is sent as full strength.
struct MotorSums {
    LONGLONG right = 0;
    LONGLONG left = 0;
};

bool RanksAbove(LONGLONG a, LONGLONG b) { return static_cast<ULONGLONG>(a) > static_cast<ULONGLONG>(b); }

DWORD MotorByte(LONGLONG sum) { return sum < 0 || sum >= 255 ? 255 : static_cast<DWORD>(sum); }

// Advances the slot's clock and iterations; false once its last iteration has ended.
bool Advance(EffectSlot& slot, ULONGLONG now) {
    slot.elapsed = now - slot.startTick;
    if (slot.params.duration == INFINITE || slot.elapsed * 1000 <= slot.params.duration) return true;
    if (--slot.iterations == 0) {
        slot.state = kStateStopped;
        return false;
    }
    slot.startTick = now;  // this tick still renders the elapsed time just computed
    return true;
}

void AddForce(const DeviceRecord& record, const EffectSlot& slot, MotorSums& sums) {
    LONG values[2];
    if (!CRumble(record, slot).AxisValues(values)) return;
    if (slot.params.AxisCount() == 1) {
        sums.left += values[0];
        sums.right += values[0];
        return;
    }
    sums.right += values[1];
    sums.left += values[0];
    if (slot.effectId != 0) sums.right = sums.left = RanksAbove(sums.right, sums.left) ? sums.right : sums.left;
}

void TickDevice(DeviceRecord& record, RumblePort& port, ULONGLONG now) {
    if (!RumblePort::IsOpen(record.handle)) {
        record.handle = port.Open(record.path);
        if (!RumblePort::IsOpen(record.handle)) {
            record.handle = nullptr;
            return;
        }
    }
    MotorSums sums;
    for (EffectSlot& slot : record.slots) {
        if (slot.inUse && slot.state == kStatePlaying && Advance(slot, now)) AddForce(record, slot, sums);
    }
    record.rightSum = MotorByte(sums.right);
    record.leftSum = MotorByte(sums.left);
    DWORD result = SendReport(record, static_cast<BYTE>(record.rightSum), static_cast<BYTE>(record.leftSum), port);
    if (result == ERROR_DEVICE_NOT_CONNECTED) {
        port.Close(record.handle);
        record.handle = nullptr;
    }
}

}  // namespace

void Hold() {
    AcquireSRWLockExclusive(&g_timerLock);
    ++g_holders;
    if (!g_timer)
        g_timer = timeSetEvent(kPeriodMs, kTimerResolutionMs, &OnTimer, 0,
                               TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    ReleaseSRWLockExclusive(&g_timerLock);
}

void Drop() {
    AcquireSRWLockExclusive(&g_timerLock);
    if (--g_holders == 0 && g_timer) {
        timeKillEvent(g_timer);  // waits for a running pass
        g_timer = 0;
    }
    ReleaseSRWLockExclusive(&g_timerLock);
}

void Run() {
    RumblePort& port = RumblePort::Current();
    DeviceTable& table = DeviceTable::Instance();
    EffectLock::Guard guard;
    const ULONGLONG now = port.Now();
    for (DWORD device = 0; device < kDeviceCount; ++device) {
        DeviceRecord& record = table.Record(device);
        if (record.owner) TickDevice(record, port, now);
    }
}

DWORD SendReport(const DeviceRecord& record, BYTE right, BYTE left, RumblePort& port) {
    const BYTE report[9] = {record.reportId, 0x02, 0x08, right, left, 0xFF, 0, 0, 0};
    return port.Write(record.handle, report, sizeof report);
}

}  // namespace RumbleTick
