#pragma once
// The slider ("sliderbar"): a progress bar with a thumb the user drags or clicks to a value;
// every change fires EventSliderPos.
#include "control/SProgress.h"

namespace SKEIN {

class SSliderBar : public SProgress {
    SKEIN_CLASS_NAME(SProgress, L"sliderbar")

public:
    // Parts of a slider.
    enum { kPartRail = 0, kPartPosition = 1, kPartThumb = 2, kPartBackground = 3 };

    SSliderBar();

    using SProgress::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ApplyColorTint(COLORREF color) override;
    void ApplyScale(int scale) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The rectangle of a part; empty for another code.
    RECT PartRect(int part) const;
    // Thumb, then position, then rail; -1 for none.
    int HitTest(POINT pt) const;

private:
    // Start and end of a part along the axis, from the inner rectangle's start.
    void PartSpan(int part, int* from, int* to) const;
    int AxisLength() const;
    int ThumbLength() const;
    int RailLength() const { return AxisLength() - ThumbLength(); }
    // The offset of pt from the rail's start along the axis.
    int RailOffset(POINT pt) const;
    // (max - min + 1) * offset / rail length in 64 bits, 0 on an empty rail.
    long long ValueSpan(int offset) const;
    // The value limited to min..max.
    int ClampToRange(long long value) const;
    void SetValueAndNotify(int value);
    void OnPaint(IRenderTarget* rt);
    void OnLeftButtonDown(POINT pt);
    void OnLeftButtonUp(POINT pt);
    void EndDrag(POINT pt);
    void OnMouseMove(POINT pt);
    void OnMouseLeave();
    void InvalidateThumb();

    int m_dragging;
    POINT m_dragStart;
    int m_dragStartValue;
    int m_hoverPart;
    SRefPtr<ISkinObj> m_thumbSkin;
    int m_thumbInRail;
};

} // namespace SKEIN
