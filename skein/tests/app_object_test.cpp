#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include <vector>
#include "app_test_support.h"
#include "control/STextServiceHelper.h"
#include "core/SApp.h"
#include "core/SSimpleWnd.h"
#include "core/SRicheditMenuDef.h"
#include "core/STimer2.h"
#include "core/SWindowMgr.h"
#include "helper/SwndFinder.h"
#include "layout/SInterpolatorImpl.h"
#include "res.mgr/SFontPool.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"
#include "res.mgr/SUiDef.h"
#include "res.mgr/SUiDefInfo.h"
#include "translator/STranslatorMgr.h"

using namespace SKEIN;
using skein_test::AppliedAndDelete;
using skein_test::LogRecorder;
using skein_test::MemProvider;

namespace {

typedef std::vector<std::wstring> Applied;

std::vector<std::string> g_events;

// What the application holds at this moment, e.g. "[singletons 0 10 loops translator render]".
std::string Snapshot()
{
    SApplication* app = SApplication::Instance();
    if (!app)
        return "[no application]";
    std::string text = "[singletons";
    for (int i = 0; i < kSingletonCount; ++i) {
        if (app->OwnedSingleton(i))
            text += " " + std::to_string(i);
    }
    text += app->MsgLoopFactory() ? " loops" : "";
    text += app->LogManager() ? " log" : "";
    text += app->CurrentTranslator() ? " translator" : "";
    text += app->RenderFactory() ? " render" : "";
    return text + "]";
}

void Note(const std::string& what)
{
    g_events.push_back(what + " " + Snapshot());
}

class OrderRegister : public ISystemObjectRegister {
public:
    void RegisterLayouts(SObjectFactoryMgr& factories) const override { Seen("layouts", factories); }
    void RegisterSkins(SObjectFactoryMgr& factories) const override { Seen("skins", factories); }
    void RegisterWindows(SObjectFactoryMgr& factories) const override { Seen("windows", factories); }
    void RegisterInterpolators(SObjectFactoryMgr& factories) const override { Seen("interpolators", factories); }

private:
    static void Seen(const char* what, SObjectFactoryMgr& factories)
    {
        EXPECT_EQ(&factories, static_cast<SObjectFactoryMgr*>(SApplication::Instance()));
        Note(what);
    }
};

class FakeRenderFactory : public TObjRefImpl<IRenderFactory> {
public:
    ~FakeRenderFactory() override { Note("render factory freed"); }
    IImgDecoderFactory* GetImgDecoderFactory() override { return nullptr; }
    void SetImgDecoderFactory(IImgDecoderFactory*) override {}
    BOOL CreateRenderTarget(IRenderTarget**, int, int) override { return FALSE; }
    BOOL CreateFont(IFont**, const LOGFONTW*) override { return FALSE; }
    BOOL CreateBitmap(IBitmap**) override { return FALSE; }
    BOOL CreateRegion(IRegion**) override { return FALSE; }
};

class ObservedTranslatorMgr : public STranslatorMgr {
public:
    ~ObservedTranslatorMgr() override { Note("translator manager freed"); }
};

class ObservedUiDefInfo : public SUiDefInfo {
public:
    ~ObservedUiDefInfo() override { Note("ui definition freed"); }
};

TEST(ApplicationLifecycle, ServicesAndSingletonsComeAndGoInOrder)
{
    g_events.clear();
    FakeRenderFactory* factory = new FakeRenderFactory;
    SApplication* app = new SApplication(factory, GetModuleHandleW(nullptr), L"SKEINHOST", OrderRegister());
    factory->Release();
    EXPECT_EQ(app, SApplication::Instance());
    EXPECT_EQ(factory, ResRenderFactory());

    LogRecorder* log = new LogRecorder;
    log->onDestroy = [] { Note("log manager freed"); };
    app->SetLogManager(log);
    log->Release();
    MemProvider* provider = new MemProvider;
    provider->onDestroy = [] { Note("provider freed"); };
    app->AddProvider(provider);
    provider->Release();
    ObservedUiDefInfo* info = new ObservedUiDefInfo;
    static_cast<SUiDef*>(app->OwnedSingleton(kSingletonUiDef))->SetUiDefInfo(info);
    info->Release();
    ObservedTranslatorMgr* translator = new ObservedTranslatorMgr;
    EXPECT_EQ(translator, app->InstallTranslatorMgr(translator));
    translator->Release();

    delete app;
    EXPECT_EQ(nullptr, SApplication::Instance());
    EXPECT_EQ(nullptr, ResRenderFactory());
    const std::vector<std::string> expected = {
        "layouts [singletons 0 1 2 4 5 6 7 8 9 10 11 loops translator render]",
        "skins [singletons 0 1 2 4 5 6 7 8 9 10 11 loops translator render]",
        "windows [singletons 0 1 2 4 5 6 7 8 9 10 11 loops translator render]",
        "interpolators [singletons 0 1 2 4 5 6 7 8 9 10 11 loops translator render]",
        "provider freed [singletons 0 1 2 4 5 6 7 8 9 10 11 loops log translator render]",
        "ui definition freed [singletons 0 loops log translator render]",
        "log manager freed [singletons loops translator render]",
        "translator manager freed [singletons render]",
        "render factory freed [singletons]",
    };
    EXPECT_EQ(expected, g_events);
}

typedef skein_test::AppFixture AppTest;

TEST_F(AppTest, OwnedSingletonsByIndex)
{
    EXPECT_NE(nullptr, dynamic_cast<SUiDef*>(m_app->OwnedSingleton(0)));
    EXPECT_NE(nullptr, dynamic_cast<SWindowMgr*>(m_app->OwnedSingleton(1)));
    EXPECT_NE(nullptr, dynamic_cast<STimer2*>(m_app->OwnedSingleton(2)));
    EXPECT_NE(nullptr, dynamic_cast<SFontPool*>(m_app->OwnedSingleton(4)));
    EXPECT_NE(nullptr, dynamic_cast<SStylePoolMgr*>(m_app->OwnedSingleton(5)));
    EXPECT_NE(nullptr, dynamic_cast<STemplatePoolMgr*>(m_app->OwnedSingleton(6)));
    EXPECT_NE(nullptr, dynamic_cast<SSkinPoolMgr*>(m_app->OwnedSingleton(7)));
    EXPECT_NE(nullptr, dynamic_cast<SWindowFinder*>(m_app->OwnedSingleton(8)));
    STextServiceHelper* textServices = dynamic_cast<STextServiceHelper*>(m_app->OwnedSingleton(9));
    ASSERT_NE(nullptr, textServices);
    EXPECT_NE(nullptr, textServices->CreateTextServicesEntry()); // the library is loaded at start
    EXPECT_NE(nullptr, dynamic_cast<SRicheditMenuDef*>(m_app->OwnedSingleton(10)));
    EXPECT_EQ(CSimpleWndHelper::Instance(), m_app->OwnedSingleton(11));
    EXPECT_NE(nullptr, CSimpleWndHelper::Instance());
    EXPECT_EQ(nullptr, m_app->OwnedSingleton(12));
    EXPECT_EQ(nullptr, m_app->OwnedSingleton(-1));
    EXPECT_EQ(SUiDef::Current(), m_app->OwnedSingleton(0));
    EXPECT_NE(nullptr, m_app->MsgLoopFactory());
}

TEST_F(AppTest, CreateWindowByNameTakesTheClassBeforeTheLastDot)
{
    const struct {
        const wchar_t* name;
        const wchar_t* xmlClass;
        Applied applied;
    } cases[] = {
        {L"button", L"button", {}},
        {L"Button", L"button", {}},
        {L"button.ok", L"button", {L"class=button.ok"}},
        {L"a.b.c", L"a.b", {L"class=a.b.c"}},
        {L"IMGBTN.big", L"imgbtn", {L"class=IMGBTN.big"}},
    };
    for (const auto& c : cases) {
        IObject* window = m_app->CreateWindowByName(c.name);
        ASSERT_NE(nullptr, window);
        EXPECT_STREQ(c.xmlClass, window->XmlClassName());
        EXPECT_EQ(kKindWindow, window->ObjectKind());
        EXPECT_EQ(c.applied, AppliedAndDelete(window));
    }
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(AppTest, UnknownClassNamesGiveNullWithTheWarningLine)
{
    const char* function = "3|SKEIN::SObjectFactoryMgr::CreateObject|";
    EXPECT_EQ(nullptr, m_app->CreateWindowByName(L"NoSuch.ok"));
    EXPECT_EQ(nullptr, m_app->CreateWindowByName(nullptr));
    EXPECT_EQ(nullptr, m_app->CreateWindowByName(L"object"));
    EXPECT_EQ(nullptr, m_app->CreateSkinByName(L"skinObjBase"));
    EXPECT_EQ(nullptr, m_app->CreateInterpolatorByName(L"interpolator_base"));
    const std::vector<std::string> expected = {
        std::string(function) + "Warning: no object nosuch of type:1 in SKEIN!!",
        std::string(function) + "Warning: no object  of type:1 in SKEIN!!",
        std::string(function) + "Warning: no object object of type:1 in SKEIN!!",
        std::string(function) + "Warning: no object skinobjbase of type:2 in SKEIN!!",
        std::string(function) + "Warning: no object interpolator_base of type:4 in SKEIN!!",
    };
    EXPECT_EQ(expected, TakeLog());
}

TEST_F(AppTest, BuiltInInterpolatorsAreRegisteredAndKeepTheirNames)
{
    const wchar_t* names[] = {L"Linear",     L"accelerate", L"Decelerate",          L"AccelerateDecelerate",
                              L"Anticipate", L"Bounce",     L"AnticipateOvershoot", L"cycle",
                              L"Overshoot"};
    for (const wchar_t* name : names) {
        IInterpolator* curve = m_app->CreateInterpolatorByName(name);
        ASSERT_NE(nullptr, curve) << name;
        EXPECT_NEAR(0.0f, curve->Interpolate(0.0f), 1e-6f) << name;
        curve->Release();
    }
    IInterpolator* overshoot = m_app->CreateInterpolatorByName(L"AnticipateOvershoot");
    EXPECT_NEAR(1.0f, overshoot->Interpolate(1.0f), 1e-5f); // constructed with tension 2, extra 1.5
    overshoot->Release();
    EXPECT_FALSE(m_app->AddFactory(TplSObjectFactory<SLinearInterpolator>(), FALSE));
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(AppTest, XmlDocumentsByResourceIdNeedTypeAndName)
{
    SRefPtr<MemProvider> provider(new MemProvider, false);
    provider->Put(L"LAYOUT", L"main", "<window name='main'/>");
    provider->Put(L"LAYOUT", L"broken", "<window");
    provider->Put(L"LAYOUT", L"empty", "");
    provider->Put(L"LAYOUT", L"a:b", "<window name='colon'/>");
    m_app->AddProvider(provider);
    const struct {
        const wchar_t* id;
        BOOL loaded;
        const wchar_t* name;
    } cases[] = {
        {L"layout:main", TRUE, L"main"}, {L"LAYOUT:a:b", TRUE, L"colon"}, {L"main", FALSE, nullptr},
        {L"layout:broken", FALSE, nullptr}, {L"layout:empty", FALSE, nullptr}, {L"layout:none", FALSE, nullptr},
        {L"skin:main", FALSE, nullptr},    {L"", FALSE, nullptr},
    };
    for (const auto& c : cases) {
        pugi::xml_document document;
        EXPECT_EQ(c.loaded, m_app->LoadXmlDocumentByResId(document, c.id)) << c.id;
        if (c.loaded) {
            EXPECT_STREQ(c.name, document.child(L"window").attribute(L"name").value());
        }
    }
    EXPECT_TRUE(TakeLog().empty());
}

TEST_F(AppTest, XmlDocumentFromADiskFile)
{
    wchar_t folder[MAX_PATH];
    ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
    std::wstring path = std::wstring(folder) + L"skein_app_test.xml";
    std::ofstream(path.c_str(), std::ios::binary) << "<menu text='\xE6\x89\x93'/>";
    pugi::xml_document document;
    EXPECT_TRUE(m_app->LoadXmlDocumentByResId(document, (L"FILE:" + path).c_str()));
    EXPECT_STREQ(L"\x6253", document.child(L"menu").attribute(L"text").value());
    EXPECT_FALSE(m_app->LoadXmlDocument(document, L"file", (path + L".missing").c_str()));
    DeleteFileW(path.c_str());
}

TEST_F(AppTest, SystemResourcesReportWhatIsMissingAndLeaveNoProvider)
{
    const struct {
        const char* skin;
        const char* editMenu;
        const char* msgBox;
        int missing;
    } cases[] = {
        {nullptr, nullptr, nullptr, 7},
        {"<skin/>", "<editmenu><item id='1'/></editmenu>", "<SKEIN minSize='200,100'/>", 0},
        {"<broken", "<other/>", "<skein minSize='200,100'/>", 1 | 4},
        {"<skin/>", nullptr, "<SKEIN minSize=''/>", 2 | 4},
        {nullptr, "<editmenu/>", "<SKEIN/>", 1 | 4},
    };
    for (const auto& c : cases) {
        SRefPtr<MemProvider> provider(new MemProvider, false);
        if (c.skin)
            provider->Put(L"xml", L"SYS_XML_SKIN", c.skin);
        if (c.editMenu)
            provider->Put(L"XML", L"SYS_XML_EDITMENU", c.editMenu);
        if (c.msgBox)
            provider->Put(L"XML", L"SYS_XML_MSGBOX", c.msgBox);
        EXPECT_EQ(c.missing, m_app->LoadSystemResources(provider)) << c.skin;
        EXPECT_EQ(2, provider->AddRef()); // the application holds no reference any more
        provider->Release();
        EXPECT_FALSE(m_app->FindResProvider(L"XML", L"SYS_XML_MSGBOX"));
    }
    EXPECT_EQ(7, m_app->LoadSystemResources(nullptr));
}

TEST_F(AppTest, SystemEditMenuIsCopiedIntoItsSingleton)
{
    SRefPtr<MemProvider> provider(new MemProvider, false);
    provider->Put(L"XML", L"SYS_XML_EDITMENU", "<EditMenu><item id='7'/></EditMenu>");
    EXPECT_EQ(1 | 4, m_app->LoadSystemResources(provider));
    SRicheditMenuDef* menu = static_cast<SRicheditMenuDef*>(m_app->OwnedSingleton(kSingletonRicheditMenuDef));
    EXPECT_EQ(7, menu->Document().child(L"EditMenu").child(L"item").attribute(L"id").as_int());

    provider->Put(L"XML", L"SYS_XML_EDITMENU", "<editmenu/>"); // a second load replaces the first
    m_app->LoadSystemResources(provider);
    EXPECT_TRUE(menu->Document().child(L"editmenu"));
    EXPECT_FALSE(menu->Document().child(L"EditMenu"));
}

TEST_F(AppTest, SystemSkinsGoToTheBuiltinPool)
{
    SRefPtr<MemProvider> provider(new MemProvider, false);
    provider->Put(L"XML", L"SYS_XML_SKIN",
                  "<SKIN><colorrect name='_skin.sys.border' normal='#ff0000'/>"
                  "<colorrect name='_skin.sys.wnd.bkgnd' normal='#00ff00'/><nosuchskin name='x'/></SKIN>");
    EXPECT_EQ(2 | 4, m_app->LoadSystemResources(provider));
    SSkinPoolMgr* pools = static_cast<SSkinPoolMgr*>(m_app->OwnedSingleton(kSingletonSkinPoolMgr));
    EXPECT_EQ(2, pools->BuiltinPool()->Count());
    EXPECT_EQ(1, pools->PoolCount()); // the built-in pool is no longer pushed twice
    ISkinObj* border = pools->FindSystemSkin(kSysSkinBorder, 100);
    ASSERT_NE(nullptr, border);
    EXPECT_EQ(border, pools->FindSkin(L"_skin.sys.border", 100));
    EXPECT_NE(nullptr, pools->FindSystemSkin(kSysSkinWndBkgnd, 100));
    EXPECT_EQ(nullptr, pools->FindSystemSkin(kSysSkinCheckbox, 100));
}

TEST_F(AppTest, TextsAreTranslatedByTheInstalledManager)
{
    EXPECT_STREQ(L"ok", m_app->TranslateText(L"ok", L"dlg_main")); // the null translator
    EXPECT_STREQ(L"", m_app->TranslateText(nullptr, nullptr));

    SRefPtr<STranslatorMgr> manager(new STranslatorMgr, false);
    EXPECT_EQ(manager.Get(), m_app->InstallTranslatorMgr(manager));
    EXPECT_EQ(manager.Get(), m_app->CurrentTranslator());
    ASSERT_TRUE(skein_test::InstallLanguage(manager,
        L"<language name='cn' guid='{6A3C91D2-47B0-4E5F-9C18-2D7E05B4A3F1}'>"
        L"<context><message><source>ok</source><translation>\x786e\x5b9a</translation></message>"
        L"<message><source>empty</source><translation></translation></message></context>"
        L"<context name='dlg_main'><message><source>close</source><translation>shut</translation></message>"
        L"</context></language>"));

    const struct {
        const wchar_t* source;
        const wchar_t* context;
        const wchar_t* text;
    } cases[] = {
        {L"ok", L"dlg_main", L"\x786e\x5b9a"}, {L"ok", L"", L"\x786e\x5b9a"}, {L"close", L"dlg_main", L"shut"},
        {L"close", L"messagebox", L"close"},   {L"empty", L"", L""},              {L"", L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, m_app->TranslateText(c.source, c.context)) << c.source;
}

TEST_F(AppTest, NamedIdsFromTheProgramsTable)
{
    EXPECT_EQ(0, m_app->NamedId(L"btn_ok"));
    const SNamedID::Record sorted[] = {{L"axis_x", 110}, {L"btn_close", 2}, {L"btn_ok", 1}, {L"tabctrl_devices", 300}};
    m_app->LoadNamedIds(sorted, 4, TRUE);
    EXPECT_EQ(110, m_app->NamedId(L"axis_x"));
    EXPECT_EQ(300, m_app->NamedId(L"tabctrl_devices"));
    EXPECT_EQ(0, m_app->NamedId(L"BTN_OK"));
    EXPECT_EQ(0, m_app->NamedId(std::wstring(60, L'a').c_str()));
    const SNamedID::Record unsorted[] = {{L"z", 26}, {L"m", 13}, {L"a", 1}};
    m_app->LoadNamedIds(unsorted, 3, FALSE);
    EXPECT_EQ(13, m_app->NamedId(L"m"));
    EXPECT_EQ(0, m_app->NamedId(L"axis_x")); // the previous records are gone
}

TEST_F(AppTest, AppDirIsTheProgramsFolder)
{
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.rfind(L'\\'));
    EXPECT_STREQ(folder.c_str(), m_app->AppDir());
}

HWND MakeWindow(DWORD exStyle = 0)
{
    return CreateWindowExW(exStyle, L"STATIC", L"main", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(AppTest, RunMainLoopReturnsTheQuitCodeAndDestroysALiveMainWindow)
{
    HWND live = MakeWindow();
    ASSERT_NE(nullptr, live);
    PostQuitMessage(3);
    EXPECT_EQ(3, m_app->RunMainLoop(live));
    EXPECT_FALSE(IsWindow(live));

    HWND gone = MakeWindow();
    DestroyWindow(gone);
    PostQuitMessage(9);
    EXPECT_EQ(9, m_app->RunMainLoop(gone));
}

TEST_F(AppTest, LayeredWindowUpdateIsBound)
{
    HWND window = MakeWindow(WS_EX_LAYERED);
    ASSERT_NE(nullptr, window);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 4;
    info.bmiHeader.biHeight = -4;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    POINT origin = {0, 0};
    SIZE size = {4, 4};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UPDATELAYEREDWINDOWINFO update = {};
    update.cbSize = sizeof(update);
    update.hdcSrc = memory;
    update.pptSrc = &origin;
    update.psize = &size;
    update.pblend = &blend;
    update.dwFlags = ULW_ALPHA;
    EXPECT_TRUE(CallUpdateLayeredWindowIndirect(window, &update));
    EXPECT_FALSE(CallUpdateLayeredWindowIndirect(window, nullptr));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    DestroyWindow(window);
}

} // namespace
