#pragma once
// The device handler of the models with one mapping layer (6840, 6852, 6867): one
// implementation, told apart by the model's descriptor, its data objects and its texts. Their
// device page has four sub-pages: key mapping, joystick settings, function test and about.
#include "models/CDeviceHandlerBase.h"
#include "pages/FunctionTestHandler.h"
#include "pages/JoySettingPageHandler.h"
#include "pages/KeymapPageHandler.h"

class COlderJoySetting;
class COlderProfile;

class COlderDeviceHandler : public CDeviceHandlerBase {
public:
    COlderDeviceHandler(const ModelDescriptor& model, COlderProfile& profile, COlderJoySetting& settings,
                        const ModelTexts& texts);

    CKeymapPageHandler& KeymapPage() { return m_keymap; }
    CJoySettingPageHandler& SettingPage() { return m_settings; }

private:
    CFuctionTestHandler m_functionTest;
    CKeymapPageHandler m_keymap;
    CJoySettingPageHandler m_settings;
};
