#include <algorithm>
#include <new>
#include "layout/SkeinLayout.h"

namespace SKEIN {

namespace {

enum { kLeft, kTop, kRight, kBottom };

// One child during position resolving.
struct SPosChild {
    int index; // in the list of children
    const SkeinLayoutParamStruct* param;
    int scale;
    int id;
    int edge[4];
    bool offsetPending[2]; // x, y
};

bool Unresolved(int v) { return SkeinLayout::IsUnresolved(v); }

// Moves the child by its offset on the axis once both edges there are known.
void ApplyOffset(SPosChild& child, int axis)
{
    int nearEdge = axis == 0 ? kLeft : kTop;
    if (!child.offsetPending[axis] || Unresolved(child.edge[nearEdge + 2]))
        return;
    float offset = axis == 0 ? child.param->offsetX : child.param->offsetY;
    int shift = static_cast<int>((child.edge[nearEdge + 2] - child.edge[nearEdge]) * offset);
    child.edge[nearEdge] += shift;
    child.edge[nearEdge + 2] += shift;
    child.offsetPending[axis] = false;
}

class SPositionSolver {
public:
    SPositionSolver(SDynArray<SPosChild>& children, int width, int height)
        : m_children(children), m_count(children.Count())
    {
        m_length[0] = width;
        m_length[1] = height;
    }

    int Run(const SLayoutChildren& source)
    {
        int total = 0;
        for (;;) {
            int computed = 0;
            for (int n; (n = SweepEdges(source)) > 0;)
                computed += n;
            if (computed > 0) {
                for (int n; (n = SweepWrapped(source)) > 0;)
                    computed += n;
            }
            if (computed == 0)
                return total;
            total += computed;
        }
    }

private:
    // Pass A: every edge that the statements alone decide. A child whose statements are all
    // decided gets its wrap-content sizes and offsets at once (as pass B would give them), so
    // the next sibling can follow it in the same sweep: a row of n content-sized siblings
    // takes one sweep, not n.
    int SweepEdges(const SLayoutChildren& source)
    {
        int computed = 0;
        for (int i = 0; i < m_count; ++i) {
            for (int axis = 0; axis < 2; ++axis)
                computed += ResolveAxis(i, axis);
            if (StatementsDecided(m_children[i]))
                computed += SettleWrapped(source, i);
        }
        return computed;
    }

    // Placed, and pass A can set neither far edge any more.
    static bool StatementsDecided(const SPosChild& child)
    {
        if (Unresolved(child.edge[kLeft]) || Unresolved(child.edge[kTop]))
            return false;
        for (int axis = 0; axis < 2; ++axis) {
            const SLayoutSize& size = axis == 0 ? child.param->width : child.param->height;
            if (Unresolved(child.edge[axis + 2]) && !size.IsWrapContent() && child.param->count == 4)
                return false;
        }
        return true;
    }

    int ResolveAxis(int i, int axis)
    {
        SPosChild& child = m_children[i];
        const SkeinLayoutParamStruct& p = *child.param;
        int nearEdge = axis == 0 ? kLeft : kTop;
        int farEdge = nearEdge + 2;
        int computed = 0;
        // Only a value that leaves the marker range counts: a coordinate that happens to equal
        // a marker would otherwise count as progress on every sweep.
        if (Unresolved(child.edge[nearEdge])) {
            child.edge[nearEdge] = Evaluate(i, axis, NearItem(p, axis));
            computed += !Unresolved(child.edge[nearEdge]);
        }
        if (!Unresolved(child.edge[farEdge]))
            return computed;
        const SLayoutSize& size = axis == 0 ? p.width : p.height;
        if (size.IsMatchParent()) {
            child.edge[farEdge] = m_length[axis];
        } else if (size.IsNonNegative()) {
            if (!Unresolved(child.edge[nearEdge])) {
                child.edge[farEdge] = child.edge[nearEdge] + size.ToPixels(child.scale);
                computed += !Unresolved(child.edge[farEdge]);
            }
        } else if (!size.IsWrapContent() && p.count == 4) {
            child.edge[farEdge] = Evaluate(i, axis, axis == 0 ? p.right : p.bottom);
            computed += !Unresolved(child.edge[farEdge]);
        }
        return computed;
    }

    static PositionItem NearItem(const SkeinLayoutParamStruct& p, int axis)
    {
        if (p.count >= 2)
            return axis == 0 ? p.left : p.top;
        return PositionItem{axis == 0 ? kPosPrevFar : kPosPrevNear, -1, 1, SLayoutSize(0.0f, SLayoutSize::kPx)};
    }

