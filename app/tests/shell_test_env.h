#pragma once
// What the tests of the program's start-up and main window share: the program brought up from
// the real archive beside the test, a main window driven by native messages, and copies of the
// program started as processes of their own.
#include <gtest/gtest.h>
#include <windows.h>
#include <algorithm>
#include <iterator>
#include <memory>
#include <string>
#include <vector>
#include "CMainDlg.h"
#include "CorvaneStartup.h"
#include "SingleInstance.h"
#include "host_test_env.h"
#include "res_test_util.h"
#include "support/SimJoystick.h"

namespace shelltest {

using namespace SKEIN;

// The caption's tabs of the main window, by sub-page: key mapping, settings, function test, about.
const wchar_t* const kSubPageButtons[] = {L"btn_keymapPage", L"btn_joystickSetting", L"btn_functionTest",
                                          L"btn_about"};

inline LPARAM CentreOf(SWindow* window)
{
    RECT rect = window->GetWindowRect();
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// A click at the centre of a named window of the host, as the mouse sends it.
inline void Click(SHostWnd& host, const wchar_t* name)
{
    SWindow* window = host.LookupChildByName(SStringW(name));
    ASSERT_NE(nullptr, window) << name;
    LPARAM point = CentreOf(window);
    ::SendMessageW(host.Handle(), WM_MOUSEMOVE, 0, point);
    ::SendMessageW(host.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::SendMessageW(host.Handle(), WM_LBUTTONUP, 0, point);
}

// A click at the centre of a shown window of the host, posted as the mouse does and taken
// through the message loop.
inline void PostClick(SHostWnd& host, SWindow* window)
{
    ASSERT_NE(nullptr, window);
    ASSERT_TRUE(window->TestVisible()) << window->GetName();
    LPARAM point = CentreOf(window);
    ::PostMessageW(host.Handle(), WM_MOUSEMOVE, 0, point);
    ::PostMessageW(host.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, point);
    ::PostMessageW(host.Handle(), WM_LBUTTONUP, 0, point);
    hosttest::HostTest::Pump();
}

// Whether done() holds within ms, messages pumped meanwhile.
template <class Done>
bool WaitUntil(Done done, DWORD ms = 15000)
{
    DWORD end = ::GetTickCount() + ms;
    while (!done()) {
        if (static_cast<int>(end - ::GetTickCount()) <= 0)
            return false;
        hosttest::HostTest::PumpFor(20);
    }
    return true;
}

inline bool Visible(SHostWnd& host, const wchar_t* name)
{
    SWindow* window = host.LookupChildByName(SStringW(name));
    return window && window->TestVisible();
}

// The program brought up from uires.zip beside the test, with a main window that is created,
// initialised and shown without activation, and the simulated joystick behind the device seam.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { m_startup.reset(new CCorvaneStartup(::GetModuleHandleW(nullptr))); }
    void TearDown() override
    {
        if (m_window && m_window->IsWindow())
            m_window->DestroyHost();
        hosttest::HostTest::Pump();
        m_window.reset();
        m_startup.reset();
    }

    // The window over the given handlers (none: its own).
    HWND Open(const CMainDlg::DeviceHandlers* handlers = nullptr)
    {
        m_window.reset(handlers ? new CMainDlg(*handlers) : new CMainDlg);
        HWND hwnd = m_window->CreateHostDefault();
        if (!hwnd)
            return nullptr;
        ::SendMessageW(hwnd, WM_INITDIALOG, 0, 0);
        ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        hosttest::HostTest::Pump();
        return hwnd;
    }

    // The caption's tab of a sub-page clicked as a user does.
    void ClickTab(int subPage)
    {
        PostClick(*m_window, m_window->LookupChildByName(SStringW(kSubPageButtons[subPage])));
    }
    // The sub-page of the one checked caption tab; -1 when none or several are checked.
    int CheckedTab()
    {
        int checked = -1;
        for (int tab = 0; tab < static_cast<int>(std::size(kSubPageButtons)); ++tab) {
            if (!m_window->LookupChildByName(SStringW(kSubPageButtons[tab]))->TestChecked())
                continue;
            if (checked >= 0)
                return -1;
            checked = tab;
        }
        return checked;
    }

    SimJoystick m_sim; // the program's end releases the joystick before the simulator goes
    std::unique_ptr<CCorvaneStartup> m_startup;
    std::unique_ptr<CMainDlg> m_window;
};

// The folder of the test program (where the build puts Corvane.exe and its files).
inline std::wstring TestFolder()
{
    wchar_t path[MAX_PATH];
    std::wstring program(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.rfind(L'\\'));
}

// A file beside the test program while the object lives: the program reads some files from its
// own folder. Tests that write one run alone (SERIAL).
class FileBesideProgram {
public:
    FileBesideProgram(const std::wstring& name, const std::string& bytes) : m_path(TestFolder() + L"\\" + name)
    {
        HANDLE file = ::CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }
    ~FileBesideProgram() { ::DeleteFileW(m_path.c_str()); }
    FileBesideProgram(const FileBesideProgram&) = delete;
    FileBesideProgram& operator=(const FileBesideProgram&) = delete;

private:
    std::wstring m_path;
};

// Corvane started as a process of its own, from the test's folder or from a copy of it; ended
// by force if it still runs when the object goes.
class ProgramProcess {
public:
    explicit ProgramProcess(const std::wstring& folder = TestFolder()) : m_program(folder + L"\\Corvane.exe") {}
    ~ProgramProcess()
    {
        if (m_process.hProcess) {
            if (::WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
                ::TerminateProcess(m_process.hProcess, 1);
                ::WaitForSingleObject(m_process.hProcess, 5000);
            }
            ::CloseHandle(m_process.hThread);
            ::CloseHandle(m_process.hProcess);
        }
    }
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    bool Start(const std::wstring& arguments = L"")
    {
        std::wstring command = L"\"" + m_program + L"\"";
        if (!arguments.empty())
            command += L" " + arguments;
        STARTUPINFOW startup = {sizeof(startup)};
        return ::CreateProcessW(m_program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                &startup, &m_process) != FALSE;
    }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit(DWORD ms = 15000) const
    {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(m_process.hProcess, ms) == WAIT_OBJECT_0)
            ::GetExitCodeProcess(m_process.hProcess, &code);
        return code;
    }
    // A top-level window of the process for which match holds, waited for; null after ms.
    template <class Match>
    HWND WaitForWindow(Match match, DWORD ms = 15000) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindWindow(match)) != nullptr; }, ms);
        return found;
    }
    // The window that carries the single-instance property.
    HWND WaitForMainWindow(DWORD ms = 15000) const
    {
        return WaitForWindow([](HWND window) { return ::GetPropW(window, kInstanceName) != nullptr; }, ms);
    }

