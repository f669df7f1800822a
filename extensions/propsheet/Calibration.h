// Where and how the calibration of the device's axes is stored, which depends
// on the Windows version (and on older systems the DirectX version).
#pragma once

#include "DirectInput7.h"

namespace pelko {

// Classes of Windows versions, 0..8; see WindowsClassOf.
int WindowsClassOf(bool known, const OSVERSIONINFOA& version);
int WindowsClass();

// Second and third fields of a "%x.%x.%x.%x" version text as 0xMMmm;
// 0x700 when the text does not give four fields.
DWORD ParseDirectXVersion(const char* text);
DWORD DirectXVersion();

enum class CalibrationLayout { None, Joystick9x, DeviceClasses, DirectInput };

struct CalibrationLocation {
    CalibrationLayout layout;
    HKEY root;
    const char* base;      // the key whose subkeys are the devices (9x: the settings key)
    const char* axesPath;  // below a device's key
    bool everyoneAccess;   // keys are created with full access for everyone
};

CalibrationLocation CalibrationLocationFor(int windowsClass, DWORD directXVersion);

// Security attributes giving the world account all key access; the account
// is found by its well-known SID, whatever the system's language.
class EveryoneKeyAccess {
public:
    EveryoneKeyAccess();
    ~EveryoneKeyAccess();
    EveryoneKeyAccess(const EveryoneKeyAccess&) = delete;
    EveryoneKeyAccess& operator=(const EveryoneKeyAccess&) = delete;

    // Null when the descriptor could not be built.
    SECURITY_ATTRIBUTES* Attributes();

private:
    PSID sid_ = nullptr;
    alignas(DWORD) BYTE acl_[1024] = {};
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
    bool ready_ = false;
};

// Writes the record's X, Y, Z and R ranges (flags must include
// DIJC_REGHWCONFIGTYPE) for the device with the given instance GUID.
HRESULT WriteCalibration(const DIJOYCONFIG_DX5& record, DWORD flags, const GUID& instance,
                         UINT joystickId, const CalibrationLocation& location);

} // namespace pelko
