#pragma once
// The device handler of model 6840.
#include "models/COlderDeviceHandler.h"
#include "models/ZVK6840/ModelFiles6840.h"

namespace ZVK6840 {

class CDeviceHandler6840 : public COlderDeviceHandler {
public:
    CDeviceHandler6840() : COlderDeviceHandler(6840, JoySetting()) {}
};

} // namespace ZVK6840
