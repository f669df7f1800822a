// The calibration page: follows the range of the X and Y axes and stores it,
// or the default range, as the device's calibration.
#include <algorithm>

#include "CDIGameCntrlPropSheet.h"
#include "Calibration.h"
#include "LibraryLock.h"
#include "PageCommon.h"
#include "SheetControls.h"
#include "SheetDevice.h"
#include "SheetPages.h"
#include "resource.h"

namespace pelko {
namespace {

const UINT kTimer = 2;
const DWORD kStartValue = 128;
const LONG kAxisCentre = 0x8000;

const StatusTexts kStatus = {IDC_CAL_STATUS, IDC_CAL_WARNING, "Your game controller is connected correctly.",
                             "Your game controller is not connected correctly!"};

struct CalibrationState : PageState {
    DIJOYCONFIG_DX5 record = {};
    LONG shownX = 0, shownY = 0;
};

CalibrationState g_state;

JOYRANGE& Range()
{
    return g_state.record.hwc.hwv.jrvHardware;
}

void SetAxisRange(DWORD JOYPOS::*axis, DWORD minimum, DWORD centre, DWORD maximum)
{
    JOYRANGE& range = Range();
    range.jpMin.*axis = minimum;
    range.jpCenter.*axis = centre;
    range.jpMax.*axis = maximum;
}

// X as the full 16-bit range, the others as bytes.
void SetDefaultRanges()
{
    SetAxisRange(&JOYPOS::dwX, 0, 0x8000, 0xFFFF);
    for (DWORD JOYPOS::*axis : {&JOYPOS::dwY, &JOYPOS::dwZ, &JOYPOS::dwR})
        SetAxisRange(axis, 0, 128, 255);
}

void Init()
{
    IDirectInputJoyConfig* config = g_state.sheet->JoyConfig();
    config->Acquire();
    g_state.record = {};
    g_state.record.dwSize = sizeof g_state.record;
    const HRESULT hr = config->GetConfig(g_state.sheet->GetID(), reinterpret_cast<DIJOYCONFIG*>(&g_state.record),
                                         DIJC_REGHWCONFIGTYPE);
    config->Unacquire();
    if (FAILED(hr))
        return;
    for (DWORD JOYPOS::*axis : {&JOYPOS::dwX, &JOYPOS::dwY, &JOYPOS::dwZ, &JOYPOS::dwR})
        SetAxisRange(axis, kStartValue, kStartValue, kStartValue);
    g_state.shownX = g_state.shownY = kAxisCentre;
}

void Track(DWORD JOYPOS::*axis, DWORD value)
{
    JOYRANGE& range = Range();
    range.jpMin.*axis = std::min(range.jpMin.*axis, value);
    range.jpMax.*axis = std::max(range.jpMax.*axis, value);
    range.jpCenter.*axis = value;
}

void Update(HWND page)
{
    if (CheckLink(page, g_state, kStatus) != Link::Connected || SkipTick(g_state))
        return;
    DIJOYSTATE now;
    if (FAILED(PageDevice(g_state)->GetDeviceState(sizeof now, &now)))
        return;
    if (now.lX != g_state.shownX || now.lY != g_state.shownY) {
        SetControlPoint(page, IDC_AXES, now.lX, now.lY);
        g_state.shownX = now.lX;
        g_state.shownY = now.lY;
    }
    {
        LibraryLock lock;
        Track(&JOYPOS::dwX, DWORD(now.lX));
        Track(&JOYPOS::dwY, DWORD(now.lY / 256));
    }
    SetDlgItemInt(page, IDC_CAL_X_TEXT, UINT(now.lX / 256), TRUE);
    SetDlgItemInt(page, IDC_CAL_Y_TEXT, UINT(now.lY / 256), TRUE);
}

void Store(HWND page)
{
    CDIGameCntrlPropSheet* sheet = g_state.sheet;
    IDirectInputJoyConfig* config = sheet->JoyConfig();
    if (!config || !AcquireDevice(sheet->Device()))
        return;
    DIJOYCONFIG_DX5 joystick = {};
    joystick.dwSize = sizeof joystick;
    if (SUCCEEDED(config->GetConfig(sheet->GetID(), reinterpret_cast<DIJOYCONFIG*>(&joystick), DIJC_GUIDINSTANCE)))
        WriteCalibration(g_state.record, DIJC_REGHWCONFIGTYPE, joystick.guidInstance, sheet->GetID(),
                         CalibrationLocationFor(WindowsClass(), DirectXVersion()));
    RecreateDevice(sheet, page);
}

bool Command(HWND page, WORD id)
{
    switch (id) {
    case IDC_CAL_DEFAULT:
        SetDefaultRanges();
        Store(page);
        return true;
    case IDC_CAL_SET:
        Store(page);
        return true;
    }
    return false;
}

} // namespace

INT_PTR CALLBACK CalibrationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (SUCCEEDED(InitPage(page, lParam, g_state)))
            Init();
        return TRUE;
    case WM_NOTIFY:
        return PollWhileActive(page, lParam, kTimer);
    case WM_TIMER:
        if (wParam != kTimer)
            return FALSE;
        Update(page);
        return TRUE;
    case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED && Command(page, LOWORD(wParam));
    case WM_DESTROY:
        KillTimer(page, kTimer);
        g_state.connection = 0;
        return TRUE;
    }
    return FALSE;
}

} // namespace pelko
