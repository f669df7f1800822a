#pragma once
// What the window tests share: an application with the real GDI render factory, a container
// of the test's own that renders a window tree into an off-screen target, and a recorder of
// events and log lines.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "app_test_support.h"
#include "core/SApp.h"
#include "core/SWnd.h"
#include "helper/SwndFinder.h"
#include "interface/SwndContainer-i.h"

namespace wndtest {

using namespace SKEIN;

// An opaque stored pixel (blue in the low byte) from a colour value (red in the low byte).
constexpr DWORD Px(COLORREF color)
{
    return 0xFF000000u | ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

// Windows in the tree below and including window.
inline int CountWindows(SWindow* window)
{
    int count = 1;
    for (SWindow* child = window->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling))
        count += CountWindows(child);
    return count;
}

// The container: capture, hover and focus by handle, events and invalidations recorded,
// z-order numbered in pre-order, painting into its own render target.
class TestContainer : public ISwndContainer {
public:
    void OnTimelineTick() override {}
    BOOL RegisterDropTarget(SwndHandle, IDropTarget*) override { return FALSE; }
    BOOL UnregisterDropTarget(SwndHandle) override { return FALSE; }
    BOOL OnFireEvent(EventArgs* evt) override
    {
        events.push_back(evt->GetId());
        return TRUE;
    }
    HWND GetHostHwnd() override { return nullptr; }
    SStringW TranslationContext() const override { return SStringW(); }
    BOOL IsTranslucent() const override { return FALSE; }
    BOOL IsSendWheel2Hover() const override { return FALSE; }
    RECT GetContainerRect() const override { return RECT{0, 0, 0, 0}; }
    IRenderTarget* AcquireRenderTarget(const RECT*, int) override
    {
        if (target)
            target->AddRef();
        return target;
    }
    void ReleaseRenderTarget(IRenderTarget* rt, const RECT*, int) override
    {
        ++released;
        rt->Release();
    }
    void InvalidateRect(const RECT* rect) override { invalidated.push_back(*rect); }
    SwndHandle GetCapture() const override { return capture; }
    BOOL ReleaseCapture() override
    {
        capture = 0;
        return TRUE;
    }
    SwndHandle SetCapture(SwndHandle handle) override
    {
        SwndHandle previous = capture;
        capture = handle;
        return previous;
    }
    void SetFocusedWindow(SwndHandle handle) override { focus = handle; }
    SwndHandle GetHover() const override { return hover; }
    SwndHandle GetFocus() const override { return focus; }
    BOOL CreateCaret(SwndHandle, HBITMAP, int, int) override { return FALSE; }
    BOOL ShowCaret(BOOL) override { return FALSE; }
    BOOL SetCaretPos(int, int) override { return FALSE; }
    BOOL UpdateWindow() override { return FALSE; }
    void UpdateTooltip() override {}
    void FrameToHost(RECT&) const override {}
    CFocusManager* GetFocusManager() override { return nullptr; }
    BOOL AddTimelineHandler(ITimelineHandler*) override { return FALSE; }
    BOOL RemoveTimelineHandler(ITimelineHandler*) override { return FALSE; }
    BOOL AddTrackedWindow(SwndHandle) override { return TRUE; }
    BOOL RemoveTrackedWindow(SwndHandle) override { return TRUE; }
    SMessageLoop* GetMessageLoop() override { return nullptr; }
    void SetZOrderDirty() override { zOrderDirty = true; }
    void RebuildZOrder() override
    {
        if (!zOrderDirty || !root)
            return;
        UINT next = 0;
        Number(root, next);
        zOrderDirty = false;
    }
    IScriptModule* GetScriptModule() override { return nullptr; }
    int GetScale() const override { return 100; }
    LRESULT DispatchHostMessage(UINT, WPARAM, LPARAM) override { return 0; }

