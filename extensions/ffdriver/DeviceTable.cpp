#include "DeviceTable.h"

#include <cstring>
#include <new>

#include "DriverRegistry.h"
#include "EffectLock.h"
#include "HidDevice.h"
#include "RumblePort.h"
#include "RumbleTick.h"

namespace {

void ResetRecord(DeviceRecord& record) {
    record.owner = nullptr;
    record.handle = nullptr;
    record.deviceId = static_cast<DWORD>(-1);
    record.reportId = 0;
    record.gain = 10000;
    record.amplify = 1000;
    record.rightSum = 0;
    record.leftSum = 0;
    for (EffectSlot& slot : record.slots) slot = EffectSlot();
}

// Copies the selected parameters into the slot; a failed copy frees the slot and zeroes the handle.
HRESULT Fill(EffectSlot& slot, DWORD effectId, const DIEFFECT& effect, DWORD paramFlags, DWORD* handle) {
    try {
        slot.params.Copy(effect, paramFlags);
    } catch (const std::bad_alloc&) {
        slot = EffectSlot();
        *handle = 0;
        return E_OUTOFMEMORY;
    }
    slot.effectId = effectId;
    return S_OK;
}

}  // namespace

DeviceTable& DeviceTable::Instance() {
    static DeviceTable table;
    return table;
}

void DeviceTable::Reset() {
    EffectLock::Guard guard;
    for (DeviceRecord& record : records_) {
        if (!record.owner) ResetRecord(record);  // a closed record holds no handle
    }
}

HRESULT DeviceTable::Open(DWORD device, const char* path, const void* owner) {
    if (device >= kDeviceCount || std::strlen(path) >= kPathLength) return E_INVALIDARG;
    RumblePort& port = RumblePort::Current();
    EffectLock::Guard guard;
    DeviceRecord& record = records_[device];
    if (RumblePort::IsOpen(record.handle)) port.Close(record.handle);
    std::strcpy(record.path, path);
    record.handle = port.Open(path);
    if (!RumblePort::IsOpen(record.handle)) {
        record.handle = nullptr;
        record.owner = nullptr;
        return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    }
    HidDevice::ReadOutputReportId(record.handle, &record.reportId);
    record.deviceId = device;
    record.owner = owner;
    return S_OK;
}

void DeviceTable::Shutdown(const void* owner) {
    RumblePort& port = RumblePort::Current();
    EffectLock::Guard guard;
    for (DeviceRecord& record : records_) {
        if (record.owner != owner) continue;
        for (EffectSlot& slot : record.slots) {
            if (slot.state == kStatePlaying) slot = EffectSlot();
        }
        if (RumblePort::IsOpen(record.handle)) {
            RumbleTick::SendReport(record, 0, 0, port);
            port.Close(record.handle);
        }
        record.handle = nullptr;
        record.owner = nullptr;
    }
}

HRESULT DeviceTable::Download(DWORD device, DWORD effectId, DWORD* handle, const DIEFFECT* effect,
                              DWORD paramFlags) {
    if (device >= kDeviceCount || effectId >= RundelDevice::kEffectCount || !handle || !effect || *handle > kSlotCount ||
        !EffectParams::Consistent(*effect))
        return E_INVALIDARG;
    if (paramFlags & DIEP_NODOWNLOAD) return S_OK;
    HRESULT hr;
    {
        EffectLock::Guard guard;
        DeviceRecord& record = records_[device];
        hr = *handle ? Update(record, handle, effectId, *effect, paramFlags) : Create(record, handle, effectId, *effect);
    }
    if (FAILED(hr) || !(paramFlags & DIEP_START)) return hr;
    return Start(device, *handle, 0, 1);
}

HRESULT DeviceTable::Update(DeviceRecord& record, DWORD* handle, DWORD effectId, const DIEFFECT& effect,
                            DWORD paramFlags) {
    EffectSlot& slot = record.slots[*handle - 1];
    if (!slot.inUse || !slot.params.KeepsAxesInStep(effect, paramFlags)) return E_INVALIDARG;
    return Fill(slot, effectId, effect, paramFlags, handle);
}