private:
    template <class Match>
    struct Search {
        DWORD pid;
        Match* match;
        HWND found;
    };
    template <class Match>
    static BOOL CALLBACK Visit(HWND window, LPARAM data)
    {
        Search<Match>* search = reinterpret_cast<Search<Match>*>(data);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(window, &pid);
        if (pid != search->pid || !(*search->match)(window))
            return TRUE;
        search->found = window;
        return FALSE;
    }
    template <class Match>
    HWND FindWindow(Match& match) const
    {
        Search<Match> search = {m_process.dwProcessId, &match, nullptr};
        ::EnumWindows(Visit<Match>, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    std::wstring m_program;
    PROCESS_INFORMATION m_process = {};
};

// A folder with a copy of the program and the given files of the test's folder; with a length,
// the copy lies in folders nested below the scratch folder so that its path has that many
// characters.
class ProgramCopy {
public:
    explicit ProgramCopy(const std::vector<std::wstring>& files, size_t pathLength = 0) : m_path(m_folder.Path())
    {
        while (m_path.size() + 1 < pathLength) {
            m_path += L"\\" + std::wstring(std::min<size_t>(pathLength - m_path.size() - 1, 100), L'd');
            ::CreateDirectoryW(m_path.c_str(), nullptr);
        }
        for (const std::wstring& file : files) {
            std::wstring from = TestFolder() + L"\\" + file;
            ::CopyFileW(from.c_str(), File(file).c_str(), FALSE);
        }
    }
    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const { return m_path + L"\\" + name; }
    void Write(const std::wstring& name, const std::string& bytes) const
    {
        std::wstring below = m_path.substr(m_folder.Path().size());
        m_folder.Write(below.empty() ? name : below.substr(1) + L"\\" + name, bytes);
    }

private:
    restest::TempFolder m_folder;
    std::wstring m_path;
};

} // namespace shelltest
