#pragma once
// The column header ("header"): a row of captions above a report-style list. Captions are
// hovered and pressed (a click is reported), resized by dragging an edge and moved by dragging
// the whole caption. The header knows nothing about rows: its list reads the captions' widths
// and data-column numbers and listens to its events.
#include "core/SDynArray.h"
#include "core/SWnd.h"

namespace SKEIN {

// HeaderItem::mask bits: the fields GetItem copies.
enum {
    kHeaderMaskWidth = 0x01,
    kHeaderMaskText = 0x02,
    kHeaderMaskSort = 0x04,
    kHeaderMaskData = 0x08,
    kHeaderMaskOrder = 0x10,
};

// Caption looks: the item skin's state index.
enum { kHeaderItemNormal = 0, kHeaderItemHover = 1, kHeaderItemPressed = 2 };

// One caption.
struct HeaderItem {
    typedef void SRelocatable;
    explicit HeaderItem(ITrCtxProvider* provider = nullptr)
        : mask(0), width(0.0f, SLayoutSize::kPx), text(provider), sortFlag(0), userData(0), state(0), order(0),
          visible(true)
    {
    }

    UINT mask;
    SLayoutSize width;
    STranslatableText text;
    int sortFlag; // 0 none, 1 sort skin state 0, other values state 1
    UINT userData;
    int state;
    int order; // the data column the caption shows
    bool visible;
};

// Hit codes: low word the left caption, high word the right one. Equal halves: on that
// caption; different: on the edge between them (high 0xFFFF after the last caption).
const UINT kHeaderHitNowhere = 0xFFFFFFFF;

class EventHeaderClick : public EventArgs {
    SKEIN_EVENT_CLASS(18000, L"on_header_click")
    explicit EventHeaderClick(IObject* sender) : EventArgs(sender), item(-1) {}
    int item;
};

class EventHeaderItemChanging : public EventArgs {
    SKEIN_EVENT_CLASS(18001, L"on_header_item_changing")
    explicit EventHeaderItemChanging(IObject* sender) : EventArgs(sender), item(-1), width(0) {}
    int item;
    int width; // pixels
};

class EventHeaderItemChanged : public EventArgs {
    SKEIN_EVENT_CLASS(18002, L"on_header_item_changed")
    explicit EventHeaderItemChanged(IObject* sender) : EventArgs(sender), item(-1), width(0) {}
    int item;
    int width; // pixels
};

class EventHeaderItemSwap : public EventArgs {
    SKEIN_EVENT_CLASS(18003, L"on_header_item_swap")
    explicit EventHeaderItemSwap(IObject* sender) : EventArgs(sender), oldIndex(-1), newIndex(-1) {}
    int oldIndex;
    int newIndex; // where the moved caption is now
};

class EventHeaderRelayout : public EventArgs {
    SKEIN_EVENT_CLASS(18004, L"on_header_relayout")
    explicit EventHeaderRelayout(IObject* sender) : EventArgs(sender) {}
};

class SHeaderCtrl : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"header")

public:
    SHeaderCtrl();
    ~SHeaderCtrl() override;

    int GetItemCount() const { return m_items.Count(); }
    // Copies the fields that out.mask selects; false for an index outside the captions.
    BOOL GetItem(int index, HeaderItem& out) const;
    // Pixels; 0 for a hidden caption, -1 outside the captions.
    int GetItemWidth(int index) const;
    int GetTotalWidth() const;
    // Indexes outside the captions: not visible, and the setters change nothing.
    BOOL IsItemVisible(int index) const;
    void SetItemVisible(int index, BOOL visible);
    void SetItemSort(int index, int flag);
    // Empty for a hidden caption or an index outside the captions.
    RECT GetItemRect(int index) const;
    // Draws the caption at once.
    void RedrawItem(int index);
    UINT HitTest(POINT pt) const;
    static BOOL IsItemHover(UINT code) { return code != kHeaderHitNowhere && LOWORD(code) == HIWORD(code); }
    void DeleteAllItems();
    // Caption drawing: skin in the caption's state, text, sort indicator.
    virtual void DrawItem(IRenderTarget* rt, const RECT& rect, const HeaderItem& item);

    // --- window ---
    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    BOOL ApplyCursor(POINT pt) override;
    int ApplyRect(const RECT& rect) override;
    void ApplyColorTint(COLORREF color) override;
    void ApplyScale(int scale) override;
    int RetranslateTexts() override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    static BOOL IsEdge(UINT code) { return code != kHeaderHitNowhere && LOWORD(code) != HIWORD(code); }
    bool InRange(int index) const { return index >= 0 && index < m_items.Count(); }
    void ReadItems(pugi::xml_node items);
    void SetItemState(UINT code, int state);
    void OnPaint(IRenderTarget* rt);
    void OnLeftButtonDown(POINT pt);
    void OnLeftButtonUp(POINT pt);
    void OnMouseMove(WPARAM keys, POINT pt);
    void TrackHover(POINT pt);
    void StartDrag();
    void DragTo(POINT pt);
    void ResizeTo(POINT pt);
    void DropCaption();
    void OnMouseLeave();
    void CancelDrag();
    void EndResize();
    void OnCaptureLost();
    void EndDragImage();
    void DrawDraggingState(int position);
    HBITMAP CreateDragImage(int index);
    void RaiseRelayout();

    SRefPtr<ISkinObj> m_itemSkin;
    SRefPtr<ISkinObj> m_sortSkin;
    int m_sortHeader;
    int m_fixWidth;
    int m_itemSwapEnable;
    bool m_dragging;
    HBITMAP m_dragImage;
    POINT m_downPoint;
    UINT m_hitCode;
    UINT m_dropHitCode;
    int m_widthAtDown;
    SDynArray<HeaderItem> m_items;
};

} // namespace SKEIN
