// SPanel: the non-client scroll bars of a window.
#include "control/SPanel.h"
#include <algorithm>
#include "control/SScrollBarGeometry.h"
#include "interface/SwndContainer-i.h"
#include "res.mgr/SUiDef.h"
#include "skin/SSkinScrollbar.h"
#include "SCtrlAttr.h"
#include "SPanelUtil.h"
#include "res.mgr/SSkinPoolMgr.h"

namespace SKEIN {

using namespace ctrl;

namespace {

// Looks of a bar part in the skin's state word.
enum { kLookNormal = 0, kLookHover = 1, kLookPushed = 2, kLookDisabled = 3, kLookIdle = 4 };

ISkinObj* ScrollbarSkinOrNull(ISkinObj* skin)
{
    return skin && skin->MatchesClassName(SSkinScrollbar::StaticXmlClassName()) ? skin : nullptr;
}

} // namespace

SPanel::SPanel()
    : m_vertInfo(EmptyScrollInfo()), m_horzInfo(EmptyScrollInfo()), m_dragStart{0, 0}, m_dragging(0),
      m_hitCode(kNoPart), m_dragStartPos(0), m_clientRect{0, 0, 0, 0}, m_shownBars(0),
      m_sbEnable(kPanelBarHorz | kPanelBarVert), m_lastUpdateTick(0), m_updateInterval(0), m_wheelRemainder(0),
      m_scrollSpeed(10), m_pressedHit(kNoPart), m_lastMouse{-1, -1}
{
    m_sbArrowSize.SetUnspecified();
    m_sbWid.SetUnspecified();
}

HRESULT SPanel::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    HRESULT result = S_FALSE;
    if (Is(name, L"sbSkin")) {
        ISkinObj* skin = ScrollbarSkinOrNull(FindSkin(value, GetScale()));
        if (!skin)
            return E_FAIL;
        m_sbSkin = skin;
        m_sbSkinName = value;
        RecalcClientRect();
        result = loading ? S_FALSE : S_OK;
    } else if (Is(name, L"sbArrowSize")) {
        m_sbArrowSize = ResolveNamedDimension(value.c_str());
    } else if (Is(name, L"sbWid")) {
        m_sbWid = ResolveNamedDimension(value.c_str());
        RecalcClientRect();
        result = S_OK;
    } else if (Is(name, L"sbEnable")) {
        m_sbEnable = ParseInt(value);
        result = S_OK;
    } else if (Is(name, L"updateInterval")) {
        m_updateInterval = ParseInt(value);
    } else if (Is(name, L"scrollSpeed")) {
        m_scrollSpeed = ParseInt(value);
    } else if (Is(name, L"sbLeft") || Is(name, L"sbRight") || Is(name, L"sbTop") || Is(name, L"sbBottom")) {
        SLayoutSize& margin = Is(name, L"sbLeft") ? m_sbLeft
                              : Is(name, L"sbRight") ? m_sbRight
                              : Is(name, L"sbTop") ? m_sbTop
                                                    : m_sbBottom;
        margin = ResolveNamedDimension(value.c_str());
        result = S_OK;
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, result);
}

void SPanel::ResolveSkin(int scale)
{
    ISkinObj* skin = m_sbSkinName.IsEmptyText() ? FindSystemSkin(kSysSkinScrollbar, scale) : FindSkin(m_sbSkinName, scale);
    m_sbSkin = ScrollbarSkinOrNull(skin);
}

void SPanel::ApplyScale(int scale)
{
    SWindow::ApplyScale(scale);
    ResolveSkin(scale);
    RecalcClientRect();
}

void SPanel::ApplyColorTint(COLORREF color)
{
    SWindow::ApplyColorTint(color);
    if (m_sbSkin)
        m_sbSkin->ApplyColorize(color);
}

// ---- sizes and rectangles ----

int SPanel::ArrowSize() const
{
    if (m_sbArrowSize.HasValue())
        return m_sbArrowSize.ToPixels(GetScale());
    const SSkinScrollbar* skin = dynamic_cast<const SSkinScrollbar*>(m_sbSkin.Get());
    return skin && skin->HasArrowParts() ? skin->GetIdealSize() : 0;
}

int SPanel::BarWidth() const
{
    if (m_sbWid.HasValue())
        return m_sbWid.ToPixels(GetScale());
    const SSkinScrollbar* skin = dynamic_cast<const SSkinScrollbar*>(m_sbSkin.Get());
    if (skin)
        return skin->GetIdealSize();
    return m_sbSkin ? m_sbSkin->GetSkinSize().cx : 0;
}

RECT SPanel::FrameRect() const
{
    RECT frame;
    SWindow::ComputeInnerRect(&frame);
    return frame;
}

