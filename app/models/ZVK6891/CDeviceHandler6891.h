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

    CKeymapPage6891Handler& KeymapPageA() { return m_keymapA; }
    CKeymapPage6891HandlerB& KeymapPageB() { return m_keymapB; }
    CSettingPage6891Handler& SettingPage() { return m_settings; }

private:
    CFuctionTestHandler m_functionTest;
    CKeymapPage6891Handler m_keymapA;
    CKeymapPage6891HandlerB m_keymapB;
    CSettingPage6891Handler m_settings;
};

} // namespace ZVK6891
