#pragma once
// Two-colour gradient skin; one state, no scaled copies.
#include "skin/SSkinObjBase.h"

namespace SKEIN {

class SSkinGradation : public SSkinObjBase {
    SKEIN_CLASS_NAME(SSkinObjBase, L"gradation")

public:
    SSkinGradation();

    void ApplyColorize(COLORREF color) override;
    ISkinObj* CreateScaledCopy(int) override { return nullptr; }

    using SSkinObjBase::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;

private:
    COLORREF m_colorFrom;
    COLORREF m_colorTo;
    int m_vertical;
    COLORREF m_backupFrom;
    COLORREF m_backupTo;
};

} // namespace SKEIN
