#pragma once
// The progress bar: a background skin and a position skin filled in proportion to the value,
// optionally with the percentage. The slider bar derives from it.
#include "core/SWnd.h"

namespace SKEIN {

// XML "progress".
class SProgress : public SWindow {
    SKEIN_CLASS_NAME(SWindow, L"progress")

public:
    SProgress();

    using SWindow::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void ApplyColorTint(COLORREF color) override;
    void ApplyScale(int scale) override;
    SIZE ComputePreferredSize(const RECT* available) override;
    BOOL HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // value = v clamped to min..max; the inner rectangle is redrawn.
    BOOL SetClampedValue(int value);
    int CurrentValue() const { return m_value; }
    void GetRange(int* minValue, int* maxValue) const
    {
        *minValue = m_minValue;
        *maxValue = m_maxValue;
    }
    BOOL IsVertical() const { return m_vertical != 0; }

protected:
    // Missing skins become the built-in ones; -1 when either is still missing.
    int OnCreate();
    void Paint(IRenderTarget* rt);
    // The part of rect that value fills; empty when the range is empty.
    RECT FilledRect(const RECT& rect) const;
    // length * (value - min) / (max - min) in 64 bits; 0 when the range is empty.
    INT64 ValuePortion(int length) const;
    // The value as a percentage, centred on one line in rect.
    void DrawPercent(IRenderTarget* rt, RECT rect) const;

    int m_minValue;
    int m_maxValue;
    int m_value;
    int m_showPercent;
    int m_vertical;
    SRefPtr<ISkinObj> m_bkgndSkin;
    SRefPtr<ISkinObj> m_posSkin;
};

} // namespace SKEIN
