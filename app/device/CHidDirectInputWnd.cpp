#include "device/CHidDirectInputWnd.h"
#include <dbt.h>
#include <string>
#include "device/SupportedDevices.h"

namespace {

constexpr wchar_t kWindowName[] = L"QM_HidDirectInput_msg_windows";

} // namespace

CHidDirectInputWnd::CHidDirectInputWnd(HWND owner, CDirectInputJoy& joy)
    : m_joy(joy), m_owner(owner), m_notification(nullptr), m_busy(false)
{
}

CHidDirectInputWnd* CHidDirectInputWnd::Create(HWND owner, CDirectInputJoy& joy)
{
    auto* window = new CHidDirectInputWnd(owner, joy);
    if (!window->CreateNative(kWindowName, 0, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr)) {
        delete window;
        return nullptr;
    }
    return window;
}

void CHidDirectInputWnd::Destroy()
{
    ::DestroyWindow(m_hwnd);
}

void CHidDirectInputWnd::OnLastMessage(HWND hwnd)
{
    CSimpleWnd::OnLastMessage(hwnd);
    delete this;
}

BOOL CHidDirectInputWnd::HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                             DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    result = 0;
    switch (msg) {
    case WM_DEVICECHANGE:
        OnDeviceChange(wParam, lParam);
        result = TRUE;
        return TRUE;
    case WM_CREATE: OnCreate(); return TRUE;
    case WM_TIMER: OnTimer(); return TRUE;
    case WM_DESTROY: OnDestroy(); return TRUE;
    default: return FALSE;
    }
}

void CHidDirectInputWnd::OnCreate()
{
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = DeviceAccess().HidInterfaceClass();
    m_notification = ::RegisterDeviceNotificationW(m_hwnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    m_joy.Probe(m_hwnd);
    SetTimer(kPollTimerId, kPollPeriodMs);
}

void CHidDirectInputWnd::OnTimer()
{
    if (m_busy)
        return;
    if (m_joy.HasDevice())
        m_joy.Poll();
    ::PostMessageW(m_owner, kMsgPolled, 0, 0);
}

void CHidDirectInputWnd::OnDeviceChange(WPARAM event, LPARAM data)
{
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return;
    std::wstring name;
    if (!ReadInterfaceName(data, name) || !MatchSupportedInterface(name))
        return;
    // The owner's detection may run a nested message loop (a message box) that delivers
    // further notices; the outer one stays busy until it returns.
    bool wasBusy = m_busy;
    m_busy = true;
    m_joy.Release();
    m_joy.Probe(m_hwnd);
    ::SendMessageW(m_owner, kMsgDeviceChanged, 0, 0);
    m_busy = wasBusy;
}

void CHidDirectInputWnd::OnDestroy()
{
    if (m_notification) {
        ::UnregisterDeviceNotification(m_notification);
        m_notification = nullptr;
    }
}
