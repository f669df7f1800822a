#include "models/ZVK6867/ModelFiles6867.h"

namespace ZVK6867 {

namespace {

const OlderModelFiles kFiles = {6867, L"6867", L"ZVK6867Profile"};

} // namespace

CProfile6867::CProfile6867() : COlderProfile(kFiles) {}

CProfile6867& Profile()
{
    static CProfile6867 profile;
    return profile;
}

COlderJoySetting& JoySetting()
{
    static COlderJoySetting settings(kFiles.folder);
    return settings;
}

} // namespace ZVK6867
