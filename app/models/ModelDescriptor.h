#pragma once
// The four joystick models, each described once: product id, data folder and files, language
// file, mapping layers and axis slots, and the send plans (which feature reports a batch sends,
// in which order, from which fields). Detection, records, device handlers and texts read this.
#include <windows.h>
#include "files/ProfileRecords.h"
#include "files/SettingsRecords.h"
#include "protocol/MappingCode.h"

// One axis report of a plan: the axis id it carries and the index it takes its value from (an
// axis slot of the profile layer, or a dead-zone field of the settings record).
struct AxisSend {
    BYTE axisId;
    BYTE source;
};

struct AxisPlan {
    const AxisSend* sends;
    int count;
    const AxisSend* begin() const { return sends; }
    const AxisSend* end() const { return sends + count; }
};

// Buttons 1..26 as bits (bit n-1 for button n).
using ButtonSet = UINT32;
constexpr ButtonSet kAllButtons = (1u << kButtonCount) - 1;
// Buttons 21 and 22 are never mapped.
constexpr ButtonSet kMappedButtons = kAllButtons & ~(3u << 20);
constexpr bool HasButton(ButtonSet set, int button) { return (set >> (button - 1)) & 1; }

struct ModelDescriptor {
    USHORT productId;
    const wchar_t* folder;       // model data folder name under "ZVK"
    const wchar_t* profileName;  // stored in the profile, never compared
    const wchar_t* profileFile;  // the automatic files in the data folder
    const wchar_t* settingsFile;
    const wchar_t* languageFile; // beside the program, optional
    int layerCount;
    int axisSlotCount;
    // Per layer, a mapping batch sends the key mappings of keyButtons, then (layers again) the
    // axis mappings of axisPlan, then the turbo speeds of turboButtons; a settings batch sends
    // deadZonePlan once per layer.
    ButtonSet keyButtons;
    AxisPlan axisPlan;
    ButtonSet turboButtons;
    AxisPlan deadZonePlan;
};

// Slots: X-, X+, Y-, Y+, Rz-, Rz+, Z.
inline constexpr AxisSend kOlderAxisSends[] = {
    {kAxisXMinus, 0}, {kAxisXPlus, 1}, {kAxisYMinus, 2}, {kAxisYPlus, 3},
    {kAxisZ, 6},      {kAxisRzMinus, 4}, {kAxisRzPlus, 5},
};
inline constexpr AxisSend kOlderDeadZoneSends[] = {
    {kAxisXMinus, kOlderDeadZoneX}, {kAxisYMinus, kOlderDeadZoneY},
    {kAxisZ, kOlderDeadZoneZ},      {kAxisRzMinus, kOlderDeadZoneRz},
};
// Slots: X-, X+, Y-, Y+, RZ-, RZ+, RX, RY, Z, slider.
inline constexpr AxisSend kAxisSends6891[] = {
    {kAxisXMinus, 0}, {kAxisXPlus, 1},   {kAxisYMinus, 2}, {kAxisYPlus, 3}, {kAxisZ, 8},
    {kAxisRzMinus, 4}, {kAxisRzPlus, 5}, {kAxisRx, 6},     {kAxisRy, 7},    {kAxisSlider, 9},
};
inline constexpr AxisSend kDeadZoneSends6891[] = {
    {kAxisXMinus, kDeadZoneX6891},   {kAxisYMinus, kDeadZoneY6891}, {kAxisZ, kDeadZoneZ6891},
    {kAxisRzMinus, kDeadZoneRz6891}, {kAxisRx, kDeadZoneRx6891},    {kAxisRy, kDeadZoneRy6891},
    {kAxisSlider, kDeadZoneSlider6891},
};

constexpr AxisPlan kOlderAxisPlan = {kOlderAxisSends, kOlderAxisSlots};
constexpr AxisPlan kOlderDeadZonePlan = {kOlderDeadZoneSends, kOlderDeadZoneCount};

constexpr ModelDescriptor OlderModel(USHORT productId, const wchar_t* folder, const wchar_t* profileName,
                                     const wchar_t* languageFile)
{
    return {productId, folder, profileName, kProfileFileName, kSettingsFileName, languageFile, 1, kOlderAxisSlots,
            kMappedButtons, kOlderAxisPlan, kAllButtons, kOlderDeadZonePlan};
}

inline constexpr ModelDescriptor kModel6891 = {
    6891, L"6891", L"ZVK689Profile", kProfileFileName, kSettingsFileName, L"lang6891.xml",
    k6891LayerCount, k6891AxisSlots, kMappedButtons, {kAxisSends6891, k6891AxisSlots},
    kMappedButtons, {kDeadZoneSends6891, k6891DeadZoneCount}};
inline constexpr ModelDescriptor kModel6867 = OlderModel(6867, L"6867", L"ZVK6867Profile", L"lang6867.xml");
inline constexpr ModelDescriptor kModel6852 = OlderModel(6852, L"6852", L"ZVK6852Profile", L"lang6852.xml");
inline constexpr ModelDescriptor kModel6840 = OlderModel(6840, L"6840", L"ZVK6840Profile", L"lang6840.xml");

// In model-priority order: a probe takes the first one attached.
inline constexpr const ModelDescriptor* kModels[] = {&kModel6891, &kModel6867, &kModel6852, &kModel6840};

static_assert(sizeof(kOlderAxisSends) / sizeof(AxisSend) == kOlderAxisSlots, "one report per older axis slot");
static_assert(sizeof(kOlderDeadZoneSends) / sizeof(AxisSend) == kOlderDeadZoneCount, "one report per dead zone");
static_assert(sizeof(kAxisSends6891) / sizeof(AxisSend) == k6891AxisSlots, "one report per axis slot");
static_assert(sizeof(kDeadZoneSends6891) / sizeof(AxisSend) == k6891DeadZoneCount, "one report per dead zone");
