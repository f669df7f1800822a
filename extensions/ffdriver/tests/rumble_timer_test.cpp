// The driver with its real 35 ms multimedia timer: reports read from a named pipe that stands in
// for the device, the end of a driver while a tick is running, and two drivers of one process.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "CEffectDriverFactory.h"
#include "CMyDIEffectDriver.h"
#include "ComServer.h"
#include "EffectLock.h"
#include "RecordingPort.h"
#include "RundelTestSupport.h"

namespace {

// A driver from a fresh class factory, started up, as DirectInput makes one for each device.
CMyDIEffectDriver* NewDriver() {
    CMyIClassFactory* factory = CEffectDriverFactory::Create();
    IDirectInputEffectDriver* driver = nullptr;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDirectInputEffectDriver, reinterpret_cast<void**>(&driver)));
    factory->Release();
    return static_cast<CMyDIEffectDriver*>(driver);
}

double NowMs() {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count.QuadPart * 1000.0 / frequency.QuadPart;
}

// The server end of a named pipe, read by a thread of its own until the writer goes away.
class PipeReader {
public:
    struct Report {
        double atMs;
        std::array<BYTE, 9> bytes;
    };

    explicit PipeReader(std::string name) : name_(std::move(name)) {
        pipe_ = CreateNamedPipeA(name_.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT,
                                 1, 0, 4096, 0, nullptr);
        ended_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, &PipeReader::Run, this, 0, nullptr);
    }

    ~PipeReader() {
        // Unblock a connect that never came, then a read of a writer still attached.
        HANDLE client = CreateFileA(name_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (client != INVALID_HANDLE_VALUE) CloseHandle(client);
        DisconnectNamedPipe(pipe_);
        WaitForSingleObject(thread_, 5000);
        CloseHandle(thread_);
        CloseHandle(ended_);
        CloseHandle(pipe_);
    }

    const std::string& Name() const { return name_; }

    std::vector<Report> Reports() {
        std::lock_guard<std::mutex> lock(mutex_);
        return reports_;
    }

    bool WaitForEnd(DWORD ms) { return WaitForSingleObject(ended_, ms) == WAIT_OBJECT_0; }

private:
    static DWORD WINAPI Run(void* self) {
        static_cast<PipeReader*>(self)->Read();
        return 0;
    }

    void Read() {
        ConnectNamedPipe(pipe_, nullptr);
        Report report;
        DWORD read;
        while (ReadFile(pipe_, report.bytes.data(), static_cast<DWORD>(report.bytes.size()), &read, nullptr)) {
            report.atMs = NowMs();
            std::lock_guard<std::mutex> lock(mutex_);
            reports_.push_back(report);
        }
        SetEvent(ended_);
    }

    std::string name_;
    HANDLE pipe_, ended_, thread_;
    std::mutex mutex_;
    std::vector<Report> reports_;
};

class RumbleTimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EffectLock::Open());
        RundelTest::SeedAttributes();
        RundelTest::ClearAmplify();
        driver_ = NewDriver();
        ASSERT_NE(nullptr, driver_);
    }

    void TearDown() override { ReleaseDriver(); }

    void ReleaseDriver() {
        if (driver_) driver_->Release();
        driver_ = nullptr;
    }

    void PlayLeftMotor() {
        RundelTest::TestEffect effect;
        DWORD handle = 0;
        ASSERT_EQ(S_OK, driver_->DownloadEffect(0, 0, &handle, effect.Constant(10000).Get(), DIEP_ALLPARAMS | DIEP_START));
    }

    CMyDIEffectDriver* driver_ = nullptr;
};

std::vector<PipeReader::Report> Since(const std::vector<PipeReader::Report>& reports, double startMs) {
    std::vector<PipeReader::Report> later;
    for (const PipeReader::Report& report : reports) {
        if (report.atMs >= startMs) later.push_back(report);
    }
    return later;
}

}  // namespace

