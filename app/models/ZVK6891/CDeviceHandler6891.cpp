#include "models/ZVK6891/CDeviceHandler6891.h"

namespace ZVK6891 {

namespace {

enum SubPage { kKeymapA = 0, kKeymapB = 1, kSettings = 2, kFunctionTest = 3, kAbout = 4 };
// The sub-page of each caption button after key mapping (joystick settings, function test, about).
const int kPageOfNumber[] = {kSettings, kFunctionTest, kAbout};

} // namespace

void CDeviceHandler6891::SelectSubPageByNumber(int number)
{
    if (number == 0)
        SelectSubPage(m_lastKeymapPage == kKeymapB ? kKeymapB : kKeymapA);
    else if (number >= 1 && number <= 3)
        SelectSubPage(kPageOfNumber[number - 1]);
}

void CDeviceHandler6891::SelectSubPage(int index)
{
    if (index == kKeymapA || index == kKeymapB)
        m_lastKeymapPage = index;
    CDeviceHandlerBase::SelectSubPage(index);
}

} // namespace ZVK6891
