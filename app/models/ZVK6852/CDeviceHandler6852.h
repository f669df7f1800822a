#pragma once
// The device handler of model 6852 and its page handlers.
#include "models/COlderDeviceHandler.h"
#include "models/ModelDescriptor.h"
#include "models/ZVK6852/ModelFiles6852.h"
#include "texts/ModelTexts.h"

namespace ZVK6852 {

using CKeymapPage6852Handler = CKeymapPageHandler;
using CSettingPage6852Handler = CJoySettingPageHandler;

class CDeviceHandler6852 : public COlderDeviceHandler {
public:
    CDeviceHandler6852() : COlderDeviceHandler(kModel6852, Profile(), JoySetting(), ModelTextsOf(6852)) {}
};

} // namespace ZVK6852
