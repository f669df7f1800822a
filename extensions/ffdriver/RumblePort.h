#pragma once
// The one seam between the effect driver and the outside world of its tick: the millisecond clock
// and the open, write and close of a device path. The system's port is used unless another is
// installed (tests install recorders and clocks of their own).
#include <windows.h>

class RumblePort {
public:
    virtual ULONGLONG Now() = 0;                  // milliseconds
    virtual HANDLE Open(const char* path) = 0;    // null or INVALID_HANDLE_VALUE when it fails
    // 0 when every byte was written, otherwise the system's error code.
    virtual DWORD Write(HANDLE device, const BYTE* data, DWORD size) = 0;
    virtual void Close(HANDLE device) = 0;

    static RumblePort& Current();
    static void Install(RumblePort* port);  // null restores the system's port

    static bool IsOpen(HANDLE device) { return device && device != INVALID_HANDLE_VALUE; }

protected:
    ~RumblePort() = default;
};
