#include "PelkoHarness.h"

#include <commctrl.h>
#include <prsht.h>

#include <atomic>
#include <cstdio>

namespace pelko_test {

// {5B0E27C4-3A51-0D47-9E12-6F4C08D3A27E}
const CLSID kPelkoClsid = {0x5B0E27C4, 0x3A51, 0x0D47, {0x9E, 0x12, 0x6F, 0x4C, 0x08, 0xD3, 0xA2, 0x7E}};
const char kOemKey[] =
    "SYSTEM\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\OEM\\VID_3A51&PID_0D47";

PelkoLibrary& PelkoLibrary::Get()
{
    static PelkoLibrary library;
    return library;
}

PelkoLibrary::PelkoLibrary() : module_(LoadLibraryA("Marvix32.dll"))
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
}

template <class F>
F* PelkoLibrary::Export(const char* name) const
{
    return reinterpret_cast<F*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
}

HRESULT PelkoLibrary::GetClassObject(REFCLSID clsid, REFIID iid, void** out) const
{
    return Export<HRESULT WINAPI(REFCLSID, REFIID, void**)>("DllGetClassObject")(clsid, iid, out);
}

HRESULT PelkoLibrary::CanUnloadNow() const
{
    return Export<HRESULT WINAPI()>("DllCanUnloadNow")();
}

HRESULT PelkoLibrary::Register() const
{
    return Export<HRESULT WINAPI()>("DllRegisterServer")();
}

HRESULT PelkoLibrary::Unregister() const
{
    return Export<HRESULT WINAPI()>("DllUnregisterServer")();
}

IDIGameCntrlPropSheet* PelkoLibrary::CreateSheet() const
{
    IClassFactory* factory = nullptr;
    if (FAILED(GetClassObject(kPelkoClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))))
        return nullptr;
    IDIGameCntrlPropSheet* sheet = nullptr;
    factory->CreateInstance(nullptr, IID_IDIGameCntrlPropSheet, reinterpret_cast<void**>(&sheet));
    factory->Release();
    return sheet;
}

namespace {

// Keeps the sheet unmapped: without a window manager, hiding a mapped
// top-level window waits for one in vain.
int CALLBACK KeepHidden(HWND, UINT message, LPARAM lParam)
{
    if (message == PSCB_PRECREATE) {
        auto* words = reinterpret_cast<WORD*>(lParam);
        const bool extended = words[1] == 0xFFFF;
        auto* style = reinterpret_cast<DWORD*>(extended ? words + 6 : words);
        *style &= ~WS_VISIBLE;
    }
    return 0;
}

} // namespace

TestSheet::TestSheet(IDIGameCntrlPropSheet* object)
{
    DIGCSHEETINFO* info = nullptr;
    DIGCPAGEINFO* descriptions = nullptr;
    object->GetSheetInfo(&info);
    object->GetPageInfo(&descriptions);

    std::vector<PROPSHEETPAGEA> pages(info->pageCount);
    for (size_t i = 0; i < pages.size(); ++i) {
        const DIGCPAGEINFO& d = descriptions[i];
        PROPSHEETPAGEA& page = pages[i];
        page = {};
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = d.module;
        page.pszTemplate = reinterpret_cast<LPCSTR>(d.dialogTemplate);
        page.pfnDlgProc = d.procedure;
        page.lParam = d.parameter;
    }
    char caption[128] = {};
    WideCharToMultiByte(CP_ACP, 0, info->caption, -1, caption, sizeof caption, nullptr, nullptr);

    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_MODELESS | PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_USECALLBACK;
    header.pfnCallback = KeepHidden;
    header.pszCaption = caption;
    header.nPages = UINT(pages.size());
    header.ppsp = pages.data();
    window_ = reinterpret_cast<HWND>(PropertySheetA(&header));
    Pump(20);
}

TestSheet::~TestSheet()
{
    DestroyWindow(window_);
    Pump(10);
}

HWND TestSheet::Page(int index) const
{
    return reinterpret_cast<HWND>(SendMessageA(window_, PSM_INDEXTOHWND, WPARAM(index), 0));
}

void TestSheet::Select(int index) const
{
    SendMessageA(window_, PSM_SETCURSEL, WPARAM(index), 0);
    Pump(10);
}