HRESULT DeviceTable::Create(DeviceRecord& record, DWORD* handle, DWORD effectId, const DIEFFECT& effect) {
    for (DWORD i = 0; i < kSlotCount; ++i) {
        EffectSlot& slot = record.slots[i];
        if (slot.inUse) continue;
        slot = EffectSlot();
        HRESULT hr = Fill(slot, effectId, effect, DIEP_ALLPARAMS_DX5, handle);
        if (FAILED(hr)) return hr;
        slot.inUse = true;
        *handle = i + 1;
        return S_OK;
    }
    return E_FAIL;
}

HRESULT DeviceTable::Start(DWORD device, DWORD handle, DWORD mode, DWORD count) {
    if (device >= kDeviceCount || !ValidHandle(handle) || count == 0) return E_INVALIDARG;
    DWORD amplify;
    bool amplifyRead = DriverRegistry::ReadAmplify(&amplify);
    ULONGLONG now = RumblePort::Current().Now();
    EffectLock::Guard guard;
    DeviceRecord& record = records_[device];
    EffectSlot& slot = record.slots[handle - 1];
    if (!slot.inUse) return E_INVALIDARG;
    if (amplifyRead) record.amplify = amplify;
    if (mode == DIES_SOLO) {
        for (EffectSlot& other : record.slots) other.state = kStateStopped;
    }
    slot.state = kStatePlaying;
    slot.startTick = now;
    slot.iterations = count;
    slot.elapsed = 0;
    return S_OK;
}

HRESULT DeviceTable::Stop(DWORD device, DWORD handle) {
    if (device >= kDeviceCount || !ValidHandle(handle)) return E_INVALIDARG;
    EffectLock::Guard guard;
    records_[device].slots[handle - 1].state = kStateStopped;
    return S_OK;
}

HRESULT DeviceTable::Destroy(DWORD device, DWORD handle) {
    if (device >= kDeviceCount || !ValidHandle(handle)) return E_INVALIDARG;
    EffectLock::Guard guard;
    records_[device].slots[handle - 1] = EffectSlot();
    return S_OK;
}

HRESULT DeviceTable::Status(DWORD device, DWORD handle, DWORD* status) {
    if (device >= kDeviceCount || !ValidHandle(handle) || !status) return E_INVALIDARG;
    EffectLock::Guard guard;
    *status = records_[device].slots[handle - 1].state == kStatePlaying ? DIEGES_PLAYING : 0;
    return S_OK;
}

HRESULT DeviceTable::SetGain(DWORD device, DWORD gain) {
    if (device >= kDeviceCount || gain > 10000) return E_INVALIDARG;
    EffectLock::Guard guard;
    records_[device].gain = gain;
    return S_OK;
}

HRESULT DeviceTable::Command(DWORD device, DWORD command) {
    if (device >= kDeviceCount) return E_INVALIDARG;
    switch (command) {
    case DISFFC_RESET:
    case DISFFC_STOPALL: {
        EffectLock::Guard guard;
        for (EffectSlot& slot : records_[device].slots) {
            if (!slot.inUse) continue;
            if (command == DISFFC_RESET)
                slot = EffectSlot();
            else
                slot.state = kStateStopped;
        }
        return S_OK;
    }
    case DISFFC_PAUSE:
    case DISFFC_CONTINUE:
    case DISFFC_SETACTUATORSON:
    case DISFFC_SETACTUATORSOFF:
        return S_OK;
    default:
        return E_NOTIMPL;
    }
}

HRESULT DeviceTable::State(DWORD device, DIDEVICESTATE* state) {
    if (device >= kDeviceCount || !state || state->dwSize != sizeof(DIDEVICESTATE)) return E_INVALIDARG;
    EffectLock::Guard guard;
    DWORD used = 0, playing = 0;
    for (const EffectSlot& slot : records_[device].slots) {
        used += slot.inUse;
        playing += slot.inUse && slot.state == kStatePlaying;
    }
    // Actuator commands are accepted and ignored, so the actuators are always on.
    state->dwState = DIGFFS_ACTUATORSON | (used ? 0 : DIGFFS_EMPTY) | (playing ? 0 : DIGFFS_STOPPED);
    state->dwLoad = used * 100 / kSlotCount;
    return S_OK;
}
