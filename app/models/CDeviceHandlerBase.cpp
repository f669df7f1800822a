#include "models/CDeviceHandlerBase.h"
#include "control/STabCtrl.h"
#include "core/SEvents.h"
#include "core/SWnd.h"
#include "device/CDirectInputJoy.h"
#include "files/CRecordFile.h"
#include "interface/SwndContainer-i.h"
#include "MainTexts.h"
#include "models/AmplifyRegistry.h"
#include "models/MappingChooser.h"
#include "pages/FunctionTestHandler.h"
#include "pages/JoySettingPageHandler.h"
#include "pages/KeymapPageHandler.h"
#include "prompt/UserPrompt.h"

using namespace SKEIN;

namespace {

// The caption's sub-page buttons: key mapping, joystick settings, function test, about.
const int kCaptionSubPages = 4;

// Shows the wait cursor while a batch runs on the caller's thread.
class WaitCursor {
public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_previous); }

private:
    HCURSOR m_previous;
};

} // namespace

CDeviceHandlerBase::CDeviceHandlerBase(const ModelDescriptor& model, ModelParts parts, SubPageHandlers pages)
    : m_model(model), m_parts(std::move(parts)), m_pages(std::move(pages))
{
}

void CDeviceHandlerBase::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    if (STabCtrl* pages = SubPages()) {
        int index = 0;
        for (CKeymapPageHandler* keymap : m_pages.keymaps) {
            if (SWindow* sub = pages->PageAt(index++))
                keymap->AttachPage(sub);
        }
        if (SWindow* settings = pages->PageAt(SettingsPageIndex()))
            m_pages.settings.AttachPage(settings);
        m_pages.functionTest.AttachPage(pages->PageAt(FunctionTestPageIndex()));
    }
    SelectSubPage(0);
}

void CDeviceHandlerBase::SelectSubPageByNumber(int number)
{
    if (number == 0)
        SelectSubPage(m_lastKeymapPage);
    else if (number > 0 && number < kCaptionSubPages)
        SelectSubPage(SettingsPageIndex() + number - 1);
}

BOOL CDeviceHandlerBase::DispatchEvent(EventArgs* evt)
{
    if (!Page())
        return FALSE;
    for (CKeymapPageHandler* keymap : m_pages.keymaps) {
        if (keymap->HandlePageEvent(evt))
            return TRUE;
    }
    if (m_pages.functionTest.HandlePageEvent(evt) || m_pages.settings.HandlePageEvent(evt))
        return TRUE;
    return evt->GetId() == EventCmd::EventID && SentFromPage(evt);
}

void CDeviceHandlerBase::Tick()
{
    m_pages.functionTest.Tick();
}

void CDeviceHandlerBase::SelectSubPage(int index)
{
    if (index >= 0 && index < SettingsPageIndex())
        m_lastKeymapPage = index;
    if (STabCtrl* pages = SubPages())
        pages->SelectPage(index);
    m_pages.functionTest.SetActive(index == FunctionTestPageIndex());
    RefreshPages();
}

void CDeviceHandlerBase::RefreshPages()
{
    for (CKeymapPageHandler* keymap : m_pages.keymaps)
        keymap->Relabel();
    m_pages.settings.Refresh();
}

void CDeviceHandlerBase::ImportProfile()
{
    m_parts.profile.ImportRecord();
    RefreshPages();
}

void CDeviceHandlerBase::ExportProfile()
{
    m_parts.profile.ExportRecord();
}

int CDeviceHandlerBase::ApplyMapping()
{
    bool sent = DirectInputJoy().Responding() && SendMapping();
    return ShowApplyResult(sent, sent && m_parts.profile.Save());
}

int CDeviceHandlerBase::ApplySettings()
{
    bool sent = SendSettings();
    return ShowApplyResult(sent, sent && m_parts.settings.Save());
}

int CDeviceHandlerBase::RestoreDefaultMapping()
{
    const MainTexts& texts = CurrentMainTexts();
    int answer = UserPrompt().ShowMessage(::GetActiveWindow(), texts.restoreQuestion.c_str(), texts.title.c_str(),
                                          MB_ICONWARNING | MB_YESNO);
    // The window may have gone while the box was up: then nothing is restored.
    if (answer == IDYES && Page()) {
        m_parts.restoreProfile();
        RefreshPages();
    }
    return answer;
}

void CDeviceHandlerBase::KeyMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode)
{
    // The key pop-up's mouse picker never offers movements.
    RunMappingPopup(KeyMappingMenu(m_parts.texts, defaultCode, m_parts.menuButtons), MappingTarget::Button, x, y,
                    code, defaultCode, true);
}

void CDeviceHandlerBase::AxisMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode, bool hideMouseMovement)
{
    RunMappingPopup(AxisMappingMenu(m_parts.texts, defaultCode, m_parts.menuAxes), MappingTarget::Axis, x, y, code,
                    defaultCode, hideMouseMovement);
}

bool CDeviceHandlerBase::SaveVibrationStrength()
{
    WriteAmplify(m_parts.leftStrength, m_parts.rightStrength);
    return true;
}

bool CDeviceHandlerBase::SendMapping()
{
    WaitCursor wait;
    return SendMappingPlan(m_model, m_parts.layers.data());
}

bool CDeviceHandlerBase::SendSettings()
{
    if (!DirectInputJoy().Responding())
        return false;
    WaitCursor wait;
    if (!SendDeadZonePlan(m_model, m_parts.deadZones))
        return false;
    SaveVibrationStrength();
    return true;
}

STabCtrl* CDeviceHandlerBase::SubPages() const
{
    SWindow* page = Page();
    return page ? page->FindChildByName2<STabCtrl>(L"tabctrl_funPages") : nullptr;
}

HWND CDeviceHandlerBase::HostWindow() const
{
    SWindow* page = Page();
    ISwndContainer* container = page ? page->GetHostContainer() : nullptr;
    return container ? container->GetHostHwnd() : nullptr;
}

int CDeviceHandlerBase::ShowApplyResult(bool sent, bool saved) const
{
    // An error box of the sends may have run a loop in which the window went: no box then.
    if (!Page())
        return 0;
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
    // The menu and the picker run loops in which the window may go: its choice goes with it.
    if (!Page())
        return;
    if (choice == kMenuKeyboard)
        picker = chooser.PickKey(owner);
    else if (choice == kMenuMouse)
        picker = chooser.PickMouse(owner, hideMouseMovement);
    if (!Page())
        return;
    if (std::optional<UINT32> chosen = MappingPopupOutcome(target, defaultCode, hideMouseMovement, choice, picker))
        *code = *chosen;
}
