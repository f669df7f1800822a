#include "device/QuietFlag.h"

bool QuietFlag = false;
