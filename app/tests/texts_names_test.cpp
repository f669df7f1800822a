// Key names and display texts: the keyboard table, the language file (missing, partial, not
// well-formed, beside the program) and the display name of every kind of mapping code.
#include <gtest/gtest.h>
#include <windows.h>
#include <set>
#include <string>
#include "app_test_support.h"
#include "res_test_util.h"
#include "texts/KeyboardTable.h"
#include "texts/LanguageFile.h"
#include "texts/ModelTexts.h"

namespace {

using SKEIN::SStringW;

std::wstring Wide(const SStringW& text)
{
    return std::wstring(text.c_str(), text.Length());
}

// A language file that names every key "<key>!" except the keys in left.
std::string LanguageFile(const std::set<int>& left = {})
{
    std::string xml = "<?xml version='1.0' encoding='utf-8'?>\n<root>\n";
    for (int index = 0; index < kModelTextCount; ++index) {
        if (left.count(index))
            continue;
        std::wstring key = ModelTexts::Key(index);
        std::string narrow(key.begin(), key.end());
        xml += "  <" + narrow + " name='" + narrow + "!'/>\n";
    }
    return xml + "</root>\n";
}

std::wstring Renamed(int index)
{
    return std::wstring(ModelTexts::Key(index)) + L"!";
}

TEST(KeyboardTable, HoldsOneHundredThreeDistinctKeysNamedWithATrailingSpace)
{
    ASSERT_EQ(103, KeyCount());
    std::set<int> usages;
    for (int k = 0; k < KeyCount(); ++k) {
        usages.insert(KeyboardTable[k].usage);
        std::string name = KeyboardTable[k].name;
        ASSERT_GE(name.size(), 2u) << k;
        EXPECT_EQ(' ', name.back()) << k;
        EXPECT_NE(' ', name[0]) << k;
    }
    EXPECT_EQ(103u, usages.size());
}

TEST(KeyboardTable, KeyNameFindsTheFirstEntryOfAUsageId)
{
    const struct {
        int usage;
        const char* name;
        int entry; // -1: none
    } cases[] = {
        {0x35, "` ", 0},       {0x1E, "1 ", 1},     {0x2A, "BkSpc ", 13}, {0x28, "Enter ", 27},
        {0xE1, "ShiftL ", 40}, {0x31, "\\ ", 52},   {0x52, "Up  ", 60},   {0x4F, "Right ", 62},
        {0x45, "F12 ", 76},    {0x4C, "Del ", 83},  {0x58, "Enter ", 100}, {0x63, "Del ", 102},
        {0x65, "", -1},        {0x00, "", -1},      {0x135, "", -1},      {-0xCB, "", -1},
    };
    for (const auto& c : cases) {
        const char* name = KeyName(c.usage);
        EXPECT_STREQ(c.name, name) << std::hex << c.usage;
        if (c.entry >= 0) {
            EXPECT_EQ(KeyboardTable[c.entry].name, name) << std::hex << c.usage;
        }
    }
}

TEST(ModelTexts, DefaultsStayWithoutAUsableFile)
{
    restest::TempFolder folder;
    const struct {
        const char* label;
        const char* content; // nullptr: no file
    } cases[] = {
        {"missing", nullptr},
        {"not well-formed", "<root><str_menu_default name='x'></root"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        std::wstring path = folder.File(L"lang.xml");
        ::DeleteFileW(path.c_str());
        if (c.content)
            folder.Write(L"lang.xml", c.content);
        ModelTexts texts(L"lang.xml");
        texts.LoadFrom(path.c_str());
        EXPECT_FALSE(texts.Loaded()) << c.label;
        for (int index = 0; index < kModelTextCount; ++index)
            EXPECT_EQ(std::wstring(ModelTexts::DefaultText(index)), Wide(texts.Text(index))) << c.label << index;
    }
    ModelTexts texts(L"lang.xml");
    EXPECT_EQ(L"键盘", Wide(texts.Text(kTextKeyboard)));
    EXPECT_EQ(L"按键", Wide(texts.Text(kTextJoystick)));
    EXPECT_EQ(L"鼠标", Wide(texts.Text(kTextMouse)));
    EXPECT_EQ(L"默认", Wide(texts.Text(kTextDefault)));
}

// Elements the file lacks, or that lack the attribute, give empty texts; spaces are kept.
TEST(ModelTexts, AFileReplacesEveryTextAndWhatItLacksBecomesEmpty)
{
    restest::TempFolder folder;
    std::string xml = LanguageFile({kTextDefault, kTextWholeTwist});
    xml.insert(xml.rfind("</root>"), "<str_menu_joy_value_rz_aix/>\n");
    xml.replace(xml.find("str_menu_keyboard!"), 18, " Keys ");
    ModelTexts texts(L"lang.xml");
    texts.LoadFrom(folder.Write(L"lang.xml", xml).c_str());
    ASSERT_TRUE(texts.Loaded());
    EXPECT_EQ(L" Keys ", Wide(texts.Text(kTextKeyboard)));
    EXPECT_EQ(L"", Wide(texts.Text(kTextDefault)));
    EXPECT_EQ(L"", Wide(texts.Text(kTextWholeTwist)));
    for (int index = 1; index < kModelTextCount; ++index) {
        if (index != kTextDefault && index != kTextWholeTwist) {
            EXPECT_EQ(Renamed(index), Wide(texts.Text(index))) << index;
        }
    }
}

// A file of kMaxLanguageFileBytes is read; one byte more and it is refused unread, with a log
// line naming it, and the texts keep their defaults as without a file.
TEST(ModelTexts, LanguageFileAboveTheSizeLimitIsRefusedWithALogLine)
{
    restest::TempFolder folder;
    const std::string xml = LanguageFile();
    for (size_t size : {kMaxLanguageFileBytes, kMaxLanguageFileBytes + 1}) {
        const bool refused = size > kMaxLanguageFileBytes;
        SCOPED_TRACE(size);
        std::wstring path = folder.Write(L"lang6852.xml", xml + std::string(size - xml.size(), '\n'));
        skein_test::ScopedLogRecorder log;
        ModelTexts texts(L"lang6852.xml");
        texts.LoadFrom(path.c_str());
        EXPECT_EQ(!refused, texts.Loaded());
        EXPECT_EQ(refused ? std::wstring(ModelTexts::DefaultText(kTextMouse)) : Renamed(kTextMouse),
                  Wide(texts.Text(kTextMouse)));
        std::vector<std::string> expected;
        if (refused) {
            std::string narrow(path.begin(), path.end());
            expected.push_back("3|LoadLanguageFile|language file refused, larger than 1048576 bytes: " + narrow);
        }
        EXPECT_EQ(expected, log.lines);
    }
}

TEST(ModelTexts, LoadModelTextsReadsItsFileBesideTheProgram)
{
    wchar_t program[MAX_PATH];
    std::wstring path(program, ::GetModuleFileNameW(nullptr, program, MAX_PATH));
    std::wstring name = L"lang-test-" + std::to_wstring(::GetCurrentProcessId()) + L".xml";
    path = path.substr(0, path.rfind(L'\\') + 1) + name;
    std::string xml = LanguageFile();
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    ::WriteFile(file, xml.data(), static_cast<DWORD>(xml.size()), &written, nullptr);
    ::CloseHandle(file);
    ModelTexts texts(name.c_str());
    texts.LoadModelTexts();
    ::DeleteFileW(path.c_str());
    EXPECT_TRUE(texts.Loaded());
    EXPECT_EQ(Renamed(kTextMouse), Wide(texts.Text(kTextMouse)));
}

// The same codes on defaults and on a language file: the file's texts reach every kind of
// name through the tables.
TEST(ModelTexts, DisplayNameOfEveryKindOfCode)
{
    const struct {
        uint32_t code;
        const wchar_t* whole; // default text, whole-axis form
        const wchar_t* half;  // default text, per-direction form
        int text;             // the text index it comes from, -1: none (keyboard or empty)
        int halfText;
    } cases[] = {
        {0x000000, L"", L"", -1, -1},
        // buttons: device, keyboard, mouse
        {0xF10001, L"1号键", L"1号键", 19, 19},
        {0xF10011, L"POV2-上", L"POV2-上", 35, 35},
        {0xF10014, L"POV2-右", L"POV2-右", 38, 38},
        {0xF10016, L"22号键", L"22号键", 40, 40},
        {0xF10017, L"POV1-上", L"POV1-上", 41, 41},
        {0xF1001A, L"POV1-右", L"POV1-右", 44, 44},
        {0xF1001B, L"", L"", -1, -1},
        {0xF10000, L"", L"", -1, -1},
        {0xF10025, L"Throttle", L"Throttle", 49, 49},
        {0xF10104, L"A ", L"A ", -1, -1},
        {0xF10152, L"Up  ", L"Up  ", -1, -1},
        {0xF10163, L"Del ", L"Del ", -1, -1},
        {0xF10165, L"", L"", -1, -1},
        {0xF10201, L"鼠标左键", L"鼠标左键", 4, 4},
        {0xF10208, L"鼠标8键", L"鼠标8键", 11, 11},
        {0xF10209, L"", L"", -1, -1},
        {0xF10226, L"鼠标+滚轮", L"鼠标+滚轮", 17, 17},
        {0xF10321, L"", L"", -1, -1},
        // axes: whole and halves, the others, keyboard, mouse buttons and movements
        {0xF30021, L"X axes", L"-X axes", 55, 45},
        {0xF30022, L"X axes", L"+X axes", 55, 46},
        {0xF30023, L"Y axes", L"-Y axes", 56, 47},
        {0xF30024, L"Y axes", L"+Y axes", 56, 48},
        {0xF30025, L"Throttle", L"Throttle", 49, 49},
        {0xF30026, L"Twist", L"-RZ axes", 57, 50},
        {0xF30027, L"Twist", L"+RZ axes", 57, 51},
        {0xF30028, L"RX", L"RX", 52, 52},
        {0xF30029, L"RY", L"RY", 53, 53},
        {0xF3002A, L"Slide", L"Slide", 54, 54},
        {0xF3002B, L"", L"", -1, -1},
        {0xF30001, L"1号键", L"1号键", 19, 19},
        {0xF3012C, L"Spc ", L"Spc ", -1, -1},
        {0xF30203, L"鼠标中键", L"鼠标中键", 6, 6},
        {0xF30321, L"鼠标-X 轴", L"鼠标-X 轴", 12, 12},
        {0xF30325, L"鼠标-滚轮", L"鼠标-滚轮", 16, 16},
        {0xF30327, L"", L"", -1, -1},
        {0xF30309, L"", L"", -1, -1},
        {0xF30421, L"", L"", -1, -1},
        // neither button nor axis
        {0xF20014, L"", L"", -1, -1},
        {0xF40021, L"", L"", -1, -1},
    };
    restest::TempFolder folder;
    ModelTexts defaults(L"lang6840.xml");
    ModelTexts renamed(L"lang6891.xml");
    renamed.LoadFrom(folder.Write(L"lang6891.xml", LanguageFile()).c_str());
    for (ModelTexts* texts : {&defaults, &renamed}) {
        texts->BuildMouseNames();
        texts->BuildDeviceNames();
    }
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(c.whole), Wide(defaults.MappingDisplayName(c.code, false))) << std::hex << c.code;
        EXPECT_EQ(std::wstring(c.half), Wide(defaults.MappingDisplayName(c.code, true))) << std::hex << c.code;
        std::wstring whole = c.text < 0 ? c.whole : Renamed(c.text);
        std::wstring half = c.halfText < 0 ? c.half : Renamed(c.halfText);
        EXPECT_EQ(whole, Wide(renamed.MappingDisplayName(c.code, false))) << std::hex << c.code;
        EXPECT_EQ(half, Wide(renamed.MappingDisplayName(c.code, true))) << std::hex << c.code;
    }
}

// The tables hold the texts as they were when built; names need the tables.
TEST(ModelTexts, NameTablesKeepTheTextsOfTheirBuild)
{
    restest::TempFolder folder;
    std::wstring path = folder.Write(L"lang.xml", LanguageFile());
    ModelTexts texts(L"lang.xml");
    EXPECT_EQ(L"", Wide(texts.MappingDisplayName(0xF10201, false)));
    texts.BuildMouseNames();
    texts.BuildDeviceNames();
    texts.LoadFrom(path.c_str());
    EXPECT_EQ(L"鼠标左键", Wide(texts.MappingDisplayName(0xF10201, false)));
    EXPECT_EQ(L"1号键", Wide(texts.MappingDisplayName(0xF10001, false)));
    // The whole-axis forms are texts, not table entries.
    EXPECT_EQ(Renamed(kTextWholeX), Wide(texts.MappingDisplayName(0xF30021, false)));
}

} // namespace
