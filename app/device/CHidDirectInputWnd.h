#pragma once
// The message-only window that watches the joystick for the main window: it probes for a
// supported model when created and again after every arrival or removal of a supported
// model's HID interface, then sends its owner kMsgDeviceChanged; every 33 ms it polls the
// current device and posts kMsgPolled, with or without a device. The object deletes itself
// after its window's last message; the owner ends it with Destroy before it goes itself.
#include <windows.h>
#include "core/SSimpleWnd.h"
#include "device/CDirectInputJoy.h"

class CHidDirectInputWnd : public SKEIN::CSimpleWnd {
public:
    enum : UINT {
        kMsgDeviceChanged = WM_USER + 20, // sent after a matching notice and the re-probe
        kMsgPolled = WM_USER + 21,        // posted after every poll tick
    };
    enum { kPollTimerId = 0, kPollPeriodMs = 33 };

    // Creates the window (which probes and starts polling); null when it cannot be created.
    static CHidDirectInputWnd* Create(HWND owner, CDirectInputJoy& joy = DirectInputJoy());
    // Destroys the window; the object is gone afterwards.
    void Destroy();

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override;
    void OnLastMessage(HWND hwnd) override;

private:
    CHidDirectInputWnd(HWND owner, CDirectInputJoy& joy);

    void OnCreate();
    void OnTimer();
    void OnDeviceChange(WPARAM event, LPARAM data);
    void OnDestroy();

    CDirectInputJoy& m_joy;
    HWND m_owner;
    HDEVNOTIFY m_notification;
    bool m_busy; // while a device notice is handled: poll ticks do nothing meanwhile
};
