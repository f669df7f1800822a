#include "models/ZVK6840/ModelFiles6840.h"

namespace ZVK6840 {

namespace {

const OlderModelFiles kFiles = {6840, L"6840", L"ZVK6840Profile"};

} // namespace

CProfile6840::CProfile6840() : COlderProfile(kFiles) {}

CProfile6840& Profile()
{
    static CProfile6840 profile;
    return profile;
}

COlderJoySetting& JoySetting()
{
    static COlderJoySetting settings(kFiles.folder);
    return settings;
}

} // namespace ZVK6840
