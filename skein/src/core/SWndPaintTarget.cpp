// SWindow: drawing outside the paint pass (paint targets, underlay and overlay, direct
// repaint of an invalid region, the border ring) and the layer bitmap of layered windows.
#include "core/SApp.h"
#include "core/SWnd.h"
#include "interface/SwndContainer-i.h"

namespace SKEIN {

namespace {

const UINT kZEnd = 0xFFFFFFFF;

IRenderFactory* AppRenderFactory()
{
    SApplication* app = SApplication::Instance();
    return app ? app->RenderFactory() : nullptr;
}

} // namespace

SRefPtr<IRegion> SWindow::NewRegion(const RECT* rect)
{
    SRefPtr<IRegion> region;
    IRegion* created = nullptr;
    IRenderFactory* factory = AppRenderFactory();
    if (factory && factory->CreateRegion(&created)) {
        region.Attach(created);
        if (rect)
            region->CombineRect(rect, RGN_COPY);
    }
    return region;
}

SRefPtr<IRenderTarget> SWindow::NewRenderTarget(int width, int height)
{
    SRefPtr<IRenderTarget> target;
    IRenderTarget* created = nullptr;
    IRenderFactory* factory = AppRenderFactory();
    if (factory && factory->CreateRenderTarget(&created, width, height))
        target.Attach(created);
    return target;
}

// The target follows wanted: created or resized to the window with its origin at the window's
// top-left corner, or dropped.
void SWindow::UpdateOwnTarget(SRefPtr<IRenderTarget>& target, bool wanted)
{
    if (!wanted) {
        target = nullptr;
        return;
    }
    SIZE size{m_windowRect.right - m_windowRect.left, m_windowRect.bottom - m_windowRect.top};
    if (!target) {
        target = NewRenderTarget(size.cx, size.cy);
        if (!target)
            return;
    } else {
        target->Resize(size);
    }
    target->SetViewportOrg(POINT{-m_windowRect.left, -m_windowRect.top});
}

SWindow* SWindow::NearestLayeredWindow()
{
    for (SWindow* window = this; window; window = window->m_parent) {
        if (window->IsLayered() && window->m_layerTarget)
            return window;
    }
    return nullptr;
}

SWindow* SWindow::DeepestLastDescendant()
{
    SWindow* deepest = this;
    while (deepest->m_lastChild)
        deepest = deepest->m_lastChild;
    return deepest;
}

IRenderTarget* SWindow::AcquirePaintTarget(const RECT* rect, int mode, BOOL clientOnly)
{
    RECT area;
    if (clientOnly)
        ComputeInnerRect(&area);
    else
        area = m_windowRect;
    if (rect)
        ::IntersectRect(&area, &area, rect);
    m_paintRecord = SPaintRecord{area, mode, IsRedrawLocked() != FALSE};
    if (m_paintRecord.dummy || !m_container) {
        m_paintRecord.dummy = true;
        return NewRenderTarget(0, 0).Detach();
    }
    for (SWindow* ancestor = m_parent; ancestor; ancestor = ancestor->m_parent) {
        RECT inner;
        ancestor->ComputeInnerRect(&inner);
        ::IntersectRect(&area, &area, &inner);
    }
    m_paintRecord.rect = area;
    m_container->RebuildZOrder();
    SWindow* layered = NearestLayeredWindow();
    IRenderTarget* rt = layered ? layered->m_layerTarget.Get() : m_container->AcquireRenderTarget(&area, mode);
    if (!rt)
        return nullptr;
    if (layered)
        rt->AddRef();
    rt->PushClipRect(&area, RGN_COPY);
    if (mode == kPaintWithBackground) {
        rt->ClearRect(&area, 0);
        SRefPtr<IRegion> region = NewRegion(&area);
        (layered ? layered : GetRootWindow())->PaintSubtreeRange(rt, region, 0, m_zOrder);
    }
    ApplyAncestorPaintSettings(rt);
    return rt;
}

void SWindow::ReturnPaintTarget(IRenderTarget* rt)
{
    if (!rt)
        return;
    if (m_paintRecord.dummy) {
        rt->Release();
        return;
    }
    const RECT& area = m_paintRecord.rect;
    SWindow* root = GetRootWindow();
    if (m_paintRecord.mode == kPaintWithBackground) {
        SRefPtr<IRegion> region = NewRegion(&area);
        root->PaintSubtreeRange(rt, region, m_zOrder + 1, kZEnd);
    }
    rt->PopClip();
    SWindow* layered = NearestLayeredWindow();
    if (!layered) {
        m_container->ReleaseRenderTarget(rt, &area, m_paintRecord.mode);
        return;
    }
    rt->Release();
    if (m_paintRecord.mode == kPaintHidden)
        return;
    IRenderTarget* host = m_container->AcquireRenderTarget(&area, kPaintPlain);
    if (!host)
        return;
    SRefPtr<IRegion> region = NewRegion(&area);
    host->PushClipRect(&area, RGN_COPY);
    host->ClearRect(&area, 0);
    root->PaintSubtreeRange(host, region, 0, layered->m_zOrder);
    host->AlphaBlend(&area, layered->m_layerTarget, &area, layered->m_style.GetAlpha());
    root->PaintSubtreeRange(host, region, layered->DeepestLastDescendant()->m_zOrder + 1, kZEnd);
    host->PopClip();
    m_container->ReleaseRenderTarget(host, &area, kPaintPlain);
}

void SWindow::PaintAroundSelf(IRenderTarget* rt, const RECT& rect, bool below)
{
    RECT area;
    if (!::IntersectRect(&area, &m_windowRect, &rect))
        return;
    rt->PushClipRect(&area, RGN_AND);
    if (m_container)
        m_container->RebuildZOrder();
    SWindow* root = GetRootWindow();
    SPaintState discarded;
    root->BeginPaintState(rt, &discarded);
    if (discarded.font)
        discarded.font->Release();
    SRefPtr<IRegion> region = NewRegion(&area);
    if (below) {
        rt->ClearRect(&area, 0);
        root->PaintSubtreeRange(rt, region, 0, m_zOrder);
    } else {
        root->PaintSubtreeRange(rt, region, m_zOrder + 1, kZEnd);
    }
    rt->PopClip();
}

void SWindow::PaintUnderlay(IRenderTarget* rt, const RECT& rect)
{
    PaintAroundSelf(rt, rect, true);
}

void SWindow::PaintOverlay(IRenderTarget* rt, const RECT& rect)
{
    PaintAroundSelf(rt, rect, false);
}

void SWindow::UpdateInvalidRegion()
{
    if (m_style.IsBkgndBlend() || !m_invalidRegion || m_invalidRegion->IsEmpty())
        return;
    SRefPtr<IRegion> region(m_invalidRegion.Detach(), false);
    if (!TestVisible(TRUE))
        return;
    RECT box;
    region->GetRgnBox(&box);
    IRenderTarget* rt = AcquirePaintTarget(&box, kPaintPlain, TRUE);
    if (!rt)
        return;
    rt->PushClipRegion(region, RGN_AND);
    SendUiMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(rt));
    SendUiMessage(WM_PAINT, reinterpret_cast<WPARAM>(rt));
    PaintOverlay(rt, box);
    rt->PopClip();
    ReturnPaintTarget(rt);
}

void SWindow::RedrawNonClient()
{
    RECT inner;
    ComputeInnerRect(&inner);
    if (::EqualRect(&inner, &m_windowRect) || !m_container)
        return;
    SRefPtr<IRegion> ring = NewRegion(&m_windowRect);
    if (!ring)
        return;
    ring->CombineRect(&inner, RGN_DIFF);
    IRenderTarget* rt = AcquirePaintTarget(&m_windowRect, kPaintPlain, FALSE);
    if (!rt)
        return;
    rt->PushClipRegion(ring, RGN_AND);
    PaintUnderlay(rt, m_windowRect);
    SendUiMessage(WM_NCPAINT, reinterpret_cast<WPARAM>(rt));
    PaintOverlay(rt, m_windowRect);
    rt->PopClip();
    ReturnPaintTarget(rt);
}

} // namespace SKEIN
