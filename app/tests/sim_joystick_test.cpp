// The simulated joystick's HID side, which the device tests rely on: channels that record every
// report with its channel and time, a feature report that fails on request, output writes that
// block and honour their stop event and time-out as the real overlapped write does, and writes
// from several threads.
#include <gtest/gtest.h>
#include <atomic>
#include <thread>
#include <vector>
#include "support/SimJoystick.h"

namespace {

class Event {
public:
    Event() : handle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { ::CloseHandle(handle); }
    HANDLE handle;
};

const BYTE kRumble[8] = {0, 5, 1, 200, 100, 0, 0, 0};

class SimJoystickTest : public ::testing::Test {
protected:
    SimJoystickTest() : m_pad(m_sim.Plug(0x2E7A, 6891)) {}

    std::unique_ptr<IHidChannel> Open(bool overlapped = true)
    {
        return DeviceAccess().OpenHid(m_pad.path, overlapped);
    }

    SimJoystick m_sim;
    SimController& m_pad;
};

TEST_F(SimJoystickTest, ChannelsOpenOnlyOnAttachedControllersAndCountAsOpenUntilClosed)
{
    std::unique_ptr<IHidChannel> first = Open(false);
    std::unique_ptr<IHidChannel> second = DeviceAccess().OpenHid(L"\\\\?\\HID#VID_2E7A&PID_1AEB&MI_00#7&00000000&0&0000"
                                                                  L"#{4D1E55B2-F16F-11CF-88CB-001111000030}",
                                                                  true);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second); // paths compare without regard to case
    EXPECT_EQ(2, m_sim.OpenChannels());
    first.reset();
    EXPECT_EQ(1, m_sim.OpenChannels());
    std::vector<SimJoystick::Channel> channels = m_sim.Channels();
    ASSERT_EQ(2u, channels.size());
    EXPECT_FALSE(channels[0].overlapped);
    EXPECT_FALSE(channels[0].open);
    EXPECT_TRUE(channels[1].overlapped);
    EXPECT_TRUE(channels[1].open);

    EXPECT_EQ(nullptr, DeviceAccess().OpenHid(L"\\\\?\\hid#vid_2e7a&pid_1aeb&mi_00#other", false));
    m_pad.openFails = true;
    EXPECT_EQ(nullptr, Open());
    m_pad.openFails = false;
    m_sim.Unplug(m_pad);
    EXPECT_EQ(nullptr, Open());
    second.reset();
    EXPECT_EQ(0, m_sim.OpenChannels());
}

TEST_F(SimJoystickTest, RecordsEveryFeatureReportAndFailsTheNthOnRequest)
{
    std::unique_ptr<IHidChannel> channel = Open(false);
    m_sim.FailFeatureReport(3);
    std::vector<bool> results;
    for (BYTE index = 1; index <= 5; ++index) {
        BYTE report[64] = {0, 0xF1, 0, index, 1, 4};
        results.push_back(channel->SetFeature(report, sizeof(report)));
    }
    EXPECT_EQ((std::vector<bool>{true, true, false, true, true}), results);
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    ASSERT_EQ(5u, reports.size());
    for (size_t i = 0; i < reports.size(); ++i) {
        EXPECT_EQ(SimJoystick::Report::kFeature, reports[i].kind);
        EXPECT_EQ(1, reports[i].channel);
        ASSERT_EQ(64u, reports[i].bytes.size());
        EXPECT_EQ(i + 1, reports[i].bytes[3]);
        EXPECT_EQ(results[i], reports[i].ok);
        EXPECT_LE(reports[i].atMs, reports[i].doneMs);
        if (i) {
            EXPECT_LE(reports[i - 1].doneMs, reports[i].atMs);
        }
    }
    // An unplugged device takes no report.
    m_sim.Unplug(m_pad);
    BYTE report[64] = {};
    EXPECT_FALSE(channel->SetFeature(report, sizeof(report)));
}

