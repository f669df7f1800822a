// SScrollBar: a scroll bar window of its own.
#include "control/SScrollBar.h"
#include <algorithm>
#include "control/SScrollBarGeometry.h"
#include "core/SEvents.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "skin/SSkinScrollbar.h"
#include "SCtrlAttr.h"
#include "SPanelUtil.h"

namespace SKEIN {

using namespace ctrl;

SScrollBar::SScrollBar()
    : m_arrowSize(-1), m_info(EmptyScrollInfo()), m_dragging(0), m_dragStart{0, 0}, m_dragStartPos(0),
      m_pressedPart(-1), m_hoverPart(-1), m_vertical(TRUE)
{
    m_sbSkin = FindSystemSkin(kSysSkinScrollbar, 100);
    m_eventSet.DeclareEvent(EventScroll::EventID, EventScroll::EventName());
}

HRESULT SScrollBar::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"skin")) {
        m_sbSkin = FindSkin(value, GetScale());
    } else if (Is(name, L"arrowSize")) {
        m_arrowSize = ParseInt(value);
    } else if (Is(name, L"min")) {
        m_info.nMin = ParseInt(value);
    } else if (Is(name, L"max")) {
        m_info.nMax = ParseInt(value);
    } else if (Is(name, L"value")) {
        m_info.nPos = ParseInt(value);
    } else if (Is(name, L"page")) {
        m_info.nPage = static_cast<UINT>(ParseInt(value));
    } else if (Is(name, L"vertical")) {
        m_vertical = ParseInt(value);
    } else {
        return SWindow::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_FALSE);
}

void SScrollBar::OnXmlInitDone(pugi::xml_node element)
{
    SWindow::OnXmlInitDone(element);
    if (m_arrowSize != -1)
        return;
    const SSkinScrollbar* skin = dynamic_cast<const SSkinScrollbar*>(m_sbSkin.Get());
    m_arrowSize = skin ? skin->GetIdealSize() : (m_sbSkin ? m_sbSkin->GetSkinSize().cx / SSkinScrollbar::kColumns : 0);
}

SScrollBarGeometry SScrollBar::Geometry() const
{
    return SScrollBarGeometry(m_info, m_windowRect, m_vertical != FALSE, std::max(0, m_arrowSize));
}

// ---- scroll information ----

LRESULT SScrollBar::SetInfo(BOOL redraw, const SCROLLINFO* info)
{
    if (!info)
        return 0;
    if (info->fMask & SIF_PAGE)
        m_info.nPage = info->nPage;
    if (info->fMask & SIF_POS)
        m_info.nPos = info->nPos;
    if (info->fMask & SIF_RANGE) {
        m_info.nMin = info->nMin;
        m_info.nMax = info->nMax;
    }
    // The last position shows the last page; with no page it is nMax itself.
    int last = m_info.nMax - static_cast<int>(m_info.nPage) + (m_info.nPage ? 1 : 0);
    m_info.nPos = std::max(std::min(m_info.nPos, last), m_info.nMin);
    if (redraw)
        InvalidateClientArea();
    return 1;
}

LRESULT SScrollBar::GetInfo(SCROLLINFO* info) const
{
    if (!info)
        return 0;
    if (info->fMask & SIF_PAGE)
        info->nPage = m_info.nPage;
    if (info->fMask & SIF_POS)
        info->nPos = m_info.nPos;
    if (info->fMask & SIF_TRACKPOS)
        info->nTrackPos = m_info.nTrackPos;
    if (info->fMask & SIF_RANGE) {
        info->nMin = m_info.nMin;
        info->nMax = m_info.nMax;
    }
    return 1;
}

// ---- painting ----

int SScrollBar::PartLook(int part) const
{
    if (TestDisabled(TRUE))
        return 3;
    if (part == m_pressedPart || (part == SB_THUMBTRACK && m_dragging))
        return 2;
    return part == m_hoverPart ? 1 : 0;
}

void SScrollBar::Paint(IRenderTarget* rt)
{
    SScrollBarGeometry geometry = Geometry();
    if (!m_sbSkin || !geometry.IsValid())
        return;
    static const int kOrder[] = {SB_LINEUP, SB_PAGEUP, SB_THUMBTRACK, SB_PAGEDOWN, SB_LINEDOWN};
    for (int part : kOrder) {
        RECT rect = geometry.PartRect(part);
        if (!::IsRectEmpty(&rect))
            m_sbSkin->DrawByState(rt, &rect, SSkinScrollbar::MakeState(part, PartLook(part), m_vertical));
    }
}

// ---- mouse ----

void SScrollBar::FireScroll(int code, int position)
{
    EventScroll evt(this);
    evt.scrollCode = code;
    evt.position = position;
    evt.vertical = m_vertical;
    RaiseEvent(evt);
}

void SScrollBar::OnLeftButtonDown(POINT pt)
{
    TakeMouseCapture();
    int part = Geometry().HitTest(pt);
    if (part == SB_THUMBTRACK) {
        m_dragging = 1;
        m_dragStart = pt;
        m_dragStartPos = m_info.nPos;
        m_info.nTrackPos = m_info.nPos;
        InvalidateClientArea();
        return;
    }
    m_pressedPart = part;
    if (part < 0)
        return;
    InvalidateClientArea();
    FireScroll(part, m_info.nPos);
}

void SScrollBar::OnMouseMove(POINT pt)
{
    if (m_dragging) {
        int offset = m_vertical ? pt.y - m_dragStart.y : pt.x - m_dragStart.x;
        int position = Geometry().DragPosition(m_dragStartPos, offset);
        if (position == m_info.nTrackPos)
            return;
        m_info.nTrackPos = position;
        InvalidateClientArea();
        FireScroll(SB_THUMBTRACK, position);
        return;
    }
    int part = Geometry().HitTest(pt);
    if (part == m_hoverPart)
        return;
    m_hoverPart = part;
    InvalidateClientArea();
}

void SScrollBar::OnLeftButtonUp(POINT pt)
{
    DropMouseCapture();
    EndPress(pt);
}

// A thumb drag keeps the position it reached.
void SScrollBar::EndPress(POINT pt)
{
    if (m_dragging) {
        m_dragging = 0;
        m_info.nPos = m_info.nTrackPos;
        m_info.nTrackPos = -1;
        OnMouseMove(pt);
        InvalidateClientArea();
        FireScroll(SB_THUMBPOSITION, m_info.nPos);
        return;
    }
    if (m_pressedPart != -1) {
        m_pressedPart = -1;
        InvalidateClientArea();
    }
}

BOOL SScrollBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); break;
    case SBM_SETSCROLLINFO: *result = SetInfo(static_cast<BOOL>(wParam), reinterpret_cast<const SCROLLINFO*>(lParam)); break;
    case SBM_GETSCROLLINFO: *result = GetInfo(reinterpret_cast<SCROLLINFO*>(lParam)); break;
    case WM_LBUTTONDOWN: OnLeftButtonDown(MousePoint(lParam)); break;
    case WM_LBUTTONUP: OnLeftButtonUp(MousePoint(lParam)); break;
    case WM_MOUSEMOVE: OnMouseMove(MousePoint(lParam)); break;
    case WM_MOUSELEAVE:
        if (!m_dragging && m_hoverPart != -1)
            OnMouseMove(POINT{-1, -1});
        break;
    case WM_CAPTURECHANGED:
        EndPress(POINT{-1, -1});
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
    return IsMsgHandled();
}

} // namespace SKEIN
