// What the polling pages share: the sheet they belong to, the connection
// state shown on the page and the ticks skipped after a disconnection.
#pragma once

#include "DirectInput7.h"

namespace pelko {

class CDIGameCntrlPropSheet;

const UINT kPollMilliseconds = 10;

struct PageState {
    CDIGameCntrlPropSheet* sheet = nullptr;
    int connection = 0;  // 0 unknown, 1 connected, 2 not connected
    int skip = 0;        // ticks still to ignore after a disconnection
};

struct StatusTexts {
    int text;
    int icon;
    const char* connected;
    const char* notConnected;
};

enum class Link { Connected, Lost, Absent };

// Takes the sheet from the page's creation parameter and prepares its
// device; returns the preparation's result.
HRESULT InitPage(HWND page, LPARAM lParam, PageState& state);

// The sheet's device, or null when it has none.
IDirectInputDevice2A* PageDevice(const PageState& state);

// Acquires the device and shows the state when it changed; Lost is the
// first tick without the device.
Link CheckLink(HWND page, PageState& state, const StatusTexts& texts);
// True while ticks after a disconnection are being skipped.
bool SkipTick(PageState& state);

// WM_NOTIFY of a page that polls while active.
INT_PTR PollWhileActive(HWND page, LPARAM lParam, UINT timer);
INT_PTR AcceptNotify(HWND page);
UINT NotifyCode(LPARAM lParam);

} // namespace pelko
