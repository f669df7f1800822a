#pragma once
// The device handler of model 6852.
#include "models/COlderDeviceHandler.h"
#include "models/ZVK6852/ModelFiles6852.h"

namespace ZVK6852 {

class CDeviceHandler6852 : public COlderDeviceHandler {
public:
    CDeviceHandler6852() : COlderDeviceHandler(6852, JoySetting()) {}
};

} // namespace ZVK6852
