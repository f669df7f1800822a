// Model 6891's key-mapping pages A and B and its settings page in the program's main window,
// driven by mouse messages, against the simulated joystick, scripted prompts and a scripted
// chooser: three layers sent in one batch, layer switching, page memory, two motors.
#include "control/SSliderBar.h"
#include "control/STabCtrl.h"
#include "core/SEvents.h"
#include "host_ctrl_test_env.h"
#include "keymap_test_env.h"
#include "MainTexts.h"
#include "models/AmplifyRegistry.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "models/ZVK6891/CProfile6891.h"
#include "protocol/MappingCode.h"

namespace {

using namespace keymaptest;
using Report = SimJoystick::Report;

enum { kPageA, kPageB, kSettingsPage };

bool ReadAmplify(const wchar_t* name, UINT32& value)
{
    DWORD type = 0, size = sizeof(value);
    return ::RegGetValueW(HKEY_CURRENT_USER, kAmplifyKey, name, RRF_RT_ANY, &type, &value, &size) == ERROR_SUCCESS &&
           type == REG_BINARY && size == 4;
}

class Model6891 : public KeymapTest {
protected:
    void Open(int subPage)
    {
        OpenWith(6891);
        m_6891.SelectSubPage(subPage);
    }
    CMyHandlerBase& PageA() { return m_6891.KeymapPageA(); }
    CMyHandlerBase& PageB() { return m_6891.KeymapPageB(); }
    CMyHandlerBase& SettingsPage() { return m_6891.SettingPage(); }
    const Layer6891& LayerAt(int index) { return ZVK6891::Profile().Record().layers[index]; }
    Layer6891& Edit(int index)
    {
        ZVK6891::Profile().SelectLayer(index);
        return ZVK6891::Profile().CurrentLayer();
    }
    int ShownSubPage() { return m_6891.Page()->FindChildByName2<STabCtrl>(L"tabctrl_funPages")->CurSel(); }
    bool Checked(CMyHandlerBase& page, const wchar_t* name)
    {
        SWindow* window = On(page, name);
        return window && window->TestChecked();
    }
    std::wstring Text(CMyHandlerBase& page, const wchar_t* name) { return TextOf(page, name).c_str(); }
    Settings6891Record& Settings() { return ZVK6891::JoySetting().Record(); }
    SSliderBar* Slider(const wchar_t* name) { return On<SSliderBar>(SettingsPage(), name); }
};

const BYTE kMappedButtons[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 23, 24, 25, 26};

TEST_F(Model6891, ApplySendsEveryLayerKeysThenAxesThenTurboThenSaves)
{
    for (int layer = 0; layer < 3; ++layer) {
        Edit(layer).keyCode[0] = MakeMappingCode(kClassButton, kSubKeyboard, static_cast<BYTE>(0x04 + layer));
        Edit(layer).axisCode[8] = MakeMappingCode(kClassAxis, kSubMouseButton, static_cast<BYTE>(1 + layer));
        Edit(layer).turbo[25] = 20;
    }
    Edit(0);
    Open(kPageA);
    Click(PageA(), L"btn_Applay");

    std::vector<Report> reports = m_sim.Reports(Report::kFeature);
    ASSERT_EQ(174u, reports.size());
    const BYTE kAxisIds[] = {0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x29, 0x2A};
    const int kSlots[] = {0, 1, 2, 3, 8, 4, 5, 6, 7, 9};
    for (int layer = 0; layer < 3; ++layer) {
        for (int i = 0; i < 24; ++i) {
            const std::vector<BYTE>& key = reports[layer * 24 + i].bytes;
            EXPECT_EQ((std::vector<BYTE>{0xF1, static_cast<BYTE>(layer), kMappedButtons[i]}),
                      std::vector<BYTE>(key.begin() + 1, key.begin() + 4));
            const std::vector<BYTE>& turbo = reports[102 + layer * 24 + i].bytes;
            EXPECT_EQ((std::vector<BYTE>{0xF2, static_cast<BYTE>(layer), kMappedButtons[i], BYTE(i == 23 ? 20 : 0)}),
                      std::vector<BYTE>(turbo.begin() + 1, turbo.begin() + 5));
        }
        EXPECT_EQ(0x04 + layer, reports[layer * 24].bytes[5]);
        for (int i = 0; i < 10; ++i) {
            const std::vector<BYTE>& axis = reports[72 + layer * 10 + i].bytes;
            UINT32 code = LayerAt(layer).axisCode[kSlots[i]];
            EXPECT_EQ((std::vector<BYTE>{0xF3, static_cast<BYTE>(layer), kAxisIds[i], CodeSubType(code),
                                         CodeValue(code)}),
                      std::vector<BYTE>(axis.begin() + 1, axis.begin() + 6))
                << layer << " " << i;
        }
        EXPECT_EQ(1 + layer, reports[72 + layer * 10 + 4].bytes[5]); // 0x25 from slot 8
    }
    for (const Report& report : reports)
        EXPECT_EQ(reports[0].channel, report.channel);
    EXPECT_EQ(0, m_sim.OpenChannels());
    EXPECT_EQ(864u, filestest::ReadAll(ModelFile(L"6891", L"Profile.qmj")).size());
    EXPECT_EQ((std::vector<std::wstring>{CurrentMainTexts().applied.c_str()}), m_prompt.MessageTexts());
}

TEST_F(Model6891, AFailingReportStopsTheBatchUnsaved)
{
    const struct {
        int failing; // 1-based in the batch
        const wchar_t* message;
    } kCases[] = {
        {30, L"下发按键6映射指令失败,请检查设备连接是否正常!"},  // layer 1, button 6
        {77, L"下发轴37映射指令失败,请检查设备连接是否正常!"},   // layer 0, 0x25
        {174, L"下发连发速度26指令失败,请检查设备连接是否正常!"}, // the last turbo report
    };
    Open(kPageB);
    for (const auto& c : kCases) {
        m_sim.ClearReports();
        m_prompt.Clear();
        m_sim.FailFeatureReport(c.failing);
        Click(PageB(), L"btn_Applay");
        std::vector<Report> reports = m_sim.Reports(Report::kFeature);
        ASSERT_EQ(static_cast<size_t>(c.failing), reports.size());
        EXPECT_FALSE(reports.back().ok);
        EXPECT_EQ((std::vector<std::wstring>{c.message, CurrentMainTexts().connectionWarning.c_str()}),
                  m_prompt.MessageTexts());
        EXPECT_EQ(0, m_sim.OpenChannels());
    }
    EXPECT_FALSE(filestest::Exists(ModelFile(L"6891", L"Profile.qmj")));
}

TEST_F(Model6891, SettingsSendSevenDeadZonesPerLayerAndBothAmplifyValues)
{
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kAmplifyKey);
    for (int i = 0; i < k6891DeadZoneCount; ++i)
        Settings().deadZones[i] = 10 + i; // X Y Z RX RY RZ slider
    Settings().leftAmplify = 30;
    Settings().rightAmplify = 70;
    Open(kSettingsPage);
    Click(SettingsPage(), L"btn_Applay");

