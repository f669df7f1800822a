#pragma once
// A button lamp: a two-state skin (off, lit) with a centred caption.
#include "core/SWnd.h"

namespace SKEIN {

// XML "LampCtrl".
class SLampCtrl : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"LampCtrl")

public:
    SLampCtrl();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // 0 = off, anything else = lit. The lamp is redrawn when its state or lampText changed.
    void SetLampState(int state);
    int GetLampState() const { return m_lampState; }
    COLORREF GetColorText() const { return m_colorText; }

    // The caption; assigning it alone does not redraw (SetLampState does).
    SStringW lampText;

protected:
    void Paint(IRenderTarget* rt);

    COLORREF m_colorText;
    int m_lampState;
    // lampText as of the last SetLampState.
    SStringW m_shownText;
};

} // namespace SKEIN
