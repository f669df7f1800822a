// Batches of feature reports against the simulated joystick: the models' send plans (order,
// layers, sources) on one channel, a batch stopping at its first failure with exactly the
// reports before it sent, the error boxes and the quiet flag, and batches without a channel.
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>
#include "device/CDirectInputJoy.h"
#include "device/QuietFlag.h"
#include "protocol/CommandBatch.h"
#include "protocol/MappingCode.h"
#include "protocol/SendPlan.h"
#include "support/ScriptedPrompt.h"
#include "support/SimJoystick.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4711));

// command, layer, index, byte 4, byte 5 of one report.
using Sent = std::tuple<int, int, int, int, int>;

// A layer whose fields tell where each report took its value from: key n sends keyboard
// usage n, axis slot s joystick axis 0x40 + s, button n turbo 20 when n is odd.
template <typename Layer>
Layer MarkedLayer()
{
    Layer layer = {};
    for (int i = 0; i < kButtonCount; ++i) {
        layer.keyCode[i] = MakeMappingCode(kClassButton, kSubKeyboard, static_cast<BYTE>(i + 1));
        layer.turbo[i] = (i % 2 == 0) ? 20 : 0;
    }
    for (size_t s = 0; s < sizeof(layer.axisCode) / sizeof(layer.axisCode[0]); ++s)
        layer.axisCode[s] = MakeMappingCode(kClassAxis, kSubJoystick, static_cast<BYTE>(0x40 + s));
    return layer;
}

class ProtocolBatchTest : public ::testing::Test {
protected:
    SimJoystick m_sim;
    ScriptedPrompt m_prompt;

    SimController& Connect(USHORT productId)
    {
        SimController& pad = m_sim.Plug(0x2E7A, productId);
        EXPECT_TRUE(DirectInputJoy().Probe(kWindow));
        return pad;
    }
    void TearDown() override
    {
        QuietFlag = false;
        DirectInputJoy().Release();
    }

    std::vector<Sent> Feature() const
    {
        std::vector<Sent> sent;
        for (const SimJoystick::Report& report : m_sim.Reports(SimJoystick::Report::kFeature)) {
            EXPECT_EQ(64u, report.bytes.size());
            EXPECT_EQ(0, report.bytes[0]);
            sent.emplace_back(report.bytes[1], report.bytes[2], report.bytes[3], report.bytes[4], report.bytes[5]);
        }
        return sent;
    }
};

// Key loop, axis loop, turbo loop, each over the layers, as the two designs plan them.
std::vector<Sent> ExpectedMapping(int layers, const std::vector<std::pair<int, int>>& axes, bool turboFor21And22)
{
    std::vector<Sent> sent;
    for (int layer = 0; layer < layers; ++layer) {
        for (int button = 1; button <= 26; ++button) {
            if (button != 21 && button != 22)
                sent.emplace_back(0xF1, layer, button, 1, button);
        }
    }
    for (int layer = 0; layer < layers; ++layer) {
        for (auto axis : axes)
            sent.emplace_back(0xF3, layer, axis.first, 0, 0x40 + axis.second);
    }
    for (int layer = 0; layer < layers; ++layer) {
        for (int button = 1; button <= 26; ++button) {
            if (turboFor21And22 || (button != 21 && button != 22))
                sent.emplace_back(0xF2, layer, button, button % 2 ? 20 : 0, 0);
        }
    }
    return sent;
}

