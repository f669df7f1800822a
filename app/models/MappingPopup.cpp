#include "models/MappingPopup.h"
#include "protocol/MappingCode.h"
#include "texts/ModelTexts.h"

namespace {

const UINT32 kMaxMouseButton = 8;
const UINT32 kFirstMouseMove = 0x21;
const UINT32 kLastMouseMove = 0x26;

void AddTopItems(MappingMenu& menu, const ModelTexts& texts, int subMenuText, UINT32 defaultCode)
{
    menu.items = {{kMenuKeyboard, texts.Text(kTextKeyboard)},
                  {kMenuMouse, texts.Text(kTextMouse)},
                  {kMenuJoystick, texts.Text(subMenuText)},
                  {defaultCode, texts.Text(kTextDefault)}};
}

std::optional<UINT32> PickedKey(BYTE cls, const PickerAnswer& picker)
{
    if (picker.result != 1 || picker.value == 0 || picker.value > 0xFF)
        return std::nullopt;
    return MakeMappingCode(cls, kSubKeyboard, static_cast<BYTE>(picker.value));
}

std::optional<UINT32> PickedMouse(MappingTarget target, bool hideMouseMovement, const PickerAnswer& picker)
{
    if (picker.result != 1)
        return std::nullopt;
    BYTE cls = target == MappingTarget::Button ? kClassButton : kClassAxis;
    BYTE value = static_cast<BYTE>(picker.value);
    if (picker.value >= 1 && picker.value <= kMaxMouseButton)
        return MakeMappingCode(cls, kSubMouseButton, value);
    bool movement = picker.value >= kFirstMouseMove && picker.value <= kLastMouseMove;
    if (movement && target == MappingTarget::Axis && !hideMouseMovement)
        return MakeMappingCode(cls, kSubMouseMove, value);
    return std::nullopt;
}

} // namespace

MappingMenu KeyMappingMenu(const ModelTexts& texts, UINT32 defaultCode, int buttons)
{
    MappingMenu menu;
    AddTopItems(menu, texts, kTextJoystick, defaultCode);
    for (int button = 1; button <= buttons; ++button)
        menu.subItems.push_back({MakeMappingCode(kClassButton, kSubJoystick, static_cast<BYTE>(button)),
                                 texts.DeviceName(button)});
    menu.separators = true;
    return menu;
}

MappingMenu AxisMappingMenu(const ModelTexts& texts, UINT32 defaultCode, int axes)
{
    // Each whole axis with its own text, or -1: named as a device axis.
    static const struct {
        BYTE axis;
        int text;
    } kAxes[kMenuAxes6891] = {{kAxisXMinus, kTextWholeX}, {kAxisYMinus, kTextWholeY}, {kAxisZ, -1},
                              {kAxisRzMinus, kTextWholeTwist}, {kAxisRx, -1}, {kAxisRy, -1}, {kAxisSlider, -1}};
    MappingMenu menu;
    AddTopItems(menu, texts, kTextAxis, defaultCode);
    for (int i = 0; i < axes && i < kMenuAxes6891; ++i)
        menu.subItems.push_back({MakeMappingCode(kClassAxis, kSubJoystick, kAxes[i].axis),
                                 kAxes[i].text < 0 ? texts.DeviceName(kAxes[i].axis) : texts.Text(kAxes[i].text)});
    menu.separators = false;
    return menu;
}

std::optional<UINT32> MappingPopupOutcome(MappingTarget target, UINT32 defaultCode, bool hideMouseMovement,
                                          int menuChoice, const PickerAnswer& picker)
{
    BYTE cls = target == MappingTarget::Button ? kClassButton : kClassAxis;
    switch (menuChoice) {
    case 0:
    case -1:
    case kMenuJoystick:
        return std::nullopt;
    case kMenuKeyboard:
        return PickedKey(cls, picker);
    case kMenuMouse:
        return PickedMouse(target, hideMouseMovement, picker);
    default:
        break;
    }
    UINT32 code = static_cast<UINT32>(menuChoice);
    if (code == defaultCode || (CodeClass(code) == cls && (code >> 24) == 0))
        return code;
    return std::nullopt;
}
