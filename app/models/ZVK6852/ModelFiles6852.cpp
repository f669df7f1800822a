#include "models/ZVK6852/ModelFiles6852.h"
#include "models/ModelDescriptor.h"

namespace ZVK6852 {

CProfile6852::CProfile6852() : COlderProfile(kModel6852) {}

CProfile6852& Profile()
{
    static CProfile6852 profile;
    return profile;
}

COlderJoySetting& JoySetting()
{
    static COlderJoySetting settings(kModel6852.folder);
    return settings;
}

} // namespace ZVK6852
