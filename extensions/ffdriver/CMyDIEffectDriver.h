#pragma once
// The object Rundel serves: DirectInput's force-feedback effect driver of one device. Effect
// operations work on the process-wide DeviceTable; while the driver has a device open it holds
// the process's one tick timer.
#include <windows.h>
#include <dinput.h>
#include <dinputd.h>

#include "RundelDevice.h"

class CEffectDriverFactory;

class CMyDIEffectDriver final : public IDirectInputEffectDriver {
public:
    explicit CMyDIEffectDriver(CEffectDriverFactory* factory);  // one reference

    // Resets the device records that no driver has open and reads the effect attributes; E_FAIL
    // when any is missing.
    HRESULT Startup();
    // Adds a reference unless the last one is already gone.
    bool TryAddRef();
    // Opens the HID path as the device and starts the tick; the last steps of DeviceID.
    HRESULT OpenDevice(DWORD device, const char* path);

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    STDMETHODIMP DeviceID(DWORD version, DWORD device, DWORD begin, DWORD internalId, LPVOID reserved) override;
    STDMETHODIMP GetVersions(LPDIDRIVERVERSIONS versions) override;
    STDMETHODIMP Escape(DWORD device, DWORD handle, LPDIEFFESCAPE escape) override;
    STDMETHODIMP SetGain(DWORD device, DWORD gain) override;
    STDMETHODIMP SendForceFeedbackCommand(DWORD device, DWORD command) override;
    STDMETHODIMP GetForceFeedbackState(DWORD device, LPDIDEVICESTATE state) override;
    STDMETHODIMP DownloadEffect(DWORD device, DWORD effectId, LPDWORD handle, LPCDIEFFECT effect,
                                DWORD paramFlags) override;
    STDMETHODIMP DestroyEffect(DWORD device, DWORD handle) override;
    STDMETHODIMP StartEffect(DWORD device, DWORD handle, DWORD mode, DWORD count) override;
    STDMETHODIMP StopEffect(DWORD device, DWORD handle) override;
    STDMETHODIMP GetEffectStatus(DWORD device, DWORD handle, LPDWORD status) override;

private:
    ~CMyDIEffectDriver();

    LONG refs_ = 1;
    DIEFFECTATTRIBUTES attributes_[RundelDevice::kEffectCount] = {};
    LONG holdsTick_ = 0;  // set once by the first device opened
    CEffectDriverFactory* factory_;  // holds a reference until the driver is gone
};
