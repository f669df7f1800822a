#pragma once
// Colour rectangle skin: a fill and a border colour per state; no scaled copies.
#include "skin/SSkinObjBase.h"

namespace SKEIN {

class SSkinColorRect : public SSkinObjBase {
    SKEIN_CLASS_NAME(SSkinObjBase, L"colorrect")

public:
    enum { kStates = 4 };

    SSkinColorRect();

    BOOL IsStateless() const override { return GetStateCount() < 2; }
    int GetStateCount() const override;
    ISkinObj* CreateScaledCopy(int) override { return nullptr; }

    using SSkinObjBase::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;

private:
    int m_cornerRadius;
    float m_cornerPercent;
    COLORREF m_fill[kStates];
    COLORREF m_border[kStates];
    int m_borderWidth;
};

} // namespace SKEIN
