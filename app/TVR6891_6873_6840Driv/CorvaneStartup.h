#pragma once
// The program around its main window: the framework brought up from the program's archive
// with the program's controls, named ids, skins and language, and taken down again in order.
#include <windows.h>
#include <ole2.h>
#include <memory>
#include "AppStartup.h"
#include "SSkinLoader.h"
#include "translator/STranslator-i.h"

class CMainDlg;

// Exit code of a start that could not build the main window.
const int kExitStartFailed = 2;
// Exit code of a program ended as the user asked (the main window's end quits the loop with 1).
const int kExitNormal = 0;

class CCorvaneStartup {
public:
    // OLE, the program's folder as the working folder, then the framework (see above).
    explicit CCorvaneStartup(HINSTANCE module);
    // The same with the archive and the system resources taken from folder.
    CCorvaneStartup(HINSTANCE module, const SKEIN::SStringW& folder);
    // Takes everything down in the reverse order: the joystick and DirectInput first, OLE last.
    ~CCorvaneStartup();
    CCorvaneStartup(const CCorvaneStartup&) = delete;
    CCorvaneStartup& operator=(const CCorvaneStartup&) = delete;

    SKEIN::SApplication* App() const { return m_framework->App(); }

    // Creates, initialises, centres and shows (or, hidden, keeps hidden) the main window, runs
    // the message loop until it ends and destroys the window: kExitNormal. A main
    // window that cannot be built is reported with a message box naming the archive (its path
    // in lines that fit the screen), during which a second start finds the program through a
    // CStartFailureWnd: kExitStartFailed.
    int RunMainWindow(CMainDlg& window, bool hidden);

private:
    struct OleScope {
        OleScope() { ::OleInitialize(nullptr); }
        ~OleScope() { ::OleUninitialize(); }
    };

    void InstallLanguage();
    int ReportUnreadableArchive();

    OleScope m_ole;
    std::unique_ptr<SKEIN::SAppStartup> m_framework;
    std::unique_ptr<SSkinLoader> m_skinLoader;
    SKEIN::SRefPtr<SKEIN::ITranslatorMgr> m_translator;
};

// The program after the single-instance check; the exit code.
int RunCorvane(HINSTANCE module, bool hidden);
