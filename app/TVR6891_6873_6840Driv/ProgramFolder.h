#pragma once
// The folder of the program's file, where its resources and optional files lie.
#include "core/SString.h"

// The module's folder without a trailing backslash, read whole whatever its length; empty when
// the system gives no name.
SKEIN::SStringW ProgramFolder();
// ProgramFolder() + "\" + name.
SKEIN::SStringW BesideProgram(const wchar_t* name);