    std::vector<Report> reports = m_sim.Reports(Report::kFeature);
    ASSERT_EQ(21u, reports.size());
    const BYTE kIds[] = {0x21, 0x23, 0x25, 0x26, 0x28, 0x29, 0x2A};
    const BYTE kValues[] = {10, 11, 12, 15, 13, 14, 16};
    for (int i = 0; i < 21; ++i) {
        const std::vector<BYTE>& bytes = reports[i].bytes;
        EXPECT_EQ((std::vector<BYTE>{0xF4, static_cast<BYTE>(i / 7), kIds[i % 7], kValues[i % 7]}),
                  std::vector<BYTE>(bytes.begin() + 1, bytes.begin() + 5))
            << i;
    }
    UINT32 left = 0, right = 0;
    EXPECT_TRUE(ReadAmplify(kLeftAmplifyValue, left));
    EXPECT_TRUE(ReadAmplify(kRightAmplifyValue, right));
    EXPECT_EQ(30u, left);
    EXPECT_EQ(70u, right);
    EXPECT_EQ(44u, filestest::ReadAll(ModelFile(L"6891", L"JoySetting.qmj")).size());
    EXPECT_EQ((std::vector<std::wstring>{CurrentMainTexts().applied.c_str()}), m_prompt.MessageTexts());
}

