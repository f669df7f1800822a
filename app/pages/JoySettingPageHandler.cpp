#include "pages/JoySettingPageHandler.h"
#include "control/SSliderBar.h"
#include "core/SEvents.h"
#include "device/CDirectInputJoy.h"
#include "files/COlderJoySetting.h"
#include "pages/JoySettingFields.h"
#include "protocol/VibrationLevel.h"

using namespace SKEIN;

namespace {

const wchar_t kApply[] = L"btn_Applay";
const wchar_t kDefault[] = L"btn_default";

bool Is(const wchar_t* name, const wchar_t* expected)
{
    return name && wcscmp(name, expected) == 0;
}

} // namespace

CJoySettingPageHandler::CJoySettingPageHandler(IDeviceHandler& device, COlderJoySetting& settings)
    : m_device(device), m_settings(settings)
{
}

void CJoySettingPageHandler::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    Refresh();
}

BOOL CJoySettingPageHandler::HandlePageEvent(EventArgs* evt)
{
    if (!SentFromPage(evt))
        return FALSE;
    if (evt->GetId() == EventCmd::EventID) {
        if (Is(evt->nameFrom, kApply)) {
            m_device.ApplySettings();
            return TRUE;
        }
        if (Is(evt->nameFrom, kDefault)) {
            m_settings.RestoreDefaults();
            Refresh();
            return TRUE;
        }
        return FALSE;
    }
    if (evt->GetId() != EventSliderPos::EventID)
        return FALSE;
    Store();
    if (Is(evt->nameFrom, kOlderSettingSliders[kStrengthSetting].slider))
        Vibrate();
    return TRUE;
}

void CJoySettingPageHandler::Store()
{
    for (int index = 0; index < kOlderSettingCount; ++index) {
        if (SSliderBar* slider = Control<SSliderBar>(kOlderSettingSliders[index].slider))
            SetSettingValue(m_settings.Record(), index, slider->CurrentValue());
    }
    Refresh();
}

void CJoySettingPageHandler::Refresh()
{
    if (!m_page)
        return;
    const OlderSettingsRecord& record = m_settings.Record();
    for (int index = 0; index < kOlderSettingCount; ++index) {
        if (SWindow* text = Control<SWindow>(kOlderSettingSliders[index].text))
            text->AssignText(PercentText(SettingValue(record, index)));
    }
    for (int index = 0; index < kOlderSettingCount; ++index) {
        if (SSliderBar* slider = Control<SSliderBar>(kOlderSettingSliders[index].slider))
            slider->SetClampedValue(SettingValue(record, index));
    }
}

void CJoySettingPageHandler::Vibrate()
{
    BYTE level = VibrationLevel(m_settings.Record().strength);
    DirectInputJoy().StartVibrationTest(level, level, kVibrationMs);
}
