#pragma once
// The device handler of model 6891. Its device page has five sub-pages: key mapping A and B,
// joystick settings, function test and about; the key-mapping button of the caption shows the
// key-mapping page seen last. Applies send all three layers of the profile.
#include "models/CDeviceHandlerBase.h"
#include "pages/FunctionTestHandler.h"
#include "pages/JoySettingPageHandler.h"
#include "pages/KeymapPageHandler.h"

namespace ZVK6891 {

using CKeymapPage6891Handler = CKeymapPageHandler;
using CKeymapPage6891HandlerB = CKeymapPageHandler;
using CSettingPage6891Handler = CJoySettingPageHandler;

class CDeviceHandler6891 : public CDeviceHandlerBase {
public:
    CDeviceHandler6891();

    // Gives the sub-pages to their handlers, then shows the first.
    void AttachPage(SKEIN::SWindow* page) override;
    void SelectSubPageByNumber(int number) override;
    // Pages A and B, the function-test page, then the settings page; then any command from
    // inside the device page is taken with no effect.
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
    // Each motor's strength into its registry value; true also when the registry refuses.
    bool SaveVibrationStrength() override;
    bool SendMapping() override;
    bool SendSettings() override;

    CKeymapPage6891Handler& KeymapPageA() { return m_keymapA; }
    CKeymapPage6891HandlerB& KeymapPageB() { return m_keymapB; }
    CSettingPage6891Handler& SettingPage() { return m_settings; }

private:
    // Pages A and B relabel, the settings page shows the record again.
    void RefreshPages();

    CFuctionTestHandler m_functionTest;
    CKeymapPage6891Handler m_keymapA;
    CKeymapPage6891HandlerB m_keymapB;
    CSettingPage6891Handler m_settings;
    int m_lastKeymapPage = -1; // 0 page A, 1 page B, -1 none shown yet
};

} // namespace ZVK6891
