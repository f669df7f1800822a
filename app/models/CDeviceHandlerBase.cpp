#include "models/CDeviceHandlerBase.h"
#include "control/STabCtrl.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"
#include "MainTexts.h"
#include "models/MappingChooser.h"
#include "prompt/UserPrompt.h"

using namespace SKEIN;

void CDeviceHandlerBase::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
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

HWND CDeviceHandlerBase::HostWindow() const
{
    ISwndContainer* container = m_page ? m_page->GetHostContainer() : nullptr;
    return container ? container->GetHostHwnd() : nullptr;
}

int CDeviceHandlerBase::ShowApplyResult(bool sent, bool saved)
{
    // Our own text: the data reached the device, but the stored file is the old one.
    static const wchar_t kSaveFailed[] = L"设置已写入设备,但无法保存到文件!";
    const MainTexts& texts = CurrentMainTexts();
    const wchar_t* text = !sent ? texts.connectionWarning.c_str() : !saved ? kSaveFailed : texts.applied.c_str();
    UINT icon = sent && saved ? MB_ICONINFORMATION : MB_ICONERROR;
    return UserPrompt().ShowMessage(::GetActiveWindow(), text, texts.title.c_str(), icon);
}

void CDeviceHandlerBase::RunMappingPopup(const MappingMenu& menu, MappingTarget target, int x, int y, UINT32* code,
                                         UINT32 defaultCode, bool hideMouseMovement)
{
    HWND owner = HostWindow();
    IMappingChooser& chooser = MappingChooser();
    int choice = chooser.RunMenu(menu, POINT{x, y}, owner);
    PickerAnswer picker = {0, 0};
    if (choice == kMenuKeyboard)
        picker = chooser.PickKey(owner);
    else if (choice == kMenuMouse)
        picker = chooser.PickMouse(owner, hideMouseMovement);
    if (std::optional<UINT32> chosen = MappingPopupOutcome(target, defaultCode, hideMouseMovement, choice, picker))
        *code = *chosen;
}
