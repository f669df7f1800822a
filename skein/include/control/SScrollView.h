#pragma once
// A panel with a virtual view larger than the window ("scrollview"): children are laid out in
// the view and shifted by the view origin that the bars control.
#include "control/SPanel.h"

namespace SKEIN {

class SScrollView : public SPanel {
    SKEIN_CLASS_NAME(SPanel, L"scrollview")

public:
    SScrollView();

    using SPanel::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ArrangeChildren() override;
    void GetChildAreaRect(RECT* out) const override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnScroll(BOOL vertical, UINT code, int position) override;

    virtual void OnViewSizeChanged(SIZE oldSize, SIZE newSize);
    virtual void OnViewOriginChanged(POINT oldOrigin, POINT newOrigin);
    virtual void UpdateScrollBars();

    void MoveViewOrigin(int x, int y);
    void ResizeView(int cx, int cy);
    POINT ViewOrigin() const { return m_origin; }
    SIZE ViewSize() const { return m_viewSize; }

private:
    // One axis of the view size in pixels from its dimension and the inner extent.
    int ViewExtent(const SLayoutSize& size, int inner, int measured) const;
    // Shows a bar or not and sets its range, page and position.
    void FitBar(BOOL vertical, bool shown, int view, int page);

    SLayoutSize m_viewWidth;
    SLayoutSize m_viewHeight;
    POINT m_origin;
    SIZE m_viewSize;
};

} // namespace SKEIN
