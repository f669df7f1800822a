// The vibration test page: the stored strength, and the two motors driven by
// the X and Y axes or, for a while, by the test buttons.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>

#include "CDIGameCntrlPropSheet.h"
#include "PageCommon.h"
#include "Rumble.h"
#include "SheetControls.h"
#include "SheetDevice.h"
#include "SheetPages.h"
#include "resource.h"

namespace pelko {
namespace {

const UINT kTimer = 3;
const DWORD kTestMilliseconds = 3800;
const int kFull = 10000;
const int kDeadBand = 2500;
const int kSnap = 8750;

const StatusTexts kStatus = {IDC_VIB_STATUS, IDC_VIB_WARNING, "Your game controller is connected correctly!.",
                             "Your game controller is not connected correctly!"};

enum TestMode { kFollowAxes, kLeftMotor, kBothMotors, kRightMotor };

struct VibrationState : PageState {
    HANDLE hid = nullptr;
    BYTE reportId = 0;
    TestMode mode = kFollowAxes;
    DWORD modeTime = 0;
    int shownX = 0, shownY = 0;
};

VibrationState g_state;

void SetMode(TestMode mode)
{
    g_state.mode = mode;
    g_state.modeTime = mode == kFollowAxes ? 0 : timeGetTime();
}

void OpenHid()
{
    g_state.hid = OpenDeviceFile(PageDevice(g_state));
    if (g_state.hid)
        g_state.reportId = OutputReportId(g_state.hid);
}

// Sends the zero report and closes the device file.
void StopMotors()
{
    if (!g_state.hid)
        return;
    SendRumble(g_state.hid, MakeRumbleReport(g_state.reportId, 0, 0, 0));
    CloseHandle(g_state.hid);
    g_state.hid = nullptr;
}

void ShowStrength(HWND page, DWORD amplify)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d%c", int(double(amplify) / kFullAmplify * 100), '%');
    SetDlgItemTextA(page, IDC_STRENGTH_TEXT, text);
}

void Activate(HWND page)
{
    SetTimer(page, kTimer, kPollMilliseconds, nullptr);
    const DWORD amplify = ReadAmplify();
    ShowStrength(page, amplify);
    SendDlgItemMessageA(page, IDC_STRENGTH, TBM_SETPOS, TRUE, LPARAM(amplify));
    SetMode(kFollowAxes);
}

void Deactivate(HWND page)
{
    if (IDirectInputDevice2A* device = PageDevice(g_state))
        device->Unacquire();
    KillTimer(page, kTimer);
    StopMotors();
    SetMode(kFollowAxes);
}

int AxisDemand(LONG axis)
{
    return int((axis - 32768) / 32768.0 * kFull);
}

int OutsideDeadBand(int demand)
{
    return std::abs(demand) < kDeadBand ? 0 : demand;
}

int Snap(int value)
{
    return value <= -kSnap ? -kFull : value >= kSnap ? kFull : value;
}

void Drive(int x, int y)
{
    if (g_state.mode != kFollowAxes && timeGetTime() - g_state.modeTime > kTestMilliseconds)
        SetMode(kFollowAxes);
    int left = x, right = y;
    switch (g_state.mode) {
    case kLeftMotor: left = kFull, right = 0; break;
    case kBothMotors: left = kFull, right = kFull; break;
    case kRightMotor: left = 0, right = kFull; break;
    case kFollowAxes: break;
    }
    if (!g_state.hid)
        OpenHid();
    if (g_state.hid)
        SendRumble(g_state.hid, MakeRumbleReport(g_state.reportId, ReadAmplify(), OutsideDeadBand(left),
                                                 OutsideDeadBand(right)));
}

void ShowRumble(HWND page, int x, int y)
{
    x = Snap(x);
    y = Snap(y);
    if (x == g_state.shownX && y == g_state.shownY)
        return;
    SetControlPoint(page, IDC_RUMBLE, x, y);
    g_state.shownX = x;
    g_state.shownY = y;
}

void Update(HWND page)
{
    const Link link = CheckLink(page, g_state, kStatus);
    if (link != Link::Connected) {
        StopMotors();
        if (link == Link::Lost)
            SetMode(kFollowAxes);
        return;
    }
    if (SkipTick(g_state))
        return;
    DIJOYSTATE now;
    int x = 0, y = 0;
    if (SUCCEEDED(PageDevice(g_state)->GetDeviceState(sizeof now, &now))) {
        x = AxisDemand(now.lX);
        y = AxisDemand(now.lY);
        Drive(x, y);
    }
    ShowRumble(page, x, y);
}

void Init(HWND page)
{
    SendDlgItemMessageA(page, IDC_STRENGTH, TBM_SETRANGE, TRUE, MAKELPARAM(0, kFullAmplify));
    if (g_state.hid) {
        CloseHandle(g_state.hid);
        OpenHid();
    }
    SetMode(kFollowAxes);
}

void StrengthMoved(HWND page)
{
    const DWORD amplify = DWORD(SendDlgItemMessageA(page, IDC_STRENGTH, TBM_GETPOS, 0, 0));
    WriteAmplify(amplify);
    ShowStrength(page, amplify);
}

bool Command(WORD id)
{
    switch (id) {
    case IDC_LEFT_FORCE: SetMode(kLeftMotor); return true;
    case IDC_BOTH_FORCES: SetMode(kBothMotors); return true;
    case IDC_RIGHT_FORCE: SetMode(kRightMotor); return true;
    case IDC_STOP: SetMode(kFollowAxes); return true;
    }
    return false;
}

INT_PTR Notify(HWND page, LPARAM lParam)
{
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        Activate(page);
        return AcceptNotify(page);
    case PSN_KILLACTIVE:
        Deactivate(page);
        return AcceptNotify(page);
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK VibrationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (SUCCEEDED(InitPage(page, lParam, g_state)))
            Init(page);
        return TRUE;
    case WM_NOTIFY:
        return Notify(page, lParam);
    case WM_TIMER:
        if (wParam != kTimer)
            return FALSE;
        Update(page);
        return TRUE;
    case WM_HSCROLL:
        if (HWND(lParam) != GetDlgItem(page, IDC_STRENGTH))
            return FALSE;
        StrengthMoved(page);
        return TRUE;
    case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED && Command(LOWORD(wParam));
    case WM_DESTROY:
        Deactivate(page);
        g_state.connection = 0;
        return TRUE;
    }
    return FALSE;
}

} // namespace pelko
