#include "core/SHostWnd.h"
#include "core/SApp.h"

namespace SKEIN {

// ---- tooltip ----

void SHostWnd::CreateToolTip()
{
    SApplication* app = SApplication::Instance();
    IToolTipFactory* factory = app ? app->ToolTipFactory() : nullptr;
    m_tooltip = factory ? factory->CreateToolTip(m_hwnd) : nullptr;
    SMessageLoop* loop = m_tooltip ? GetMessageLoop() : nullptr;
    if (loop)
        loop->AddFilter(m_tooltip);
}

void SHostWnd::DestroyToolTip()
{
    if (!m_tooltip)
        return;
    if (SMessageLoop* loop = GetMessageLoop())
        loop->RemoveFilter(m_tooltip);
    SApplication* app = SApplication::Instance();
    if (IToolTipFactory* factory = app ? app->ToolTipFactory() : nullptr)
        factory->DestroyToolTip(m_tooltip);
    m_tooltip = nullptr;
}

void SHostWnd::UpdateTooltip()
{
    if (!m_tooltip)
        return;
    SWindow* hover = SWindowMgr::GetWindow(GetHover());
    SwndToolInfo info = {0, 0, {0, 0, 0, 0}, SStringW()};
    POINT pt = {static_cast<short>(LOWORD(m_lastMouseLParam)), static_cast<short>(HIWORD(m_lastMouseLParam))};
    // Only a shown window of a shown, enabled host has a tip: one hidden or out of the tree has
    // none.
    bool shown = hover && hover->GetRootWindow() == this && hover->TestVisible(TRUE) && ::IsWindowVisible(m_hwnd)
                 && ::IsWindowEnabled(m_hwnd);
    if (m_lastMouseMsg == 0 && shown && hover->ProvideTooltip(pt, &info))
        m_tooltip->UpdateTip(SwndTipId{info.handle, info.cookie}, info.rect, info.text, m_scale);
    else
        m_tooltip->ClearTip();
}

// ---- caret ----

BOOL SHostWnd::CreateCaret(SwndHandle owner, HBITMAP bitmap, int width, int height)
{
    ::CreateCaret(m_hwnd, bitmap, width, height);
    ::HideCaret(m_hwnd);
    // The old caret leaves the memory target before it goes.
    if (m_caretDrawn)
        BlinkCaret();
    m_caret.Attach(new SCaret(owner, bitmap, width, height));
    return TRUE;
}

BOOL SHostWnd::ShowCaret(BOOL show)
{
    m_caretShown = show;
    if (show) {
        StartHostTimer(kHostTimerCaret, ::GetCaretBlinkTime());
        if (!m_caretDrawn)
            BlinkCaret();
    } else {
        StopHostTimer(kHostTimerCaret);
        if (m_caretDrawn)
            BlinkCaret();
    }
    return TRUE;
}

BOOL SHostWnd::SetCaretPos(int x, int y)
{
    if (!m_caret)
        return FALSE;
    ::SetCaretPos(x, y);
    if (!m_caretShown || !m_caretDrawn) {
        m_caretPos = POINT{x, y};
        return TRUE;
    }
    RECT old = InvertCaret();
    m_caretPos = POINT{x, y};
    RECT drawn = InvertCaret();
    InvalidateOutput(old);
    InvalidateOutput(drawn);
    return TRUE;
}

RECT SHostWnd::InvertCaret()
{
    RECT area = {0, 0, 0, 0};
    if (m_caret && m_memTarget)
        m_caret->Draw(&area, m_memTarget, m_caretPos.x, m_caretPos.y, FALSE);
    return area;
}

void SHostWnd::BlinkCaret()
{
    if (!m_caret)
        return;
    RECT area = InvertCaret();
    m_caretDrawn = !m_caretDrawn;
    InvalidateOutput(area);
}

} // namespace SKEIN
