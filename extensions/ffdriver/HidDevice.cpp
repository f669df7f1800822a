#include "HidDevice.h"

#include <dinput.h>
#include <dinputd.h>
#include <setupapi.h>

extern "C" {  // the HID headers declare C functions without saying so
#include <hidsdi.h>
}

#include <cstring>
#include <vector>

#include "ComServer.h"

namespace HidDevice {
namespace {

// The device class of HID devices, under which DirectInput finds a device by its path.
const GUID kHidDeviceClass = {0x745A17A0, 0x74D3, 0x11D0, {0xB6, 0xFE, 0x00, 0xA0, 0xC9, 0x0F, 0x57, 0xDA}};

bool InstanceGuid(IDirectInput8A* input, DWORD device, GUID* instance) {
    IDirectInputJoyConfig8* config = nullptr;
    if (FAILED(input->QueryInterface(IID_IDirectInputJoyConfig8, reinterpret_cast<void**>(&config)))) return false;
    DIJOYCONFIG joystick = {};
    joystick.dwSize = sizeof joystick;
    bool found = SUCCEEDED(config->GetConfig(device, &joystick, DIJC_GUIDINSTANCE));
    config->Release();
    *instance = joystick.guidInstance;
    return found;
}

// The path of one HID interface, or an empty string.
std::vector<char> InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA* face) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailA(set, face, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return {};
    std::vector<char> buffer(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.data());
    detail->cbSize = sizeof *detail;
    if (!SetupDiGetDeviceInterfaceDetailA(set, face, detail, size, nullptr, nullptr)) return {};
    return std::vector<char>(detail->DevicePath, detail->DevicePath + std::strlen(detail->DevicePath) + 1);
}

void MatchPath(IDirectInput8A* input, const GUID& instance, char* path, size_t size) {
    GUID hid;
    HidD_GetHidGuid(&hid);
    HDEVINFO set = SetupDiGetClassDevsA(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return;
    SP_DEVICE_INTERFACE_DATA face = {};
    face.cbSize = sizeof face;
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(set, nullptr, &hid, i, &face); ++i) {
        std::vector<char> candidate = InterfacePath(set, &face);
        if (candidate.empty() || candidate.size() > size) continue;
        GUID found;
        if (SUCCEEDED(input->FindDevice(kHidDeviceClass, candidate.data(), &found)) && IsEqualGUID(found, instance)) {
            std::memcpy(path, candidate.data(), candidate.size());
            break;
        }
    }
    SetupDiDestroyDeviceInfoList(set);
}

}  // namespace

void FindPath(DWORD device, char* path, size_t size) {
    path[0] = '\0';
    IDirectInput8A* input = nullptr;
    if (FAILED(DirectInput8Create(ComServer::Module(), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                                  reinterpret_cast<void**>(&input), nullptr)))
        return;
    GUID instance;
    if (InstanceGuid(input, device, &instance)) MatchPath(input, instance, path, size);
    input->Release();
}

bool ReadOutputReportId(HANDLE device, BYTE* reportId) {
    PHIDP_PREPARSED_DATA data = nullptr;
    if (!HidD_GetPreparsedData(device, &data)) return false;
    HIDP_VALUE_CAPS caps[4];
    USHORT count = 4;
    NTSTATUS status = HidP_GetSpecificValueCaps(HidP_Output, 0, 0, 0, caps, &count, data);
    bool found = (status == HIDP_STATUS_SUCCESS || status == HIDP_STATUS_BUFFER_TOO_SMALL) && count;
    if (found) *reportId = caps[0].ReportID;
    HidD_FreePreparsedData(data);
    return found;
}

}  // namespace HidDevice
