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
//   Long run: Corvane's main window in this process with a simulated model 6840; the window
//   count of the thread, the live host windows of the framework and the program's live heap
//   blocks (malloc and operator new less free) before and after 100 mapping pop-ups (the real
//   menu, ended by Escape or by a pick in its joystick sub-menu) and 100 sub-page switches.
// corvane_bench --child <event>: Corvane's start-up and main window; sets the event after the
// first painted frame and closes.
#include <windows.h>
#include <stdio.h>
#include <wchar.h>
#include "CMainDlg.h"
#include "CorvaneStartup.h"
#include "LaunchTiming.h"
#include "SingleInstance.h"
#include "core/SHostWnd.h"
#include "support/SimJoystick.h"

// Every heap allocation and release of the program's code goes through these (the link wraps
// the names).
namespace {
volatile long g_allocations = 0;
volatile long g_liveBlocks = 0;
}

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
void* __wrap_malloc(size_t size)
{
    ++g_allocations;
    void* block = __real_malloc(size);
    g_liveBlocks += block != nullptr;
    return block;
}
void* __wrap_calloc(size_t count, size_t size)
{
    ++g_allocations;
    void* block = __real_calloc(count, size);
    g_liveBlocks += block != nullptr;
    return block;
}
void* __wrap_realloc(void* block, size_t size)
{
    ++g_allocations;
    void* moved = __real_realloc(block, size);
    if (!block && moved)
        ++g_liveBlocks;
    else if (block && size == 0)
        --g_liveBlocks;
    return moved;
}
void __wrap_free(void* block)
{
    g_liveBlocks -= block != nullptr;
    __real_free(block);
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
const int kLongRunPopups = 100;
const int kLongRunSwitches = 100;
const int kSubPages = 4;
const UINT kKeyTickMs = 15;

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
    CountingMainDlg() = default;
    explicit CountingMainDlg(const DeviceHandlers& handlers) : CMainDlg(handlers) {}

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

// The main window made, initialised on sub-page subPage, shown in front and warmed up.
bool OpenMainWindow(CountingMainDlg& window, int subPage)
{
    HWND hwnd = window.CreateHostDefault();
    if (!hwnd || !window.HasLayout()) {
        printf("the main window could not be made\n");
        return false;
    }
    ::SendMessageW(hwnd, WM_INITDIALOG, 0, 0);
    window.SelectSubPage(subPage);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::SetForegroundWindow(hwnd);
    PumpTicks(window, kWarmUpTicks);
    return true;
}

void CloseMainWindow(CountingMainDlg& window)
{
    window.DestroyHost();
    // The main window's end posts WM_QUIT: taken here, or it would cut the next measurement's
    // warm-up short.
    MSG quit;
    while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
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
        if (!OpenMainWindow(window, kFunctionTestSubPage))
            return 1;
        long long pixels = window.repaintedPixels;
        long allocations = g_allocations;
        startAllocations = allocations;
        PumpTicks(window, kCountedTicks);
        pixelsPerTick = static_cast<double>(window.repaintedPixels - pixels) / kCountedTicks;
        allocationsPerTick = static_cast<double>(g_allocations - allocations) / kCountedTicks;
        CloseMainWindow(window);
    }
    printf("idle poll tick (model %u, state unchanged, function test shown, %d ticks)\n", model, kCountedTicks);
    printf("repainted pixels per tick:      %8.2f   (aim: 0)\n", pixelsPerTick);
    printf("heap allocations per tick:      %8.2f   (aim: 0; %ld counted until the first tick)\n",
           allocationsPerTick, startAllocations);
    return 0;
}

// What a long run must give back: windows, hosts, heap blocks.
struct Leftovers {
    int windows;
    long hosts;
    long heapBlocks;
};

BOOL CALLBACK CountWindow(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

Leftovers TakeLeftovers()
{
    Leftovers now = {0, SHostWnd::LiveCount(), g_liveBlocks};
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&now.windows));
    return now;
}

// The keys that end the running mapping menu, posted one per timer tick to the main window
// while a menu it owns shows: the menu takes the main window's keys for its own.
struct MenuKeys {
    HWND main;
    const UINT* keys;
    int count;
    int next;
} g_menuKeys;

