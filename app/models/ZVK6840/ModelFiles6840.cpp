#include "models/ZVK6840/ModelFiles6840.h"
#include "models/ModelDescriptor.h"

namespace ZVK6840 {

CProfile6840::CProfile6840() : COlderProfile(kModel6840) {}

CProfile6840& Profile()
{
    static CProfile6840 profile;
    return profile;
}

COlderJoySetting& JoySetting()
{
    static COlderJoySetting settings(kModel6840.folder);
    return settings;
}

} // namespace ZVK6840
