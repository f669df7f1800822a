#pragma once
// A window that draws its own scroll bars in its non-client area ("div"): the bars are
// painted with a scroll-bar skin, hit-tested, dragged and auto-repeated, and the wheel
// scrolls the vertical bar.
#include "core/SWnd.h"

namespace SKEIN {

class SScrollBarGeometry;

// Bars of a panel as mask bits.
enum {
    kPanelBarHorz = 1,
    kPanelBarVert = 2,
};

class SPanel : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"div")

public:
    SPanel();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void GetInnerRect(RECT* out) const override { *out = m_clientRect; }
    void ComputeInnerRect(RECT* out) const override { *out = m_clientRect; }
    BOOL IsInNonClientArea(POINT pt) const override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void ApplyScale(int scale) override;
    void ApplyColorTint(COLORREF color) override;

    virtual int GetScrollLineSize(BOOL vertical) { return m_scrollSpeed; }
    // Runs a scroll action (a Win32 scroll code) on a bar; TRUE when the position moved.
    virtual BOOL OnScroll(BOOL vertical, UINT code, int position);

    BOOL SetScrollBarShown(int bars, BOOL show);
    BOOL EnableScrollBarBits(int bars, BOOL enable);
    BOOL SetScrollPosition(BOOL vertical, int position, BOOL redraw);
    BOOL SetScrollRangeOf(BOOL vertical, int minimum, int maximum, BOOL redraw);
    int ScrollPosOf(BOOL vertical) const { return Info(vertical).nPos; }
    BOOL IsScrollBarShown(BOOL vertical) const { return (m_shownBars & BarBit(vertical)) != 0; }
    const SCROLLINFO& ScrollInfoOf(BOOL vertical) const { return Info(vertical); }
    // The rectangle of a bar; empty when it is not shown.
    RECT BarRect(BOOL vertical) const;
    int ArrowSize() const;
    int BarWidth() const;

protected:
    static int BarBit(BOOL vertical) { return vertical ? kPanelBarVert : kPanelBarHorz; }
    SCROLLINFO& Info(BOOL vertical) { return vertical ? m_vertInfo : m_horzInfo; }
    const SCROLLINFO& Info(BOOL vertical) const { return vertical ? m_vertInfo : m_horzInfo; }
    // The window's inner rectangle before the bars are cut off.
    RECT FrameRect() const;
    void RecalcClientRect();
    // Repaints one bar through its invalidation.
    void RedrawBar(BOOL vertical);
    // The window is updated at most once per updateInterval ms.
    void ThrottledUpdate();

    SCROLLINFO m_vertInfo;
    SCROLLINFO m_horzInfo;
    SRefPtr<ISkinObj> m_sbSkin;
    SStringW m_sbSkinName;
    SLayoutSize m_sbArrowSize;
    SLayoutSize m_sbWid;
    SLayoutSize m_sbLeft;
    SLayoutSize m_sbRight;
    SLayoutSize m_sbTop;
    SLayoutSize m_sbBottom;
    POINT m_dragStart;
    int m_dragging;
    DWORD m_hitCode;
    int m_dragStartPos;
    RECT m_clientRect;
    int m_shownBars;
    int m_sbEnable;
    DWORD m_lastUpdateTick;
    int m_updateInterval;
    int m_wheelRemainder;
    int m_scrollSpeed;

private:
    enum { kNoPart = 0xFFFF, kTimerDelay = 1, kTimerRepeat = 2 };
    static DWORD MakeHit(BOOL vertical, int part) { return (vertical ? 0x10000u : 0u) | (part & 0xFFFF); }
    int HitPart() const { return static_cast<int>(m_hitCode & 0xFFFF); }
    BOOL HitVertical() const { return (m_hitCode >> 16) != 0; }
    BOOL IsBarEnabled(BOOL vertical) const;
    int BarLook(BOOL vertical, int part) const;
    void PaintBars(IRenderTarget* rt);
    void PaintBar(IRenderTarget* rt, BOOL vertical);
    void DrawPart(IRenderTarget* rt, const RECT& rect, BOOL vertical, int part, int look);
    DWORD HitTest(POINT pt) const;
    SScrollBarGeometry Geometry(BOOL vertical) const;

    void OnNcLeftButtonDown(POINT pt);
    void OnNcLeftButtonUp(POINT pt);
    void OnNcMouseMove(POINT pt);
    void OnNcMouseLeave();
    void OnTimer(UINT id);
    void OnMouseWheel(short delta, WPARAM wParam, LPARAM lParam);
    void EndThumbDrag();
    void EndBarPress();
    void ResolveSkin(int scale);
    // The hit code of the button-down on an arrow or the rail; kNoPart when none is held.
    DWORD m_pressedHit;
    POINT m_lastMouse;
};

} // namespace SKEIN
