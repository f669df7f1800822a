#include "core/SHostWnd.h"

namespace SKEIN {

void SHostWnd::InvalidateNative()
{
    if (IsTranslucent()) {
        if (m_dummy.Handle())
            ::InvalidateRect(m_dummy.Handle(), nullptr, FALSE);
    } else {
        ::InvalidateRect(m_hwnd, nullptr, FALSE);
    }
}

void SHostWnd::InvalidateRect(const RECT* rect)
{
    if (!m_hwnd || !m_hostInvalid)
        return;
    m_needRepaint = TRUE;
    InvalidateOutput(*rect);
}

void SHostWnd::InvalidateOutput(const RECT& rect)
{
    if (!m_hwnd || !m_hostInvalid)
        return;
    m_hostInvalid->CombineRect(&rect, RGN_OR);
    if (IsTranslucent()) {
        if (m_dummy.Handle())
            ::InvalidateRect(m_dummy.Handle(), nullptr, FALSE);
    } else {
        ::InvalidateRect(m_hwnd, &rect, FALSE);
    }
}

void SHostWnd::RequestFullRepaint()
{
    m_needFullRepaint = TRUE;
    m_needRepaint = TRUE;
    if (m_hostInvalid)
        m_hostInvalid->Clear();
    InvalidateNative();
}

BOOL SHostWnd::UpdateWindow()
{
    if (m_resizing)
        return FALSE;
    ::UpdateWindow(IsTranslucent() ? m_dummy.Handle() : m_hwnd);
    return TRUE;
}

IRenderTarget* SHostWnd::AcquireRenderTarget(const RECT* rect, int paintFlags)
{
    SRefPtr<IRenderTarget> target = NewRenderTarget(rect->right - rect->left, rect->bottom - rect->top);
    if (!target)
        return nullptr;
    target->OffsetViewportOrg(-rect->left, -rect->top, nullptr);
    if (paintFlags != kPaintHidden && m_memTarget) {
        if (m_caretDrawn)
            InvertCaret();
        target->BitBlt(rect, m_memTarget, rect->left, rect->top, SRCCOPY);
    }
    return target.Detach();
}

void SHostWnd::ReleaseRenderTarget(IRenderTarget* rt, const RECT* rect, int paintFlags)
{
    if (paintFlags != kPaintHidden && m_memTarget) {
        m_memTarget->BitBlt(rect, rt, rect->left, rect->top, SRCCOPY);
        if (m_caretDrawn)
            InvertCaret();
        if (m_inPaint) {
            m_pendingRects.AddTail(*rect);
        } else if (m_hwnd) {
            HDC dc = ::GetDC(m_hwnd);
            Output(dc, *rect);
            ::ReleaseDC(m_hwnd, dc);
        }
    }
    rt->Release();
}

LRESULT SHostWnd::OnDeferredUpdate(SwndHandle handle)
{
    if (m_deferredUpdates.Find(handle))
        return 0;
    if (m_deferredUpdates.Count() == 0)
        InvalidateNative();
    m_deferredUpdates.AddTail(handle);
    return 0;
}

// ---- the paint pass ----

void SHostWnd::PaintPass(HDC dc, DWORD origin)
{
    if (!m_memTarget || !m_hostInvalid)
        return;
    RelayoutIfDirty();
    if (m_needFullRepaint) {
        m_hostInvalid->Clear();
        m_needFullRepaint = FALSE;
        m_needRepaint = TRUE;
    }
    RECT output = {0, 0, 0, 0};
    if (m_needRepaint) {
        PaintInvalidPart(output);
    } else {
        m_hostInvalid->GetRgnBox(&output);
        m_hostInvalid->Clear();
    }
    if (origin != kDummyPaint)
        output = m_windowRect;
    RunDeferredUpdates(output);
    Output(dc, output);
}

void SHostWnd::PaintInvalidPart(RECT& output)
{
    SRefPtr<IRegion> fresh = NewRegion();
    if (!fresh)
        return;
    m_needRepaint = FALSE;
    SPaintState state;
    BeginPaintState(m_memTarget, &state);
    // Invalidations made while painting go to the fresh region, for the next pass.
    SRefPtr<IRegion> region = m_hostInvalid;
    m_hostInvalid = fresh;
    // The caret leaves the target whole before the clear and the tree paint, and comes back
    // whole after, so the pixels beneath it are the tree's even where the clip cuts it.
    if (m_caretDrawn)
        InvertCaret();
    if (region->IsEmpty()) {
        output = m_windowRect;
        m_memTarget->PushClipRect(&output, RGN_COPY);
    } else {
        RECT box;
        region->GetRgnBox(&box);
        ::IntersectRect(&output, &box, &m_windowRect);
        m_memTarget->PushClipRegion(region, RGN_COPY);
    }
    m_memTarget->ClearRect(&output, 0);
    RebuildZOrder();
    PaintSubtree(m_memTarget, region->IsEmpty() ? nullptr : region.Get());
    m_memTarget->PopClip();
    if (m_caretDrawn)
        InvertCaret();
    EndPaintState(m_memTarget, &state);
}

void SHostWnd::RunDeferredUpdates(RECT& output)
{
    m_inPaint = TRUE;
    while (m_deferredUpdates.Count() > 0) {
        SwndHandle handle = m_deferredUpdates.First()->value;
        m_deferredUpdates.RemoveNode(m_deferredUpdates.First());
        if (SWindow* window = SWindowMgr::GetWindow(handle))
            window->UpdateInvalidRegion();
    }
    for (auto* node = m_pendingRects.First(); node; node = node->next)
        ::UnionRect(&output, &output, &node->value);
    m_pendingRects.RemoveAll();
    m_inPaint = FALSE;
}

void SHostWnd::Output(HDC dc, const RECT& rect)
{
    if (::IsRectEmpty(&rect))
        return;
    if (IsTranslucent()) {
        UpdateLayered(m_memTarget, m_attr.Alpha(), &rect);
        return;
    }
    if (!dc)
        return;
    HDC source = m_memTarget->GetDC(0);
    ::BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, rect.left, rect.top,
             SRCCOPY);
    m_memTarget->ReleaseDC(source);
}

} // namespace SKEIN
