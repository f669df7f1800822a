#pragma once
// The program's one door to joysticks: DirectInput 8 to find and poll game controllers, HID to
// send reports to them. The real implementation (DeviceAccessWin32.cpp) calls dinput8, hid and
// setupapi; tests install a simulated joystick. Nothing else in the program includes the
// DirectInput or HID headers.
#include <windows.h>
#include <functional>
#include <memory>
#include <string>

// The extended joystick state of DirectInput (DIJOYSTATE2), 272 bytes, laid out the same.
struct JoyState {
    LONG lX, lY, lZ;
    LONG lRx, lRy, lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    BYTE rgbButtons[128];
    LONG extended[24]; // velocities, accelerations and forces; not read by the program
};
static_assert(sizeof(JoyState) == 272, "JoyState must match DIJOYSTATE2");

// Axis offsets inside JoyState, as DirectInput's by-offset properties name them.
enum JoyAxisOffset : DWORD { kJoyOffsetX = 0, kJoyOffsetY = 4, kJoyOffsetZ = 8, kJoyOffsetRz = 20 };

// Results the seam passes on from DirectInput.
enum : HRESULT {
    kJoyInputLost = static_cast<HRESULT>(0x8007001EL),  // DIERR_INPUTLOST
    kJoyNotAcquired = static_cast<HRESULT>(0x8007000CL), // DIERR_NOTACQUIRED
};

// One game controller opened through DirectInput (an IDirectInputDevice8W). Released (and
// unacquired) by its destructor.
class IGameController {
public:
    virtual ~IGameController() = default;
    // DIPROP_VIDPID: vendor in the low word, product in the high word. False when unreadable.
    virtual bool ReadVidPid(DWORD& vidPid) = 0;
    // DIPROP_JOYSTICKID. False when unreadable.
    virtual bool ReadJoystickId(DWORD& id) = 0;
    // DIPROP_GUIDANDPATH: the device's HID interface path. False when unreadable.
    virtual bool ReadInterfacePath(std::wstring& path) = 0;
    // SetDataFormat(c_dfDIJoystick2).
    virtual HRESULT SetJoystickDataFormat() = 0;
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    // DIPROP_DEADZONE by offset (JoyAxisOffset).
    virtual HRESULT SetDeadZone(DWORD axisOffset, DWORD value) = 0;
    virtual HRESULT Poll() = 0;
    // GetDeviceState(sizeof(JoyState)).
    virtual HRESULT GetState(JoyState& state) = 0;
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
};

// One DirectInput object (IDirectInput8W). Released by its destructor.
class IGameInput {
public:
    virtual ~IGameInput() = default;
    // EnumDevices(game controllers, attached only): visit gets each instance GUID in
    // DirectInput's order and returns false to stop. False when the enumeration fails.
    virtual bool EnumAttached(const std::function<bool(const GUID& instance)>& visit) = 0;
    // CreateDevice; null on failure.
    virtual std::unique_ptr<IGameController> CreateDevice(const GUID& instance) = 0;
};

// An open HID device file. Closed by its destructor.
class IHidChannel {
public:
    virtual ~IHidChannel() = default;
    // HidD_SetFeature(report, length).
    virtual bool SetFeature(const BYTE* report, DWORD length) = 0;
    // An overlapped WriteFile of an output report that waits for its completion, stopEvent or
    // timeoutMs, whichever comes first; a write that did not complete is cancelled and drained
    // before the call returns (a driver that ignores the cancel holds the call until it ends the
    // write). True only when the write completed. Needs a channel opened with overlapped = true.
    virtual bool WriteOutput(const BYTE* report, DWORD length, HANDLE stopEvent, DWORD timeoutMs) = 0;
};

// What the second-device look-up reads of a present HID interface.
struct HidInterfaceInfo {
    std::wstring path;
    USHORT vendorId, productId;
    USHORT usagePage, usage;
    USHORT inputReportLength, outputReportLength, featureReportLength;
    USHORT linkCollectionNodes;
};

class IDeviceAccess {
public:
    virtual ~IDeviceAccess() = default;
    // DirectInput8Create; null on failure.
    virtual std::unique_ptr<IGameInput> CreateInput() = 0;
    // CreateFileW(path, read/write, shared read/write, open existing[, overlapped]); null when it
    // cannot be opened.
    virtual std::unique_ptr<IHidChannel> OpenHid(const std::wstring& path, bool overlapped) = 0;
    // HidD_GetHidGuid: the class of the HID device interfaces (device notifications, look-ups).
    virtual GUID HidInterfaceClass() = 0;
    // The present HID device interfaces whose attributes and capabilities could be read; visit
    // returns false to stop. Every handle and list it opens is freed before it returns.
    virtual void EnumPresentHid(const std::function<bool(const HidInterfaceInfo&)>& visit) = 0;
};

// The process's device access: the real one unless a test installed another (not owned).
IDeviceAccess& DeviceAccess();
void SetDeviceAccess(IDeviceAccess* access);
