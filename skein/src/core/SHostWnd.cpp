#include "core/SHostWnd.h"
#include "core/SApp.h"
#include "core/SEventSlot.h"
#include "helper/SXmlLookup.h"
#include "helper/SwndFinder.h"
#include "res.mgr/SFontPool.h"
#include "res.mgr/SSkinPool.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "res.mgr/SStylePool.h"
#include "res.mgr/STemplatePool.h"

namespace SKEIN {

enum { kPoolStyle, kPoolSkin, kPoolTemplate };

namespace {

volatile LONG g_liveHosts = 0;

} // namespace

SHostWnd::SHostWnd(const wchar_t* layoutName)
    : m_dummy(this), m_layoutName(layoutName ? layoutName : L""), m_tracking(FALSE), m_needRepaint(FALSE),
      m_needFullRepaint(TRUE), m_resizing(FALSE), m_poolsPushed{FALSE, FALSE, FALSE}, m_deferredUpdates(10),
      m_pendingRects(10), m_inPaint(FALSE), m_lastMouseMsg(0), m_lastMouseWParam(0), m_lastMouseLParam(0),
      m_scale(100), m_spyWnd(nullptr), m_hostHandled(FALSE), m_windowHoldsLastRef(FALSE)
{
    ::InterlockedIncrement(&g_liveHosts);
    m_stylePool.Attach(new SStylePool);
    m_skinPool.Attach(new SSkinPool);
    m_templatePool.Attach(new STemplatePool);
    m_eventSet.DeclareEvent(EventInit::EventID, EventInit::EventName());
    m_eventSet.DeclareEvent(EventExit::EventID, EventExit::EventName());
}

SHostWnd::~SHostWnd()
{
    // A host destroyed with its window alive takes the window along, so the thunk never
    // reaches a dead object.
    if (m_hwnd)
        ::DestroyWindow(m_hwnd);
    if (SStylePoolMgr* styles = SStylePoolMgr::Instance(); styles && m_poolsPushed[kPoolStyle])
        styles->PopPool(m_stylePool);
    if (SSkinPoolMgr* skins = SSkinPoolMgr::Instance(); skins && m_poolsPushed[kPoolSkin])
        skins->PopPool(m_skinPool);
    if (STemplatePoolMgr* templates = STemplatePoolMgr::Instance(); templates && m_poolsPushed[kPoolTemplate])
        templates->PopPool(m_templatePool);
    ::InterlockedDecrement(&g_liveHosts);
}

long SHostWnd::LiveCount()
{
    return g_liveHosts;
}

// Deleted with its window alive, the object would take the window down from its destructor:
// the overrides are gone by then, and the reference that each message to the tree takes and
// drops would reach 0 again and delete the object a second time. The hand-over runs under the
// lock, against the window's last message on its own thread: the reference goes to the window
// while it lives, or the object goes at once when it is gone.
void SHostWnd::OnLastRelease()
{
    HWND window = nullptr;
    {
        SAutoLock lock(m_lastRefLock);
        // A window cut from its object by the framework's end is gone without a last message.
        if (m_liveWindow && !m_windowHoldsLastRef && IsBound()) {
            m_windowHoldsLastRef = TRUE;
            AddRef();
            window = m_liveWindow;
        }
    }
    if (window)
        EndWindow(window);
    else
        SwndContainerImpl::OnLastRelease();
}

// Only the window's own thread can destroy it: from another thread the destruction is posted
// there. The object may be gone once the window is; only the handle is used here.
void SHostWnd::EndWindow(HWND window)
{
    if (::GetWindowThreadProcessId(window, nullptr) == ::GetCurrentThreadId())
        ::DestroyWindow(window);
    else
        ::PostMessageW(window, kHostMsgEndWindow, 0, 0); // fails only when the window is gone
}

void SHostWnd::OnLastMessage(HWND hwnd)
{
    BOOL holdsLastRef = FALSE;
    {
        SAutoLock lock(m_lastRefLock);
        CSimpleWnd::OnLastMessage(hwnd);
        m_liveWindow = nullptr;
        holdsLastRef = m_windowHoldsLastRef;
    }
    if (holdsLastRef)
        Release();
}

BOOL SHostWnd::WindowHoldsLastRef() const
{
    SAutoLock lock(m_lastRefLock);
    return m_windowHoldsLastRef;
}

SMessageLoop* SHostWnd::GetMessageLoop()
{
    SApplication* app = SApplication::Instance();
    return app ? app->GetMainMessageLoop() : nullptr;
}

HWND SHostWnd::CreateHost(HWND parent, DWORD style, DWORD exStyle, int x, int y, int cx, int cy)
{
    if (m_hwnd)
        return m_hwnd;
    HWND hwnd = CreateNative(L"HOSTWND", style, exStyle, x, y, cx, cy, parent, nullptr);
    if (hwnd && (cx == 0 || cy == 0))
        CenterOnOwner(parent);
    return hwnd;
}

HWND SHostWnd::CreateHostDefault(HWND parent, int x, int y, int cx, int cy)
{
    return CreateHost(parent, WS_CLIPCHILDREN | WS_MAXIMIZEBOX, 0, x, y, cx, cy);
}

void SHostWnd::GetHostWindowRect(RECT* rect) const
{
    *rect = RECT{0, 0, 0, 0};
    ::GetWindowRect(m_hwnd, rect);
}

// ---- creation ----

int SHostWnd::OnCreate(const CREATESTRUCTW* cs)
{
    m_memTarget = NewRenderTarget(0, 0);
    m_hostInvalid = NewRegion();
    {
        SAutoLock lock(m_lastRefLock);
        m_liveWindow = m_hwnd;
    }
    CreateToolTip();
    // A focus saved by an earlier window of this object would hold every later focus change.
    GetFocusManager()->Reset();
    AttachContainer(this);
    // Fails harmlessly on a thread without OLE.
    ::RegisterDragDrop(m_hwnd, DropTargetDispatcher());
    if (m_layoutName.Length() == 0)
        return 0;
    SStringW type = L"LAYOUT";
    SStringW name = m_layoutName;
    int colon = m_layoutName.FindChar(L':');
    if (colon >= 0) {
        type = m_layoutName.LeftPart(colon);
        name = m_layoutName.RightPart(m_layoutName.Length() - colon - 1);
    }
    pugi::xml_document document;
    SApplication* app = SApplication::Instance();
    if (app && app->LoadXmlDocument(document, type.c_str(), name.c_str()))
        InitFromXmlNode(XmlChildNoCase(document, L"SKEIN"), cs->cx, cs->cy);
    return 0;
}

void SHostWnd::OnDestroy()
{
    EventExit exitEvent(this);
    RaiseEvent(exitEvent);
    SendUiMessage(WM_DESTROY);
    if (SWindowFinder* finder = SWindowFinder::Instance())
        finder->SweepGoneWindows(); // the lookups within the tree that went
    DestroyToolTip();
    ::RevokeDragDrop(m_hwnd);
    if (m_dummy.Handle())
        ::DestroyWindow(m_dummy.Handle());
    m_caretDrawn = FALSE; // it was drawn on the target that goes now
    m_memTarget = nullptr;
    m_hostInvalid = nullptr;
    DWORD style = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_STYLE));
    DWORD exStyle = static_cast<DWORD>(GetWindowLongW(m_hwnd, GWL_EXSTYLE));
    int type = m_attr.WindowType();
    bool topLevel = !(style & (WS_CHILD | WS_POPUP)) && !(exStyle & WS_EX_TOOLWINDOW);
    if (type == kHostTypeAppMain || (type == kHostTypeUndefine && topLevel))
        ::PostQuitMessage(1);
}