BOOL CALLBACK FindShownOwned(HWND window, LPARAM found)
{
    if (!::IsWindowVisible(window) || ::GetWindow(window, GW_OWNER) != g_menuKeys.main)
        return TRUE;
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
}

void CALLBACK PlayMenuKey(HWND, UINT, UINT_PTR, DWORD)
{
    bool menuShown = false;
    if (g_menuKeys.next < g_menuKeys.count)
        ::EnumThreadWindows(::GetCurrentThreadId(), FindShownOwned, reinterpret_cast<LPARAM>(&menuShown));
    if (!menuShown)
        return;
    UINT key = g_menuKeys.keys[g_menuKeys.next++];
    ::PostMessageW(g_menuKeys.main, WM_KEYDOWN, key, 1);
    ::PostMessageW(g_menuKeys.main, WM_KEYUP, key, 0xC0000001);
}

// One mapping pop-up of the 6840 key-mapping page: odd ones end by Escape, even ones by a pick
// in the joystick sub-menu.
void MappingPopup(CountingMainDlg& window, CMyHandlerBase& keymap, int index)
{
    static const UINT kEscape[] = {VK_ESCAPE};
    static const UINT kSubMenuPick[] = {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_RETURN};
    bool pick = index % 2 == 0;
    g_menuKeys = {window.Handle(), pick ? kSubMenuPick : kEscape, pick ? 6 : 1, 0};
    SWindow* button = keymap.Page()->LookupChildByName(pick ? L"btn_Keymap_1" : L"btn_Aixymap_X");
    const RECT& rect = button->GetWindowRect();
    LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    ::SetForegroundWindow(window.Handle());
    ::SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, point);
    ::SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(window.Handle(), WM_LBUTTONUP, 0, point);
    PumpTicks(window, 1);
}

void PrintLeftover(const char* what, long before, long after)
{
    printf("%-32s%8ld -> %-8ld (aim: equal)\n", what, before, after);
}

int MeasureLongRun()
{
    SimJoystick joysticks;
    joysticks.Plug(kVendor, 6840).Feed(HeldState());
    Leftovers before = {}, after = {};
    {
        CCorvaneStartup startup(::GetModuleHandleW(nullptr));
        ZVK6891::CDeviceHandler6891 h6891;
        ZVK6867::CDeviceHandler6867 h6867;
        ZVK6852::CDeviceHandler6852 h6852;
        ZVK6840::CDeviceHandler6840 h6840;
        CountingMainDlg window(CMainDlg::DeviceHandlers{&h6891, &h6867, &h6852, &h6840});
        if (!OpenMainWindow(window, 0))
            return 1;
        UINT_PTR keyTimer = ::SetTimer(nullptr, 0, kKeyTickMs, PlayMenuKey);
        // Everything made once (skins decoded, fonts, texts) is made before the count starts.
        for (int i = 0; i < 2; ++i)
            MappingPopup(window, h6840.KeymapPage(), i);
        for (int page = 1; page <= kSubPages; ++page) {
            window.SelectSubPage(page % kSubPages);
            PumpTicks(window, 1);
        }
        before = TakeLeftovers();
        for (int i = 0; i < kLongRunPopups; ++i)
            MappingPopup(window, h6840.KeymapPage(), i);
        for (int i = 1; i <= kLongRunSwitches; ++i) {
            window.SelectSubPage(i % kSubPages);
            PumpTicks(window, 1);
        }
        PumpTicks(window, 1);
        after = TakeLeftovers();
        ::KillTimer(nullptr, keyTimer);
        CloseMainWindow(window);
    }
    printf("long run (model 6840: %d mapping pop-ups, then %d sub-page switches)\n", kLongRunPopups,
           kLongRunSwitches);
    PrintLeftover("windows of the thread:", before.windows, after.windows);
    PrintLeftover("live host windows:", before.hosts, after.hosts);
    PrintLeftover("live heap blocks:", before.heapBlocks, after.heapBlocks);
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
    return MeasureLongRun() || result;
}
