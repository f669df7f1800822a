#include "protocol/VibrationWorker.h"

VibrationReport MakeVibrationReport(BYTE left, BYTE right)
{
    return {{0, 5, 1, left, right, 0, 0, 0}};
}

VibrationWorker::VibrationWorker() : m_stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

VibrationWorker::~VibrationWorker()
{
    Stop();
    ::CloseHandle(m_stopEvent);
}

void VibrationWorker::Start(std::unique_ptr<IHidChannel> channel, DWORD left, DWORD right, DWORD durationMs)
{
    Stop();
    if (!channel)
        return;
    m_stop = false;
    ::ResetEvent(m_stopEvent);
    m_channel = std::move(channel);
    m_report = MakeVibrationReport(static_cast<BYTE>(left), static_cast<BYTE>(right));
    m_durationMs = durationMs;
    m_thread = ::CreateThread(nullptr, 0, &VibrationWorker::Run, this, 0, nullptr);
    if (!m_thread)
        m_channel.reset();
}

void VibrationWorker::Stop()
{
    if (!m_thread)
        return;
    m_stop = true;
    ::SetEvent(m_stopEvent);
    ::WaitForSingleObject(m_thread, INFINITE);
    ::CloseHandle(m_thread);
    m_thread = nullptr;
}

DWORD WINAPI VibrationWorker::Run(void* self)
{
    static_cast<VibrationWorker*>(self)->Loop();
    return 0;
}

void VibrationWorker::Loop()
{
    ULONGLONG start = ::GetTickCount64();
    while (::GetTickCount64() - start <= m_durationMs) {
        ::Sleep(0);
        if (m_stop) {
            m_channel.reset();
            return;
        }
        m_channel->WriteOutput(m_report.bytes, VibrationReport::kSize, m_stopEvent, kWriteTimeoutMs);
    }
    VibrationReport stop = MakeVibrationReport(0, 0);
    m_channel->WriteOutput(stop.bytes, VibrationReport::kSize, m_stopEvent, kStopTimeoutMs);
    m_channel.reset();
}
