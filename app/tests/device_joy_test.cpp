// The joystick object against the simulated joystick: the search in model-priority order, the
// set-up calls, polling with its responding flag and bounded re-acquisition, and release.
#include <gtest/gtest.h>
#include <utility>
#include <vector>
#include "device/CDirectInputJoy.h"
#include "device/SupportedDevices.h"
#include "support/SimJoystick.h"

namespace {

// Any window handle: the simulator only records it.
const HWND kWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4711));

class DeviceJoyTest : public ::testing::Test {
protected:
    SimJoystick m_sim;
    CDirectInputJoy m_joy;

    // Probes, then polls until the state is read; false if it never is.
    bool ProbeAndRead(SimController& pad)
    {
        return m_joy.Probe(kWindow) && m_joy.Poll() == 1 && m_joy.Poll() == 0 && pad.acquired;
    }
};

TEST_F(DeviceJoyTest, ProbeTakesTheSupportedModelsInPriorityOrder)
{
    using Plugs = std::vector<std::pair<USHORT, USHORT>>;
    struct Case {
        Plugs plugged; // in enumeration order
        USHORT found;  // product id, 0 for none
    } cases[] = {
        {{{0x2E7A, 6840}}, 6840},
        {{{0x2E7A, 6840}, {0x2E7A, 6891}}, 6891},
        {{{0x2E7A, 6891}, {0x2E7A, 6840}}, 6891},
        {{{0x2E7A, 6852}, {0x2E7A, 6867}}, 6867},
        {{{0x2E7A, 6840}, {0x2E7A, 6852}}, 6852},
        {{{0x045E, 6891}}, 0},
        {{{0x2E7A, 1234}, {0x045E, 0x028E}}, 0},
        {{}, 0},
    };
    for (const Case& c : cases) {
        SimJoystick sim;
        std::vector<SimController*> pads;
        for (const auto& ids : c.plugged)
            pads.push_back(&sim.Plug(ids.first, ids.second));
        CDirectInputJoy joy;
        EXPECT_EQ(c.found != 0, joy.Probe(kWindow)) << c.found;
        EXPECT_EQ(c.found != 0, joy.HasDevice()) << c.found;
        EXPECT_EQ(c.found ? kSupportedVendorId : 0, joy.VendorId());
        EXPECT_EQ(c.found, joy.ProductId());
        // Only the chosen controller stays open, with one DirectInput object.
        EXPECT_EQ(c.found ? 1 : 0, sim.LiveInputs()) << c.found;
        for (SimController* pad : pads) {
            bool chosen = c.found && pad->vendorId == kSupportedVendorId && pad->productId == c.found;
            EXPECT_EQ(chosen ? 1 : 0, pad->liveObjects) << pad->productId;
            EXPECT_EQ(chosen, pad->dataFormatSet) << pad->productId;
        }
        joy.Release();
    }
}

TEST_F(DeviceJoyTest, FindPassesOverControllersItCannotIdentify)
{
    struct Case {
        const char* what;
        void (*spoil)(SimController&);
    } cases[] = {
        {"ids unreadable", [](SimController& pad) { pad.vidPidUnreadable = true; }},
        {"joystick id unreadable", [](SimController& pad) { pad.joystickIdUnreadable = true; }},
        {"device not created", [](SimController& pad) { pad.createFails = true; }},
    };
    for (const Case& c : cases) {
        SimJoystick sim;
        SimController& spoilt = sim.Plug(0x2E7A, 6891);
        c.spoil(spoilt);
        CDirectInputJoy joy;
        EXPECT_FALSE(joy.Find(0x2E7A, 6891)) << c.what;
        EXPECT_EQ(0, sim.LiveInputs()) << c.what;

        SimController& good = sim.Plug(0x2E7A, 6891);
        EXPECT_TRUE(joy.Find(0x2E7A, 6891)) << c.what;
        EXPECT_EQ(0, spoilt.liveObjects) << c.what;
        EXPECT_EQ(1, good.liveObjects) << c.what;
        joy.Release();
    }
}

