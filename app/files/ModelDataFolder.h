#pragma once
// The per-model folder of the automatic settings and profile files.
#include <string>

// <common application data>\ZVK, or <...>\ZVK\<model> when model is not empty; created when
// missing, no trailing backslash. Empty when the common folder cannot be found or the folder
// cannot be created: then no automatic file is read or written.
std::wstring ModelDataFolder(const std::wstring& model);

// Tests: a folder that stands in for the common application-data folder; empty restores it.
void SetModelDataRoot(const std::wstring& root);