RECT SPanel::BarRect(BOOL vertical) const
{
    if (!IsScrollBarShown(vertical))
        return RECT{0, 0, 0, 0};
    RECT bar = FrameRect();
    int width = BarWidth();
    int scale = GetScale();
    bool both = IsScrollBarShown(!vertical) != FALSE;
    if (vertical) {
        bar.left = bar.right - width;
        if (both)
            bar.bottom -= width;
        bar.top += m_sbTop.ToPixels(scale);
        bar.bottom -= m_sbBottom.ToPixels(scale);
    } else {
        bar.top = bar.bottom - width;
        if (both)
            bar.right -= width;
        bar.left += m_sbLeft.ToPixels(scale);
        bar.right -= m_sbRight.ToPixels(scale);
    }
    return bar;
}

SScrollBarGeometry SPanel::Geometry(BOOL vertical) const
{
    return SScrollBarGeometry(Info(vertical), BarRect(vertical), vertical != FALSE, ArrowSize());
}

void SPanel::RecalcClientRect()
{
    m_clientRect = FrameRect();
    int width = BarWidth();
    if (IsScrollBarShown(TRUE))
        m_clientRect.right = std::max(m_clientRect.left, m_clientRect.right - width);
    if (IsScrollBarShown(FALSE))
        m_clientRect.bottom = std::max(m_clientRect.top, m_clientRect.bottom - width);
}

BOOL SPanel::IsInNonClientArea(POINT pt) const
{
    // A held arrow or rail keeps the mouse on the bars, so that its release ends the repeat.
    return m_dragging != 0 || m_pressedHit != kNoPart || !::PtInRect(&m_clientRect, pt);
}

DWORD SPanel::HitTest(POINT pt) const
{
    for (BOOL vertical : {FALSE, TRUE}) {
        RECT bar = BarRect(vertical);
        if (!::PtInRect(&bar, pt))
            continue;
        int part = Geometry(vertical).HitTest(pt);
        return MakeHit(vertical, part < 0 ? kNoPart : part);
    }
    return kNoPart;
}

BOOL SPanel::IsBarEnabled(BOOL vertical) const
{
    return (m_sbEnable & BarBit(vertical)) && !TestDisabled(TRUE);
}

// ---- operations ----

BOOL SPanel::SetScrollBarShown(int bars, BOOL show)
{
    int shown = show ? (m_shownBars | bars) : (m_shownBars & ~bars);
    if (shown == m_shownBars)
        return FALSE;
    m_shownBars = shown;
    SendUiMessage(WM_NCCALCSIZE);
    InvalidateLayout();
    return TRUE;
}

BOOL SPanel::EnableScrollBarBits(int bars, BOOL enable)
{
    m_sbEnable = enable ? (m_sbEnable | bars) : (m_sbEnable & ~bars);
    if (bars & kPanelBarVert)
        RedrawBar(TRUE);
    if (bars & kPanelBarHorz)
        RedrawBar(FALSE);
    return TRUE;
}

BOOL SPanel::SetScrollPosition(BOOL vertical, int position, BOOL redraw)
{
    SCROLLINFO& info = Info(vertical);
    int last = std::max(info.nMin, info.nMax - static_cast<int>(info.nPage) + 1);
    position = std::min(std::max(position, info.nMin), last);
    if (position == info.nPos)
        return FALSE;
    info.nPos = position;
    if (redraw)
        RedrawBar(vertical);
    return TRUE;
}

BOOL SPanel::SetScrollRangeOf(BOOL vertical, int minimum, int maximum, BOOL redraw)
{
    SCROLLINFO& info = Info(vertical);
    info.nMin = minimum;
    info.nMax = maximum;
    if (info.nPos < minimum)
        info.nPos = minimum;
    if (info.nPos > maximum)
        info.nPos = maximum;
    if (redraw)
        RedrawBar(vertical);
    return TRUE;
}

void SPanel::RedrawBar(BOOL vertical)
{
    RECT bar = BarRect(vertical);
    if (!::IsRectEmpty(&bar))
        InvalidateArea(&bar);
}

void SPanel::ThrottledUpdate()
{
    DWORD now = ::GetTickCount();
    if (now - m_lastUpdateTick < static_cast<DWORD>(std::max(0, m_updateInterval)))
        return;
    m_lastUpdateTick = now;
    if (m_container)
        m_container->UpdateWindow();
}

