// The base test page: the device's buttons, axes and hat, live.
#include "CDIGameCntrlPropSheet.h"
#include "PageCommon.h"
#include "SheetControls.h"
#include "SheetDevice.h"
#include "SheetPages.h"
#include "resource.h"

namespace pelko {
namespace {

const UINT kTimer = 1;
const DWORD kLampOn = 255;
const DWORD kLampOff = 150;
const LONG kAxisCentre = 0x8000;

const StatusTexts kStatus = {IDC_BASE_STATUS, IDC_BASE_WARNING, "Your game controller is connected correctly.",
                             "Your game controller is not connected correctly!"};

struct BaseTestState : PageState {
    DIJOYSTATE shown = {};  // the state the controls show
};

void ResetControls(HWND page, BaseTestState& state)
{
    for (int i = 0; i < LAMP_COUNT; ++i)
        SetControlValue(page, IDC_LAMP_FIRST + i, kLampOff);
    SetControlValue(page, IDC_Z_BAR, 0);
    SetControlValue(page, IDC_RZ_BAR, 0);
    state.shown = {};
    state.shown.lX = state.shown.lY = kAxisCentre;
    state.shown.rgdwPOV[0] = DWORD(-1);
}

void Show(HWND page, BaseTestState& state, const DIJOYSTATE& now)
{
    const DIJOYSTATE& before = state.shown;
    for (int i = 0; i < LAMP_COUNT; ++i) {
        if (now.rgbButtons[i] != before.rgbButtons[i])
            SetControlValue(page, IDC_LAMP_FIRST + i, now.rgbButtons[i] ? kLampOn : kLampOff);
    }
    if (now.lX != before.lX || now.lY != before.lY)
        SetControlPoint(page, IDC_AXES, now.lX, now.lY);
    if (now.lZ != before.lZ)
        SetControlValue(page, IDC_Z_BAR, DWORD(now.lZ / 256));
    if (now.lRz != before.lRz)
        SetControlValue(page, IDC_RZ_BAR, DWORD(now.lRz / 256));
    if (now.rgdwPOV[0] != before.rgdwPOV[0])
        SetHat(page, IDC_POV, now.rgdwPOV[0], 100, 100);
    state.shown = now;
}

void Update(HWND page, BaseTestState& state)
{
    if (CheckLink(page, state, kStatus) != Link::Connected || SkipTick(state))
        return;
    DIJOYSTATE now;
    if (SUCCEEDED(PageDevice(state)->GetDeviceState(sizeof now, &now)))
        Show(page, state, now);
}

INT_PTR Handle(BaseTestState& state, HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (SUCCEEDED(PrepareDevice(state.sheet, page)))
            ResetControls(page, state);
        return TRUE;
    case WM_NOTIFY:
        return PollWhileActive(page, lParam, kTimer);
    case WM_TIMER:
        if (wParam != kTimer)
            return FALSE;
        Update(page, state);
        return TRUE;
    case WM_DESTROY:
        KillTimer(page, kTimer);
        return TRUE;
    }
    return FALSE;
}

} // namespace

INT_PTR CALLBACK BaseTestPageProc(HWND page, UINT message, WPARAM wParam, LPARAM lParam)
{
    return WithPageState(page, message, wParam, lParam, &Handle);
}

} // namespace pelko
