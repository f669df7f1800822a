#pragma once
// A native top-level window that carries one window tree: the tree's container (whose SWindow
// base is the root) and the native window in one object. It is built from a layout resource,
// routes native input into the tree and paints the tree through one off-screen target.
#include "core/SCaret.h"
#include "core/SSimpleWnd.h"
#include "core/SwndContainerImpl.h"
#include "helper/SCriticalSection.h"
#include "interface/STooltip-i.h"

namespace SKEIN {

class SHostWnd;
class SStylePool;
class SSkinPool;
class STemplatePool;

// Host window flags (bits 0-7 alpha, 8-15 window type).
enum {
    kHostResizable = 1 << 16,
    kHostAppWnd = 1 << 17,
    kHostToolWindow = 1 << 18,
    kHostTranslucent = 1 << 19,
    kHostAllowSpy = 1 << 20,
    kHostSendWheel2Hover = 1 << 21,
};

enum { kHostTypeUndefine = 0, kHostTypeAppMain = 1, kHostTypeNormal = 2 };

// Private messages of host windows.
enum {
    kHostMsgScriptTimer = 11225,
    kHostMsgFireEvent = 11226,
    // Posted by a last release on another thread: the window ends on its own thread.
    kHostMsgEndWindow = 11227,
    kHostMsgSpyAnnounce = 12024,
    kHostMsgSpyRelative = 12025,
    kHostMsgSpyInfo = 12026,
    kHostMsgSpyHitTest = 12027,
};

// Root timers of the host: caret blink and the 10 ms timeline.
enum { kHostTimerCaret = 1, kHostTimerTimeline = 2, kTimelineElapse = 10 };

// The attributes of a host element.
class SHostWndAttr : public SObjectImpl<IObject>, public ITrCtxProvider {
    SKEIN_CLASS_NAME(SObjectImpl<IObject>, L"SHostWndAttr")

public:
    SHostWndAttr();
    ~SHostWndAttr() override;

    void Reset();
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    using SObjectImpl<IObject>::ApplyAttribute;
    SStringW GetTrCtx() const override { return m_trCtx; }

    BYTE Alpha() const { return static_cast<BYTE>(m_flags & 0xFF); }
    int WindowType() const { return (m_flags >> 8) & 0xFF; }
    BOOL Has(DWORD flag) const { return (m_flags & flag) != 0; }

    SLayoutSize m_margin[4];
    SLayoutSize m_minSize[2];
    SLayoutSize m_width;
    SLayoutSize m_height;
    SLayoutSize m_maxInset[4];
    DWORD m_flags;
    DWORD m_wndStyle;
    DWORD m_wndStyleEx;
    SStringW m_trCtx;
    STranslatableText m_title;
    HICON m_smallIcon;
    HICON m_bigIcon;

private:
    // "name" or "name:size" through the application's providers; replaces and destroys icon.
    static void AssignIcon(HICON& icon, const SStringW& id);
    void SetFlag(DWORD flag, const SStringW& value);
    void SetWindowType(int type) { m_flags = (m_flags & ~0xFF00u) | (static_cast<DWORD>(type & 0xFF) << 8); }
};

// The invisible companion of a translucent host: it receives the WM_PAINT that a layered
// window does not get and runs the host's paint pass.
class SDummyWnd : public CSimpleWnd {
public:
    explicit SDummyWnd(SHostWnd* host) : m_host(host) {}
    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override;

private:
    SHostWnd* m_host;
};

class SHostWnd : public SwndContainerImpl, public CSimpleWnd {
    SKEIN_CLASS_NAME(SwndContainerImpl, L"hostwnd")

public:
    explicit SHostWnd(const wchar_t* layoutName = L"");
    ~SHostWnd() override;

    // Host objects of the process made and not yet destroyed.
    static long LiveCount();
    // The last reference to a host whose window lives takes the window down first, while every
    // override still answers its messages; the object goes after the window's last message.
    // Released on another thread, the host has its window's thread take it down.
    void OnLastRelease() override;
    void OnLastMessage(HWND hwnd) override;