TEST_F(ProtocolBatchTest, OlderModelsSendKeysAxesAndAllTurboOnOneChannel)
{
    for (const ModelDescriptor* model : {&kModel6840, &kModel6852, &kModel6867}) {
        SimJoystick sim;
        sim.Plug(0x2E7A, model->productId);
        ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
        OlderLayer layer = MarkedLayer<OlderLayer>();
        MappingLayerView view = LayerView(layer);
        EXPECT_TRUE(SendMappingPlan(*model, &view));
        std::vector<Sent> expected =
            ExpectedMapping(1, {{0x21, 0}, {0x22, 1}, {0x23, 2}, {0x24, 3}, {0x25, 6}, {0x26, 4}, {0x27, 5}}, true);
        EXPECT_EQ(57u, expected.size());
        std::vector<Sent> sent;
        for (const SimJoystick::Report& r : sim.Reports())
            sent.emplace_back(r.bytes[1], r.bytes[2], r.bytes[3], r.bytes[4], r.bytes[5]);
        EXPECT_EQ(expected, sent) << model->productId;
        ASSERT_EQ(1u, sim.Channels().size());
        EXPECT_FALSE(sim.Channels()[0].overlapped);
        EXPECT_EQ(0, sim.OpenChannels());
        DirectInputJoy().Release();
    }
    EXPECT_TRUE(m_prompt.Messages().empty());
}

TEST_F(ProtocolBatchTest, Model6891SendsEachLoopOverThreeLayers)
{
    Connect(6891);
    Layer6891 layers[3] = {MarkedLayer<Layer6891>(), MarkedLayer<Layer6891>(), MarkedLayer<Layer6891>()};
    MappingLayerView views[3] = {LayerView(layers[0]), LayerView(layers[1]), LayerView(layers[2])};
    EXPECT_TRUE(SendMappingPlan(kModel6891, views));
    std::vector<Sent> expected = ExpectedMapping(
        3, {{0x21, 0}, {0x22, 1}, {0x23, 2}, {0x24, 3}, {0x25, 8}, {0x26, 4}, {0x27, 5}, {0x28, 6}, {0x29, 7}, {0x2A, 9}},
        false);
    EXPECT_EQ(174u, expected.size());
    EXPECT_EQ(expected, Feature());
    EXPECT_EQ(1u, m_sim.Channels().size());
    EXPECT_EQ(0, m_sim.OpenChannels());
}

TEST_F(ProtocolBatchTest, DeadZonesGoToEveryLayerInPlanOrder)
{
    Connect(6840);
    OlderSettingsRecord older = {};
    older.deadZones[kOlderDeadZoneX] = 1;
    older.deadZones[kOlderDeadZoneY] = 2;
    older.deadZones[kOlderDeadZoneZ] = 3;
    older.deadZones[kOlderDeadZoneRz] = 100;
    EXPECT_TRUE(SendDeadZonePlan(kModel6840, older.deadZones));
    EXPECT_EQ((std::vector<Sent>{{0xF4, 0, 0x21, 1, 0}, {0xF4, 0, 0x23, 2, 0}, {0xF4, 0, 0x25, 3, 0},
                                 {0xF4, 0, 0x26, 100, 0}}),
              Feature());
    DirectInputJoy().Release();

    SimJoystick sim;
    sim.Plug(0x2E7A, 6891);
    ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
    Settings6891Record settings = {};
    const UINT32 values[] = {10, 11, 12, 13, 14, 15, 16}; // X, Y, Z, RX, RY, RZ, slider
    memcpy(settings.deadZones, values, sizeof(values));
    EXPECT_TRUE(SendDeadZonePlan(kModel6891, settings.deadZones));
    std::vector<Sent> expected;
    for (int layer = 0; layer < 3; ++layer) {
        for (auto axis : std::vector<std::pair<int, int>>{{0x21, 10}, {0x23, 11}, {0x25, 12}, {0x26, 15}, {0x28, 13},
                                                         {0x29, 14}, {0x2A, 16}})
            expected.emplace_back(0xF4, layer, axis.first, axis.second, 0);
    }
    std::vector<Sent> sent;
    for (const SimJoystick::Report& r : sim.Reports())
        sent.emplace_back(r.bytes[1], r.bytes[2], r.bytes[3], r.bytes[4], r.bytes[5]);
    EXPECT_EQ(expected, sent);
    EXPECT_EQ(0, sim.OpenChannels());
}

