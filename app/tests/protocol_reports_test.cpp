// The feature-report builders: the byte images they produce, what they substitute for a code
// of 0, and the error texts of every refusal (indexes and values as signed decimals).
#include <gtest/gtest.h>
#include <string.h>
#include <functional>
#include <string>
#include <vector>
#include "protocol/FeatureReport.h"
#include "protocol/MappingCode.h"

namespace {

using Builder = std::function<std::wstring(FeatureReport&)>;

struct ReportCase {
    const char* what;
    Builder build;
    std::vector<BYTE> head;  // the first bytes of a built report (the rest must be zero)
    const wchar_t* refusal;  // the parse error instead, or null
};

TEST(ProtocolReportsTest, BuildersGiveTheImagesOrTheRefusals)
{
    const ReportCase cases[] = {
        {"key 0 is keyboard, no key", [](FeatureReport& r) { return BuildKeyMapReport(0, 7, 0, r); },
         {0x00, 0xF1, 0x00, 0x07, 0x01, 0x00}, nullptr},
        {"key, mouse button, layer 2", [](FeatureReport& r) { return BuildKeyMapReport(2, 26, MakeMappingCode(0xF1, 2, 3), r); },
         {0x00, 0xF1, 0x02, 0x1A, 0x02, 0x03}, nullptr},
        {"key to joystick button", [](FeatureReport& r) { return BuildKeyMapReport(1, 5, MakeMappingCode(0xF1, 0, 9), r); },
         {0x00, 0xF1, 0x01, 0x05, 0x00, 0x09}, nullptr},
        {"axis code in a key slot", [](FeatureReport& r) { return BuildKeyMapReport(0, 4, 0xF30021, r); },
         {}, L"解析按键4映射指令失败,指令 15925281"},
        {"key code printed signed", [](FeatureReport& r) { return BuildKeyMapReport(0, 12, 0xFFFFFFFF, r); },
         {}, L"解析按键12映射指令失败,指令 -1"},
        {"mouse movement on a key", [](FeatureReport& r) { return BuildKeyMapReport(0, 4, 0xF10321, r); },
         {}, L"解析按键4映射指令失败,指令值 15794977"},
        {"axis 0 is joystick axis 0", [](FeatureReport& r) { return BuildAxisMapReport(0, 0x23, 0, r); },
         {0x00, 0xF3, 0x00, 0x23, 0x00, 0x00}, nullptr},
        {"axis to mouse movement", [](FeatureReport& r) { return BuildAxisMapReport(1, 0x2A, MakeMappingCode(0xF3, 3, 0x26), r); },
         {0x00, 0xF3, 0x01, 0x2A, 0x03, 0x26}, nullptr},
        {"button code in an axis slot", [](FeatureReport& r) { return BuildAxisMapReport(0, 0x21, 0xF10021, r); },
         {}, L"解析轴33映射指令失败,指令 15794209"},
        {"axis sub-type 4", [](FeatureReport& r) { return BuildAxisMapReport(0, 0x21, 0xF30421, r); },
         {}, L"解析轴33映射指令失败,指令值 15926305"},
        {"turbo 20", [](FeatureReport& r) { return BuildTurboReport(0, 3, 20, r); },
         {0x00, 0xF2, 0x00, 0x03, 0x14, 0x00}, nullptr},
        {"turbo off", [](FeatureReport& r) { return BuildTurboReport(2, 26, 0, r); },
         {0x00, 0xF2, 0x02, 0x1A, 0x00, 0x00}, nullptr},
        {"turbo 21", [](FeatureReport& r) { return BuildTurboReport(0, 3, 21, r); }, {}, L"解析连发速度3指令失败,速度值 21"},
        {"turbo 276 is not 20", [](FeatureReport& r) { return BuildTurboReport(0, 3, 276, r); },
         {}, L"解析连发速度3指令失败,速度值 276"},
        {"turbo negative", [](FeatureReport& r) { return BuildTurboReport(0, 9, 0xFFFFFFFF, r); },
         {}, L"解析连发速度9指令失败,速度值 -1"},
        {"dead zone 100", [](FeatureReport& r) { return BuildDeadZoneReport(0, 0x26, 100, r); },
         {0x00, 0xF4, 0x00, 0x26, 0x64, 0x00}, nullptr},
        {"dead zone 101", [](FeatureReport& r) { return BuildDeadZoneReport(0, 0x26, 101, r); },
         {}, L"解析虚位38指令失败虚位值 101"},
        {"dead zone 356 is not 100", [](FeatureReport& r) { return BuildDeadZoneReport(1, 0x21, 356, r); },
         {}, L"解析虚位33指令失败虚位值 356"},
        {"dead zone negative", [](FeatureReport& r) { return BuildDeadZoneReport(0, 0x25, 0x80000000u, r); },
         {}, L"解析虚位37指令失败虚位值 -2147483648"},
    };
    for (const ReportCase& c : cases) {
        FeatureReport report;
        memset(report.bytes, 0xCC, sizeof(report.bytes));
        std::wstring error = c.build(report);
        if (c.refusal) {
            EXPECT_EQ(c.refusal, error) << c.what;
            continue;
        }
        EXPECT_EQ(L"", error) << c.what;
        std::vector<BYTE> expected(c.head);
        expected.resize(FeatureReport::kSize, 0);
        EXPECT_EQ(expected, std::vector<BYTE>(report.bytes, report.bytes + FeatureReport::kSize)) << c.what;
    }
}

TEST(ProtocolReportsTest, SendErrorsNameTheIndex)
{
    EXPECT_EQ(L"下发按键7映射指令失败,请检查设备连接是否正常!", SendErrorText(kCommandKeyMap, 7));
    EXPECT_EQ(L"下发连发速度26指令失败,请检查设备连接是否正常!", SendErrorText(kCommandTurbo, 26));
    EXPECT_EQ(L"下发轴42映射指令失败,请检查设备连接是否正常!", SendErrorText(kCommandAxisMap, 0x2A));
    EXPECT_EQ(L"下发虚位38指令失败,请检查设备连接是否正常!", SendErrorText(kCommandDeadZone, 0x26));
}

TEST(ProtocolReportsTest, MappingCodeBytes)
{
    UINT32 code = 0xDEADBEEF;
    PackMappingCode(code, kClassAxis, kSubMouseMove, 0x24);
    EXPECT_EQ(0x00F30324u, code);
    EXPECT_TRUE(IsJoystickAxisCode(MakeMappingCode(kClassAxis, kSubJoystick, kAxisZ)));
    EXPECT_FALSE(IsJoystickAxisCode(MakeMappingCode(kClassAxis, kSubMouseMove, 0x21)));
    EXPECT_FALSE(IsJoystickAxisCode(MakeMappingCode(kClassButton, kSubJoystick, 0x21)));
}

} // namespace
