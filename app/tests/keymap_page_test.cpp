// The key-mapping and settings pages of model 6840 in the program's main window, driven by
// mouse messages, against the simulated joystick, scripted prompts and a scripted chooser.
#include <windows.h>
#include <dbt.h>
#include <algorithm>
#include <functional>
#include "control/STabCtrl.h"
#include "control/SSliderBar.h"
#include "core/SEvents.h"
#include "host_ctrl_test_env.h"
#include "keymap_test_env.h"
#include "widgets/SMenuEx2.h"
#include "MainTexts.h"
#include "models/AmplifyRegistry.h"
#include "pages/KeymapPageHandler.h"
#include "pages/JoySettingPageHandler.h"
#include "protocol/MappingCode.h"
#include "support/DeviceNotice.h"
#include "texts/ModelTexts.h"

namespace {

using namespace keymaptest;
using Report = SimJoystick::Report;

const int kSettingsSubPage = 1;

bool ReadAmplify(const wchar_t* name, UINT32& value)
{
    DWORD type = 0, size = sizeof(value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kAmplifyKey, name, RRF_RT_ANY, &type, &value, &size) == ERROR_SUCCESS &&
           type == REG_BINARY && size == 4;
}

class KeymapPage : public KeymapTest {};

TEST_F(KeymapPage, ApplySendsThePlanInOrderOnOneChannelThenSavesAndSaysApplied)
{
    OpenWith();
    Layer().keyCode[2] = 0;                                                // sent as keyboard, key 0
    Layer().axisCode[4] = MakeMappingCode(kClassAxis, kSubMouseButton, 1); // Rz-
    Layer().axisCode[5] = MakeMappingCode(kClassAxis, kSubMouseButton, 2); // Rz+
    Layer().axisCode[6] = MakeMappingCode(kClassAxis, kSubKeyboard, 0x1D); // Z
    Layer().turbo[25] = 20;
    Click(Keymap(), L"btn_Applay");

    std::vector<Report> reports = m_sim.Reports(Report::kFeature);
    ASSERT_EQ(57u, reports.size());
    const BYTE kButtons[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 23, 24, 25, 26};
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(0xF1, reports[i].bytes[1]) << i;
        EXPECT_EQ(kButtons[i], reports[i].bytes[3]) << i;
    }
    EXPECT_EQ(1, reports[2].bytes[4]);
    EXPECT_EQ(0, reports[2].bytes[5]);
    const BYTE kAxisIds[] = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27};
    const int kSlots[] = {0, 1, 2, 3, 6, 4, 5};
    for (int i = 0; i < 7; ++i) {
        const std::vector<BYTE>& bytes = reports[24 + i].bytes;
        UINT32 code = Layer().axisCode[kSlots[i]];
        EXPECT_EQ(0xF3, bytes[1]) << i;
        EXPECT_EQ(kAxisIds[i], bytes[3]) << i;
        EXPECT_EQ(CodeSubType(code), bytes[4]) << i;
        EXPECT_EQ(CodeValue(code), bytes[5]) << i;
    }
    for (int i = 0; i < 26; ++i) {
        EXPECT_EQ(0xF2, reports[31 + i].bytes[1]) << i;
        EXPECT_EQ(i + 1, reports[31 + i].bytes[3]) << i;
        EXPECT_EQ(i == 25 ? 20 : 0, reports[31 + i].bytes[4]) << i;
    }
    for (const Report& report : reports)
        EXPECT_EQ(reports[0].channel, report.channel);
    EXPECT_EQ(0, m_sim.OpenChannels());

    filestest::Bytes stored = filestest::ReadAll(ModelFile(L"6840", L"Profile.qmj"));
    ASSERT_EQ(388u, stored.size());
    EXPECT_EQ(0u, filestest::GetU32(stored, 112 + 2 * 4));
    EXPECT_EQ(20u, filestest::GetU32(stored, 112 + 104 + 25 * 4));
    ASSERT_EQ(1u, m_prompt.Messages().size());
    const ScriptedPrompt::Message& box = m_prompt.Messages()[0];
    EXPECT_EQ(CurrentMainTexts().applied.c_str(), box.text);
    EXPECT_EQ(std::wstring(CurrentMainTexts().title.c_str()), box.caption.value_or(L""));
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), box.type);
}

