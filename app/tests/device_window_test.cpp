// The real message-only window with a plain owner window: the 33 ms poll ticks with and without
// a device, none while a device notice is handled, real WM_DEVICECHANGE messages that re-probe
// only for the supported models' first interface, malformed notices, and its end.
#include <gtest/gtest.h>
#include <windows.h>
#include <dbt.h>
#include <cstddef>
#include <memory>
#include <vector>
#include "core/SSimpleWnd.h"
#include "device/CHidDirectInputWnd.h"
#include "support/DeviceNotice.h"
#include "support/SimJoystick.h"

using SKEIN::CSimpleWnd;
using SKEIN::CSimpleWndHelper;

namespace {

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD ms)
{
    ULONGLONG end = ::GetTickCount64() + ms;
    while (::GetTickCount64() < end) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        Pump();
    }
}

// The main window's part: records the two messages, and what the joystick held at each change.
class OwnerWnd : public CSimpleWnd {
public:
    struct Change {
        bool device;
        USHORT product;
    };

    BOOL HandleWindowMessage(HWND, UINT msg, WPARAM, LPARAM, LRESULT& result, DWORD) override
    {
        result = 0;
        if (msg == CHidDirectInputWnd::kMsgPolled) {
            ticks.push_back(::GetTickCount64());
            return TRUE;
        }
        if (msg == CHidDirectInputWnd::kMsgDeviceChanged) {
            changes.push_back({joy->HasDevice(), joy->ProductId()});
            if (nestedLoopMs) {
                // As a message box would: a nested loop while the notice is handled.
                size_t before = ticks.size();
                PumpFor(nestedLoopMs);
                ticksInside = static_cast<int>(ticks.size() - before);
            }
            return TRUE;
        }
        return FALSE;
    }

    CDirectInputJoy* joy = nullptr;
    std::vector<ULONGLONG> ticks;
    std::vector<Change> changes;
    DWORD nestedLoopMs = 0;
    int ticksInside = -1;
};

class DeviceWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_owner.CreateNative(L"owner", 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr));
        m_owner.joy = &m_joy;
    }
    void TearDown() override
    {
        if (m_window)
            m_window->Destroy();
        m_owner.DestroyWindow();
        m_joy.Shutdown();
    }

    void Open()
    {
        m_window = CHidDirectInputWnd::Create(m_owner.Handle(), m_joy);
        ASSERT_NE(nullptr, m_window);
    }
    // Sends a notice to the window (its answer must be TRUE) and reports the owner's changes.
    size_t Notify(WPARAM event, const std::wstring& name)
    {
        EXPECT_EQ(TRUE, SendInterfaceNotice(m_window->Handle(), event, name));
        return m_owner.changes.size();
    }

    CSimpleWndHelper m_helper{::GetModuleHandleW(nullptr), L"SKEINHOST", FALSE};
    SimJoystick m_sim;
    CDirectInputJoy m_joy;
    OwnerWnd m_owner;
    CHidDirectInputWnd* m_window = nullptr;
};

TEST_F(DeviceWindowTest, IsAMessageOnlyWindowThatProbesWhenCreated)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6867);
    Open();
    EXPECT_EQ(m_window->Handle(), ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, L"QM_HidDirectInput_msg_windows"));
    EXPECT_TRUE(m_joy.HasDevice());
    EXPECT_EQ(6867, m_joy.ProductId());
    EXPECT_EQ(m_window->Handle(), pad.cooperativeWindow);
    EXPECT_TRUE(m_owner.changes.empty()); // the main window runs its own first detection
}

TEST_F(DeviceWindowTest, PostsAPollTickAbout30TimesASecondWithOrWithoutADevice)
{
    for (bool device : {true, false}) {
        SimJoystick sim;
        SimController* pad = device ? &sim.Plug(0x2E7A, 6891) : nullptr;
        Open();
        m_owner.ticks.clear();
        PumpFor(700);
        const std::vector<ULONGLONG>& ticks = m_owner.ticks;
        ASSERT_GE(ticks.size(), 10u) << device;
        EXPECT_LE(ticks.size(), 24u) << device;
        double mean = double(ticks.back() - ticks.front()) / double(ticks.size() - 1);
        EXPECT_GT(mean, 25.0) << device;
        EXPECT_LT(mean, 60.0) << device;
        if (pad) {
            EXPECT_GE(pad->polls, static_cast<int>(ticks.size()));
            EXPECT_TRUE(m_joy.Responding());
        }
        m_window->Destroy();
        m_window = nullptr;
        m_joy.Release();
    }
}

TEST_F(DeviceWindowTest, NoTicksWhileANoticeIsHandled)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    Open();
    PumpFor(100);
    ASSERT_FALSE(m_owner.ticks.empty());
    m_owner.nestedLoopMs = 250;
    Pump(); // nothing pending: every tick from now on comes from a timer message
    int polls = pad.polls;
    ASSERT_EQ(1u, Notify(DBT_DEVICEARRIVAL, pad.path));
    EXPECT_EQ(0, m_owner.ticksInside);
    EXPECT_EQ(polls, pad.polls);
    m_owner.nestedLoopMs = 0;
    size_t ticks = m_owner.ticks.size();
    PumpFor(150);
    EXPECT_GT(m_owner.ticks.size(), ticks);
}