// The layer buttons choose the layer both pages edit and show; other layers keep their codes.
TEST_F(Model6891, PagesEditTheSelectedLayerOnly)
{
    Open(kPageA);
    EXPECT_TRUE(Checked(PageA(), L"btn_mode0"));
    Click(PageA(), L"btn_mode1");
    EXPECT_EQ(1u, ZVK6891::Profile().CurrentLayerIndex());
    EXPECT_TRUE(Checked(PageA(), L"btn_mode1"));
    EXPECT_FALSE(Checked(PageA(), L"btn_mode0"));
    m_chooser.QueueChoice(kMenuKeyboard);
    m_chooser.key = {1, 0x04};
    Click(PageA(), L"btn_Keymap_23");
    Click(PageA(), L"btn_fireKey_1");
    EXPECT_EQ(0xF10104u, LayerAt(1).keyCode[22]);
    EXPECT_EQ(20u, LayerAt(1).turbo[0]);
    EXPECT_EQ(L"A ", Text(PageA(), L"btn_Keymap_23"));

    Click(PageA(), L"btn_keymapAgotoB");
    EXPECT_EQ(kPageB, ShownSubPage());
    EXPECT_TRUE(Checked(PageB(), L"btn_mode1"));
    Click(PageB(), L"btn_mode2");
    Click(PageB(), L"btn_fireKey_13");
    EXPECT_EQ(20u, LayerAt(2).turbo[12]);
    EXPECT_TRUE(Checked(PageB(), L"btn_fireKey_13"));
    Click(PageB(), L"btn_mode0");
    EXPECT_FALSE(Checked(PageB(), L"btn_fireKey_13"));

    Layer6891 defaults = {};
    ResetLayer(defaults);
    EXPECT_EQ(0, memcmp(&defaults, &LayerAt(0), sizeof(defaults)));
    Layer6891 expected1 = defaults, expected2 = defaults;
    expected1.keyCode[22] = 0xF10104;
    expected1.turbo[0] = 20;
    expected2.turbo[12] = 20;
    EXPECT_EQ(0, memcmp(&expected1, &LayerAt(1), sizeof(defaults)));
    EXPECT_EQ(0, memcmp(&expected2, &LayerAt(2), sizeof(defaults)));

    Click(PageB(), L"btn_keymapBgotoA");
    EXPECT_EQ(kPageA, ShownSubPage());
    EXPECT_EQ(L"POV1-上", Text(PageA(), L"btn_Keymap_23")); // layer 0 again
    EXPECT_TRUE(m_sim.Reports().empty());
}

TEST_F(Model6891, TheCaptionsKeymapButtonShowsTheLastKeymapPage)
{
    OpenWith(6891);
    EXPECT_EQ(kPageA, ShownSubPage());
    m_6891.SelectSubPageByNumber(2);
    EXPECT_EQ(3, ShownSubPage());
    m_6891.SelectSubPageByNumber(0);
    EXPECT_EQ(kPageA, ShownSubPage());
    Click(PageA(), L"btn_keymapAgotoB");
    m_6891.SelectSubPageByNumber(1);
    EXPECT_EQ(kSettingsPage, ShownSubPage());
    m_6891.SelectSubPageByNumber(0);
    EXPECT_EQ(kPageB, ShownSubPage());
    m_6891.SelectSubPageByNumber(7);
    EXPECT_EQ(kPageB, ShownSubPage());
}

