// The test's side of the game-controller panel: it loads the library as the
// panel does, turns the sheet's page descriptions into a real property sheet,
// and stands in for the device's HID file with a named pipe.
#pragma once

#include <array>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "GameCntrlPropSheet.h"

namespace pelko_test {

extern const CLSID kPelkoClsid;
extern const char kOemKey[];

// The 64-bit build of the library, loaded once per test process.
class PelkoLibrary {
public:
    static PelkoLibrary& Get();

    HMODULE Module() const { return module_; }
    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const;
    HRESULT CanUnloadNow() const;
    HRESULT Register() const;
    HRESULT Unregister() const;
    // A new sheet object through the class factory, as the panel makes it.
    IDIGameCntrlPropSheet* CreateSheet() const;

private:
    PelkoLibrary();
    template <class F>
    F* Export(const char* name) const;

    HMODULE module_;
};

// A modeless property sheet holding the object's pages.
class TestSheet {
public:
    explicit TestSheet(IDIGameCntrlPropSheet* object);
    ~TestSheet();
    TestSheet(const TestSheet&) = delete;
    TestSheet& operator=(const TestSheet&) = delete;

    HWND Window() const { return window_; }
    HWND Page(int index) const;
    void Select(int index) const;
    void Click(int index, int control) const;

private:
    HWND window_ = nullptr;
};

const int kBaseTestPage = 0;
const int kCalibrationPage = 1;
const int kVibrationPage = 2;
const int kAboutPage = 3;

void Pump(DWORD milliseconds);
// Pumps messages until done() holds; false after the time-out.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds = 5000);

DWORD UserData(HWND page, int control);
std::string Text(HWND page, int control);
bool Visible(HWND page, int control);

// Counts the texts set on a control.
class TextCounter {
public:
    explicit TextCounter(HWND control);
    ~TextCounter();
    TextCounter(const TextCounter&) = delete;
    TextCounter& operator=(const TextCounter&) = delete;

    int Count() const { return count_; }

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND control_;
    WNDPROC previous_;
    int count_ = 0;
};

using Report = std::array<BYTE, 9>;

struct ReceivedReport {
    Report bytes;
    DWORD time;  // GetTickCount when it arrived
};

// The server end of a named pipe that the sheet opens as the device's HID
// file; collects the reports written to it.
class ReportPipe {
public:
    ReportPipe();
    ~ReportPipe();
    ReportPipe(const ReportPipe&) = delete;
    ReportPipe& operator=(const ReportPipe&) = delete;

    const std::wstring& Path() const { return widePath_; }
    std::vector<ReceivedReport> Reports() const;
    size_t Count() const;
    int Closes() const;
    void Clear();

private:
    void Serve();

    std::string path_;
    std::wstring widePath_;
    HANDLE pipe_;
    mutable std::mutex mutex_;
    std::vector<ReceivedReport> reports_;
    int closes_ = 0;
    bool stopping_ = false;
    std::thread server_;
};

// Registry
void SetAmplify(DWORD value);
// Stores "Amplify" as given: any type, any length.
void SetAmplifyRaw(DWORD type, const std::vector<BYTE>& bytes);
void RemoveAmplify();
void DeleteTree(HKEY root, const char* path);

} // namespace pelko_test