TEST_F(DeviceWindowTest, NoticesReprobeOnlyForTheSupportedModelsFirstInterface)
{
    m_sim.Plug(0x2E7A, 6852);
    Open();
    const wchar_t kTail[] = L"#7&2a6b1c3&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    struct Case {
        WPARAM event;
        std::wstring name;
        bool reprobes;
    } cases[] = {
        {DBT_DEVICEARRIVAL, std::wstring(L"\\\\?\\HID#VID_2E7A&PID_1AEB&MI_00") + kTail, true},
        {DBT_DEVICEREMOVECOMPLETE, std::wstring(L"\\\\?\\hid#vid_2e7a&pid_1ab8&mi_00") + kTail, true},
        {DBT_DEVICEARRIVAL, std::wstring(L"\\\\?\\HID#VID_2E7A&PID_1AEB&MI_01") + kTail, false},
        {DBT_DEVICEARRIVAL, std::wstring(L"\\\\?\\HID#VID_045E&PID_028E&MI_00") + kTail, false},
        {DBT_DEVICEREMOVECOMPLETE, std::wstring(L"\\\\?\\HID#VID_845E&PID_0001") + kTail, false},
        {DBT_DEVICEQUERYREMOVE, std::wstring(L"\\\\?\\HID#VID_2E7A&PID_1AEB&MI_00") + kTail, false},
        {DBT_DEVICEREMOVEPENDING, std::wstring(L"\\\\?\\HID#VID_2E7A&PID_1AEB&MI_00") + kTail, false},
    };
    for (const Case& c : cases) {
        size_t changes = m_owner.changes.size();
        int searches = m_sim.InputsCreated();
        EXPECT_EQ(changes + (c.reprobes ? 1 : 0), Notify(c.event, c.name)) << c.event;
        EXPECT_EQ(searches + (c.reprobes ? 3 : 0), m_sim.InputsCreated()) << c.event; // 6891, 6867, 6852
        EXPECT_TRUE(m_joy.HasDevice()) << c.event;
    }
}

TEST_F(DeviceWindowTest, MalformedNoticesAreIgnored)
{
    SimController& pad = m_sim.Plug(0x2E7A, 6891);
    Open();
    const DWORD nameOffset = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name);
    const DWORD fullSize = static_cast<DWORD>(InterfaceNotice(pad.path).size());
    struct Case {
        const char* what;
        DWORD type;
        DWORD size;
    } cases[] = {
        {"port notice", DBT_DEVTYP_PORT, fullSize},
        {"short size", DBT_DEVTYP_DEVICEINTERFACE, nameOffset},
        {"no terminator within the size", DBT_DEVTYP_DEVICEINTERFACE, fullSize - DWORD(sizeof(wchar_t))},
    };
    for (const Case& c : cases) {
        std::vector<BYTE> notice = InterfaceNotice(pad.path);
        auto* header = reinterpret_cast<DEV_BROADCAST_HDR*>(notice.data());
        header->dbch_devicetype = c.type;
        header->dbch_size = c.size;
        EXPECT_EQ(TRUE, ::SendMessageW(m_window->Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL,
                                       reinterpret_cast<LPARAM>(notice.data())))
            << c.what;
    }
    EXPECT_EQ(TRUE, ::SendMessageW(m_window->Handle(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0));
    EXPECT_EQ(TRUE, ::SendMessageW(m_window->Handle(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, 0));
    EXPECT_EQ(TRUE, ::SendMessageW(m_window->Handle(), WM_DEVICECHANGE, DBT_DEVNODES_CHANGED, 0));
    EXPECT_TRUE(m_owner.changes.empty());
    EXPECT_EQ(1, m_sim.InputsCreated());
}

TEST_F(DeviceWindowTest, PluggingAndUnpluggingFollowModelPriority)
{
    SimController& older = m_sim.Plug(0x2E7A, 6840);
    Open();
    ASSERT_EQ(6840, m_joy.ProductId());

    SimController& newer = m_sim.Plug(0x2E7A, 6891);
    ASSERT_EQ(1u, Notify(DBT_DEVICEARRIVAL, newer.path));
    EXPECT_EQ(6891, m_owner.changes.back().product);

    SimController& another = m_sim.Plug(0x2E7A, 6840);
    ASSERT_EQ(2u, Notify(DBT_DEVICEARRIVAL, another.path));
    EXPECT_EQ(6891, m_owner.changes.back().product); // a 6840 replaces nothing

    m_sim.Unplug(newer);
    ASSERT_EQ(3u, Notify(DBT_DEVICEREMOVECOMPLETE, newer.path));
    EXPECT_EQ(6840, m_owner.changes.back().product);
    EXPECT_EQ(1, older.liveObjects); // the first one attached wins among equals

    m_sim.Unplug(older);
    m_sim.Unplug(another);
    ASSERT_EQ(4u, Notify(DBT_DEVICEREMOVECOMPLETE, older.path));
    EXPECT_FALSE(m_owner.changes.back().device);
    EXPECT_EQ(0, m_sim.LiveInputs());
}

TEST_F(DeviceWindowTest, DestroyEndsTheWindowAndItsTicks)
{
    m_sim.Plug(0x2E7A, 6891);
    Open();
    HWND hwnd = m_window->Handle();
    PumpFor(100);
    m_window->Destroy();
    m_window = nullptr;
    EXPECT_FALSE(::IsWindow(hwnd));
    Pump();
    m_owner.ticks.clear();
    PumpFor(150);
    EXPECT_TRUE(m_owner.ticks.empty());
    EXPECT_TRUE(m_joy.HasDevice()); // the program releases the joystick at exit
}

} // namespace