TEST_F(KeymapPage, AFailingReportStopsTheBatchAndNothingIsSaved)
{
    OpenWith();
    m_sim.FailFeatureReport(30); // the sixth axis report: Rz-, axis id 38
    Click(Keymap(), L"btn_Applay");
    std::vector<Report> reports = m_sim.Reports(Report::kFeature);
    ASSERT_EQ(30u, reports.size());
    EXPECT_FALSE(reports.back().ok);
    EXPECT_EQ(0, m_sim.OpenChannels());
    EXPECT_FALSE(filestest::Exists(ModelFile(L"6840", L"Profile.qmj")));
    EXPECT_EQ((std::vector<std::wstring>{L"下发轴38映射指令失败,请检查设备连接是否正常!",
                                         CurrentMainTexts().connectionWarning.c_str()}),
              m_prompt.MessageTexts());
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), m_prompt.Messages()[1].type);
}

TEST_F(KeymapPage, ASaveThatFailsAfterTheSendIsAnErrorNotApplied)
{
    OpenWith();
    ModelDataFolder(L"6840");
    ASSERT_TRUE(CreateDirectoryW(ModelFile(L"6840", L"Profile.qmj").c_str(), nullptr));
    Click(Keymap(), L"btn_Applay");
    EXPECT_EQ(57u, m_sim.Reports(Report::kFeature).size());
    ASSERT_EQ(1u, m_prompt.Messages().size());
    EXPECT_EQ(L"设置已写入设备,但无法保存到文件!", m_prompt.Messages()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), m_prompt.Messages()[0].type);
}

TEST_F(KeymapPage, WithoutAnswerFromTheDeviceNothingIsSent)
{
    OpenWith();
    m_pad->FailPolls(E_FAIL, -1);
    ASSERT_TRUE(shelltest::WaitUntil([] { return !DirectInputJoy().Responding(); }));
    Click(Keymap(), L"btn_Applay");
    m_window->SelectSubPage(kSettingsSubPage);
    Click(Settings(), L"btn_Applay");
    EXPECT_TRUE(m_sim.Reports(Report::kFeature).empty());
    EXPECT_EQ((std::vector<std::wstring>(2, CurrentMainTexts().connectionWarning.c_str())), m_prompt.MessageTexts());
    EXPECT_FALSE(filestest::Exists(ModelFile(L"6840", L"Profile.qmj")));
    EXPECT_FALSE(filestest::Exists(ModelFile(L"6840", L"JoySetting.qmj")));
}

TEST_F(KeymapPage, RestoreAsksAndOnlyYesRestores)
{
    OpenWith();
    Layer().keyCode[0] = MakeMappingCode(kClassButton, kSubKeyboard, 0x04);
    static_cast<CKeymapPageHandler&>(Keymap()).Relabel();
    EXPECT_EQ(L"A ", std::wstring(TextOf(Keymap(), L"btn_Keymap_1").c_str()));
    m_prompt.QueueAnswer(IDNO);
    Click(Keymap(), L"btn_default");
    EXPECT_EQ(0xF10104u, Layer().keyCode[0]);
    m_prompt.QueueAnswer(IDYES);
    Click(Keymap(), L"btn_default");
    EXPECT_EQ(0xF10001u, Layer().keyCode[0]);
    EXPECT_EQ(L"1号键", std::wstring(TextOf(Keymap(), L"btn_Keymap_1").c_str()));
    ASSERT_EQ(2u, m_prompt.Messages().size());
    EXPECT_EQ(CurrentMainTexts().restoreQuestion.c_str(), m_prompt.Messages()[0].text);
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING | MB_YESNO), m_prompt.Messages()[0].type);
    EXPECT_TRUE(m_sim.Reports().empty());
    EXPECT_FALSE(filestest::Exists(ModelFile(L"6840", L"Profile.qmj")));
}

