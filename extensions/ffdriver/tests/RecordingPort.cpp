#include "RecordingPort.h"

HANDLE RecordingPort::Open(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back(std::string("open ") + path);
    return refuseOpen ? INVALID_HANDLE_VALUE : reinterpret_cast<HANDLE>(nextHandle_++);
}

DWORD RecordingPort::Write(HANDLE, const BYTE* data, DWORD size) {
    if (writeDelayMs) Sleep(writeDelayMs);
    std::lock_guard<std::mutex> lock(mutex_);
    Report report = {};
    for (DWORD i = 0; i < size && i < report.size(); ++i) report[i] = data[i];
    reports_.push_back(report);
    events_.push_back("write " + std::to_string(report[3]) + " " + std::to_string(report[4]));
    return nextWriteError.exchange(0);
}

void RecordingPort::Close(HANDLE) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back("close");
}

std::vector<RecordingPort::Report> RecordingPort::Reports() {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
}

std::vector<std::string> RecordingPort::Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    return events_;
}
