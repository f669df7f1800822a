// The real device access under Wine: DirectInput finds no joystick, the HID walk sees only
// Wine's own devices and frees what it opens, and a real overlapped channel (on a named pipe
// standing in for a device that may not answer) completes, times out, stops, and is drained.
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <thread>
#include "device/CDirectInputJoy.h"
#include "device/DeviceAccess.h"
#include "device/SecondDevice.h"

namespace {

const GUID kHidClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

// The process's open handles, counted by probing the handle values (Wine does not answer
// GetProcessHandleCount).
int HandleCount()
{
    const UINT_PTR kHighestProbed = 0x10000;
    int count = 0;
    DWORD flags;
    for (UINT_PTR value = 4; value < kHighestProbed; value += 4)
        count += ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
    return count;
}

TEST(DeviceWin32Test, DirectInputFindsNoJoystick)
{
    std::unique_ptr<IGameInput> input = DeviceAccess().CreateInput();
    ASSERT_NE(nullptr, input);
    int attached = 0;
    EXPECT_TRUE(input->EnumAttached([&](const GUID&) { return ++attached, true; }));
    EXPECT_EQ(0, attached);
    input.reset();

    CDirectInputJoy joy;
    EXPECT_FALSE(joy.Probe(nullptr));
    EXPECT_FALSE(joy.HasDevice());
    EXPECT_EQ(1, joy.Poll());
    std::wstring path;
    EXPECT_FALSE(joy.InterfacePath(path));
    joy.Shutdown();
}

TEST(DeviceWin32Test, HidWalkSeesOnlyOtherDevicesAndLeaksNothing)
{
    EXPECT_TRUE(IsEqualGUID(kHidClass, DeviceAccess().HidInterfaceClass()));
    int seen = 0;
    DeviceAccess().EnumPresentHid([&](const HidInterfaceInfo& info) {
        ++seen;
        EXPECT_FALSE(info.path.empty());
        EXPECT_NE(0x2E7A, info.vendorId);
        EXPECT_FALSE(IsSecondDevice(info));
        return true;
    });
    // Warm up, then the same walks must not leave handles behind.
    LookUpSecondDevice();
    int before = HandleCount();
    for (int i = 0; i < 20; ++i)
        LookUpSecondDevice();
    EXPECT_EQ(before, HandleCount());
    EXPECT_TRUE(SecondDevicePath().empty());
    std::printf("present HID interfaces: %d\n", seen);
}

TEST(DeviceWin32Test, OpeningAMissingDeviceGivesNoChannel)
{
    int before = HandleCount();
    EXPECT_EQ(nullptr, DeviceAccess().OpenHid(L"\\\\?\\hid#vid_2e7a&pid_1aeb&mi_00#none", false));
    EXPECT_EQ(nullptr, DeviceAccess().OpenHid(L"", true));
    EXPECT_EQ(before, HandleCount());
}

// A named pipe nobody reads until told to: writes to it stay pending like writes to a device
// that does not answer.
class PipeDevice {
public:
    PipeDevice()
        : m_name(L"\\\\.\\pipe\\corvane-device-test-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                 std::to_wstring(++s_count)),
          m_pipe(::CreateNamedPipeW(m_name.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0, 0, 0,
                                    nullptr))
    {
    }
    ~PipeDevice() { ::CloseHandle(m_pipe); }
    const std::wstring& Name() const { return m_name; }
    bool Valid() const { return m_pipe != INVALID_HANDLE_VALUE; }
    // Bytes written to the pipe and not read yet.
    DWORD Available() const
    {
        DWORD available = 0;
        ::PeekNamedPipe(m_pipe, nullptr, 0, nullptr, &available, nullptr);
        return available;
    }
    // Reads count bytes (blocking).
    bool Read(DWORD count)
    {
        std::string buffer(count, '\0');
        DWORD read = 0;
        return ::ReadFile(m_pipe, &buffer[0], count, &read, nullptr) && read == count;
    }

private:
    static int s_count;
    std::wstring m_name;
    HANDLE m_pipe;
};
int PipeDevice::s_count = 0;

class Event {
public:
    Event() : handle(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Event() { ::CloseHandle(handle); }
    HANDLE handle;
};

const BYTE kRumble[8] = {0, 5, 1, 200, 100, 0, 0, 0};

TEST(DeviceWin32Test, OverlappedWriteCompletesWhenTheDeviceTakesIt)
{
    PipeDevice device;
    ASSERT_TRUE(device.Valid());
    std::unique_ptr<IHidChannel> channel = DeviceAccess().OpenHid(device.Name(), true);
    ASSERT_NE(nullptr, channel);
    std::thread reader([&] { EXPECT_TRUE(device.Read(sizeof(kRumble))); });
    EXPECT_TRUE(channel->WriteOutput(kRumble, sizeof(kRumble), nullptr, 2000));
    reader.join();
}

TEST(DeviceWin32Test, OverlappedWriteEndsAtItsTimeOutOrStopAndIsDrained)
{
    struct Case {
        const char* what;
        bool stop;
        DWORD timeoutMs;
        DWORD atLeastMs, atMostMs;
    } cases[] = {
        {"time-out", false, 120, 100, 400},
        {"stop event", true, 5000, 40, 400},
    };
    for (const Case& c : cases) {
        PipeDevice device;
        ASSERT_TRUE(device.Valid());
        std::unique_ptr<IHidChannel> channel = DeviceAccess().OpenHid(device.Name(), true);
        ASSERT_NE(nullptr, channel);
        Event stop;
        std::thread stopper;
        if (c.stop)
            stopper = std::thread([&] {
                ::Sleep(60);
                ::SetEvent(stop.handle);
            });
        ULONGLONG start = ::GetTickCount64();
        EXPECT_FALSE(channel->WriteOutput(kRumble, sizeof(kRumble), stop.handle, c.timeoutMs)) << c.what;
        ULONGLONG took = ::GetTickCount64() - start;
        EXPECT_GE(took, c.atLeastMs) << c.what;
        EXPECT_LE(took, c.atMostMs) << c.what;
        if (stopper.joinable())
            stopper.join();
        // The write was cancelled: nothing reaches the device.
        EXPECT_EQ(0u, device.Available()) << c.what;
    }
}

TEST(DeviceWin32Test, OutputWritesNeedAnOverlappedChannel)
{
    PipeDevice device;
    ASSERT_TRUE(device.Valid());
    std::unique_ptr<IHidChannel> channel = DeviceAccess().OpenHid(device.Name(), false);
    ASSERT_NE(nullptr, channel);
    ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(channel->WriteOutput(kRumble, sizeof(kRumble), nullptr, 100));
    EXPECT_LT(::GetTickCount64() - start, 50u); // refused, never blocked
    // Not a HID device: the feature report fails.
    BYTE report[64] = {0, 0xF1};
    EXPECT_FALSE(channel->SetFeature(report, sizeof(report)));
}

} // namespace
