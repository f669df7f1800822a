// The framework's demo: a host window built from the layout "XML_DEMO" of the program's
// password-protected archive. Its close button (or closing the window) ends the program.
#include <windows.h>
#include <wchar.h>
#include "AppStartup.h"
#include "core/SEvents.h"
#include "core/SHostWnd.h"

namespace {

using namespace SKEIN;

class CDemoHost : public SHostWnd {
public:
    CDemoHost() : SHostWnd(L"LAYOUT:XML_DEMO") {}

    BOOL OnHostEvent(EventArgs* evt) override
    {
        if (evt->GetId() != EventCmd::EventID || !evt->nameFrom)
            return FALSE;
        if (wcscmp(evt->nameFrom, L"btn_close") == 0)
            ::PostMessageW(GetHostHwnd(), WM_CLOSE, 0, 0);
        return TRUE;
    }
};

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    SAppStartup startup(instance);
    int result = 1;
    {
        CDemoHost host;
        HWND hwnd = host.CreateHostDefault(); // centred on the screen
        if (hwnd) {
            ::ShowWindow(hwnd, show);
            result = startup.App()->RunMainLoop(hwnd);
        }
    }
    return result;
}
