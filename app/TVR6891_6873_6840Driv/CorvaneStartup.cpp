#include "CorvaneStartup.h"
#include "CMainDlg.h"
#include "CStartFailureWnd.h"
#include "MainTexts.h"
#include "NamedIdTable.h"
#include "ProgramFolder.h"
#include "core/SComponentFactory.h"
#include "device/CDirectInputJoy.h"
#include "prompt/UserPrompt.h"
#include "widgets/SAppControls.h"

using namespace SKEIN;

namespace {

const wchar_t kArchiveName[] = L"uires.zip";
const wchar_t kSkinFolder[] = L"skin";
const wchar_t kSkinResource[] = L"LoadSkinXml";
const wchar_t kLanguageType[] = L"translator";
const wchar_t kLanguageName[] = L"lang_cn";
const wchar_t kLanguageRoot[] = L"language";
const wchar_t kUnreadableArchive[] = L"无法读取界面资源文件：\n%s\n\n请重新安装本程序。";

void PrepareApplication(SApplication& app)
{
    RegisterAppControls(app);
    app.LoadNamedIds(kNamedIdTable, kNamedIdCount, TRUE);
}

} // namespace

CCorvaneStartup::CCorvaneStartup(HINSTANCE module) : CCorvaneStartup(module, ProgramFolder()) {}

CCorvaneStartup::CCorvaneStartup(HINSTANCE module, const SStringW& folder)
{
    ::SetCurrentDirectoryW(folder.c_str());
    SAppStartupOptions options;
    options.archiveName = kArchiveName;
    options.folder = folder.c_str();
    options.prepare = PrepareApplication;
    m_framework.reset(new SAppStartup(module, options));
    m_skinLoader.reset(new SSkinLoader(*App()));
    m_skinLoader->LoadSkin(kSkinFolder, kSkinResource);
    InstallLanguage();
}

CCorvaneStartup::~CCorvaneStartup()
{
    DirectInputJoy().Shutdown();
    m_framework->Shutdown();
    m_skinLoader.reset();
    m_translator = nullptr;
    m_framework.reset();
}

void CCorvaneStartup::InstallLanguage()
{
    ITranslatorMgr* translators = nullptr;
    if (!SComponentFactory().CreateTranslatorMgr(&translators))
        return;
    m_translator.Attach(translators);
    App()->InstallTranslatorMgr(translators);
    pugi::xml_document document;
    if (!App()->LoadXmlDocument(document, kLanguageType, kLanguageName))
        return;
    ITranslator* language = nullptr;
    if (!translators->CreateTranslator(&language))
        return;
    pugi::xml_node root = document.child(kLanguageRoot);
    if (language->Load(&root, kTranslatorLoadXml))
        translators->InstallTranslator(language);
    language->Release();
}

int CCorvaneStartup::RunMainWindow(CMainDlg& window, bool hidden)
{
    HWND hwnd = window.CreateHostDefault();
    if (!hwnd || !window.HasLayout()) {
        // Before the window goes: its end would quit the message box's loop at once.
        int result = ReportUnreadableArchive();
        window.DestroyHost();
        return result;
    }
    ::SendMessageW(hwnd, WM_INITDIALOG, 0, 0);
    window.CenterOnOwner(hwnd);
    ::ShowWindow(hwnd, hidden ? SW_HIDE : SW_SHOWNORMAL);
    App()->RunMainLoop(hwnd);
    return kExitNormal;
}

int CCorvaneStartup::ReportUnreadableArchive()
{
    SStringW text;
    text.Printf(kUnreadableArchive, ShownPath(m_framework->ArchivePath()).c_str());
    CStartFailureWnd instance; // how a second start finds the program while the box is shown
    UserPrompt().ShowMessage(instance.Handle(), text.c_str(), CurrentMainTexts().title.c_str(),
                             MB_OK | MB_ICONERROR);
    return kExitStartFailed;
}

int RunCorvane(HINSTANCE module, bool hidden)
{
    CCorvaneStartup startup(module);
    CMainDlg window;
    return startup.RunMainWindow(window, hidden);
}
