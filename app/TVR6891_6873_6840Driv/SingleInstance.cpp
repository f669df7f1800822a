#include "SingleInstance.h"
#include <vector>
#include "helper/SLog.h"
#include "widgets/BringBack.h"

using namespace SKEIN;

const wchar_t kInstanceName[] = L"QMTVR689168736840Driv-Mutex{6A3C91D2-47B0-4E5F-9C18-2D7E05B4A3F1}";

namespace {

const wchar_t kExitWord[] = L"-x";
const wchar_t kBootWord[] = L"-boot";
// A running instance that does not answer within this time is given up.
const UINT kSendTimeoutMs = 5000;
// Where the log lines say they come from.
const char kLogFunction[] = "isMYMutex";
const char kLogSource[] = "TVR6891_6873_6840Driv";
enum { kLogLevel = 2, kLineExitWord = 51, kLineRunning = 85, kLineBootWord = 91 };

HANDLE g_instanceMutex = nullptr;

void Log(int line, const char* text)
{
    SLogEntry(kLogLevel, kLogFunction, kLogSource, line, __builtin_return_address(0)).Line().AppendText(text);
}

BOOL CALLBACK CollectInstanceWindow(HWND window, LPARAM list)
{
    if (GetPropW(window, kInstanceName))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The top-level windows that carry the instance property, taken once.
std::vector<HWND> InstanceWindows()
{
    std::vector<HWND> windows;
    EnumWindows(CollectInstanceWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void SendCommand(HWND window, WORD command)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, WM_COMMAND, MAKEWPARAM(command, 0), 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
}

} // namespace

int isMYMutex(const wchar_t* commandLine)
{
    if (wcscmp(commandLine, kExitWord) == 0) {
        Log(kLineExitWord, "strCmdLine.Compare - x");
        for (HWND window : InstanceWindows())
            SendCommand(window, kCommandExit);
        return kExitAtOnce;
    }
    HANDLE mutex = CreateMutexW(nullptr, FALSE, kInstanceName);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex)
            CloseHandle(mutex);
        for (HWND window : InstanceWindows()) {
            SendCommand(window, kCommandRestore);
            SetForegroundWindow(FrontWindowOf(window));
        }
        Log(kLineRunning, "GetLastError() == ERROR_ALREADY_EXISTS");
        return kExitAtOnce;
    }
    g_instanceMutex = mutex;
    if (wcscmp(commandLine, kBootWord) == 0) {
        Log(kLineBootWord, "strCmdLine.Compare - boot");
        return kHiddenStart;
    }
    return kNormalStart;
}