TEST_F(KeymapPage, KeyPopupChangesOnlyItsOwnSlot)
{
    OpenWith();
    const OlderLayer before = Layer();
    m_chooser.QueueChoice(kMenuKeyboard);
    m_chooser.key = {1, 0x04};
    Click(Keymap(), L"btn_Keymap_3");

    ASSERT_EQ(1u, m_chooser.menus.size());
    const ScriptedChooser::MenuRun& run = m_chooser.menus[0];
    EXPECT_EQ(0xF10003u, run.menu.items[3].id); // the default item: button 3
    EXPECT_EQ(m_window->Handle(), run.owner);
    RECT rect = On(Keymap(), L"btn_Keymap_3")->GetWindowRect();
    POINT expected = {rect.left, rect.bottom - 4};
    ::ClientToScreen(m_window->Handle(), &expected);
    EXPECT_EQ(expected.x, run.at.x);
    EXPECT_EQ(expected.y, run.at.y);
    EXPECT_EQ(1, m_chooser.keyRuns);
    OlderLayer after = Layer();
    EXPECT_EQ(0xF10104u, after.keyCode[2]);
    after.keyCode[2] = before.keyCode[2];
    EXPECT_EQ(0, memcmp(&before, &after, sizeof(after)));
    EXPECT_EQ(L"A ", std::wstring(TextOf(Keymap(), L"btn_Keymap_3").c_str()));

    // Cancelling the picker, dismissing the menu: no change.
    m_chooser.QueueChoice(kMenuKeyboard);
    m_chooser.key = {2, 0x05};
    Click(Keymap(), L"btn_Keymap_3");
    Click(Keymap(), L"btn_Keymap_3");
    EXPECT_EQ(0xF10104u, Layer().keyCode[2]);

    // The mouse picker of a button never offers movements; the default item restores.
    m_chooser.QueueChoice(kMenuMouse);
    m_chooser.mouse = {1, 2};
    Click(Keymap(), L"btn_Keymap_3");
    EXPECT_EQ(0xF10202u, Layer().keyCode[2]);
    EXPECT_EQ(std::vector<bool>{true}, m_chooser.mouseRuns);
    m_chooser.QueueChoice(0xF10003);
    Click(Keymap(), L"btn_Keymap_3");
    EXPECT_EQ(0xF10003u, Layer().keyCode[2]);
    EXPECT_TRUE(m_sim.Reports().empty());
}

TEST_F(KeymapPage, AxisPopupsKeepTheHalvesOfAPairInLine)
{
    OpenWith();
    EXPECT_TRUE(Shown(Keymap(), L"btn_Aixymap_X"));
    EXPECT_FALSE(Shown(Keymap(), L"btn_Aixymap_X_Left"));
    EXPECT_EQ(L"X axes", std::wstring(TextOf(Keymap(), L"btn_Aixymap_X").c_str()));

    // A key on the whole X axis: slot 0 takes it, slot 1 is cleared, the halves show.
    m_chooser.QueueChoice(kMenuKeyboard);
    m_chooser.key = {1, 0x04};
    Click(Keymap(), L"btn_Aixymap_X");
    EXPECT_EQ(0xF30104u, Layer().axisCode[0]);
    EXPECT_EQ(0u, Layer().axisCode[1]);
    EXPECT_FALSE(Shown(Keymap(), L"btn_Aixymap_X"));
    EXPECT_EQ(L"A ", std::wstring(TextOf(Keymap(), L"btn_Aixymap_X_Left").c_str()));
    EXPECT_EQ(L"", std::wstring(TextOf(Keymap(), L"btn_Aixymap_X_Right").c_str()));

    // The Y axis on X's second half: both halves take it, the whole button shows "Y axes".
    m_chooser.QueueChoice(0xF30023);
    Click(Keymap(), L"btn_Aixymap_X_Right");
    EXPECT_EQ(0xF30023u, Layer().axisCode[0]);
    EXPECT_EQ(0xF30023u, Layer().axisCode[1]);
    EXPECT_TRUE(Shown(Keymap(), L"btn_Aixymap_X"));
    EXPECT_FALSE(Shown(Keymap(), L"btn_Aixymap_X_Right"));
    EXPECT_EQ(L"Y axes", std::wstring(TextOf(Keymap(), L"btn_Aixymap_X").c_str()));
    EXPECT_EQ(0xF30021u, m_chooser.menus.back().menu.items[3].id);

    // The throttle's mouse picker hides movements, and a movement is never stored there.
    m_chooser.QueueChoice(kMenuMouse);
    m_chooser.mouse = {1, 0x25};
    Click(Keymap(), L"btn_Aixymap_Z");
    EXPECT_EQ(0xF30025u, Layer().axisCode[6]);
    m_chooser.QueueChoice(kMenuMouse);
    m_chooser.mouse = {1, 0x25};
    Click(Keymap(), L"btn_Aixymap_Y");
    EXPECT_EQ(0xF30325u, Layer().axisCode[2]);
    EXPECT_EQ(0u, Layer().axisCode[3]);
    EXPECT_EQ((std::vector<bool>{true, false}), m_chooser.mouseRuns);
    EXPECT_EQ(L"鼠标-滚轮", std::wstring(TextOf(Keymap(), L"btn_Aixymap_Y_Up").c_str()));
    EXPECT_TRUE(m_sim.Reports().empty());
}

