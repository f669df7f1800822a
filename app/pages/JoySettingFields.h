#pragma once
// A settings page as data: one slider (0..100) and one percentage text per field of the
// settings record, in record order, and which fields are the motor strengths. The one-layer
// models have four dead zones and one strength for both motors; model 6891 seven dead zones
// and a strength per motor. Pure: the page handler binds it to the controls.
#include "core/SString.h"
#include "files/SettingsRecords.h"

struct SettingSlider {
    const wchar_t* slider;
    const wchar_t* text;
};

const int kMaxSettingFields = k6891DeadZoneCount + 2;

struct SettingPageDesign {
    const SettingSlider* sliders;
    int count;
    int leftMotor; // field indexes of the strengths (the same for one strength)
    int rightMotor;
};

extern const SettingPageDesign kOlderSettingPage;
extern const SettingPageDesign kSettingPage6891;

// The fields of a record in the design's order, as the sliders read and write them.
struct SettingFields {
    UINT32* values[kMaxSettingFields];
};
SettingFields BindSettingFields(OlderSettingsRecord& record);
SettingFields BindSettingFields(Settings6891Record& record);

// The percentage text of a value: 95 shows as "95%".
SKEIN::SStringW PercentText(long long value);

// A field as the page shows it: a strength is unsigned, a dead zone signed, as the device and
// the motors read them.
long long FieldValue(const SettingPageDesign& design, const SettingFields& fields, int index);
