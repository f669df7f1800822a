// The rumble tick against a recording port with a test clock: the exact report bytes of the
// force formulas, iterations, long plays, saturation, and the device's open, write and close.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "DeviceTable.h"
#include "EffectLock.h"
#include "RecordingPort.h"
#include "RumbleTick.h"
#include "RundelTestSupport.h"

using RundelTest::kAxisX;
using RundelTest::kAxisY;
using RundelTest::TestEffect;

namespace {

enum : DWORD { kConstant = 0, kRamp, kSquare, kSine, kTriangle, kSawtoothUp, kSawtoothDown, kSpring, kCustom = 11 };
constexpr DWORD kSecond = 1000000;  // microseconds

class RumbleTickTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(EffectLock::Open());
        RundelTest::ClearAmplify();
        Fresh();
    }

    void TearDown() override {
        table_.Shutdown(kOther);
        table_.Shutdown(this);
        table_.Reset();
        RundelTest::ClearAmplify();
    }

    // An empty table with device 0 open on "dev0" for this test.
    void Fresh() {
        table_.Shutdown(this);
        table_.Reset();
        ASSERT_EQ(S_OK, table_.Open(0, "dev0", this));
    }

    DWORD Play(TestEffect& effect, DWORD effectId, DWORD count = 1, DWORD device = 0) {
        DWORD handle = 0;
        EXPECT_EQ(S_OK, table_.Download(device, effectId, &handle, effect.Get(), DIEP_ALLPARAMS));
        EXPECT_EQ(S_OK, table_.Start(device, handle, 0, count));
        return handle;
    }

    RecordingPort::Report TickAfter(ULONGLONG ms) {
        port_.now += ms;
        RumbleTick::Run();
        std::vector<RecordingPort::Report> reports = port_.Reports();
        return reports.empty() ? RecordingPort::Report{} : reports.back();
    }

    RecordingPort port_;
    DeviceTable& table_ = DeviceTable::Instance();
    // Another driver of the process.
    const void* const kOther = &port_;
};

std::string Motors(const RecordingPort::Report& report) {
    return std::to_string(report[3]) + "/" + std::to_string(report[4]);  // right/left
}

}  // namespace

