#pragma once
// The device handler of model 6840 and its page handlers.
#include "models/COlderDeviceHandler.h"
#include "models/ModelDescriptor.h"
#include "models/ZVK6840/ModelFiles6840.h"
#include "texts/ModelTexts.h"

namespace ZVK6840 {

using CKeymapPage6840Handler = CKeymapPageHandler;
using CSettingPage6840Handler = CJoySettingPageHandler;

class CDeviceHandler6840 : public COlderDeviceHandler {
public:
    CDeviceHandler6840() : COlderDeviceHandler(kModel6840, Profile(), JoySetting(), ModelTextsOf(6840)) {}
};

} // namespace ZVK6840
