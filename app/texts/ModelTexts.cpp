#include "texts/ModelTexts.h"
#include "ProgramFolder.h"
#include "helper/SStringConv.h"
#include "texts/KeyboardTable.h"
#include "texts/LanguageFile.h"

using namespace SKEIN;

namespace {

struct TextEntry {
    const wchar_t* key;
    const wchar_t* defaultText;
};

const TextEntry kTexts[kModelTextCount] = {
    {L"str_menu_keyboard", L"键盘"},
    {L"str_menu_joystick", L"按键"},
    {L"str_menu_joy_aix", L"轴"},
    {L"str_menu_Mouse", L"鼠标"},
    {L"str_menu_msLclick", L"鼠标左键"},
    {L"str_menu_msRclick", L"鼠标右键"},
    {L"str_menu_msMclick", L"鼠标中键"},
    {L"str_menu_msK4click", L"鼠标4键"},
    {L"str_menu_msK5click", L"鼠标5键"},
    {L"str_menu_msK6click", L"鼠标6键"},
    {L"str_menu_msK7click", L"鼠标7键"},
    {L"str_menu_msK8click", L"鼠标8键"},
    {L"str_menu_msXAixsLeft", L"鼠标-X 轴"},
    {L"str_menu_msXAixsRight", L"鼠标+X 轴"},
    {L"str_menu_msYAixsUp", L"鼠标-Y 轴"},
    {L"str_menu_msYAixsDown", L"鼠标+Y 轴"},
    {L"str_menu_msWhellUp", L"鼠标-滚轮"},
    {L"str_menu_msWhellDown", L"鼠标+滚轮"},
    {L"str_menu_default", L"默认"},
    {L"str_menu_joy_value_key1", L"1号键"},
    {L"str_menu_joy_value_key2", L"2号键"},
    {L"str_menu_joy_value_key3", L"3号键"},
    {L"str_menu_joy_value_key4", L"4号键"},
    {L"str_menu_joy_value_key5", L"5号键"},
    {L"str_menu_joy_value_key6", L"6号键"},
    {L"str_menu_joy_value_key7", L"7号键"},
    {L"str_menu_joy_value_key8", L"8号键"},
    {L"str_menu_joy_value_key9", L"9号键"},
    {L"str_menu_joy_value_key10", L"10号键"},
    {L"str_menu_joy_value_key11", L"11号键"},
    {L"str_menu_joy_value_key12", L"12号键"},
    {L"str_menu_joy_value_key13", L"13号键"},
    {L"str_menu_joy_value_key14", L"14号键"},
    {L"str_menu_joy_value_key15", L"15号键"},
    {L"str_menu_joy_value_key16", L"16号键"},
    {L"str_menu_joy_value_key17", L"POV2-上"},
    {L"str_menu_joy_value_key18", L"POV2-下"},
    {L"str_menu_joy_value_key19", L"POV2-左"},
    {L"str_menu_joy_value_key20", L"POV2-右"},
    {L"str_menu_joy_value_key21", L"21号键"},
    {L"str_menu_joy_value_key22", L"22号键"},
    {L"str_menu_joy_value_pov_up", L"POV1-上"},
    {L"str_menu_joy_value_pov_down", L"POV1-下"},
    {L"str_menu_joy_value_pov_left", L"POV1-左"},
    {L"str_menu_joy_value_pov_right", L"POV1-右"},
    {L"str_menu_joy_value_x_aix_left", L"-X axes"},
    {L"str_menu_joy_value_x_aix_right", L"+X axes"},
    {L"str_menu_joy_value_y_aix_up", L"-Y axes"},
    {L"str_menu_joy_value_y_aix_down", L"+Y axes"},
    {L"str_menu_joy_value_z_aix", L"Throttle"},
    {L"str_menu_joy_value_rz_aix_left", L"-RZ axes"},
    {L"str_menu_joy_value_rz_aix_right", L"+RZ axes"},
    {L"str_menu_joy_value_rx_aix", L"RX"},
    {L"str_menu_joy_value_ry_aix", L"RY"},
    {L"str_menu_joy_value_slider", L"Slide"},
    {L"str_menu_joy_value_x_aix", L"X axes"},
    {L"str_menu_joy_value_y_aix", L"Y axes"},
    {L"str_menu_joy_value_rz_aix", L"Twist"},
};

// Where the name tables take their texts from.
const int kFirstMouseButtonText = 4;
const int kFirstMouseMoveText = 12;
const int kFirstDeviceButtonText = 19;
const int kFirstDeviceAxisText = 45;

// Mapping code: byte 0 value, byte 1 sub-type, byte 2 class.
const int kClassButton = 0xF1;
const int kClassAxis = 0xF3;
const int kSubTypeDevice = 0;
const int kSubTypeKeyboard = 1;
const int kSubTypeMouseButton = 2;
const int kSubTypeMouseMove = 3;
// Values of movements and axes start here (0x21 X-, 0x22 X+, 0x23 Y-, 0x24 Y+, 0x25 Z,
// 0x26 RZ-, 0x27 RZ+, 0x28 RX, 0x29 RY, 0x2A slider).
const int kFirstMoveValue = 0x21;

// The entry of value in a table whose entry 0 is firstValue; empty outside it.
template <int N>
SStringW Lookup(const SStringW (&table)[N], int firstValue, int value)
{
    int index = value - firstValue;
    return index >= 0 && index < N ? table[index] : SStringW();
}

SStringW KeyboardName(int usage)
{
    return StringA2W(SStringA(KeyName(usage)), CP_THREAD_ACP);
}

// The whole-axis text of an axis half's value, or -1 when the axis has no whole form.
int WholeAxisText(int value)
{
    switch (value) {
    case 0x21:
    case 0x22: return kTextWholeX;
    case 0x23:
    case 0x24: return kTextWholeY;
    case 0x26:
    case 0x27: return kTextWholeTwist;
    default: return -1;
    }
}

} // namespace

