#pragma once
// Device-interface notices as WM_DEVICECHANGE carries them, for sending to real windows.
#include <windows.h>
#include <string>
#include <vector>

// A DEV_BROADCAST_DEVICEINTERFACE_W naming name, its stated size covering the name and its
// terminator. Tests edit the bytes to make malformed notices.
std::vector<BYTE> InterfaceNotice(const std::wstring& name);
// Sends WM_DEVICECHANGE (event, the notice of name) to window; its answer.
LRESULT SendInterfaceNotice(HWND window, WPARAM event, const std::wstring& name);
