#pragma once
// What the host-window tests share: an application over a real folder of resources (index,
// UI definition with a font and skins, layouts), the native-window helper, a host that records
// the events reaching its event map, a window class that records its UI messages, and pixel
// capture through WM_PRINT into a 32-bit DIB.
#include <gtest/gtest.h>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>
#include "core/SApp.h"
#include "core/SEvents.h"
#include "core/SHostWnd.h"
#include "core/SSimpleWnd.h"
#include "res.mgr/SResProviderFiles.h"
#include "res_test_util.h"

namespace hosttest {

using namespace SKEIN;

// A stored pixel (alpha high, blue low) from a colour value (red low) and an alpha.
constexpr UINT32 Px(COLORREF color, UINT32 alpha = 0xFF)
{
    return (alpha << 24) | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

inline BOOL CALLBACK CountWindow(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

// The windows of this thread: what a pop-up or dialog leaves behind shows here.
inline int ThreadWindowCount()
{
    int count = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

struct Fired {
    int id;
    std::wstring name;
};

// Records every event of its tree; commands by name can be answered as handled.
class RecordingHost : public SHostWnd {
public:
    explicit RecordingHost(const wchar_t* layout) : SHostWnd(layout) {}
    BOOL OnHostEvent(EventArgs* evt) override
    {
        fired.push_back({evt->GetId(), evt->nameFrom ? evt->nameFrom : L""});
        return evt->GetId() == EventCmd::EventID;
    }
    int Count(int id, const wchar_t* name = nullptr) const
    {
        int count = 0;
        for (const Fired& f : fired)
            count += f.id == id && (!name || f.name == name);
        return count;
    }
    std::vector<Fired> fired;
};

// A window that records the UI messages it gets (then handles them as a plain window).
class RecWnd : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"recwnd")
public:
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        if (msg == WM_PAINT && ++paints == 1 && invalidateOnFirstPaint)
            InvalidateArea();
        if (msg != WM_PAINT && msg != WM_ERASEBKGND && msg != WM_NCPAINT && msg != WM_NCCALCSIZE)
            log.push_back({msg, wParam});
        BOOL handled = SWindow::HandleMessage(msg, wParam, lParam, result);
        if (msg == WM_MOUSEWHEEL) {
            *result = 7;
            return TRUE;
        }
        return handled;
    }
    int Count(UINT msg) const
    {
        int count = 0;
        for (const auto& entry : log)
            count += entry.first == msg;
        return count;
    }
    std::vector<std::pair<UINT, WPARAM>> log;
    int paints = 0;
    bool invalidateOnFirstPaint = false;
};

// Holds the given keys down in this thread's keyboard state while alive.
class HeldKeys {
public:
    HeldKeys(std::initializer_list<int> keys)
    {
        BYTE state[256] = {};
        for (int key : keys)
            state[key] = 0x80;
        ::SetKeyboardState(state);
    }
    ~HeldKeys()
    {
        BYTE state[256] = {};
        ::SetKeyboardState(state);
    }
};

// The folder: index, UI definition (default font, two colour skins) and the test's layouts.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_folder.Write(L"uidef\\init.xml",
                       "<uidef><font name='main' face='Tahoma' size='16'/>"
                       "<skin><colorrect name='red' normal='#ff0000'/><colorrect name='green' normal='#00ff00'/>"
                       "</skin></uidef>");
        IRenderFactory* render = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&render));
        m_render.Attach(render);
        m_app = new SApplication(m_render, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
        m_app->AddFactory(TplSObjectFactory<RecWnd>(), FALSE);
    }
    void TearDown() override
    {
        delete m_app;
    }

    // Writes the layouts (name, XML text) and the index, then adds the folder provider.
    void AddLayouts(const std::vector<std::pair<std::wstring, std::string>>& layouts)
    {
        std::string index = "<resource><UIDEF><file name='xml_init' path='uidef\\init.xml'/></UIDEF><LAYOUT>";
        for (const auto& layout : layouts) {
            m_folder.Write(L"layout\\" + layout.first + L".xml", layout.second);
            index += "<file name='" + std::string(layout.first.begin(), layout.first.end()) + "' path='layout\\"
                     + std::string(layout.first.begin(), layout.first.end()) + ".xml'/>";
        }
        index += "</LAYOUT></resource>";
        m_folder.Write(L"uires.idx", index);
        SRefPtr<IResProvider> provider(new SResProviderFiles, false);
        ASSERT_TRUE(provider->Init(m_folder.Path().c_str()));
        m_app->AddProvider(provider, L"uidef:xml_init");
    }

public:
    // A popup host (no quit message when destroyed) shown without activation; centred on the
    // screen unless a place is given.
    HWND CreatePopup(SHostWnd& host, int x = 0, int y = 0)
    {
        HWND hwnd = host.CreateHost(nullptr, WS_POPUP, WS_EX_TOOLWINDOW, x, y, 0, 0);
        if (hwnd && (x || y))
            ::SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (hwnd)
            ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
        return hwnd;
    }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT)
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    // Pumps for about ms milliseconds.
    static void PumpFor(DWORD ms)
    {
        DWORD end = ::GetTickCount() + ms;
        while (static_cast<int>(end - ::GetTickCount()) > 0) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            Pump();
        }
    }

    // The client area through WM_PRINT into a 32-bit top-down DIB, pixels in row order.
    static std::vector<UINT32> Capture(HWND hwnd, int& width, int& height)
    {
        RECT client = {};
        ::GetClientRect(hwnd, &client);
        width = client.right;
        height = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HDC dc = ::CreateCompatibleDC(nullptr);
        HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ::SendMessageW(hwnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        ::GdiFlush();
        std::vector<UINT32> pixels(static_cast<const UINT32*>(bits), static_cast<const UINT32*>(bits) + width * height);
        ::SelectObject(dc, old);
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        return pixels;
    }

    static LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

protected:
    restest::TempFolder m_folder;
    SRefPtr<IRenderFactory> m_render;
    SApplication* m_app = nullptr;
};

} // namespace hosttest
