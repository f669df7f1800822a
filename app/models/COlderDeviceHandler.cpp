#include "models/COlderDeviceHandler.h"
#include "control/STabCtrl.h"

using namespace SKEIN;

namespace {

enum SubPage { kKeymap = 0, kSettings = 1, kFunctionTest = 2, kAbout = 3, kSubPageCount };

} // namespace

COlderDeviceHandler::COlderDeviceHandler(USHORT productId, COlderJoySetting& settings)
    : m_functionTest(kOlderTestDesign, productId, settings.Record().strength, settings.Record().strength,
                     CFuctionTestHandler::kSendersInside)
{
}

void COlderDeviceHandler::AttachSubPages(STabCtrl& pages)
{
    m_functionTest.AttachPage(pages.PageAt(kFunctionTest));
}

void COlderDeviceHandler::SelectSubPageByNumber(int number)
{
    if (number >= 0 && number < kSubPageCount)
        SelectSubPage(number);
}

void COlderDeviceHandler::SelectSubPage(int index)
{
    CDeviceHandlerBase::SelectSubPage(index);
    m_functionTest.SetActive(index == kFunctionTest);
}

BOOL COlderDeviceHandler::DispatchEvent(EventArgs* evt)
{
    if (m_functionTest.HandlePageEvent(evt))
        return TRUE;
    return CDeviceHandlerBase::DispatchEvent(evt);
}
