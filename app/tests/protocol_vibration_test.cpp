// The vibration test against the simulated joystick: its level function, a full run (motor
// reports for the duration, then one stop report, on an overlapped channel of its own), new
// levels taken by the running worker with never two writers at once, writes the device never
// takes cancelled at their time-out, a driver that ignores the cancel never holding the caller,
// nothing without a device, and the join at shutdown.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>
#include <algorithm>
#include <memory>
#include <vector>
#include "device/CDirectInputJoy.h"
#include "protocol/VibrationLevel.h"
#include "protocol/VibrationWorker.h"
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

// The threads of this process.
int ThreadCount()
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    ::CloseHandle(snapshot);
    return count;
}

std::vector<BYTE> Motors(BYTE left, BYTE right)
{
    return {0, 5, 1, left, right, 0, 0, 0};
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

    // Whether done() holds within timeoutMs.
    template <class Done>
    bool WaitUntil(Done done, double timeoutMs = 5000)
    {
        double until = m_sim.NowMs() + timeoutMs;
        while (!done()) {
            if (m_sim.NowMs() > until)
                return false;
            ::Sleep(5);
        }
        return true;
    }
    // Waits until every channel is closed (the worker has ended); false after timeoutMs.
    bool WaitForEnd(double timeoutMs)
    {
        return WaitUntil([&] { return m_sim.OpenChannels() == 0; }, timeoutMs);
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

// The number of reports from first on that carry bytes.
size_t CountRun(const std::vector<SimJoystick::Report>& reports, size_t first, const std::vector<BYTE>& bytes)
{
    size_t end = first;
    while (end < reports.size() && reports[end].bytes == bytes)
        ++end;
    return end - first;
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
        EXPECT_EQ(Motors(242, 0xFF), report.bytes);
        EXPECT_TRUE(report.ok);
        EXPECT_LT(report.atMs - started, 700);
    }
    ExpectOneWriterAtATime(m_sim.Reports());
}

// Button 1 held on a function-test page: a request on every poll tick. The running worker
// takes each level and runs its half second from the last one: one thread and one channel,
// the old level, the new one, then the stop report.
TEST_F(ProtocolVibrationTest, NewLevelsGoToTheRunningWorkerWhoseTestStartsAgain)
{
    Connect();
    m_sim.SetOutputInterval(4);
    int threads = ThreadCount();
    Start(100, 100, 500);
    ASSERT_TRUE(WaitUntil([&] { return m_sim.Reports().size() >= 3; }));
    double lastRequest = 0;
    for (int tick = 0; tick < 10; ++tick) {
        Start(200, 50, 500);
        lastRequest = m_sim.NowMs();
        EXPECT_EQ(threads + 1, ThreadCount());
        ::Sleep(33); // the poll period
    }
    ASSERT_TRUE(WaitForEnd(3000));
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threads; }));
    ASSERT_EQ(1u, m_sim.Channels().size());
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    size_t before = CountRun(reports, 0, Motors(100, 100));
    size_t after = CountRun(reports, before, Motors(200, 50));
    EXPECT_GE(before, 3u);
    EXPECT_GE(after, 10u);
    ASSERT_EQ(reports.size(), before + after + 1);
    EXPECT_EQ(kStopReport, reports.back().bytes);
    EXPECT_GE(reports.back().atMs - lastRequest, 450); // never before its half second
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

    // A new level while a write hangs is written once that write has timed out, by the same
    // worker; the shutdown cancels the write in progress at once, then the stop report is tried.
    m_sim.ClearReports();
    Start(10, 10, 5000);
    ASSERT_TRUE(WaitUntil([&] { return m_sim.Reports().size() == 1; }));
    EXPECT_LT(Start(20, 20, 5000), 100);
    ASSERT_TRUE(WaitUntil([&] { return m_sim.Reports().back().bytes == Motors(20, 20); }));
    DirectInputJoy().Shutdown();
    EXPECT_EQ(0, m_sim.OpenChannels());
    EXPECT_EQ(2u, m_sim.Channels().size());
    reports = m_sim.Reports();
    size_t before = CountRun(reports, 0, Motors(10, 10));
    EXPECT_GE(before, 1u);
    EXPECT_EQ(reports.size(), before + CountRun(reports, before, Motors(20, 20)) + 1);
    EXPECT_EQ(kStopReport, reports.back().bytes);
    EXPECT_TRUE(std::all_of(reports.begin(), reports.end(), [](const SimJoystick::Report& r) { return r.channel == 2; }));
    EXPECT_LT(reports.back().doneMs - reports.back().atMs, 150);
    ExpectOneWriterAtATime(reports);
}

