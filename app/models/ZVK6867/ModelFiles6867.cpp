#include "models/ZVK6867/ModelFiles6867.h"
#include "models/ModelDescriptor.h"

namespace ZVK6867 {

CProfile6867::CProfile6867() : COlderProfile(kModel6867) {}

CProfile6867& Profile()
{
    static CProfile6867 profile;
    return profile;
}

COlderJoySetting& JoySetting()
{
    static COlderJoySetting settings(kModel6867.folder);
    return settings;
}

} // namespace ZVK6867
