// The vibration test against the simulated joystick: its level function, a full run (motor
// reports for the duration, then one stop report, on an overlapped channel of its own), a new
// test ending the old one with never two writers at once, writes the device never takes
// cancelled at their time-out, nothing without a device, and the join at shutdown.
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "device/CDirectInputJoy.h"
#include "protocol/VibrationLevel.h"
#include "support/SimJoystick.h"

namespace {

const HWND kWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4711));
const std::vector<BYTE> kStopReport = {0, 5, 1, 0, 0, 0, 0, 0};

TEST(ProtocolVibrationLevelTest, StrengthAndScaleGiveTheMotorLevel)
{
    const struct {
        UINT32 strength, scale;
        BYTE level;
    } cases[] = {
        {95, 10000, 242}, {50, 10000, 127}, {100, 10000, 254}, {0, 10000, 0}, {1, 10000, 2},
        {101, 10000, 254}, {356, 10000, 254}, {0xFFFFFFFF, 10000, 254}, // never wraps to a low byte
        {95, 5000, 121},  {100, 2500, 63},  {95, 0, 0}, {95, 20000, 242},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.level, VibrationLevel(c.strength, c.scale)) << c.strength << " " << c.scale;
}

class ProtocolVibrationTest : public ::testing::Test {
protected:
    SimJoystick m_sim;

    void Connect()
    {
        m_sim.Plug(0x2E7A, 6891);
        ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
    }
    void TearDown() override { DirectInputJoy().Shutdown(); }

    // Waits until every channel is closed (the worker has ended); false after timeoutMs.
    bool WaitForEnd(double timeoutMs)
    {
        double until = m_sim.NowMs() + timeoutMs;
        while (m_sim.OpenChannels() > 0) {
            if (m_sim.NowMs() > until)
                return false;
            ::Sleep(5);
        }
        return true;
    }
    // Milliseconds that StartVibrationTest took.
    double Start(DWORD left, DWORD right, DWORD durationMs)
    {
        double before = m_sim.NowMs();
        EXPECT_EQ(0, DirectInputJoy().StartVibrationTest(left, right, durationMs));
        return m_sim.NowMs() - before;
    }
};

// Output writes in the order they were issued never overlap.
void ExpectOneWriterAtATime(const std::vector<SimJoystick::Report>& reports)
{
    for (size_t i = 1; i < reports.size(); ++i)
        EXPECT_GE(reports[i].atMs + 0.5, reports[i - 1].doneMs) << i;
}

TEST_F(ProtocolVibrationTest, RunsForTheDurationThenSendsOneStopReport)
{
    Connect();
    m_sim.SetOutputInterval(4);
    double started = m_sim.NowMs();
    Start(242, 0x1FF, 500); // levels are low bytes
    ASSERT_TRUE(WaitForEnd(3000));
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    ASSERT_GE(reports.size(), 20u);
    ASSERT_EQ(1u, m_sim.Channels().size());
    EXPECT_TRUE(m_sim.Channels()[0].overlapped);
    EXPECT_EQ(kStopReport, reports.back().bytes);
    EXPECT_GE(reports.back().atMs - started, 480);
    EXPECT_LT(reports.back().atMs - started, 900);
    reports.pop_back();
    for (const SimJoystick::Report& report : reports) {
        EXPECT_EQ(SimJoystick::Report::kOutput, report.kind);
        EXPECT_EQ((std::vector<BYTE>{0, 5, 1, 242, 0xFF, 0, 0, 0}), report.bytes);
        EXPECT_TRUE(report.ok);
        EXPECT_LT(report.atMs - started, 700);
    }
    ExpectOneWriterAtATime(m_sim.Reports());
}

TEST_F(ProtocolVibrationTest, NewTestEndsTheRunningOneFirst)
{
    Connect();
    m_sim.SetOutputInterval(4);
    Start(100, 100, 500);
    ::Sleep(150);
    EXPECT_LT(Start(200, 50, 500), 100);
    ASSERT_TRUE(WaitForEnd(3000));
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    ASSERT_EQ(2u, m_sim.Channels().size());
    auto second = std::find_if(reports.begin(), reports.end(), [](const SimJoystick::Report& r) { return r.channel == 2; });
    ASSERT_NE(reports.begin(), second);
    // The first worker ended without its stop report; the second ran its whole test.
    for (auto report = reports.begin(); report != second; ++report)
        EXPECT_EQ((std::vector<BYTE>{0, 5, 1, 100, 100, 0, 0, 0}), report->bytes);
    EXPECT_TRUE(std::all_of(second, reports.end(), [](const SimJoystick::Report& r) { return r.channel == 2; }));
    EXPECT_EQ((std::vector<BYTE>{0, 5, 1, 200, 50, 0, 0, 0}), second->bytes);
    EXPECT_EQ(kStopReport, reports.back().bytes);
    ExpectOneWriterAtATime(reports);
}

TEST_F(ProtocolVibrationTest, WritesTheDeviceDoesNotTakeAreCancelledAtTheirTimeOut)
{
    Connect();
    m_sim.SetOutputMode(SimJoystick::kOutputBlock);
    double started = m_sim.NowMs();
    Start(242, 242, 500);
    ASSERT_TRUE(WaitForEnd(3000));
    double ended = m_sim.NowMs() - started;
    // Two motor writes of 300 ms each, then the stop report's 100 ms.
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    ASSERT_EQ(3u, reports.size());
    for (size_t i = 0; i < reports.size(); ++i) {
        EXPECT_FALSE(reports[i].ok);
        double took = reports[i].doneMs - reports[i].atMs;
        EXPECT_GE(took, i < 2 ? 290 : 90) << i;
        EXPECT_LT(took, i < 2 ? 550 : 350) << i; // generous: shared machines
    }
    EXPECT_EQ(kStopReport, reports.back().bytes);
    EXPECT_LT(ended, 1300);

    // A new test while a write hangs: the write is cancelled at once, not at its time-out.
    m_sim.ClearReports();
    Start(10, 10, 500);
    ::Sleep(50);
    EXPECT_LT(Start(20, 20, 500), 100);
    ::Sleep(50);
    DirectInputJoy().Shutdown();
    EXPECT_EQ(0, m_sim.OpenChannels());
    reports = m_sim.Reports();
    ASSERT_EQ(2u, reports.size());
    EXPECT_LT(reports[0].doneMs - reports[0].atMs, 150);
    ExpectOneWriterAtATime(reports);
}

TEST_F(ProtocolVibrationTest, NothingWithoutADeviceAndShutdownJoinsTheWorker)
{
    Start(242, 242, 500);
    SimController& pad = m_sim.Plug(0x2E7A, 6840);
    ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
    pad.openFails = true;
    Start(242, 242, 500);
    EXPECT_TRUE(m_sim.Channels().empty());
    EXPECT_TRUE(m_sim.Reports().empty());

    pad.openFails = false;
    m_sim.SetOutputInterval(4);
    Start(242, 242, 5000);
    // the worker is running once its first report is written (a loaded machine may delay it)
    for (int i = 0; i < 200 && m_sim.Reports().empty(); ++i)
        ::Sleep(10);
    double before = m_sim.NowMs();
    DirectInputJoy().Shutdown();
    EXPECT_LT(m_sim.NowMs() - before, 100);
    EXPECT_EQ(0, m_sim.OpenChannels());
    size_t written = m_sim.Reports().size();
    EXPECT_GT(written, 0u);
    ::Sleep(30);
    EXPECT_EQ(written, m_sim.Reports().size());
}

} // namespace
