#include "protocol/VibrationWorker.h"
#include <algorithm>
#include "helper/SCriticalSection.h"

using SKEIN::SAutoLock;

VibrationReport MakeVibrationReport(BYTE left, BYTE right)
{
    return {{0, 5, 1, left, right, 0, 0, 0}};
}

// One worker's test, shared by the interface thread and the worker until both let it go. The
// lock guards the test's levels and time and what the worker is doing; it is never held
// across a write.
class VibrationWorker::Run {
public:
    Run(DWORD device, const VibrationReport& report, DWORD durationMs, std::unique_ptr<IHidChannel> channel)
        : m_device(device), m_channel(std::move(channel)), m_stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)),
          m_report(report), m_startMs(::GetTickCount64()), m_durationMs(durationMs)
    {
    }
    ~Run() { ::CloseHandle(m_stopEvent); }
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // Interface thread: takes the levels and starts the duration again, unless the worker
    // hangs in a write, is past its duration, or runs for another device.
    Offer Renew(DWORD device, const VibrationReport& report, DWORD durationMs)
    {
        SAutoLock hold(m_lock);
        if (HungLocked())
            return kHung;
        if (m_finishing)
            return kFinishing;
        if (device != m_device)
            return kOtherDevice;
        m_report = report;
        m_startMs = ::GetTickCount64();
        m_durationMs = durationMs;
        return kTaken;
    }

    // Interface thread: whether a write is overdue: the driver ignored its cancel.
    bool Hung()
    {
        SAutoLock hold(m_lock);
        return HungLocked();
    }

    // Interface thread: the worker's motor write in progress is cancelled and it writes no
    // further motor report; with finish it then sends the stop report (one already being sent
    // goes on), else nothing more.
    void Stop(bool finish)
    {
        {
            SAutoLock hold(m_lock);
            m_stopped = true;
            m_finishOnStop = finish;
        }
        ::SetEvent(m_stopEvent);
    }

    // Worker: motor reports until the duration has passed, then the stop report; a stop ends
    // it at once. The channel is closed when it ends.
    void Loop()
    {
        VibrationReport report;
        Step step;
        while ((step = Next(report)) == kMotor) {
            m_channel->WriteOutput(report.bytes, VibrationReport::kSize, m_stopEvent, kWriteTimeoutMs);
            SAutoLock hold(m_lock);
            m_writing = false;
        }
        if (step == kFinish) {
            // Bounded by its own time-out only: a stop must not cancel it.
            VibrationReport stop = MakeVibrationReport(0, 0);
            m_channel->WriteOutput(stop.bytes, VibrationReport::kSize, nullptr, kStopTimeoutMs);
        }
        m_channel.reset();
    }

private:
    enum Step { kMotor, kFinish, kQuit };

    bool HungLocked() const { return m_writing && ::GetTickCount64() - m_writeStartMs > kHungAfterMs; }

    // What the worker writes next; a write is marked as begun with the decision.
    Step Next(VibrationReport& report)
    {
        ::Sleep(0);
        SAutoLock hold(m_lock);
        if (m_stopped)
            return m_finishOnStop ? kFinish : kQuit;
        ULONGLONG now = ::GetTickCount64();
        m_writing = true;
        m_writeStartMs = now;
        if (now - m_startMs > m_durationMs) {
            m_finishing = true;
            return kFinish;
        }
        report = m_report;
        return kMotor;
    }

    SKEIN::SCriticalSection m_lock;
    const DWORD m_device;
    std::unique_ptr<IHidChannel> m_channel; // used by the worker only
    HANDLE m_stopEvent;                     // manual reset: set when the worker must end
    VibrationReport m_report;
    ULONGLONG m_startMs;
    DWORD m_durationMs;
    ULONGLONG m_writeStartMs = 0;
    bool m_writing = false;   // a write has begun and not returned
    bool m_finishing = false; // past the duration: the stop report is the last write
    bool m_stopped = false;
    bool m_finishOnStop = false; // a stopped worker sends the stop report
};

VibrationWorker::VibrationWorker()
{
    m_abandoned.reserve(kMaxWorkers);
}

VibrationWorker::~VibrationWorker()
{
    Shutdown();
    for (HANDLE thread : m_abandoned)
        ::CloseHandle(thread);
}

void VibrationWorker::Request(DWORD device, DWORD left, DWORD right, DWORD durationMs, const ChannelOpener& open)
{
    VibrationReport report = MakeVibrationReport(static_cast<BYTE>(left), static_cast<BYTE>(right));
    ForgetEnded();
    if (m_run) {
        Offer offer = m_run->Renew(device, report, durationMs);
        if (offer == kTaken)
            return;
        if (offer == kHung) {
            if (m_abandoned.size() + 1 >= kMaxWorkers)
                return; // no room for its successor
            LetGo(false);
        } else {
            EndRunning();
        }
    }
    if (m_abandoned.size() >= kMaxWorkers)
        return;
    if (std::unique_ptr<IHidChannel> channel = open())
        Launch(device, report, durationMs, std::move(channel));
}

void VibrationWorker::Stop()
{
    ForgetEnded();
    if (m_run)
        EndRunning();
}

void VibrationWorker::Shutdown()
{
    ForgetEnded();
    if (m_shutDown)
        return; // every worker still alive was waited for already
    // The motors stop with the program, unless the worker hangs in its driver.
    if (m_run)
        LetGo(!m_run->Hung());
    if (!m_abandoned.empty())
        ::WaitForMultipleObjects(static_cast<DWORD>(m_abandoned.size()), m_abandoned.data(), TRUE, kEndWaitMs);
    ForgetEnded();
    m_shutDown = true;
}

void VibrationWorker::ForgetEnded()
{
    auto ended = [](HANDLE thread) { return ::WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; };
    if (m_thread && ended(m_thread)) {
        ::CloseHandle(m_thread);
        m_thread = nullptr;
        m_run.reset();
    }
    auto gone = std::remove_if(m_abandoned.begin(), m_abandoned.end(), [&](HANDLE thread) {
        if (!ended(thread))
            return false;
        ::CloseHandle(thread);
        return true;
    });
    m_abandoned.erase(gone, m_abandoned.end());
}

void VibrationWorker::EndRunning()
{
    m_run->Stop(true);
    if (::WaitForSingleObject(m_thread, kEndWaitMs) != WAIT_OBJECT_0) {
        LetGo(false);
        return;
    }
    ::CloseHandle(m_thread);
    m_thread = nullptr;
    m_run.reset();
}

void VibrationWorker::LetGo(bool finish)
{
    m_run->Stop(finish);
    m_abandoned.push_back(m_thread);
    m_thread = nullptr;
    m_run.reset();
}

void VibrationWorker::Launch(DWORD device, const VibrationReport& report, DWORD durationMs,
                             std::unique_ptr<IHidChannel> channel)
{
    auto run = std::make_shared<Run>(device, report, durationMs, std::move(channel));
    auto* handed = new std::shared_ptr<Run>(run);
    HANDLE thread = ::CreateThread(nullptr, 0, &VibrationWorker::Work, handed, 0, nullptr);
    if (!thread) {
        delete handed;
        return;
    }
    m_run = std::move(run);
    m_thread = thread;
    m_shutDown = false;
}

DWORD WINAPI VibrationWorker::Work(void* run)
{
    std::unique_ptr<std::shared_ptr<Run>> own(static_cast<std::shared_ptr<Run>*>(run));
    (*own)->Loop();
    return 0;
}
