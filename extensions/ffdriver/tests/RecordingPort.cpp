#include "RecordingPort.h"

HANDLE RecordingPort::Open(const char* path) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.emplace_back(path, std::string("open ") + path);
    if (refuseOpen) return INVALID_HANDLE_VALUE;
    HANDLE device = reinterpret_cast<HANDLE>(nextHandle_++);
    paths_[device] = path;
    return device;
}

DWORD RecordingPort::Write(HANDLE device, const BYTE* data, DWORD size) {
    if (writeDelayMs) Sleep(writeDelayMs);
    std::lock_guard<std::mutex> lock(mutex_);
    Report report = {};
    for (DWORD i = 0; i < size && i < report.size(); ++i) report[i] = data[i];
    reports_.push_back(report);
    events_.emplace_back(paths_[device], "write " + std::to_string(report[3]) + " " + std::to_string(report[4]));
    return nextWriteError.exchange(0);
}

void RecordingPort::Close(HANDLE device) {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.emplace_back(paths_[device], "close");
}

std::vector<RecordingPort::Report> RecordingPort::Reports() {
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
}

std::vector<std::string> RecordingPort::Events() {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> events;
    for (const auto& event : events_) events.push_back(event.second);
    return events;
}

std::vector<std::string> RecordingPort::Events(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> events;
    for (const auto& event : events_) {
        if (event.first == path) events.push_back(event.second);
    }
    return events;
}