TEST_F(RumbleTimerTest, PipeDeviceGetsAReportEvery35MsAndAStopReportAtTheEnd) {
    PipeReader reader("\\\\.\\pipe\\rundel-test-" + std::to_string(GetCurrentProcessId()));
    ASSERT_EQ(S_OK, driver_->OpenDevice(0, reader.Name().c_str()));

    Sleep(100);
    double idleStart = NowMs();
    Sleep(1000);
    std::vector<PipeReader::Report> idle = Since(reader.Reports(), idleStart);
    ASSERT_GE(idle.size(), 15u);
    EXPECT_LE(idle.size(), 40u);
    double meanInterval = (idle.back().atMs - idle.front().atMs) / (idle.size() - 1);
    EXPECT_GT(meanInterval, 25.0);
    EXPECT_LT(meanInterval, 60.0);
    for (const PipeReader::Report& report : idle)
        EXPECT_EQ((std::array<BYTE, 9>{0, 2, 8, 0, 0, 0xFF, 0, 0, 0}), report.bytes);

    PlayLeftMotor();
    double playStart = NowMs();
    Sleep(300);
    std::vector<PipeReader::Report> playing = Since(reader.Reports(), playStart + 50);
    ASSERT_FALSE(playing.empty());
    for (const PipeReader::Report& report : playing)
        EXPECT_EQ((std::array<BYTE, 9>{0, 2, 8, 0, 255, 0xFF, 0, 0, 0}), report.bytes);

    ReleaseDriver();
    ASSERT_TRUE(reader.WaitForEnd(2000)) << "the device is closed";
    std::vector<PipeReader::Report> all = reader.Reports();
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(255, all[all.size() - 2].bytes[4]) << "playing until the end";
    EXPECT_EQ((std::array<BYTE, 9>{0, 2, 8, 0, 0, 0xFF, 0, 0, 0}), all.back().bytes);
}

TEST_F(RumbleTimerTest, ReleaseWaitsForARunningTickAndNothingFollowsTheStopReport) {
    RecordingPort port;
    port.writeDelayMs = 150;  // every tick is still writing when the driver goes
    ASSERT_EQ(S_OK, driver_->OpenDevice(0, "slow"));
    PlayLeftMotor();
    while (port.Events().size() < 2) Sleep(5);

    ReleaseDriver();
    std::vector<std::string> atRelease = port.Events();
    Sleep(300);
    EXPECT_EQ(atRelease, port.Events()) << "no tick after the driver is gone";
    ASSERT_GE(atRelease.size(), 3u);
    EXPECT_EQ("write 0 0", atRelease[atRelease.size() - 2]);
    EXPECT_EQ("close", atRelease.back());
    EXPECT_EQ("write 0 255", atRelease[atRelease.size() - 3]);
}

namespace {

// Ticks of a 35 ms multimedia timer of the test's own: the yardstick of the driver's tick rate.
class ReferenceTicks {
public:
    ReferenceTicks() {
        timer_ = timeSetEvent(35, 100, &ReferenceTicks::OnTick, reinterpret_cast<DWORD_PTR>(this),
                              TIME_PERIODIC | TIME_CALLBACK_FUNCTION | TIME_KILL_SYNCHRONOUS);
    }
    ~ReferenceTicks() { timeKillEvent(timer_); }

    // Waits for n more ticks.
    void Wait(int n) {
        int until = ticks_ + n;
        while (ticks_ < until) Sleep(1);
    }

private:
    static void CALLBACK OnTick(UINT, UINT, DWORD_PTR self, DWORD_PTR, DWORD_PTR) {
        ++reinterpret_cast<ReferenceTicks*>(self)->ticks_;
    }

    UINT timer_;
    std::atomic<int> ticks_{0};
};

int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {sizeof entry};
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    for (DWORD start = GetTickCount(); !done(); Sleep(2)) {
        if (GetTickCount() - start > timeoutMs) return false;
    }
    return true;
}

int Writes(RecordingPort& port, const std::string& path) {
    std::vector<std::string> events = port.Events(path);
    return static_cast<int>(std::count_if(events.begin(), events.end(),
                                          [](const std::string& e) { return e.rfind("write", 0) == 0; }));
}

// Two joysticks of one game: a driver for each, from a fresh factory each, device 0 playing a
// constant force of 7000 (198 on both motors) and device 1 one of 3500 (99).
class RumbleTwoDriversTest : public ::testing::Test {
protected:
    struct Joystick {
        CMyDIEffectDriver* driver;
        DWORD device;
        std::string path;
        DWORD handle;
        std::string playing;  // its report while the effect plays
    };

    void SetUp() override {
        ASSERT_TRUE(EffectLock::Open());
        RundelTest::SeedAttributes();
        RundelTest::ClearAmplify();
    }

    void TearDown() override {
        for (Joystick& joystick : sticks_) Release(joystick);
    }

    // The effect plays before the device opens, so that every report carries it.
    Joystick& Plug(DWORD device, LONG magnitude, const char* playing) {
        Joystick& joystick = sticks_[device];
        joystick = {NewDriver(), device, "dev" + std::to_string(device) + "." + std::to_string(plugs_++), 0, playing};
        RundelTest::TestEffect effect(1);
        EXPECT_EQ(S_OK, joystick.driver->DownloadEffect(device, 0, &joystick.handle, effect.Constant(magnitude).Get(),
                                                        DIEP_ALLPARAMS | DIEP_START));
        EXPECT_EQ(S_OK, joystick.driver->OpenDevice(device, joystick.path.c_str()));
        return joystick;
    }