    // The coordinate of an item against the parent's length on the axis.
    int Evaluate(int i, int axis, const PositionItem& item) const
    {
        int length = m_length[axis];
        int n = item.size.ToPixels(m_children[i].scale);
        int nearEdge = axis == 0 ? kLeft : kTop;
        switch (item.kind) {
        case kPosParent:
            if (item.sign == 1)
                return n;
            return length == -1 ? SkeinLayout::kMustWait : length - n;
        case kPosCenter:
            return length == -1 ? SkeinLayout::kMustWait : length / 2 + item.sign * n;
        case kPosPercent:
            return length == -1 ? SkeinLayout::kMustWait : Percent(item, length);
        case kPosPrevFar:
            return FromNeighbour(i - 1, axis, nearEdge + 2, 0, item.sign * n);
        case kPosPrevNear:
            return FromNeighbour(i - 1, axis, nearEdge, 0, item.sign * n);
        case kPosNextNear:
            return FromNeighbour(i + 1, axis, nearEdge, length, item.sign * n);
        case kPosNextFar:
            return FromNeighbour(i + 1, axis, nearEdge + 2, length, item.sign * n);
        case kPosSiblingNear:
            return FromNeighbour(FindSibling(item.siblingId), axis, nearEdge, 0, item.sign * n);
        case kPosSiblingFar:
            return FromNeighbour(FindSibling(item.siblingId), axis, nearEdge + 2, length, item.sign * n);
        default:
            return SkeinLayout::kMustWait;
        }
    }

    static int Percent(const PositionItem& item, int length)
    {
        float percent = item.size.value;
        percent = percent < 0.0f ? 0.0f : (percent > 100.0f ? 100.0f : percent);
        if (item.sign == -1)
            percent = 100.0f - percent;
        return static_cast<int>(length * percent / 100.0f);
    }

    // The neighbour's edge + delta; without a neighbour, fallback + delta (a fallback that is
    // an unknown parent length waits).
    int FromNeighbour(int j, int axis, int edge, int fallback, int delta) const
    {
        if (j < 0 || j >= m_count)
            return fallback == -1 ? SkeinLayout::kMustWait : fallback + delta;
        const SPosChild& other = m_children[j];
        if (other.offsetPending[axis] || Unresolved(other.edge[edge]))
            return SkeinLayout::kMustWait;
        return other.edge[edge] + delta;
    }

    int FindSibling(int id) const
    {
        for (int j = 0; j < m_count; ++j) {
            if (m_children[j].id == id)
                return j;
        }
        return -1;
    }

    // Pass B: wrap-content sizes of placed children, then their pending offsets.
    int SweepWrapped(const SLayoutChildren& source)
    {
        int computed = 0;
        for (int i = 0; i < m_count; ++i) {
            SPosChild& child = m_children[i];
            if (!Unresolved(child.edge[kLeft]) && !Unresolved(child.edge[kTop]))
                computed += SettleWrapped(source, i);
        }
        return computed;
    }

    int SettleWrapped(const SLayoutChildren& source, int i)
    {
        int computed = MeasureWrapped(source, i);
        ApplyOffset(m_children[i], 0);
        ApplyOffset(m_children[i], 1);
        return computed;
    }

    int MeasureWrapped(const SLayoutChildren& source, int i)
    {
        SPosChild& child = m_children[i];
        bool wrapX = Unresolved(child.edge[kRight]) && child.param->width.IsWrapContent();
        bool wrapY = Unresolved(child.edge[kBottom]) && child.param->height.IsWrapContent();
        if (!wrapX && !wrapY)
            return 0;
        int width = Unresolved(child.edge[kRight]) ? m_length[0] : child.edge[kRight] - child.edge[kLeft];
        int height = Unresolved(child.edge[kBottom]) ? m_length[1] : child.edge[kBottom] - child.edge[kTop];
        SIZE preferred = source.PreferredSize(child.index, width, height);
        if (wrapX)
            child.edge[kRight] = child.edge[kLeft] + preferred.cx;
        if (wrapY)
            child.edge[kBottom] = child.edge[kTop] + preferred.cy;
        return (wrapX && !Unresolved(child.edge[kRight])) + (wrapY && !Unresolved(child.edge[kBottom]));
    }

