// SWindow: painting the subtree in z-order, the default paint handlers, the cache bitmap and
// invalidation.
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

namespace {

const COLORREF kFocusFrameColor = 0xFF585858;

bool IsZeroRect(const RECT& rect)
{
    return rect.left == 0 && rect.top == 0 && rect.right == 0 && rect.bottom == 0;
}

bool RegionGiven(IRegion* region)
{
    return region && !region->IsEmpty();
}

// Pops the clips pushed while painting one window.
class SClipScope {
public:
    explicit SClipScope(IRenderTarget* rt) : m_rt(rt), m_count(0) {}
    ~SClipScope()
    {
        while (m_count-- > 0)
            m_rt->PopClip();
    }
    void PushRect(const RECT& rect)
    {
        if (SUCCEEDED(m_rt->PushClipRect(&rect, RGN_AND)))
            ++m_count;
    }
    void PushRegion(IRegion* region)
    {
        if (SUCCEEDED(m_rt->PushClipRegion(region, RGN_AND)))
            ++m_count;
    }

private:
    IRenderTarget* m_rt;
    int m_count;
};

} // namespace

// ---- paint settings ----

void SWindow::BeginPaintState(IRenderTarget* rt, SPaintState* saved)
{
    int state = StateIndex();
    if (IFont* font = m_style.GetStateFont(state))
        rt->SelectObject(font, &saved->font);
    COLORREF color = m_style.GetStateTextColor(state);
    if (color != kColorUnset)
        saved->textColor = rt->SetTextColor(color);
}

void SWindow::EndPaintState(IRenderTarget* rt, SPaintState* saved)
{
    if (saved->font) {
        rt->SelectObject(saved->font, nullptr);
        saved->font->Release();
        saved->font = nullptr;
    }
    if (saved->textColor != kColorUnset) {
        rt->SetTextColor(saved->textColor);
        saved->textColor = kColorUnset;
    }
}

void SWindow::ApplyAncestorPaintSettings(IRenderTarget* rt)
{
    if (m_parent)
        m_parent->ApplyAncestorPaintSettings(rt);
    SPaintState discarded;
    BeginPaintState(rt, &discarded);
    if (discarded.font)
        discarded.font->Release();
}

// ---- the subtree ----

void SWindow::PaintSubtree(IRenderTarget* rt, IRegion* region)
{
    PaintSubtreeRange(rt, region, 0, 0xFFFFFFFF);
}

void SWindow::PaintSubtreeRange(IRenderTarget* rt, IRegion* region, UINT zBegin, UINT zEnd)
{
    if (m_state & kStateInvisible)
        return;
    IRenderTarget* outer = rt;
    bool throughLayer = IsLayered() && m_layerTarget && m_layerTarget.Get() != rt;
    if (throughLayer) {
        rt = m_layerTarget;
        rt->SelectObject(outer->GetCurrentObject(kRenderObjFont), nullptr);
        rt->SetTextColor(outer->GetTextColor());
        if (RegionGiven(region))
            rt->PushClipRegion(region, RGN_COPY);
        else
            rt->PushClipRect(&m_windowRect, RGN_COPY);
        rt->ClearRect(&m_windowRect, 0);
    }
    PaintSelfAndChildren(rt, region, zBegin, zEnd);
    if (throughLayer) {
        rt->PopClip();
        outer->AlphaBlend(&m_windowRect, rt, &m_windowRect, m_style.GetAlpha());
        outer->SelectObject(rt->GetCurrentObject(kRenderObjFont), nullptr);
    }
}

