#include "core/SApp.h"
#include <new>
#include <wchar.h>
#include "control/STextServiceHelper.h"
#include "core/SRicheditMenuDef.h"
#include "core/SSimpleWnd.h"
#include "core/STipCtrl.h"
#include "core/STimer2.h"
#include "core/SWindowMgr.h"
#include "helper/SXmlLookup.h"
#include "helper/SwndFinder.h"
#include "res.mgr/SFontPool.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SResName.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SUiDef.h"
#include "res.mgr/SXmlResource.h"
#include "translator/SNullTranslator.h"

namespace SKEIN {

namespace {

const int kCreationOrder[kSingletonCount] = {0, 1, 2, 3, 4, 7, 5, 6, 8, 9, 10, 11};
const int kDestructionOrder[kSingletonCount] = {11, 10, 9, 8, 5, 6, 7, 4, 3, 2, 1, 0};

ILogManager* ApplicationLogManager()
{
    SApplication* app = SApplication::Instance();
    return app ? app->LogManager() : nullptr;
}

IRenderFactory* ApplicationRenderFactory()
{
    SApplication* app = SApplication::Instance();
    return app ? app->RenderFactory() : nullptr;
}

// The font pool's answers: the current UI definition's default font and the application's
// translator manager.
class SAppFontPoolEnv : public IFontPoolEnv {
public:
    const SDefaultFontInfo* DefaultFont() override
    {
        SUiDef* uiDef = SUiDef::Current();
        IUiDefInfo* info = uiDef ? uiDef->GetUiDefInfo() : nullptr;
        return info ? &info->GetDefaultFont() : nullptr;
    }
    ITranslatorMgr* TranslatorMgr() override
    {
        SApplication* app = SApplication::Instance();
        return app ? app->CurrentTranslator() : nullptr;
    }
};

SAppFontPoolEnv g_fontPoolEnv;

// The message-box template counts only when spelled exactly "SKEIN" with a minimum size.
bool IsMsgBoxTemplate(const pugi::xml_document& document)
{
    pugi::xml_node element = XmlChildNoCase(document, L"SKEIN");
    return element && wcscmp(element.name(), L"SKEIN") == 0 && *XmlAttributeNoCase(element, L"minSize").value();
}

} // namespace

SApplication::SApplication(IRenderFactory* renderFactory, HINSTANCE module, const wchar_t* hostClassName,
                           const ISystemObjectRegister& systemObjects, BOOL classStyle)
    : m_realWndHandler(nullptr), m_renderFactory(nullptr), m_translatorMgr(nullptr), m_toolTipFactory(nullptr),
      m_msgLoopFactory(nullptr), m_logManager(nullptr), m_module(module), m_hostClassName(hostClassName),
      m_classStyle(classStyle), m_mainLoop(nullptr), m_singletons()
{
    AssignObjRef(m_renderFactory, renderFactory);
    SetLogManagerSource(&ApplicationLogManager);
    SetResRenderFactorySource(&ApplicationRenderFactory);
    BindLayeredWindowFunctions();
    CreateOwnedSingletons();
    SFontPool::SetEnv(&g_fontPoolEnv);
    m_translatorMgr = new (std::nothrow) SNullTranslator;
    m_toolTipFactory = new (std::nothrow) SDefToolTipFactory;
    m_msgLoopFactory = new (std::nothrow) SDefMsgLoopFactory;
    InitAppDir();
    if (m_msgLoopFactory)
        m_mainLoop = m_msgLoopFactory->CreateMsgLoop();
    systemObjects.RegisterLayouts(*this);
    systemObjects.RegisterSkins(*this);
    systemObjects.RegisterWindows(*this);
    systemObjects.RegisterInterpolators(*this);
}

SApplication::~SApplication()
{
    if (m_msgLoopFactory)
        m_msgLoopFactory->DestroyMsgLoop(m_mainLoop);
    m_mainLoop = nullptr;
    RemoveAllProviders();
    DestroyOwnedSingletons();
    SFontPool::SetEnv(nullptr);
    AssignObjRef(m_logManager, static_cast<ILogManager*>(nullptr));
    AssignObjRef(m_msgLoopFactory, static_cast<IMsgLoopFactory*>(nullptr));
    AssignObjRef(m_toolTipFactory, static_cast<IToolTipFactory*>(nullptr));
    AssignObjRef(m_translatorMgr, static_cast<ITranslatorMgr*>(nullptr));
    AssignObjRef(m_renderFactory, static_cast<IRenderFactory*>(nullptr));
    AssignObjRef(m_realWndHandler, static_cast<IRealWndHandler*>(nullptr));
    SetResRenderFactorySource(nullptr);
    SetLogManagerSource(nullptr);
}

SSingleton2* SApplication::NewOwnedSingleton(int index) const
{
    switch (index) {
    case kSingletonUiDef:
        return new (std::nothrow) SUiDef;
    case kSingletonWindowMgr:
        return new (std::nothrow) SWindowMgr;
    case kSingletonTimer2:
        return new (std::nothrow) STimer2;
    case kSingletonFontPool:
        return new (std::nothrow) SFontPool(m_renderFactory);
    case kSingletonStylePoolMgr:
        return new (std::nothrow) SStylePoolMgr;
    case kSingletonTemplatePoolMgr:
        return new (std::nothrow) STemplatePoolMgr;
    case kSingletonSkinPoolMgr:
        return new (std::nothrow) SSkinPoolMgr;
    case kSingletonWindowFinder:
        return new (std::nothrow) SWindowFinder;
    case kSingletonTextServiceHelper:
        return new (std::nothrow) STextServiceHelper;
    case kSingletonRicheditMenuDef:
        return new (std::nothrow) SRicheditMenuDef;
    case kSingletonSimpleWndHelper:
        return new (std::nothrow) CSimpleWndHelper(m_module, m_hostClassName.c_str(), m_classStyle);
    default:
        // The script timers are filled when their class is built.
        return nullptr;
    }
}

void SApplication::CreateOwnedSingletons()
{
    for (int index : kCreationOrder)
        m_singletons[index] = NewOwnedSingleton(index);
}

// Each slot is cleared only after its object is gone, so a singleton's destructor still finds
// itself and every singleton deleted after it.
void SApplication::DestroyOwnedSingletons()
{
    for (int index : kDestructionOrder) {
        delete m_singletons[index];
        m_singletons[index] = nullptr;
    }
}

SSingleton2* SApplication::OwnedSingleton(int index) const
{
    return static_cast<unsigned>(index) < kSingletonCount ? m_singletons[index] : nullptr;
}

void SApplication::SetLogManager(ILogManager* manager)
{
    AssignObjRef(m_logManager, manager);
}

void SApplication::SetRealWndHandler(IRealWndHandler* handler)
{
    AssignObjRef(m_realWndHandler, handler);
}

ITranslatorMgr* SApplication::InstallTranslatorMgr(ITranslatorMgr* manager)
{
    return AssignObjRef(m_translatorMgr, manager);
}

SStringW SApplication::TranslateText(const wchar_t* source, const wchar_t* context) const
{
    int size = m_translatorMgr ? m_translatorMgr->Translate(source, context, nullptr, 0) : 0;
    SStringW translation;
    wchar_t* buffer = size > 0 ? translation.WritableBuffer(size) : nullptr;
    if (!buffer || m_translatorMgr->Translate(source, context, buffer, size) <= 0)
        return SStringW(source);
    translation.CommitBuffer();
    return translation;
}

void SApplication::InitAppDir()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(m_module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    wchar_t* slash = wcsrchr(path, L'\\');
    m_appDir = SStringW(path, slash ? static_cast<int>(slash - path) : static_cast<int>(length));
}

IObject* SApplication::CreateWindowByName(const wchar_t* name)
{
    SStringW given(name);
    const wchar_t* dot = wcsrchr(given.c_str(), L'.');
    SStringW className = dot ? given.LeftPart(static_cast<int>(dot - given.c_str())) : given;
    IObject* window = CreateObject(SObjectInfo(className, kKindWindow));
    if (window && dot)
        window->ApplyAttribute(SStringW(L"class"), given, TRUE);
    return window;
}

IObject* SApplication::CreateSkinByName(const wchar_t* name)
{
    return CreateObject(SObjectInfo(SStringW(name), kKindSkin));
}

IInterpolator* SApplication::CreateInterpolatorByName(const wchar_t* name)
{
    IObject* interpolator = CreateObject(SObjectInfo(SStringW(name), kKindInterpolator));
    return interpolator ? dynamic_cast<IInterpolator*>(interpolator) : nullptr;
}

BOOL SApplication::LoadXmlDocument(pugi::xml_document& document, const wchar_t* type, const wchar_t* name)
{
    return LoadXmlDocumentFrom(name, type, document, nullptr);
}

BOOL SApplication::LoadXmlDocumentFrom(const wchar_t* name, const wchar_t* type, pugi::xml_document& document,
                                       IResProvider* provider)
{
    SRefPtr<IResProvider> source(provider);
    if (!source) {
        if (IsFileType(type))
            return name && document.load_file(name, pugi::parse_default, pugi::encoding_utf8) ? TRUE : FALSE;
        source = FindResProvider(type, name);
    }
    return LoadXmlResource(source, type, name, document) == kXmlResourceLoaded ? TRUE : FALSE;
}

BOOL SApplication::LoadXmlDocumentByResId(pugi::xml_document& document, const wchar_t* resId)
{
    SDynArray<SStringW> parts;
    if (SplitResourceName(resId, parts) != 2)
        return FALSE;
    return LoadXmlDocument(document, parts[0], parts[1]);
}

int SApplication::LoadSystemResources(IResProvider* provider)
{
    if (!provider)
        return kSysResSkinMissing | kSysResEditMenuMissing | kSysResMsgBoxMissing;
    int missing = 0;
    AddProvider(provider);
    pugi::xml_document document;
    SSkinPoolMgr* skinPools = static_cast<SSkinPoolMgr*>(OwnedSingleton(kSingletonSkinPoolMgr));
    if (LoadXmlDocumentFrom(L"SYS_XML_SKIN", L"XML", document, provider) && skinPools)
        skinPools->BuiltinPool()->LoadFromXml(XmlChildNoCase(document, L"skin"));
    else
        missing |= kSysResSkinMissing;
    SRicheditMenuDef* editMenu = static_cast<SRicheditMenuDef*>(OwnedSingleton(kSingletonRicheditMenuDef));
    if (LoadXmlDocumentFrom(L"SYS_XML_EDITMENU", L"XML", document, provider) && editMenu) {
        editMenu->Document().reset();
        editMenu->Document().append_copy(XmlChildNoCase(document, L"editmenu"));
    } else {
        missing |= kSysResEditMenuMissing;
    }
    if (!LoadXmlDocumentFrom(L"SYS_XML_MSGBOX", L"XML", document, provider) || !IsMsgBoxTemplate(document))
        missing |= kSysResMsgBoxMissing;
    RemoveProvider(provider);
    return missing;
}

void SApplication::LoadNamedIds(const SNamedID::Record* records, int count, BOOL sorted)
{
    m_namedIds.InitFromArray(records, count, sorted);
}

int SApplication::NamedId(const wchar_t* name) const
{
    return m_namedIds.Find(name);
}

int SApplication::RunMainLoop(HWND mainWindow)
{
    int result = m_mainLoop ? m_mainLoop->Run() : 0;
    if (IsWindow(mainWindow))
        DestroyWindow(mainWindow);
    return result;
}

void SApplication::LoadUiDefFromProvider(IResProvider* provider, const wchar_t* uidefId)
{
    SUiDef* uiDef = static_cast<SUiDef*>(OwnedSingleton(kSingletonUiDef));
    if (!uiDef)
        return;
    SRefPtr<IUiDefInfo> info(uiDef->CreateAndPushUiDefInfo(provider, uidefId), false);
    uiDef->SetUiDefInfo(info);
}

pugi::xml_node SApplication::ClassDefaultElement(const wchar_t* xmlClassName)
{
    SUiDef* uiDef = static_cast<SUiDef*>(OwnedSingleton(kSingletonUiDef));
    IUiDefInfo* info = uiDef ? uiDef->GetUiDefInfo() : nullptr;
    SObjDefAttr* attributes = info ? info->GetObjDefAttr() : nullptr;
    return attributes ? attributes->FindClassAttributes(xmlClassName) : pugi::xml_node();
}

} // namespace SKEIN
