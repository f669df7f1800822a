#pragma once
// What the layouts share: the per-call list of children that take part in layout, the size
// and number texts of their attributes, and the sharing of left-over space by weight.
#include <windows.h>
#include <new>
#include "core/SDynArray.h"
#include "core/SObjRef.h"
#include "core/SString.h"
#include "layout/SLayout-i.h"

namespace SKEIN {

// One child as a layout sees it.
struct SLayoutChild {
    SWindow* window;
    ILayoutParam* param;
    int scale;
    int id;
};

// The children of one layout call, in order. Measuring and placing go to the windows.
class SLayoutChildren {
public:
    explicit SLayoutChildren(int parentScale = 100) : m_parentScale(parentScale), m_items(8) {}
    virtual ~SLayoutChildren() {}
    SLayoutChildren(const SLayoutChildren&) = delete;
    SLayoutChildren& operator=(const SLayoutChildren&) = delete;

    // The parent's scale and its children that take part in layout (visible, or hidden keeping
    // their space; floating ones left out).
    void Collect(SWindow* parent);
    int ParentScale() const { return m_parentScale; }
    bool Add(const SLayoutChild& child) { return m_items.Add(child) >= 0; }

    int Count() const { return m_items.Count(); }
    const SLayoutChild& operator[](int i) const { return m_items[i]; }

    // Preferred size of child i for a width and height (-1 = open).
    virtual SIZE PreferredSize(int i, int width, int height) const;
    virtual void Place(int i, const RECT& rect) const;

private:
    int m_parentScale;
    SDynArray<SLayoutChild> m_items;
};

// The window's child area (its inner rectangle less the padding).
RECT LayoutChildArea(SWindow* window);
// Whether the window's own layout parameter wraps its content in the orientation.
bool LayoutWrapsContent(SWindow* window, int orientation);

// Whether the width, the height, either or both (by orientation) pass the test.
template <class Test>
bool LayoutSizesPass(const SLayoutSize& width, const SLayoutSize& height, int orientation, Test test)
{
    switch (orientation) {
    case kOrientHorz: return test(width);
    case kOrientVert: return test(height);
    case kOrientAny: return test(width) || test(height);
    default: return test(width) && test(height);
    }
}

// Applies the setter to the width (horizontal), the height (vertical) or both; nothing for either.
template <class Setter>
void SetLayoutSizes(SLayoutSize& width, SLayoutSize& height, int orientation, Setter set)
{
    if (orientation == kOrientHorz || orientation == kOrientBoth)
        set(width);
    if (orientation == kOrientVert || orientation == kOrientBoth)
        set(height);
}

// The size half of a layout parameter whose record holds its width and height: the queries and
// setters by orientation (other orientations read as a size of 0), the raw record and the copy.
template <class Derived, class Data>
class TSizedLayoutParam : public TObjRefImpl<SObjectImpl<ILayoutParam>> {
public:
    bool IsMatchParent(int orientation) const override
    {
        return LayoutSizesPass(m_data.width, m_data.height, orientation,
                               [](const SLayoutSize& size) { return size.IsMatchParent(); });
    }
    bool IsWrapContent(int orientation) const override
    {
        return LayoutSizesPass(m_data.width, m_data.height, orientation,
                               [](const SLayoutSize& size) { return size.IsWrapContent(); });
    }
    bool IsSpecifiedSize(int orientation) const override
    {
        return LayoutSizesPass(m_data.width, m_data.height, orientation,
                               [](const SLayoutSize& size) { return size.IsNonNegative(); });
    }
    SLayoutSize GetSpecifiedSize(int orientation) const override
    {
        if (orientation == kOrientHorz)
            return m_data.width;
        if (orientation == kOrientVert)
            return m_data.height;
        return SLayoutSize();
    }
    void SetMatchParent(int orientation) override
    {
        SetLayoutSizes(m_data.width, m_data.height, orientation, [](SLayoutSize& size) { size.SetMatchParent(); });
    }
    void SetWrapContent(int orientation) override
    {
        SetLayoutSizes(m_data.width, m_data.height, orientation, [](SLayoutSize& size) { size.SetWrapContent(); });
    }
    void SetSpecifiedSize(int orientation, const SLayoutSize& size) override
    {
        SetLayoutSizes(m_data.width, m_data.height, orientation, [&size](SLayoutSize& side) { side = size; });
    }
    void* GetRawData() override { return &m_data; }
    ILayoutParam* Clone() const override
    {
        Derived* copy = new (std::nothrow) Derived;
        if (copy)
            static_cast<TSizedLayoutParam*>(copy)->m_data = m_data;
        return copy;
    }

protected:
    Data m_data;
};

// "width"/"height" values: "matchParent" (and "full" when acceptFull) or "wrapContent" in any
// case, else a dimension of the UI definition.
SLayoutSize ParseLayoutSizeText(const SStringW& value, bool acceptFull);
// Decimal, or hexadecimal with "0x"; 0 when it does not read as a number.
int ParseLayoutInt(const SStringW& value);
// "%f"; false when no number reads.
bool ParseLayoutFloat(const SStringW& value, float& out);

// Shares space over items in order while weight remains: item i with weight w > 0 gets
// trunc(space' * w / weight' + 0.5), space' and weight' being what is still left, so the last
// weighted item receives the rest exactly. give(i, amount) receives each share.
template <class WeightAt, class Give>
void ShareByWeight(int count, int space, float totalWeight, WeightAt weightAt, Give give)
{
    for (int i = 0; i < count && totalWeight != 0.0f; ++i) {
        float weight = weightAt(i);
        if (weight <= 0.0f)
            continue;
        int amount = static_cast<int>(space * weight / totalWeight + 0.5f);
        give(i, amount);
        space -= amount;
        totalWeight -= weight;
    }
}

} // namespace SKEIN