    SDynArray<SPosChild>& m_children;
    int m_count;
    int m_length[2];
};

bool OffsetSet(float offset) { return !LayoutFloatEqual(offset, 0.0f); }

// The solver's list; children with a foreign parameter kind are left out.
void PrepareChildren(const SLayoutChildren& children, SDynArray<SPosChild>& out)
{
    out.GrowTo(children.Count());
    for (int i = 0; i < children.Count(); ++i) {
        const SLayoutChild& child = children[i];
        if (!child.param || !child.param->MatchesClassName(SkeinLayoutParam::StaticXmlClassName()))
            continue;
        auto* p = static_cast<const SkeinLayoutParamStruct*>(child.param->GetRawData());
        const int n = SkeinLayout::kNotComputed;
        out.Add(SPosChild{i, p, child.scale, child.id, {n, n, n, n}, {OffsetSet(p->offsetX), OffsetSet(p->offsetY)}});
    }
}

int FarExtra(const PositionItem& item, int count, int scale)
{
    return count == 4 && item.sign == -1 ? item.size.ToPixels(scale) : 0;
}

// Given extents that are marker values: a placed child's open wrap-content edges come from
// its preferred size (the given extent where the edge is open, else the child's own).
void MeasureAgainstMarkers(const SLayoutChildren& children, SPosChild& child, int width, int height)
{
    const SkeinLayoutParamStruct& p = *child.param;
    bool openX = Unresolved(child.edge[kRight]);
    bool openY = Unresolved(child.edge[kBottom]);
    bool wrapX = openX && SkeinLayout::IsUnresolved(width) && p.width.IsWrapContent();
    bool wrapY = openY && SkeinLayout::IsUnresolved(height) && p.height.IsWrapContent();
    if (!wrapX && !wrapY)
        return;
    SIZE preferred = children.PreferredSize(child.index, openX ? width : child.edge[kRight] - child.edge[kLeft],
                                                      openY ? height : child.edge[kBottom] - child.edge[kTop]);
    if (wrapX) {
        child.edge[kRight] = child.edge[kLeft] + preferred.cx;
        ApplyOffset(child, 0);
    }
    if (wrapY) {
        child.edge[kBottom] = child.edge[kTop] + preferred.cy;
        ApplyOffset(child, 1);
    }
}

} // namespace

bool SkeinLayout::IsParamAcceptable(const ILayoutParam* param) const
{
    return param && param->MatchesClassName(SkeinLayoutParam::StaticXmlClassName());
}

ILayoutParam* SkeinLayout::CreateLayoutParam() const
{
    return new (std::nothrow) SkeinLayoutParam;
}

void SkeinLayout::LayoutChildren(SWindow* window)
{
    SLayoutChildren children;
    children.Collect(window);
    if (children.Count() == 0)
        return;
    Arrange(children, LayoutChildArea(window));
}

void SkeinLayout::MeasureChildren(SIZE& size, SWindow* window, int width, int height) const
{
    SLayoutChildren children;
    children.Collect(window);
    size = Measure(children, width, height);
}

void SkeinLayout::Arrange(const SLayoutChildren& children, const RECT& area)
{
    SDynArray<SPosChild> items;
    PrepareChildren(children, items);
    SPositionSolver(items, area.right - area.left, area.bottom - area.top).Run(children);
    for (int i = 0; i < items.Count(); ++i) {
        const int* edge = items[i].edge;
        // An edge that stayed unresolved keeps its marker value, far outside any view.
        auto place = [](int v, LONG origin) { return static_cast<LONG>(IsUnresolved(v) ? v : v + origin); };
        RECT rect = {place(edge[kLeft], area.left), place(edge[kTop], area.top), place(edge[kRight], area.left),
                     place(edge[kBottom], area.top)};
        children.Place(items[i].index, rect);
    }
}

SIZE SkeinLayout::Measure(const SLayoutChildren& children, int width, int height)
{
    SDynArray<SPosChild> items;
    PrepareChildren(children, items);
    SPositionSolver(items, width, height).Run(children);
    SIZE size = {0, 0};
    for (int i = 0; i < items.Count(); ++i) {
        SPosChild& child = items[i];
        const SkeinLayoutParamStruct& p = *child.param;
        if (!Unresolved(child.edge[kLeft]) && !Unresolved(child.edge[kTop]))
            MeasureAgainstMarkers(children, child, width, height);
        if (!Unresolved(child.edge[kRight])) {
            LONG needed = child.edge[kRight] + FarExtra(p.right, p.count, child.scale);
            size.cx = std::max(size.cx, needed);
        }
        if (!Unresolved(child.edge[kBottom])) {
            LONG needed = child.edge[kBottom] + FarExtra(p.bottom, p.count, child.scale);
            size.cy = std::max(size.cy, needed);
        }
    }
    if (IsUnresolved(width))
        size.cx = width;
    if (IsUnresolved(height))
        size.cy = height;
    return size;
}

} // namespace SKEIN
