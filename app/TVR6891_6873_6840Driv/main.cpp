// Corvane: the configuration program of the joysticks. One instance per session; a second start
// hands over to the running one.
#include <windows.h>
#include <tchar.h>
#include "CorvaneStartup.h"
#include "SingleInstance.h"

int WINAPI _tWinMain(HINSTANCE instance, HINSTANCE, LPTSTR commandLine, int)
{
    int start = isMYMutex(commandLine);
    if (start == kExitAtOnce)
        return 0;
    return RunCorvane(instance, start == kHiddenStart);
}
