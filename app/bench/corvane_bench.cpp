// Figures of Corvane, each measured in one run.
// Usage: corvane_bench [runs]
//   Start-up: launches skein_bench_bare.exe (a bare Win32 window) and this program as a child
//   running Corvane's start-up and main window, runs times each after a warm-up run, and times
//   each launch from CreateProcess to the first painted frame of the main window.
//   Idle poll tick: Corvane's main window in this process with a simulated model 6891, then
//   6840, whose state (stick off centre, hat and a few buttons pressed) does not change, and
//   the filled function-test sub-page shown; the pixels repainted and the heap allocations
//   (malloc, calloc, realloc and operator new, which the link counts) per poll tick over 300
//   ticks.
// corvane_bench --child <event>: Corvane's start-up and main window; sets the event after the
// first painted frame and closes.
#include <windows.h>
#include <stdio.h>
#include <wchar.h>
#include "CMainDlg.h"
#include "CorvaneStartup.h"
#include "LaunchTiming.h"
#include "SingleInstance.h"
#include "support/SimJoystick.h"

// Every heap allocation of the program's code goes through these (the link wraps the names).
namespace {
volatile long g_allocations = 0;
}

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void* __wrap_malloc(size_t size)
{
    ++g_allocations;
    return __real_malloc(size);
}
void* __wrap_calloc(size_t count, size_t size)
{
    ++g_allocations;
    return __real_calloc(count, size);
}
void* __wrap_realloc(void* block, size_t size)
{
    ++g_allocations;
    return __real_realloc(block, size);
}
}

using namespace SKEIN;
using namespace benchtiming;

namespace {

const int kDefaultRuns = 5;
const double kStartupAim = 1.5;
const int kWarmUpTicks = 30;
const int kCountedTicks = 300;
const int kFunctionTestSubPage = 2;
const USHORT kVendor = 0x2E7A;
const USHORT kMeasuredModels[] = {6891, 6840};
const int kMaxRegionRects = 64;

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

// The main window that counts poll ticks and the pixels its paints redraw.
class CountingMainDlg : public CMainDlg {
public:
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result,
                             DWORD mapId) override
    {
        if (msg == WM_PAINT)
            repaintedPixels += UpdateArea(hwnd);
        if (msg == CHidDirectInputWnd::kMsgPolled)
            ++ticks;
        return CMainDlg::HandleWindowMessage(hwnd, msg, wParam, lParam, result, mapId);
    }

    long long repaintedPixels = 0;
    int ticks = 0;

private:
    // Pixels of the window's update region; none of it on the heap.
    static long long UpdateArea(HWND hwnd)
    {
        HRGN region = ::CreateRectRgn(0, 0, 0, 0);
        long long area = 0;
        if (::GetUpdateRgn(hwnd, region, FALSE) > NULLREGION) {
            struct {
                RGNDATAHEADER header;
                RECT rects[kMaxRegionRects];
            } data;
            if (::GetRegionData(region, sizeof(data), reinterpret_cast<RGNDATA*>(&data))) {
                for (DWORD i = 0; i < data.header.nCount; ++i)
                    area += static_cast<long long>(data.rects[i].right - data.rects[i].left) *
                            (data.rects[i].bottom - data.rects[i].top);
            } else {
                RECT box;
                ::GetRgnBox(region, &box);
                area = static_cast<long long>(box.right - box.left) * (box.bottom - box.top);
            }
        }
        ::DeleteObject(region);
        return area;
    }
};

// Pumps the thread's messages until the window has seen ticks more poll ticks.
void PumpTicks(CountingMainDlg& window, int ticks)
{
    int until = window.ticks + ticks;
    MSG msg;
    while (window.ticks < until && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// A state held still mid-movement: every control of the page shows something.
JoyState HeldState()
{
    JoyState state = {};
    state.lX = 50000;
    state.lY = 12000;
    state.lZ = state.lRx = state.lRy = state.lRz = state.rglSlider[0] = 0x9000;
    state.rgdwPOV[0] = 9000;
    for (int button : {2, 5, 11, 14, 18, 22})
        state.rgbButtons[button - 1] = 0x80;
    return state;
}

int MeasureIdleTick(USHORT model)
{
    SimJoystick joysticks;
    joysticks.Plug(kVendor, model).Feed(HeldState());
    double pixelsPerTick = 0.0, allocationsPerTick = 0.0;
    long startAllocations = 0;
    {
        CCorvaneStartup startup(::GetModuleHandleW(nullptr));
        CountingMainDlg window;
        HWND hwnd = window.CreateHostDefault();
        if (!hwnd || !window.HasLayout()) {
            printf("the main window could not be made\n");
            return 1;
        }
        ::SendMessageW(hwnd, WM_INITDIALOG, 0, 0);
        window.SelectSubPage(kFunctionTestSubPage);
        ::ShowWindow(hwnd, SW_SHOWNORMAL);
        ::SetForegroundWindow(hwnd);
        PumpTicks(window, kWarmUpTicks);
        long long pixels = window.repaintedPixels;
        long allocations = g_allocations;
        startAllocations = allocations;
        PumpTicks(window, kCountedTicks);
        pixelsPerTick = static_cast<double>(window.repaintedPixels - pixels) / kCountedTicks;
        allocationsPerTick = static_cast<double>(g_allocations - allocations) / kCountedTicks;
        window.DestroyHost();
        // The main window's end posts WM_QUIT: taken here, or it would cut the next
        // measurement's warm-up short.
        MSG quit;
        while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    printf("idle poll tick (model %u, state unchanged, function test shown, %d ticks)\n", model, kCountedTicks);
    printf("repainted pixels per tick:      %8.2f   (aim: 0)\n", pixelsPerTick);
    printf("heap allocations per tick:      %8.2f   (aim: 0; %ld counted until the first tick)\n",
           allocationsPerTick, startAllocations);
    return 0;
}

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
    int result = MeasureStartup(runs > 0 ? runs : kDefaultRuns);
    for (USHORT model : kMeasuredModels)
        result = MeasureIdleTick(model) || result;
    return result;
}