class KeymapMenu : public KeymapTest {
protected:
    void TearDown() override
    {
        m_menus.clear(); // before the window and the application go
        KeymapTest::TearDown();
    }
    std::vector<std::unique_ptr<SMenuEx2>> m_menus;
};

// The pop-ups' items in the program's menu from "smenuex:menuex_Fun".
TEST_F(KeymapMenu, TheProgramMenuHoldsThePopupsItems)
{
    OpenWith();
    const struct {
        MappingMenu menu;
        int topChildren, subChildren;
    } kMenus[] = {{KeyMappingMenu(ModelTextsOf(6840), 0xF10003), 8, 24},
                  {AxisMappingMenu(ModelTextsOf(6840), 0xF30021), 4, 4}};
    for (const auto& expected : kMenus) {
        m_menus.emplace_back(new SMenuEx2);
        SMenuEx2& popup = *m_menus.back();
        ASSERT_TRUE(BuildMappingMenu(popup, expected.menu));
        EXPECT_EQ(expected.topChildren, popup.Root()->GetChildCount());
        SWindow* byDefault = popup.Root()->LookupChildById(static_cast<int>(expected.menu.items[3].id));
        ASSERT_NE(nullptr, byDefault);
        EXPECT_STREQ(L"默认", byDefault->QueryText().c_str());
        SMenuEx2* sub = popup.SubMenuOfItem(kMenuJoystick);
        ASSERT_NE(nullptr, sub);
        EXPECT_EQ(expected.subChildren, sub->Root()->GetChildCount());
        SWindow* first = sub->Root()->LookupChildById(static_cast<int>(expected.menu.subItems[0].id));
        ASSERT_NE(nullptr, first);
        EXPECT_EQ(expected.menu.subItems[0].text, first->QueryText());
    }
}

TEST_F(KeymapPage, TurboSwitchTogglesBetweenZeroAndTwenty)
{
    OpenWith();
    Click(Keymap(), L"btn_fireKey_5");
    EXPECT_EQ(20u, Layer().turbo[4]);
    EXPECT_TRUE(On(Keymap(), L"btn_fireKey_5")->TestChecked());
    Click(Keymap(), L"btn_fireKey_5");
    EXPECT_EQ(0u, Layer().turbo[4]);
    EXPECT_FALSE(On(Keymap(), L"btn_fireKey_5")->TestChecked());
    EXPECT_TRUE(m_sim.Reports().empty());
}

class SettingPage : public KeymapTest {
protected:
    void OpenSettings()
    {
        OpenWith();
        m_window->SelectSubPage(kSettingsSubPage);
        hosttest::HostTest::Pump();
    }
    SSliderBar* Slider(const wchar_t* name) { return On<SSliderBar>(Settings(), name); }
    OlderSettingsRecord& Record() { return ZVK6840::JoySetting().Record(); }
};