// Buttons 1..16 and seven whole axes; the single axes never take a mouse movement.
TEST_F(Model6891, PopupsOfferSixteenButtonsAndSevenAxes)
{
    Open(kPageA);
    Click(PageA(), L"btn_Keymap_2");
    ASSERT_EQ(1u, m_chooser.menus.size());
    const MappingMenu& keys = m_chooser.menus[0].menu;
    ASSERT_EQ(16u, keys.subItems.size());
    EXPECT_EQ(0xF10010u, keys.subItems[15].id);
    EXPECT_EQ(0xF10002u, keys.items[3].id);

    // The whole X axis on Y: both Y slots take it, the whole button still shows.
    m_chooser.QueueChoice(0xF30021);
    Click(PageA(), L"btn_Aixymap_Y");
    EXPECT_EQ(0xF30021u, LayerAt(0).axisCode[3]);
    EXPECT_TRUE(Shown(PageA(), L"btn_Aixymap_Y"));
    const MappingMenu& axes = m_chooser.menus.back().menu;
    const UINT32 kAxes[] = {0xF30021, 0xF30023, 0xF30025, 0xF30026, 0xF30028, 0xF30029, 0xF3002A};
    ASSERT_EQ(7u, axes.subItems.size());
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(kAxes[i], axes.subItems[i].id) << i;
    EXPECT_EQ(L"Slide", std::wstring(axes.subItems[6].text.c_str()));

    m_chooser.QueueChoice(kMenuMouse);
    m_chooser.mouse = {1, 0x22};
    Click(PageA(), L"btn_Aixymap_Slider");
    EXPECT_EQ(0xF3002Au, LayerAt(0).axisCode[9]);
    EXPECT_EQ(0xF3002Au, m_chooser.menus.back().menu.items[3].id);

    m_6891.SelectSubPage(kPageB);
    const struct {
        const wchar_t* name;
        int slot;
        UINT32 defaultCode;
    } kSingles[] = {{L"btn_Aixymap_Z", 8, 0xF30025}, {L"btn_Aixymap_RX", 6, 0xF30028}, {L"btn_Aixymap_RY", 7, 0xF30029}};
    for (const auto& single : kSingles) {
        m_chooser.QueueChoice(kMenuMouse);
        m_chooser.mouse = {1, 3};
        Click(PageB(), single.name);
        EXPECT_EQ(0xF30203u, LayerAt(0).axisCode[single.slot]) << single.slot;
        EXPECT_EQ(single.defaultCode, m_chooser.menus.back().menu.items[3].id);
        EXPECT_EQ(L"鼠标中键", Text(PageB(), single.name));
    }
    EXPECT_EQ((std::vector<bool>{true, true, true, true}), m_chooser.mouseRuns);
    EXPECT_TRUE(m_sim.Reports().empty());
}

TEST_F(Model6891, NineSlidersAndEachMotorPreviewsBothStrengths)
{
    Open(kSettingsPage);
    Slider(L"slider_RYaix")->SetClampedValue(44); // moved without an event
    Slider(L"slider_md2")->SetClampedValue(40);
    Click(SettingsPage(), L"slider_slider");
    EXPECT_EQ(44u, Settings().deadZones[kDeadZoneRy6891]);
    EXPECT_EQ(static_cast<UINT32>(Slider(L"slider_slider")->CurrentValue()), Settings().deadZones[kDeadZoneSlider6891]);
    EXPECT_EQ(40u, Settings().rightAmplify);
    EXPECT_EQ(L"44%", Text(SettingsPage(), L"text_VP_pcent_value_RY"));
    EXPECT_EQ(L"40%", Text(SettingsPage(), L"text_pcent_value_Rmotor"));
    EXPECT_TRUE(m_sim.Reports().empty()); // a dead zone never vibrates

    SSliderBar* right = Slider(L"slider_md2");
    EventSliderPos moved(right);
    moved.newPos = 40;
    right->RaiseEvent(moved);
    hosttest::HostTest::PumpFor(900);
    std::vector<Report> outputs = m_sim.Reports(Report::kOutput);
    ASSERT_GE(outputs.size(), 2u);
    EXPECT_EQ((std::vector<BYTE>{0, 5, 1, 242, 102, 0, 0, 0}), outputs.front().bytes);
    EXPECT_EQ((std::vector<BYTE>{0, 5, 1, 0, 0, 0, 0, 0}), outputs.back().bytes);
    EXPECT_TRUE(m_sim.Reports(Report::kFeature).empty());

    m_sim.ClearReports();
    Click(SettingsPage(), L"btn_default");
    EXPECT_EQ(L"0%", Text(SettingsPage(), L"text_VP_pcent_value_thrrot"));
    EXPECT_EQ(L"95%", Text(SettingsPage(), L"text_pcent_value_Rmotor"));
    EXPECT_EQ(95u, Settings().rightAmplify);
    EXPECT_EQ(0u, Settings().deadZones[kDeadZoneRy6891]);
    EXPECT_TRUE(m_sim.Reports().empty());
    EXPECT_TRUE(m_prompt.Messages().empty());
}

