#include "models/ZVK6891/CDeviceHandler6891.h"
#include "control/STabCtrl.h"
#include "models/ModelDescriptor.h"
#include "models/ZVK6891/CFileJoySetting6891.h"

using namespace SKEIN;

namespace ZVK6891 {

namespace {

enum SubPage { kKeymapA = 0, kKeymapB = 1, kSettings = 2, kFunctionTest = 3, kAbout = 4 };
// The sub-page of each caption button after key mapping (joystick settings, function test, about).
const int kPageOfNumber[] = {kSettings, kFunctionTest, kAbout};

} // namespace

CDeviceHandler6891::CDeviceHandler6891()
    : m_functionTest(k6891TestDesign, kModel6891.productId, JoySetting().Record().leftAmplify,
                     JoySetting().Record().rightAmplify, CFuctionTestHandler::kSendersInsideOrNone)
{
}

void CDeviceHandler6891::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    if (STabCtrl* pages = SubPages())
        m_functionTest.AttachPage(pages->PageAt(kFunctionTest));
    SelectSubPage(kKeymapA);
}

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
    m_functionTest.SetActive(index == kFunctionTest);
}

BOOL CDeviceHandler6891::DispatchEvent(EventArgs* evt)
{
    if (m_functionTest.HandlePageEvent(evt))
        return TRUE;
    return CDeviceHandlerBase::DispatchEvent(evt);
}

} // namespace ZVK6891
