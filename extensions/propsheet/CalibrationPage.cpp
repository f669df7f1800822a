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

void SetAxisRange(CalibrationState& state, DWORD JOYPOS::*axis, DWORD minimum, DWORD centre, DWORD maximum)
{
    JOYRANGE& range = state.record.hwc.hwv.jrvHardware;
    range.jpMin.*axis = minimum;
    range.jpCenter.*axis = centre;
    range.jpMax.*axis = maximum;
}

// X as the full 16-bit range, the others as bytes.
void SetDefaultRanges(CalibrationState& state)
{
    SetAxisRange(state, &JOYPOS::dwX, 0, 0x8000, 0xFFFF);
    for (DWORD JOYPOS::*axis : {&JOYPOS::dwY, &JOYPOS::dwZ, &JOYPOS::dwR})
        SetAxisRange(state, axis, 0, 128, 255);
}

void Init(CalibrationState& state)
{
    IDirectInputJoyConfig* config = state.sheet->JoyConfig();
    config->Acquire();
    state.record = {};
    state.record.dwSize = sizeof state.record;
    const HRESULT hr = config->GetConfig(state.sheet->GetID(), reinterpret_cast<DIJOYCONFIG*>(&state.record),
                                         DIJC_REGHWCONFIGTYPE);
    config->Unacquire();
    if (FAILED(hr))
        return;
    for (DWORD JOYPOS::*axis : {&JOYPOS::dwX, &JOYPOS::dwY, &JOYPOS::dwZ, &JOYPOS::dwR})
        SetAxisRange(state, axis, kStartValue, kStartValue, kStartValue);
    state.shownX = state.shownY = kAxisCentre;
}

void Track(CalibrationState& state, DWORD JOYPOS::*axis, DWORD value)
{
    JOYRANGE& range = state.record.hwc.hwv.jrvHardware;
    range.jpMin.*axis = std::min(range.jpMin.*axis, value);
    range.jpMax.*axis = std::max(range.jpMax.*axis, value);
    range.jpCenter.*axis = value;
}

void Update(HWND page, CalibrationState& state)
{
    if (CheckLink(page, state, kStatus) != Link::Connected || SkipTick(state))
        return;
    DIJOYSTATE now;
    if (FAILED(PageDevice(state)->GetDeviceState(sizeof now, &now)))
        return;
    if (now.lX != state.shownX || now.lY != state.shownY) {
        SetControlPoint(page, IDC_AXES, now.lX, now.lY);
        state.shownX = now.lX;
        state.shownY = now.lY;
    }
    {
        LibraryLock lock;
        Track(state, &JOYPOS::dwX, DWORD(now.lX));
        Track(state, &JOYPOS::dwY, DWORD(now.lY / 256));
    }
    SetDlgItemInt(page, IDC_CAL_X_TEXT, UINT(now.lX / 256), TRUE);
    SetDlgItemInt(page, IDC_CAL_Y_TEXT, UINT(now.lY / 256), TRUE);
}

void Store(HWND page, CalibrationState& state)
{
    CDIGameCntrlPropSheet* sheet = state.sheet;
    IDirectInputJoyConfig* config = sheet->JoyConfig();
    if (!config || !AcquireDevice(sheet->Device()))
        return;
    DIJOYCONFIG_DX5 joystick = {};
    joystick.dwSize = sizeof joystick;
    if (SUCCEEDED(config->GetConfig(sheet->GetID(), reinterpret_cast<DIJOYCONFIG*>(&joystick), DIJC_GUIDINSTANCE)))
        WriteCalibration(state.record, DIJC_REGHWCONFIGTYPE, joystick.guidInstance, sheet->GetID(),
                         CalibrationLocationFor(WindowsClass(), DirectXVersion()));
    RecreateDevice(sheet, page);
}

bool Command(HWND page, CalibrationState& state, WORD id)
{
    switch (id) {
    case IDC_CAL_DEFAULT:
        SetDefaultRanges(state);
        Store(page, state);
        return true;
    case IDC_CAL_SET:
        Store(page, state);
        return true;
    }
    return false;
}

INT_PTR Handle(CalibrationState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (SUCCEEDED(PrepareDevice(state.sheet, page)))
            Init(state);
        return TRUE;
    case WM_NOTIFY:
        return PollWhileActive(page, lParam, kTimer);
    case WM_TIMER:
        if (wParam != kTimer)
            return FALSE;
        Update(page, state);
        return TRUE;
    case WM_COMMAND:
        return HIWORD(wParam) == BN_CLICKED && Command(page, state, LOWORD(wParam));
    case WM_DESTROY:
        KillTimer(page, kTimer);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK CalibrationPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WithPageState(page, message, wParam, lParam, &Handle);
}

} // namespace pelko