TEST_F(RumbleTickTest, ReportBytesFollowTheForceFormulas) {
    struct Case {
        const char* name;
        DWORD effectId;
        std::function<void(TestEffect&)> build;
        DWORD axes;
        DWORD amplify;  // 0: no registry value (1000)
        DWORD deviceGain;
        ULONGLONG elapsedMs;
        const char* motors;  // right/left
    } cases[] = {
        {"constant, two axes: no maximum, left saturates", kConstant, [](TestEffect& e) { e.Constant(10000); }, 2, 0,
         10000, 0, "0/255"},
        {"constant at half gain", kConstant, [](TestEffect& e) { e.Constant(10000).Gain(5000); }, 2, 0, 10000, 0,
         "0/141"},
        {"square takes the larger motor", kSquare, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond).Gain(5000); },
         2, 0, 10000, 0, "127/127"},
        {"square at full strength", kSquare, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 2, 0, 10000, 0,
         "255/255"},
        {"one axis drives both motors", kConstant, [](TestEffect& e) { e.Constant(10000).Gain(9000); }, 1, 0, 10000, 0,
         "255/255"},
        {"Amplify 500 halves", kConstant, [](TestEffect& e) { e.Constant(10000).Gain(9000); }, 1, 500, 10000, 0,
         "127/127"},
        {"device gain 0 silences", kSquare, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 2, 0, 0, 0, "0/0"},
        {"device gain halves", kConstant, [](TestEffect& e) { e.Constant(10000).Gain(9000); }, 1, 0, 5000, 0,
         "127/127"},
        {"ramp at half its duration", kRamp, [](TestEffect& e) { e.Ramp(0, 10000).Duration(kSecond); }, 1, 0, 10000,
         500, "127/127"},
        {"ramp without end stays at its start", kRamp, [](TestEffect& e) { e.Ramp(2000, 10000); }, 1, 0, 10000, 500,
         "51/51"},
        {"triangle, quarter period", kTriangle, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0, 10000,
         250, "127/127"},
        {"triangle, half period", kTriangle, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0, 10000,
         500, "255/255"},
        {"triangle, three quarters", kTriangle, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0, 10000,
         750, "127/127"},
        {"triangle, full period", kTriangle, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0, 10000,
         1000, "0/0"},
        {"sawtooth up", kSawtoothUp, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0, 10000, 250,
         "63/63"},
        {"sawtooth down", kSawtoothDown, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0, 10000, 250,
         "191/191"},
        {"sine, magnitude 20", kSine, [](TestEffect& e) { e.Periodic(20, 0, 0, kSecond); }, 1, 0, 10000, 300,
         "51/51"},
        {"square, offset in the low half", kSquare, [](TestEffect& e) { e.Periodic(10000, 5000, 0, kSecond); }, 1, 0,
         10000, 600, "127/127"},
        {"square, phase three quarters", kSquare, [](TestEffect& e) { e.Periodic(10000, 0, 27000, kSecond); }, 1, 0,
         10000, 0, "0/0"},
        {"attack envelope", kConstant,
         [](TestEffect& e) { e.Constant(9000).Gain(9000).Envelope(0, kSecond, 0, 0); }, 1, 0, 10000, 250, "57/57"},
        {"fade envelope", kConstant,
         [](TestEffect& e) { e.Constant(9000).Gain(9000).Duration(2 * kSecond).Envelope(0, 0, 0, kSecond); }, 1, 0,
         10000, 1500, "114/114"},
        {"cartesian direction (3, 4)", kConstant,
         [](TestEffect& e) { e.Constant(10000).Gain(9000).Directions(3, 4); }, 2, 0, 10000, 0, "204/153"},
        {"cartesian direction at its ends", kConstant,
         [](TestEffect& e) { e.Constant(10000).Gain(9000).Directions(LONG_MIN, LONG_MIN); }, 2, 0, 10000, 0,
         "180/180"},
        {"axes given Y first", kConstant,
         [](TestEffect& e) { e.Constant(10000).Gain(9000).Directions(3, 4).Axes(kAxisY, kAxisX); }, 2, 0, 10000, 0,
         "153/204"},
        {"square on (3, 4) takes the larger", kSquare,
         [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond).Gain(5000).Directions(3, 4); }, 2, 0, 10000, 0,
         "102/102"},
        {"polar, 60 degrees", kConstant,
         [](TestEffect& e) { e.Constant(10000).Gain(9000).Flags(DIEFF_POLAR).Directions(60); }, 1, 0, 10000, 0,
         "127/127"},
        {"negative total is full strength", kConstant,
         [](TestEffect& e) { e.Constant(-10000).Gain(9000).Flags(DIEFF_POLAR).Directions(0); }, 1, 0, 10000, 0,
         "255/255"},
        {"cartesian with the object-offset bit", kConstant,
         [](TestEffect& e) { e.Constant(10000).Flags(DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS); }, 2, 0, 10000, 0,
         "0/255"},
        {"spherical directions give no rumble", kConstant,
         [](TestEffect& e) { e.Constant(10000).Flags(DIEFF_SPHERICAL); }, 2, 0, 10000, 0, "0/0"},
        {"conditions give no rumble", kSpring, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0, 10000,
         0, "0/0"},
        {"custom forces give no rumble", kCustom, [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond); }, 1, 0,
         10000, 0, "0/0"},
        {"type-specific block too small for a periodic", kSquare,
         [](TestEffect& e) { e.Periodic(10000, 0, 0, kSecond).TypeSpecificSize(8); }, 1, 0, 10000, 0, "0/0"},
    };
    for (const Case& c : cases) {
        Fresh();
        if (c.amplify)
            RundelTest::SetAmplify(c.amplify);
        else
            RundelTest::ClearAmplify();
        table_.SetGain(0, c.deviceGain);
        TestEffect effect(c.axes);
        c.build(effect);
        Play(effect, c.effectId);
        RecordingPort::Report report = TickAfter(c.elapsedMs);
        EXPECT_EQ(c.motors, Motors(report)) << c.name;
        EXPECT_EQ((RecordingPort::Report{0, 0x02, 0x08, report[3], report[4], 0xFF, 0, 0, 0}), report) << c.name;
    }
}

TEST_F(RumbleTickTest, ReportCarriesTheDeviceOutputReportId) {
    table_.Record(0).reportId = 0x21;
    TestEffect effect;
    Play(effect.Constant(10000).Directions(0, 1), kConstant);
    EXPECT_EQ((RecordingPort::Report{0x21, 0x02, 0x08, 255, 0, 0xFF, 0, 0, 0}), TickAfter(35));
}

TEST_F(RumbleTickTest, IdleDeviceGetsZerosEveryTickAndClosedOnesNothing) {
    for (int i = 0; i < 3; ++i) EXPECT_EQ((RecordingPort::Report{0, 2, 8, 0, 0, 0xFF, 0, 0, 0}), TickAfter(35));
    EXPECT_EQ(3u, port_.Reports().size()) << "only device 0 is open";
}

TEST_F(RumbleTickTest, IterationsEndThePlay) {
    TestEffect effect(1);
    DWORD handle = Play(effect.Constant(10000).Gain(9000).Duration(kSecond), kConstant, 2);
    ULONGLONG played = 0;
    while (played < 5000) {
        RecordingPort::Report report = TickAfter(35);
        played += 35;
        DWORD status = 0;
        table_.Status(0, handle, &status);
        if (status != DIEGES_PLAYING) {
            EXPECT_EQ("0/0", Motors(report));
            break;
        }
        EXPECT_EQ("255/255", Motors(report)) << played;
    }
    EXPECT_GE(played, 2000u);
    EXPECT_LE(played, 2100u);
}

