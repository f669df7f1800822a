#pragma once
// One running instance per session: a named mutex, and a window property of the same name on
// the running instance's main window through which a second start reaches it.
#include <windows.h>

// The name of the mutex and of the main window's property.
extern const wchar_t kInstanceName[];

// Commands a second start sends to the running instance's main window (WM_COMMAND ids).
enum InstanceCommand : WORD { kCommandRestore = 9998, kCommandExit = 9999 };

// How this start goes on, from the command line (the text after the program's name).
enum InstanceStart { kNormalStart = 0, kExitAtOnce = 1, kHiddenStart = 2 };

// "-x": every window carrying the property is told to end, then kExitAtOnce. Another instance
// holds the mutex (or it cannot be made): its windows are restored and brought to the front,
// then kExitAtOnce. "-boot": kHiddenStart. Anything else: kNormalStart. The comparisons are
// exact. The mutex of a start that goes on stays open for the life of the process.
int isMYMutex(const wchar_t* commandLine);