void SWindow::PaintSelfAndChildren(IRenderTarget* rt, IRegion* region, UINT zBegin, UINT zEnd)
{
    RECT inner;
    ComputeInnerRect(&inner);
    RECT dirty = m_windowRect;
    if (RegionGiven(region))
        region->GetRgnBox(&dirty);
    RECT common;
    bool dirtyInsideInner = ::IntersectRect(&common, &dirty, &inner) && ::EqualRect(&common, &dirty);
    bool inRange = m_zOrder >= zBegin && m_zOrder < zEnd;

    SPaintState saved;
    {
        SClipScope clips(rt);
        if (m_windowRegion) {
            SRefPtr<IRegion> shape = PlacedWindowRegion();
            if (shape)
                clips.PushRegion(shape);
        }
        if (IsClipClient())
            clips.PushRect(inner);
        if (inRange && (!RegionGiven(region) || region->RectInRegion(&inner)))
            PaintClient(rt);
        BeginPaintState(rt, &saved);
        PaintChildren(rt, region, zBegin, zEnd);
        EndPaintState(rt, &saved);
    }
    if (inRange && !dirtyInsideInner && (!RegionGiven(region) || region->RectInRegion(&m_windowRect)))
        PaintNonClient(rt);
}

// The window region moved to the window's position; null without one.
SRefPtr<IRegion> SWindow::PlacedWindowRegion() const
{
    if (!m_windowRegion)
        return SRefPtr<IRegion>();
    SRefPtr<IRegion> shape = NewRegion();
    if (shape) {
        shape->CombineRgn(m_windowRegion, RGN_COPY);
        shape->Offset(POINT{m_windowRect.left, m_windowRect.top});
    }
    return shape;
}

void SWindow::PaintChildren(IRenderTarget* rt, IRegion* region, UINT zBegin, UINT zEnd)
{
    for (SWindow* child = m_firstChild; child; child = child->m_nextSibling) {
        if (child->m_zOrder >= zEnd)
            break;
        if (child->m_zOrder < zBegin) {
            SWindow* next = child->m_nextSibling;
            if (next && next->m_zOrder <= zBegin)
                continue;
            if (!next) {
                SWindow* deepest = child;
                while (deepest->m_lastChild)
                    deepest = deepest->m_lastChild;
                if (deepest->m_zOrder < zBegin)
                    break;
            }
        }
        child->PaintSubtreeRange(rt, region, zBegin, zEnd);
    }
}

void SWindow::PaintClient(IRenderTarget* rt)
{
    if (!NeedsOwnLayer()) {
        SendUiMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
        SendUiMessage(WM_PAINT, reinterpret_cast<WPARAM>(rt));
        return;
    }
    if (!m_cacheTarget)
        return;
    if (m_flags & kWndCacheDirty) {
        m_cacheTarget->ClearRect(&m_windowRect, 0);
        m_cacheTarget->SelectObject(rt->GetCurrentObject(kRenderObjFont), nullptr);
        m_cacheTarget->SetTextColor(rt->GetTextColor());
        SendUiMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_cacheTarget.Get()));
        SendUiMessage(WM_PAINT, reinterpret_cast<WPARAM>(m_cacheTarget.Get()));
        m_flags &= ~kWndCacheDirty;
    }
    RECT clip, area;
    rt->GetClipBox(&clip);
    if (!::IntersectRect(&area, &clip, &m_windowRect))
        return;
    rt->AlphaBlend(&area, m_cacheTarget, &area, IsLayered() ? 255 : m_style.GetAlpha());
}

void SWindow::PaintNonClient(IRenderTarget* rt)
{
    RECT inner;
    ComputeInnerRect(&inner);
    if (::EqualRect(&inner, &m_windowRect))
        return;
    if (NeedsOwnLayer()) {
        // The border ring of the cache bitmap (see PaintClient).
        if (!m_cacheTarget)
            return;
        SendUiMessage(WM_NCPAINT, reinterpret_cast<WPARAM>(m_cacheTarget.Get()));
        SClipScope clips(rt);
        clips.PushRect(m_windowRect);
        rt->ExcludeClipRect(&inner);
        if (SRefPtr<IRegion> shape = PlacedWindowRegion())
            clips.PushRegion(shape);
        rt->AlphaBlend(&m_windowRect, m_cacheTarget, &m_windowRect, IsLayered() ? 255 : m_style.GetAlpha());
        return;
    }
    SClipScope clips(rt);
    if (SRefPtr<IRegion> shape = PlacedWindowRegion())
        clips.PushRegion(shape);
    SendUiMessage(WM_NCPAINT, reinterpret_cast<WPARAM>(rt));
}