BOOL SPanel::OnScroll(BOOL vertical, UINT code, int position)
{
    SCROLLINFO& info = Info(vertical);
    int page = static_cast<int>(info.nPage);
    int next = info.nPos;
    switch (code) {
    case SB_LINEUP: next -= GetScrollLineSize(vertical); break;
    case SB_LINEDOWN: next += GetScrollLineSize(vertical); break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_TOP: next = info.nMin; break;
    case SB_BOTTOM: next = info.nMax - page + 1; break;
    default: next = position; break;
    }
    next = std::max(next, info.nMin);
    next = page ? std::min(next, info.nMax - page + 1) : 0;
    if (next == info.nPos)
        return FALSE;
    info.nPos = next;
    if (code != SB_THUMBTRACK && TestVisible(TRUE) && IsBarEnabled(vertical)) {
        info.nTrackPos = -1;
        RedrawBar(vertical);
    }
    InvalidateClientArea();
    return TRUE;
}

// ---- painting ----

int SPanel::BarLook(BOOL vertical, int part) const
{
    if (!IsBarEnabled(vertical))
        return kLookDisabled;
    bool dragged = m_dragging == (vertical ? 1 : 2);
    bool hot = dragged || (HitPart() != kNoPart && HitVertical() == vertical);
    if (!hot)
        return kLookIdle;
    if (part == SB_THUMBTRACK && dragged)
        return kLookPushed;
    if (part == kSbPartRailUp)
        return kLookHover;
    if (part == HitPart())
        return m_pressedHit == m_hitCode ? kLookPushed : kLookHover;
    return kLookNormal;
}

void SPanel::DrawPart(IRenderTarget* rt, const RECT& rect, BOOL vertical, int part, int look)
{
    if (!::IsRectEmpty(&rect))
        m_sbSkin->DrawByState(rt, &rect, SSkinScrollbar::MakeState(part, look, vertical));
}

void SPanel::PaintBar(IRenderTarget* rt, BOOL vertical)
{
    SScrollBarGeometry geometry = Geometry(vertical);
    if (!geometry.IsValid())
        return;
    DrawPart(rt, geometry.PartRect(SB_LINEUP), vertical, SB_LINEUP, BarLook(vertical, SB_LINEUP));
    DrawPart(rt, geometry.RailRect(), vertical, kSbPartRailUp, BarLook(vertical, kSbPartRailUp));
    DrawPart(rt, geometry.PartRect(SB_THUMBTRACK), vertical, SB_THUMBTRACK, BarLook(vertical, SB_THUMBTRACK));
    DrawPart(rt, geometry.PartRect(SB_LINEDOWN), vertical, SB_LINEDOWN, BarLook(vertical, SB_LINEDOWN));
}

void SPanel::PaintBars(IRenderTarget* rt)
{
    if (!m_sbSkin)
        return;
    for (BOOL vertical : {TRUE, FALSE}) {
        if (IsScrollBarShown(vertical))
            PaintBar(rt, vertical);
    }
    if (m_shownBars != (kPanelBarHorz | kPanelBarVert))
        return;
    RECT vert = BarRect(TRUE);
    RECT corner{vert.left, vert.bottom, vert.right, vert.bottom + BarWidth()};
    DrawPart(rt, corner, TRUE, kSbPartCorner, 0);
}

// ---- mouse on the bars ----

void SPanel::OnNcLeftButtonDown(POINT pt)
{
    m_lastMouse = pt;
    m_hitCode = HitTest(pt);
    if (HitPart() == kNoPart || !IsBarEnabled(HitVertical()))
        return;
    BOOL vertical = HitVertical();
    TakeMouseCapture();
    m_pressedHit = m_hitCode;
    if (HitPart() == SB_THUMBTRACK) {
        m_dragging = vertical ? 1 : 2;
        m_dragStart = pt;
        m_dragStartPos = Info(vertical).nPos;
        m_lastUpdateTick = ::GetTickCount() - static_cast<DWORD>(m_updateInterval);
        RedrawBar(vertical);
        return;
    }
    RedrawBar(vertical);
    OnScroll(vertical, HitPart(), Info(vertical).nPos);
    StartHostTimer(kTimerDelay, 500);
}

void SPanel::OnTimer(UINT id)
{
    if (id != kTimerDelay && id != kTimerRepeat) {
        SetMsgHandled(FALSE);
        return;
    }
    if (id == kTimerDelay) {
        StopHostTimer(kTimerDelay);
        StartHostTimer(kTimerRepeat, 50);
    }
    // The held part repeats while the mouse stays on it; the rail stops once the thumb
    // has reached the mouse.
    if (m_dragging || m_pressedHit != m_hitCode || HitPart() > SB_PAGEDOWN || HitTest(m_lastMouse) != m_pressedHit)
        return;
    OnScroll(HitVertical(), HitPart(), Info(HitVertical()).nPos);
}

