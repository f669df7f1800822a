#pragma once
// Gradient button skin: per state a border colour and a top-to-bottom gradient; no scaled copies.
#include "skin/SSkinObjBase.h"

namespace SKEIN {

class SSkinButton : public SSkinObjBase {
    SKEIN_CLASS_NAME(SSkinObjBase, L"button")

public:
    enum { kStates = 4, kColors = 12 };

    SSkinButton();

    BOOL IsStateless() const override { return FALSE; }
    int GetStateCount() const override { return kStates; }
    void ApplyColorize(COLORREF color) override;
    ISkinObj* CreateScaledCopy(int) override { return nullptr; }

    using SSkinObjBase::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;

private:
    // Border, top (colorUp) and bottom (colorDown) colours per state, in that order.
    COLORREF m_colors[kColors];
    COLORREF m_backup[kColors];
    int m_cornerRadius;
    float m_cornerPercent;
};

} // namespace SKEIN
