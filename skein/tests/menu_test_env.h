#pragma once
// What the popup-menu tests share: an application with the built-in skins of the system-resource
// library and menus from memory, an owner window that records what menus send it, and a driver
// that plays timed steps (posted keys, mouse input, checks) while a menu runs its own loop.
#include <gtest/gtest.h>
#include <functional>
#include <string>
#include <vector>
#include "app_test_support.h"
#include "core/SApp.h"
#include "core/SHostWnd.h"
#include "interface/SImgDecoder-i.h"
#include "res.mgr/SResProviderPE.h"

namespace menutest {

using namespace SKEIN;

// A top-level window in the foreground that records the menu messages it gets.
class OwnerSpy : public CSimpleWnd {
public:
    HWND Create()
    {
        HWND hwnd = CreateNative(L"owner", WS_POPUP | WS_VISIBLE, 0, 40, 40, 200, 120, nullptr, nullptr);
        ::SetForegroundWindow(hwnd);
        return hwnd;
    }
    BOOL HandleWindowMessage(HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD) override
    {
        result = 0;
        switch (msg) {
        case WM_COMMAND: commands.push_back(static_cast<int>(wParam)); return TRUE;
        case WM_INITMENUPOPUP: initPopups.push_back({wParam, lParam}); return TRUE;
        case kHostMsgFireEvent: events.push_back(reinterpret_cast<EventArgs*>(lParam)->GetId()); return TRUE;
        case WM_LBUTTONDOWN: ++presses; return TRUE;
        case WM_APP: received.push_back(static_cast<int>(wParam)); return TRUE;
        default: return FALSE;
        }
    }

    std::vector<int> commands;
    std::vector<std::pair<WPARAM, LPARAM>> initPopups;
    std::vector<int> events;
    std::vector<int> received;
    int presses = 0;
};

// Plays its steps one after the other from a thread timer, each after its delay. A step may run a
// nested menu: the following steps play inside that menu's loop.
class Driver {
public:
    Driver() { s_current = this; }
    ~Driver()
    {
        if (m_timer)
            ::KillTimer(nullptr, m_timer);
        s_current = nullptr;
    }
    Driver& Then(std::function<void()> step, DWORD delay = 60)
    {
        m_steps.push_back({delay, std::move(step), nullptr});
        return *this;
    }
    // A step that plays at the first tick after its delay at which ready() holds.
    Driver& ThenWhen(std::function<bool()> ready, std::function<void()> step, DWORD delay = 60)
    {
        m_steps.push_back({delay, std::move(step), std::move(ready)});
        return *this;
    }
    // Plays the steps added since the last start.
    void Start()
    {
        m_due = ::GetTickCount() + (Done() ? 0 : m_steps[m_next].delay);
        if (!m_timer)
            m_timer = ::SetTimer(nullptr, 0, 10, &Driver::Tick);
    }
    bool Done() const { return m_next == m_steps.size(); }

    static void PostKey(HWND hwnd, UINT vk)
    {
        LPARAM lParam = 1 | (static_cast<LPARAM>(::MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16);
        ::PostMessageW(hwnd, WM_KEYDOWN, vk, lParam);
        ::PostMessageW(hwnd, WM_KEYUP, vk, lParam | 0xC0000000);
    }
    // The cursor to the centre of window (a window of the menu's tree), and a move posted there.
    static POINT MoveTo(HWND hwnd, SWindow* window)
    {
        const RECT& rect = window->GetWindowRect();
        POINT pt{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        POINT screen = pt;
        ::ClientToScreen(hwnd, &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::PostMessageW(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
        return pt;
    }
    static void Click(HWND hwnd, SWindow* window)
    {
        POINT pt = MoveTo(hwnd, window);
        ::PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(pt.x, pt.y));
        ::PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    }

private:
    struct Step {
        DWORD delay;
        std::function<void()> run;
        std::function<bool()> ready;
    };
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        Driver* self = s_current;
        if (!self || self->Done() || static_cast<int>(::GetTickCount() - self->m_due) < 0)
            return;
        if (self->m_steps[self->m_next].ready && !self->m_steps[self->m_next].ready())
            return;
        size_t index = self->m_next++;
        if (self->m_next < self->m_steps.size())
            self->m_due = ::GetTickCount() + self->m_steps[self->m_next].delay;
        self->m_steps[index].run();
    }

    std::vector<Step> m_steps;
    size_t m_next = 0;
    DWORD m_due = 0;
    UINT_PTR m_timer = 0;
    static inline Driver* s_current = nullptr;
};

// The application, the built-in skins, a memory provider for the menus and the owner.
class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* render = nullptr;
        IImgDecoderFactory* decoders = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&render));
        m_render.Attach(render);
        ASSERT_TRUE(CreateImgDecoderFactory_GDIP(&decoders)); // the program's decoder
        m_render->SetImgDecoderFactory(decoders);
        decoders->Release();
        m_app = new SApplication(m_render, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
        LoadSystemSkins();
        m_menus.Attach(new skein_test::MemProvider);
        m_menus->Put(L"UIDEF", L"xml_init", "<uidef><font name='main' face='Tahoma' size='14'/></uidef>");
        m_app->AddProvider(m_menus, L"uidef:xml_init");
        ::SetCursorPos(900, 900); // away from where menus open
        ASSERT_TRUE(m_owner.Create());
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        m_menus = nullptr;
        delete m_app;
    }

    void LoadSystemSkins()
    {
        HMODULE module = skein_test::LoadSysResourceLibrary();
        ASSERT_NE(nullptr, module);
        SRefPtr<IResProvider> provider(new SResProviderPE, false);
        provider->Init(module);
        m_app->LoadSystemResources(provider);
        provider = nullptr;
        FreeLibrary(module);
    }

    void AddMenu(const wchar_t* name, const std::string& xml) { m_menus->Put(L"SMENUEX", name, xml); }

    static void Pump()
    {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }

    SRefPtr<IRenderFactory> m_render;
    SApplication* m_app = nullptr;
    SRefPtr<skein_test::MemProvider> m_menus;
    OwnerSpy m_owner;
};

} // namespace menutest