TEST_F(SettingPage, ApplySendsTheDeadZonesAndWritesBothStrengths)
{
    OpenSettings();
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kAmplifyKey);
    Record().deadZones[0] = 5;
    Record().deadZones[1] = 6;
    Record().deadZones[2] = 7;
    Record().deadZones[3] = 100;
    Record().strength = 80;
    Click(Settings(), L"btn_Applay");

    std::vector<Report> reports = m_sim.Reports(Report::kFeature);
    ASSERT_EQ(4u, reports.size());
    const BYTE kIds[] = {0x21, 0x23, 0x25, 0x26};
    const BYTE kValues[] = {5, 6, 7, 100};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(0xF4, reports[i].bytes[1]);
        EXPECT_EQ(kIds[i], reports[i].bytes[3]);
        EXPECT_EQ(kValues[i], reports[i].bytes[4]);
    }
    UINT32 left = 0, right = 0;
    EXPECT_TRUE(ReadAmplify(kLeftAmplifyValue, left));
    EXPECT_TRUE(ReadAmplify(kRightAmplifyValue, right));
    EXPECT_EQ(80u, left);
    EXPECT_EQ(80u, right);
    EXPECT_EQ(24u, filestest::ReadAll(ModelFile(L"6840", L"JoySetting.qmj")).size());
    EXPECT_EQ(CurrentMainTexts().applied.c_str(), m_prompt.MessageTexts().at(0));
}

TEST_F(SettingPage, AMoveStoresAllFiveFieldsAndTheirTexts)
{
    OpenSettings();
    Slider(L"slider_Xaix")->SetClampedValue(33); // moved without an event
    Slider(L"slider_md1")->SetClampedValue(60);
    Click(Settings(), L"slider_Yaix");
    int y = Slider(L"slider_Yaix")->CurrentValue();
    EXPECT_GT(y, 30);
    EXPECT_EQ(33, Record().deadZones[kOlderDeadZoneX]);
    EXPECT_EQ(y, Record().deadZones[kOlderDeadZoneY]);
    EXPECT_EQ(60u, Record().strength);
    EXPECT_EQ(L"33%", std::wstring(TextOf(Settings(), L"text_VP_pcent_value_X").c_str()));
    EXPECT_EQ(L"60%", std::wstring(TextOf(Settings(), L"text_pcent_value_Lmotor").c_str()));
    EXPECT_TRUE(m_sim.Reports().empty()); // only the strength vibrates
}

TEST_F(SettingPage, AStrengthMoveVibratesHalfASecondAtItsLevel)
{
    OpenSettings();
    SSliderBar* strength = Slider(L"slider_md1");
    strength->SetClampedValue(95);
    EventSliderPos moved(strength);
    moved.newPos = 95;
    strength->RaiseEvent(moved);
    hosttest::HostTest::PumpFor(900);

    std::vector<Report> outputs = m_sim.Reports(Report::kOutput);
    ASSERT_GE(outputs.size(), 2u);
    EXPECT_EQ((std::vector<BYTE>{0, 5, 1, 242, 242, 0, 0, 0}), outputs.front().bytes);
    EXPECT_EQ((std::vector<BYTE>{0, 5, 1, 0, 0, 0, 0, 0}), outputs.back().bytes);
    double span = outputs.back().atMs - outputs.front().atMs;
    EXPECT_GE(span, 450.0);
    EXPECT_LE(span, 800.0);
    EXPECT_EQ(95u, Record().strength);
    EXPECT_TRUE(m_sim.Reports(Report::kFeature).empty());
}

