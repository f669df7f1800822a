#include "SheetDevice.h"

#include "CDIGameCntrlPropSheet.h"
#include "ComServer.h"
#include "LibraryLock.h"

namespace pelko {
namespace {

const DWORD kDeadZone = 500;
const DWORD kDeadZoneAxes[] = {DIJOFS_X, DIJOFS_Y, DIJOFS_Z, DIJOFS_RZ};

void SetDeadZones(IDirectInputDevice2A* device)
{
    for (DWORD offset : kDeadZoneAxes) {
        DIPROPDWORD zone = {};
        zone.diph.dwSize = sizeof zone;
        zone.diph.dwHeaderSize = sizeof zone.diph;
        zone.diph.dwObj = offset;
        zone.diph.dwHow = DIPH_BYOFFSET;
        zone.dwData = kDeadZone;
        device->SetProperty(DIPROP_DEADZONE, &zone.diph);
    }
}

// Makes the device for the sheet's joystick and hands it to the sheet.
HRESULT MakeSheetDevice(CDIGameCntrlPropSheet* sheet, HWND parent, IDirectInputA* input)
{
    IDirectInputDevice2A* device = nullptr;
    const HRESULT hr = CreateDevice(sheet->GetID(), parent, input, sheet->JoyConfig(), &device);
    if (FAILED(hr))
        return hr;
    SetDeadZones(device);
    sheet->SetDevice(device);
    device->Release();
    return S_OK;
}

HRESULT QueryJoyConfig(CDIGameCntrlPropSheet* sheet, IDirectInputA* input)
{
    IDirectInputJoyConfig* config = nullptr;
    const HRESULT hr = input->QueryInterface(IID_IDirectInputJoyConfig, reinterpret_cast<void**>(&config));
    if (SUCCEEDED(hr)) {
        sheet->SetJoyConfig(config);
        config->Release();
    }
    return hr;
}

} // namespace

HRESULT PrepareDevice(CDIGameCntrlPropSheet* sheet, HWND parent)
{
    if (!sheet)
        return E_POINTER;
    LibraryLock lock;
    if (sheet->Device() && sheet->JoyConfig())
        return S_FALSE;
    IDirectInputA* input = nullptr;
    HRESULT hr = DirectInputCreateA(ComServer::Module(), 0x700, &input, nullptr);
    if (FAILED(hr))
        return hr;
    if (!sheet->JoyConfig())
        hr = QueryJoyConfig(sheet, input);
    if (SUCCEEDED(hr))
        hr = sheet->Device() ? S_FALSE : MakeSheetDevice(sheet, parent, input);
    input->Release();
    return hr;
}

HRESULT RecreateDevice(CDIGameCntrlPropSheet* sheet, HWND parent)
{
    if (!sheet)
        return E_POINTER;
    LibraryLock lock;
    IDirectInputA* input = nullptr;
    HRESULT hr = DirectInputCreateA(ComServer::Module(), 0x700, &input, nullptr);
    if (FAILED(hr))
        return hr;
    sheet->SetJoyConfig(nullptr);
    if (FAILED(QueryJoyConfig(sheet, input)))
        hr = E_FAIL;
    if (IDirectInputDevice2A* old = sheet->Device())
        old->Unacquire();
    sheet->SetDevice(nullptr);
    if (SUCCEEDED(hr))
        hr = MakeSheetDevice(sheet, parent, input);
    input->Release();
    return hr;
}

HRESULT CreateDevice(UINT joystickId, HWND parent, IDirectInputA* input,
                     IDirectInputJoyConfig* config, IDirectInputDevice2A** device)
{
    if (!input || !config || !device)
        return E_POINTER;
    *device = nullptr;
    DIJOYCONFIG_DX5 joystick = {};
    joystick.dwSize = sizeof joystick;
    HRESULT hr = config->GetConfig(joystickId, reinterpret_cast<DIJOYCONFIG*>(&joystick), DIJC_GUIDINSTANCE);
    if (FAILED(hr))
        return hr;
    IDirectInputDeviceA* first = nullptr;
    hr = input->CreateDevice(joystick.guidInstance, &first, nullptr);
    if (FAILED(hr))
        return hr;
    IDirectInputDevice2A* made = nullptr;
    hr = first->QueryInterface(IID_IDirectInputDevice2A, reinterpret_cast<void**>(&made));
    first->Release();
    if (FAILED(hr))
        return hr;
    hr = made->SetDataFormat(&c_dfDIJoystick);
    if (SUCCEEDED(hr))
        hr = made->SetCooperativeLevel(GetAncestor(parent, GA_ROOT), DISCL_EXCLUSIVE | DISCL_BACKGROUND);
    if (FAILED(hr)) {
        made->Release();
        return hr;
    }
    *device = made;
    return hr;
}

bool DeviceHidPath(IDirectInputDevice2A* device, WCHAR (&path)[MAX_PATH])
{
    DIPROPGUIDANDPATH property = {};
    property.diph.dwSize = sizeof property;
    property.diph.dwHeaderSize = sizeof property.diph;
    property.diph.dwHow = DIPH_DEVICE;
    if (!device || FAILED(device->GetProperty(DIPROP_GUIDANDPATH, &property.diph)))
        return false;
    lstrcpynW(path, property.wszPath, MAX_PATH);
    return true;
}

HANDLE OpenDeviceFile(IDirectInputDevice2A* device)
{
    WCHAR widePath[MAX_PATH];
    if (!DeviceHidPath(device, widePath))
        return nullptr;
    char path[MAX_PATH];
    if (!WideCharToMultiByte(CP_ACP, 0, widePath, -1, path, sizeof path, nullptr, nullptr))
        return nullptr;
    HANDLE file = CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

bool AcquireDevice(IDirectInputDevice2A* device)
{
    if (!device)
        return false;
    const HRESULT hr = device->Acquire();
    return hr == DI_OK || hr == S_FALSE;
}

} // namespace pelko
