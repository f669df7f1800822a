#pragma once
// A window's layout (how it places its children) and a child's layout parameters (what the
// parent's layout knows of that child). Both are counted objects that XML creates and
// configures through their IObject part; layouts have kind kKindLayout.
#include <windows.h>
#include "core/SObjRef.h"
#include "core/SObject.h"
#include "layout/SLayoutSize.h"

namespace SKEIN {

class SWindow;

// Orientation argument of the size queries and setters.
enum {
    kOrientHorz = 0,
    kOrientVert = 1,
    kOrientAny = 2,  // queries: width or height; setters: nothing
    kOrientBoth = 3, // queries: width and height; setters: both
};

struct ILayoutParam : public IObject, public IObjRef {
    virtual void Clear() = 0;
    virtual bool IsMatchParent(int orientation) const = 0;
    virtual bool IsWrapContent(int orientation) const = 0;
    // A concrete length.
    virtual bool IsSpecifiedSize(int orientation) const = 0;
    // kOrientVert gives the height, other values the width (linear and grid: a size of 0).
    virtual SLayoutSize GetSpecifiedSize(int orientation) const = 0;
    virtual void SetMatchParent(int orientation) = 0;
    virtual void SetWrapContent(int orientation) = 0;
    virtual void SetSpecifiedSize(int orientation, const SLayoutSize& size) = 0;
    // The parameter record of the concrete class.
    virtual void* GetRawData() = 0;
    // A new object (count 1) with a copy of the record; null when memory runs out.
    virtual ILayoutParam* Clone() const = 0;
};

struct ILayout : public IObject, public IObjRef {
    virtual bool IsParamAcceptable(const ILayoutParam* param) const = 0;
    // Places the window's children that take part in layout inside its child area.
    virtual void LayoutChildren(SWindow* window) = 0;
    // A new parameter object (count 1) in its cleared state; null when memory runs out.
    virtual ILayoutParam* CreateLayoutParam() const = 0;
    // The size the children need; width or height -1 = not known.
    virtual void MeasureChildren(SIZE& size, SWindow* window, int width, int height) const = 0;
};

} // namespace SKEIN
