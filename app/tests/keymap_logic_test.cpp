// The key-mapping and settings pages as data: pairing of axis halves, pop-up menus and their
// outcomes, labels of a profile layer, the settings fields.
#include <gtest/gtest.h>
#include "models/MappingPopup.h"
#include "pages/JoySettingFields.h"
#include "pages/KeymapLabels.h"
#include "protocol/MappingCode.h"
#include "texts/ModelTexts.h"

namespace {

const UINT32 kAxisX = MakeMappingCode(kClassAxis, kSubJoystick, kAxisXMinus);
const UINT32 kAxisY = MakeMappingCode(kClassAxis, kSubJoystick, kAxisYMinus);
const UINT32 kAxisKeyA = MakeMappingCode(kClassAxis, kSubKeyboard, 0x04);
const UINT32 kAxisMouse2 = MakeMappingCode(kClassAxis, kSubMouseButton, 2);

TEST(KeymapPairing, WrittenSlotBringsItsPartnerInLine)
{
    const struct {
        bool whole;
        UINT32 written, partner, expected;
    } kCases[] = {
        {true, kAxisY, kAxisKeyA, kAxisY},       // an axis is copied
        {true, kAxisKeyA, kAxisX, 0},            // the whole button clears the partner
        {true, kAxisKeyA, kAxisMouse2, 0},       // ... whatever it held
        {false, kAxisY, kAxisMouse2, kAxisY},    // a half copies an axis too
        {false, kAxisMouse2, kAxisX, 0},         // a half clears a partner axis
        {false, kAxisMouse2, kAxisKeyA, kAxisKeyA}, // and keeps anything else
        {false, 0, 0, 0},
    };
    for (const auto& c : kCases) {
        UINT32 partner = c.partner;
        PairAxisSlots(c.whole, c.written, partner);
        EXPECT_EQ(c.expected, partner) << std::hex << c.written << " " << c.partner << " whole " << c.whole;
    }
}

TEST(KeymapPairing, TurboTogglesBetweenOffAndTwenty)
{
    EXPECT_EQ(20u, ToggledTurbo(0));
    EXPECT_EQ(0u, ToggledTurbo(20));
    EXPECT_EQ(0u, ToggledTurbo(7)); // an imported odd speed switches off
}

TEST(MappingPopupMenus, KeyMenuOffersButtonsOneToTwelve)
{
    ModelTexts texts(L"lang-none.xml");
    texts.BuildMouseNames();
    texts.BuildDeviceNames();
    const UINT32 defaultCode = MakeMappingCode(kClassButton, kSubJoystick, 5);
    MappingMenu menu = KeyMappingMenu(texts, defaultCode);
    ASSERT_EQ(4u, menu.items.size());
    const std::pair<UINT32, const wchar_t*> kTop[] = {
        {kMenuKeyboard, L"键盘"}, {kMenuMouse, L"鼠标"}, {kMenuJoystick, L"按键"}, {defaultCode, L"默认"}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(kTop[i].first, menu.items[i].id);
        EXPECT_STREQ(kTop[i].second, menu.items[i].text.c_str());
    }
    ASSERT_EQ(12u, menu.subItems.size());
    EXPECT_EQ(0xF10001u, menu.subItems[0].id);
    EXPECT_STREQ(L"1号键", menu.subItems[0].text.c_str());
    EXPECT_EQ(0xF1000Cu, menu.subItems[11].id);
    EXPECT_STREQ(L"12号键", menu.subItems[11].text.c_str());
    EXPECT_TRUE(menu.separators);
}

TEST(MappingPopupMenus, AxisMenuOffersTheFourWholeAxes)
{
    ModelTexts texts(L"lang-none.xml");
    texts.BuildMouseNames();
    texts.BuildDeviceNames();
    MappingMenu menu = AxisMappingMenu(texts, kAxisY);
    ASSERT_EQ(4u, menu.items.size());
    EXPECT_STREQ(L"轴", menu.items[2].text.c_str());
    EXPECT_EQ(kAxisY, menu.items[3].id);
    const std::pair<UINT32, const wchar_t*> kSub[] = {
        {0xF30021, L"X axes"}, {0xF30023, L"Y axes"}, {0xF30025, L"Throttle"}, {0xF30026, L"Twist"}};
    ASSERT_EQ(4u, menu.subItems.size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(kSub[i].first, menu.subItems[i].id);
        EXPECT_STREQ(kSub[i].second, menu.subItems[i].text.c_str());
    }
    EXPECT_FALSE(menu.separators);
}

TEST(MappingPopupOutcomes, OnlyCodesOfTheTargetsClassOrTheDefaultAreStored)
{
    using T = MappingTarget;
    const UINT32 keyDefault = 0xF10003;
    const PickerAnswer none = {0, 0};
    const struct {
        T target;
        bool hide;
        int choice;
        PickerAnswer picker;
        UINT32 expected; // 0: nothing stored
    } kCases[] = {
        {T::Button, true, 0, none, 0},                             // dismissed
        {T::Button, true, -1, none, 0},
        {T::Button, true, kMenuJoystick, none, 0},                 // the sub-menu's own item
        {T::Button, true, kMenuKeyboard, {1, 0x04}, 0xF10104},     // key A
        {T::Button, true, kMenuKeyboard, {2, 0x04}, 0},            // keyboard cancelled
        {T::Button, true, kMenuKeyboard, {1, 0}, 0},               // no key
        {T::Button, true, kMenuMouse, {1, 3}, 0xF10203},           // middle button
        {T::Button, true, kMenuMouse, {1, 9}, 0},                  // not a mouse button
        {T::Button, true, kMenuMouse, {1, 0x25}, 0},               // no movement on a button
        {T::Button, true, kMenuMouse, {2, 1}, 0},                  // mouse picker cancelled
        {T::Button, true, 0xF10007, none, 0xF10007},               // button 7 from the sub-menu
        {T::Button, true, static_cast<int>(keyDefault), none, keyDefault},
        {T::Button, true, 0xF30021, none, 0},                      // an axis code in a button slot
        {T::Button, true, 0x01F10001, none, 0},                    // top byte set
        {T::Axis, false, kMenuKeyboard, {1, 0x2C}, 0xF3012C},      // space
        {T::Axis, false, kMenuMouse, {1, 0x25}, 0xF30325},         // wheel movement
        {T::Axis, false, kMenuMouse, {1, 0x27}, 0},
        {T::Axis, true, kMenuMouse, {1, 0x25}, 0},                 // movements hidden
        {T::Axis, true, kMenuMouse, {1, 8}, 0xF30208},
        {T::Axis, false, 0xF30023, none, 0xF30023},
        {T::Axis, false, 0xF10001, none, 0},                       // a button code in an axis slot
    };
    for (const auto& c : kCases) {
        UINT32 defaultCode = c.target == T::Button ? keyDefault : 0xF30021;
        std::optional<UINT32> code = MappingPopupOutcome(c.target, defaultCode, c.hide, c.choice, c.picker);
        EXPECT_EQ(c.expected != 0, code.has_value()) << std::hex << c.choice << " " << c.picker.value;
        if (code) {
            EXPECT_EQ(c.expected, *code) << std::hex << c.choice << " " << c.picker.value;
        }
    }
}

TEST(KeymapLabelModel, HalvesShowWhenNeitherSlotHoldsAnAxis)
{
    OlderLayer layer = {};
    ResetLayer(layer);
    layer.axisCode[0] = kAxisKeyA;
    layer.axisCode[1] = 0;
    layer.axisCode[5] = kAxisMouse2; // Rz: slot 4 still an axis
    layer.turbo[3] = 20;
    KeymapLabels labels = MakeKeymapLabels(kOlderKeymapPage, layer.keyCode, layer.turbo, layer.axisCode,
                                           [](UINT32 code, bool half) {
        SKEIN::SStringW text;
        return text.Printf(L"%X%s", code, half ? L"h" : L"");
    });
    EXPECT_STREQ(L"F10001h", labels.keys[0].c_str());
    EXPECT_STREQ(L"F1001Ah", labels.keys[25].c_str());
    EXPECT_FALSE(labels.pairs[0].showWhole);
    EXPECT_STREQ(L"F30104h", labels.pairs[0].first.c_str());
    EXPECT_STREQ(L"0h", labels.pairs[0].second.c_str());
    EXPECT_TRUE(labels.pairs[1].showWhole);
    EXPECT_STREQ(L"F30023", labels.pairs[1].whole.c_str());
    EXPECT_TRUE(labels.pairs[2].showWhole);
    EXPECT_STREQ(L"F30202h", labels.pairs[2].second.c_str());
    EXPECT_STREQ(L"F30025", labels.singles[0].c_str());
    EXPECT_TRUE(labels.turbo[3]);
    EXPECT_FALSE(labels.turbo[4]);
}

TEST(JoySettingFieldsTest, SlidersMapToTheRecordInOrder)
{
    OlderSettingsRecord record = {};
    SettingFields fields = BindSettingFields(record);
    for (int index = 0; index < kOlderSettingPage.count; ++index)
        *fields.values[index] = 10 + index;
    EXPECT_EQ(10, record.deadZones[kOlderDeadZoneX]);
    EXPECT_EQ(13, record.deadZones[kOlderDeadZoneRz]);
    EXPECT_EQ(14u, record.strength);
    EXPECT_STREQ(L"slider_md1", kOlderSettingPage.sliders[kOlderSettingPage.leftMotor].slider);
    EXPECT_STREQ(L"text_VP_pcent_value_Z", kOlderSettingPage.sliders[kOlderDeadZoneZ].text);
    EXPECT_STREQ(L"95%", PercentText(95).c_str());
    EXPECT_STREQ(L"0%", PercentText(0).c_str());
}

// Both motor strengths of model 6891 read unsigned, its seven dead zones signed.
TEST(JoySettingFieldsTest, StrengthsReadUnsignedDeadZonesSigned)
{
    Settings6891Record record = {};
    SettingFields fields = BindSettingFields(record);
    for (int index = 0; index < kSettingPage6891.count; ++index)
        *fields.values[index] = 0xFFFFFFFF;
    for (int index = 0; index < kSettingPage6891.count; ++index) {
        bool strength = index == kSettingPage6891.leftMotor || index == kSettingPage6891.rightMotor;
        EXPECT_EQ(strength ? 0xFFFFFFFFLL : -1LL, FieldValue(kSettingPage6891, fields, index)) << index;
    }
    EXPECT_STREQ(L"4294967295%", PercentText(0xFFFFFFFFLL).c_str());
}

} // namespace
