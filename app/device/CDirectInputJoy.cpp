#include "device/CDirectInputJoy.h"
#include "device/SupportedDevices.h"
#include "protocol/CommandChannel.h"

using SKEIN::SAutoLock;

namespace {

// The dead zone applies to these axes.
constexpr DWORD kDeadZoneAxes[] = {kJoyOffsetX, kJoyOffsetY, kJoyOffsetZ, kJoyOffsetRz};

} // namespace

CDirectInputJoy::CDirectInputJoy() : m_vendorId(0), m_productId(0), m_state(), m_responding(false), m_deviceSerial(0)
{
}

CDirectInputJoy::~CDirectInputJoy()
{
    Shutdown();
}

bool CDirectInputJoy::Find(USHORT vendorId, USHORT productId)
{
    SAutoLock lock(m_lock);
    Release();
    m_input = DeviceAccess().CreateInput();
    if (!m_input)
        return false;
    m_vendorId = m_productId = 0;
    m_device = OpenMatching(MAKELONG(vendorId, productId));
    if (!m_device) {
        m_input.reset();
        return false;
    }
    m_vendorId = vendorId;
    m_productId = productId;
    ++m_deviceSerial;
    return true;
}

// The first attached game controller whose vendor and product ids (and joystick id) read and
// match; null when the enumeration fails or nothing matches.
std::unique_ptr<IGameController> CDirectInputJoy::OpenMatching(DWORD vidPid)
{
    std::unique_ptr<IGameController> match;
    bool listed = m_input->EnumAttached([&](const GUID& instance) {
        std::unique_ptr<IGameController> candidate = m_input->CreateDevice(instance);
        DWORD ids = 0;
        DWORD joystickId = 0;
        if (candidate && candidate->ReadVidPid(ids) && candidate->ReadJoystickId(joystickId) && ids == vidPid) {
            match = std::move(candidate);
            return false;
        }
        return true;
    });
    if (!listed)
        match.reset();
    return match;
}

bool CDirectInputJoy::SetUp(HWND window)
{
    SAutoLock lock(m_lock);
    if (!m_device || FAILED(m_device->SetJoystickDataFormat()) ||
        FAILED(m_device->SetCooperativeLevel(window, kCooperativeLevel)))
        return false;
    for (DWORD axis : kDeadZoneAxes)
        m_device->SetDeadZone(axis, kAxisDeadZone);
    return true;
}

bool CDirectInputJoy::Probe(HWND window)
{
    for (USHORT product : kSupportedProductIds) {
        if (Find(kSupportedVendorId, product)) {
            SetUp(window);
            return true;
        }
    }
    return false;
}

void CDirectInputJoy::Release()
{
    SAutoLock lock(m_lock);
    m_device.reset();
    m_input.reset();
}

void CDirectInputJoy::Shutdown()
{
    m_vibration.Shutdown();
    Release();
}

int CDirectInputJoy::StartVibrationTest(DWORD left, DWORD right, DWORD durationMs)
{
    if (!m_device) {
        m_vibration.Stop();
        return 0;
    }
    m_vibration.Request(m_deviceSerial, left, right, durationMs, [this] { return OpenCommandChannel(*this, true); });
    return 0;
}

HRESULT CDirectInputJoy::Poll()
{
    if (!m_device)
        return 1;
    HRESULT result;
    {
        SAutoLock lock(m_lock);
        if (SUCCEEDED(m_device->Poll())) {
            result = m_device->GetState(m_state);
            if (SUCCEEDED(result))
                result = 0;
        } else {
            Reacquire();
            result = 1;
        }
    }
    m_responding = result == 0;
    return result;
}

// Acquires the device again, retrying a few times while the input stays lost.
void CDirectInputJoy::Reacquire()
{
    HRESULT result = m_device->Acquire();
    for (int attempt = 1; attempt < kAcquireAttempts && result == kJoyInputLost; ++attempt)
        result = m_device->Acquire();
}

bool CDirectInputJoy::InterfacePath(std::wstring& path)
{
    SAutoLock lock(m_lock);
    return m_device && m_device->ReadInterfacePath(path);
}

CDirectInputJoy& DirectInputJoy()
{
    static CDirectInputJoy joy;
    return joy;
}
