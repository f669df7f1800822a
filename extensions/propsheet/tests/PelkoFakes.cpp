#include "PelkoFakes.h"

namespace pelko_test {
namespace {

// DirectInput names its properties by small numbers in the place of a GUID.
bool IsProperty(REFGUID property, ULONG_PTR number)
{
    return reinterpret_cast<ULONG_PTR>(&property) == number;
}

const ULONG_PTR kGuidAndPath = 12;

} // namespace

FakeDevice::FakeDevice()
{
    Centre();
}

void FakeDevice::Centre()
{
    state = {};
    state.lX = state.lY = 0x8000;
    for (DWORD& pov : state.rgdwPOV)
        pov = DWORD(-1);
}

HRESULT FakeDevice::QueryInterface(REFIID iid, void** out)
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDirectInputDeviceA) ||
        IsEqualIID(iid, IID_IDirectInputDevice2A)) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDevice::AddRef() { return ULONG(++references); }
ULONG FakeDevice::Release() { return ULONG(--references); }

HRESULT FakeDevice::GetProperty(REFGUID property, LPDIPROPHEADER header)
{
    if (!IsProperty(property, kGuidAndPath) || path.empty())
        return DIERR_UNSUPPORTED;
    auto* guidAndPath = reinterpret_cast<DIPROPGUIDANDPATH*>(header);
    lstrcpynW(guidAndPath->wszPath, path.c_str(), MAX_PATH);
    return DI_OK;
}

HRESULT FakeDevice::Acquire()
{
    ++acquires;
    return acquireResult;
}

HRESULT FakeDevice::Unacquire()
{
    ++unacquires;
    return DI_OK;
}

HRESULT FakeDevice::GetDeviceState(DWORD size, LPVOID data)
{
    ++stateReads;
    if (FAILED(stateResult))
        return stateResult;
    if (size != sizeof state)
        return DIERR_INVALIDPARAM;
    *static_cast<DIJOYSTATE*>(data) = state;
    return DI_OK;
}

HRESULT FakeDevice::SetDataFormat(LPCDIDATAFORMAT format)
{
    dataFormat = format;
    return DI_OK;
}

HRESULT FakeDevice::SetCooperativeLevel(HWND window, DWORD flags)
{
    cooperativeWindow = window;
    cooperativeFlags = flags;
    return DI_OK;
}

HRESULT FakeJoyConfig::QueryInterface(REFIID iid, void** out)
{
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDirectInputJoyConfig)) {
        *out = this;
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeJoyConfig::AddRef() { return ULONG(++references); }
ULONG FakeJoyConfig::Release() { return ULONG(--references); }

HRESULT FakeJoyConfig::Acquire()
{
    ++acquires;
    return DI_OK;
}

HRESULT FakeJoyConfig::Unacquire()
{
    ++unacquires;
    return DI_OK;
}

HRESULT FakeJoyConfig::GetConfig(UINT id, LPDIJOYCONFIG config, DWORD flags)
{
    lastId = id;
    lastFlags = flags;
    if (FAILED(configResult))
        return configResult;
    if (flags & DIJC_GUIDINSTANCE)
        config->guidInstance = instance;
    if (flags & DIJC_REGHWCONFIGTYPE) {
        JOYRANGE& range = config->hwc.hwv.jrvHardware;
        range.jpMin = {7, 7, 7, 7, 7, 7};
        range.jpMax = range.jpCenter = range.jpMin;
    }
    return DI_OK;
}

HRESULT FakeDirectInput::CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICEA* device, LPUNKNOWN)
{
    createdFor = guid;
    device_.AddRef();
    *device = &device_;
    return DI_OK;
}

} // namespace pelko_test