TEST_F(SettingPage, DefaultResetsSlidersAndTextsWithoutTheDevice)
{
    OpenSettings();
    Record().deadZones[0] = 40;
    Record().strength = 10;
    static_cast<CJoySettingPageHandler&>(Settings()).Refresh();
    Click(Settings(), L"btn_default");
    const int kExpected[] = {0, 0, 0, 0, 95};
    const wchar_t* const kSliders[] = {L"slider_Xaix", L"slider_Yaix", L"slider_Zaix", L"slider_RZaix", L"slider_md1"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(kExpected[i], Slider(kSliders[i])->CurrentValue()) << i;
    EXPECT_EQ(L"0%", std::wstring(TextOf(Settings(), L"text_VP_pcent_value_X").c_str()));
    EXPECT_EQ(L"95%", std::wstring(TextOf(Settings(), L"text_pcent_value_Lmotor").c_str()));
    EXPECT_TRUE(m_sim.Reports().empty());
    EXPECT_TRUE(m_prompt.Messages().empty());
}

// The strength's thumb dragged with the mouse far past either end of its rail: the value stops
// at 0 and at 100, the text follows, and the motors get level 0 and then full (254).
TEST_F(SettingPage, ADragPastTheEndsStopsAtZeroAndAHundred)
{
    OpenSettings();
    SSliderBar* strength = Slider(L"slider_md1");
    RECT thumb = strength->PartRect(SSliderBar::kPartThumb);
    const int y = (thumb.top + thumb.bottom) / 2;
    int x = (thumb.left + thumb.right) / 2;
    HWND host = m_window->Handle();
    ::SendMessageW(host, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    ::SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    const struct {
        int x;
        UINT32 value;
        const wchar_t* shown;
        BYTE level;
    } ends[] = {{-2000, 0, L"0%", 0}, {x + 4000, 100, L"100%", 254}};
    for (const auto& end : ends) {
        SCOPED_TRACE(end.value);
        m_sim.ClearReports();
        ::SendMessageW(host, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(end.x, y));
        EXPECT_EQ(static_cast<int>(end.value), strength->CurrentValue());
        EXPECT_EQ(end.value, Record().strength);
        EXPECT_EQ(end.shown, std::wstring(TextOf(Settings(), L"text_pcent_value_Lmotor").c_str()));
        const std::vector<BYTE> motors = {0, 5, 1, end.level, end.level, 0, 0, 0};
        EXPECT_TRUE(shelltest::WaitUntil([&] {
            std::vector<Report> outputs = m_sim.Reports(Report::kOutput);
            return std::any_of(outputs.begin(), outputs.end(), [&](const Report& r) { return r.bytes == motors; });
        }));
    }
    ::SendMessageW(host, WM_LBUTTONUP, 0, MAKELPARAM(x + 4000, y));
    EXPECT_EQ(100u, Record().strength);
    EXPECT_TRUE(m_sim.Reports(Report::kFeature).empty());
}

// A stored settings file holding values outside the sliders' 0..100: each text shows the value
// as the record holds it (a strength is unsigned), its slider stands at the nearer end, and the
// next move keeps every field at that end, so a strength the motors run at full never becomes 0.
TEST_F(SettingPage, StoredValuesOutsideTheSlidersStandAtTheirNearerEnd)
{
    OpenSettings();
    const struct {
        int field; // 0..3 dead zones X, Y, Z, Rz; 4 the strength
        UINT32 stored;
        const wchar_t* shown;
        int position; // also the value after a move of another slider
    } cases[] = {
        {0, 150, L"150%", 100},
        {0, static_cast<UINT32>(-3), L"-3%", 0},
        {4, 250, L"250%", 100},
        {4, 0x80000000u, L"2147483648%", 100},
        {4, 0xFFFFFFFFu, L"4294967295%", 100},
    };
    const wchar_t* const kSliders[] = {L"slider_Xaix", L"slider_Yaix", L"slider_Zaix", L"slider_RZaix", L"slider_md1"};
    const wchar_t* const kTexts[] = {L"text_VP_pcent_value_X", L"text_VP_pcent_value_Y", L"text_VP_pcent_value_Z",
                                     L"text_VP_pcent_value_RZ", L"text_pcent_value_Lmotor"};
    COlderJoySetting& settings = ZVK6840::JoySetting();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        settings.RestoreDefaults();
        UINT32* fields[] = {reinterpret_cast<UINT32*>(&Record().deadZones[0]),
                            reinterpret_cast<UINT32*>(&Record().deadZones[1]),
                            reinterpret_cast<UINT32*>(&Record().deadZones[2]),
                            reinterpret_cast<UINT32*>(&Record().deadZones[3]), &Record().strength};
        *fields[c.field] = c.stored;
        ASSERT_TRUE(settings.Save());
        settings.RestoreDefaults();
        settings.Load();
        ASSERT_EQ(c.stored, *fields[c.field]);
        static_cast<CJoySettingPageHandler&>(Settings()).Refresh();
        EXPECT_EQ(c.shown, std::wstring(TextOf(Settings(), kTexts[c.field]).c_str()));
        EXPECT_EQ(c.position, Slider(kSliders[c.field])->CurrentValue());

        Click(Settings(), c.field == 1 ? L"slider_Zaix" : L"slider_Yaix");
        EXPECT_EQ(static_cast<UINT32>(c.position), *fields[c.field]);
    }
}

// Pages without the named controls, and commands that name none of them.
TEST_F(SettingPage, MissingControlsAreSkipped)
{
    OpenWith();
    SWindow page;
    SWindow* empty = &page;
    CKeymapPageHandler keymap(m_6840, ZVK6840::Profile(), ModelTextsOf(6840));
    CJoySettingPageHandler settings(m_6840, ZVK6840::JoySetting());
    keymap.AttachPage(empty);
    settings.AttachPage(empty);
    EventCmd click(nullptr); // no sender window: a command of the page
    click.nameFrom = L"btn_Keymap_3";
    EXPECT_TRUE(keymap.HandlePageEvent(&click));
    EventSliderPos moved(nullptr);
    moved.nameFrom = L"slider_md1";
    EXPECT_TRUE(settings.HandlePageEvent(&moved));
    EXPECT_TRUE(m_chooser.menus.empty());
    EXPECT_EQ(0xF10003u, Layer().keyCode[2]);
    EXPECT_EQ(95u, ZVK6840::JoySetting().Record().strength);
}

// Two joysticks of the family at once: arrivals and removals of either one. The program keeps
// to the joystick the probe picks (a 6891 first, else the first one attached), shows its page,
// and every report of the push that follows goes to that joystick alone.
TEST_F(KeymapPage, WithTwoJoysticksEveryReportGoesToTheOneShown)
{
    OpenWith(6840);
    SimController& first = *m_pad;
    HWND watcher = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"QM_HidDirectInput_msg_windows");
    ASSERT_NE(nullptr, watcher);
    SimController& second = m_sim.Plug(0x2E7A, 6840);
    SimController* newer = nullptr;
    struct Step {
        const char* what;
        std::function<SimController&()> change; // the joystick the notice names
        WPARAM event;
        int page;
        SimController* chosen; // null: none left
    };
    Step steps[] = {
        {"a second 6840 arrives", [&]() -> SimController& { return second; }, DBT_DEVICEARRIVAL, 3, &first},
        {"the one shown goes", [&]() -> SimController& { m_sim.Unplug(first); return first; },
         DBT_DEVICEREMOVECOMPLETE, 3, &second},
        {"a 6891 arrives", [&]() -> SimController& { return *(newer = &m_sim.Plug(0x2E7A, 6891)); },
         DBT_DEVICEARRIVAL, 0, nullptr},
        {"the 6840 not shown goes", [&]() -> SimController& { m_sim.Unplug(second); return second; },
         DBT_DEVICEREMOVECOMPLETE, 0, nullptr},
        {"the last one goes", [&]() -> SimController& { m_sim.Unplug(*newer); return *newer; },
         DBT_DEVICEREMOVECOMPLETE, CMainDlg::kNotInsertedPage, nullptr},
    };
    for (Step& step : steps) {
        SCOPED_TRACE(step.what);
        size_t channels = m_sim.Channels().size();
        SendInterfaceNotice(watcher, step.event, step.change().path);
        hosttest::HostTest::Pump();
        SimController* chosen = step.chosen ? step.chosen : step.page == 0 ? newer : nullptr;
        EXPECT_EQ(step.page, m_window->FindChildByName2<STabCtrl>(L"tabctrl_devices")->CurSel());
        std::vector<SimJoystick::Channel> opened = m_sim.Channels();
        opened.erase(opened.begin(), opened.begin() + channels);
        EXPECT_EQ(chosen != nullptr, !opened.empty());
        for (const SimJoystick::Channel& channel : opened)
            EXPECT_EQ(chosen->path, channel.path);
    }
}

