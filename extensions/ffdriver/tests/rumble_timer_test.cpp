// The driver with its real 35 ms multimedia timer: reports read from a named pipe that stands in
// for the device, and the end of a driver while a tick is running.
#include <gtest/gtest.h>

#include <array>
#include <mutex>
#include <string>
#include <vector>

#include "CEffectDriverFactory.h"
#include "CMyDIEffectDriver.h"
#include "EffectLock.h"
#include "RecordingPort.h"
#include "RundelTestSupport.h"

namespace {

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
        CMyIClassFactory* factory = CEffectDriverFactory::Create();
        IDirectInputEffectDriver* driver = nullptr;
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IDirectInputEffectDriver, reinterpret_cast<void**>(&driver)));
        factory->Release();
        driver_ = static_cast<CMyDIEffectDriver*>(driver);
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
