#pragma once
// The 32-bit mapping code that a profile stores for every button and axis: byte 0 the value
// (button number, keyboard usage id, mouse button or movement, axis id), byte 1 the sub-type,
// byte 2 the class, byte 3 zero. 0 means not set.
#include <windows.h>

enum MappingClass : BYTE {
    kClassButton = 0xF1, // what a button sends
    kClassAxis = 0xF3,   // what an axis sends
};

enum MappingSubType : BYTE {
    kSubJoystick = 0,    // a joystick button or axis
    kSubKeyboard = 1,    // a keyboard usage id
    kSubMouseButton = 2, // mouse buttons 1..8
    kSubMouseMove = 3,   // mouse movements 0x21..0x26 (axis mappings only)
};

// The axis ids of the axis reports and of axis mapping values; the halves come in pairs.
enum AxisId : BYTE {
    kAxisXMinus = 0x21,
    kAxisXPlus = 0x22,
    kAxisYMinus = 0x23,
    kAxisYPlus = 0x24,
    kAxisZ = 0x25,
    kAxisRzMinus = 0x26,
    kAxisRzPlus = 0x27,
    kAxisRx = 0x28,
    kAxisRy = 0x29,
    kAxisSlider = 0x2A,
};

constexpr UINT32 MakeMappingCode(BYTE cls, BYTE subType, BYTE value)
{
    return value | static_cast<UINT32>(subType) << 8 | static_cast<UINT32>(cls) << 16;
}
constexpr BYTE CodeValue(UINT32 code) { return static_cast<BYTE>(code); }
constexpr BYTE CodeSubType(UINT32 code) { return static_cast<BYTE>(code >> 8); }
constexpr BYTE CodeClass(UINT32 code) { return static_cast<BYTE>(code >> 16); }

inline void PackMappingCode(UINT32& code, BYTE cls, BYTE subType, BYTE value)
{
    code = MakeMappingCode(cls, subType, value);
}

// An axis mapping to a joystick axis (class 0xF3, sub-type 0).
constexpr bool IsJoystickAxisCode(UINT32 code)
{
    return CodeClass(code) == kClassAxis && CodeSubType(code) == kSubJoystick;
}
