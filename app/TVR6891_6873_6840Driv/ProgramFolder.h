#pragma once
// The folder of the program's file, where its resources and optional files lie, and paths as
// the program shows them.
#include "core/SString.h"

// The module's folder without a trailing backslash, read whole whatever its length; empty when
// the system gives no name.
SKEIN::SStringW ProgramFolder();
// ProgramFolder() + "\" + name.
SKEIN::SStringW BesideProgram(const wchar_t* name);

// How many characters a line of ShownPath holds at most, and how many lines it has at most.
enum { kShownPathLineChars = 64, kShownPathLines = 16 };
// The path as a message box shows it within the screen: in lines of at most kShownPathLineChars
// characters, each broken after its last backslash where it has one; a path of more lines keeps
// its first and last lines around a line "...".
SKEIN::SStringW ShownPath(const wchar_t* path);
