#pragma once
// The linear layout: children stacked in one direction with an interval between them; space
// left over is shared by weight. SHBox and SVBox are its horizontal and vertical forms.
#include "layout/SkeinLayoutUtil.h"

namespace SKEIN {

// Gravity across the stacking direction.
enum {
    kGravityUnset = -1,
    kGravityNear = 0,   // left or top
    kGravityCenter = 1,
    kGravityFar = 2,    // right or bottom
    kGravityFill = 3,   // grid only
};

struct SLinearLayoutParamStruct {
    SLayoutSize width, height;
    SLayoutSize extendLeft, extendRight, extendTop, extendBottom;
    float weight;
    int gravity; // kGravityUnset: the layout's
};

class SLinearLayoutParam : public TSizedLayoutParam<SLinearLayoutParam, SLinearLayoutParamStruct> {
    SKEIN_CLASS_NAME(SObjectImpl<ILayoutParam>, L"LinearLayoutParam")

public:
    SLinearLayoutParam();

    using SObjectImpl<ILayoutParam>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    // Width and height wrap content, weight 0, gravity unset; the extends stay.
    void Clear() override;

private:
    HRESULT ApplyExtend(const SStringW& value);
};

class SLinearLayout : public TObjRefImpl<SObjectImpl<ILayout>> {
    SKEIN_CLASS_NAME(SObjectImpl<ILayout>, L"linearLayout")
    SKEIN_CLASS_KIND(kKindLayout)

public:
    // Without an "orientation" attribute the layout is horizontal.
    explicit SLinearLayout(int orientation = kOrientHorz);

    using SObjectImpl<ILayout>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    bool IsParamAcceptable(const ILayoutParam* param) const override;
    void LayoutChildren(SWindow* window) override;
    ILayoutParam* CreateLayoutParam() const override;
    void MeasureChildren(SIZE& size, SWindow* window, int width, int height) const override;

    // The same on a list of children whose parameters are SLinearLayoutParam objects; area is
    // the parent's child area. wrapWidth/wrapHeight: the parent's own parameter wraps its
    // content in that direction.
    void Arrange(const SLayoutChildren& children, const RECT& area) const;
    SIZE Measure(const SLayoutChildren& children, int width, int height, bool wrapWidth, bool wrapHeight) const;

    int Orientation() const { return m_orientation; }

private:
    struct SCell;
    bool ComputeCells(const SLayoutChildren& children, SDynArray<SCell>& cells, const int given[2],
                      float& weights, bool positiveWeightsOnly) const;
    void ShareSpace(const SLayoutChildren& children, SDynArray<SCell>& cells, int space, float weights,
                    bool remeasureUnlessFixed) const;
    int IntervalPixels(const SLayoutChildren& children) const;

    int m_orientation;
    int m_gravity;
    SLayoutSize m_interval;
};

class SHBox : public SLinearLayout {
    SKEIN_CLASS_NAME(SLinearLayout, L"hbox")

public:
    SHBox() : SLinearLayout(kOrientHorz) {}
};

class SVBox : public SLinearLayout {
    SKEIN_CLASS_NAME(SLinearLayout, L"vbox")

public:
    SVBox() : SLinearLayout(kOrientVert) {}
};

} // namespace SKEIN
