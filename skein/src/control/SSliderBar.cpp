// SSliderBar: part geometry, painting and the mapping of the mouse to a value.
#include "control/SSliderBar.h"
#include <algorithm>
#include "core/SEvents.h"
#include "res.mgr/SSkinPoolMgr.h"
#include "SCtrlAttr.h"
#include "SPanelUtil.h"

namespace SKEIN {

using namespace ctrl;

SSliderBar::SSliderBar()
    : m_dragging(0), m_dragStart{0, 0}, m_dragStartValue(0), m_hoverPart(-1),
      m_thumbSkin(FindSystemSkin(kSysSkinSliderThumb, 100)), m_thumbInRail(0)
{
    m_eventSet.DeclareEvent(EventSliderPos::EventID, EventSliderPos::EventName());
}

HRESULT SSliderBar::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"thumbSkin"))
        m_thumbSkin = FindSkin(value, GetScale());
    else if (Is(name, L"thumbInRail"))
        m_thumbInRail = ParseInt(value);
    else
        return SProgress::ApplyAttribute(name, value, loading);
    return AfterAttribute(name, value, loading, S_OK);
}

void SSliderBar::ApplyColorTint(COLORREF color)
{
    SProgress::ApplyColorTint(color);
    if (m_thumbSkin)
        m_thumbSkin->ApplyColorize(color);
}

void SSliderBar::ApplyScale(int scale)
{
    SProgress::ApplyScale(scale);
    RescaleSkin(m_thumbSkin, scale);
}

SIZE SSliderBar::ComputePreferredSize(const RECT*)
{
    SIZE bkgnd = SkinSize(m_bkgndSkin);
    SIZE thumb = SkinSize(m_thumbSkin);
    if (m_vertical)
        return SIZE{std::max(bkgnd.cx, thumb.cx), 100};
    return SIZE{100, std::max(bkgnd.cy, thumb.cy)};
}

// ---- geometry ----

int SSliderBar::AxisLength() const
{
    RECT inner;
    ComputeInnerRect(&inner);
    return m_vertical ? inner.bottom - inner.top : inner.right - inner.left;
}

int SSliderBar::ThumbLength() const
{
    SIZE thumb = SkinSize(m_thumbSkin);
    return m_vertical ? thumb.cy : thumb.cx;
}

void SSliderBar::PartSpan(int part, int* from, int* to) const
{
    int length = AxisLength();
    int thumb = ThumbLength();
    long long range = static_cast<long long>(m_maxValue) - m_minValue;
    // A value outside the range (set before the range) keeps the thumb at an end.
    long long along = std::min(std::max(static_cast<long long>(m_value) - m_minValue, 0LL), std::max(range, 0LL));
    int e = range > 0 ? static_cast<int>((length - thumb) * along / range) : 0;
    switch (part) {
    case kPartRail: *from = thumb / 2; *to = length - thumb / 2; break;
    case kPartPosition: *from = m_thumbInRail ? 0 : thumb / 2; *to = e + thumb / 2; break;
    case kPartThumb: *from = e; *to = e + thumb; break;
    default:
        *from = m_thumbInRail ? 0 : thumb / 2;
        *to = m_thumbInRail ? length : length - thumb / 2;
        break;
    }
}

RECT SSliderBar::PartRect(int part) const
{
    if (part < kPartRail || part > kPartBackground)
        return RECT{0, 0, 0, 0};
    RECT inner;
    ComputeInnerRect(&inner);
    int from = 0, to = 0;
    PartSpan(part, &from, &to);
    SIZE bkgnd = SkinSize(m_bkgndSkin);
    SIZE thumb = SkinSize(m_thumbSkin);
    int cross = m_vertical ? bkgnd.cx : bkgnd.cy;
    if (part == kPartThumb)
        cross = std::max(cross, static_cast<int>(m_vertical ? thumb.cx : thumb.cy));
    RECT rect;
    if (m_vertical) {
        rect.left = inner.left + (inner.right - inner.left - cross) / 2;
        rect.right = rect.left + cross;
        rect.top = inner.top + from;
        rect.bottom = inner.top + std::max(from, to);
    } else {
        rect.top = inner.top + (inner.bottom - inner.top - cross) / 2;
        rect.bottom = rect.top + cross;
        rect.left = inner.left + from;
        rect.right = inner.left + std::max(from, to);
    }
    return rect;
}

