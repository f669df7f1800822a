#pragma once
// The lock of the effect state. Within the process a slim lock makes it exclusive, so no effect's
// memory can be freed while the tick reads it; across processes the named auto-reset event
// "VID_0C62&PID_2B19" is waited for at most 100 ms and set again on release.
#include <windows.h>

namespace EffectLock {

bool Open();    // creates the named event; the library refuses to load without it
void Close();

class Guard {
public:
    Guard();
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;
};

}  // namespace EffectLock