TEST_F(Model6891, RestoreAndImportRefreshEveryPage)
{
    Edit(2).keyCode[12] = MakeMappingCode(kClassButton, kSubKeyboard, 0x04);
    Open(kPageB);
    EXPECT_EQ(L"A ", Text(PageB(), L"btn_Keymap_13"));
    m_prompt.QueueAnswer(IDNO);
    Click(PageB(), L"btn_default");
    EXPECT_EQ(0xF10104u, LayerAt(2).keyCode[12]);
    m_prompt.QueueAnswer(IDYES);
    Click(PageB(), L"btn_default");
    EXPECT_EQ(0xF1000Du, LayerAt(2).keyCode[12]);
    EXPECT_EQ(2u, ZVK6891::Profile().CurrentLayerIndex()); // the layer stays
    EXPECT_EQ(L"13号键", Text(PageB(), L"btn_Keymap_13"));
    EXPECT_TRUE(m_sim.Reports().empty());
}

TEST_F(Model6891, ScreenshotsOfTheMappingAndSettingsPages)
{
    Layer6891& first = Edit(0);
    first.keyCode[0] = MakeMappingCode(kClassButton, kSubKeyboard, 0x2C); // space
    first.turbo[2] = 20;
    Layer6891& second = Edit(1);
    second.keyCode[0] = MakeMappingCode(kClassButton, kSubMouseButton, 1);
    second.keyCode[23] = MakeMappingCode(kClassButton, kSubKeyboard, 0x52); // up
    second.axisCode[0] = MakeMappingCode(kClassAxis, kSubKeyboard, 0x04);   // X-: A
    second.axisCode[1] = MakeMappingCode(kClassAxis, kSubKeyboard, 0x07);   // X+: D
    second.turbo[12] = 20;
    Edit(0);
    Settings().deadZones[kDeadZoneX6891] = 8;
    Settings().deadZones[kDeadZoneSlider6891] = 12;
    Settings().leftAmplify = 80;
    Settings().rightAmplify = 60;
    OpenWith(6891);
    // Each picture after a click as a user makes it: on a button of key-mapping page A, or (none)
    // on the caption's tab.
    const struct {
        const wchar_t* pageButton;
        int tab;
        int subPage;
        const wchar_t* file;
    } kShots[] = {{nullptr, 0, kPageA, L"corvane-6891-keymap.png"},
                  {L"btn_mode1", 0, kPageA, L"corvane-6891-keymap-layer2.png"},
                  {L"btn_keymapAgotoB", 0, kPageB, L"corvane-6891-keymapB.png"},
                  {nullptr, 1, kSettingsPage, L"corvane-6891-settings.png"}};
    for (const auto& shot : kShots) {
        if (shot.pageButton)
            shelltest::PostClick(*m_window, On(PageA(), shot.pageButton));
        else
            ClickTab(shot.tab);
        EXPECT_EQ(shot.tab, CheckedTab()) << shot.file;
        EXPECT_EQ(shot.subPage, ShownSubPage()) << shot.file;
        hosttest::Shot picture;
        picture.pixels = hosttest::HostTest::Capture(m_window->Handle(), picture.width, picture.height);
        EXPECT_TRUE(picture.SavePng(m_startup->App()->RenderFactory(), shelltest::TestFolder() + L"\\" + shot.file));
    }
}

} // namespace
