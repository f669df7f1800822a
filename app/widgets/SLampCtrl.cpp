// The button lamp.
#include "widgets/SLampCtrl.h"
#include "res.mgr/SUiDef.h"
#include "widgets/SWidgetPaint.h"

namespace SKEIN {

// Without "colorText" the caption keeps the style's text colour.
SLampCtrl::SLampCtrl() : m_colorText(kColorUnset), m_lampState(0) {}

HRESULT SLampCtrl::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (name.CompareIgnoringCase(L"colorText") != 0)
        return SWindow::ApplyAttribute(name, value, loading);
    HRESULT result = E_FAIL;
    if (!value.IsEmptyText()) {
        m_colorText = ResolveNamedColor(value.c_str());
        result = S_FALSE;
    }
    return AfterAttribute(name, value, loading, result);
}

void SLampCtrl::SetLampState(int state)
{
    // The poll pushes the same state many times a second: redraw only what changed.
    bool changed = state != m_lampState || lampText != m_shownText;
    m_lampState = state;
    m_shownText = lampText;
    if (!changed)
        return;
    RECT inner;
    ComputeInnerRect(&inner);
    InvalidateArea(&inner);
}

void SLampCtrl::Paint(IRenderTarget* rt)
{
    SPaintState saved;
    BeginPaintState(rt, &saved);
    RECT inner;
    ComputeInnerRect(&inner);
    if (m_skin) {
        int states = m_skin->GetStateCount();
        if (states >= 2)
            m_skin->DrawByState(rt, &inner, m_lampState ? 1 : 0);
        else if (states == 1)
            m_skin->DrawByState(rt, &inner, 0);
    }
    COLORREF previous = rt->GetTextColor();
    if (m_colorText != kColorUnset)
        rt->SetTextColor(m_colorText);
    if (!lampText.IsEmptyText())
        rt->DrawText(lampText.c_str(), lampText.Length(), &inner, kWidgetCaptionFormat);
    rt->SetTextColor(previous);
    EndPaintState(rt, &saved);
}

BOOL SLampCtrl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    switch (msg) {
    case WM_PAINT: Paint(reinterpret_cast<IRenderTarget*>(wParam)); return TRUE;
    case WM_ERASEBKGND:
        // The paint draws the skin in the lamp's own state; drawing it by window state
        // beneath would show the other state through a translucent skin.
        if (!m_skin)
            return SWindow::HandleMessage(msg, wParam, lParam, result);
        *result = 1;
        return TRUE;
    default: return SWindow::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
