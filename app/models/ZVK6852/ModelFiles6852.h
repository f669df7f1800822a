#pragma once
// Model 6852's data files: its profile and its settings, one of each for the whole run.
#include "files/COlderJoySetting.h"
#include "files/COlderProfile.h"

namespace ZVK6852 {

class CProfile6852 : public COlderProfile {
public:
    CProfile6852();
};

CProfile6852& Profile();
COlderJoySetting& JoySetting();

} // namespace ZVK6852
