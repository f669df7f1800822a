#pragma once
// The program's one DirectInput joystick: finds a supported model among the attached game
// controllers, keeps it open, and polls its state for the rest of the program (the main
// window's detection, the device handlers, the function-test pages, the command channel).
// Every device call goes through the device seam (DeviceAccess()) under one lock.
#include <windows.h>
#include <memory>
#include <string>
#include "device/DeviceAccess.h"
#include "helper/SCriticalSection.h"
#include "protocol/VibrationWorker.h"

class CDirectInputJoy {
public:
    enum : DWORD {
        kCooperativeLevel = 9, // DISCL_EXCLUSIVE | DISCL_BACKGROUND
        kAxisDeadZone = 500,
    };
    // Re-acquisitions a poll tries while the input stays lost.
    enum { kAcquireAttempts = 3 };

    CDirectInputJoy();
    // Shuts down (in case the program did not).
    ~CDirectInputJoy();

    // Searches the attached game controllers for vendorId/productId and makes the first match
    // the current device. An earlier DirectInput object and device are released first; on
    // failure there is none afterwards.
    bool Find(USHORT vendorId, USHORT productId);
    // Standard extended joystick format, the cooperative level for window, and the dead zone
    // on X, Y, Z and Rz of the current device. False when the format or the level is refused.
    bool SetUp(HWND window);
    // Finds the supported models in model-priority order and sets the first found up for
    // window. False when none is attached.
    bool Probe(HWND window);
    // Releases the device (unacquired) and the DirectInput object; the ids stay until the next
    // search.
    void Release();
    // Explicit end of the joystick's use at program exit, before OLE goes: everything that uses
    // the device ends first (the vibration test is stopped and joined, the wait bounded), then
    // the device and DirectInput are released.
    void Shutdown();

    // Runs both motors' levels (low bytes) for durationMs, then the stop report. A test running
    // on the current device takes the levels and runs durationMs from now; otherwise it is
    // ended, its device sent the stop report, and, with a current device, a new one runs on a
    // channel of its own. Without a device only the running test ends. Never waits longer than
    // the test worker's bound. 0.
    int StartVibrationTest(DWORD left, DWORD right, DWORD durationMs);

    // 0 when the state was read; a negative DirectInput error when reading failed; 1 without a
    // device or when the device had to be re-acquired (kAcquireAttempts tries at most). With a
    // device, Responding() becomes whether the state was read; without one it keeps its value.
    HRESULT Poll();

    // The device's HID interface path (what the command channel opens); false without a device
    // or when the path cannot be read.
    bool InterfacePath(std::wstring& path);

    bool HasDevice() const { return m_device != nullptr; }
    USHORT VendorId() const { return m_vendorId; }
    USHORT ProductId() const { return m_productId; }
    const JoyState& State() const { return m_state; }
    bool Responding() const { return m_responding; }

private:
    CDirectInputJoy(const CDirectInputJoy&) = delete;
    CDirectInputJoy& operator=(const CDirectInputJoy&) = delete;

    std::unique_ptr<IGameController> OpenMatching(DWORD vidPid);
    void Reacquire();

    SKEIN::SCriticalSection m_lock;
    std::unique_ptr<IGameInput> m_input;
    std::unique_ptr<IGameController> m_device;
    USHORT m_vendorId;
    USHORT m_productId;
    JoyState m_state;
    bool m_responding;
    DWORD m_deviceSerial; // counts the devices found: names the one a vibration test runs on
    VibrationWorker m_vibration;
};

// The process's joystick object.
CDirectInputJoy& DirectInputJoy();
