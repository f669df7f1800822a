#pragma once
// The item panel ("itemPanel"): the window tree of one item of an adapter-driven view. It is a
// windowless window and the container of its own tree (focus, capture, hover, timelines), while
// drawing, caret, invalidation and host queries go to the view that shows it, moved by the
// item's origin. The view keeps panels outside its child list, places and paints them, and
// routes input to them; every event of a panel's tree reaches the view as EventOfPanel.
#include "core/SwndContainerImpl.h"

namespace SKEIN {

class SItemPanel;

// The view side of its panels (every adapter-driven view implements it).
struct IItemContainer {
    // TRUE: the view's host captures the mouse for the view, which remembers the panel.
    virtual void SetItemCapture(SItemPanel* panel, BOOL capture) = 0;
    // The panel's rectangle in the view's (host) coordinates; FALSE when the view has none.
    virtual BOOL ItemRect(SItemPanel* panel, RECT* rect) = 0;
    // TRUE: a panel's repaint is asked of the view; FALSE: the panel paints at once.
    virtual BOOL DefersItemRedraw() = 0;
    virtual void ItemRelayoutRequested(SItemPanel* panel) = 0;

protected:
    ~IItemContainer() {}
};

// Raised by the host view (its sender) for every event of a panel's tree.
class EventOfPanel : public EventArgs {
    SKEIN_EVENT_CLASS(10006, L"on_event_of_panel")
    EventOfPanel(IObject* sender, SItemPanel* panel, EventArgs* origin)
        : EventArgs(sender), panel(panel), origin(origin)
    {
    }
    SItemPanel* panel;
    EventArgs* origin;
};

// Raised by a panel; wParam and lParam are those of the mouse message.
class EventItemPanelMouse : public EventArgs {
public:
    explicit EventItemPanelMouse(IObject* sender) : EventArgs(sender), wParam(0), lParam(0) {}
    WPARAM wParam;
    LPARAM lParam;
};

#define SKEIN_ITEM_PANEL_EVENT(ClassName, eventId, eventName)                      \
    class ClassName : public EventItemPanelMouse {                                 \
        SKEIN_EVENT_CLASS(eventId, eventName)                                      \
        explicit ClassName(IObject* sender) : EventItemPanelMouse(sender) {}       \
    };

SKEIN_ITEM_PANEL_EVENT(EventItemPanelClick, 10007, L"on_itempanel_click")
SKEIN_ITEM_PANEL_EVENT(EventItemPanelDbclick, 10008, L"on_itempanel_dbclick")
SKEIN_ITEM_PANEL_EVENT(EventItemPanelRclick, 10009, L"on_itemparem_rclick")
SKEIN_ITEM_PANEL_EVENT(EventItemPanelHover, 10010, L"on_itempanel_hover")
#undef SKEIN_ITEM_PANEL_EVENT

SKEIN_SIMPLE_EVENT(EventItemPanelLeave, 10011, L"on_itempanel_leave")

class SItemPanel : public SwndContainerImpl {
    SKEIN_CLASS_NAME(SwndContainerImpl, L"itemPanel")

public:
    // A panel of hostView built from the template (none: no children), with the class
    // defaults of "itemPanel" applied; reference count 1.
    static SItemPanel* Create(SWindow* hostView, pugi::xml_node templateNode, IItemContainer* itemContainer);

    // --- container ---
    BOOL OnFireEvent(EventArgs* evt) override;
    HWND GetHostHwnd() override;
    SStringW TranslationContext() const override;
    BOOL IsTranslucent() const override;
    BOOL IsSendWheel2Hover() const override;
    RECT GetContainerRect() const override;
    IRenderTarget* AcquireRenderTarget(const RECT* rect, int paintFlags) override;
    void ReleaseRenderTarget(IRenderTarget* rt, const RECT* rect, int paintFlags) override;
    void InvalidateRect(const RECT* rect) override;
    BOOL ReleaseCapture() override;
    SwndHandle SetCapture(SwndHandle handle) override;
    BOOL CreateCaret(SwndHandle owner, HBITMAP bitmap, int width, int height) override;
    BOOL ShowCaret(BOOL show) override;
    BOOL SetCaretPos(int x, int y) override;
    BOOL UpdateWindow() override;
    void UpdateTooltip() override;
    void FrameToHost(RECT& rect) const override;
    SMessageLoop* GetMessageLoop() override;
    IScriptModule* GetScriptModule() override;
    int GetScale() const override;
    // Mouse messages also raise the panel's own events; a left-button release after a press on
    // the panel ends in EventCmd.
    LRESULT DispatchHostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // --- own operations ---
    // Changes the state bits without redraw.
    void ModifyItemState(DWORD add, DWORD remove) { ChangeState(add, remove, FALSE); }
    // Paints the tree with the panel's origin at the item rectangle's top-left corner.
    void Draw(IRenderTarget* rt, const RECT& itemRect);
    void StoreValue(ULONG_PTR value) { m_itemData = value; }
    ULONG_PTR ItemData() const { return m_itemData; }
    void SetColors(COLORREF normal, COLORREF selected);
    int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index) { m_itemIndex = index; }
    SWindow* HostView() const { return m_hostView; }
    // While set, the panel asks its view for no repaint; clearing it asks once for the whole
    // item if a repaint was wanted meanwhile.
    void SetUpdateGuard(BOOL guard);
    BOOL UpdateGuard() const { return m_updateGuard; }
    // The press on the panel ends without a release: its capture goes, and no command follows.
    void EndPress();

    // --- window ---
    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    SwndHandle FindWindowAtPoint(POINT pt, BOOL flag) override;
    UINT QueryWantedKeys(const MSG*) override { return 0; }
    BOOL NeedsRedrawOnStateChange() const override { return TRUE; }
    BOOL IsLayered() const override { return FALSE; }
    // Font and text colour of the state; the default font and black where the style has none.
    void BeginPaintState(IRenderTarget* rt, SPaintState* saved) override;
    BOOL ProvideTooltip(POINT pt, SwndToolInfo* info) override;
    void FlagLayoutDirty(SwndHandle source, BOOL force) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnLastRelease() override;

    // The background of the current state: selected over hover over normal; kColorUnset for none.
    COLORREF BackgroundColor() const;

private:
    SItemPanel(SWindow* hostView, pugi::xml_node templateNode, IItemContainer* itemContainer);

    ISwndContainer* HostContainer() const { return m_hostView->GetHostContainer(); }
    // The item rectangle; FALSE (and an empty rectangle) when the view has none.
    BOOL ItemRectOf(RECT* rect) const;
    POINT ItemOrigin() const;
    void PaintNow(const RECT& rect);
    void OnShow(BOOL show);
    template <class E>
    void RaiseMouseEvent(WPARAM wParam, LPARAM lParam);

    SWindow* m_hostView;
    IItemContainer* m_itemContainer;
    COLORREF m_colorNormal;
    COLORREF m_colorSelected;
    COLORREF m_colorHover;
    ULONG_PTR m_itemData;
    int m_itemIndex;
    BOOL m_updateGuard;
    BOOL m_redrawWanted;
    BOOL m_onTimeline;
    BOOL m_released;
    BOOL m_pressed;
};

} // namespace SKEIN
