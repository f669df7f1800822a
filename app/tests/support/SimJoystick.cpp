#include "support/SimJoystick.h"
#include <algorithm>
#include <cwchar>

namespace {

// The class of HID device interfaces.
const GUID kHidClass = {0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

bool SamePath(const std::wstring& a, const std::wstring& b)
{
    return a.size() == b.size() && _wcsicmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

SimController::SimController() : m_unplugged(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

SimController::~SimController()
{
    ::CloseHandle(m_unplugged);
}

HRESULT SimController::Failure::Take()
{
    if (count == 0)
        return S_OK;
    if (count > 0)
        --count;
    return error;
}

// Everything the simulator's objects share; outlives the simulator while objects are open.
struct SimJoystick::Shared {
    mutable std::mutex lock;
    std::vector<std::unique_ptr<SimController>> controllers;
    std::vector<HidInterfaceInfo> hidInterfaces;
    bool inputFails = false;
    bool enumerationFails = false;
    int featureFailsAt = 0;
    OutputMode outputMode = kOutputComplete;
    DWORD outputIntervalMs = 0;
    HANDLE modeChanged = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::vector<Report> reports;
    std::vector<Channel> channels;
    int writesInProgress = 0;
    int liveInputs = 0;
    int inputsCreated = 0;
    LARGE_INTEGER start = {};
    LARGE_INTEGER frequency = {};

    Shared()
    {
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&start);
    }
    ~Shared() { ::CloseHandle(modeChanged); }

    double NowMs() const
    {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
    }
    SimController* Attached(const GUID& instance) const
    {
        for (const auto& controller : controllers) {
            if (controller->attached && IsEqualGUID(controller->instance, instance))
                return controller.get();
        }
        return nullptr;
    }
    void Record(Report::Kind kind, int channel, const BYTE* bytes, DWORD length, double atMs, bool ok)
    {
        reports.push_back({kind, channel, std::vector<BYTE>(bytes, bytes + length), atMs, NowMs(), ok});
    }
};

// ---- DirectInput ----

class SimGameController : public IGameController {
public:
    SimGameController(std::shared_ptr<SimJoystick::Shared> shared, SimController* controller)
        : m_shared(std::move(shared)), m_controller(*controller)
    {
        ++m_controller.liveObjects;
    }
    ~SimGameController() override
    {
        Unacquire();
        --m_controller.liveObjects;
    }

    bool ReadVidPid(DWORD& vidPid) override
    {
        if (m_controller.vidPidUnreadable)
            return false;
        vidPid = MAKELONG(m_controller.vendorId, m_controller.productId);
        return true;
    }
    bool ReadJoystickId(DWORD& id) override
    {
        if (m_controller.joystickIdUnreadable)
            return false;
        id = m_controller.joystickId;
        return true;
    }
    bool ReadInterfacePath(std::wstring& path) override
    {
        if (m_controller.pathUnreadable)
            return false;
        path = m_controller.path;
        return true;
    }
    HRESULT SetJoystickDataFormat() override
    {
        m_controller.dataFormatSet = SUCCEEDED(m_controller.dataFormatResult);
        return m_controller.dataFormatResult;
    }
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override
    {
        m_controller.cooperativeWindow = window;
        m_controller.cooperativeFlags = flags;
        return m_controller.cooperativeResult;
    }
    HRESULT SetDeadZone(DWORD axisOffset, DWORD value) override
    {
        m_controller.deadZones.emplace_back(axisOffset, value);
        return S_OK;
    }
    HRESULT Poll() override
    {
        ++m_controller.polls;
        HRESULT result = Attached() ? m_controller.m_pollFailure.Take() : kJoyInputLost;
        if (SUCCEEDED(result) && !m_controller.acquired)
            result = kJoyNotAcquired;
        if (result == kJoyInputLost || result == kJoyNotAcquired)
            m_controller.acquired = false;
        return result;
    }
    HRESULT GetState(JoyState& state) override
    {
        ++m_controller.stateReads;
        if (!Attached())
            return kJoyInputLost;
        if (!m_controller.acquired)
            return kJoyNotAcquired;
        HRESULT failure = m_controller.m_stateFailure.Take();
        if (FAILED(failure))
            return failure;
        std::deque<JoyState>& states = m_controller.m_states;
        state = states.empty() ? JoyState() : states.front();
        if (states.size() > 1)
            states.pop_front();
        return S_OK;
    }
    HRESULT Acquire() override
    {
        ++m_controller.acquires;
        if (!Attached())
            return kSimUnplugged;
        HRESULT result = m_controller.m_acquireFailure.Take();
        if (SUCCEEDED(result) && !m_controller.dataFormatSet)
            result = E_INVALIDARG;
        m_controller.acquired = SUCCEEDED(result);
        return result;
    }
    HRESULT Unacquire() override
    {
        ++m_controller.unacquires;
        m_controller.acquired = false;
        return S_OK;
    }

private:
    bool Attached() const
    {
        std::lock_guard<std::mutex> hold(m_shared->lock);
        return m_controller.attached;
    }

    std::shared_ptr<SimJoystick::Shared> m_shared;
    SimController& m_controller;
};

class SimGameInput : public IGameInput {
public:
    explicit SimGameInput(std::shared_ptr<SimJoystick::Shared> shared) : m_shared(std::move(shared))
    {
        ++m_shared->liveInputs;
        ++m_shared->inputsCreated;
    }
    ~SimGameInput() override { --m_shared->liveInputs; }

    bool EnumAttached(const std::function<bool(const GUID& instance)>& visit) override
    {
        if (m_shared->enumerationFails)
            return false;
        std::vector<GUID> attached;
        {
            std::lock_guard<std::mutex> hold(m_shared->lock);
            for (const auto& controller : m_shared->controllers) {
                if (controller->attached)
                    attached.push_back(controller->instance);
            }
        }
        for (const GUID& instance : attached) {
            if (!visit(instance))
                break;
        }
        return true;
    }
    std::unique_ptr<IGameController> CreateDevice(const GUID& instance) override
    {
        SimController* controller;
        {
            std::lock_guard<std::mutex> hold(m_shared->lock);
            controller = m_shared->Attached(instance);
        }
        if (!controller || controller->createFails)
            return nullptr;
        return std::unique_ptr<IGameController>(new SimGameController(m_shared, controller));
    }

private:
    std::shared_ptr<SimJoystick::Shared> m_shared;
};

// ---- HID channels ----

class SimChannel : public IHidChannel {
public:
    SimChannel(std::shared_ptr<SimJoystick::Shared> shared, SimController* controller, int id, bool overlapped)
        : m_shared(std::move(shared)), m_controller(*controller), m_id(id), m_overlapped(overlapped)
    {
    }
    ~SimChannel() override
    {
        std::lock_guard<std::mutex> hold(m_shared->lock);
        m_shared->channels[m_id - 1].open = false;
    }

    bool SetFeature(const BYTE* report, DWORD length) override
    {
        std::lock_guard<std::mutex> hold(m_shared->lock);
        double at = m_shared->NowMs();
        bool refused = m_shared->featureFailsAt > 0 && --m_shared->featureFailsAt == 0;
        bool ok = m_controller.attached && !refused;
        m_shared->Record(SimJoystick::Report::kFeature, m_id, report, length, at, ok);
        return ok;
    }

    bool WriteOutput(const BYTE* report, DWORD length, HANDLE stopEvent, DWORD timeoutMs) override
    {
        if (!m_overlapped)
            return false;
        double at;
        {
            std::lock_guard<std::mutex> hold(m_shared->lock);
            at = m_shared->NowMs();
            ++m_shared->writesInProgress;
        }
        bool ok = Complete(stopEvent, timeoutMs);
        std::lock_guard<std::mutex> hold(m_shared->lock);
        --m_shared->writesInProgress;
        m_shared->Record(SimJoystick::Report::kOutput, m_id, report, length, at, ok);
        return ok;
    }

private:
    // Whether the write completes: after the output interval, never, or, while blocked, when
    // the mode changes before the stop event, the time-out or an unplugging. A hanging write
    // fails once writes complete or fail again or the device is unplugged.
    bool Complete(HANDLE stopEvent, DWORD timeoutMs)
    {
        ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
        for (;;) {
            SimJoystick::OutputMode mode;
            DWORD interval;
            {
                std::lock_guard<std::mutex> hold(m_shared->lock);
                if (!m_controller.attached)
                    return false;
                mode = m_shared->outputMode;
                interval = m_shared->outputIntervalMs;
            }
            if (mode == SimJoystick::kOutputComplete && interval > 0)
                return Interval(stopEvent, std::min(interval, timeoutMs)) && interval <= timeoutMs;
            if (mode == SimJoystick::kOutputHang) {
                HANDLE waits[] = {m_shared->modeChanged, m_controller.m_unplugged};
                ::WaitForMultipleObjects(2, waits, FALSE, INFINITE);
                return false;
            }
            if (mode != SimJoystick::kOutputBlock)
                return mode == SimJoystick::kOutputComplete;
            ULONGLONG now = ::GetTickCount64();
            DWORD wait = timeoutMs == INFINITE ? INFINITE : static_cast<DWORD>(now < deadline ? deadline - now : 0);
            HANDLE waits[] = {m_shared->modeChanged, m_controller.m_unplugged, stopEvent};
            DWORD waited = ::WaitForMultipleObjects(stopEvent ? 3 : 2, waits, FALSE, wait);
            if (waited != WAIT_OBJECT_0)
                return false;
        }
    }

    // Waits ms unless the stop event or an unplugging comes first; true when neither did.
    bool Interval(HANDLE stopEvent, DWORD ms)
    {
        HANDLE waits[] = {m_controller.m_unplugged, stopEvent};
        return ::WaitForMultipleObjects(stopEvent ? 2 : 1, waits, FALSE, ms) == WAIT_TIMEOUT;
    }

    std::shared_ptr<SimJoystick::Shared> m_shared;
    SimController& m_controller;
    int m_id;
    bool m_overlapped;
};

// ---- SimJoystick ----

SimJoystick::SimJoystick() : m_shared(std::make_shared<Shared>()), m_replaced(&DeviceAccess())
{
    SetDeviceAccess(this);
}

SimJoystick::~SimJoystick()
{
    SetDeviceAccess(m_replaced);
    std::lock_guard<std::mutex> hold(m_shared->lock);
    for (auto& controller : m_shared->controllers) {
        controller->attached = false;
        ::SetEvent(controller->m_unplugged);
    }
}

SimController& SimJoystick::Plug(USHORT vendorId, USHORT productId)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    auto controller = std::make_unique<SimController>();
    DWORD index = static_cast<DWORD>(m_shared->controllers.size());
    controller->instance = {0x51A00000 + index, 0x4A0E, 0x11D0, {0x9E, 0x12, 0x6F, 0x4C, 0x08, 0xD3, 0xA2, 0x7E}};
    controller->vendorId = vendorId;
    controller->productId = productId;
    controller->joystickId = index;
    wchar_t path[128];
    swprintf(path, 128, L"\\\\?\\hid#vid_%04x&pid_%04x&mi_00#7&%08x&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}",
             vendorId, productId, index);
    controller->path = path;
    m_shared->controllers.push_back(std::move(controller));
    return *m_shared->controllers.back();
}

void SimJoystick::Unplug(SimController& controller)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    controller.attached = false;
    ::SetEvent(controller.m_unplugged);
}

void SimJoystick::AddHidInterface(const HidInterfaceInfo& info)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->hidInterfaces.push_back(info);
}

