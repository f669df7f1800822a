#include "CMyDIEffectDriver.h"

#include "CEffectDriverFactory.h"
#include "ComServer.h"
#include "DeviceTable.h"
#include "DriverRegistry.h"
#include "HidDevice.h"
#include "RumbleTick.h"

namespace {

constexpr DWORD kOldestDirectInput = 0x700;
constexpr DWORD kReleaseDelayMs = 100;

}  // namespace

CMyDIEffectDriver::CMyDIEffectDriver(CEffectDriverFactory* factory) : factory_(factory) {
    factory_->AddRef();
    ComServer::LockModule();
}

CMyDIEffectDriver::~CMyDIEffectDriver() {
    Sleep(kReleaseDelayMs);
    // Waits for a running tick; the tick then leaves the closed devices alone.
    DeviceTable::Instance().Shutdown(this);
    if (holdsTick_) RumbleTick::Drop();
    factory_->Forget(this);
    factory_->Release();
    ComServer::UnlockModule();
}

HRESULT CMyDIEffectDriver::Startup() {
    DeviceTable::Instance().Reset();
    return DriverRegistry::ReadAttributes(attributes_) ? S_OK : E_FAIL;
}

bool CMyDIEffectDriver::TryAddRef() {
    for (LONG refs = refs_; refs > 0;) {
        LONG seen = InterlockedCompareExchange(&refs_, refs + 1, refs);
        if (seen == refs) return true;
        refs = seen;
    }
    return false;
}

HRESULT CMyDIEffectDriver::OpenDevice(DWORD device, const char* path) {
    HRESULT hr = DeviceTable::Instance().Open(device, path, this);
    if (SUCCEEDED(hr) && !InterlockedExchange(&holdsTick_, 1)) RumbleTick::Hold();
    return hr;
}

STDMETHODIMP CMyDIEffectDriver::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDirectInputEffectDriver)) {
        *out = static_cast<IDirectInputEffectDriver*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CMyDIEffectDriver::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) CMyDIEffectDriver::Release() {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP CMyDIEffectDriver::DeviceID(DWORD version, DWORD device, DWORD, DWORD, LPVOID) {
    if (device >= kDeviceCount) return E_INVALIDARG;
    if (version < kOldestDirectInput) return HRESULT_FROM_WIN32(ERROR_OLD_WIN_VERSION);
    char path[kPathLength];
    HidDevice::FindPath(device, path, sizeof path);
    return OpenDevice(device, path);
}

STDMETHODIMP CMyDIEffectDriver::GetVersions(LPDIDRIVERVERSIONS versions) {
    if (!versions || versions->dwSize != sizeof *versions) return E_INVALIDARG;
    versions->dwFirmwareRevision = 1;
    versions->dwHardwareRevision = 1;
    versions->dwFFDriverVersion = 3;
    return S_OK;
}

STDMETHODIMP CMyDIEffectDriver::Escape(DWORD device, DWORD handle, LPDIEFFESCAPE escape) {
    return device < kDeviceCount && handle <= kSlotCount && escape ? S_OK : E_INVALIDARG;
}

STDMETHODIMP CMyDIEffectDriver::SetGain(DWORD device, DWORD gain) {
    return DeviceTable::Instance().SetGain(device, gain);
}

STDMETHODIMP CMyDIEffectDriver::SendForceFeedbackCommand(DWORD device, DWORD command) {
    return DeviceTable::Instance().Command(device, command);
}

STDMETHODIMP CMyDIEffectDriver::GetForceFeedbackState(DWORD device, LPDIDEVICESTATE state) {
    return DeviceTable::Instance().State(device, state);
}

STDMETHODIMP CMyDIEffectDriver::DownloadEffect(DWORD device, DWORD effectId, LPDWORD handle, LPCDIEFFECT effect,
                                               DWORD paramFlags) {
    return DeviceTable::Instance().Download(device, effectId, handle, effect, paramFlags);
}

STDMETHODIMP CMyDIEffectDriver::DestroyEffect(DWORD device, DWORD handle) {
    return DeviceTable::Instance().Destroy(device, handle);
}

STDMETHODIMP CMyDIEffectDriver::StartEffect(DWORD device, DWORD handle, DWORD mode, DWORD count) {
    return DeviceTable::Instance().Start(device, handle, mode, count);
}

STDMETHODIMP CMyDIEffectDriver::StopEffect(DWORD device, DWORD handle) {
    return DeviceTable::Instance().Stop(device, handle);
}

STDMETHODIMP CMyDIEffectDriver::GetEffectStatus(DWORD device, DWORD handle, LPDWORD status) {
    return DeviceTable::Instance().Status(device, handle, status);
}
