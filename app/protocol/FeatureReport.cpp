#include "protocol/FeatureReport.h"
#include <string.h>
#include <wchar.h>
#include "protocol/MappingCode.h"

namespace {

// The index and value numbers print as signed 32-bit decimals.
std::wstring Format(const wchar_t* format, int index, INT32 value = 0)
{
    wchar_t text[128];
    swprintf(text, sizeof(text) / sizeof(text[0]), format, index, value);
    return text;
}

void Start(FeatureReport& report, DeviceCommand command, BYTE layer, BYTE index)
{
    memset(report.bytes, 0, sizeof(report.bytes));
    report.bytes[1] = command;
    report.bytes[2] = layer;
    report.bytes[3] = index;
}

// Shared by key and axis mappings: class and sub-type checked, then sub-type and value set.
std::wstring BuildMapping(DeviceCommand command, BYTE layer, BYTE index, UINT32 code, BYTE highestSubType,
                          const wchar_t* classError, const wchar_t* subTypeError, FeatureReport& report)
{
    INT32 printed = static_cast<INT32>(code);
    if (CodeClass(code) != command)
        return Format(classError, index, printed);
    if (CodeSubType(code) > highestSubType)
        return Format(subTypeError, index, printed);
    Start(report, command, layer, index);
    report.bytes[4] = CodeSubType(code);
    report.bytes[5] = CodeValue(code);
    return std::wstring();
}

std::wstring BuildValue(DeviceCommand command, BYTE layer, BYTE index, UINT32 value, INT32 highest,
                        const wchar_t* error, FeatureReport& report)
{
    INT32 signedValue = static_cast<INT32>(value);
    if (signedValue < 0 || signedValue > highest)
        return Format(error, index, signedValue);
    Start(report, command, layer, index);
    report.bytes[4] = static_cast<BYTE>(value);
    return std::wstring();
}

} // namespace

std::wstring BuildKeyMapReport(BYTE layer, BYTE button, UINT32 code, FeatureReport& report)
{
    if (code == 0)
        code = MakeMappingCode(kClassButton, kSubKeyboard, 0);
    return BuildMapping(kCommandKeyMap, layer, button, code, kSubMouseButton, L"解析按键%d映射指令失败,指令 %d",
                        L"解析按键%d映射指令失败,指令值 %d", report);
}

std::wstring BuildAxisMapReport(BYTE layer, BYTE axisId, UINT32 code, FeatureReport& report)
{
    if (code == 0)
        code = MakeMappingCode(kClassAxis, kSubJoystick, 0);
    return BuildMapping(kCommandAxisMap, layer, axisId, code, kSubMouseMove, L"解析轴%d映射指令失败,指令 %d",
                        L"解析轴%d映射指令失败,指令值 %d", report);
}

std::wstring BuildTurboReport(BYTE layer, BYTE button, UINT32 speed, FeatureReport& report)
{
    return BuildValue(kCommandTurbo, layer, button, speed, kMaxTurboSpeed, L"解析连发速度%d指令失败,速度值 %d",
                      report);
}

std::wstring BuildDeadZoneReport(BYTE layer, BYTE axisId, UINT32 value, FeatureReport& report)
{
    return BuildValue(kCommandDeadZone, layer, axisId, value, kMaxDeadZone, L"解析虚位%d指令失败虚位值 %d", report);
}

std::wstring SendErrorText(DeviceCommand command, BYTE index)
{
    switch (command) {
    case kCommandKeyMap:
        return Format(L"下发按键%d映射指令失败,请检查设备连接是否正常!", index);
    case kCommandTurbo:
        return Format(L"下发连发速度%d指令失败,请检查设备连接是否正常!", index);
    case kCommandAxisMap:
        return Format(L"下发轴%d映射指令失败,请检查设备连接是否正常!", index);
    case kCommandDeadZone:
        return Format(L"下发虚位%d指令失败,请检查设备连接是否正常!", index);
    }
    return std::wstring();
}