    static DWORD Status(const Joystick& joystick) {
        DWORD status = 0xBAD;
        EXPECT_EQ(S_OK, joystick.driver->GetEffectStatus(joystick.device, joystick.handle, &status));
        return status;
    }

    // Waits for n more reports to the device.
    bool MoreReports(const Joystick& joystick, int n) {
        int until = Writes(port_, joystick.path) + n;
        return WaitUntil([&] { return Writes(port_, joystick.path) >= until; });
    }

    static void Release(Joystick& joystick) {
        if (joystick.driver) joystick.driver->Release();
        joystick.driver = nullptr;
    }

    // Every report of a device playing its effect until released: the effect's, then one stop
    // report and the close.
    void ExpectPlayedUntilReleased(const Joystick& joystick) {
        std::vector<std::string> events = port_.Events(joystick.path);
        ASSERT_GE(events.size(), 4u) << joystick.path;
        EXPECT_EQ("open " + joystick.path, events.front());
        for (size_t i = 1; i + 2 < events.size(); ++i) EXPECT_EQ(joystick.playing, events[i]) << joystick.path << i;
        EXPECT_EQ("write 0 0", events[events.size() - 2]) << joystick.path;
        EXPECT_EQ("close", events.back()) << joystick.path;
    }

    // Every report so far the effect's, and the effect still playing.
    void ExpectPlaying(const Joystick& joystick) {
        std::vector<std::string> events = port_.Events(joystick.path);
        ASSERT_GE(events.size(), 2u) << joystick.path;
        for (size_t i = 1; i < events.size(); ++i) EXPECT_EQ(joystick.playing, events[i]) << joystick.path << i;
        EXPECT_EQ(DWORD(DIEGES_PLAYING), Status(joystick)) << joystick.path;
    }

    RecordingPort port_;
    Joystick sticks_[2] = {};
    int plugs_ = 0;
};

}  // namespace

TEST_F(RumbleTwoDriversTest, SecondDriverStartingUpLeavesTheFirstPlaying) {
    Joystick& first = Plug(0, 7000, "write 198 198");
    ASSERT_TRUE(MoreReports(first, 2));
    Joystick& second = Plug(1, 3500, "write 99 99");
    ASSERT_TRUE(MoreReports(second, 3));
    ASSERT_TRUE(MoreReports(first, 3));
    ExpectPlaying(first);
    ExpectPlaying(second);
}

TEST_F(RumbleTwoDriversTest, ReleasingEitherDriverLeavesTheOtherPlaying) {
    for (int released : {0, 1}) {
        Plug(0, 7000, "write 198 198");
        Plug(1, 3500, "write 99 99");
        Joystick &gone = sticks_[released], &kept = sticks_[1 - released];
        ASSERT_TRUE(MoreReports(gone, 2) && MoreReports(kept, 2));

        Release(gone);
        ASSERT_TRUE(MoreReports(kept, 5)) << released;
        ExpectPlayedUntilReleased(gone);
        ExpectPlaying(kept);

        Release(kept);
        ExpectPlayedUntilReleased(kept);
        ExpectPlayedUntilReleased(gone);  // never reopened
        EXPECT_EQ(S_OK, ComServer::CanUnloadNow()) << released;
    }
}

TEST_F(RumbleTwoDriversTest, OneTickServesEveryDeviceAndEndsWithTheLastDriver) {
    const int threads = ThreadCount();  // no timer yet
    {
        ReferenceTicks ticks;
        Joystick& first = Plug(0, 7000, "write 198 198");
        Joystick& second = Plug(1, 3500, "write 99 99");
        ASSERT_TRUE(MoreReports(first, 2) && MoreReports(second, 2));

        const int before[] = {Writes(port_, first.path), Writes(port_, second.path)};
        ticks.Wait(20);
        for (int device : {0, 1}) {
            int reports = Writes(port_, sticks_[device].path) - before[device];
            EXPECT_GE(reports, 16) << device;
            EXPECT_LE(reports, 24) << device << ": one report per tick of 35 ms";
        }

        Release(first);
        ASSERT_TRUE(MoreReports(second, 3)) << "the tick goes on for the other driver";
        Release(second);
        const int readings = port_.Readings();
        ticks.Wait(5);
        EXPECT_EQ(readings, port_.Readings()) << "no tick runs without a driver";
    }
    EXPECT_TRUE(WaitUntil([&] { return ThreadCount() == threads; })) << "the timer thread is gone";
}
