#pragma once
// The settings records: the older models' dead zones and vibration strength (24 bytes) and
// model 6891's seven dead zones and two motor strengths (44 bytes). Each struct is the file
// image; its layout says which bytes are summed and taken over. Values are percent; only the
// checksum protects them, so users of a value clamp it.
#include <stddef.h>
#include "files/RecordLayout.h"

inline constexpr wchar_t kSettingsFileName[] = L"JoySetting.qmj";

const UINT32 kDefaultVibrationStrength = 95;
const int kOlderDeadZoneCount = 4;
const int k6891DeadZoneCount = 7;

// The dead zones in record order.
enum OlderDeadZone { kOlderDeadZoneX, kOlderDeadZoneY, kOlderDeadZoneZ, kOlderDeadZoneRz };
enum DeadZone6891 {
    kDeadZoneX6891,
    kDeadZoneY6891,
    kDeadZoneZ6891,
    kDeadZoneRx6891,
    kDeadZoneRy6891,
    kDeadZoneRz6891,
    kDeadZoneSlider6891,
};

struct OlderSettingsRecord {
    BYTE checksum;                  // of the values
    BYTE zero[3];                   // kept as loaded
    INT32 deadZones[kOlderDeadZoneCount];
    UINT32 strength;
};

struct Settings6891Record {
    UINT32 header;                  // memory only
    BYTE checksum;                  // of the values
    BYTE pad[3];
    UINT32 deadZones[k6891DeadZoneCount];
    UINT32 leftAmplify;
    UINT32 rightAmplify;
};

static_assert(sizeof(OlderSettingsRecord) == 24 && offsetof(OlderSettingsRecord, strength) == 20,
              "older settings layout");
static_assert(sizeof(Settings6891Record) == 44 && offsetof(Settings6891Record, deadZones) == 8 &&
                  offsetof(Settings6891Record, leftAmplify) == 36,
              "6891 settings layout");

extern const RecordLayout kOlderSettingsLayout;
extern const RecordLayout kSettings6891Layout;

// Dead zones 0, strengths 95; the checksum is left as it is.
void ResetSettings(OlderSettingsRecord& record);
void ResetSettings(Settings6891Record& record);