BOOL SHostWnd::InitFromXmlNode(pugi::xml_node node, int cx, int cy)
{
    if (!node || !m_hwnd)
        return FALSE;
    SendUiMessage(WM_DESTROY);
    LoadPools(node);
    m_attr.Reset();
    m_attr.ApplyXmlAttributes(node);
    ApplyNativeStyles();
    ::SetWindowTextW(m_hwnd, m_attr.m_title.GetText(false).c_str());
    if (IsTranslucent()) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        CreateDummyWindow();
    } else if ((GetWindowLongW(m_hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) || m_attr.Alpha() != 255) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        ::SetLayeredWindowAttributes(m_hwnd, 0, m_attr.Alpha(), LWA_ALPHA);
    }
    if (m_attr.m_smallIcon)
        ::SendMessageW(m_hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_attr.m_smallIcon));
    if (m_attr.m_bigIcon)
        ::SendMessageW(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_attr.m_bigIcon));
    if (pugi::xml_node root = XmlChildNoCase(node, L"root")) {
        SWindow::ApplyXmlAttributes(root);
        // The whole host is repainted below: each new window's layout request would only
        // invalidate the host again.
        IncRedrawLock();
        CreateChildrenFromXml(root);
        DecRedrawLock();
        OnXmlInitDone(root);
    }
    SetZOrderDirty();
    RebuildZOrder();
    SizeToContent(cx, cy);
    m_needFullRepaint = TRUE;
    m_needRepaint = TRUE;
    if (m_hostInvalid)
        m_hostInvalid->Clear();
    EventInit initEvent(this);
    RaiseEvent(initEvent);
    return TRUE;
}

