#pragma once
// The device handler of model 6840.
#include "models/COlderDeviceHandler.h"

namespace ZVK6840 {

class CDeviceHandler6840 : public COlderDeviceHandler {};

} // namespace ZVK6840
