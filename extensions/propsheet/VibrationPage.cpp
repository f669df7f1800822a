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
    LRESULT strength = 0;  // the trackbar position the page set or stored last
};

void SetMode(VibrationState& state, TestMode mode)
{
    state.mode = mode;
    state.modeTime = mode == kFollowAxes ? 0 : timeGetTime();
}

void OpenHid(VibrationState& state)
{
    state.hid = OpenDeviceFile(PageDevice(state));
    if (state.hid)
        state.reportId = OutputReportId(state.hid);
}

// Sends the zero report and closes the device file.
void StopMotors(VibrationState& state)
{
    if (!state.hid)
        return;
    SendRumble(state.hid, MakeRumbleReport(state.reportId, 0, 0, 0));
    CloseHandle(state.hid);
    state.hid = nullptr;
}

void ShowStrength(HWND page, DWORD amplify)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d%c", int(double(amplify) / kFullAmplify * 100), '%');
    SetDlgItemTextA(page, IDC_STRENGTH_TEXT, text);
}

void Activate(HWND page, VibrationState& state)
{
    SetTimer(page, kTimer, kPollMilliseconds, nullptr);
    const DWORD amplify = ReadAmplify();
    ShowStrength(page, amplify);
    SendDlgItemMessageA(page, IDC_STRENGTH, TBM_SETPOS, TRUE, LPARAM(amplify));
    state.strength = SendDlgItemMessageA(page, IDC_STRENGTH, TBM_GETPOS, 0, 0);
    SetMode(state, kFollowAxes);
}

void Deactivate(HWND page, VibrationState& state)
{
    if (IDirectInputDevice2A* device = PageDevice(state))
        device->Unacquire();
    KillTimer(page, kTimer);
    StopMotors(state);
    SetMode(state, kFollowAxes);
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

void Drive(VibrationState& state, int x, int y)
{
    if (state.mode != kFollowAxes && timeGetTime() - state.modeTime > kTestMilliseconds)
        SetMode(state, kFollowAxes);
    int left = x, right = y;
    switch (state.mode) {
    case kLeftMotor: left = kFull, right = 0; break;
    case kBothMotors: left = kFull, right = kFull; break;
    case kRightMotor: left = 0, right = kFull; break;
    case kFollowAxes: break;
    }
    if (!state.hid)
        OpenHid(state);
    if (state.hid)
        SendRumble(state.hid, MakeRumbleReport(state.reportId, ReadAmplify(), OutsideDeadBand(left),
                                               OutsideDeadBand(right)));
}

void ShowRumble(HWND page, VibrationState& state, int x, int y)
{
    x = Snap(x);
    y = Snap(y);
    if (x == state.shownX && y == state.shownY)
        return;
    SetControlPoint(page, IDC_RUMBLE, x, y);
    state.shownX = x;
    state.shownY = y;
}

void Update(HWND page, VibrationState& state)
{
    const Link link = CheckLink(page, state, kStatus);
    if (link != Link::Connected) {
        StopMotors(state);
        if (link == Link::Lost)
            SetMode(state, kFollowAxes);
        return;
    }
    if (SkipTick(state))
        return;
    DIJOYSTATE now;
    int x = 0, y = 0;
    if (SUCCEEDED(PageDevice(state)->GetDeviceState(sizeof now, &now))) {
        x = AxisDemand(now.lX);
        y = AxisDemand(now.lY);
        Drive(state, x, y);
    }
    ShowRumble(page, state, x, y);
}

// A position that the page set from a stored strength above full is not stored
// until the user moves the trackbar away from it.
void StrengthMoved(HWND page, VibrationState& state)
{
    const LRESULT position = SendDlgItemMessageA(page, IDC_STRENGTH, TBM_GETPOS, 0, 0);
    if (position == state.strength)
        return;
    state.strength = position;
    WriteAmplify(DWORD(position));
    ShowStrength(page, DWORD(position));
}

bool Command(VibrationState& state, WORD id)
{
    switch (id) {
    case IDC_LEFT_FORCE: SetMode(state, kLeftMotor); return true;
    case IDC_BOTH_FORCES: SetMode(state, kBothMotors); return true;
    case IDC_RIGHT_FORCE: SetMode(state, kRightMotor); return true;
    case IDC_STOP: SetMode(state, kFollowAxes); return true;
    }
    return false;
}

INT_PTR Notify(HWND page, VibrationState& state, LPARAM lParam)
{
    switch (NotifyCode(lParam)) {
    case PSN_SETACTIVE:
        Activate(page, state);
        return AcceptNotify(page);
    case PSN_KILLACTIVE:
        Deactivate(page, state);
        return AcceptNotify(page);
    }
    return FALSE;
}

INT_PTR Handle(VibrationState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        // The range holds whether or not the device could be prepared.
        SendDlgItemMessageA(page, IDC_STRENGTH, TBM_SETRANGE, TRUE, MAKELPARAM(0, kFullAmplify));
        PrepareDevice(state.sheet, page);
        return TRUE;
    case WM_NOTIFY:
        return Notify(page, state, lParam);
    case WM_TIMER:
        if (wParam != kTimer)
            return FALSE;
        Update(page, state);
        return TRUE;
    case WM_HSCROLL:
        if (HWND(lParam) != GetDlgItem(page, IDC_STRENGTH))
            return FALSE;
        StrengthMoved(page, state);
        return TRUE;
    case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED && Command(state, LOWORD(wParam));
    case WM_DESTROY:
        Deactivate(page, state);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK VibrationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WithPageState(page, message, wParam, lParam, &Handle);
}

} // namespace pelko