void TestSheet::Click(int index, int control) const
{
    HWND page = Page(index);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED), LPARAM(GetDlgItem(page, control)));
}

void Pump(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMilliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMilliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    }
}

DWORD UserData(HWND page, int control)
{
    return DWORD(GetWindowLongPtrA(GetDlgItem(page, control), GWLP_USERDATA));
}

std::string Text(HWND page, int control)
{
    char text[256] = {};
    GetDlgItemTextA(page, control, text, sizeof text);
    return text;
}

bool Visible(HWND page, int control)
{
    return (GetWindowLongA(GetDlgItem(page, control), GWL_STYLE) & WS_VISIBLE) != 0;
}

namespace {
const char kCounterProperty[] = "PelkoTestTextCounter";
}

TextCounter::TextCounter(HWND control) : control_(control)
{
    SetPropA(control, kCounterProperty, this);
    previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(control, GWLP_WNDPROC, LONG_PTR(Proc)));
}

TextCounter::~TextCounter()
{
    if (IsWindow(control_)) {
        SetWindowLongPtrA(control_, GWLP_WNDPROC, LONG_PTR(previous_));
        RemovePropA(control_, kCounterProperty);
    }
}

LRESULT CALLBACK TextCounter::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<TextCounter*>(GetPropA(window, kCounterProperty));
    if (message == WM_SETTEXT)
        ++self->count_;
    return CallWindowProcA(self->previous_, window, message, wParam, lParam);
}

ReportPipe::ReportPipe()
{
    static std::atomic<int> serial{0};
    char name[96];
    std::snprintf(name, sizeof name, "\\\\.\\pipe\\pelko-test-%lu-%d", GetCurrentProcessId(), serial++);
    path_ = name;
    widePath_.assign(path_.begin(), path_.end());
    pipe_ = CreateNamedPipeA(name, PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 4096,
                             1 << 16, 0, nullptr);
    server_ = std::thread([this] { Serve(); });
}

ReportPipe::~ReportPipe()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    // A client of our own ends a pending wait for a connection.
    HANDLE client = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (client != INVALID_HANDLE_VALUE)
        CloseHandle(client);
    server_.join();
    CloseHandle(pipe_);
}

void ReportPipe::Serve()
{
    for (;;) {
        ConnectNamedPipe(pipe_, nullptr);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_)
                return;
        }
        std::vector<BYTE> pending;
        BYTE buffer[512];
        DWORD read = 0;
        while (ReadFile(pipe_, buffer, sizeof buffer, &read, nullptr) && read > 0) {
            pending.insert(pending.end(), buffer, buffer + read);
            std::lock_guard<std::mutex> lock(mutex_);
            while (pending.size() >= 9) {
                ReceivedReport report;
                std::copy(pending.begin(), pending.begin() + 9, report.bytes.begin());
                report.time = GetTickCount();
                reports_.push_back(report);
                pending.erase(pending.begin(), pending.begin() + 9);
            }
        }
        DisconnectNamedPipe(pipe_);
        std::lock_guard<std::mutex> lock(mutex_);
        ++closes_;
    }
}

std::vector<ReceivedReport> ReportPipe::Reports() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_;
}

size_t ReportPipe::Count() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return reports_.size();
}

int ReportPipe::Closes() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return closes_;
}

void ReportPipe::Clear()
{
    std::lock_guard<std::mutex> lock(mutex_);
    reports_.clear();
}

void SetAmplify(DWORD value)
{
    const BYTE* bytes = reinterpret_cast<const BYTE*>(&value);
    SetAmplifyRaw(REG_DWORD, std::vector<BYTE>(bytes, bytes + sizeof value));
}

void SetAmplifyRaw(DWORD type, const std::vector<BYTE>& bytes)
{
    HKEY key;
    RegCreateKeyExA(HKEY_CURRENT_USER, kOemKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExA(key, "Amplify", 0, type, bytes.data(), DWORD(bytes.size()));
    RegCloseKey(key);
}

void RemoveAmplify()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOemKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, "Amplify");
        RegCloseKey(key);
    }
}

void DeleteTree(HKEY root, const char* path)
{
    RegDeleteTreeA(root, path);
    RegDeleteKeyA(root, path);
}

} // namespace pelko_test
