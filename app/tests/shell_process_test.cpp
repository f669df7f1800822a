// Corvane as the user starts it: real processes of the program under Wine. One instance per
// session (a second start brings the first back, "-x" ends it, "-boot" starts hidden, other
// words are ordinary starts), the texts of "mainlang.xml", and a start without its archive
// (also while a second start or "-x" reaches it).
#include <algorithm>
#include "shell_test_env.h"

namespace {

using namespace shelltest;

const DWORD kExitNormal = 0; // the program ended as the user asked

BOOL CALLBACK AppendText(HWND child, LPARAM text)
{
    wchar_t line[512] = {};
    ::GetWindowTextW(child, line, 512);
    reinterpret_cast<std::wstring*>(text)->append(line);
    return TRUE;
}

bool Shown(HWND window)
{
    return ::IsWindowVisible(window) && !::IsIconic(window);
}

// A start that hands over to the running instance (or, with "-x", ends it) and exits at once.
DWORD HandOver(const std::wstring& arguments)
{
    ProgramProcess second;
    if (!second.Start(arguments))
        return STILL_ACTIVE;
    return second.WaitForExit();
}

TEST(SingleInstance, SecondStartRestoresTheFirstAndExitEndsItFromTheTray)
{
    ProgramProcess first;
    ASSERT_TRUE(first.Start());
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(WaitUntil([main] { return Shown(main); }));

    ::SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(main));
    EXPECT_EQ(0u, HandOver(L""));
    EXPECT_TRUE(Shown(main));

    ::ShowWindow(main, SW_MINIMIZE);
    EXPECT_EQ(0u, HandOver(L""));
    EXPECT_TRUE(Shown(main));

    ::SendMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, HandOver(L"-x"));
    EXPECT_EQ(kExitNormal, first.WaitForExit());
    EXPECT_FALSE(::IsWindow(main));
}

TEST(SingleInstance, BootStartsHiddenAndTheMutexComesFirst)
{
    ProgramProcess first;
    ASSERT_TRUE(first.Start(L"-boot"));
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    hosttest::HostTest::PumpFor(300);
    EXPECT_FALSE(::IsWindowVisible(main));

    EXPECT_EQ(0u, HandOver(L"-boot"));
    EXPECT_TRUE(Shown(main));
    EXPECT_EQ(0u, HandOver(L"-x"));
    EXPECT_EQ(kExitNormal, first.WaitForExit());
}

TEST(SingleInstance, OnlyTheExactWordEndsTheRunningInstance)
{
    ProgramProcess first;
    ASSERT_TRUE(first.Start());
    HWND main = first.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(WaitUntil([main] { return Shown(main); }));
    for (const wchar_t* words : {L"-X", L"\"-x\" ", L"-x -x", L"/x"}) {
        SCOPED_TRACE(words);
        ::SendMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(0u, HandOver(words));
        EXPECT_TRUE(Shown(main)); // brought back, not ended
        EXPECT_EQ(STILL_ACTIVE, first.WaitForExit(0));
    }
    EXPECT_EQ(0u, HandOver(L"-x"));
    EXPECT_EQ(kExitNormal, first.WaitForExit());
}

TEST(SingleInstance, ExitWithoutARunningInstanceJustEnds)
{
    ProgramProcess alone;
    ASSERT_TRUE(alone.Start(L"-x"));
    EXPECT_EQ(0u, alone.WaitForExit());
    EXPECT_EQ(nullptr, alone.WaitForMainWindow(0));
}

TEST(MainTextsFile, TitleComesFromMainlangBesideTheProgram)
{
    ProgramCopy copy({L"Corvane.exe", L"uires.zip", L"skein-sys-resource.dll"});
    copy.Write(L"mainlang.xml", "<?xml version='1.0' encoding='utf-8'?>\n"
                                "<root><TilteName name='\xE6\xB5\x8B\xE8\xAF\x95\xE6\xA0\x87\xE9\xA2\x98'/></root>");
    ProgramProcess program(copy.Path());
    ASSERT_TRUE(program.Start());
    HWND main = program.WaitForMainWindow();
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(WaitUntil([main] { return Shown(main); })); // initialised
    wchar_t title[64] = {};
    ::GetWindowTextW(main, title, 64);
    EXPECT_STREQ(L"测试标题", title);
    ::SendMessageW(main, WM_COMMAND, kCommandExit, 0);
    EXPECT_EQ(kExitNormal, program.WaitForExit());
}

// The visible message box of the program, waited for.
HWND WaitForBox(const ProgramProcess& program)
{
    return program.WaitForWindow([](HWND window) {
        wchar_t name[16] = {};
        ::GetClassNameW(window, name, 16);
        return wcscmp(name, L"#32770") == 0 && ::IsWindowVisible(window);
    });
}

// The texts of a window's children, line breaks left out.
std::wstring ChildTexts(HWND window)
{
    std::wstring text;
    ::EnumChildWindows(window, AppendText, reinterpret_cast<LPARAM>(&text));
    text.erase(std::remove(text.begin(), text.end(), L'\n'), text.end());
    return text;
}

// No archive, or one that is not the program's: a message box names the file, and the program
// ends with a failure once it is closed.
TEST(StartFailure, MissingOrForeignArchiveIsReportedAndTheExitCodeSaysSo)
{
    for (bool foreign : {false, true}) {
        SCOPED_TRACE(foreign ? "foreign archive" : "no archive");
        ProgramCopy copy({L"Corvane.exe", L"skein-sys-resource.dll"});
        if (foreign)
            copy.Write(L"uires.zip", "PK\x03\x04 not an archive of ours");
        ProgramProcess program(copy.Path());
        ASSERT_TRUE(program.Start());
        HWND box = WaitForBox(program);
        ASSERT_NE(nullptr, box);
        std::wstring text = ChildTexts(box);
        EXPECT_NE(std::wstring::npos, text.find(copy.File(L"uires.zip"))) << text;
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(static_cast<DWORD>(kExitStartFailed), program.WaitForExit());
    }
}

// While a failed start shows its box it holds the single instance: a second start leaves it
// running with the box in front, and "-x" ends it.
TEST(StartFailure, SecondStartReachesTheFailedInstanceAndExitEndsIt)
{
    ProgramCopy copy({L"Corvane.exe", L"skein-sys-resource.dll"});
    ProgramProcess program(copy.Path());
    ASSERT_TRUE(program.Start());
    HWND box = WaitForBox(program);
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(0u, HandOver(L""));
    EXPECT_EQ(STILL_ACTIVE, program.WaitForExit(0));
    EXPECT_TRUE(::IsWindowVisible(box));
    // The display takes the activation a little later on a loaded machine.
    EXPECT_TRUE(WaitUntil([box] { return ::GetForegroundWindow() == box; }));
    EXPECT_EQ(0u, HandOver(L"-x"));
    EXPECT_EQ(static_cast<DWORD>(kExitStartFailed), program.WaitForExit());
    EXPECT_FALSE(::IsWindow(box));
}

} // namespace