// A driver that ignores the cancel: the writes hang for good. Every request returns all the
// same. Once its write is overdue the worker is abandoned and a new one runs; when that one
// hangs too, no third is started. The shutdown returns. When the driver lets go, the abandoned
// workers write nothing more, close their channels and end.
TEST_F(ProtocolVibrationTest, ADriverThatIgnoresTheCancelNeverHoldsTheCaller)
{
    int threads = ThreadCount();
    Connect();
    m_sim.SetOutputMode(SimJoystick::kOutputHang);
    Start(100, 100, 500);
    ASSERT_TRUE(WaitUntil([&] { return m_sim.WritesInProgress() == 1; }));
    double abandonedAt = 0;
    for (int tick = 0; tick < 300 && m_sim.Channels().size() < 2; ++tick) {
        Start(200, 200, 500);
        abandonedAt = m_sim.NowMs();
        ::Sleep(33);
    }
    ASSERT_EQ(2u, m_sim.Channels().size());
    DWORD holdUntil = ::GetTickCount() + 3 * VibrationWorker::kHungAfterMs;
    while (static_cast<int>(holdUntil - ::GetTickCount()) > 0) {
        Start(30, 30, 500);
        ::Sleep(33);
    }
    EXPECT_EQ(2u, m_sim.Channels().size());
    EXPECT_EQ(threads + VibrationWorker::kMaxWorkers, ThreadCount());

    DirectInputJoy().Shutdown();
    double shutDownAt = m_sim.NowMs();
    EXPECT_EQ(2, m_sim.OpenChannels());
    m_sim.SetOutputMode(SimJoystick::kOutputComplete);
    ASSERT_TRUE(WaitForEnd(3000));
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threads; }));
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    ASSERT_EQ(2u, reports.size()); // the hung write of each worker, nothing after
    std::sort(reports.begin(), reports.end(),
              [](const SimJoystick::Report& a, const SimJoystick::Report& b) { return a.channel < b.channel; });
    EXPECT_EQ(1, reports[0].channel);
    EXPECT_EQ(Motors(100, 100), reports[0].bytes);
    EXPECT_LT(reports[0].atMs, abandonedAt);
    EXPECT_EQ(2, reports[1].channel);
    EXPECT_EQ(Motors(200, 200), reports[1].bytes);
    EXPECT_LT(reports[1].atMs, shutDownAt);
}

// Exit with a worker stuck in a driver that ignores the cancel: the program's shut-down of the
// joystick, then the end of the joystick object and of its worker wait once, within the bound.
// The worker is left, not killed; when the driver lets go it ends and nothing stays behind.
TEST_F(ProtocolVibrationTest, ExitWithAStuckWorkerWaitsOnce)
{
    m_sim.Plug(0x2E7A, 6891);
    m_sim.SetOutputMode(SimJoystick::kOutputHang);
    int threads = ThreadCount();
    DWORD handles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handles);
    auto joy = std::make_unique<CDirectInputJoy>();
    ASSERT_TRUE(joy->Probe(kWindow));
    joy->StartVibrationTest(100, 100, 500);
    ASSERT_TRUE(WaitUntil([&] { return m_sim.WritesInProgress() == 1; }));
    double before = m_sim.NowMs();
    joy->Shutdown(); // the start-up's end
    joy.reset();     // the process's statics
    double took = m_sim.NowMs() - before;
    EXPECT_GE(took, VibrationWorker::kEndWaitMs - 20);
    EXPECT_LT(took, 2 * VibrationWorker::kEndWaitMs);
    EXPECT_EQ(1, m_sim.OpenChannels());

    m_sim.SetOutputMode(SimJoystick::kOutputComplete);
    ASSERT_TRUE(WaitForEnd(3000));
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threads; })) << threads << " " << ThreadCount();
    DWORD after = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &after);
    EXPECT_EQ(handles, after);
}

