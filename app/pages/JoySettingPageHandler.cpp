#include "pages/JoySettingPageHandler.h"
#include <algorithm>
#include <climits>
#include "control/SSliderBar.h"
#include "core/SEvents.h"
#include "device/CDirectInputJoy.h"
#include "files/COlderJoySetting.h"
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

CJoySettingPageHandler::CJoySettingPageHandler(IDeviceHandler& device, const SettingPageDesign& design,
                                               const SettingFields& fields, std::function<void()> restore)
    : m_device(device), m_design(design), m_fields(fields), m_restore(std::move(restore))
{
}

CJoySettingPageHandler::CJoySettingPageHandler(IDeviceHandler& device, COlderJoySetting& settings)
    : CJoySettingPageHandler(device, kOlderSettingPage, BindSettingFields(settings.Record()),
                             [&settings] { settings.RestoreDefaults(); })
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
            m_restore();
            Refresh();
            return TRUE;
        }
        return FALSE;
    }
    if (evt->GetId() != EventSliderPos::EventID)
        return FALSE;
    Store();
    if (IsMotorSlider(evt->nameFrom))
        Vibrate();
    return TRUE;
}

void CJoySettingPageHandler::Store()
{
    for (int index = 0; index < m_design.count; ++index) {
        if (SSliderBar* slider = Control<SSliderBar>(m_design.sliders[index].slider))
            *m_fields.values[index] = static_cast<UINT32>(slider->CurrentValue());
    }
    Refresh();
}

void CJoySettingPageHandler::Refresh()
{
    if (!Page())
        return;
    for (int index = 0; index < m_design.count; ++index) {
        if (SWindow* text = Control<SWindow>(m_design.sliders[index].text))
            text->AssignText(PercentText(Value(index)));
    }
    for (int index = 0; index < m_design.count; ++index) {
        if (SSliderBar* slider = Control<SSliderBar>(m_design.sliders[index].slider))
            slider->SetClampedValue(Position(index));
    }
}

int CJoySettingPageHandler::Position(int index) const
{
    return static_cast<int>(std::clamp<long long>(Value(index), INT_MIN, INT_MAX));
}

bool CJoySettingPageHandler::IsMotorSlider(const wchar_t* name) const
{
    return Is(name, m_design.sliders[m_design.leftMotor].slider) ||
           Is(name, m_design.sliders[m_design.rightMotor].slider);
}

void CJoySettingPageHandler::Vibrate()
{
    BYTE left = VibrationLevel(*m_fields.values[m_design.leftMotor]);
    BYTE right = VibrationLevel(*m_fields.values[m_design.rightMotor]);
    DirectInputJoy().StartVibrationTest(left, right, kVibrationMs);
}
