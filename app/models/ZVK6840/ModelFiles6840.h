#pragma once
// Model 6840's data files: its profile and its settings, one of each for the whole run.
#include "files/COlderJoySetting.h"
#include "files/COlderProfile.h"

namespace ZVK6840 {

class CProfile6840 : public COlderProfile {
public:
    CProfile6840();
};

CProfile6840& Profile();
COlderJoySetting& JoySetting();

} // namespace ZVK6840