void SPanel::OnNcMouseMove(POINT pt)
{
    m_lastMouse = pt;
    if (m_dragging) {
        BOOL vertical = m_dragging == 1;
        SCROLLINFO& info = Info(vertical);
        int offset = vertical ? pt.y - m_dragStart.y : pt.x - m_dragStart.x;
        int position = Geometry(vertical).DragPosition(m_dragStartPos, offset);
        RedrawBar(vertical);
        if (position != (info.nTrackPos == -1 ? info.nPos : info.nTrackPos)) {
            info.nTrackPos = position;
            OnScroll(vertical, SB_THUMBTRACK, position);
        }
        return;
    }
    DWORD hit = HitTest(pt);
    if (hit == m_hitCode)
        return;
    DWORD previous = m_hitCode;
    m_hitCode = hit;
    if ((previous & 0xFFFF) != kNoPart)
        RedrawBar((previous >> 16) != 0);
    if (HitPart() != kNoPart)
        RedrawBar(HitVertical());
}

void SPanel::EndThumbDrag()
{
    BOOL vertical = m_dragging == 1;
    SCROLLINFO& info = Info(vertical);
    m_dragging = 0;
    if (info.nTrackPos != -1)
        OnScroll(vertical, SB_THUMBPOSITION, info.nTrackPos);
    info.nTrackPos = -1;
    RedrawBar(vertical);
}

// A thumb drag keeps the position it reached; a held part stops repeating.
void SPanel::EndBarPress()
{
    if (m_dragging)
        EndThumbDrag();
    else if (m_pressedHit != kNoPart)
        RedrawBar((m_pressedHit >> 16) != 0);
    m_pressedHit = kNoPart;
    StopHostTimer(kTimerDelay);
    StopHostTimer(kTimerRepeat);
    m_hitCode = kNoPart;
}

void SPanel::OnNcLeftButtonUp(POINT pt)
{
    DropMouseCapture();
    EndBarPress();
    OnNcMouseMove(pt);
}

void SPanel::OnNcMouseLeave()
{
    if (m_dragging || HitPart() == kNoPart || !TestVisible(TRUE))
        return;
    BOOL vertical = HitVertical();
    m_hitCode = kNoPart;
    RedrawBar(vertical);
}

void SPanel::OnMouseWheel(short delta, WPARAM wParam, LPARAM lParam)
{
    int total = delta + m_wheelRemainder;
    int notches = total / WHEEL_DELTA;
    m_wheelRemainder = total % WHEEL_DELTA;
    int left = notches < 0 ? -notches : notches;
    while (left > 0 && OnScroll(TRUE, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0)) {
        --left;
        ThrottledUpdate();
    }
    if (left > 0 && m_parent) {
        short rest = static_cast<short>((notches > 0 ? left : -left) * WHEEL_DELTA);
        m_parent->SendUiMessage(WM_MOUSEWHEEL, MAKEWPARAM(LOWORD(wParam), rest), lParam);
    }
    HWND host = m_container ? m_container->GetHostHwnd() : nullptr;
    if (notches != 0 && host) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        ::ScreenToClient(host, &cursor);
        ::SendMessageW(host, WM_MOUSEMOVE, 0, MAKELPARAM(cursor.x, cursor.y));
        ::SendMessageW(host, WM_SETCURSOR, reinterpret_cast<WPARAM>(host), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
}

// ---- dispatch ----

BOOL SPanel::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_CREATE:
        if (!m_sbSkin)
            ResolveSkin(GetScale());
        RecalcClientRect();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_SHOWWINDOW:
        if (!wParam && m_dragging) {
            m_dragging = 0;
            m_pressedHit = kNoPart;
            Info(TRUE).nTrackPos = Info(FALSE).nTrackPos = -1;
            DropMouseCapture();
        }
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_NCCALCSIZE:
        RecalcClientRect();
        InvalidateArea();
        break;
    case WM_NCPAINT:
        SWindow::HandleMessage(msg, wParam, lParam, result);
        PaintBars(reinterpret_cast<IRenderTarget*>(wParam));
        break;
    case WM_NCMOUSEMOVE: OnNcMouseMove(MousePoint(lParam)); break;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: OnNcLeftButtonDown(MousePoint(lParam)); break;
    case WM_NCLBUTTONUP: OnNcLeftButtonUp(MousePoint(lParam)); break;
    case WM_NCMOUSELEAVE: OnNcMouseLeave(); break;
    case WM_CAPTURECHANGED:
        EndBarPress();
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    case WM_TIMER:
        OnTimer(static_cast<UINT>(wParam));
        if (!IsMsgHandled())
            return SWindow::HandleMessage(msg, wParam, lParam, result);
        break;
    case WM_HSCROLL:
    case WM_VSCROLL:
        OnScroll(msg == WM_VSCROLL, LOWORD(wParam), static_cast<short>(HIWORD(wParam)));
        break;
    case WM_MOUSEWHEEL: OnMouseWheel(static_cast<short>(HIWORD(wParam)), wParam, lParam); break;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    return IsMsgHandled();
}

} // namespace SKEIN
