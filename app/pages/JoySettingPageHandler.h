#pragma once
// The joystick-settings sub-page of the one-layer models: the four dead-zone sliders and the
// vibration-strength slider with their percentages, and the commands apply and default. Every
// slider move stores all five fields; a strength move lets the motors run for half a second at
// the new strength. Nothing is saved or sent until apply.
#include "handlers/CMyHandlerBase.h"
#include "handlers/IDeviceHandler.h"

class COlderJoySetting;

class CJoySettingPageHandler : public CMyHandlerBase {
public:
    // The length of the vibration a strength move starts.
    static const DWORD kVibrationMs = 500;

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
    void Vibrate();

    IDeviceHandler& m_device;
    COlderJoySetting& m_settings;
};