void SimJoystick::SetInputFails(bool fails)
{
    m_shared->inputFails = fails;
}

void SimJoystick::SetEnumerationFails(bool fails)
{
    m_shared->enumerationFails = fails;
}

void SimJoystick::FailFeatureReport(int n)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->featureFailsAt = n;
}

void SimJoystick::SetOutputMode(OutputMode mode)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->outputMode = mode;
    if (mode == kOutputBlock || mode == kOutputHang)
        ::ResetEvent(m_shared->modeChanged);
    else
        ::SetEvent(m_shared->modeChanged);
}

void SimJoystick::SetOutputInterval(DWORD ms)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->outputIntervalMs = ms;
}

std::vector<SimJoystick::Report> SimJoystick::Reports() const
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->reports;
}

std::vector<SimJoystick::Report> SimJoystick::Reports(Report::Kind kind) const
{
    std::vector<Report> all = Reports();
    all.erase(std::remove_if(all.begin(), all.end(), [kind](const Report& report) { return report.kind != kind; }),
              all.end());
    return all;
}

void SimJoystick::ClearReports()
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->reports.clear();
}

std::vector<SimJoystick::Channel> SimJoystick::Channels() const
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->channels;
}

int SimJoystick::OpenChannels() const
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return static_cast<int>(std::count_if(m_shared->channels.begin(), m_shared->channels.end(),
                                          [](const Channel& channel) { return channel.open; }));
}