int SSliderBar::HitTest(POINT pt) const
{
    for (int part : {kPartThumb, kPartPosition, kPartRail}) {
        RECT rect = PartRect(part);
        if (::PtInRect(&rect, pt))
            return part;
    }
    return -1;
}

int SSliderBar::RailOffset(POINT pt) const
{
    RECT rail = PartRect(kPartRail);
    return m_vertical ? pt.y - rail.top : pt.x - rail.left;
}

long long SSliderBar::ValueSpan(int offset) const
{
    int rail = RailLength();
    if (rail <= 0)
        return 0;
    return (static_cast<long long>(m_maxValue) - m_minValue + 1) * offset / rail;
}

int SSliderBar::ClampToRange(long long value) const
{
    return static_cast<int>(std::min<long long>(std::max<long long>(value, m_minValue), m_maxValue));
}

// ---- painting ----

void SSliderBar::OnPaint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT rect = PartRect(kPartBackground);
    if (m_bkgndSkin)
        m_bkgndSkin->DrawByState(rt, &rect, 0);
    if (m_value != m_minValue && m_posSkin) {
        rect = PartRect(kPartPosition);
        m_posSkin->DrawByState(rt, &rect, 0);
    }
    if (m_thumbSkin) {
        rect = PartRect(kPartThumb);
        m_thumbSkin->DrawByState(rt, &rect, m_dragging ? 2 : (m_hoverPart == kPartThumb ? 1 : 0));
    }
    EndPaintState(rt, &saved);
}

void SSliderBar::InvalidateThumb()
{
    RECT thumb = PartRect(kPartThumb);
    InvalidateArea(&thumb);
}

// ---- mouse ----

void SSliderBar::SetValueAndNotify(int value)
{
    SetClampedValue(value);
    EventSliderPos evt(this);
    evt.newPos = m_value;
    RaiseEvent(evt);
}

void SSliderBar::OnLeftButtonDown(POINT pt)
{
    TakeMouseCapture();
    m_dragging = 1;
    m_dragStart = pt;
    if (HitTest(pt) == kPartThumb) {
        m_dragStartValue = m_value;
        InvalidateArea();
        return;
    }
    SetValueAndNotify(ClampToRange(m_minValue + ValueSpan(RailOffset(pt))));
    m_dragStartValue = m_value;
}

void SSliderBar::OnMouseMove(POINT pt)
{
    if (m_dragging) {
        int offset = m_vertical ? pt.y - m_dragStart.y : pt.x - m_dragStart.x;
        int value = ClampToRange(ValueSpan(offset) + m_dragStartValue);
        if (value != m_value) {
            m_value = value;
            InvalidateArea();
            EventSliderPos evt(this);
            evt.newPos = m_value;
            RaiseEvent(evt);
        }
        return;
    }
    int part = HitTest(pt);
    bool thumbChanged = (part == kPartThumb) != (m_hoverPart == kPartThumb);
    m_hoverPart = part;
    if (thumbChanged)
        InvalidateThumb();
}

void SSliderBar::OnLeftButtonUp(POINT pt)
{
    DropMouseCapture();
    EndDrag(pt);
}

void SSliderBar::EndDrag(POINT pt)
{
    if (m_dragging) {
        m_dragging = 0;
        InvalidateThumb();
    }
    OnMouseMove(pt);
}

void SSliderBar::OnMouseLeave()
{
    if (m_dragging || m_hoverPart != kPartThumb)
        return;
    InvalidateThumb();
    m_hoverPart = -1;
}

BOOL SSliderBar::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    SetMsgHandled(TRUE);
    switch (msg) {
    case WM_PAINT: OnPaint(reinterpret_cast<IRenderTarget*>(wParam)); break;
    case WM_MOUSEMOVE: OnMouseMove(MousePoint(lParam)); break;
    case WM_LBUTTONDOWN: OnLeftButtonDown(MousePoint(lParam)); break;
    case WM_LBUTTONUP: OnLeftButtonUp(MousePoint(lParam)); break;
    case WM_MOUSELEAVE: OnMouseLeave(); break;
    case WM_CAPTURECHANGED:
        EndDrag(POINT{-1, -1});
        return SProgress::HandleMessage(msg, wParam, lParam, result);
    default: return SProgress::HandleMessage(msg, wParam, lParam, result);
    }
    return IsMsgHandled();
}

} // namespace SKEIN
