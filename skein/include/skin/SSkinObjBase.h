#pragma once
// The common part of every skin: alpha, colorize colour and flag, scale and name, the
// attribute chain's root and scaled copies made through the application's factory.
#include "interface/SSkinobj-i.h"

namespace SKEIN {

class SSkinObjBase : public TObjRefImpl<SObjectImpl<ISkinObj>> {
    SKEIN_CLASS_NAME(SObjectImpl<ISkinObj>, L"skinObjBase")
    SKEIN_CLASS_KIND(kKindSkin)

public:
    SSkinObjBase();

    void DrawByState(IRenderTarget* rt, const RECT* rect, int state) override;
    void Draw(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;
    SIZE GetSkinSize() const override;
    BOOL IsStateless() const override { return TRUE; }
    int GetStateCount() const override { return 1; }
    BYTE GetAlpha() const override { return m_alpha; }
    void SetAlpha(BYTE alpha) override { m_alpha = alpha; }
    void ApplyColorize(COLORREF) override {}
    int GetScale() const override { return m_scale; }
    ISkinObj* CreateScaledCopy(int scale) override;
    void CopySettingsTo(ISkinObj* target, int scale) const override;

    using SObjectImpl<ISkinObj>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    const wchar_t* GetName() const override { return m_name.c_str(); }

protected:
    virtual void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) = 0;
    // Ends an attribute this class took, through the after-attribute hook.
    HRESULT Took(const SStringW& name, const SStringW& value, BOOL loading, HRESULT result)
    {
        return AfterAttribute(name, value, loading, result);
    }

    BYTE m_alpha;
    COLORREF m_colorizeColor;
    int m_enableColorize;
    int m_scale;
    SStringW m_name;
};

} // namespace SKEIN
