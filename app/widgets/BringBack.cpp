#include "widgets/BringBack.h"

namespace {

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindShownOwned(HWND window, LPARAM data)
{
    OwnedSearch* search = reinterpret_cast<OwnedSearch*>(data);
    if (::GetWindow(window, GW_OWNER) != search->owner || !::IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND ShownOwnedWindow(HWND window)
{
    OwnedSearch search = {window, nullptr};
    ::EnumThreadWindows(::GetWindowThreadProcessId(window, nullptr), FindShownOwned,
                        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One pop-up over another (a box over a picker) disables the one below it too.
HWND FrontWindowOf(HWND window)
{
    if (::IsWindowEnabled(window))
        return window;
    HWND owned = ShownOwnedWindow(window);
    return owned ? FrontWindowOf(owned) : window;
}

void BringBack(HWND window)
{
    ::SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
    if (::IsIconic(window))
        ::ShowWindow(window, SW_RESTORE);
    ::ShowWindow(window, SW_SHOW);
    ::SetForegroundWindow(FrontWindowOf(window));
}
