#pragma once
// The settings page of the one-layer models as data: one slider (0..100) and one percentage
// text per field of the settings record, in record order: the X, Y, Z and Rz dead zones, then
// the vibration strength. Pure: the page handler binds it to the controls.
#include "core/SString.h"
#include "files/SettingsRecords.h"

struct SettingSlider {
    const wchar_t* slider;
    const wchar_t* text;
};

const int kOlderSettingCount = kOlderDeadZoneCount + 1;
const int kStrengthSetting = kOlderDeadZoneCount;
extern const SettingSlider kOlderSettingSliders[kOlderSettingCount];

// Field index of the record, as a slider shows it.
int SettingValue(const OlderSettingsRecord& record, int index);
void SetSettingValue(OlderSettingsRecord& record, int index, int value);

// The percentage text of a value: 95 shows as "95%".
SKEIN::SStringW PercentText(int value);
