#include "pages/JoySettingFields.h"

namespace {

const SettingSlider kOlderSliders[] = {
    {L"slider_Xaix", L"text_VP_pcent_value_X"},   {L"slider_Yaix", L"text_VP_pcent_value_Y"},
    {L"slider_Zaix", L"text_VP_pcent_value_Z"},   {L"slider_RZaix", L"text_VP_pcent_value_RZ"},
    {L"slider_md1", L"text_pcent_value_Lmotor"},
};
const SettingSlider kSliders6891[] = {
    {L"slider_Xaix", L"text_VP_pcent_value_X"},          {L"slider_Yaix", L"text_VP_pcent_value_Y"},
    {L"slider_Zaix", L"text_VP_pcent_value_Z"},          {L"slider_RXaix", L"text_VP_pcent_value_RX"},
    {L"slider_RYaix", L"text_VP_pcent_value_RY"},        {L"slider_RZaix", L"text_VP_pcent_value_RZ"},
    {L"slider_slider", L"text_VP_pcent_value_thrrot"},   {L"slider_md1", L"text_pcent_value_Lmotor"},
    {L"slider_md2", L"text_pcent_value_Rmotor"},
};

} // namespace

const SettingPageDesign kOlderSettingPage = {kOlderSliders, kOlderDeadZoneCount + 1, kOlderDeadZoneCount,
                                             kOlderDeadZoneCount};
const SettingPageDesign kSettingPage6891 = {kSliders6891, k6891DeadZoneCount + 2, k6891DeadZoneCount,
                                            k6891DeadZoneCount + 1};

SettingFields BindSettingFields(OlderSettingsRecord& record)
{
    SettingFields fields = {};
    for (int i = 0; i < kOlderDeadZoneCount; ++i)
        fields.values[i] = reinterpret_cast<UINT32*>(&record.deadZones[i]);
    fields.values[kOlderDeadZoneCount] = &record.strength;
    return fields;
}

SettingFields BindSettingFields(Settings6891Record& record)
{
    SettingFields fields = {};
    for (int i = 0; i < k6891DeadZoneCount; ++i)
        fields.values[i] = &record.deadZones[i];
    fields.values[k6891DeadZoneCount] = &record.leftAmplify;
    fields.values[k6891DeadZoneCount + 1] = &record.rightAmplify;
    return fields;
}

SKEIN::SStringW PercentText(long long value)
{
    SKEIN::SStringW text;
    return text.Printf(L"%lld%%", value);
}

long long FieldValue(const SettingPageDesign& design, const SettingFields& fields, int index)
{
    UINT32 value = *fields.values[index];
    if (index == design.leftMotor || index == design.rightMotor)
        return value;
    return static_cast<INT32>(value);
}
