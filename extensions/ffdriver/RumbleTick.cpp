#include "RumbleTick.h"

#include "CRumble.h"
#include "EffectLock.h"
#include "RumblePort.h"

namespace RumbleTick {
namespace {

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

void TickDevice(DeviceRecord& record, RumblePort& port) {
    if (!RumblePort::IsOpen(record.handle)) {
        record.handle = port.Open(record.path);
        if (!RumblePort::IsOpen(record.handle)) {
            record.handle = nullptr;
            return;
        }
    }
    MotorSums sums;
    for (EffectSlot& slot : record.slots) {
        if (slot.inUse && slot.state == kStatePlaying && Advance(slot, port.Now())) AddForce(record, slot, sums);
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

void Run() {
    RumblePort& port = RumblePort::Current();
    DeviceTable& table = DeviceTable::Instance();
    EffectLock::Guard guard;
    for (DWORD device = 0; device < kDeviceCount; ++device) {
        DeviceRecord& record = table.Record(device);
        if (record.open) TickDevice(record, port);
    }
}

DWORD SendReport(const DeviceRecord& record, BYTE right, BYTE left, RumblePort& port) {
    const BYTE report[9] = {record.reportId, 0x02, 0x08, right, left, 0xFF, 0, 0, 0};
    return port.Write(record.handle, report, sizeof report);
}

}  // namespace RumbleTick