BOOL SWindow::NeedsOwnLayer() const
{
    return (m_flags & kWndCache) || (!IsLayered() && m_style.GetAlpha() != 255);
}

// ---- default paint handlers ----

void SWindow::PaintBackground(IRenderTarget* rt)
{
    RECT inner;
    ComputeInnerRect(&inner);
    if (!m_skin) {
        if (m_style.GetBkgndColor() != kColorUnset)
            rt->FillSolidRect(&inner, m_style.GetBkgndColor());
        return;
    }
    int state = StateIndex();
    m_skin->DrawByState(rt, &inner, state < m_skin->GetStateCount() ? state : 0);
}

void SWindow::PaintBorder(IRenderTarget* rt)
{
    if ((m_state & kStateInvisible) || IsZeroRect(m_style.GetMarginRect()))
        return;
    RECT inner;
    ComputeInnerRect(&inner);
    SClipScope clips(rt);
    clips.PushRect(m_windowRect);
    rt->ExcludeClipRect(&inner);
    if (m_ncSkin) {
        int state = (m_state & kStateHover) && m_ncSkin->GetStateCount() > 1 ? 1 : 0;
        m_ncSkin->DrawByState(rt, &m_windowRect, state);
    } else if (m_style.GetBorderColor() != kColorUnset) {
        rt->FillSolidRect(&m_windowRect, m_style.GetBorderColor());
    }
}

void SWindow::DrawTextContent(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT rect;
    ComputeTextRect(&rect);
    const SStringW& text = m_text.GetText(false);
    RenderText(rt, text.c_str(), text.Length(), &rect, m_style.GetDrawTextFormat());
    if (HoldsFocus())
        PaintFocusIndicator(rt);
    EndPaintState(rt, &saved);
}

void SWindow::RenderText(IRenderTarget* rt, const wchar_t* text, int length, RECT* rect, UINT format)
{
    if (length > 0)
        rt->DrawText(text, length, rect, format);
}

void SWindow::PaintFocusIndicator(IRenderTarget* rt)
{
    if (!IsFocusable() || !(m_flags & kWndDrawFocusRect))
        return;
    RECT rect;
    ComputeTextRect(&rect);
    ::InflateRect(&rect, -2, -2);
    IPen* pen = nullptr;
    if (FAILED(rt->CreatePen(PS_DOT, kFocusFrameColor, 1, &pen)) || !pen)
        return;
    IRenderObj* previous = nullptr;
    rt->SelectObject(pen, &previous);
    rt->DrawRectangle(&rect);
    rt->SelectObject(previous, nullptr);
    if (previous)
        previous->Release();
    pen->Release();
}

// ---- invalidation ----

void SWindow::InvalidateAreaCore(const RECT& rect, BOOL dirtyCache)
{
    if (dirtyCache)
        m_flags |= kWndCacheDirty;
    if ((m_state & kStateInvisible) || IsRedrawLocked())
        return;
    RECT area;
    if (!::IntersectRect(&area, &rect, &m_windowRect))
        return;
    if (m_style.IsBkgndBlend()) {
        if (m_parent)
            m_parent->InvalidateAreaCore(area, FALSE);
        else if (m_container)
            m_container->InvalidateRect(&area);
        return;
    }
    if (!m_invalidRegion) {
        m_invalidRegion = NewRegion();
        if (!m_invalidRegion)
            return;
    }
    m_invalidRegion->CombineRect(&area, RGN_OR);
    HWND host = m_container ? m_container->GetHostHwnd() : nullptr;
    if (host)
        ::SendMessageW(host, kHostMsgUpdateSwnd, m_handle, 0);
}

void SWindow::InvalidateArea(const RECT* rect)
{
    InvalidateAreaCore(rect ? *rect : m_windowRect, TRUE);
}

void SWindow::InvalidateClientArea()
{
    RECT inner;
    ComputeInnerRect(&inner);
    InvalidateAreaCore(inner, TRUE);
}

void SWindow::RepaintHostNow()
{
    if (m_container)
        m_container->UpdateWindow();
}

void SWindow::SetWindowRegion(IRegion* region)
{
    m_windowRegion = region;
    InvalidateArea();
}

} // namespace SKEIN
