#include "RumblePort.h"

#include <atomic>

namespace {

class SystemPort final : public RumblePort {
public:
    ULONGLONG Now() override { return GetTickCount64(); }

    HANDLE Open(const char* path) override {
        return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    DWORD Write(HANDLE device, const BYTE* data, DWORD size) override {
        DWORD written = 0;
        if (WriteFile(device, data, size, &written, nullptr) && written == size) return 0;
        DWORD error = GetLastError();
        return error ? error : ERROR_WRITE_FAULT;
    }

    void Close(HANDLE device) override { CloseHandle(device); }
};

SystemPort g_systemPort;
std::atomic<RumblePort*> g_port{&g_systemPort};

}  // namespace

RumblePort& RumblePort::Current() { return *g_port.load(); }

void RumblePort::Install(RumblePort* port) { g_port.store(port ? port : &g_systemPort); }
