#pragma once
// The default layout: each child states where its edges lie relative to the parent's child
// area, to its neighbours or to a sibling named by id ("pos", "size", "offset"), and the
// layout resolves these statements in repeated passes until nothing more can be computed.
#include "layout/SkeinLayoutUtil.h"

namespace SKEIN {

// Kinds of a position item.
enum {
    kPosParent = 1,      // N from the parent's near edge; sign -1: from the far edge
    kPosCenter = 2,      // "|": parent middle + sign * N
    kPosPercent = 3,     // "%": N percent of the parent; sign -1: counted from the far edge
    kPosPrevFar = 4,     // "[": previous sibling's right (bottom)
    kPosNextNear = 5,    // "]": next sibling's left (top)
    kPosPrevNear = 6,    // "{": previous sibling's left (top)
    kPosNextFar = 7,     // "}": next sibling's right (bottom)
    kPosSize = 8,        // "@": a size, right and bottom items only; sign -1: wrap content
    kPosSiblingNear = 10, // "sib.left@id:N" / "sib.top@id:N"
    kPosSiblingFar = 11,  // "sib.right@id:N" / "sib.bottom@id:N"
};

struct PositionItem {
    int kind;
    int siblingId; // -1 when no sibling is named
    signed char sign;
    SLayoutSize size; // non-negative
};

struct SkeinLayoutParamStruct {
    int count; // position items given: 0, 2 or 4
    PositionItem left, right, top, bottom;
    float offsetX, offsetY; // fractions of the child's own width and height
    SLayoutSize width, height;
};

class SkeinLayoutParam : public TObjRefImpl<SObjectImpl<ILayoutParam>> {
    SKEIN_CLASS_NAME(SObjectImpl<ILayoutParam>, L"SkeinLayoutParam")

public:
    SkeinLayoutParam();

    using SObjectImpl<ILayoutParam>::ApplyAttribute;
    HRESULT ApplyAttribute(const SStringW& name, const SStringW& value, BOOL loading) override;

    void Clear() override;
    bool IsMatchParent(int orientation) const override;
    bool IsWrapContent(int orientation) const override;
    bool IsSpecifiedSize(int orientation) const override;
    SLayoutSize GetSpecifiedSize(int orientation) const override;
    void SetMatchParent(int orientation) override;
    void SetWrapContent(int orientation) override;
    void SetSpecifiedSize(int orientation, const SLayoutSize& size) override;
    void* GetRawData() override { return &m_data; }
    ILayoutParam* Clone() const override;

    const SkeinLayoutParamStruct& Data() const { return m_data; }

private:
    HRESULT ApplyPos(const SStringW& value);
    HRESULT ApplySize(const SStringW& value);
    HRESULT ApplyOffset(const SStringW& value);

    SkeinLayoutParamStruct m_data;
};

// Parses one trimmed "pos" item; false when it is malformed.
bool ParsePositionItem(const SStringW& text, PositionItem& item);

class SkeinLayout : public TObjRefImpl<SObjectImpl<ILayout>> {
    SKEIN_CLASS_NAME(SObjectImpl<ILayout>, L"SkeinLayout")
    SKEIN_CLASS_KIND(kKindLayout)

public:
    // Coordinates not computed yet, and coordinates waiting for something not yet known.
    static const int kNotComputed = 0x11000000;
    static const int kMustWait = 0x12000000;
    static bool IsUnresolved(int coordinate) { return coordinate == kNotComputed || coordinate == kMustWait; }

    bool IsParamAcceptable(const ILayoutParam* param) const override;
    void LayoutChildren(SWindow* window) override;
    ILayoutParam* CreateLayoutParam() const override;
    void MeasureChildren(SIZE& size, SWindow* window, int width, int height) const override;

    // The same on a list of children: area is the parent's child area; width and height -1 are
    // not known. Children whose parameter is not a SkeinLayoutParam are left alone.
    static void Arrange(const SLayoutChildren& children, const RECT& area);
    static SIZE Measure(const SLayoutChildren& children, int width, int height);
};

} // namespace SKEIN