TEST_F(RumbleTickTest, EndlessEffectKeepsItsTimeAfterSeventyTwoMinutes) {
    // A one-second attack from 0: had the microseconds wrapped at 2^32, this would be early attack.
    TestEffect effect(1);
    Play(effect.Constant(10000).Gain(9000).Envelope(0, kSecond, 0, 0), kConstant);
    EXPECT_EQ("255/255", Motors(TickAfter(4295000)));
}

TEST_F(RumbleTickTest, ThirtyTwoStrongEffectsSaturateInsteadOfWrapping) {
    // Each effect gives 2^27 + 1, so 32 of them sum to 2^32 + 32.
    RundelTest::SetAmplify(526344036);
    for (int i = 0; i < 32; ++i) {
        TestEffect effect(1);
        Play(effect.Constant(10000).Gain(9000), kConstant);
    }
    EXPECT_EQ("255/255", Motors(TickAfter(35)));
}

TEST_F(RumbleTickTest, StoppedAndDestroyedEffectsAddNothing) {
    TestEffect effect(1);
    DWORD first = Play(effect.Constant(10000).Gain(2000), kConstant);
    DWORD second = Play(effect, kConstant);
    EXPECT_EQ("112/112", Motors(TickAfter(35)));  // 56 each
    table_.Stop(0, first);
    EXPECT_EQ("56/56", Motors(TickAfter(35)));
    table_.Destroy(0, second);
    EXPECT_EQ("0/0", Motors(TickAfter(35)));
}

TEST_F(RumbleTickTest, DisconnectedWriteClosesTheDeviceAndTheNextTickReopensIt) {
    TickAfter(35);
    port_.nextWriteError = ERROR_GEN_FAILURE;  // other errors keep the handle
    TickAfter(35);
    port_.nextWriteError = ERROR_DEVICE_NOT_CONNECTED;
    TickAfter(35);
    port_.refuseOpen = true;
    TickAfter(35);  // retried, still absent
    port_.refuseOpen = false;
    TickAfter(35);
    std::vector<std::string> expected = {"open dev0", "write 0 0", "write 0 0", "write 0 0", "close",
                                         "open dev0", "open dev0", "write 0 0"};
    EXPECT_EQ(expected, port_.Events());
}

TEST_F(RumbleTickTest, OpeningAgainClosesThePreviousHandle) {
    EXPECT_EQ(S_OK, table_.Open(0, "dev0", this));
    port_.refuseOpen = true;
    HRESULT absent = table_.Open(0, "gone", this);
    EXPECT_TRUE(FAILED(absent));
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED), absent);
    EXPECT_EQ(E_INVALIDARG, table_.Open(0, std::string(kPathLength, 'p').c_str(), this));
    TickAfter(35);  // the device is closed: nothing is sent or reopened
    std::vector<std::string> expected = {"open dev0", "close", "open dev0", "close", "open gone"};
    EXPECT_EQ(expected, port_.Events());
}

TEST_F(RumbleTickTest, ShutdownDestroysPlayingEffectsAndSendsTheStopReport) {
    TestEffect effect(1);
    DWORD playing = Play(effect.Constant(10000).Gain(9000), kConstant);
    DWORD idle = Play(effect, kConstant);
    table_.Stop(0, idle);
    TickAfter(35);
    table_.Shutdown(this);
    TickAfter(35);  // the device was let go: the tick neither reopens nor writes it
    std::vector<std::string> events = port_.Events();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ("write 255 255", events[events.size() - 3]);
    EXPECT_EQ("write 0 0", events[events.size() - 2]);
    EXPECT_EQ("close", events.back());
    DWORD status;
    EXPECT_EQ(S_OK, table_.Status(0, playing, &status));
    EXPECT_EQ(E_INVALIDARG, table_.Start(0, playing, 0, 1)) << "destroyed";
    EXPECT_EQ(S_OK, table_.Start(0, idle, 0, 1)) << "stopped effects stay downloaded";
}

TEST_F(RumbleTickTest, DriversResetAndShutDownOnlyTheDevicesTheyOpened) {
    ASSERT_EQ(S_OK, table_.Open(1, "dev1", kOther));
    TestEffect mine(1), theirs(1);
    DWORD playing = Play(mine.Constant(7000), kConstant);
    DWORD other = Play(theirs.Constant(3500), kConstant, 1, 1);
    table_.Reset();  // another driver starting up
    TickAfter(35);
    table_.Shutdown(kOther);
    TickAfter(35);

    std::vector<std::string> expected0 = {"open dev0", "write 198 198", "write 198 198"};
    EXPECT_EQ(expected0, port_.Events("dev0"));
    std::vector<std::string> expected1 = {"open dev1", "write 99 99", "write 0 0", "close"};
    EXPECT_EQ(expected1, port_.Events("dev1"));
    DWORD status = 0;
    EXPECT_EQ(S_OK, table_.Status(0, playing, &status));
    EXPECT_EQ(DWORD(DIEGES_PLAYING), status);
    EXPECT_EQ(S_OK, table_.Status(1, other, &status));
    EXPECT_EQ(0u, status);
}
