// SScrollView: a virtual view scrolled by the panel's bars.
#include "control/SScrollView.h"
#include <algorithm>
#include "core/SEvents.h"
#include "layout/SLayout-i.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"
#include "SPanelUtil.h"

namespace SKEIN {

using namespace ctrl;

SScrollView::SScrollView() : m_origin{0, 0}, m_viewSize{0, 0}
{
    m_viewWidth.SetUnspecified();
    m_viewHeight.SetUnspecified();
    m_flags |= kWndClipClient;
    m_eventSet.DeclareEvent(EventScrollViewOriginChanged::EventID, EventScrollViewOriginChanged::EventName());
    m_eventSet.DeclareEvent(EventScrollViewSizeChanged::EventID, EventScrollViewSizeChanged::EventName());
    m_eventSet.DeclareEvent(EventScroll::EventID, EventScroll::EventName());
}

HRESULT SScrollView::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"origin-x") || Is(name, L"origin-y")) {
        bool horizontal = Is(name, L"origin-x");
        // The bar keeps the origin when the bars are fitted to the view.
        (horizontal ? m_origin.x : m_origin.y) = Info(!horizontal).nPos = ParseInt(value);
        return AfterAttribute(name, value, loading, S_FALSE);
    }
    if (!Is(name, L"viewSize"))
        return SPanel::ApplyAttribute(name, value, loading);
    if (!ParseDimensionPair(value, m_viewWidth, m_viewHeight))
        return E_INVALIDARG;
    if (!loading) {
        m_layoutDirty = 1;
        ArrangeChildren();
        m_layoutDirty = 0;
    }
    return AfterAttribute(name, value, loading, S_FALSE);
}

int SScrollView::ViewExtent(const SLayoutSize& size, int inner, int measured) const
{
    if (size.IsMatchParent())
        return inner;
    if (size.IsWrapContent())
        return measured;
    return size.ToPixels(GetScale());
}

void SScrollView::ArrangeChildren()
{
    if (m_viewWidth.HasValue() && m_viewHeight.HasValue()) {
        RECT frame = FrameRect();
        int width = frame.right - frame.left;
        int height = frame.bottom - frame.top;
        SIZE measured{0, 0};
        if ((m_viewWidth.IsWrapContent() || m_viewHeight.IsWrapContent()) && m_layout) {
            m_layout->MeasureChildren(measured, this, m_viewWidth.IsWrapContent() ? -1 : width,
                                      m_viewHeight.IsWrapContent() ? -1 : height);
            RECT padding = m_style.GetPaddingRect();
            measured.cx += padding.left + padding.right;
            measured.cy += padding.top + padding.bottom;
        }
        int cx = ViewExtent(m_viewWidth, width, measured.cx);
        int cy = ViewExtent(m_viewHeight, height, measured.cy);
        int bar = BarWidth();
        if (cy > height && m_viewWidth.IsMatchParent())
            cx = std::max(0, cx - bar);
        if (cx > width && m_viewHeight.IsMatchParent())
            cy = std::max(0, cy - bar);
        ResizeView(cx, cy);
    }
    SPanel::ArrangeChildren();
}

void SScrollView::ResizeView(int cx, int cy)
{
    SIZE old = m_viewSize;
    if (old.cx == cx && old.cy == cy)
        return;
    m_viewSize = SIZE{cx, cy};
    UpdateScrollBars();
    OnViewSizeChanged(old, m_viewSize);
}

void SScrollView::OnViewSizeChanged(SIZE oldSize, SIZE newSize)
{
    EventScrollViewSizeChanged evt(this);
    evt.oldSize = oldSize;
    evt.newSize = newSize;
    RaiseEvent(evt);
}

void SScrollView::FitBar(BOOL vertical, bool shown, int view, int page)
{
    SCROLLINFO& info = Info(vertical);
    info.nMin = 0;
    if (!shown) {
        info.nMax = std::max(0, page) - 1;
        info.nPage = static_cast<UINT>(std::max(0, page));
        info.nPos = 0;
        return;
    }
    info.nMax = view - 1;
    info.nPage = static_cast<UINT>(std::max(0, page));
    info.nPos = std::max(0, std::min(info.nPos, view - std::max(0, page)));
}

void SScrollView::UpdateScrollBars()
{
    RECT frame = FrameRect();
    int w = frame.right - frame.left;
    int h = frame.bottom - frame.top;
    int bar = BarWidth();
    int W = m_viewSize.cx;
    int H = m_viewSize.cy;
    bool vert = h < H || (h < H + bar && w < W);
    bool horz = w < W || (vert && w < W + bar);
    m_shownBars = (vert ? kPanelBarVert : 0) | (horz ? kPanelBarHorz : 0);
    FitBar(TRUE, vert, H, horz ? h - bar : h);
    FitBar(FALSE, horz, W, vert ? w - bar : w);
    POINT old = m_origin;
    m_origin = POINT{m_horzInfo.nPos, m_vertInfo.nPos};
    RedrawBar(TRUE);
    RedrawBar(FALSE);
    SendUiMessage(WM_NCCALCSIZE);
    if (old.x != m_origin.x || old.y != m_origin.y)
        OnViewOriginChanged(old, m_origin);
    InvalidateClientArea();
}

void SScrollView::GetChildAreaRect(RECT* out) const
{
    SWindow::GetChildAreaRect(out);
    RECT padding = m_style.GetPaddingRect();
    out->left -= m_origin.x;
    out->top -= m_origin.y;
    out->right = out->left + std::max(0, static_cast<int>(m_viewSize.cx - padding.left - padding.right));
    out->bottom = out->top + std::max(0, static_cast<int>(m_viewSize.cy - padding.top - padding.bottom));
}

void SScrollView::MoveViewOrigin(int x, int y)
{
    POINT old = m_origin;
    if (old.x == x && old.y == y)
        return;
    m_origin = POINT{x, y};
    SetScrollPosition(FALSE, x, TRUE);
    SetScrollPosition(TRUE, y, TRUE);
    m_layoutDirty = 1;
    OnViewOriginChanged(old, m_origin);
    InvalidateArea();
}

void SScrollView::OnViewOriginChanged(POINT oldOrigin, POINT newOrigin)
{
    m_layoutDirty = 1;
    RelayoutIfDirty();
    EventScrollViewOriginChanged evt(this);
    evt.oldOrigin = oldOrigin;
    evt.newOrigin = newOrigin;
    RaiseEvent(evt);
}

BOOL SScrollView::OnScroll(BOOL vertical, UINT code, int position)
{
    if (!SPanel::OnScroll(vertical, code, position))
        return FALSE;
    int moved = Info(vertical).nPos;
    MoveViewOrigin(vertical ? m_origin.x : moved, vertical ? moved : m_origin.y);
    if (code == SB_THUMBTRACK)
        ThrottledUpdate();
    EventScroll evt(this);
    evt.scrollCode = static_cast<int>(code);
    evt.position = moved;
    evt.vertical = vertical;
    RaiseEvent(evt);
    return TRUE;
}

BOOL SScrollView::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (msg != WM_SIZE)
        return SPanel::HandleMessage(msg, wParam, lParam, result);
    BOOL handled = SPanel::HandleMessage(msg, wParam, lParam, result);
    UpdateScrollBars();
    return handled;
}

} // namespace SKEIN
