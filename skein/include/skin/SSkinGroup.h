#pragma once
// A skin made of other skins, one per state (normal, hover, pushDown, disable), found by name
// in the skin pools at this skin's scale.
#include "skin/SSkinObjBase.h"

namespace SKEIN {

class SSKinGroup : public SSkinObjBase {
    SKEIN_CLASS_NAME(SSkinObjBase, L"group")

public:
    enum { kStates = 4 };

    SSKinGroup();
    ~SSKinGroup() override;

    SIZE GetSkinSize() const override;
    BOOL IsStateless() const override { return FALSE; }
    int GetStateCount() const override { return kStates; }
    void CopySettingsTo(ISkinObj* target, int scale) const override;
    using SSkinObjBase::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    ISkinObj* StateSkin(int state) const { return state >= 0 && state < kStates ? m_skins[state] : nullptr; }

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;

private:
    ISkinObj* m_skins[kStates];
};

} // namespace SKEIN
