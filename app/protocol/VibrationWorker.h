#pragma once
// The vibration test: a worker thread that writes the motors' output report to the joystick
// again and again until the test's duration has passed, then the stop report. A request while
// a test runs on the same device hands its levels to the running worker, whose duration starts
// again. A worker ended early (a request on another device or without one, the shutdown)
// cancels its write and sends its own device the stop report, so no joystick is left vibrating. The
// interface thread waits at most kEndWaitMs for a worker to end; one that has not ended by then
// (its driver ignores the cancel of a write) is abandoned: it writes nothing more and ends by
// itself when its write returns, freeing what it holds. No worker is terminated.
#include <windows.h>
#include <functional>
#include <memory>
#include <vector>
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
        kEndWaitMs = 300,      // the longest the interface thread waits for workers to end
        // A write still running this long after it began ignored its cancel: its worker hangs.
        kHungAfterMs = kWriteTimeoutMs + kEndWaitMs,
    };
    // Workers alive at most: the running one and one abandoned. While an abandoned worker is
    // alive, a running one that hangs is not replaced: the device takes no reports anyway.
    enum { kMaxWorkers = 2 };

    using ChannelOpener = std::function<std::unique_ptr<IHidChannel>()>;

    VibrationWorker();
    // Shuts down.
    ~VibrationWorker();
    VibrationWorker(const VibrationWorker&) = delete;
    VibrationWorker& operator=(const VibrationWorker&) = delete;

    // Runs both motors at left and right (their low bytes) for durationMs, then sends the stop
    // report. device names the device the test is for: a worker running for it takes the levels
    // and starts its duration again; otherwise the running worker is ended (with its stop
    // report) and a new one runs on the channel open() gives (overlapped; the worker owns and
    // closes it). Nothing starts without a channel.
    void Request(DWORD device, DWORD left, DWORD right, DWORD durationMs, const ChannelOpener& open);
    // Ends the running worker: its write in progress cancelled, then its stop report.
    void Stop();
    // Ends the running worker (with its stop report unless it hangs) and waits for it and the
    // abandoned ones together, at most kEndWaitMs; those still alive then are left to end by
    // themselves. Until a new worker
    // starts, a further shutdown (the joystick's and this object's end at exit) waits no more.
    void Shutdown();

private:
    class Run;
    // What a running worker makes of a request.
    enum Offer { kTaken, kHung, kFinishing, kOtherDevice };

    void ForgetEnded();
    // Ends the running worker with its stop report and waits for it; abandons it when it does
    // not end in time.
    void EndRunning();
    // Stops the running worker (finish: with its stop report) and lets it go: it ends by
    // itself.
    void LetGo(bool finish);
    void Launch(DWORD device, const VibrationReport& report, DWORD durationMs, std::unique_ptr<IHidChannel> channel);
    static DWORD WINAPI Work(void* run);

    std::shared_ptr<Run> m_run; // the running worker's, shared with its thread
    HANDLE m_thread = nullptr;  // the running worker
    std::vector<HANDLE> m_abandoned; // workers that did not end in time and may still be alive
    bool m_shutDown = false;         // shut down, and no worker started since
};