template <class Pool, class Mgr>
static void ReloadPool(SRefPtr<Pool>& pool, BOOL& pushed, Mgr* mgr, pugi::xml_node element)
{
    if (pool->Count() > 0) {
        if (pushed && mgr)
            mgr->PopPool(pool);
        pushed = FALSE;
        pool.Attach(new Pool);
    }
    if (element)
        pool->LoadFromXml(element);
    if (pool->Count() > 0 && mgr) {
        mgr->PushPool(pool);
        pushed = TRUE;
    }
}

void SHostWnd::LoadPools(pugi::xml_node node)
{
    ReloadPool(m_stylePool, m_poolsPushed[kPoolStyle], SStylePoolMgr::Instance(), XmlChildNoCase(node, L"style"));
    ReloadPool(m_skinPool, m_poolsPushed[kPoolSkin], SSkinPoolMgr::Instance(), XmlChildNoCase(node, L"skin"));
    ReloadPool(m_templatePool, m_poolsPushed[kPoolTemplate], STemplatePoolMgr::Instance(),
               XmlChildNoCase(node, L"template"));
}

void SHostWnd::ApplyNativeStyles()
{
    DWORD style = m_attr.Has(kHostResizable) ? (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX) : WS_MINIMIZEBOX;
    DWORD exStyle = 0;
    if (m_attr.Has(kHostAppWnd)) {
        style |= WS_SYSMENU;
        exStyle |= WS_EX_APPWINDOW;
    } else if (m_attr.Has(kHostToolWindow)) {
        exStyle |= WS_EX_TOOLWINDOW;
    }
    if (m_attr.Has(kHostTranslucent))
        exStyle |= WS_EX_LAYERED;
    if (m_attr.m_wndStyle)
        style = m_attr.m_wndStyle & ~WS_VISIBLE;
    if (m_attr.m_wndStyleEx)
        exStyle = m_attr.m_wndStyleEx;
    ModifyStyle(0, style);
    ModifyStyleEx(0, exStyle);
}

