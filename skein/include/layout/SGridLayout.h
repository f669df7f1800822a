#pragma once
// The grid layout: children fill a table of cells row by row, with spans, per-cell gravity
// and columns and rows that share left-over space by weight.
#include "layout/SLinearLayout.h"

namespace SKEIN {

// "left"/"top" 0, "center" 1, "right"/"bottom" 2, "fill" 3 in any case; kGravityUnset otherwise.
int GridGravity(const SStringW& value);

struct SGridLayoutParamStruct {
    int columnSpan, rowSpan;
    int xGravity, yGravity; // kGravityUnset: the layout's
    SLayoutSize width, height;
    float columnWeight, rowWeight;
};

class SGridLayoutParam : public TSizedLayoutParam<SGridLayoutParam, SGridLayoutParamStruct> {
    SKEIN_CLASS_NAME(SObjectImpl<ILayoutParam>, L"GridLayoutParam")

public:
    SGridLayoutParam() { Clear(); }

    using SObjectImpl<ILayoutParam>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    void Clear() override;
};

class SGridLayout : public TObjRefImpl<SObjectImpl<ILayout>> {
    SKEIN_CLASS_NAME(SObjectImpl<ILayout>, L"gridLayout")
    SKEIN_CLASS_KIND(kKindLayout)

public:
    // Counts and spans above this are refused: the cell table stays small.
    static const int kMaxCount = 1024;

    SGridLayout();

    using SObjectImpl<ILayout>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    bool IsParamAcceptable(const ILayoutParam* param) const override;
    void LayoutChildren(SWindow* window) override;
    ILayoutParam* CreateLayoutParam() const override;
    void MeasureChildren(SIZE& size, SWindow* window, int width, int height) const override;

    // The same on a list of children whose parameters are SGridLayoutParam objects.
    void Arrange(const SLayoutChildren& children, const RECT& area) const;
    SIZE Measure(const SLayoutChildren& children) const;

private:
    class SGrid;

    int m_columns, m_rows; // -1: derived from the children
    SLayoutSize m_xInterval, m_yInterval;
    int m_xGravity, m_yGravity;
};

} // namespace SKEIN
