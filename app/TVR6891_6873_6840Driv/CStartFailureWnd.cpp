#include "CStartFailureWnd.h"
#include "SingleInstance.h"
#include "widgets/BringBack.h"

namespace {

const wchar_t kWindowName[] = L"Corvane start failure";
const HANDLE kInstancePropertyValue = reinterpret_cast<HANDLE>(1);

} // namespace

CStartFailureWnd::CStartFailureWnd()
{
    if (CreateNative(kWindowName, WS_POPUP, 0, 0, 0, 0, 0, nullptr, nullptr))
        ::SetPropW(m_hwnd, kInstanceName, kInstancePropertyValue);
}

CStartFailureWnd::~CStartFailureWnd()
{
    if (IsWindow())
        DestroyWindow();
}

BOOL CStartFailureWnd::HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& result, DWORD mapId)
{
    if (mapId != 0)
        return FALSE;
    switch (msg) {
    case WM_COMMAND:
        if (HIWORD(wParam) != 0)
            return FALSE;
        OnCommand(LOWORD(wParam));
        result = 0;
        return TRUE;
    case WM_ACTIVATE: // a second start brings this window to the front: the box goes there
        if (LOWORD(wParam) != WA_INACTIVE)
            BringBoxToFront();
        return FALSE;
    case WM_DESTROY:
        ::RemovePropW(m_hwnd, kInstanceName);
        return FALSE;
    default:
        return FALSE;
    }
}

void CStartFailureWnd::OnCommand(WORD command)
{
    if (command == kCommandRestore) {
        BringBoxToFront();
    } else if (command == kCommandExit) {
        ::RemovePropW(m_hwnd, kInstanceName);
        ::PostQuitMessage(0); // ends the box's modal loop
    }
}

void CStartFailureWnd::BringBoxToFront()
{
    if (HWND box = OwnedBox())
        ::SetForegroundWindow(box);
}

HWND CStartFailureWnd::OwnedBox() const
{
    return ShownOwnedWindow(m_hwnd);
}
