#pragma once
// A RumblePort that records the tick's device traffic, with a clock the test sets. Installed for
// its lifetime.
#include <windows.h>

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "RumblePort.h"

class RecordingPort final : public RumblePort {
public:
    using Report = std::array<BYTE, 9>;

    RecordingPort() { Install(this); }
    ~RecordingPort() { Install(nullptr); }

    ULONGLONG Now() override {
        ++readings_;
        return now;
    }
    HANDLE Open(const char* path) override;
    DWORD Write(HANDLE device, const BYTE* data, DWORD size) override;
    void Close(HANDLE device) override;

    std::vector<Report> Reports();
    // "open <path>", "write <right> <left>", "close", in order; of every device or of one path
    std::vector<std::string> Events();
    std::vector<std::string> Events(const std::string& path);
    // How often the clock was read.
    int Readings() const { return readings_; }

    std::atomic<ULONGLONG> now{1000000};
    std::atomic<bool> refuseOpen{false};
    std::atomic<DWORD> nextWriteError{0};  // returned by the next write only
    std::atomic<DWORD> writeDelayMs{0};

private:
    std::mutex mutex_;
    std::vector<Report> reports_;
    std::vector<std::pair<std::string, std::string>> events_;  // path, event
    std::map<HANDLE, std::string> paths_;
    UINT_PTR nextHandle_ = 0x100;
    std::atomic<int> readings_{0};
};
