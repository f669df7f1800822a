// The framework's demo: a host window built from the layout "XML_DEMO" of the program's
// password-protected archive. Its close button (or closing the window) ends the program.
#include <windows.h>
#include <wchar.h>
#include "AppStartup.h"
#include "core/SEvents.h"
#include "core/SHostWnd.h"
#include "helper/SLog.h"

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

const int kExitStartupFailed = 1;

// A start-up failure: logged and shown to the user; the program then ends.
int ReportStartupFailure(const SStringW& text)
{
    SKEIN_LOG(4, "wWinMain").FormatW(L"%s", text.c_str());
    ::MessageBoxW(nullptr, text.c_str(), L"skein demo", MB_OK | MB_ICONERROR);
    return kExitStartupFailed;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int show)
{
    SAppStartup startup(instance);
    if (!startup.ArchiveLoaded()) {
        SStringW text(L"The resource archive cannot be opened:\n");
        text += startup.ArchivePath();
        return ReportStartupFailure(text);
    }
    CDemoHost host;
    HWND hwnd = host.CreateHostDefault(); // centred on the screen
    RECT rect = {0, 0, 0, 0};
    if (hwnd)
        host.GetHostWindowRect(&rect);
    if (::IsRectEmpty(&rect)) // never shown; destroyed with the host
        return ReportStartupFailure(SStringW(L"The window layout LAYOUT:XML_DEMO cannot be built."));
    ::ShowWindow(hwnd, show);
    return startup.App()->RunMainLoop(hwnd);
}
