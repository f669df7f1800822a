#pragma once
// The vibration test: a worker thread that writes the motors' output report to the joystick
// again and again until the test's duration has passed, then the stop report. At most one
// worker runs; stopping it signals the event its write waits on, so a write in progress is
// cancelled at once, and joins it: the worker is never terminated.
#include <windows.h>
#include <atomic>
#include <memory>
#include "device/DeviceAccess.h"

// Output report: 00 05 01 left right 00 00 00; the stop report has both levels 0.
struct VibrationReport {
    enum { kSize = 8 };
    BYTE bytes[kSize];
};
VibrationReport MakeVibrationReport(BYTE left, BYTE right);

class VibrationWorker {
public:
    enum : DWORD {
        kWriteTimeoutMs = 300, // a motor report the device does not take
        kStopTimeoutMs = 100,  // the stop report
    };

    VibrationWorker();
    // Stops the worker.
    ~VibrationWorker();
    VibrationWorker(const VibrationWorker&) = delete;
    VibrationWorker& operator=(const VibrationWorker&) = delete;

    // Stops a running test, then runs one on channel (an overlapped channel the worker owns
    // and closes); without a channel only the stop happens. Levels: their low bytes are sent.
    void Start(std::unique_ptr<IHidChannel> channel, DWORD left, DWORD right, DWORD durationMs);
    // Asks the worker to end (its write in progress cancelled) and waits until it has.
    void Stop();
    bool Running() const { return m_thread != nullptr; }

private:
    static DWORD WINAPI Run(void* self);
    void Loop();

    HANDLE m_thread = nullptr;
    HANDLE m_stopEvent;            // manual reset: set until the next start
    std::atomic<bool> m_stop{false};
    std::unique_ptr<IHidChannel> m_channel; // the worker's while it runs
    VibrationReport m_report = {};
    DWORD m_durationMs = 0;
};