TEST_F(DeviceJoyTest, FindFailsCleanlyWithoutDirectInputOrEnumeration)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    m_sim.SetInputFails(true);
    EXPECT_FALSE(m_joy.Find(0x2E7A, 6891));
    EXPECT_FALSE(m_joy.HasDevice());
    m_sim.SetInputFails(false);

    m_sim.SetEnumerationFails(true);
    EXPECT_FALSE(m_joy.Find(0x2E7A, 6891));
    EXPECT_FALSE(m_joy.HasDevice());
    EXPECT_EQ(0, m_joy.ProductId());
    EXPECT_EQ(0, m_sim.LiveInputs());
    EXPECT_EQ(0, pad.liveObjects);
}

TEST_F(DeviceJoyTest, FindReleasesTheEarlierDirectInputObjectAndDevice)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    ASSERT_TRUE(ProbeAndRead(pad));
    ASSERT_TRUE(m_joy.Find(0x2E7A, 6891));
    EXPECT_EQ(1, m_sim.LiveInputs());
    EXPECT_EQ(2, m_sim.InputsCreated());
    EXPECT_EQ(1, pad.liveObjects);
    EXPECT_FALSE(pad.acquired);

    EXPECT_FALSE(m_joy.Find(0x2E7A, 6840));
    EXPECT_FALSE(m_joy.HasDevice());
    EXPECT_EQ(0, m_joy.VendorId());
    EXPECT_EQ(0, m_sim.LiveInputs());
    EXPECT_EQ(0, pad.liveObjects);
}

TEST_F(DeviceJoyTest, SetUpAsksTheFormatTheLevelAndTheDeadZones)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6852);
    ASSERT_TRUE(m_joy.Probe(kWindow));
    EXPECT_TRUE(pad.dataFormatSet);
    EXPECT_EQ(kWindow, pad.cooperativeWindow);
    EXPECT_EQ(9u, pad.cooperativeFlags);
    std::vector<std::pair<DWORD, DWORD>> deadZones = {{0, 500}, {4, 500}, {8, 500}, {20, 500}};
    EXPECT_EQ(deadZones, pad.deadZones);
}

TEST_F(DeviceJoyTest, RefusedSetUpKeepsTheDeviceWhosePollsThenFail)
{
    struct Case {
        const char* what;
        HRESULT format;
        HRESULT level;
    } cases[] = {
        {"format refused", E_FAIL, S_OK},
        {"level refused", S_OK, E_INVALIDARG},
    };
    for (const Case& c : cases) {
        SimJoystick sim;
        SimController& pad = sim.Plug(0x2E7A, 6891);
        pad.dataFormatResult = c.format;
        pad.cooperativeResult = c.level;
        CDirectInputJoy joy;
        ASSERT_TRUE(joy.Find(0x2E7A, 6891)) << c.what;
        EXPECT_FALSE(joy.SetUp(kWindow)) << c.what;
        EXPECT_TRUE(pad.deadZones.empty()) << c.what;
        EXPECT_TRUE(joy.Probe(kWindow)) << c.what; // found all the same
        EXPECT_TRUE(joy.HasDevice()) << c.what;
        if (FAILED(c.format)) {
            EXPECT_EQ(1, joy.Poll()) << c.what;
            EXPECT_EQ(1, joy.Poll()) << c.what;
            EXPECT_FALSE(joy.Responding()) << c.what;
        }
        joy.Release();
    }
}

TEST_F(DeviceJoyTest, PollReadsTheFedStateAndTracksResponding)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    JoyState first = {};
    first.lX = 123;
    first.rgdwPOV[0] = 9000;
    first.rgbButtons[3] = 0x80;
    JoyState second = first;
    second.lX = -5;
    pad.Feed(first);
    pad.Feed(second);
    ASSERT_TRUE(m_joy.Probe(kWindow));

    EXPECT_EQ(1, m_joy.Poll()); // acquires the fresh device
    EXPECT_FALSE(m_joy.Responding());
    EXPECT_EQ(0, m_joy.Poll());
    EXPECT_TRUE(m_joy.Responding());
    EXPECT_EQ(123, m_joy.State().lX);
    EXPECT_EQ(9000u, m_joy.State().rgdwPOV[0]);
    EXPECT_EQ(0x80, m_joy.State().rgbButtons[3]);
    EXPECT_EQ(0, m_joy.Poll());
    EXPECT_EQ(0, m_joy.Poll());
    EXPECT_EQ(-5, m_joy.State().lX); // the last fed state stays

    pad.FailStateReads(kJoyNotAcquired);
    EXPECT_EQ(kJoyNotAcquired, m_joy.Poll());
    EXPECT_FALSE(m_joy.Responding());
    EXPECT_EQ(-5, m_joy.State().lX);
    EXPECT_EQ(0, m_joy.Poll());
    EXPECT_TRUE(m_joy.Responding());
}