TEST_F(ProtocolBatchTest, FailedReportStopsTheBatchAfterExactlyThatReport)
{
    const struct {
        int failing;                 // the n-th report is refused by the device
        const wchar_t* text;
    } cases[] = {
        {1, L"下发按键1映射指令失败,请检查设备连接是否正常!"},
        {24, L"下发按键26映射指令失败,请检查设备连接是否正常!"},
        {25, L"下发轴33映射指令失败,请检查设备连接是否正常!"},
        {29, L"下发轴37映射指令失败,请检查设备连接是否正常!"},
        {57, L"下发连发速度26指令失败,请检查设备连接是否正常!"},
    };
    Connect(6852);
    OlderLayer layer = MarkedLayer<OlderLayer>();
    MappingLayerView view = LayerView(layer);
    for (const auto& c : cases) {
        m_sim.ClearReports();
        m_prompt.Clear();
        m_sim.FailFeatureReport(c.failing);
        EXPECT_FALSE(SendMappingPlan(kModel6852, &view)) << c.failing;
        std::vector<SimJoystick::Report> reports = m_sim.Reports();
        ASSERT_EQ(static_cast<size_t>(c.failing), reports.size());
        EXPECT_FALSE(reports.back().ok);
        ASSERT_EQ(1u, m_prompt.Messages().size()) << c.failing;
        EXPECT_EQ(c.text, m_prompt.Messages()[0].text);
        EXPECT_FALSE(m_prompt.Messages()[0].caption.has_value());
        EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), m_prompt.Messages()[0].type);
        EXPECT_EQ(0, m_sim.OpenChannels());
    }
}

TEST_F(ProtocolBatchTest, RefusedValueSendsNothingFurtherAndQuietShowsNoBox)
{
    Connect(6891);
    Settings6891Record settings = {};
    settings.deadZones[kDeadZoneRz6891] = 101; // the fourth report of layer 0
    for (bool quiet : {false, true}) {
        m_sim.ClearReports();
        m_prompt.Clear();
        QuietFlag = quiet;
        EXPECT_FALSE(SendDeadZonePlan(kModel6891, settings.deadZones));
        EXPECT_EQ(3u, m_sim.Reports().size());
        EXPECT_EQ(quiet ? std::vector<std::wstring>{} : std::vector<std::wstring>{L"解析虚位38指令失败虚位值 101"},
                  m_prompt.MessageTexts());
    }
    // A failed send under the quiet flag: false, no box.
    m_sim.ClearReports();
    m_sim.FailFeatureReport(2);
    CommandBatch batch;
    EXPECT_TRUE(batch.Turbo(0, 1, 20));
    EXPECT_FALSE(batch.Turbo(0, 2, 0));
    EXPECT_FALSE(batch.Ok());
    EXPECT_FALSE(batch.Turbo(0, 3, 0));
    EXPECT_EQ(2u, m_sim.Reports().size());
    EXPECT_TRUE(m_prompt.Messages().empty());
}

TEST_F(ProtocolBatchTest, WithoutAChannelNothingIsSentOrClosed)
{
    OlderLayer layer = MarkedLayer<OlderLayer>();
    MappingLayerView view = LayerView(layer);
    // No device at all.
    EXPECT_FALSE(SendMappingPlan(kModel6840, &view));
    // A device whose path cannot be read, and one whose file cannot be opened.
    SimController& pad = Connect(6840);
    for (int step = 0; step < 2; ++step) {
        pad.pathUnreadable = step == 0;
        pad.openFails = step == 1;
        CommandBatch batch;
        EXPECT_FALSE(batch.Ok());
        EXPECT_FALSE(batch.KeyMap(0, 1, 0));
        EXPECT_FALSE(SendMappingPlan(kModel6840, &view));
    }
    EXPECT_TRUE(m_sim.Reports().empty());
    EXPECT_TRUE(m_sim.Channels().empty());
    EXPECT_TRUE(m_prompt.Messages().empty());
}

} // namespace
