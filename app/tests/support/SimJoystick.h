#pragma once
// A simulated joystick behind the device seam, for every device test.
//
//   SimJoystick sim;                                // DeviceAccess() is the simulator until sim goes
//   SimController& pad = sim.Plug(0x2E7A, 6891);    // attached: enumerated, openable by pad.path
//   pad.Feed(state);                                // what the next polls read (the last one sticks)
//   DirectInputJoy().Probe(hwnd);                   // finds pad and sets it up
//   DirectInputJoy().Poll();                        // 1: a fresh device is not acquired: acquires it
//   DirectInputJoy().Poll();                        // 0: reads the fed state
//   pad.FailPolls(kJoyInputLost, 2);                // the next two polls lose the input
//   sim.FailFeatureReport(3);                       // the third feature report from now fails
//   sim.SetOutputMode(SimJoystick::kOutputBlock);   // output writes hang until stopped or timed out
//   sim.SetOutputMode(SimJoystick::kOutputHang);    // ... and ignore both, as a driver ignoring the cancel
//   sim.SetOutputInterval(4);                       // a completing output write takes 4 ms
//   sim.Reports();                                  // every feature and output report, time-stamped
//   sim.OpenChannels();                             // HID channels not closed yet: 0 after a batch
//   sim.WritesInProgress();                         // output writes issued and not returned
//   sim.Unplug(pad);                                // gone from enumeration; what it has open fails
//   SendInterfaceNotice(hwnd, DBT_DEVICEREMOVECOMPLETE, pad.path); // support/DeviceNotice.h
//   DirectInputJoy().Release();                     // before sim goes, as the program's exit does
//
// A controller behaves like DirectInput's: Poll and GetState need it acquired, Acquire needs
// the data format set, an input loss unacquires it. Its fields say what it answers and record
// what the program did to it; change them from the test's thread only. Channels may write from
// any thread: the report log, the channel list and the output mode are locked.
#include <windows.h>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>
#include "device/DeviceAccess.h"

// DirectInput's answer when a device is gone (DIERR_UNPLUGGED).
constexpr HRESULT kSimUnplugged = static_cast<HRESULT>(0x80040209L);

// One simulated game controller; the simulator owns it.
class SimController {
public:
    SimController();
    ~SimController();
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    // Identity (plugging fills these in: instance GUID, joystick id = plug order, and a path
    // that names the ids and interface "mi_00").
    GUID instance;
    USHORT vendorId;
    USHORT productId;
    DWORD joystickId;
    std::wstring path;
    bool attached = true; // cleared by SimJoystick::Unplug

    // What it refuses.
    bool vidPidUnreadable = false;
    bool joystickIdUnreadable = false;
    bool pathUnreadable = false;
    bool createFails = false; // CreateDevice
    bool openFails = false;   // OpenHid of its path
    HRESULT dataFormatResult = S_OK;
    HRESULT cooperativeResult = S_OK;

    // The next count polls (count < 0: every poll) answer error; an input loss or a missing
    // acquisition also unacquires the device.
    void FailPolls(HRESULT error, int count = 1) { m_pollFailure = {error, count}; }
    // The next count acquisitions (count < 0: every one) answer error.
    void FailAcquires(HRESULT error, int count = 1) { m_acquireFailure = {error, count}; }
    // The next count state reads (count < 0: every one) answer error.
    void FailStateReads(HRESULT error, int count = 1) { m_stateFailure = {error, count}; }
    // Queues a state; each read takes the next one and the last one stays.
    void Feed(const JoyState& state) { m_states.push_back(state); }

    // What the program did.
    bool acquired = false;
    bool dataFormatSet = false;
    HWND cooperativeWindow = nullptr;
    DWORD cooperativeFlags = 0;
    std::vector<std::pair<DWORD, DWORD>> deadZones; // (axis offset, value) in call order
    int polls = 0;
    int acquires = 0;
    int unacquires = 0;
    int stateReads = 0;
    int liveObjects = 0; // device objects created and not yet released

private:
    friend class SimGameController;
    friend class SimChannel;
    friend class SimJoystick;
    struct Failure {
        HRESULT error;
        int count;
        // The error while failures remain, else S_OK; counts one down.
        HRESULT Take();
    };

    Failure m_pollFailure = {S_OK, 0};
    Failure m_acquireFailure = {S_OK, 0};
    Failure m_stateFailure = {S_OK, 0};
    std::deque<JoyState> m_states;
    HANDLE m_unplugged; // set when unplugged: wakes writes blocked on it
};

class SimJoystick : public IDeviceAccess {
public:
    enum OutputMode {
        kOutputComplete, // writes complete at once
        kOutputFail,     // writes fail at once
        kOutputBlock,    // writes hang until their stop event, their time-out, or another mode
        kOutputHang,     // writes ignore their stop event and time-out (the driver ignores the
                         // cancel): they hang until kOutputComplete or kOutputFail is set or
                         // the device is unplugged, then fail
    };
    struct Report {
        enum Kind { kFeature, kOutput } kind;
        int channel;              // Channel::id of the sender
        std::vector<BYTE> bytes;
        double atMs;              // when it was issued (NowMs)
        double doneMs;            // when the call returned
        bool ok;                  // whether the call succeeded
    };
    struct Channel {
        int id; // 1, 2, ... in opening order
        std::wstring path;
        bool overlapped;
        bool open;
    };

    // Installs itself as the device access.
    SimJoystick();
    // Restores the device access it replaced (the real one). Objects still open stay usable,
    // failing as unplugged.
    ~SimJoystick() override;

    SimController& Plug(USHORT vendorId, USHORT productId);
    void Unplug(SimController& controller);
    // A present HID interface for the look-up walk.
    void AddHidInterface(const HidInterfaceInfo& info);

    void SetInputFails(bool fails);       // DirectInput8Create
    void SetEnumerationFails(bool fails); // EnumDevices
    // The n-th feature report from now (1 = the next) fails; 0: none.
    void FailFeatureReport(int n);
    void SetOutputMode(OutputMode mode);
    // How long a completing output write takes, as a device's report interval would make it (a
    // stop event or an unplugging during it fails the write); 0, the default: no time.
    void SetOutputInterval(DWORD ms);

    std::vector<Report> Reports() const;
    std::vector<Report> Reports(Report::Kind kind) const;
    void ClearReports();
    std::vector<Channel> Channels() const;
    int OpenChannels() const;
    // Output writes issued that have not returned yet.
    int WritesInProgress() const;
    // DirectInput objects alive, and created so far.
    int LiveInputs() const;
    int InputsCreated() const;
    // Milliseconds since the simulator was made; the clock of the report log.
    double NowMs() const;

    std::unique_ptr<IGameInput> CreateInput() override;
    std::unique_ptr<IHidChannel> OpenHid(const std::wstring& path, bool overlapped) override;
    GUID HidInterfaceClass() override;
    void EnumPresentHid(const std::function<bool(const HidInterfaceInfo&)>& visit) override;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
    IDeviceAccess* m_replaced;
};
