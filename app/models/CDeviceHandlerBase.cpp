#include "models/CDeviceHandlerBase.h"
#include "control/STabCtrl.h"
#include "core/SWnd.h"

using namespace SKEIN;

void CDeviceHandlerBase::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    if (STabCtrl* pages = SubPages())
        AttachSubPages(*pages);
    SelectSubPage(0);
}

BOOL CDeviceHandlerBase::DispatchEvent(EventArgs*)
{
    return FALSE;
}

void CDeviceHandlerBase::SelectSubPage(int index)
{
    if (STabCtrl* pages = SubPages())
        pages->SelectPage(index);
}

STabCtrl* CDeviceHandlerBase::SubPages() const
{
    if (!m_page)
        return nullptr;
    return m_page->FindChildByName2<STabCtrl>(L"tabctrl_funPages");
}
