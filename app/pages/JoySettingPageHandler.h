#pragma once
// A joystick-settings sub-page: the dead-zone and motor-strength sliders of the page's design
// with their percentages, and the commands apply and default. Every slider move stores all
// fields; a strength move lets the motors run for half a second at the new strengths. Nothing
// is saved or sent until apply.
#include <functional>
#include "handlers/CMyHandlerBase.h"
#include "handlers/IDeviceHandler.h"
#include "pages/JoySettingFields.h"

class COlderJoySetting;

class CJoySettingPageHandler : public CMyHandlerBase {
public:
    // The length of the vibration a strength move starts.
    static const DWORD kVibrationMs = 500;

    // fields: the record's fields in the design's order; restore: the record back to defaults.
    CJoySettingPageHandler(IDeviceHandler& device, const SettingPageDesign& design, const SettingFields& fields,
                           std::function<void()> restore);
    // The one-layer models' page over their record.
    CJoySettingPageHandler(IDeviceHandler& device, COlderJoySetting& settings);

    // Stores the page, then refreshes.
    void AttachPage(SKEIN::SWindow* page) override;
    // Commands and slider moves of the page; nonzero when taken.
    BOOL HandlePageEvent(SKEIN::EventArgs* evt);
    // Texts and sliders show the settings record again.
    void Refresh();

private:
    // Every slider's position into its field, then a refresh.
    void Store();
    bool IsMotorSlider(const wchar_t* name) const;
    void Vibrate();
    long long Value(int index) const { return FieldValue(m_design, m_fields, index); }
    // The slider position of a field: its value, which the slider brings into its range.
    int Position(int index) const;

    IDeviceHandler& m_device;
    const SettingPageDesign& m_design;
    SettingFields m_fields;
    std::function<void()> m_restore;
};
