#include <gtest/gtest.h>
#include <fstream>
#include <string>
#include <vector>
#include "app_test_support.h"
#include "core/SApp.h"
#include "core/SRicheditMenuDef.h"
#include "layout/SInterpolatorImpl.h"
#include "res.mgr/SResLoaders.h"
#include "res.mgr/SUiDef.h"
#include "res.mgr/SUiDefInfo.h"

using namespace SKEIN;
using skein_test::AppliedAndDelete;
using skein_test::LogRecorder;
using skein_test::MemProvider;

namespace {

typedef std::vector<std::wstring> Applied;

std::vector<std::string> g_events;

// What the application holds at this moment, e.g. "[singletons 0 10 loops log render]".
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

    delete app;
    EXPECT_EQ(nullptr, SApplication::Instance());
    EXPECT_EQ(nullptr, ResRenderFactory());
    const std::vector<std::string> expected = {
        "layouts [singletons 0 10 loops render]",
        "skins [singletons 0 10 loops render]",
        "windows [singletons 0 10 loops render]",
        "interpolators [singletons 0 10 loops render]",
        "provider freed [singletons 0 10 loops log render]",
        "ui definition freed [singletons 0 loops log render]",
        "log manager freed [singletons loops render]",
        "render factory freed [singletons]",
    };
    EXPECT_EQ(expected, g_events);
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_app = new SApplication(nullptr, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
        m_log = new LogRecorder;
        m_app->SetLogManager(m_log);
        m_log->Release();
        skein_test::RegisterRecordingWindows(*m_app);
    }
    void TearDown() override { delete m_app; }

    std::vector<std::string> TakeLog()
    {
        std::vector<std::string> lines;
        lines.swap(m_log->lines);
        return lines;
    }

    SApplication* m_app = nullptr;
    LogRecorder* m_log = nullptr;
};

TEST_F(AppTest, OwnedSingletonsByIndex)
{
    EXPECT_NE(nullptr, dynamic_cast<SUiDef*>(m_app->OwnedSingleton(0)));
    EXPECT_NE(nullptr, dynamic_cast<SRicheditMenuDef*>(m_app->OwnedSingleton(10)));
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
