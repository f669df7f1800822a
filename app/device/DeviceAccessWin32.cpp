// The real device access: DirectInput 8 for the game controllers, HID and SetupAPI for the
// device files. The only file of the program that includes their headers.
#include "device/DeviceAccess.h"
#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
#include <setupapi.h>
#include <cstddef>
#include <cwchar>
#include <vector>
extern "C" { // the HID headers declare C functions without saying so
#include <hidsdi.h>
#include <hidpi.h>
}

namespace {

// ---- DirectInput ----

class DInputController : public IGameController {
public:
    explicit DInputController(IDirectInputDevice8W* device) : m_device(device) {}
    ~DInputController() override
    {
        m_device->Unacquire();
        m_device->Release();
    }

    bool ReadVidPid(DWORD& vidPid) override { return ReadDword(DIPROP_VIDPID, vidPid); }
    bool ReadJoystickId(DWORD& id) override { return ReadDword(DIPROP_JOYSTICKID, id); }
    bool ReadInterfacePath(std::wstring& path) override
    {
        DIPROPGUIDANDPATH property = {};
        property.diph.dwSize = sizeof(property);
        property.diph.dwHeaderSize = sizeof(property.diph);
        property.diph.dwHow = DIPH_DEVICE;
        if (FAILED(m_device->GetProperty(DIPROP_GUIDANDPATH, &property.diph)))
            return false;
        size_t length = wcsnlen(property.wszPath, MAX_PATH);
        if (length == 0 || length == MAX_PATH)
            return false;
        path.assign(property.wszPath, length);
        return true;
    }
    HRESULT SetJoystickDataFormat() override { return m_device->SetDataFormat(&c_dfDIJoystick2); }
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override
    {
        return m_device->SetCooperativeLevel(window, flags);
    }
    HRESULT SetDeadZone(DWORD axisOffset, DWORD value) override
    {
        DIPROPDWORD property = {};
        property.diph.dwSize = sizeof(property);
        property.diph.dwHeaderSize = sizeof(property.diph);
        property.diph.dwObj = axisOffset;
        property.diph.dwHow = DIPH_BYOFFSET;
        property.dwData = value;
        return m_device->SetProperty(DIPROP_DEADZONE, &property.diph);
    }
    HRESULT Poll() override { return m_device->Poll(); }
    HRESULT GetState(JoyState& state) override { return m_device->GetDeviceState(sizeof(state), &state); }
    HRESULT Acquire() override { return m_device->Acquire(); }
    HRESULT Unacquire() override { return m_device->Unacquire(); }

private:
    bool ReadDword(REFGUID property, DWORD& value)
    {
        DIPROPDWORD data = {};
        data.diph.dwSize = sizeof(data);
        data.diph.dwHeaderSize = sizeof(data.diph);
        data.diph.dwHow = DIPH_DEVICE;
        if (FAILED(m_device->GetProperty(property, &data.diph)))
            return false;
        value = data.dwData;
        return true;
    }

    IDirectInputDevice8W* m_device;
};

class DInputGame : public IGameInput {
public:
    explicit DInputGame(IDirectInput8W* input) : m_input(input) {}
    ~DInputGame() override { m_input->Release(); }

    bool EnumAttached(const std::function<bool(const GUID& instance)>& visit) override
    {
        return SUCCEEDED(m_input->EnumDevices(DI8DEVCLASS_GAMECTRL, &DInputGame::Visit,
                                              const_cast<std::function<bool(const GUID&)>*>(&visit),
                                              DIEDFL_ATTACHEDONLY));
    }
    std::unique_ptr<IGameController> CreateDevice(const GUID& instance) override
    {
        IDirectInputDevice8W* device = nullptr;
        if (FAILED(m_input->CreateDevice(instance, &device, nullptr)) || !device)
            return nullptr;
        return std::unique_ptr<IGameController>(new DInputController(device));
    }

private:
    static BOOL CALLBACK Visit(LPCDIDEVICEINSTANCEW instance, LPVOID context)
    {
        auto& visit = *static_cast<std::function<bool(const GUID&)>*>(context);
        return visit(instance->guidInstance) ? DIENUM_CONTINUE : DIENUM_STOP;
    }

    IDirectInput8W* m_input;
};

// ---- HID device files ----

class HidFileChannel : public IHidChannel {
public:
    HidFileChannel(HANDLE file, bool overlapped)
        : m_file(file), m_ioEvent(overlapped ? ::CreateEventW(nullptr, TRUE, FALSE, nullptr) : nullptr)
    {
    }
    ~HidFileChannel() override
    {
        if (m_ioEvent)
            ::CloseHandle(m_ioEvent);
        ::CloseHandle(m_file);
    }

    bool SetFeature(const BYTE* report, DWORD length) override
    {
        return HidD_SetFeature(m_file, const_cast<BYTE*>(report), length) != FALSE;
    }

