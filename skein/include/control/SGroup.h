#pragma once
// Decoration: a titled frame with rounded corners around its children, and a straight line.
#include "core/SWnd.h"

namespace SKEIN {

// XML "group": two rounded outlines, broken around the caption; children sit below the header.
class SGroup : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"group")

public:
    SGroup();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void GetChildAreaRect(RECT* out) const override;
    SIZE ComputePreferredSizeFor(int widthHint, int heightHint) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void Paint(IRenderTarget* rt);

    COLORREF m_colorLine1;
    COLORREF m_colorLine2;
    SLayoutSize m_round;
    SLayoutSize m_headerHeight;
};

// XML "hr": a line along the top edge, down the left edge or across the diagonal.
class SLine : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"hr")

public:
    enum { kHorizontal, kVertical, kTilt };

    SLine();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

protected:
    void Paint(IRenderTarget* rt);

    int m_lineStyle;
    int m_lineSize;
    COLORREF m_lineColor;
    int m_mode;
};

} // namespace SKEIN
