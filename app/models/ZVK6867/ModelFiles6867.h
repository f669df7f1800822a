#pragma once
// Model 6867's data files: its profile and its settings, one of each for the whole run.
#include "files/COlderJoySetting.h"
#include "files/COlderProfile.h"

namespace ZVK6867 {

class CProfile6867 : public COlderProfile {
public:
    CProfile6867();
};

CProfile6867& Profile();
COlderJoySetting& JoySetting();

} // namespace ZVK6867
