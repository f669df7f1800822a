#pragma once
// Vector shape skin: a rectangle, oval or ring with an optional solid fill, gradient, stroke,
// corner radii, natural size and ring arc, each part read from a child element. Scaled copies
// share the parts.
#include "layout/SLayoutSize.h"
#include "skin/SSkinObjBase.h"

namespace SKEIN {

class SSkinShape : public SSkinObjBase {
    SKEIN_CLASS_NAME(SSkinObjBase, L"shape")

public:
    enum Shape { kRectangle = 0, kOval = 1, kRing = 2 };

    // A part: a counted object configured by the attributes of its child element.
    struct IPart : public IObjRef, public IObject {};
    class SPart : public TObjRefImpl<SObjectImpl<IPart>> {};

    class SShapeSize : public SPart {
        SKEIN_CLASS_NAME(SPart, L"size")

    public:
        using SObjectImpl<IPart>::ApplyAttribute;
        HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
        SLayoutSize width, height;
    };

    class SCornerSize : public SPart {
        SKEIN_CLASS_NAME(SPart, L"corners")

    public:
        using SObjectImpl<IPart>::ApplyAttribute;
        HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
        SLayoutSize radiusX, radiusY;
    };

    class SStroke : public SPart {
        SKEIN_CLASS_NAME(SPart, L"stroke")

    public:
        using SObjectImpl<IPart>::ApplyAttribute;
        HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
        SLayoutSize width;
        COLORREF color = kColorUnset;
        int style = PS_SOLID;
    };

    class SGradient : public SPart {
        SKEIN_CLASS_NAME(SPart, L"gradient")

    public:
        using SObjectImpl<IPart>::ApplyAttribute;
        HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
        int type = 0;
        float angle = 0.0f;
        float centerX = 0.5f;
        float centerY = 0.5f;
        COLORREF startColor = kColorUnset;
        COLORREF centerColor = kColorUnset;
        COLORREF endColor = kColorUnset;
        SLayoutSize radius;
    };

    class SShapeRing : public SPart {
        SKEIN_CLASS_NAME(SPart, L"ring")

    public:
        using SObjectImpl<IPart>::ApplyAttribute;
        HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
        float startAngle = 0.0f;
        float sweepAngle = 360.0f;
    };

    SSkinShape();
    ~SSkinShape() override;

    SIZE GetSkinSize() const override;
    void CopySettingsTo(ISkinObj* target, int scale) const override;
    using SSkinObjBase::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;
    void OnXmlInitDone(pugi::xml_node element) override;

protected:
    void DrawCore(IRenderTarget* rt, const RECT* rect, int state, BYTE alpha) override;

private:
    // The part of a child element, made on first use; null for another name.
    IPart* PartFor(const wchar_t* name);
    void Fill(IRenderTarget* rt, const RECT* rect, POINT corner);
    void PaintGradient(IRenderTarget* rt, const RECT* rect, POINT corner, BYTE alpha);
    void Stroke(IRenderTarget* rt, const RECT* rect, POINT corner);

    int m_shape;
    COLORREF m_solidColor;
    SShapeSize* m_size;
    SCornerSize* m_corners;
    SStroke* m_stroke;
    SGradient* m_gradient;
    SShapeRing* m_ring;
};

} // namespace SKEIN
