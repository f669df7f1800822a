#include "pages/KeymapPageHandler.h"
#include <stdio.h>
#include "control/SButton.h"
#include "core/SEvents.h"
#include "files/MappingLayers.h"
#include "interface/SwndContainer-i.h"
#include "protocol/MappingCode.h"
#include "texts/ModelTexts.h"

using namespace SKEIN;

namespace {

const wchar_t kImport[] = L"btn_loadcfg";
const wchar_t kExport[] = L"btn_savecfg";
const wchar_t kApply[] = L"btn_Applay";
const wchar_t kDefault[] = L"btn_default";
const wchar_t kKeyButton[] = L"btn_Keymap_%d";
const wchar_t kTurboSwitch[] = L"btn_fireKey_%d";
const wchar_t kLayerButton[] = L"btn_mode%d";
const int kLayerButtons = 3;
// The pop-up opens this far above the bottom edge of its button.
const int kPopupRise = 4;

struct ButtonName {
    wchar_t text[32];
    ButtonName(const wchar_t* format, int n) { swprintf(text, 32, format, n); }
};

bool Is(const wchar_t* name, const wchar_t* expected)
{
    return wcscmp(name, expected) == 0;
}

} // namespace

CKeymapPageHandler::CKeymapPageHandler(IDeviceHandler& device, IMappingLayers& profile, const ModelTexts& texts,
                                       const KeymapPageDesign& design)
    : m_device(device), m_profile(profile), m_texts(texts), m_design(design)
{
}

void CKeymapPageHandler::AttachPage(SWindow* page)
{
    CMyHandlerBase::AttachPage(page);
    Relabel();
}

BOOL CKeymapPageHandler::HandlePageEvent(EventArgs* evt)
{
    if (!SentFromPage(evt) || evt->GetId() != EventCmd::EventID)
        return FALSE;
    const wchar_t* name = evt->nameFrom ? evt->nameFrom : L"";
    if (m_design.gotoButton && Is(name, m_design.gotoButton)) {
        m_device.SelectSubPage(m_design.gotoPage);
    } else if (Is(name, kImport)) {
        m_device.ImportProfile();
        Relabel();
    } else if (Is(name, kExport)) {
        m_device.ExportProfile();
    } else if (Is(name, kApply)) {
        m_device.ApplyMapping();
    } else if (Is(name, kDefault)) {
        m_device.RestoreDefaultMapping();
        Relabel();
    } else if (*name) {
        OnClick(name);
    }
    return TRUE;
}

// A mapping button opens its pop-up under itself; a turbo switch toggles; a layer button makes
// its layer the current one. A name the page does not hold changes nothing.
void CKeymapPageHandler::OnClick(const wchar_t* name)
{
    SWindow* sender = Control<SWindow>(name);
    if (!sender)
        return;
    const RECT& rect = sender->GetWindowRect();
    POINT at = {rect.left, rect.bottom - kPopupRise};
    if (ISwndContainer* container = sender->GetHostContainer())
        ::ClientToScreen(container->GetHostHwnd(), &at);
    MappingLayerRef layer = m_profile.EditedLayer();
    for (int n = 1; n <= kButtonCount; ++n) {
        if (Is(name, ButtonName(kKeyButton, n).text)) {
            UINT32 defaultCode = MakeMappingCode(kClassButton, kSubJoystick, static_cast<BYTE>(n));
            m_device.KeyMappingPopup(at.x, at.y, &layer.keyCode[n - 1], defaultCode);
            Relabel();
            return;
        }
    }
    if (OnAxisClick(name, at))
        return;
    for (int index = 0; index < kLayerButtons; ++index) {
        if (Is(name, ButtonName(kLayerButton, index).text)) {
            m_profile.SelectLayer(static_cast<UINT>(index));
            Relabel();
            return;
        }
    }
    for (int n = 1; n <= kButtonCount; ++n) {
        if (Is(name, ButtonName(kTurboSwitch, n).text)) {
            layer.turbo[n - 1] = ToggledTurbo(layer.turbo[n - 1]);
            Relabel();
            return;
        }
    }
}

// The design's split axes, then its single axes.
bool CKeymapPageHandler::OnAxisClick(const wchar_t* name, POINT at)
{
    UINT32* slots = m_profile.EditedLayer().axisCode;
    for (const KeymapPageDesign::Buttons& list : {m_design.Split(), m_design.Single()}) {
        for (const AxisButton& button : list) {
            if (!Is(name, button.name))
                continue;
            UINT32& written = slots[button.slot];
            m_device.AxisMappingPopup(at.x, at.y, &written, button.defaultCode, button.hideMouseMovement);
            if (button.partner >= 0)
                PairAxisSlots(button.whole, written, slots[button.partner]);
            Relabel();
            return true;
        }
    }
    return false;
}

void CKeymapPageHandler::Relabel()
{
    if (!Page())
        return;
    const ModelTexts& texts = m_texts;
    MappingLayerRef layer = m_profile.EditedLayer();
    KeymapLabels labels = MakeKeymapLabels(m_design, layer.keyCode, layer.turbo, layer.axisCode,
                                           [&texts](UINT32 code, bool half) {
                                               return texts.MappingDisplayName(code, half);
                                           });
    for (int n = 1; n <= kButtonCount; ++n) {
        SetText(ButtonName(kKeyButton, n).text, labels.keys[n - 1]);
        if (SWindow* turbo = Control<SWindow>(ButtonName(kTurboSwitch, n).text))
            turbo->SetCheckedState(labels.turbo[n - 1], TRUE);
    }
    for (int pair = 0; pair < m_design.pairCount; ++pair) {
        const AxisPairButtons& buttons = m_design.pairs[pair];
        const AxisPairLabels& shown = labels.pairs[pair];
        Show(buttons.whole, shown.showWhole);
        Show(buttons.first, !shown.showWhole);
        Show(buttons.second, !shown.showWhole);
        SetText(buttons.whole, shown.whole);
        SetText(buttons.first, shown.first);
        SetText(buttons.second, shown.second);
    }
    for (int single = 0; single < m_design.singleCount; ++single)
        SetText(m_design.singles[single].name, labels.singles[single]);
    for (int index = 0; index < kLayerButtons; ++index) {
        if (SWindow* button = Control<SWindow>(ButtonName(kLayerButton, index).text))
            button->SetCheckedState(m_profile.CurrentLayerIndex() == static_cast<UINT>(index), TRUE);
    }
}

void CKeymapPageHandler::SetText(const wchar_t* name, const SStringW& text)
{
    if (SWindow* control = Control<SWindow>(name))
        control->AssignText(text);
}

void CKeymapPageHandler::Show(const wchar_t* name, bool show)
{
    if (SWindow* control = Control<SWindow>(name))
        control->ChangeVisibility(show, TRUE);
}