TEST_F(SimJoystickTest, OutputWritesCompleteFailOrNeedAnOverlappedChannel)
{
    std::unique_ptr<IHidChannel> overlapped = Open(true);
    std::unique_ptr<IHidChannel> plain = Open(false);
    EXPECT_TRUE(overlapped->WriteOutput(kRumble, sizeof(kRumble), nullptr, 300));
    m_sim.SetOutputMode(SimJoystick::kOutputFail);
    EXPECT_FALSE(overlapped->WriteOutput(kRumble, sizeof(kRumble), nullptr, 300));
    m_sim.SetOutputMode(SimJoystick::kOutputComplete);
    EXPECT_FALSE(plain->WriteOutput(kRumble, sizeof(kRumble), nullptr, 300)); // refused, not recorded
    std::vector<SimJoystick::Report> reports = m_sim.Reports(SimJoystick::Report::kOutput);
    ASSERT_EQ(2u, reports.size());
    EXPECT_EQ(std::vector<BYTE>(kRumble, kRumble + 8), reports[0].bytes);
    EXPECT_TRUE(reports[0].ok);
    EXPECT_FALSE(reports[1].ok);
    EXPECT_TRUE(m_sim.Reports(SimJoystick::Report::kFeature).empty());
}

TEST_F(SimJoystickTest, BlockedWritesEndAtTheirStopTimeOutModeChangeOrUnplugging)
{
    struct Case {
        const char* what;
        DWORD timeoutMs;
        void (*release)(SimJoystick&, SimController&, HANDLE stop); // run 60 ms into the write
        bool completes;
        double atLeastMs, atMostMs;
    } cases[] = {
        {"time-out", 120, nullptr, false, 110, 400},
        {"stop event", 5000, [](SimJoystick&, SimController&, HANDLE stop) { ::SetEvent(stop); }, false, 50, 400},
        {"device answers", 5000,
         [](SimJoystick& sim, SimController&, HANDLE) { sim.SetOutputMode(SimJoystick::kOutputComplete); }, true, 50,
         400},
        {"unplugged", 5000, [](SimJoystick& sim, SimController& pad, HANDLE) { sim.Unplug(pad); }, false, 50, 400},
    };
    for (const Case& c : cases) {
        SimJoystick sim;
        SimController& pad = sim.Plug(0x2E7A, 6840);
        std::unique_ptr<IHidChannel> channel = sim.OpenHid(pad.path, true);
        sim.SetOutputMode(SimJoystick::kOutputBlock);
        Event stop;
        std::thread releaser;
        if (c.release)
            releaser = std::thread([&] {
                ::Sleep(60);
                c.release(sim, pad, stop.handle);
            });
        EXPECT_EQ(c.completes, channel->WriteOutput(kRumble, sizeof(kRumble), stop.handle, c.timeoutMs)) << c.what;
        if (releaser.joinable())
            releaser.join();
        std::vector<SimJoystick::Report> reports = sim.Reports();
        ASSERT_EQ(1u, reports.size()) << c.what;
        double took = reports[0].doneMs - reports[0].atMs;
        EXPECT_GE(took, c.atLeastMs) << c.what;
        EXPECT_LE(took, c.atMostMs) << c.what;
        EXPECT_EQ(c.completes, reports[0].ok) << c.what;
    }
}

TEST_F(SimJoystickTest, WritesFromSeveralThreadsAreAllRecorded)
{
    const int kPerThread = 300;
    std::atomic<int> finished{0};
    std::vector<std::thread> writers;
    for (int t = 0; t < 3; ++t) {
        writers.emplace_back([&] {
            std::unique_ptr<IHidChannel> channel = Open(true);
            for (int i = 0; i < kPerThread; ++i)
                channel->WriteOutput(kRumble, sizeof(kRumble), nullptr, 300);
            ++finished;
        });
    }
    while (finished < 3)
        m_sim.Reports(); // the log is read while it grows
    for (std::thread& writer : writers)
        writer.join();
    std::vector<SimJoystick::Report> reports = m_sim.Reports();
    ASSERT_EQ(size_t(3 * kPerThread), reports.size());
    int perChannel[4] = {};
    for (const SimJoystick::Report& report : reports)
        ++perChannel[report.channel];
    EXPECT_EQ(kPerThread, perChannel[1]);
    EXPECT_EQ(kPerThread, perChannel[2]);
    EXPECT_EQ(kPerThread, perChannel[3]);
    EXPECT_EQ(0, m_sim.OpenChannels());
}

} // namespace
