// Figures of Corvane, each a ratio measured in one run.
// Usage: corvane_bench [runs]
//   Start-up: launches skein_bench_bare.exe (a bare Win32 window) and this program as a child
//   running Corvane's start-up and main window, runs times each after a warm-up run, and times
//   each launch from CreateProcess to the first painted frame of the main window.
// corvane_bench --child <event>: Corvane's start-up and main window; sets the event after the
// first painted frame and closes.
#include <windows.h>
#include <stdio.h>
#include <wchar.h>
#include "CMainDlg.h"
#include "CorvaneStartup.h"
#include "LaunchTiming.h"
#include "SingleInstance.h"

using namespace SKEIN;
using namespace benchtiming;

namespace {

const int kDefaultRuns = 5;
const double kStartupAim = 1.5;

// The main window that reports its first painted frame and then ends.
class FirstFrameMainDlg : public CMainDlg {
public:
    explicit FirstFrameMainDlg(HANDLE firstFrame) : m_firstFrame(firstFrame) {}

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override
    {
        BOOL handled = CMainDlg::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
        if (msg == WM_PAINT && m_firstFrame) {
            ::SetEvent(m_firstFrame);
            m_firstFrame = nullptr;
            ::PostMessageW(hwnd, WM_COMMAND, kCommandExit, 0);
        }
        return handled;
    }

private:
    HANDLE m_firstFrame;
};

int RunChild(const wchar_t* eventName)
{
    HANDLE firstFrame = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    int result;
    {
        CCorvaneStartup startup(::GetModuleHandleW(nullptr));
        FirstFrameMainDlg window(firstFrame);
        result = startup.RunMainWindow(window, false);
    }
    if (firstFrame)
        ::CloseHandle(firstFrame);
    return result;
}

int MeasureStartup(int runs)
{
    double bare = MedianLaunch(BesideProgram(L"skein_bench_bare.exe"), nullptr, runs);
    double corvane = MedianLaunch(BesideProgram(L"corvane_bench.exe"), nullptr, runs);
    if (bare <= 0 || corvane <= 0) {
        printf("a launch failed (bare %.1f ms, Corvane %.1f ms)\n", bare, corvane);
        return 1;
    }
    printf("process start to first painted frame (median of %d launches after a warm-up)\n", runs);
    printf("bare Win32 window:              %8.1f ms\n", bare);
    printf("Corvane main window:            %8.1f ms   ratio Corvane/bare: %.2f (aim: at most %.1f)\n", corvane,
           corvane / bare, kStartupAim);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && wcscmp(argv[1], L"--child") == 0)
        return RunChild(argv[2]);
    int runs = argc > 1 ? _wtoi(argv[1]) : kDefaultRuns;
    return MeasureStartup(runs > 0 ? runs : kDefaultRuns);
}