void SHostWnd::CreateDummyWindow()
{
    if (m_dummy.Handle())
        return;
    HWND dummy = m_dummy.CreateNative(L"SKEIN_DUMMY_WND", WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, 0, 0, 10,
                                      10, nullptr, nullptr);
    if (!dummy)
        return;
    m_dummy.ModifyStyleEx(0, WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(dummy, 0, 0, LWA_ALPHA);
    ::ShowWindow(dummy, SW_SHOWNOACTIVATE);
}

namespace {

int HostDimension(int given, const SLayoutSize& size, int scale)
{
    if (given)
        return given;
    int pixels = size.ToPixels(scale);
    return pixels <= 0 ? -1 : pixels;
}

} // namespace

void SHostWnd::SizeToContent(int cx, int cy)
{
    if (cx)
        m_attr.m_width.Assign(static_cast<float>(cx), 0);
    if (cy)
        m_attr.m_height.Assign(static_cast<float>(cy), 0);
    cx = HostDimension(cx, m_attr.m_width, m_scale);
    cy = HostDimension(cy, m_attr.m_height, m_scale);
    if (cx <= 0 || cy <= 0) {
        SIZE measured = ComputePreferredSizeFor(cx, cy);
        if (cx < 0)
            cx = measured.cx;
        if (cy < 0)
            cy = measured.cy;
        m_eventSet.AddSubscriber(EventSwndSize::EventID, Subscriber(&SHostWnd::OnRootSize, this));
        if (m_attr.m_width.IsWrapContent())
            m_attr.m_margin[0] = m_attr.m_margin[2] = SLayoutSize(0.0f, 0);
        if (m_attr.m_height.IsWrapContent())
            m_attr.m_margin[1] = m_attr.m_margin[3] = SLayoutSize(0.0f, 0);
    }
    ::SetWindowPos(m_hwnd, nullptr, 0, 0, cx, cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    ApplyRect(client);
}

bool SHostWnd::OnRootSize(EventArgs* evt)
{
    return ResizeHostToContent(evt) != FALSE;
}

BOOL SHostWnd::ResizeHostToContent(EventArgs* evt)
{
    EventSwndSize* size = static_cast<EventSwndSize*>(evt);
    if (!m_resizing)
        ::SetWindowPos(m_hwnd, nullptr, 0, 0, size->size.cx, size->size.cy,
                       SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
    return TRUE;
}

// ---- container slots ----

BOOL SHostWnd::ReleaseCapture()
{
    SwndContainerImpl::ReleaseCapture();
    if (::GetCapture() == m_hwnd)
        ::ReleaseCapture();
    POINT pt = {};
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hwnd, &pt);
    ::PostMessageW(m_hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(pt.x, pt.y));
    return TRUE;
}

SwndHandle SHostWnd::SetCapture(SwndHandle handle)
{
    ::SetCapture(m_hwnd);
    return SwndContainerImpl::SetCapture(handle);
}

BOOL SHostWnd::AddTimelineHandler(ITimelineHandler* handler)
{
    BOOL added = SwndContainerImpl::AddTimelineHandler(handler);
    if (added && TimelineHandlerCount() == 1)
        StartHostTimer(kHostTimerTimeline, kTimelineElapse);
    return added;
}

BOOL SHostWnd::RemoveTimelineHandler(ITimelineHandler* handler)
{
    BOOL removed = SwndContainerImpl::RemoveTimelineHandler(handler);
    if (removed && TimelineHandlerCount() == 0)
        StopHostTimer(kHostTimerTimeline);
    return removed;
}

// ---- root window ----

BOOL SHostWnd::ApplyXmlAttributes(pugi::xml_node element)
{
    if (!element)
        return FALSE;
    RECT client = {};
    ::GetClientRect(m_hwnd, &client);
    return InitFromXmlNode(element, client.right, client.bottom);
}

void SHostWnd::GetInnerRect(RECT* out) const
{
    *out = RECT{0, 0, 0, 0};
    ::GetClientRect(m_hwnd, out);
}

void SHostWnd::FlagLayoutDirty(SwndHandle source, BOOL force)
{
    if (source == m_handle || force)
        m_layoutDirty = 1;
    else if (m_layoutDirty != 1)
        m_layoutDirty = 2;
    for (SWindow* window = SWindowMgr::GetWindow(source); window; window = window->GetParentWindow()) {
        if (!::IsRectEmpty(&window->GetWindowRect())) {
            window->InvalidateArea();
            break;
        }
    }
}

void SHostWnd::RelayoutIfDirty()
{
    if (m_layoutDirty == 0)
        return;
    if (!WrapsContent()) {
        SWindow::RelayoutIfDirty();
        return;
    }
    // A size keeps its pixels; 0 was sized to the content once and keeps what it got.
    int width = m_attr.m_width.ToPixels(m_scale);
    int height = m_attr.m_height.ToPixels(m_scale);
    SIZE measured = ComputePreferredSizeFor(width, height);
    int currentWidth = m_windowRect.right - m_windowRect.left;
    int currentHeight = m_windowRect.bottom - m_windowRect.top;
    RECT rect = {0, 0, width > 0 ? width : (width == 0 ? currentWidth : measured.cx),
                 height > 0 ? height : (height == 0 ? currentHeight : measured.cy)};
    ApplyRect(rect);
}

void SHostWnd::BeginPaintState(IRenderTarget* rt, SPaintState* saved)
{
    SFontPool* fonts = SFontPool::Instance();
    if (IFont* font = fonts ? fonts->ObtainFont(L"", m_scale) : nullptr)
        rt->SelectObject(font, &saved->font);
    saved->textColor = rt->SetTextColor(0xFF000000);
}

void SHostWnd::EndPaintState(IRenderTarget* rt, SPaintState* saved)
{
    if (saved->font) {
        saved->font->Release();
        saved->font = nullptr;
    }
    rt->SelectDefaultObject(kRenderObjFont, nullptr);
    saved->textColor = kColorUnset;
}

int SHostWnd::RetranslateTexts()
{
    SWindow::RetranslateTexts();
    m_attr.m_title.Retranslate();
    ::SetWindowTextW(m_hwnd, m_attr.m_title.GetText(false).c_str());
    return 3;
}

void SHostWnd::ApplyScale(int scale)
{
    m_scale = scale;
    SWindow::FlagLayoutDirty(m_handle, TRUE);
    InvalidateArea();
}

} // namespace SKEIN