ModelTexts::ModelTexts(const wchar_t* languageFile) : m_languageFile(languageFile)
{
    for (int index = 0; index < kModelTextCount; ++index)
        m_texts[index] = kTexts[index].defaultText;
}

void ModelTexts::LoadModelTexts()
{
    LoadFrom(BesideProgram(m_languageFile.c_str()).c_str());
}

void ModelTexts::LoadFrom(const wchar_t* path)
{
    pugi::xml_document document;
    if (!LoadLanguageFile(document, path))
        return;
    m_loaded = true;
    pugi::xml_node root = document.child(L"root");
    for (int index = 0; index < kModelTextCount; ++index)
        m_texts[index] = root.child(kTexts[index].key).attribute(L"name").value();
}

void ModelTexts::BuildMouseNames()
{
    for (int index = 0; index < kMouseButtons; ++index)
        m_mouseButtons[index] = m_texts[kFirstMouseButtonText + index];
    for (int index = 0; index < kMouseMoves; ++index)
        m_mouseMoves[index] = m_texts[kFirstMouseMoveText + index];
}

void ModelTexts::BuildDeviceNames()
{
    for (int index = 0; index < kButtonNames; ++index)
        m_deviceButtons[index] = m_texts[kFirstDeviceButtonText + index];
    for (int index = 0; index < kDeviceAxes; ++index)
        m_deviceAxes[index] = m_texts[kFirstDeviceAxisText + index];
}

SStringW ModelTexts::MouseName(int value) const
{
    return value < kFirstMoveValue ? Lookup(m_mouseButtons, 1, value) : Lookup(m_mouseMoves, kFirstMoveValue, value);
}

SStringW ModelTexts::DeviceName(int value) const
{
    return value < kFirstMoveValue ? Lookup(m_deviceButtons, 1, value) : Lookup(m_deviceAxes, kFirstMoveValue, value);
}

SStringW ModelTexts::MappingDisplayName(uint32_t code, bool half) const
{
    const int value = code & 0xFF;
    const int subType = (code >> 8) & 0xFF;
    const int kind = (code >> 16) & 0xFF;
    if (kind == kClassButton) {
        switch (subType) {
        case kSubTypeDevice: return DeviceName(value);
        case kSubTypeKeyboard: return KeyboardName(value);
        case kSubTypeMouseButton: return MouseName(value);
        default: return SStringW();
        }
    }
    if (kind == kClassAxis) {
        switch (subType) {
        case kSubTypeDevice: {
            int whole = half ? -1 : WholeAxisText(value);
            return whole < 0 ? DeviceName(value) : m_texts[whole];
        }
        case kSubTypeKeyboard: return KeyboardName(value);
        case kSubTypeMouseButton:
        case kSubTypeMouseMove: return MouseName(value);
        default: return SStringW();
        }
    }
    return SStringW();
}

const wchar_t* ModelTexts::Key(int index)
{
    return kTexts[index].key;
}

const wchar_t* ModelTexts::DefaultText(int index)
{
    return kTexts[index].defaultText;
}

ModelTexts& ModelTextsOf(int model)
{
    static ModelTexts texts6840(L"lang6840.xml");
    static ModelTexts texts6852(L"lang6852.xml");
    static ModelTexts texts6867(L"lang6867.xml");
    static ModelTexts texts6891(L"lang6891.xml");
    static ModelTexts defaults(L"");
    switch (model) {
    case 6840: return texts6840;
    case 6852: return texts6852;
    case 6867: return texts6867;
    case 6891: return texts6891;
    default: return defaults;
    }
}

void LoadAllModelTexts()
{
    for (int model : {6891, 6867, 6852, 6840}) {
        ModelTexts& texts = ModelTextsOf(model);
        texts.LoadModelTexts();
        texts.BuildMouseNames();
        texts.BuildDeviceNames();
    }
}
