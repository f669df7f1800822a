// Start-up and repaint timings of a host window built from the demo layout (about 100 controls)
// in the demo's archive skein_demo.zip.
// Usage: skein_bench_host [runs]
//   Launches skein_bench_bare.exe (a bare Win32 window drawing as many items) and this program
//   as a child, runs times each after one warm-up run, and times each launch from CreateProcess
//   to the named event the child sets once its first frame is painted. The host is timed with
//   the program's default image decoder and with the WIC one. Then, in this process, times
//   repaints of one small control against repaints of the whole host.
// skein_bench_host --child <event> [decoder]: the host program itself; sets the event after its
// first painted frame and closes.
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>
#include <algorithm>
#include <string>
#include <vector>
#include "AppStartup.h"
#include "LaunchTiming.h"
#include "core/SHostWnd.h"

using namespace SKEIN;
using namespace benchtiming;

namespace {

const wchar_t kLayout[] = L"LAYOUT:XML_DEMO";
const wchar_t kSmallControl[] = L"sw_0_0";
const int kRepaints = 200;

// Sets firstFrame (when given) after its first WM_PAINT and then closes itself; counts paints.
class BenchHost : public SHostWnd {
public:
    explicit BenchHost(HANDLE firstFrame) : SHostWnd(kLayout), m_firstFrame(firstFrame) {}

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override
    {
        BOOL handled = SHostWnd::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
        if (msg == WM_PAINT && ++paints == 1 && m_firstFrame) {
            ::SetEvent(m_firstFrame);
            ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        }
        return handled;
    }

    int paints = 0;

private:
    HANDLE m_firstFrame;
};

int RunChild(HINSTANCE instance, const wchar_t* eventName, const wchar_t* decoderName)
{
    HANDLE firstFrame = ::OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName);
    SAppStartupOptions options;
    options.decoderName = decoderName;
    SAppStartup startup(instance, options);
    int result = 1;
    {
        BenchHost host(firstFrame);
        HWND hwnd = host.CreateHostDefault();
        if (hwnd) {
            ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
            result = startup.App()->RunMainLoop(hwnd);
        }
    }
    if (firstFrame)
        ::CloseHandle(firstFrame);
    return result;
}

// Median milliseconds of invalidating area of window (null: all of it) and painting the host at
// once.
double TimeRepaint(HWND hwnd, SWindow* window, const RECT* area = nullptr)
{
    std::vector<double> times;
    for (int i = 0; i < kRepaints; ++i) {
        double start = Now();
        window->InvalidateArea(area);
        ::UpdateWindow(hwnd);
        times.push_back(Now() - start);
    }
    return Median(times);
}

double RectArea(const RECT& rect)
{
    return static_cast<double>(rect.right - rect.left) * static_cast<double>(rect.bottom - rect.top);
}

int MeasureRepaints()
{
    SAppStartup startup(GetModuleHandleW(nullptr));
    BenchHost host(nullptr);
    HWND hwnd = host.CreateHostDefault();
    SWindow* small = host.LookupChildByName(SStringW(kSmallControl));
    if (!hwnd || !small) {
        printf("the host or its control \"%ls\" could not be made\n", kSmallControl);
        return 1;
    }
    ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
    ::UpdateWindow(hwnd);
    TimeRepaint(hwnd, &host); // warm-up
    int paintsBefore = host.paints;
    double full = TimeRepaint(hwnd, &host);
    int fullPaints = host.paints - paintsBefore;
    double part = TimeRepaint(hwnd, small);
    const RECT pixel = {300, 400, 301, 401};
    double fixed = TimeRepaint(hwnd, &host, &pixel);
    RECT client = {};
    ::GetClientRect(hwnd, &client);
    double areaRatio = RectArea(small->GetWindowRect()) / RectArea(client);
    printf("repaint, whole host %ldx%ld:     %8.3f ms (median of %d, %d paints)\n", client.right, client.bottom,
           full, kRepaints, fullPaints);
    printf("repaint, one control \"%ls\":  %8.3f ms\n", kSmallControl, part);
    printf("repaint, one pixel (a frame's fixed cost): %8.3f ms\n", fixed);
    printf("time ratio small/full: %.4f   without the fixed cost: %.4f   area ratio: %.4f\n",
           full > 0 ? part / full : 0.0, full > fixed ? (part - fixed) / (full - fixed) : 0.0, areaRatio);
    host.DestroyHost();
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc >= 3 && wcscmp(argv[1], L"--child") == 0)
        return RunChild(GetModuleHandleW(nullptr), argv[2], argc >= 4 ? argv[3] : nullptr);
    int runs = argc > 1 ? _wtoi(argv[1]) : 5;
    if (runs < 1)
        runs = 5;
    double bare = MedianLaunch(BesideProgram(L"skein_bench_bare.exe"), nullptr, runs);
    double host = MedianLaunch(BesideProgram(L"skein_bench_host.exe"), nullptr, runs);
    double hostWic = MedianLaunch(BesideProgram(L"skein_bench_host.exe"), L"imgdecoder-wic", runs);
    if (bare <= 0 || host <= 0 || hostWic <= 0) {
        printf("a launch failed (bare %.1f ms, host %.1f ms, host with WIC %.1f ms)\n", bare, host, hostWic);
        return 1;
    }
    printf("process start to first painted frame (median of %d launches after a warm-up)\n", runs);
    printf("bare Win32 window:                        %8.1f ms\n", bare);
    printf("demo host, default decoder:               %8.1f ms   ratio host/bare: %.2f (aim: at most 1.5)\n",
           host, host / bare);
    printf("demo host, imgdecoder-wic:                %8.1f ms   ratio host/bare: %.2f\n", hostWic, hostWic / bare);
    return MeasureRepaints();
}