TEST_F(KeymapPage, EachModelKeepsItsOwnFilesAndRefusesTheOthersProfiles)
{
    OpenWith();
    std::wstring exported = m_elsewhere.File(L"from6852.qmf");
    ZVK6852::Profile().CurrentLayer().turbo[0] = 20;
    m_prompt.QueueFile(exported);
    m_6852.ExportProfile();
    ASSERT_TRUE(filestest::Exists(exported));
    for (CDeviceHandlerBase* handler : {static_cast<CDeviceHandlerBase*>(&m_6840), static_cast<CDeviceHandlerBase*>(&m_6867)}) {
        m_prompt.QueueFile(exported);
        handler->ImportProfile();
    }
    EXPECT_EQ((std::vector<std::wstring>(2, L"Profile does not match current device")), m_prompt.MessageTexts());
    EXPECT_EQ(0u, Layer().turbo[0]);
    ZVK6852::Profile().RestoreDefaults();
    m_prompt.QueueFile(exported);
    m_6852.ImportProfile();
    EXPECT_EQ(20u, ZVK6852::Profile().CurrentLayer().turbo[0]);

    Click(Keymap(), L"btn_Applay");
    EXPECT_TRUE(filestest::Exists(ModelFile(L"6840", L"Profile.qmj")));
    EXPECT_FALSE(filestest::Exists(ModelFile(L"6852", L"Profile.qmj")));
    EXPECT_FALSE(filestest::Exists(ModelFile(L"6867", L"Profile.qmj")));
}

} // namespace

