#pragma once
// The device handler of model 6852.
#include "models/COlderDeviceHandler.h"

namespace ZVK6852 {

class CDeviceHandler6852 : public COlderDeviceHandler {};

} // namespace ZVK6852
