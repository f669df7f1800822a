// The demo program started from a folder whose archive is missing or damaged: it shows one
// message box naming the archive, creates no host window and ends with a non-zero code.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "res_test_util.h"

namespace {

std::wstring BesideProgram(const wchar_t* file)
{
    wchar_t path[MAX_PATH];
    std::wstring self(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return self.substr(0, self.rfind(L'\\') + 1) + file;
}

struct ProcessWindows {
    DWORD process;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param)
{
    ProcessWindows* found = reinterpret_cast<ProcessWindows*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == found->process)
        found->windows.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD process)
{
    ProcessWindows found = {process, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

// The process's message box, once it shows (null after the timeout).
HWND WaitForMessageBox(DWORD process)
{
    for (int i = 0; i < 200; ++i) {
        for (HWND hwnd : TopLevelWindowsOf(process)) {
            if (ClassOf(hwnd) == L"#32770" && IsWindowVisible(hwnd))
                return hwnd;
        }
        Sleep(50);
    }
    return nullptr;
}

class DemoStartupTest : public ::testing::TestWithParam<const char*> {};

TEST_P(DemoStartupTest, UnusableArchiveIsReportedAndEndsTheProgram)
{
    restest::TempFolder folder;
    std::wstring program = folder.File(L"skein_demo.exe");
    ASSERT_TRUE(CopyFileW(BesideProgram(L"skein_demo.exe").c_str(), program.c_str(), FALSE));
    if (GetParam())
        folder.Write(L"skein_demo.zip", GetParam());

    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + program + L"\"";
    ASSERT_TRUE(CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               folder.Path().c_str(), &startup, &info));
    HWND box = WaitForMessageBox(info.dwProcessId);
    EXPECT_NE(nullptr, box);
    if (box) {
        wchar_t text[512] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 512); // the message box's text
        EXPECT_NE(nullptr, wcsstr(text, L"archive cannot be opened")) << text;
        EXPECT_NE(nullptr, wcsstr(text, L"skein_demo.zip")) << text;
        for (HWND hwnd : TopLevelWindowsOf(info.dwProcessId))
            EXPECT_FALSE(IsWindowVisible(hwnd) && hwnd != box) << ClassOf(hwnd);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    DWORD exitCode = 0;
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, 10000));
    GetExitCodeProcess(info.hProcess, &exitCode);
    EXPECT_NE(0u, exitCode);
    EXPECT_NE(STILL_ACTIVE, exitCode);
    if (exitCode == STILL_ACTIVE)
        TerminateProcess(info.hProcess, 9);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

// No archive beside the program, and one that is not a zip archive at all.
INSTANTIATE_TEST_SUITE_P(MissingAndDamaged, DemoStartupTest,
                         ::testing::Values(static_cast<const char*>(nullptr), "PK not an archive"));

} // namespace