    // The root's rectangle; GetHostWindowRect gives the native one.
    using SWindow::GetWindowRect;

    HWND CreateHost(HWND parent, DWORD style, DWORD exStyle, int x, int y, int cx, int cy);
    HWND CreateHostDefault(HWND parent = nullptr, int x = 0, int y = 0, int cx = 0, int cy = 0);
    BOOL DestroyHost() { return ::DestroyWindow(m_hwnd); }
    void GetHostWindowRect(RECT* rect) const;
    BOOL InitFromXmlNode(pugi::xml_node node, int cx, int cy);
    // AnimateWindow for opaque hosts; translucent hosts slide, grow or blend by hand in
    // 10 ms steps.
    BOOL AnimateHost(DWORD time, DWORD flags);
    const SHostWndAttr& Attributes() const { return m_attr; }

    // --- container ---
    BOOL OnFireEvent(EventArgs* evt) override { return OnHostEvent(evt); }
    HWND GetHostHwnd() override { return m_hwnd; }
    SStringW TranslationContext() const override { return m_attr.m_trCtx; }
    BOOL IsTranslucent() const override { return m_attr.Has(kHostTranslucent); }
    BOOL IsSendWheel2Hover() const override { return m_attr.Has(kHostSendWheel2Hover); }
    RECT GetContainerRect() const override { return m_windowRect; }
    IRenderTarget* AcquireRenderTarget(const RECT* rect, int paintFlags) override;
    void ReleaseRenderTarget(IRenderTarget* rt, const RECT* rect, int paintFlags) override;
    void InvalidateRect(const RECT* rect) override;
    BOOL ReleaseCapture() override;
    SwndHandle SetCapture(SwndHandle handle) override;
    BOOL CreateCaret(SwndHandle owner, HBITMAP bitmap, int width, int height) override;
    BOOL ShowCaret(BOOL show) override;
    BOOL SetCaretPos(int x, int y) override;
    void UpdateTooltip() override;
    BOOL UpdateWindow() override;
    BOOL AddTimelineHandler(ITimelineHandler* handler) override;
    BOOL RemoveTimelineHandler(ITimelineHandler* handler) override;
    // The application's main loop.
    SMessageLoop* GetMessageLoop() override;
    IScriptModule* GetScriptModule() override { return nullptr; }
    int GetScale() const override { return m_scale; }

    // Delivers evt to the event map of the host window on this thread (message 11226); the
    // host takes the message only from here, never posted or from another thread.
    static LRESULT SendHostEvent(HWND host, EventArgs* evt);

    virtual BOOL ResizeHostToContent(EventArgs* evt);
    // The host's event map; subclasses handle their windows' events here.
    virtual BOOL OnHostEvent(EventArgs* evt) { return FALSE; }

    // --- root window ---
    BOOL ApplyXmlAttributes(pugi::xml_node element) override;
    void GetInnerRect(RECT* out) const override;
    void FlagLayoutDirty(SwndHandle source, BOOL force) override;
    void RelayoutIfDirty() override;
    void BeginPaintState(IRenderTarget* rt, SPaintState* saved) override;
    void EndPaintState(IRenderTarget* rt, SPaintState* saved) override;
    int RetranslateTexts() override;
    void ApplyScale(int scale) override;

    BOOL HandleWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, DWORD mapId) override;

