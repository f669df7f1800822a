#pragma once
// The program's open and save dialogs, through the prompt seam.
#include <string>

enum class FileDialogKind { Open, Save };

// Runs the dialog over the active window, starting in the user's Documents folder. filter is
// pairs of display text and pattern, double-zero terminated. True, with the path, only when the
// user chose a file and the window it ran over still lives; an open dialog accepts existing
// files only.
bool ChooseFile(FileDialogKind kind, const wchar_t* filter, const wchar_t* extension, std::wstring& path);
