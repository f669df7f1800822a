#include "models/ZVK6891/CDeviceHandler6891.h"
#include "control/STabCtrl.h"
#include "core/SEvents.h"
#include "device/CDirectInputJoy.h"
#include "MainTexts.h"
#include "models/AmplifyRegistry.h"
#include "models/ModelDescriptor.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "models/ZVK6891/CProfile6891.h"
#include "prompt/UserPrompt.h"
#include "protocol/SendPlan.h"
#include "texts/ModelTexts.h"

using namespace SKEIN;

namespace ZVK6891 {

namespace {

enum SubPage { kKeymapA = 0, kKeymapB = 1, kSettings = 2, kFunctionTest = 3, kAbout = 4 };
// The sub-page of each caption button after key mapping (joystick settings, function test, about).
const int kPageOfNumber[] = {kSettings, kFunctionTest, kAbout};

const ModelTexts& Texts()
{
    return ModelTextsOf(kModel6891.productId);
}

// Shows the wait cursor while a batch runs on the caller's thread.
class WaitCursor {
public:
    WaitCursor() : m_previous(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { ::SetCursor(m_previous); }

private:
    HCURSOR m_previous;
};

} // namespace

CDeviceHandler6891::CDeviceHandler6891()
    : m_functionTest(k6891TestDesign, kModel6891.productId, JoySetting().Record().leftAmplify,
                     JoySetting().Record().rightAmplify, CFuctionTestHandler::kSendersInsideOrNone),
      m_keymapA(*this, Profile(), Texts(), kKeymapPage6891A), m_keymapB(*this, Profile(), Texts(), kKeymapPage6891B),
      m_settings(*this, kSettingPage6891, BindSettingFields(JoySetting().Record()), [] { JoySetting().ResetSettings(); })
{
}

void CDeviceHandler6891::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    if (STabCtrl* pages = SubPages()) {
        if (SWindow* keymapA = pages->PageAt(kKeymapA))
            m_keymapA.AttachPage(keymapA);
        if (SWindow* keymapB = pages->PageAt(kKeymapB))
            m_keymapB.AttachPage(keymapB);
        if (SWindow* settings = pages->PageAt(kSettings))
            m_settings.AttachPage(settings);
        m_functionTest.AttachPage(pages->PageAt(kFunctionTest));
    }
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
    RefreshPages();
}

BOOL CDeviceHandler6891::DispatchEvent(EventArgs* evt)
{
    if (!m_page)
        return FALSE;
    if (m_keymapA.HandlePageEvent(evt) || m_keymapB.HandlePageEvent(evt) || m_functionTest.HandlePageEvent(evt) ||
        m_settings.HandlePageEvent(evt))
        return TRUE;
    return evt->GetId() == EventCmd::EventID && SentFromPage(evt);
}

void CDeviceHandler6891::RefreshPages()
{
    m_keymapA.Relabel();
    m_keymapB.Relabel();
    m_settings.Refresh();
}

void CDeviceHandler6891::ImportProfile()
{
    Profile().ImportFromFile();
    RefreshPages();
}

void CDeviceHandler6891::ExportProfile()
{
    Profile().ExportToFile();
}

int CDeviceHandler6891::ApplyMapping()
{
    bool sent = DirectInputJoy().Responding() && SendMapping();
    return ShowApplyResult(sent, sent && Profile().Save());
}

int CDeviceHandler6891::ApplySettings()
{
    bool sent = SendSettings();
    return ShowApplyResult(sent, sent && JoySetting().Save());
}

int CDeviceHandler6891::RestoreDefaultMapping()
{
    const MainTexts& texts = CurrentMainTexts();
    int answer = UserPrompt().ShowMessage(::GetActiveWindow(), texts.restoreQuestion.c_str(), texts.title.c_str(),
                                          MB_ICONWARNING | MB_YESNO);
    if (answer == IDYES) {
        Profile().ResetDefaults();
        RefreshPages();
    }
    return answer;
}

void CDeviceHandler6891::KeyMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode)
{
    // The key pop-up's mouse picker never offers movements.
    RunMappingPopup(KeyMappingMenu(Texts(), defaultCode, kMenuButtons6891), MappingTarget::Button, x, y, code,
                    defaultCode, true);
}

void CDeviceHandler6891::AxisMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode, bool hideMouseMovement)
{
    RunMappingPopup(AxisMappingMenu(Texts(), defaultCode, kMenuAxes6891), MappingTarget::Axis, x, y, code,
                    defaultCode, hideMouseMovement);
}

bool CDeviceHandler6891::SaveVibrationStrength()
{
    const Settings6891Record& record = JoySetting().Record();
    WriteAmplify(record.leftAmplify, record.rightAmplify);
    return true;
}

bool CDeviceHandler6891::SendMapping()
{
    const Profile6891Record& record = Profile().Record();
    MappingLayerView layers[k6891LayerCount];
    for (int i = 0; i < k6891LayerCount; ++i)
        layers[i] = LayerView(record.layers[i]);
    WaitCursor wait;
    return SendMappingPlan(kModel6891, layers);
}

bool CDeviceHandler6891::SendSettings()
{
    if (!DirectInputJoy().Responding())
        return false;
    WaitCursor wait;
    if (!SendDeadZonePlan(kModel6891, JoySetting().Record().deadZones))
        return false;
    SaveVibrationStrength();
    return true;
}

} // namespace ZVK6891