    // The paint pass into dc (null: output through the layered update or GetDC); origin
    // kDummyPaint marks the dummy window's pass, which outputs only the changed area.
    enum : DWORD { kDummyPaint = 0x80000000 };
    void PaintPass(HDC dc, DWORD origin);
    void RequestFullRepaint();
    // The memory target (no reference added).
    IRenderTarget* MemoryTarget() const { return m_memTarget; }
    HWND DummyHwnd() const { return m_dummy.Handle(); }

protected:
    BOOL HandleHostMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The last release came while the window lived: the window holds the reference it took and
    // drops it after its last message.
    BOOL WindowHoldsLastRef() const;

private:
    // Creation and attributes (SHostWnd.cpp).
    int OnCreate(const CREATESTRUCTW* cs);
    void OnDestroy();
    void LoadPools(pugi::xml_node node);
    void ApplyNativeStyles();
    void CreateDummyWindow();
    void SizeToContent(int cx, int cy);
    void EndWindow(HWND window);
    BOOL WrapsContent() const { return m_attr.m_width.IsWrapContent() || m_attr.m_height.IsWrapContent(); }
    bool OnRootSize(EventArgs* evt);

    // Messages (SHostWndMsg.cpp).
    LRESULT OnMouseMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnKeyMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    void OnTimer(UINT_PTR id);
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnNcCalcSize(BOOL calcValid, LPARAM lParam);
    LRESULT OnNcHitTest(LPARAM lParam);
    void OnGetMinMaxInfo(MINMAXINFO* info);
    void OnCaptureChanged(HWND gaining);
    LRESULT OnFireEventMessage(LPARAM lParam);
    void SendMissingRelease();
    void EndInterruptedPress();
    void OnMouseLeft();
    void RecordMouse(UINT msg, WPARAM wParam, LPARAM lParam);

    // Painting (SHostWndPaint.cpp).
    void PaintInvalidPart(RECT& output);
    void RunDeferredUpdates(RECT& output);
    void Output(HDC dc, const RECT& rect);

    // Translucent output (SHostWndLayered.cpp).
    void UpdateLayered(IRenderTarget* rt, BYTE alpha, const RECT* dirty);
    void PushFrame(IRenderTarget* frame, const RECT& client, const RECT& visible, POINT source);
    LRESULT OnDeferredUpdate(SwndHandle handle);
    void InvalidateNative();

    // Caret and tooltip (SHostWndCaret.cpp).
    void CreateToolTip();
    void DestroyToolTip();
    // Inverts the caret on the memory target; returns the area inverted.
    RECT InvertCaret();
    // Draws or removes the caret and flips the drawn flag.
    void BlinkCaret();
    // Shows a changed area of the memory target without painting the tree again.
    void InvalidateOutput(const RECT& rect);

    // Inspection by a UI spy (SHostWndSpy.cpp).
    LRESULT OnSpyMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT SendSpyInfo(SwndHandle handle);

    SDummyWnd m_dummy;
    SHostWndAttr m_attr;
    SStringW m_layoutName;
    BOOL m_tracking;
    SRefPtr<SCaret> m_caret;
    BOOL m_caretShown = FALSE;
    BOOL m_caretDrawn = FALSE;
    POINT m_caretPos = {0, 0};
    BOOL m_needRepaint;
    BOOL m_needFullRepaint;
    IToolTip* m_tooltip = nullptr;
    SRefPtr<IRegion> m_hostInvalid;
    SRefPtr<IRenderTarget> m_memTarget;
    BOOL m_resizing;
    SRefPtr<SStylePool> m_stylePool;
    SRefPtr<SSkinPool> m_skinPool;
    SRefPtr<STemplatePool> m_templatePool;
    BOOL m_poolsPushed[3];
    SLinkedList<SwndHandle> m_deferredUpdates;
    SLinkedList<RECT> m_pendingRects;
    BOOL m_inPaint;
    UINT m_lastMouseMsg;
    WPARAM m_lastMouseWParam;
    LPARAM m_lastMouseLParam;
    int m_scale;
    HWND m_spyWnd;
    BOOL m_hostHandled;
    // The last release may come on any thread: the window's handle while it lives, and whether
    // the window holds the last reference, change only under the lock.
    mutable SCriticalSection m_lastRefLock;
    HWND m_liveWindow = nullptr;
    // The window holds the last reference while it is taken down.
    BOOL m_windowHoldsLastRef;
};

} // namespace SKEIN
