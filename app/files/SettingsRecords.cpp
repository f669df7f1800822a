#include "files/SettingsRecords.h"

// The older record keeps its whole image, zero bytes included; model 6891's from the checksum on.
const RecordLayout kOlderSettingsLayout = {
    sizeof(OlderSettingsRecord),
    offsetof(OlderSettingsRecord, checksum),
    offsetof(OlderSettingsRecord, deadZones), sizeof(OlderSettingsRecord),
    0, sizeof(OlderSettingsRecord),
    {}, 0,
    kNoIds, kNoIds,
};

const RecordLayout kSettings6891Layout = {
    sizeof(Settings6891Record),
    offsetof(Settings6891Record, checksum),
    offsetof(Settings6891Record, deadZones), sizeof(Settings6891Record),
    offsetof(Settings6891Record, checksum), sizeof(Settings6891Record),
    {offsetof(Settings6891Record, header)}, 1,
    kNoIds, kNoIds,
};

void ResetSettings(OlderSettingsRecord& record)
{
    for (INT32& deadZone : record.deadZones)
        deadZone = 0;
    record.strength = kDefaultVibrationStrength;
}

void ResetSettings(Settings6891Record& record)
{
    for (UINT32& deadZone : record.deadZones)
        deadZone = 0;
    record.leftAmplify = record.rightAmplify = kDefaultVibrationStrength;
}
