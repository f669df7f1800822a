#include "control/SEdit.h"
#include "res.mgr/SUiDef.h"
#include "SCtrlAttr.h"

namespace SKEIN {

using namespace ctrl;

SEdit::SEdit() : m_cueColor(kDefaultCueColor), m_cueText(this)
{
    m_rich = 0;
    m_autoSel = 1;
}

HRESULT SEdit::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading)
{
    if (Is(name, L"cueColor")) {
        if (!ParseColor(value, &m_cueColor))
            return E_FAIL;
    } else if (Is(name, L"cueText")) {
        m_cueText.SetSource(ResolveNamedString(value.c_str()));
    } else {
        return SRichEdit::ApplyAttribute(name, value, loading);
    }
    return AfterAttribute(name, value, loading, S_OK);
}

int SEdit::RetranslateTexts()
{
    int result = SWindow::RetranslateTexts();
    m_cueText.Retranslate();
    return result;
}

UINT SEdit::CueTextFormat() const
{
    UINT format = m_style.GetDrawTextFormat() & ~static_cast<UINT>(DT_CENTER | DT_RIGHT);
    if (HasStyle(ES_CENTER))
        return format | DT_CENTER;
    if (HasStyle(ES_RIGHT))
        return format | DT_RIGHT;
    return format;
}

void SEdit::PaintCue(IRenderTarget* rt)
{
    const SStringW& cue = m_cueText.GetText(false);
    if (!TextServices() || cue.IsEmptyText() || TextLength() != 0 || HoldsFocus())
        return;
    SPaintState saved;
    BeginPaintState(rt, &saved);
    COLORREF oldColor = rt->SetTextColor(m_cueColor);
    RECT rect = m_clientRect;
    RECT padding = m_style.GetPaddingRect();
    rect.left += padding.left;
    rect.top += padding.top;
    rect.right -= padding.right;
    rect.bottom -= padding.bottom;
    rt->DrawText(cue.c_str(), cue.Length(), &rect, CueTextFormat());
    rt->SetTextColor(oldColor);
    EndPaintState(rt, &saved);
}

void SEdit::InvalidateCue()
{
    if (!m_cueText.GetText(false).IsEmptyText() && TextLength() == 0)
        InvalidateClientArea();
}

BOOL SEdit::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (msg) {
    case WM_PAINT: {
        BOOL handled = SRichEdit::HandleMessage(msg, wParam, lParam, result);
        PaintCue(reinterpret_cast<IRenderTarget*>(wParam));
        return handled;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        BOOL handled = SRichEdit::HandleMessage(msg, wParam, lParam, result);
        InvalidateCue();
        return handled;
    }
    default: return SRichEdit::HandleMessage(msg, wParam, lParam, result);
    }
}

} // namespace SKEIN