TEST_F(DeviceJoyTest, InputLossReacquiresAFewTimesPerPoll)
{
    struct Case {
        int lostAcquisitions; // -1: the input never comes back
        int acquireCalls;
        bool readNext;        // whether the following poll reads the state
    } cases[] = {
        {0, 1, true},
        {1, 2, true},
        {2, 3, true},
        {-1, CDirectInputJoy::kAcquireAttempts, false},
    };
    for (const Case& c : cases) {
        SimJoystick sim;
        SimController& pad = sim.Plug(0x2E7A, 6891);
        CDirectInputJoy joy;
        ASSERT_TRUE(joy.Probe(kWindow));
        ASSERT_EQ(1, joy.Poll());
        ASSERT_EQ(0, joy.Poll());
        pad.FailPolls(kJoyInputLost);
        pad.FailAcquires(kJoyInputLost, c.lostAcquisitions);
        int acquires = pad.acquires;
        EXPECT_EQ(1, joy.Poll()) << c.lostAcquisitions;
        EXPECT_EQ(c.acquireCalls, pad.acquires - acquires) << c.lostAcquisitions;
        EXPECT_FALSE(joy.Responding()) << c.lostAcquisitions;
        EXPECT_EQ(c.readNext ? 0 : 1, joy.Poll()) << c.lostAcquisitions;
        EXPECT_EQ(c.readNext, joy.Responding()) << c.lostAcquisitions;
        joy.Release();
    }
}

TEST_F(DeviceJoyTest, WithoutADevicePollAnswersOneAndKeepsTheFlag)
{
    EXPECT_EQ(1, m_joy.Poll());
    EXPECT_FALSE(m_joy.Responding());

    SimController& pad = m_sim.Plug(0x2E7A, 6867);
    ASSERT_TRUE(ProbeAndRead(pad));
    ASSERT_TRUE(m_joy.Responding());
    int polls = pad.polls;
    m_joy.Release();
    EXPECT_EQ(1, m_joy.Poll());
    EXPECT_TRUE(m_joy.Responding());
    EXPECT_EQ(polls, pad.polls);
    // The ids stay until the next search.
    EXPECT_EQ(6867, m_joy.ProductId());
}

TEST_F(DeviceJoyTest, UnpluggedDeviceStopsResponding)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6840);
    ASSERT_TRUE(ProbeAndRead(pad));
    m_sim.Unplug(pad);
    EXPECT_EQ(1, m_joy.Poll());
    EXPECT_FALSE(m_joy.Responding());
    EXPECT_TRUE(m_joy.HasDevice()); // until a notice makes it search again
    EXPECT_FALSE(m_joy.Probe(kWindow));
    EXPECT_FALSE(m_joy.HasDevice());
    EXPECT_EQ(0, pad.liveObjects);
}

TEST_F(DeviceJoyTest, InterfacePathOfTheCurrentDevice)
{
    std::wstring path;
    EXPECT_FALSE(m_joy.InterfacePath(path));
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    ASSERT_TRUE(m_joy.Probe(kWindow));
    ASSERT_TRUE(m_joy.InterfacePath(path));
    EXPECT_EQ(pad.path, path);
    pad.pathUnreadable = true;
    EXPECT_FALSE(m_joy.InterfacePath(path));
}

TEST_F(DeviceJoyTest, ShutdownUnacquiresAndReleasesEverything)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    ASSERT_TRUE(ProbeAndRead(pad));
    m_joy.Shutdown();
    EXPECT_FALSE(m_joy.HasDevice());
    EXPECT_FALSE(pad.acquired);
    EXPECT_EQ(0, pad.liveObjects);
    EXPECT_EQ(0, m_sim.LiveInputs());
}

} // namespace