namespace {

// The two pages of model 6840 with a few edits, as docs/ shows them, each reached by its tab.
TEST_F(KeymapPage, ScreenshotsOfTheMappingAndSettingsPages)
{
    OpenWith();
    Layer().keyCode[0] = MakeMappingCode(kClassButton, kSubKeyboard, 0x2C);    // space
    Layer().keyCode[1] = MakeMappingCode(kClassButton, kSubMouseButton, 1);    // left mouse button
    Layer().keyCode[9] = MakeMappingCode(kClassButton, kSubJoystick, 3);       // button 3
    Layer().keyCode[16] = MakeMappingCode(kClassButton, kSubKeyboard, 0x52);   // up
    Layer().turbo[2] = 20;
    Layer().turbo[5] = 20;
    Layer().axisCode[0] = MakeMappingCode(kClassAxis, kSubKeyboard, 0x04);     // X- : A
    Layer().axisCode[1] = MakeMappingCode(kClassAxis, kSubKeyboard, 0x07);     // X+ : D
    ZVK6840::JoySetting().Record().deadZones[0] = 8;
    ZVK6840::JoySetting().Record().deadZones[1] = 8;
    ZVK6840::JoySetting().Record().deadZones[2] = 3;
    ZVK6840::JoySetting().Record().strength = 80;
    const struct {
        int subPage;
        CMyHandlerBase& page;
        const wchar_t* file;
    } kShots[] = {{kSettingsSubPage, Settings(), L"corvane-6840-settings.png"},
                  {0, Keymap(), L"corvane-6840-keymap.png"}};
    for (const auto& shot : kShots) {
        ClickTab(shot.subPage);
        EXPECT_EQ(shot.subPage, CheckedTab());
        EXPECT_TRUE(shot.page.Page()->TestVisible());
        hosttest::Shot picture;
        picture.pixels = hosttest::HostTest::Capture(m_window->Handle(), picture.width, picture.height);
        EXPECT_TRUE(picture.SavePng(m_startup->App()->RenderFactory(), shelltest::TestFolder() + L"\\" + shot.file));
    }
}

} // namespace
