// STabSlider: the slide between two pages of a tab control.
#include <algorithm>
#include "control/STabCtrl.h"

namespace SKEIN {

STabSlider::STabSlider(STabCtrl* owner, int oldIndex, int newIndex, int steps, int type, IInterpolator* interpolator)
    : m_offsetX(0), m_offsetY(0), m_startOffset(0), m_endOffset(0), m_steps(steps), m_step(0),
      m_vertical(owner->IsVerticalStrip() != FALSE), m_running(false), m_interpolator(interpolator), m_owner(owner)
{
    m_flags &= ~kWndVisible;
    owner->LinkChild(this, type == 0 ? nullptr : SKEIN_ICWND_FIRST);
    LoadFromXml(pugi::xml_node());
    RECT area;
    owner->GetChildAreaRect(&area);
    SetFixedRect(&area);
    int w = area.right - area.left;
    int h = area.bottom - area.top;
    m_surface = NewRenderTarget(m_vertical ? w : 2 * w, m_vertical ? 2 * h : h);
    int half = m_vertical ? h : w;
    bool forward = newIndex > oldIndex;
    m_startOffset = forward ? 0 : half;
    m_endOffset = forward ? half : 0;
    (m_vertical ? m_offsetY : m_offsetX) = m_startOffset;
    STabPage* oldPage = owner->PageAt(oldIndex);
    STabPage* newPage = owner->PageAt(newIndex);
    bool below = type == 0;
    PaintPageInto(m_startOffset, below);
    oldPage->ChangeVisibility(FALSE, FALSE);
    newPage->ChangeVisibility(TRUE, FALSE);
    PaintPageInto(m_endOffset, below);
    if (m_container)
        m_container->AddTimelineHandler(this);
    newPage->ChangeVisibility(FALSE, FALSE);
    ChangeVisibility(TRUE, TRUE);
    m_running = true;
}

void STabSlider::PaintPageInto(int offset, bool below)
{
    if (!m_surface)
        return;
    POINT previous{0, 0};
    int dx = m_vertical ? 0 : offset;
    int dy = m_vertical ? offset : 0;
    m_surface->SetViewportOrg(POINT{dx - m_windowRect.left, dy - m_windowRect.top});
    if (below)
        PaintUnderlay(m_surface, m_windowRect);
    else
        PaintOverlay(m_surface, m_windowRect);
    m_surface->SetViewportOrg(previous);
}

void STabSlider::OnTimelineTick()
{
    if (!m_running)
        return;
    if (++m_step > m_steps) {
        m_running = false;
        m_owner->StopSlide();
        return;
    }
    float t = static_cast<float>(m_step) / static_cast<float>(m_steps);
    float v = m_interpolator ? m_interpolator->Interpolate(t) : t;
    int offset = m_startOffset + static_cast<int>((m_endOffset - m_startOffset) * v);
    (m_vertical ? m_offsetY : m_offsetX) = offset;
    InvalidateArea();
}

BOOL STabSlider::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_PAINT:
        if (m_surface) {
            RECT source{m_offsetX, m_offsetY, m_offsetX + (m_windowRect.right - m_windowRect.left),
                        m_offsetY + (m_windowRect.bottom - m_windowRect.top)};
            reinterpret_cast<IRenderTarget*>(wParam)->AlphaBlend(&m_windowRect, m_surface, &source, 255);
        }
        *result = 0;
        return TRUE;
    case WM_SIZE: {
        BOOL handled = SWindow::HandleMessage(msg, wParam, lParam, result);
        if (m_running) {
            m_running = false;
            m_owner->StopSlide();
        }
        return handled;
    }
    case WM_DESTROY:
        m_running = false;
        if (m_container)
            m_container->RemoveTimelineHandler(this);
        return SWindow::HandleMessage(msg, wParam, lParam, result);
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