    // Paints the whole tree into a fresh target of the given size, cleared to transparent black;
    // the target is also the one the container hands out afterwards.
    SRefPtr<IRenderTarget> Render(int width, int height)
    {
        target = nullptr;
        IRenderTarget* created = nullptr;
        if (!SApplication::Instance()->RenderFactory()->CreateRenderTarget(&created, width, height))
            return target;
        target.Attach(created);
        RebuildZOrder();
        root->PaintSubtree(target, nullptr);
        return target;
    }

    SWindow* root = nullptr;
    SRefPtr<IRenderTarget> target;
    int released = 0;
    SwndHandle capture = 0;
    SwndHandle hover = 0;
    SwndHandle focus = 0;
    bool zOrderDirty = true;
    std::vector<int> events;
    std::vector<RECT> invalidated;

private:
    static void Number(SWindow* window, UINT& next)
    {
        window->SetZOrder(next++);
        for (SWindow* child = window->GetRelative(kRelFirstChild); child; child = child->GetRelative(kRelNextSibling))
            Number(child, next);
    }
};

// An application with the GDI render factory and the built-in classes, a container and its
// root window (0, 0, 200, 100), log lines recorded.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IRenderFactory* factory = nullptr;
        ASSERT_TRUE(CreateRenderFactory_GDI(&factory));
        m_factory.Attach(factory);
        m_app = new SApplication(factory, GetModuleHandleW(nullptr), L"SKEINHOST", SObjectDefaultRegister());
        m_log = new skein_test::LogRecorder;
        m_app->SetLogManager(m_log);
        m_log->Release();
        if (!SWindowMgr::Instance())
            m_windowMgr = new SWindowMgr;
        if (!SWindowFinder::Instance())
            m_finder = new SWindowFinder;
        m_root = new SWindow;
        m_root->AttachContainer(&m_container);
        m_container.root = m_root;
    }
    void TearDown() override
    {
        if (m_root)
            m_root->Dispose();
        delete m_finder;
        delete m_windowMgr;
        delete m_app;
    }

    // Adds a provider that answers the given resources and, when uidef is not empty, holds
    // the UI definition "uidef:xml_init".
    skein_test::MemProvider* AddResources(const std::string& uidef)
    {
        m_providers.emplace_back(new skein_test::MemProvider, false);
        skein_test::MemProvider* provider = m_providers.back();
        if (!uidef.empty())
            provider->Put(L"uidef", L"xml_init", uidef);
        m_app->AddProvider(provider, uidef.empty() ? nullptr : L"uidef:xml_init");
        return provider;
    }

    // Builds root's children from the XML text; the root is sized to (0, 0, 200, 100) first.
    void BuildFromXml(const wchar_t* xml)
    {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_string(xml));
        m_root->LoadFromXml(document.first_child());
        RECT rect{0, 0, 200, 100};
        m_root->ApplyRect(rect);
    }

    // A child of parent (LinkChild + LoadFromXml of the element text) at rect.
    SWindow* AddChild(SWindow* parent, const wchar_t* element, RECT rect)
    {
        pugi::xml_document document;
        EXPECT_TRUE(document.load_string(element));
        SWindow* child = new SWindow;
        parent->LinkChild(child);
        child->LoadFromXml(document.first_child());
        child->SetFixedRect(&rect);
        return child;
    }

    bool LogHas(const std::string& fragment) const
    {
        for (const std::string& line : m_log->lines) {
            if (line.find(fragment) != std::string::npos)
                return true;
        }
        return false;
    }

    SRefPtr<IRenderFactory> m_factory;
    SApplication* m_app = nullptr;
    SWindowMgr* m_windowMgr = nullptr; // these two until the application owns them
    SWindowFinder* m_finder = nullptr;
    skein_test::LogRecorder* m_log = nullptr;
    TestContainer m_container;
    SWindow* m_root = nullptr;
    std::vector<SRefPtr<skein_test::MemProvider>> m_providers;
};

} // namespace wndtest
