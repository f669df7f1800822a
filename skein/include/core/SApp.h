#pragma once
// The application object: the process's one root object. It is the resource-provider manager
// and the object-factory manager, owns the framework's process-wide singletons and service
// objects, keeps the table of named control ids and runs the main message loop. It is created
// before any window and destroyed after every other framework object.
#include <windows.h>
#include <pugixml.hpp>
#include "core/SMsgLoopFactory.h"
#include "core/SObjectDefaultRegister.h"
#include "core/SObjectFactory.h"
#include "core/SSingleton.h"
#include "helper/SLog.h"
#include "interface/SRealWndHandler-i.h"
#include "interface/STooltip-i.h"
#include "interface/SRender-i.h"
#include "layout/SInterpolator-i.h"
#include "res.mgr/SNamedValue.h"
#include "res.mgr/SResProviderMgr.h"
#include "translator/STranslator-i.h"

namespace SKEIN {

// Indices of the owned singletons.
enum {
    kSingletonUiDef = 0,
    kSingletonWindowMgr = 1,
    kSingletonTimer2 = 2,
    kSingletonScriptTimer = 3,
    kSingletonFontPool = 4,
    kSingletonStylePoolMgr = 5,
    kSingletonTemplatePoolMgr = 6,
    kSingletonSkinPoolMgr = 7,
    kSingletonWindowFinder = 8,
    kSingletonTextServiceHelper = 9,
    kSingletonRicheditMenuDef = 10,
    kSingletonSimpleWndHelper = 11,
    kSingletonCount = 12,
};

// Flags of LoadSystemResources: the system documents that could not be loaded.
enum {
    kSysResSkinMissing = 1,
    kSysResEditMenuMissing = 2,
    kSysResMsgBoxMissing = 4,
};

class SApplication : public SSingleton<SApplication>, public SResProviderMgr, public SObjectFactoryMgr {
public:
    // hostClassName and classStyle are for the native host windows' class.
    SApplication(IRenderFactory* renderFactory, HINSTANCE module, const wchar_t* hostClassName,
                 const ISystemObjectRegister& systemObjects, BOOL classStyle = FALSE);
    ~SApplication() override;

    // A window of the class named before the last "." (the whole name without one); a dotted
    // name is also applied as the new window's "class". Null, with a warning, for an unknown class.
    virtual IObject* CreateWindowByName(const wchar_t* name);
    virtual IObject* CreateSkinByName(const wchar_t* name);
    virtual IInterpolator* CreateInterpolatorByName(const wchar_t* name);
    // Registers window class T (kind window) without replacing an earlier key; FALSE otherwise.
    template <class T>
    BOOL AddWindowClass()
    {
        return T::StaticObjectKind() == kKindWindow ? AddFactoryOf<T>() : FALSE;
    }

    // Null for an index outside 0..11 and for a singleton not (or no longer) there.
    SSingleton2* OwnedSingleton(int index) const;

    // The stored services, no reference added; null when empty.
    IRenderFactory* RenderFactory() const { return m_renderFactory; }
    ITranslatorMgr* CurrentTranslator() const { return m_translatorMgr; }
    IMsgLoopFactory* MsgLoopFactory() const { return m_msgLoopFactory; }
    IToolTipFactory* ToolTipFactory() const { return m_toolTipFactory; }
    // The main message loop, made at construction; null when the factory could not make it.
    SMessageLoop* GetMainMessageLoop() const { return m_mainLoop; }
    ILogManager* LogManager() const { return m_logManager; }
    // Installs the optional log sink (reference added); null sends log lines to the debugger.
    void SetLogManager(ILogManager* manager);
    // The maker of "realwnd" native windows (no reference added); null when none is installed.
    IRealWndHandler* RealWndHandler() const { return m_realWndHandler; }
    // Installs the real-window handler (reference added); null removes it.
    void SetRealWndHandler(IRealWndHandler* handler);
    // Replaces the translator manager (reference added); returns the one now held.
    ITranslatorMgr* InstallTranslatorMgr(ITranslatorMgr* manager);
    // The translator manager's translation of source in context; source itself when it has none.
    SStringW TranslateText(const wchar_t* source, const wchar_t* context) const;

    // Folder of the program module, without a trailing backslash.
    const SStringW& AppDir() const { return m_appDir; }

    // type "file" (any case) reads the disk file name; otherwise the newest provider holding
    // (type, name), or the given provider. FALSE when absent, empty or not XML.
    BOOL LoadXmlDocument(pugi::xml_document& document, const wchar_t* type, const wchar_t* name);
    BOOL LoadXmlDocumentFrom(const wchar_t* name, const wchar_t* type, pugi::xml_document& document,
                             IResProvider* provider);
    // "type:name"; FALSE for an id without a colon.
    BOOL LoadXmlDocumentByResId(pugi::xml_document& document, const wchar_t* resId);

    // Reads the framework's system documents from provider, which is listed only meanwhile.
    // Returns the kSysRes flags of the documents that are missing (0: all loaded).
    int LoadSystemResources(IResProvider* provider);

    // Replaces the named-id table by a copy of the records.
    void LoadNamedIds(const SNamedID::Record* records, int count, BOOL sorted);
    // The id of the name, 0 when it is not in the table.
    int NamedId(const wchar_t* name) const;

    // Runs the main loop for mainWindow, destroys that window if it still exists, and returns
    // the loop's result.
    int RunMainLoop(HWND mainWindow);

protected:
    void LoadUiDefFromProvider(IResProvider* provider, const wchar_t* uidefId) override;
    pugi::xml_node ClassDefaultElement(const wchar_t* xmlClassName) override;

private:
    SSingleton2* NewOwnedSingleton(int index) const;
    static void BindLayeredWindowFunctions();
    void CreateOwnedSingletons();
    void DestroyOwnedSingletons();
    void InitAppDir();

    // The script factory and attribute-store factory are kept here once their interfaces exist.
    IRealWndHandler* m_realWndHandler;
    IRenderFactory* m_renderFactory;
    ITranslatorMgr* m_translatorMgr;
    IToolTipFactory* m_toolTipFactory;
    IMsgLoopFactory* m_msgLoopFactory;
    ILogManager* m_logManager;
    SNamedID m_namedIds;
    SStringW m_appDir;
    HINSTANCE m_module;
    SStringW m_hostClassName;
    BOOL m_classStyle;
    SMessageLoop* m_mainLoop;
    SSingleton2* m_singletons[kSingletonCount];
};

// The layered-window update of translucent hosts, bound when the application is constructed:
// UpdateLayeredWindowIndirect, else a call of UpdateLayeredWindow with the same information
// (without the dirty rectangle). FALSE when the system offers neither.
BOOL CallUpdateLayeredWindowIndirect(HWND window, const UPDATELAYEREDWINDOWINFO* info);

} // namespace SKEIN