    bool WriteOutput(const BYTE* report, DWORD length, HANDLE stopEvent, DWORD timeoutMs) override
    {
        if (!m_ioEvent)
            return false;
        OVERLAPPED overlapped = {};
        overlapped.hEvent = m_ioEvent;
        ::ResetEvent(m_ioEvent);
        DWORD written = 0;
        if (::WriteFile(m_file, report, length, nullptr, &overlapped))
            return ::GetOverlappedResult(m_file, &overlapped, &written, FALSE) != FALSE;
        if (::GetLastError() != ERROR_IO_PENDING)
            return false;
        HANDLE waits[] = {m_ioEvent, stopEvent};
        DWORD waited = ::WaitForMultipleObjects(stopEvent ? 2 : 1, waits, FALSE, timeoutMs);
        if (waited == WAIT_OBJECT_0)
            return ::GetOverlappedResult(m_file, &overlapped, &written, FALSE) != FALSE;
        // Stopped or timed out: the write must not outlive overlapped.
        ::CancelIo(m_file);
        ::GetOverlappedResult(m_file, &overlapped, &written, TRUE);
        return false;
    }

private:
    HANDLE m_file;
    HANDLE m_ioEvent; // null unless the file was opened for overlapped I/O
};

// Closes what the present-interface walk opens, on every path.
struct DeviceInfoSet {
    HDEVINFO set;
    ~DeviceInfoSet()
    {
        if (set != INVALID_HANDLE_VALUE)
            ::SetupDiDestroyDeviceInfoList(set);
    }
};
struct FileHandle {
    HANDLE file;
    ~FileHandle()
    {
        if (file != INVALID_HANDLE_VALUE)
            ::CloseHandle(file);
    }
};
struct PreparsedData {
    PHIDP_PREPARSED_DATA data = nullptr;
    ~PreparsedData()
    {
        if (data)
            HidD_FreePreparsedData(data);
    }
};

HANDLE OpenDeviceFile(const wchar_t* path, DWORD flags)
{
    return ::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, flags, nullptr);
}

// The path of one interface of the set; empty when it cannot be read.
std::wstring InterfacePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& face)
{
    DWORD size = 0;
    ::SetupDiGetDeviceInterfaceDetailW(set, &face, nullptr, 0, &size, nullptr);
    if (size < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W))
        return std::wstring();
    std::vector<BYTE> buffer(size);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
    detail->cbSize = sizeof(*detail);
    if (!::SetupDiGetDeviceInterfaceDetailW(set, &face, detail, size, nullptr, nullptr))
        return std::wstring();
    size_t capacity = (size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
    return std::wstring(detail->DevicePath, wcsnlen(detail->DevicePath, capacity));
}

// Attributes and capabilities of the interface at info.path; false when unreadable.
bool ReadHidInfo(HidInterfaceInfo& info)
{
    FileHandle file = {OpenDeviceFile(info.path.c_str(), 0)};
    if (file.file == INVALID_HANDLE_VALUE)
        return false;
    HIDD_ATTRIBUTES attributes = {};
    attributes.Size = sizeof(attributes);
    PreparsedData preparsed;
    HIDP_CAPS caps = {};
    if (!HidD_GetAttributes(file.file, &attributes) || !HidD_GetPreparsedData(file.file, &preparsed.data) ||
        HidP_GetCaps(preparsed.data, &caps) != HIDP_STATUS_SUCCESS)
        return false;
    info.vendorId = attributes.VendorID;
    info.productId = attributes.ProductID;
    info.usagePage = caps.UsagePage;
    info.usage = caps.Usage;
    info.inputReportLength = caps.InputReportByteLength;
    info.outputReportLength = caps.OutputReportByteLength;
    info.featureReportLength = caps.FeatureReportByteLength;
    info.linkCollectionNodes = caps.NumberLinkCollectionNodes;
    return true;
}

class Win32DeviceAccess : public IDeviceAccess {
public:
    std::unique_ptr<IGameInput> CreateInput() override
    {
        IDirectInput8W* input = nullptr;
        if (FAILED(DirectInput8Create(::GetModuleHandleW(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8W,
                                      reinterpret_cast<void**>(&input), nullptr)) ||
            !input)
            return nullptr;
        return std::unique_ptr<IGameInput>(new DInputGame(input));
    }

    std::unique_ptr<IHidChannel> OpenHid(const std::wstring& path, bool overlapped) override
    {
        HANDLE file = OpenDeviceFile(path.c_str(), overlapped ? FILE_FLAG_OVERLAPPED : 0);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::unique_ptr<IHidChannel>(new HidFileChannel(file, overlapped));
    }

    GUID HidInterfaceClass() override
    {
        GUID hid;
        HidD_GetHidGuid(&hid);
        return hid;
    }

    void EnumPresentHid(const std::function<bool(const HidInterfaceInfo&)>& visit) override
    {
        GUID hid = HidInterfaceClass();
        DeviceInfoSet set = {::SetupDiGetClassDevsW(&hid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE)};
        if (set.set == INVALID_HANDLE_VALUE)
            return;
        SP_DEVICE_INTERFACE_DATA face = {};
        face.cbSize = sizeof(face);
        for (DWORD index = 0; ::SetupDiEnumDeviceInterfaces(set.set, nullptr, &hid, index, &face); ++index) {
            HidInterfaceInfo info = {};
            info.path = InterfacePath(set.set, face);
            if (!info.path.empty() && ReadHidInfo(info) && !visit(info))
                return;
        }
    }
};

IDeviceAccess* g_installed = nullptr;

} // namespace

IDeviceAccess& DeviceAccess()
{
    static Win32DeviceAccess real;
    return g_installed ? *g_installed : real;
}

void SetDeviceAccess(IDeviceAccess* access)
{
    g_installed = access;
}
