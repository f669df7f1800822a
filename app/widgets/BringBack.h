#pragma once
// Bringing a top-level window back to the user: out of the tray or the taskbar, and to the
// front together with whatever modal pop-up runs over it.
#include <windows.h>

// A shown window that window owns (a modal pop-up runs on its owner's thread), or null.
HWND ShownOwnedWindow(HWND window);
// The window the user should face: the window itself, or, while a modal pop-up (a picker, a
// message box, a file dialog) disables it, the pop-up shown over it.
HWND FrontWindowOf(HWND window);
// Restores the window from minimised, also while a modal pop-up disables it (a disabled window
// ignores WM_SYSCOMMAND), shows it and brings FrontWindowOf it to the front.
void BringBack(HWND window);