// A device found anew (after a device notice) gets a worker and a channel of its own; the
// old worker ends first, with its stop report, then the new test runs.
TEST_F(ProtocolVibrationTest, ADeviceFoundAnewGetsANewWorker)
{
    Connect();
    m_sim.SetOutputInterval(4);
    Start(100, 100, 5000);
    ASSERT_TRUE(WaitUntil([&] { return !m_sim.Reports().empty(); }));
    ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
    Start(200, 200, 500);
    EXPECT_EQ(1, m_sim.OpenChannels());
    ASSERT_TRUE(WaitForEnd(3000));
    ASSERT_EQ(2u, m_sim.Channels().size());
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    auto second = std::find_if(reports.begin(), reports.end(), [](const SimJoystick::Report& r) { return r.channel == 2; });
    ASSERT_NE(reports.begin(), second);
    EXPECT_EQ(kStopReport, (second - 1)->bytes);
    for (auto report = reports.begin(); report != second - 1; ++report)
        EXPECT_EQ(Motors(100, 100), report->bytes);
    EXPECT_TRUE(std::all_of(second, reports.end(), [](const SimJoystick::Report& r) { return r.channel == 2; }));
    EXPECT_EQ(Motors(200, 200), second->bytes);
    EXPECT_EQ(kStopReport, reports.back().bytes);
    ExpectOneWriterAtATime(reports);
}

// Two joysticks: a test runs on a 6840, then a 6891 is plugged in and becomes the device, and
// a test starts on it. The 6840 is sent its stop report before the 6891's test begins, whether
// its writes were going through or hanging until their time-out.
TEST_F(ProtocolVibrationTest, ATestOnAnotherJoystickStopsTheMotorsOfTheFirst)
{
    for (SimJoystick::OutputMode mode : {SimJoystick::kOutputComplete, SimJoystick::kOutputBlock}) {
        SCOPED_TRACE(mode);
        SimJoystick sim;
        SimController& first = sim.Plug(0x2E7A, 6840);
        ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
        sim.SetOutputInterval(4);
        sim.SetOutputMode(mode);
        Start(242, 242, 5000);
        ASSERT_TRUE(WaitUntil([&] { return sim.WritesInProgress() + sim.Reports().size() > 0; }));
        SimController& second = sim.Plug(0x2E7A, 6891);
        ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
        ASSERT_EQ(6891, DirectInputJoy().ProductId());
        EXPECT_LT(Start(100, 100, 200), VibrationWorker::kEndWaitMs);
        sim.SetOutputMode(SimJoystick::kOutputComplete);
        ASSERT_TRUE(WaitUntil([&] { return sim.OpenChannels() == 0; }, 3000));

        std::vector<SimJoystick::Channel> channels = sim.Channels();
        ASSERT_EQ(2u, channels.size());
        EXPECT_EQ(first.path, channels[0].path);
        EXPECT_EQ(second.path, channels[1].path);
        std::vector<SimJoystick::Report> reports = sim.Reports();
        auto onSecond = std::find_if(reports.begin(), reports.end(), [](const SimJoystick::Report& r) { return r.channel == 2; });
        ASSERT_NE(reports.begin(), onSecond);
        EXPECT_EQ(kStopReport, (onSecond - 1)->bytes);
        EXPECT_EQ(mode == SimJoystick::kOutputComplete, (onSecond - 1)->ok);
        EXPECT_EQ(1, (onSecond - 1)->channel);
        EXPECT_EQ(Motors(100, 100), onSecond->bytes);
        EXPECT_EQ(kStopReport, reports.back().bytes);
        ExpectOneWriterAtATime(reports);
        DirectInputJoy().Shutdown();
    }
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

    // A request without a device ends the running test, with its stop report.
    pad.openFails = false;
    m_sim.SetOutputInterval(4);
    Start(242, 242, 5000);
    ASSERT_TRUE(WaitUntil([&] { return !m_sim.Reports().empty(); }));
    DirectInputJoy().Release();
    Start(242, 242, 500);
    EXPECT_EQ(0, m_sim.OpenChannels());
    EXPECT_EQ(1u, m_sim.Channels().size());
    EXPECT_EQ(kStopReport, m_sim.Reports().back().bytes);

    ASSERT_TRUE(DirectInputJoy().Probe(kWindow));
    m_sim.ClearReports();
    Start(242, 242, 5000);
    ASSERT_TRUE(WaitUntil([&] { return !m_sim.Reports().empty(); }));
    double before = m_sim.NowMs();
    DirectInputJoy().Shutdown();
    EXPECT_LT(m_sim.NowMs() - before, 100);
    EXPECT_EQ(0, m_sim.OpenChannels());
    size_t written = m_sim.Reports().size();
    ::Sleep(30);
    EXPECT_EQ(written, m_sim.Reports().size());
    EXPECT_EQ(kStopReport, m_sim.Reports().back().bytes); // the motors stop with the program
}

} // namespace
