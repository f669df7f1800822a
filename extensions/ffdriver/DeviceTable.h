#pragma once
// The process-wide effect state of the drivers: 16 device records indexed by DirectInput's external
// device id, each with 32 effect slots. An effect handle is its slot number plus 1. A record
// belongs to the driver that opened it until that driver shuts it down; every driver of the
// process works on the same table.
// Every operation takes the effect lock; the tick (RumbleTick) takes it for its whole pass.
// Clock and device I/O go through RumblePort::Current().
#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include "EffectSlot.h"
#include "RundelDevice.h"

constexpr DWORD kDeviceCount = 16;
constexpr DWORD kSlotCount = 32;
constexpr size_t kPathLength = 1024;

struct DeviceRecord {
    const void* owner = nullptr;  // the driver that opened the device; null while it is closed
    HANDLE handle = nullptr;
    DWORD deviceId = static_cast<DWORD>(-1);
    BYTE reportId = 0;
    DWORD gain = 10000;
    DWORD amplify = 1000;  // 1000 = 100 %
    DWORD rightSum = 0;
    DWORD leftSum = 0;
    char path[kPathLength] = {};
    EffectSlot slots[kSlotCount];
};

class DeviceTable {
public:
    static DeviceTable& Instance();

    // Every record that no driver has open back to its defaults (the path stays).
    void Reset();
    // Opens path for the device on behalf of owner and reads its output report id; a repeated
    // open closes the previous handle. HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED) when it
    // cannot be opened, and the record is left closed.
    HRESULT Open(DWORD device, const char* path, const void* owner);
    // For each device that owner opened: destroys its playing effects, sends it the stop report,
    // closes it and lets it go, so that no tick opens it again.
    void Shutdown(const void* owner);

    HRESULT Download(DWORD device, DWORD effectId, DWORD* handle, const DIEFFECT* effect, DWORD paramFlags);
    HRESULT Start(DWORD device, DWORD handle, DWORD mode, DWORD count);
    HRESULT Stop(DWORD device, DWORD handle);
    HRESULT Destroy(DWORD device, DWORD handle);
    HRESULT Status(DWORD device, DWORD handle, DWORD* status);
    HRESULT SetGain(DWORD device, DWORD gain);
    HRESULT Command(DWORD device, DWORD command);
    HRESULT State(DWORD device, DIDEVICESTATE* state);

    // Unlocked access for the tick, which holds the lock itself.
    DeviceRecord& Record(DWORD device) { return records_[device]; }

private:
    static bool ValidHandle(DWORD handle) { return handle >= 1 && handle <= kSlotCount; }
    HRESULT Update(DeviceRecord& record, DWORD* handle, DWORD effectId, const DIEFFECT& effect, DWORD paramFlags);
    HRESULT Create(DeviceRecord& record, DWORD* handle, DWORD effectId, const DIEFFECT& effect);

    DeviceRecord records_[kDeviceCount];
};
