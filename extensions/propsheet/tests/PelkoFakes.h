// Stand-ins for the DirectInput 7 objects the game-controller panel hands
// the property sheet: a scripted joystick and its configuration object.
#pragma once

#include <string>

#include "DirectInput7.h"

namespace pelko_test {

class FakeDevice : public IDirectInputDevice2A {
public:
    FakeDevice();

    // Script
    HRESULT acquireResult = DI_OK;
    HRESULT stateResult = DI_OK;
    DIJOYSTATE state = {};
    std::wstring path;

    // Record
    LONG references = 1;
    int acquires = 0;
    int unacquires = 0;
    int stateReads = 0;
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeFlags = 0;
    const DIDATAFORMAT* dataFormat = nullptr;

    void Centre();
    void Unplug() { acquireResult = DIERR_UNPLUGGED; }
    void Plug() { acquireResult = DI_OK; }

    STDMETHOD_(HRESULT, QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetCapabilities)(LPDIDEVCAPS) override { return E_NOTIMPL; }
    STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetProperty)(REFGUID property, LPDIPROPHEADER header) override;
    STDMETHOD(SetProperty)(REFGUID, LPCDIPROPHEADER) override { return DI_OK; }
    STDMETHOD(Acquire)() override;
    STDMETHOD(Unacquire)() override;
    STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override;
    STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override;
    STDMETHOD(SetEventNotification)(HANDLE) override { return E_NOTIMPL; }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override;
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA) override { return E_NOTIMPL; }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(CreateEffect)(REFGUID, LPCDIEFFECT, LPDIRECTINPUTEFFECT*, LPUNKNOWN) override { return E_NOTIMPL; }
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override
    {
        return E_NOTIMPL;
    }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }
    STDMETHOD(Poll)() override { return DI_OK; }
    STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override { return E_NOTIMPL; }
};

class FakeJoyConfig : public IDirectInputJoyConfig {
public:
    // Script
    GUID instance = {0x1A2B3C4D, 0x0001, 0x0002, {1, 2, 3, 4, 5, 6, 7, 8}};
    HRESULT configResult = DI_OK;

    // Record
    LONG references = 1;
    int acquires = 0;
    int unacquires = 0;
    UINT lastId = UINT(-1);
    DWORD lastFlags = 0;

    STDMETHOD_(HRESULT, QueryInterface)(REFIID iid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(Acquire)() override;
    STDMETHOD(Unacquire)() override;
    STDMETHOD(SetCooperativeLevel)(HWND, DWORD) override { return DI_OK; }
    STDMETHOD(SendNotify)() override { return DI_OK; }
    STDMETHOD(EnumTypes)(LPVOID, LPVOID) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(LPCWSTR, LPDIJOYTYPEINFO, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetTypeInfo)(LPCWSTR, LPCDIJOYTYPEINFO, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(DeleteType)(LPCWSTR) override { return E_NOTIMPL; }
    STDMETHOD(GetConfig)(UINT id, LPDIJOYCONFIG config, DWORD flags) override;
    STDMETHOD(SetConfig)(UINT, LPCDIJOYCONFIG, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(DeleteConfig)(UINT) override { return E_NOTIMPL; }
    STDMETHOD(GetUserValues)(LPDIJOYUSERVALUES, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetUserValues)(LPCDIJOYUSERVALUES, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(AddNewHardware)(HWND, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(OpenTypeKey)(LPCWSTR, DWORD, HKEY*) override { return E_NOTIMPL; }
    STDMETHOD(OpenConfigKey)(UINT, DWORD, HKEY*) override { return E_NOTIMPL; }
};

// DirectInput itself, as far as making a device goes.
class FakeDirectInput : public IDirectInputA {
public:
    explicit FakeDirectInput(FakeDevice& device) : device_(device) {}

    GUID createdFor = {};

    STDMETHOD_(HRESULT, QueryInterface)(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHOD_(ULONG, AddRef)() override { return 2; }
    STDMETHOD_(ULONG, Release)() override { return 1; }
    STDMETHOD(CreateDevice)(REFGUID guid, LPDIRECTINPUTDEVICEA* device, LPUNKNOWN) override;
    STDMETHOD(EnumDevices)(DWORD, LPDIENUMDEVICESCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceStatus)(REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return E_NOTIMPL; }

private:
    FakeDevice& device_;
};

} // namespace pelko_test
