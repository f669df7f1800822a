#pragma once
// What the tests of the key-mapping and settings pages share: the program's
// main window over handlers the test owns, the simulated joystick as a responding model 6840,
// a scratch data root, scripted prompts and a scripted mapping chooser.
#include <deque>
#include <vector>
#include "files_test_env.h"
#include "models/MappingChooser.h"
#include "models/ZVK6840/CDeviceHandler6840.h"
#include "models/ZVK6840/ModelFiles6840.h"
#include "models/ZVK6852/CDeviceHandler6852.h"
#include "models/ZVK6852/ModelFiles6852.h"
#include "models/ZVK6867/CDeviceHandler6867.h"
#include "models/ZVK6867/ModelFiles6867.h"
#include "models/ZVK6891/CDeviceHandler6891.h"
#include "models/ZVK6891/CFileJoySetting6891.h"
#include "models/ZVK6891/CProfile6891.h"
#include "shell_test_env.h"

namespace keymaptest {

using namespace SKEIN;

// Answers the mapping pop-ups from a script and records what they were asked.
class ScriptedChooser : public IMappingChooser {
public:
    struct MenuRun {
        MappingMenu menu;
        POINT at;
        HWND owner;
    };

    ScriptedChooser() { SetMappingChooser(this); }
    ~ScriptedChooser() override { SetMappingChooser(nullptr); }

    // The next menu's choice (a menu without one is dismissed: 0), and the pickers' answers.
    void QueueChoice(int id) { m_choices.push_back(id); }
    PickerAnswer key = {2, 0};
    PickerAnswer mouse = {2, 0};

    std::vector<MenuRun> menus;
    int keyRuns = 0;
    std::vector<bool> mouseRuns; // hideMovement of each mouse picker run

    int RunMenu(const MappingMenu& menu, POINT at, HWND owner) override
    {
        menus.push_back({menu, at, owner});
        if (m_choices.empty())
            return 0;
        int id = m_choices.front();
        m_choices.pop_front();
        return id;
    }
    PickerAnswer PickKey(HWND) override
    {
        ++keyRuns;
        return key;
    }
    PickerAnswer PickMouse(HWND, bool hideMovement) override
    {
        mouseRuns.push_back(hideMovement);
        return mouse;
    }

private:
    std::deque<int> m_choices;
};

// The main window over the test's own handlers, a responding model-6840 joystick, a scratch data
// root; every model's records start at their defaults.
class KeymapTest : public shelltest::MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        SetModelDataRoot(m_root.Path());
        for (COlderProfile* profile : {static_cast<COlderProfile*>(&ZVK6840::Profile()),
                                       static_cast<COlderProfile*>(&ZVK6852::Profile()),
                                       static_cast<COlderProfile*>(&ZVK6867::Profile())})
            profile->RestoreDefaults();
        for (COlderJoySetting* settings : {&ZVK6840::JoySetting(), &ZVK6852::JoySetting(), &ZVK6867::JoySetting()})
            settings->RestoreDefaults();
        ZVK6891::Profile().ResetDefaults();
        ZVK6891::Profile().SelectLayer(0);
        ZVK6891::JoySetting().ResetSettings();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        DirectInputJoy().Release();
        SetModelDataRoot(std::wstring());
    }

    // Opens the window with product plugged in and waits until it answers polls.
    void OpenWith(USHORT product = 6840)
    {
        m_pad = &m_sim.Plug(0x2E7A, product);
        CMainDlg::DeviceHandlers handlers = {&m_6891, &m_6867, &m_6852, &m_6840};
        ASSERT_NE(nullptr, Open(&handlers));
        ASSERT_TRUE(shelltest::WaitUntil([] { return DirectInputJoy().Responding(); }));
        m_sim.ClearReports();
        m_prompt.Clear();
    }

    // A control of a sub-page of the 6840 page.
    template <class T = SWindow>
    T* On(CMyHandlerBase& page, const wchar_t* name)
    {
        SWindow* found = page.Page() ? page.Page()->LookupChildByName(SStringW(name)) : nullptr;
        return found && found->MatchesClassName(T::StaticXmlClassName()) ? static_cast<T*>(found) : nullptr;
    }
    // A click at the centre of a control, as the mouse sends it to the host, then the queue
    // pumped; Press leaves the queue as the click left it.
    void Click(CMyHandlerBase& page, const wchar_t* name)
    {
        Press(page, name);
        hosttest::HostTest::Pump();
    }
    void Press(CMyHandlerBase& page, const wchar_t* name)
    {
        SWindow* window = On(page, name);
        ASSERT_NE(nullptr, window) << name;
        ASSERT_TRUE(window->TestVisible()) << name;
        RECT rect = window->GetWindowRect();
        LPARAM point = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        HWND host = m_window->Handle();
        ::SendMessageW(host, WM_MOUSEMOVE, 0, point);
        ::SendMessageW(host, WM_LBUTTONDOWN, MK_LBUTTON, point);
        ::SendMessageW(host, WM_LBUTTONUP, 0, point);
    }
    bool Shown(CMyHandlerBase& page, const wchar_t* name)
    {
        SWindow* window = On(page, name);
        return window && window->TestVisible();
    }
    SStringW TextOf(CMyHandlerBase& page, const wchar_t* name)
    {
        SWindow* window = On(page, name);
        return window ? window->QueryText() : SStringW(L"<missing>");
    }

    CMyHandlerBase& Keymap() { return m_6840.KeymapPage(); }
    CMyHandlerBase& Settings() { return m_6840.SettingPage(); }
    OlderLayer& Layer() { return ZVK6840::Profile().CurrentLayer(); }
    std::wstring ModelFile(const wchar_t* model, const wchar_t* name) const
    {
        return m_root.Path() + L"\\ZVK\\" + model + L"\\" + name;
    }

    restest::TempFolder m_root;
    restest::TempFolder m_elsewhere;
    ScriptedPrompt m_prompt;
    ScriptedChooser m_chooser;
    ZVK6891::CDeviceHandler6891 m_6891;
    ZVK6867::CDeviceHandler6867 m_6867;
    ZVK6852::CDeviceHandler6852 m_6852;
    ZVK6840::CDeviceHandler6840 m_6840;
    SimController* m_pad = nullptr;
};

} // namespace keymaptest
