#pragma once
// The 64-byte feature reports that carry settings into a joystick, and their builders. A
// builder checks what it is given and either fills the report or returns the error text that
// names the refused index and value; nothing here sends or shows anything.
#include <windows.h>
#include <string>

enum DeviceCommand : BYTE {
    kCommandKeyMap = 0xF1,
    kCommandTurbo = 0xF2,
    kCommandAxisMap = 0xF3,
    kCommandDeadZone = 0xF4,
};

// Byte 0 report id 0, byte 1 command, byte 2 layer, byte 3 button number or axis id, bytes 4
// and 5 the value, the rest zero.
struct FeatureReport {
    enum { kSize = 64 };
    BYTE bytes[kSize];
};

// Highest turbo speed and dead zone a report carries; larger (or negative) values are refused
// whole, never cut to their low byte.
const INT32 kMaxTurboSpeed = 20;
const INT32 kMaxDeadZone = 100;

// Each returns an empty text when report was filled, else the parse error (report undefined).
// Key code 0 is sent as keyboard, no key; axis code 0 as joystick axis 0.
std::wstring BuildKeyMapReport(BYTE layer, BYTE button, UINT32 code, FeatureReport& report);
std::wstring BuildAxisMapReport(BYTE layer, BYTE axisId, UINT32 code, FeatureReport& report);
std::wstring BuildTurboReport(BYTE layer, BYTE button, UINT32 speed, FeatureReport& report);
std::wstring BuildDeadZoneReport(BYTE layer, BYTE axisId, UINT32 value, FeatureReport& report);

// The error text when a report of command could not be sent; index is its byte 3.
std::wstring SendErrorText(DeviceCommand command, BYTE index);
