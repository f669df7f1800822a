#pragma once
// The device handler of model 6867.
#include "models/COlderDeviceHandler.h"
#include "models/ZVK6867/ModelFiles6867.h"

namespace ZVK6867 {

class CDeviceHandler6867 : public COlderDeviceHandler {
public:
    CDeviceHandler6867() : COlderDeviceHandler(6867, JoySetting()) {}
};

} // namespace ZVK6867
