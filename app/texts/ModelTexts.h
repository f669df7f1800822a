#pragma once
// A model's display texts: the words of the mapping pop-up menus and the names of keyboard
// keys, mouse buttons and movements, device buttons, hats and axes. Each text has a built-in
// default that the model's language file ("lang<model>.xml" beside the program) may replace;
// the mouse and device name tables are built from the texts once, after that.
#include <stdint.h>
#include "core/SString.h"

// Indices of the texts that are used by themselves (the others are reached through the name
// tables).
enum ModelTextIndex {
    kTextKeyboard = 0,     // pop-up item
    kTextJoystick = 1,     // key pop-up item
    kTextAxis = 2,         // axis pop-up item
    kTextMouse = 3,        // pop-up item
    kTextDefault = 18,     // pop-up item
    kTextWholeX = 55,      // X axis mapped as a whole
    kTextWholeY = 56,      // Y axis mapped as a whole
    kTextWholeTwist = 57,  // RZ axis mapped as a whole
    kModelTextCount = 58
};

class ModelTexts {
public:
    // The language file's name, e.g. L"lang6840.xml"; texts start as the defaults.
    explicit ModelTexts(const wchar_t* languageFile);

    // The language file beside the program (see LoadFrom).
    void LoadModelTexts();
    // A file that is missing, not well-formed or too large (LoadLanguageFile) changes nothing.
    // Otherwise, under the root element "root", each text becomes the attribute "name" of the
    // element named by its key; a missing element or attribute gives an empty text.
    void LoadFrom(const wchar_t* path);
    // Mouse names: buttons 1..8 and movements 0x21..0x26, from the current texts.
    void BuildMouseNames();
    // Device names: buttons 1..26 and axes 0x21..0x2A, from the current texts.
    void BuildDeviceNames();

    const SKEIN::SStringW& Text(int index) const { return m_texts[index]; }
    bool Loaded() const { return m_loaded; }
    // Names from the tables; a value they lack gives an empty text.
    SKEIN::SStringW MouseName(int value) const;
    SKEIN::SStringW DeviceName(int value) const;

    // The text of a 4-byte mapping code (value, sub-type, class from the low byte up). An axis
    // code names a whole axis ("X axes") unless half is set, then the direction ("-X axes").
    // Keyboard codes name the key; anything unknown, and the code 0, gives an empty text.
    SKEIN::SStringW MappingDisplayName(uint32_t code, bool half) const;

    // The language-file element and the built-in default of text index.
    static const wchar_t* Key(int index);
    static const wchar_t* DefaultText(int index);

private:
    static const int kButtonNames = 26;  // device buttons 1..26
    static const int kMouseButtons = 8;  // mouse buttons 1..8
    static const int kMouseMoves = 6;    // mouse movements 0x21..0x26
    static const int kDeviceAxes = 10;   // axes 0x21..0x2A

    SKEIN::SStringW m_languageFile;
    SKEIN::SStringW m_texts[kModelTextCount];
    SKEIN::SStringW m_mouseButtons[kMouseButtons];
    SKEIN::SStringW m_mouseMoves[kMouseMoves];
    SKEIN::SStringW m_deviceButtons[kButtonNames];
    SKEIN::SStringW m_deviceAxes[kDeviceAxes];
    bool m_loaded = false;
};

// The texts of model 6840, 6852, 6867 or 6891 (language file "lang<model>.xml"), one set per
// model for the whole program; any other number gets a set that keeps the defaults.
ModelTexts& ModelTextsOf(int model);

// At the main window's start, for the models 6891, 6867, 6852 and 6840 in turn: the language
// file, then the mouse and device name tables.
void LoadAllModelTexts();
