#pragma once
// The split window ("splitwnd") lays its panes ("pane") side by side or one above the other
// with a separator between neighbours that the user drags. Each pane has an ideal, a minimum
// and a maximum size and a priority: a change of size goes first toward the ideal sizes,
// highest priority first, then toward the limits, lowest priority first. "splitcol" and
// "splitrow" are the column and row presets.
#include "core/SDynArray.h"
#include "core/SWnd.h"

namespace SKEIN {

// Raised on a pane each time the split window places it.
class EventSplitPaneMoved : public EventArgs {
    SKEIN_EVENT_CLASS(22000, L"on_split_pane_moved")
    explicit EventSplitPaneMoved(IObject* sender) : EventArgs(sender), rect{0, 0, 0, 0} {}
    RECT rect;
};

class SSplitWnd;

class SSplitPane : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"pane")

public:
    SSplitPane();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    // A pane being destroyed leaves the split window's lists; one shown or hidden lays the
    // split window out again.
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    const SLayoutSize& IdealSize() const { return m_idealSize; }
    const SLayoutSize& MinSize() const { return m_minSize; }
    const SLayoutSize& MaxSize() const { return m_maxSize; }
    int Priority() const { return m_priority; }

private:
    friend class SSplitWnd;

    SSplitWnd* m_split; // the split window whose lists hold this pane
    SLayoutSize m_idealSize;
    SLayoutSize m_minSize;
    SLayoutSize m_maxSize;
    int m_priority;
};

// Sizes of one pane along the split axis, in pixels; a hidden pane has all four 0.
struct SSplitPaneInfo {
    int size;
    int ideal;
    int minimum;
    int maximum;
};

class SSplitWnd : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"splitwnd")

public:
    SSplitWnd();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL CreateChildrenFromXml(pugi::xml_node node) override;
    void ArrangeChildren() override;
    BOOL ApplyCursor(POINT pt) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Inserts a child pane at a display position (negative: the end); the new pane takes its
    // ideal size when the window has room. -1 when the pane is already in the window.
    int InsertPane(SSplitPane* pane, int index = -1);
    // Takes a pane out of the lists (it stays a child); false when it is not in them.
    bool RemovePane(SSplitPane* pane);

    // Spreads delta (> 0 grows, < 0 shrinks) over infos given highest priority first; returns
    // what is left once every pane reached its limit.
    static int AdjustPaneSizes(SSplitPaneInfo* infos, int count, int delta);

    int GetPaneCount() const { return m_panes.Count(); }
    SSplitPane* GetPane(int index) const { return m_panes[index]; }
    int SeparatorSize() const { return m_sepSize; }
    BOOL IsVertical() const { return m_vertical != 0; }
    BOOL IsAdjustable() const { return m_adjustable != 0; }
    ISkinObj* SeparatorSkin() const { return m_sepSkin; }
    // The separator being dragged; -1 when none.
    int DraggedSeparator() const { return m_dragSep; }

protected:
    void PaintSeparators(IRenderTarget* rt);
    void BeginSeparatorDrag(UINT keys, POINT pt);
    void EndSeparatorDrag(UINT keys, POINT pt);
    void DragSeparator(UINT keys, POINT pt);

    SRefPtr<ISkinObj> m_sepSkin;
    int m_vertical;

private:
    typedef SDynArray<SSplitPane*> PaneList;
    typedef SDynArray<SSplitPaneInfo> InfoList;

    void FetchPaneInfos(const PaneList& panes, InfoList& infos) const;
    void Relayout(const RECT& rect, InfoList& infos);
    // Places the panes of display (their infos in the order of priority) from offset on;
    // returns the offset after the last one.
    int PlacePanes(const PaneList& display, const PaneList& priority, const InfoList& infos, int offset);
    int Extent(const RECT& rect) const;
    int PaneExtent(const SSplitPane* pane) const;
    // Moves the separator by amount toward the after side (the before side grows).
    void ShiftSeparator(int amount);
    // The neighbour grows (or shrinks) by amount; what it cannot take goes to the others.
    static void MovePane(InfoList& infos, int neighbour, int amount, bool grow);

    PaneList m_panes;
    PaneList m_priority;
    int m_sepSize;
    int m_adjustable;
    POINT m_lastDrag;
    int m_dragSep;
    // Scratch lists of a drag step, kept to avoid allocating on every mouse move.
    PaneList m_before[2];
    PaneList m_after[2];
    InfoList m_beforeInfos;
    InfoList m_afterInfos;
};

class SSplitWnd_Col : public SSplitWnd {
    SKEIN_CLASS_NAME(SSplitWnd, L"splitcol")

public:
    SSplitWnd_Col();
};

class SSplitWnd_Row : public SSplitWnd {
    SKEIN_CLASS_NAME(SSplitWnd, L"splitrow")

public:
    SSplitWnd_Row();
};

} // namespace SKEIN
