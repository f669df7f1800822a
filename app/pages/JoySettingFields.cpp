#include "pages/JoySettingFields.h"

const SettingSlider kOlderSettingSliders[kOlderSettingCount] = {
    {L"slider_Xaix", L"text_VP_pcent_value_X"},   {L"slider_Yaix", L"text_VP_pcent_value_Y"},
    {L"slider_Zaix", L"text_VP_pcent_value_Z"},   {L"slider_RZaix", L"text_VP_pcent_value_RZ"},
    {L"slider_md1", L"text_pcent_value_Lmotor"},
};

int SettingValue(const OlderSettingsRecord& record, int index)
{
    if (index == kStrengthSetting)
        return static_cast<int>(record.strength);
    return record.deadZones[index];
}

void SetSettingValue(OlderSettingsRecord& record, int index, int value)
{
    if (index == kStrengthSetting)
        record.strength = static_cast<UINT32>(value);
    else
        record.deadZones[index] = value;
}

SKEIN::SStringW PercentText(int value)
{
    SKEIN::SStringW text;
    return text.Printf(L"%d%%", value);
}
