#pragma once
// The program's own texts: the window title and the texts of the apply and restore message
// boxes. Each has a default; "mainlang.xml" in the program's folder may replace them.
#include "core/SString.h"

struct MainTexts {
    SKEIN::SStringW title;
    SKEIN::SStringW connectionWarning;
    SKEIN::SStringW applied;
    SKEIN::SStringW restoreQuestion;
    bool loaded = false; // set when a "mainlang.xml" was read

    MainTexts();
    // Reads the file: under its root element "root" the attribute "name" of the elements
    // "TilteName", "deviceConnectWarring", "applayOK" and "MsgboxRestore"; a missing element or
    // attribute gives an empty text. A file that is missing, does not parse or is too large
    // (LoadLanguageFile) changes nothing.
    void LoadFrom(const wchar_t* path);
};

// The texts the device handlers show.
MainTexts& CurrentMainTexts();
