#pragma once
// The device handler of the models with one mapping layer (6840, 6852, 6867): one
// implementation, told apart by the model's descriptor and its data objects. Their device page
// has four sub-pages: key mapping, joystick settings, function test and about.
#include "models/CDeviceHandlerBase.h"
#include "pages/FunctionTestHandler.h"
#include "pages/JoySettingPageHandler.h"
#include "pages/KeymapPageHandler.h"

class COlderJoySetting;
class COlderProfile;
class ModelTexts;
struct ModelDescriptor;

class COlderDeviceHandler : public CDeviceHandlerBase {
public:
    COlderDeviceHandler(const ModelDescriptor& model, COlderProfile& profile, COlderJoySetting& settings,
                        const ModelTexts& texts);

    // Gives the sub-pages to their handlers, then shows the first.
    void AttachPage(SKEIN::SWindow* page) override;
    void SelectSubPageByNumber(int number) override;
    // The key-mapping page, the function-test page, then the settings page; then any command
    // from inside the device page is taken with no effect.
    BOOL DispatchEvent(SKEIN::EventArgs* evt) override;
    void Tick() override { m_functionTest.Tick(); }

    void SelectSubPage(int index) override;
    void ImportProfile() override;
    void ExportProfile() override;
    int ApplyMapping() override;
    int ApplySettings() override;
    int RestoreDefaultMapping() override;
    void KeyMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode) override;
    void AxisMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode, bool hideMouseMovement) override;
    // The one strength into both registry values; true also when the registry refuses.
    bool SaveVibrationStrength() override;
    bool SendMapping() override;
    bool SendSettings() override;

    CKeymapPageHandler& KeymapPage() { return m_keymap; }
    CJoySettingPageHandler& SettingPage() { return m_settings; }

private:
    // The key-mapping page relabels, the settings page shows the record again.
    void RefreshPages();

    const ModelDescriptor& m_model;
    COlderProfile& m_profile;
    COlderJoySetting& m_joySetting;
    const ModelTexts& m_texts;
    CFuctionTestHandler m_functionTest;
    CKeymapPageHandler m_keymap;
    CJoySettingPageHandler m_settings;
};
