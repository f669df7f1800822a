// What the polling pages share: the sheet they belong to, the connection
// state shown on the page and the ticks skipped after a disconnection.
#pragma once

#include <new>

#include "DirectInput7.h"

namespace pelko {

class CDIGameCntrlPropSheet;

const UINT kPollMilliseconds = 10;

// Each page window has a state of its own, so pages of several sheets in one
// process never see each other's sheet.
struct PageState {
    CDIGameCntrlPropSheet* sheet = nullptr;  // referenced while the page lives
    int connection = 0;  // 0 unknown, 1 connected, 2 not connected
    int skip = 0;        // ticks still to ignore after a disconnection
};

// Keeps state with the page and takes the sheet from the page's creation
// parameter, holding a reference to it until DetachPage.
void AttachPage(HWND page, LPARAM lParam, PageState& state);
void DetachPage(HWND page, PageState& state);
// The state kept with the page; null before WM_INITDIALOG and after WM_NCDESTROY.
PageState* FindPageState(HWND page);

// Runs a page's handler with the page's own State, made at WM_INITDIALOG and
// deleted after WM_NCDESTROY; messages without a state go unhandled.
template <class State>
INT_PTR WithPageState(HWND page, UINT message, WPARAM wParam, LPARAM lParam,
                      INT_PTR (*handler)(State&, HWND, UINT, WPARAM, LPARAM))
{
    if (message == WM_INITDIALOG) {
        State* made = new (std::nothrow) State;
        if (!made)
            return TRUE;
        AttachPage(page, lParam, *made);
    }
    State* state = static_cast<State*>(FindPageState(page));
    if (!state)
        return FALSE;
    const INT_PTR result = handler(*state, page, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        DetachPage(page, *state);
        delete state;
    }
    return result;
}

struct StatusTexts {
    int text;
    int icon;
    const char* connected;
    const char* notConnected;
};

enum class Link { Connected, Lost, Absent };

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