int SimJoystick::WritesInProgress() const
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    return m_shared->writesInProgress;
}

int SimJoystick::LiveInputs() const
{
    return m_shared->liveInputs;
}

int SimJoystick::InputsCreated() const
{
    return m_shared->inputsCreated;
}

double SimJoystick::NowMs() const
{
    return m_shared->NowMs();
}

std::unique_ptr<IGameInput> SimJoystick::CreateInput()
{
    if (m_shared->inputFails)
        return nullptr;
    return std::unique_ptr<IGameInput>(new SimGameInput(m_shared));
}

std::unique_ptr<IHidChannel> SimJoystick::OpenHid(const std::wstring& path, bool overlapped)
{
    std::lock_guard<std::mutex> hold(m_shared->lock);
    for (const auto& controller : m_shared->controllers) {
        if (controller->attached && !controller->openFails && SamePath(controller->path, path)) {
            int id = static_cast<int>(m_shared->channels.size()) + 1;
            m_shared->channels.push_back({id, path, overlapped, true});
            return std::unique_ptr<IHidChannel>(new SimChannel(m_shared, controller.get(), id, overlapped));
        }
    }
    return nullptr;
}

GUID SimJoystick::HidInterfaceClass()
{
    return kHidClass;
}

void SimJoystick::EnumPresentHid(const std::function<bool(const HidInterfaceInfo&)>& visit)
{
    std::vector<HidInterfaceInfo> present;
    {
        std::lock_guard<std::mutex> hold(m_shared->lock);
        present = m_shared->hidInterfaces;
    }
    for (const HidInterfaceInfo& info : present) {
        if (!visit(info))
            return;
    }
}
