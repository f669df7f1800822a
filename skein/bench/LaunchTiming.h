#pragma once
// Timing a program from process start to its first painted frame: the program is started as
// "<program> --child <event> [argument]" and sets the named event once its first frame is
// painted, then closes itself.
#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>

namespace benchtiming {

// Milliseconds of the performance counter.
inline double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// The path of a file in this program's folder.
inline std::wstring BesideProgram(const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    std::wstring program(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return program.substr(0, program.rfind(L'\\') + 1) + name;
}

// Milliseconds from CreateProcess to the first-frame event; negative on failure.
inline double TimeLaunch(const std::wstring& program, const wchar_t* argument, int run)
{
    wchar_t eventName[64];
    swprintf(eventName, 64, L"skein_bench_first_frame_%lu_%d", GetCurrentProcessId(), run);
    HANDLE firstFrame = ::CreateEventW(nullptr, TRUE, FALSE, eventName);
    std::wstring command = L"\"" + program + L"\" --child " + eventName;
    if (argument)
        command += std::wstring(L" ") + argument;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    double start = Now();
    double elapsed = -1.0;
    if (::CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process)) {
        if (::WaitForSingleObject(firstFrame, 30000) == WAIT_OBJECT_0)
            elapsed = Now() - start;
        if (::WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(process.hProcess, 1);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(firstFrame);
    return elapsed;
}

// The median launch time of runs launches after a warm-up launch; negative when one failed.
inline double MedianLaunch(const std::wstring& program, const wchar_t* argument, int runs)
{
    std::vector<double> times;
    for (int run = 0; run <= runs; ++run) {
        double elapsed = TimeLaunch(program, argument, run);
        if (elapsed < 0)
            return elapsed;
        if (run > 0)
            times.push_back(elapsed);
    }
    return Median(times);
}

} // namespace benchtiming
