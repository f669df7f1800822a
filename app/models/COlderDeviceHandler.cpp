#include "models/COlderDeviceHandler.h"
#include "control/STabCtrl.h"
#include "core/SEvents.h"
#include "device/CDirectInputJoy.h"
#include "files/COlderJoySetting.h"
#include "files/COlderProfile.h"
#include "MainTexts.h"
#include "models/AmplifyRegistry.h"
#include "models/ModelDescriptor.h"
#include "prompt/UserPrompt.h"
#include "protocol/SendPlan.h"

using namespace SKEIN;

namespace {

// The sub-pages of the device page.
enum { kKeymapPage, kSettingPage, kTestPage, kSubPageCount = 4 };

} // namespace

COlderDeviceHandler::COlderDeviceHandler(const ModelDescriptor& model, COlderProfile& profile,
                                         COlderJoySetting& settings, const ModelTexts& texts)
    : m_model(model), m_profile(profile), m_joySetting(settings), m_texts(texts),
      m_functionTest(kOlderTestDesign, model.productId, settings.Record().strength, settings.Record().strength,
                     CFuctionTestHandler::kSendersInside),
      m_keymap(*this, profile, texts), m_settings(*this, settings)
{
}

void COlderDeviceHandler::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    if (STabCtrl* pages = SubPages()) {
        if (SWindow* keymap = pages->PageAt(kKeymapPage))
            m_keymap.AttachPage(keymap);
        if (SWindow* settings = pages->PageAt(kSettingPage))
            m_settings.AttachPage(settings);
        m_functionTest.AttachPage(pages->PageAt(kTestPage));
    }
    SelectSubPage(kKeymapPage);
}

void COlderDeviceHandler::SelectSubPageByNumber(int number)
{
    if (number >= 0 && number < kSubPageCount)
        SelectSubPage(number);
}

BOOL COlderDeviceHandler::DispatchEvent(EventArgs* evt)
{
    if (!m_page)
        return FALSE;
    if (m_keymap.HandlePageEvent(evt) || m_functionTest.HandlePageEvent(evt) || m_settings.HandlePageEvent(evt))
        return TRUE;
    return evt->GetId() == EventCmd::EventID && SentFromPage(evt);
}

void COlderDeviceHandler::SelectSubPage(int index)
{
    CDeviceHandlerBase::SelectSubPage(index);
    m_functionTest.SetActive(index == kTestPage);
    RefreshPages();
}

void COlderDeviceHandler::RefreshPages()
{
    m_keymap.Relabel();
    m_settings.Refresh();
}

void COlderDeviceHandler::ImportProfile()
{
    m_profile.ImportFromFile();
    RefreshPages();
}

void COlderDeviceHandler::ExportProfile()
{
    m_profile.ExportToFile();
}

int COlderDeviceHandler::ApplyMapping()
{
    bool sent = DirectInputJoy().Responding() && SendMapping();
    return ShowApplyResult(sent, sent && m_profile.Save());
}

int COlderDeviceHandler::ApplySettings()
{
    bool sent = SendSettings();
    return ShowApplyResult(sent, sent && m_joySetting.Save());
}

int COlderDeviceHandler::RestoreDefaultMapping()
{
    const MainTexts& texts = CurrentMainTexts();
    int answer = UserPrompt().ShowMessage(::GetActiveWindow(), texts.restoreQuestion.c_str(), texts.title.c_str(),
                                          MB_ICONWARNING | MB_YESNO);
    if (answer == IDYES) {
        m_profile.RestoreDefaults();
        RefreshPages();
    }
    return answer;
}

void COlderDeviceHandler::KeyMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode)
{
    // The key pop-up's mouse picker never offers movements.
    RunMappingPopup(KeyMappingMenu(m_texts, defaultCode), MappingTarget::Button, x, y, code, defaultCode, true);
}

void COlderDeviceHandler::AxisMappingPopup(int x, int y, UINT32* code, UINT32 defaultCode, bool hideMouseMovement)
{
    RunMappingPopup(AxisMappingMenu(m_texts, defaultCode), MappingTarget::Axis, x, y, code, defaultCode,
                    hideMouseMovement);
}

bool COlderDeviceHandler::SaveVibrationStrength()
{
    UINT32 strength = m_joySetting.Record().strength;
    WriteAmplify(strength, strength);
    return true;
}

bool COlderDeviceHandler::SendMapping()
{
    MappingLayerView layer = LayerView(m_profile.CurrentLayer());
    return SendMappingPlan(m_model, &layer);
}

bool COlderDeviceHandler::SendSettings()
{
    if (!DirectInputJoy().Responding())
        return false;
    if (!SendDeadZonePlan(m_model, m_joySetting.Record().deadZones))
        return false;
    SaveVibrationStrength();
    return true;
}
