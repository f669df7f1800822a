#pragma once
// The windowless window: a node of a window tree inside one container, with its state,
// geometry, style, skins, texts, events and message map. Every control derives from it.
#include <windows.h>
#include <pugixml.hpp>
#include "core/SEventSet.h"
#include "core/SEvents.h"
#include "core/SObjRef.h"
#include "core/SObject.h"
#include "core/SString.h"
#include "core/SWindowMgr.h"
#include "interface/SRender-i.h"
#include "interface/SSkinobj-i.h"
#include "layout/SLayoutPass.h"
#include "layout/SLayoutSize.h"
#include "res.mgr/SwndStyle.h"

namespace SKEIN {

struct ISwndContainer;
struct ILayout;
class SXmlCreation;
struct ILayoutParam;
class SWindow;

// State bits (also the skins' state index source).
enum {
    kStateHover = 0x01,
    kStatePushed = 0x02,
    kStateChecked = 0x04,
    kStateInvisible = 0x08,
    kStateDisabled = 0x10,
};

// Own flags of a window.
enum {
    kWndVisible = 0x001,
    kWndDisabled = 0x002,
    kWndDisplay = 0x004,
    kWndClipClient = 0x008,
    kWndMsgTransparent = 0x010,
    kWndFocusable = 0x020,
    kWndDrawFocusRect = 0x040,
    kWndCache = 0x080,
    kWndCacheDirty = 0x100,
    kWndLayered = 0x200,
    kWndInitialFlags = 0x145,
};

// GetRelative kinds.
enum { kRelFirstChild, kRelLastChild, kRelPrevSibling, kRelNextSibling, kRelParent, kRelOwner };

// Private UI messages of windowless windows.
enum {
    kUiMsgScaleChanged = 2024,
    kUiMsgLanguageChanged = 2025,
    kUiMsgColorTint = 2026,
    kHostMsgUpdateSwnd = 11124,
};

// Result bits added to an attribute's result by the handler that took it.
enum {
    kAttrByStyle = 0x10000,
    kAttrByLayout = 0x20000,
    kAttrByLayoutParam = 0x40000,
};

// Bounds of one creation of windows from XML (refusals are logged):
// - includes and templates nest at most kMaxXmlNesting deep, and one already being expanded
//   in the chain is not expanded again;
// - windows lie at most kMaxXmlDepth levels deep in their tree: creation, layout, showing,
//   painting and destruction recurse once per level. The deepest of them, laying out grids
//   that wrap their content, takes about 1.1 KB a level on x86_64 (measured, skein_bench_tree)
//   and 0.85 KB on i686 (estimated from the compiler's frame sizes), so 256 levels stay below
//   300 KB of the 2 MB stack the programs are linked with;
// - one creation does at most kXmlWorkBudget units of work (SetXmlWorkBudget): each element
//   kXmlWorkPerElement, and one of no known class kXmlWorkPerUnknownElement more; each
//   attribute applied kXmlWorkPerAttribute; one unit for every kXmlCharsPerWork characters of
//   template text searched, made or parsed, each character of included resources parsed (each
//   once per creation) counting kXmlIncludedCharWeight of them and each of attribute values and
//   element texts applied kXmlAppliedCharWeight; a rich edit kXmlWorkPerRichEdit more, a
//   hot-key control kXmlWorkPerHotKey more. A unit is about a microsecond of creating large
//   layouts (100,000 sibling windows, far beyond the processor caches) in a host window on
//   x86_64 under Wine, measured for each kind (skein_bench_tree), so any creation ends in about
//   a second. Tab pages, split panes and menu items count as elements like other children;
// - one template use makes at most kMaxXmlTemplateText characters and the uses of one
//   creation kMaxXmlTemplateTextTotal in all (each use counting the text it makes); a use
//   beyond them is not created.
const int kMaxXmlNesting = 32;
const int kMaxXmlDepth = 256;
const long long kXmlWorkBudget = 1000000;
const int kXmlWorkPerElement = 14;
const int kXmlWorkPerUnknownElement = 25;
const int kXmlWorkPerAttribute = 7;
const int kXmlCharsPerWork = 300;
const int kXmlIncludedCharWeight = 7;
const int kXmlAppliedCharWeight = 10;
const int kXmlWorkPerRichEdit = 1200;
const int kXmlWorkPerHotKey = 90;
const int kMaxXmlTemplateText = 1 << 18;
const int kMaxXmlTemplateTextTotal = 1 << 20;

// The work budget of the creations that start from now on; 0 restores kXmlWorkBudget. Only
// benchmarks raise it.
void SetXmlWorkBudget(long long work);

// LinkChild's "after" value that inserts the child first.
#define SKEIN_ICWND_FIRST ((SWindow*)(~(UINT_PTR)0))

// The translation context of a text.
struct ITrCtxProvider {
    virtual SStringW GetTrCtx() const = 0;
};

// Text with its translation, retranslated in the provider's context.
class STranslatableText {
public:
    explicit STranslatableText(ITrCtxProvider* provider) : m_provider(provider) {}
    void SetSource(const SStringW& text);
    const SStringW& GetText(bool raw) const { return raw ? m_source : m_translated; }
    void Retranslate();

private:
    ITrCtxProvider* m_provider;
    SStringW m_source;
    SStringW m_translated;
};

// The handled flag of the message being processed.
class SMsgHandleState {
public:
    SMsgHandleState() : m_msgHandled(0) {}
    BOOL IsMsgHandled() const { return m_msgHandled; }
    void SetMsgHandled(BOOL handled) { m_msgHandled = handled; }

protected:
    BOOL m_msgHandled;
};

// The raw UI message being dispatched to a window.
struct SwndMsg {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
    SwndMsg* previous;
};

// Modes of AcquirePaintTarget: draw without showing; with what lies below and above the
// window; plain.
enum {
    kPaintHidden = 1,
    kPaintWithBackground = 2,
    kPaintPlain = 4,
};

// The pending request of AcquirePaintTarget.
struct SPaintRecord {
    RECT rect;
    int mode;
    bool dummy; // redraw-locked or without a container: a target that shows nothing
};

// Font and text colour replaced by BeginPaintState.
struct SPaintState {
    SPaintState() : font(nullptr), textColor(kColorUnset) {}
    IRenderObj* font;
    COLORREF textColor;
};

// Filled by ProvideTooltip.
struct SwndToolInfo {
    SwndHandle handle;
    UINT_PTR cookie;
    RECT rect;
    SStringW text;
};

class SWindow : public SObjectImpl<IObject>,
                public ITrCtxProvider,
                public TObjRefImpl2<IObjRef, SWindow>,
                public SMsgHandleState {
    SKEIN_CLASS_NAME(SObjectImpl<IObject>, L"window")
    SKEIN_CLASS_KIND(kKindWindow)

public:
    SWindow();
    ~SWindow() override;

    // --- object model ---
    using SObjectImpl<IObject>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    HRESULT AfterAttribute(const SStringW& name, const SStringW& value, BOOL loading, HRESULT result) override;
    int GetId() const override { return m_id; }
    const wchar_t* GetName() const override { return m_name.c_str(); }
    // The script-handler fallback for names nobody takes.
    HRESULT UnknownAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SStringW GetAttributeText(const SStringW& name) const override;
    SStringW GetTrCtx() const override;

    virtual BOOL LoadFromXml(pugi::xml_node node);
    virtual BOOL CreateChildrenFromXml(pugi::xml_node node);
    virtual ILayoutParam* GetLayoutParam() const { return m_layoutParam; }
    ILayout* GetLayout() const { return m_layout; }

    // --- text ---
    virtual SStringW QueryText(bool raw = false) const;
    virtual BOOL AssignText(const SStringW& text);
    virtual void AssignTooltipText(const SStringW& text);
    virtual SStringW QueryTooltipText() const;
    virtual SStringW TranslateText(const SStringW& text) const;
    virtual int RetranslateTexts();
    virtual BOOL OnContentChanged();

    // --- geometry ---
    virtual void GetInnerRect(RECT* out) const;
    virtual void ComputeInnerRect(RECT* out) const;
    virtual BOOL ContainsPoint(POINT pt, BOOL inner) const;
    virtual int GetScale() const;
    virtual void GetChildAreaRect(RECT* out) const;
    virtual void ComputeTextRect(RECT* out) const;
    virtual SIZE ComputePreferredSizeFor(int widthHint, int heightHint);
    virtual SIZE ComputePreferredSize(const RECT* available);
    virtual BOOL IsInNonClientArea(POINT pt) const;
    virtual SwndHandle FindWindowAtPoint(POINT pt, BOOL flag);
    virtual int ApplyRect(const RECT& rect);
    const RECT& GetWindowRect() const { return m_windowRect; }
    void SetFixedRect(const RECT* rect);
    BOOL IsFloat() const { return m_isFloat; }

    // --- layout ---
    virtual void FlagLayoutDirty(SwndHandle source, BOOL force);
    virtual void RelayoutIfDirty();
    virtual void ArrangeChildren();
    virtual void PlaceFloatingChild(const RECT& parentChildArea) {}
    void InvalidateLayout();
    SWindow* NextChildInLayout(SWindow* previous) const;
    BOOL AssignLayoutParam(ILayoutParam* param);
    HRESULT SetLayoutByName(const SStringW& name);
    int GetLayoutDirty() const { return m_layoutDirty; }

    // --- groups, cursor, tooltip, caret ---
    virtual BOOL IsGroupMember() const { return FALSE; }
    virtual SWindow* FindCheckedGroupMember() { return nullptr; }
    virtual SWindow* FindFirstGroupMemberChild();
    virtual BOOL ApplyCursor(POINT pt);
    virtual BOOL ProvideTooltip(POINT pt, SwndToolInfo* info);
    virtual UINT QueryWantedKeys(const MSG* msg) { return 0; }
    virtual BOOL IsFocusable() const { return (m_flags & kWndFocusable) != 0; }
    virtual BOOL IsClipClient() const { return (m_flags & kWndClipClient) != 0; }
    virtual BOOL CreateCaret(HBITMAP bitmap, int width, int height);
    virtual BOOL ShowCaret(BOOL show);
    virtual BOOL SetCaretPosition(int x, int y);

    // --- state ---
    virtual void BeforeStateChange(DWORD oldState, DWORD newState) {}
    virtual void NotifyStateChanged(DWORD oldState, DWORD newState);
    virtual BOOL NeedsRedrawOnStateChange() const;
    DWORD GetStateFlags() const { return m_state; }
    DWORD GetOwnFlags() const { return m_flags; }
    BOOL TestChecked() const { return (m_state & kStateChecked) != 0; }
    BOOL TestVisible(BOOL inherited = TRUE) const;
    BOOL TestDisabled(BOOL inherited = TRUE) const;
    DWORD ChangeState(DWORD add, DWORD remove, BOOL redraw);
    void SetCheckedState(BOOL checked, BOOL redraw = TRUE);
    void ChangeVisibility(BOOL show, BOOL redraw = TRUE);
    void EnableWindow(BOOL enable, BOOL redraw = TRUE);
    int StateIndex() const;

    // --- messages and events ---
    virtual BOOL RaiseEvent(EventArgs& evt);
    virtual BOOL HandleUnmappedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) { return FALSE; }
    virtual BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual void ApplyScale(int scale);
    virtual void ApplyColorTint(COLORREF color);
    LRESULT SendUiMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, BOOL* handled = nullptr);
    LRESULT SendUiMessageToTree(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    const SwndMsg* CurrentMessage() const { return m_currentMessage; }
    BOOL FireCommand();
    BOOL FireContextMenu(POINT pt);
    SEventSet* GetEventSet() { return &m_eventSet; }
    void BroadcastColorTint(COLORREF color);
    COLORREF GetColorTint() const { return m_tintColor; }

    // --- painting ---
    virtual void RenderText(IRenderTarget* rt, const wchar_t* text, int length, RECT* rect, UINT format);
    virtual void PaintFocusIndicator(IRenderTarget* rt);
    virtual void BeginPaintState(IRenderTarget* rt, SPaintState* saved);
    virtual void EndPaintState(IRenderTarget* rt, SPaintState* saved);
    virtual BOOL NeedsOwnLayer() const;
    virtual BOOL IsLayered() const { return (m_flags & kWndLayered) != 0; }
    void PaintSubtree(IRenderTarget* rt, IRegion* region);
    void PaintSubtreeRange(IRenderTarget* rt, IRegion* region, UINT zBegin, UINT zEnd);
    void ApplyAncestorPaintSettings(IRenderTarget* rt);
    void InvalidateAreaCore(const RECT& rect, BOOL dirtyCache);
    void InvalidateArea(const RECT* rect = nullptr);
    void InvalidateClientArea();
    IRegion* GetInvalidRegion() const { return m_invalidRegion; }
    void RepaintHostNow();
    // Drawing outside the paint pass: the target for rect (null = the whole area) until
    // ReturnPaintTarget; a redraw-locked window gets a target that shows nothing.
    IRenderTarget* AcquirePaintTarget(const RECT* rect, int mode, BOOL clientOnly);
    void ReturnPaintTarget(IRenderTarget* rt);
    // Everything below (cleared first) or above this window within its rectangle and rect.
    void PaintUnderlay(IRenderTarget* rt, const RECT& rect);
    void PaintOverlay(IRenderTarget* rt, const RECT& rect);
    // Repaints the collected invalid region at once (windows without bkgndBlend).
    void UpdateInvalidRegion();
    void RedrawNonClient();
    UINT GetZOrder() const { return m_zOrder; }
    void SetZOrder(UINT zOrder) { m_zOrder = zOrder; }
    void IncRedrawLock() { ++m_redrawLock; }
    void DecRedrawLock() { --m_redrawLock; }
    BOOL IsRedrawLocked() const { return m_redrawLock > 0; }
    SwndStyle& GetStyle() { return m_style; }
    const SwndStyle& GetStyle() const { return m_style; }
    ISkinObj* GetSkin() const { return m_skin; }
    ISkinObj* GetNcSkin() const { return m_ncSkin; }
    void SetWindowRegion(IRegion* region);

    // --- tree ---
    void LinkChild(SWindow* child, SWindow* after = nullptr);
    BOOL UnlinkChild(SWindow* child);
    BOOL DestroyChild(SWindow* child);
    BOOL Dispose();
    void RaiseToTop();
    SWindow* GetRelative(int kind) const;
    SWindow* GetParentWindow() const { return m_parent; }
    SWindow* GetRootWindow();
    BOOL HasAncestor(const SWindow* window) const;
    int GetChildCount() const { return m_childCount; }
    void SetOwnerWindow(SWindow* owner) { m_owner = owner; }
    SWindow* GetOwnerWindow() const { return m_owner; }
    ISwndContainer* GetHostContainer() const { return m_container; }
    void AttachContainer(ISwndContainer* container);
    SwndHandle GetHandle() const { return m_handle; }
    int GetUserData() const { return m_userData; }

    // --- lookups ---
    SWindow* LookupChildById(int id, int depth = -1);
    SWindow* LookupChildByName(const SStringW& name, int depth = -1);
    // The found window when it is of class T; null and a log line otherwise.
    template <class T>
    T* FindChildByName2(const SStringW& name, int depth = -1)
    {
        SWindow* found = LookupChildByName(name, depth);
        if (found && found->MatchesClassName(T::StaticXmlClassName()))
            return static_cast<T*>(found);
        LogFindByNameFailed(T::StaticXmlClassName(), name, depth);
        return nullptr;
    }
    template <class T>
    T* FindChildByID2(int id, int depth = -1)
    {
        SWindow* found = LookupChildById(id, depth);
        if (found && found->MatchesClassName(T::StaticXmlClassName()))
            return static_cast<T*>(found);
        LogFindByIdFailed(T::StaticXmlClassName(), id, depth);
        return nullptr;
    }

    // --- capture, focus, timers ---
    SwndHandle TakeMouseCapture();
    BOOL DropMouseCapture();
    SwndHandle QueryMouseCapture() const;
    void TakeFocus();
    void DropFocus();
    BOOL HoldsFocus() const;
    // Native timers of the host window; ids 0-127.
    BOOL StartHostTimer(UINT id, UINT elapse);
    void StopHostTimer(UINT id);
    BOOL StartTimer2(UINT id, UINT elapse);
    void StopTimer2(UINT id);

protected:
    // Message handlers of the default map.
    void DrawTextContent(IRenderTarget* rt);
    void PaintBackground(IRenderTarget* rt);
    void PaintBorder(IRenderTarget* rt);
    int HandleCreate();
    void HandleSize(int width, int height);
    void HandleDestroy();
    void HandleShow(BOOL show, int reason);
    void HandleEnable(BOOL enable, int reason);
    LRESULT HandleLeftButtonDown(UINT keys, POINT pt);
    void HandleLeftButtonUp(UINT keys, POINT pt);
    void HandleMouseHover();
    void HandleMouseLeave();
    void HandleCaptureLost();
    void HandleLanguageChanged();
    void HandleFocusChange(bool gained);

    void PaintClient(IRenderTarget* rt);
    void PaintNonClient(IRenderTarget* rt);
    void PaintChildren(IRenderTarget* rt, IRegion* region, UINT zBegin, UINT zEnd);
    void PaintSelfAndChildren(IRenderTarget* rt, IRegion* region, UINT zBegin, UINT zEnd);
    SRefPtr<IRegion> PlacedWindowRegion() const;
    // Made by the application's render factory; null when there is none or it fails.
    static SRefPtr<IRegion> NewRegion(const RECT* rect = nullptr);
    static SRefPtr<IRenderTarget> NewRenderTarget(int width, int height);
    void UpdateCacheTarget() { UpdateOwnTarget(m_cacheTarget, NeedsOwnLayer() != FALSE); }
    void UpdateLayerTarget() { UpdateOwnTarget(m_layerTarget, IsLayered() != FALSE); }
    void UpdateOwnTarget(SRefPtr<IRenderTarget>& target, bool wanted);
    void PaintAroundSelf(IRenderTarget* rt, const RECT& rect, bool below);
    SWindow* NearestLayeredWindow();
    SWindow* DeepestLastDescendant();

    RECT m_windowRect;
    SwndHandle m_handle;
    BOOL m_isFloat;
    ISwndContainer* m_container;
    SEventSet m_eventSet;
    SRefPtr<ILayout> m_layout;
    SRefPtr<ILayoutParam> m_layoutParam;
    SWindow* m_owner;
    SWindow* m_parent;
    SWindow* m_firstChild;
    SWindow* m_lastChild;
    SWindow* m_nextSibling;
    SWindow* m_prevSibling;
    int m_childCount;
    SwndMsg* m_currentMessage;
    SwndStyle m_style;
    STranslatableText m_text;
    STranslatableText m_tooltip;
    SStringW m_name;
    SStringW m_trCtx;
    int m_id;
    UINT m_zOrder;
    int m_redrawLock;
    DWORD m_state;
    DWORD m_flags;
    int m_layoutDirty;
    SRefPtr<IRenderTarget> m_cacheTarget;
    SRefPtr<IRenderTarget> m_layerTarget;
    SRefPtr<IRegion> m_windowRegion;
    SRefPtr<IRegion> m_invalidRegion;
    SRefPtr<ISkinObj> m_skin;
    SRefPtr<ISkinObj> m_ncSkin;
    int m_userData;
    SLayoutSize m_maxWidth;
    COLORREF m_tintColor;
    SPaintRecord m_paintRecord;

private:
    // Sends the child WM_DESTROY, takes it out of the tree and drops the tree's reference.
    void EndChild(SWindow* child);
    SWindow(const SWindow&) = delete;
    SWindow& operator=(const SWindow&) = delete;

    HRESULT ApplyStyleClass(const SStringW& className, BOOL loading);
    HRESULT ApplyIdText(const SStringW& value);
    HRESULT ApplyFallbackAttribute(const SStringW& name, const SStringW& value, BOOL loading);
    void CreateChildFromElement(pugi::xml_node element);
    void CreateChildrenFromInclude(pugi::xml_node element, SXmlCreation& creation);
    void CreateChildFromTemplate(pugi::xml_node element, SXmlCreation& creation);
    SWindow* SearchChild(int id, const SStringW& name, int depth) const;
    bool IsCachedMatch(const SWindow* found, int id, const SStringW& name) const;
    void ResetLayoutParam();
    void LogFindByNameFailed(const wchar_t* className, const SStringW& name, int depth) const;
    void LogFindByIdFailed(const wchar_t* className, int id, int depth) const;
    ISkinObj* LookupSkin(const SStringW& name, int scale) const;
    BOOL WrapsContent(int orientation) const;
    BOOL MatchesParent(int orientation) const;

    void InstallDefaultLayout();

    // What the window measured in one layout pass (SLayoutPass): its text for a wrapping width,
    // and its preferred size for the inputs that decide it (the offered extents count only
    // when children are measured in them).
    struct SMeasureKey {
        int extent[2];
        int known[2]; // fixed or matching the parent; -1 otherwise
        int wraps[2];
        int scale;
        bool operator==(const SMeasureKey& other) const;
    };
    bool MeasureKeyOf(const RECT* available, SMeasureKey& key) const;
    SIZE MeasureContent(const SMeasureKey& key);
    SIZE MeasureText(int widthLimit);
    SIZE MeasureTextOnce(int widthLimit);

    SPassSize<int> m_measuredText; // by width limit
    SPassSize<SMeasureKey> m_measuredSize;
};

} // namespace SKEIN
