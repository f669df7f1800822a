#include "models/COlderDeviceHandler.h"

namespace {

const int kSubPageCount = 4;

} // namespace

void COlderDeviceHandler::SelectSubPageByNumber(int number)
{
    if (number >= 0 && number < kSubPageCount)
        SelectSubPage(number);
}
