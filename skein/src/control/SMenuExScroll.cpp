// Scrolling a popup-menu level taller than its window: the strips, the wheel and the selection.
#include <algorithm>
#include "control/SMenuEx.h"

namespace SKEIN {

namespace {

const float kStripHeightDp = 12.0f;
const COLORREF kStripBack = 0xFFFFFFFF;
const COLORREF kArrowColor = 0xFF404040;
const COLORREF kArrowDisabledColor = 0xFFB0B0B0;

} // namespace

SMenuExScroller::SMenuExScroller(SMenuExRootBase* root, bool down) : m_root(root), m_down(down)
{
    m_style.ApplyAttribute(SStringW(L"trackMouseEvent"), SStringW(L"1"), TRUE);
}

BOOL SMenuExScroller::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    IRenderTarget* rt = reinterpret_cast<IRenderTarget*>(wParam);
    if (msg == WM_ERASEBKGND) {
        RECT inner;
        ComputeInnerRect(&inner);
        if (ISkinObj* skin = m_root->m_itemSkin)
            skin->DrawByState(rt, &inner, 0);
        else
            rt->FillSolidRect(&inner, kStripBack);
        *result = 1;
        return TRUE;
    }
    if (msg == WM_PAINT) {
        PaintArrow(rt);
        *result = 0;
        return TRUE;
    }
    return SWindow::HandleMessage(msg, wParam, lParam, result);
}

// A triangle a third of the strip high, pointing the way the strip scrolls, one row at a time.
void SMenuExScroller::PaintArrow(IRenderTarget* rt)
{
    RECT inner;
    ComputeInnerRect(&inner);
    int rows = std::max<int>(1, (inner.bottom - inner.top) / 3);
    int centre = (inner.left + inner.right) / 2;
    int top = (inner.top + inner.bottom - rows) / 2;
    COLORREF color = TestDisabled() ? kArrowDisabledColor : kArrowColor;
    for (int row = 0; row < rows; ++row) {
        int half = m_down ? rows - 1 - row : row;
        RECT line{centre - half, top + row, centre + half + 1, top + row + 1};
        rt->FillSolidRect(&line, color);
    }
}

// ---- the level ----

int SMenuExBase::StripHeight() const
{
    return m_root->Pixels(SLayoutSize(kStripHeightDp, SLayoutSize::kDp));
}

int SMenuExBase::ScrollRange() const
{
    if (m_contentHeight <= m_client.cy)
        return 0;
    return std::max(0, m_contentHeight - static_cast<int>(m_client.cy) + 2 * StripHeight());
}

// Without room for every row the strips take the window's top and bottom and the root scrolls
// between them.
void SMenuExBase::ArrangeView(SIZE client)
{
    m_client = client;
    int range = ScrollRange();
    bool scrolls = m_contentHeight > client.cy;
    int strip = scrolls ? StripHeight() : 0;
    m_scrollPos = std::clamp(m_scrollPos, 0, range);
    RECT rootRect{0, strip - m_scrollPos, client.cx, strip - m_scrollPos + m_contentHeight};
    m_root->SetFixedRect(&rootRect);
    for (SMenuExScroller* scroller : m_scrollers) {
        scroller->ChangeVisibility(scrolls);
        if (!scrolls)
            continue;
        RECT rect{0, scroller->IsDown() ? client.cy - strip : 0, client.cx, scroller->IsDown() ? client.cy : strip};
        scroller->SetFixedRect(&rect);
        scroller->EnableWindow(scroller->IsDown() ? m_scrollPos < range : m_scrollPos > 0);
    }
    if ((m_scrollStep < 0 && m_scrollPos == 0) || (m_scrollStep > 0 && m_scrollPos == range)) {
        KillTimer(kMenuTimerScroll);
        m_scrollStep = 0;
    }
}

void SMenuExBase::ScrollBy(int dy)
{
    int pos = std::clamp(m_scrollPos + dy, 0, ScrollRange());
    if (pos == m_scrollPos)
        return;
    m_scrollPos = pos;
    ArrangeView(m_client);
}

// Scrolls the least that shows the whole item between the strips.
void SMenuExBase::ScrollIntoView(SWindow* item)
{
    if (!item || ScrollRange() == 0)
        return;
    const RECT& rect = item->GetWindowRect();
    int top = StripHeight();
    int bottom = m_client.cy - top;
    if (rect.top < top)
        ScrollBy(rect.top - top);
    else if (rect.bottom > bottom)
        ScrollBy(rect.bottom - bottom);
}

void SMenuExBase::OnScrollerEvent(SMenuExScroller* scroller, EventArgs* evt)
{
    if (evt->GetId() == EventSwndMouseHover::EventID) {
        int row = m_root->Pixels(m_root->m_itemHeight);
        m_scrollStep = scroller->IsDown() ? row : -row;
        ScrollBy(m_scrollStep);
        if (m_scrollStep)
            SetTimer(kMenuTimerScroll, kMenuScrollDelay);
    } else if (evt->GetId() == EventSwndMouseLeave::EventID) {
        KillTimer(kMenuTimerScroll);
        m_scrollStep = 0;
    }
}

} // namespace SKEIN
