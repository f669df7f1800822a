#pragma once
// The device handler of model 6867 and its page handlers.
#include "models/COlderDeviceHandler.h"
#include "models/ModelDescriptor.h"
#include "models/ZVK6867/ModelFiles6867.h"
#include "texts/ModelTexts.h"

namespace ZVK6867 {

using CKeymapPage6867Handler = CKeymapPageHandler;
using CSettingPage6867Handler = CJoySettingPageHandler;

class CDeviceHandler6867 : public COlderDeviceHandler {
public:
    CDeviceHandler6867() : COlderDeviceHandler(kModel6867, Profile(), JoySetting(), ModelTextsOf(6867)) {}
};

} // namespace ZVK6867
