// Accelerators as values: parsing the text form, key names and formatting; the focus
// manager's accelerator table.
#include <gtest/gtest.h>
#include <functional>
#include "core/SFocusManager.h"

using namespace SKEIN;

namespace {

DWORD Packed(WORD modifier, WORD key)
{
    return (static_cast<DWORD>(modifier) << 16) | key;
}

TEST(AccelTextTest, ParsesModifiersAndKeyNames)
{
    struct Case {
        const wchar_t* text;
        DWORD packed;
    };
    const Case cases[] = {
        {L"ctrl+shift+f5", Packed(kAccelCtrl | kAccelShift, VK_F5)},
        {L"Ctrl+Alt+F12", Packed(kAccelCtrl | kAccelAlt, VK_F12)},
        {L"alt+o", Packed(kAccelAlt, 'O')},
        {L"shift+9", Packed(kAccelShift, '9')},
        {L"ctrl+PageDown", Packed(kAccelCtrl, VK_NEXT)},
        {L"esc", VK_ESCAPE},
        {L"ctrl+/", Packed(kAccelCtrl, 191)},
        {L"ctrl+`", Packed(kAccelCtrl, 192)},
        {L"ctrl+end", Packed(kAccelCtrl, 0)},       // "end" is no key name
        {L"a+ctrl", 'A'},                            // the key ends the parse
        {L"f24", VK_F24},
        {L"", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.packed, CAccelerator::ParseText(c.text)) << testing::PrintToString(std::wstring(c.text));
    std::wstring tooLong = L"ctrl+a" + std::wstring(94, L' ');
    EXPECT_EQ(Packed(kAccelCtrl, 0), CAccelerator::ParseText(tooLong.substr(0, 99).c_str()));
    EXPECT_EQ(0u, CAccelerator::ParseText(tooLong.c_str()));
}

TEST(AccelTextTest, KeyNamesMatchWhole)
{
    struct Case {
        const wchar_t* name;
        WORD vk;
    };
    const Case cases[] = {
        {L"f", 'F'},          {L"F", 'F'},        {L"f5", VK_F5},       {L"f1", VK_F1},
        {L"fx", 0},           {L"f0", 0},         {L"f25", 0},          {L"f99", 0},
        {L"f05", 0},          {L"num 7", VK_NUMPAD7}, {L"num del", VK_DECIMAL}, {L"num *", VK_MULTIPLY},
        {L"num +", VK_ADD},   {L"num x", 0},      {L"num ", 0},         {L"num 12", 0},
        {L"Space", VK_SPACE}, {L"insert", VK_INSERT}, {L"end", 0},      {L"'", 222},
        {L"\\", 220},         {L"?", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.vk, CAccelerator::TranslateKeyName(c.name)) << testing::PrintToString(std::wstring(c.name));
}

TEST(AccelTextTest, FormatsInTheOrderCtrlShiftAlt)
{
    EXPECT_STREQ(L"Ctrl+Shift+F5", CAccelerator::FormatText(CAccelerator::ParseText(L"ctrl+shift+f5")).c_str());
    EXPECT_STREQ(L"Ctrl+Shift+Alt+Num 3", CAccelerator::FormatText(Packed(7, VK_NUMPAD3)).c_str());
    EXPECT_STREQ(L"Ctrl+End", CAccelerator::FormatText(Packed(kAccelCtrl, VK_END)).c_str());
    EXPECT_STREQ(L"Alt+O", CAccelerator::FormatText(CAccelerator(0x4F, false, true, false).Packed()).c_str());
    EXPECT_STREQ(L"ESC", CAccelerator::FormatText(VK_ESCAPE).c_str());
    EXPECT_STREQ(L"\u65E0", CAccelerator::FormatText(0).c_str());
    EXPECT_STREQ(L"Num Del", CAccelerator::KeyName(VK_DECIMAL).c_str());
    EXPECT_STREQ(L"", CAccelerator::KeyName(VK_F13).c_str());
}

// Records its calls and consumes them when asked.
struct RecTarget : IAcceleratorTarget {
    explicit RecTarget(bool consume) : consume(consume) {}
    bool OnAcceleratorPressed(const CAccelerator&) override
    {
        ++calls;
        if (onPress)
            onPress();
        return consume;
    }
    bool consume;
    int calls = 0;
    std::function<void()> onPress;
};

TEST(AccelTextTest, ManagerCallsTargetsInOrderUntilOneConsumes)
{
    CFocusManager manager(nullptr); // the table needs no window tree
    const CAccelerator ctrlS(CAccelerator::ParseText(L"ctrl+s"));
    RecTarget passes(false), consumes(true), never(true);
    manager.RegisterAccelerator(ctrlS, &passes);
    manager.RegisterAccelerator(ctrlS, &consumes);
    manager.RegisterAccelerator(ctrlS, &never);
    EXPECT_TRUE(manager.ProcessAccelerator(ctrlS));
    EXPECT_EQ(1, passes.calls);
    EXPECT_EQ(1, consumes.calls);
    EXPECT_EQ(0, never.calls);
    EXPECT_FALSE(manager.ProcessAccelerator(CAccelerator('S', false, false, false)));

    // A target that unregisters another while it runs does not disturb this dispatch.
    passes.onPress = [&] { manager.UnregisterAccelerators(&consumes); };
    EXPECT_TRUE(manager.ProcessAccelerator(ctrlS));
    EXPECT_EQ(2, consumes.calls);
    EXPECT_TRUE(manager.ProcessAccelerator(ctrlS));
    EXPECT_EQ(2, consumes.calls);
    EXPECT_EQ(1, never.calls);

    EXPECT_TRUE(manager.UnregisterAccelerator(ctrlS, &never));
    EXPECT_FALSE(manager.UnregisterAccelerator(ctrlS, &never));
    EXPECT_FALSE(manager.UnregisterAccelerator(CAccelerator(VK_F1, false, false, false), &passes));
    EXPECT_FALSE(manager.ProcessAccelerator(ctrlS));
}

} // namespace
