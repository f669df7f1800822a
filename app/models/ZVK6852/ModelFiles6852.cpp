#include "models/ZVK6852/ModelFiles6852.h"

namespace ZVK6852 {

namespace {

const OlderModelFiles kFiles = {6852, L"6852", L"ZVK6852Profile"};

} // namespace

CProfile6852::CProfile6852() : COlderProfile(kFiles) {}

CProfile6852& Profile()
{
    static CProfile6852 profile;
    return profile;
}

COlderJoySetting& JoySetting()
{
    static COlderJoySetting settings(kFiles.folder);
    return settings;
}

} // namespace ZVK6852
