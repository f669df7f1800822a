#pragma once
// The device handler of model 6867.
#include "models/COlderDeviceHandler.h"

namespace ZVK6867 {

class CDeviceHandler6867 : public COlderDeviceHandler {};

} // namespace ZVK6867
