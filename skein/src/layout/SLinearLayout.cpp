#include <algorithm>
#include <new>
#include <string.h>
#include "helper/SStringConv.h"
#include "layout/SLinearLayout.h"
#include "layout/SkeinLayoutUtil.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

namespace {

// "left"/"top", "center", "right"/"bottom", exact case; kGravityUnset for anything else.
int LinearGravity(const SStringW& value)
{
    if (value == L"left" || value == L"top")
        return kGravityNear;
    if (value == L"center")
        return kGravityCenter;
    if (value == L"right" || value == L"bottom")
        return kGravityFar;
    return kGravityUnset;
}

const SLinearLayoutParamStruct& RecordOf(const SLayoutChild& child)
{
    return *static_cast<const SLinearLayoutParamStruct*>(child.param->GetRawData());
}

} // namespace

// ---- SLinearLayoutParam ----

SLinearLayoutParam::SLinearLayoutParam()
{
    SLayoutSize zero;
    m_data.extendLeft = m_data.extendRight = m_data.extendTop = m_data.extendBottom = zero;
    Clear();
}

void SLinearLayoutParam::Clear()
{
    m_data.width.SetWrapContent();
    m_data.height.SetWrapContent();
    m_data.weight = 0.0f;
    m_data.gravity = kGravityUnset;
}

HRESULT SLinearLayoutParam::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL)
{
    if (name.CompareIgnoringCase(L"width") == 0) {
        m_data.width = ParseLayoutSizeText(value, false);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"height") == 0) {
        m_data.height = ParseLayoutSizeText(value, false);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"size") == 0) {
        SDynArray<SStringW> parts;
        if (SplitByChar(value, L',', parts) != 2)
            return E_FAIL;
        m_data.width = ParseLayoutSizeText(parts[0], false);
        m_data.height = ParseLayoutSizeText(parts[1], false);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"weight") == 0) {
        ParseLayoutFloat(value, m_data.weight);
        return S_FALSE;
    }
    if (name.CompareIgnoringCase(L"layout_gravity") == 0) {
        int gravity = LinearGravity(value);
        if (gravity == kGravityUnset)
            return E_FAIL;
        m_data.gravity = gravity;
        return S_FALSE;
    }
    if (name.CompareIgnoringCase(L"extend") == 0)
        return ApplyExtend(value);
    static const struct {
        const wchar_t* name;
        SLayoutSize SLinearLayoutParamStruct::*field;
    } kSides[] = {{L"extend_left", &SLinearLayoutParamStruct::extendLeft},
                  {L"extend_top", &SLinearLayoutParamStruct::extendTop},
                  {L"extend_right", &SLinearLayoutParamStruct::extendRight},
                  {L"extend_bottom", &SLinearLayoutParamStruct::extendBottom}};
    for (const auto& side : kSides) {
        if (name.CompareIgnoringCase(side.name) == 0) {
            m_data.*side.field = ResolveNamedDimension(value.c_str());
            return S_FALSE;
        }
    }
    return E_NOTIMPL;
}

HRESULT SLinearLayoutParam::ApplyExtend(const SStringW& value)
{
    SDynArray<SStringW> parts;
    int n = SplitByChar(value, L',', parts);
    if (n == 1) {
        SLayoutSize size = ResolveNamedDimension(parts[0].c_str());
        m_data.extendLeft = m_data.extendTop = m_data.extendRight = m_data.extendBottom = size;
        return S_OK;
    }
    if (n != 4)
        return E_INVALIDARG;
    m_data.extendLeft = ResolveNamedDimension(parts[0].c_str());
    m_data.extendTop = ResolveNamedDimension(parts[1].c_str());
    m_data.extendRight = ResolveNamedDimension(parts[2].c_str());
    m_data.extendBottom = ResolveNamedDimension(parts[3].c_str());
    return S_OK;
}

// ---- SLinearLayout ----

// One child's cell: its size per axis (extends included) and its extends in pixels.
struct SLinearLayout::SCell {
    int index;
    int size[2];
    int extend[4]; // left, top, right, bottom
    int AxisExtend(int axis) const { return extend[axis] + extend[axis + 2]; }
};

SLinearLayout::SLinearLayout(int orientation) : m_orientation(orientation), m_gravity(kGravityUnset) {}

HRESULT SLinearLayout::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL)
{
    if (name.CompareIgnoringCase(L"orientation") == 0) {
        if (value == L"horizontal")
            m_orientation = kOrientHorz;
        else if (value == L"vertical")
            m_orientation = kOrientVert;
        else
            return E_FAIL;
        return S_FALSE;
    }
    if (name.CompareIgnoringCase(L"gravity") == 0) {
        int gravity = LinearGravity(value);
        if (gravity == kGravityUnset)
            return E_FAIL;
        m_gravity = gravity;
        return S_FALSE;
    }
    if (name.CompareIgnoringCase(L"interval") == 0) {
        m_interval = ResolveNamedDimension(value.c_str());
        return S_FALSE;
    }
    return E_NOTIMPL;
}

bool SLinearLayout::IsParamAcceptable(const ILayoutParam* param) const
{
    return param && param->MatchesClassName(SLinearLayoutParam::StaticXmlClassName());
}

ILayoutParam* SLinearLayout::CreateLayoutParam() const
{
    return new (std::nothrow) SLinearLayoutParam;
}

void SLinearLayout::LayoutChildren(SWindow* window)
{
    SLayoutChildren children;
    children.Collect(window);
    Arrange(children, LayoutChildArea(window));
}

void SLinearLayout::MeasureChildren(SIZE& size, SWindow* window, int width, int height) const
{
    SLayoutChildren children;
    children.Collect(window);
    size = Measure(children, width, height, LayoutWrapsContent(window, kOrientHorz),
                   LayoutWrapsContent(window, kOrientVert));
}

int SLinearLayout::IntervalPixels(const SLayoutChildren& children) const
{
    return m_interval.ToPixels(children.ParentScale());
}

// Step one of arranging and measuring: every acceptable child's cell. given[axis] is what a
// match-parent size takes on that axis, -1 when it is open there. Returns false when no cell.
bool SLinearLayout::ComputeCells(const SLayoutChildren& children, SDynArray<SCell>& cells, const int given[2],
                                 float& weights, bool positiveWeightsOnly) const
{
    weights = 0.0f;
    cells.GrowTo(children.Count());
    for (int i = 0; i < children.Count(); ++i) {
        if (!IsParamAcceptable(children[i].param))
            continue;
        const SLinearLayoutParamStruct& p = RecordOf(children[i]);
        int scale = children[i].scale;
        SCell cell{i, {-1, -1}, {p.extendLeft.ToPixels(scale), p.extendTop.ToPixels(scale),
                                 p.extendRight.ToPixels(scale), p.extendBottom.ToPixels(scale)}};
        bool open[2];
        for (int axis = 0; axis < 2; ++axis) {
            const SLayoutSize& size = axis == 0 ? p.width : p.height;
            open[axis] = false;
            if (size.IsMatchParent() && given[axis] != -1)
                cell.size[axis] = given[axis];
            else if (size.IsNonNegative())
                cell.size[axis] = size.ToPixels(scale) + cell.AxisExtend(axis);
            else
                open[axis] = true;
        }
        if (open[0] || open[1]) {
            SIZE preferred = children.PreferredSize(i, cell.size[0], cell.size[1]);
            if (open[0])
                cell.size[0] = preferred.cx + cell.AxisExtend(0);
            if (open[1])
                cell.size[1] = preferred.cy + cell.AxisExtend(1);
        }
        if (!positiveWeightsOnly || p.weight > 0.0f)
            weights += p.weight;
        cells.Add(cell);
    }
    return cells.Count() > 0;
}

// Shares space by weight along the main axis; a child that receives space is measured again
// across with its own main size fixed to the new length (its parameter is restored after).
void SLinearLayout::ShareSpace(const SLayoutChildren& children, SDynArray<SCell>& cells, int space, float weights,
                               bool remeasureUnlessFixed) const
{
    int main = m_orientation == kOrientVert ? 1 : 0;
    int cross = 1 - main;
    auto weightAt = [&](int k) { return RecordOf(children[cells[k].index]).weight; };
    ShareByWeight(cells.Count(), space, weights, weightAt, [&](int k, int amount) {
        SCell& cell = cells[k];
        cell.size[main] += amount;
        const SLayoutChild& child = children[cell.index];
        auto* record = static_cast<SLinearLayoutParamStruct*>(child.param->GetRawData());
        const SLayoutSize& crossSize = cross == 0 ? record->width : record->height;
        bool remeasure = remeasureUnlessFixed ? !crossSize.IsNonNegative() : crossSize.IsWrapContent();
        if (!remeasure)
            return;
        SLinearLayoutParamStruct saved = *record;
        int ownMain = cell.size[main] - cell.AxisExtend(main);
        child.param->SetSpecifiedSize(main, SLayoutSize(static_cast<float>(ownMain), SLayoutSize::kPx));
        if (remeasureUnlessFixed)
            child.param->SetWrapContent(cross);
        SIZE preferred = children.PreferredSize(cell.index, main == 0 ? ownMain : -1, main == 1 ? ownMain : -1);
        cell.size[cross] = (cross == 0 ? preferred.cx : preferred.cy) + cell.AxisExtend(cross);
        *record = saved;
    });
}

void SLinearLayout::Arrange(const SLayoutChildren& children, const RECT& area) const
{
    int extent[2] = {area.right - area.left, area.bottom - area.top};
    SDynArray<SCell> cells;
    float weights;
    if (!ComputeCells(children, cells, extent, weights, true))
        return;
    int main = m_orientation == kOrientVert ? 1 : 0;
    int cross = 1 - main;
    int interval = IntervalPixels(children);
    int used = (cells.Count() - 1) * interval;
    for (int k = 0; k < cells.Count(); ++k)
        used += cells[k].size[main];
    if (weights > 0.0f && used < extent[main])
        ShareSpace(children, cells, extent[main] - used, weights, false);

    int offset = 0;
    for (int k = 0; k < cells.Count(); ++k) {
        const SCell& cell = cells[k];
        int gravity = RecordOf(children[cell.index]).gravity;
        if (gravity == kGravityUnset)
            gravity = m_gravity == kGravityUnset ? kGravityNear : m_gravity;
        int origin[2];
        origin[main] = offset;
        origin[cross] = 0;
        if (gravity == kGravityCenter)
            origin[cross] = (extent[cross] - cell.size[cross]) / 2;
        else if (gravity == kGravityFar)
            origin[cross] = extent[cross] - cell.size[cross];
        RECT rect = {area.left + origin[0] + cell.extend[0], area.top + origin[1] + cell.extend[1],
                     area.left + origin[0] + cell.size[0] - cell.extend[2],
                     area.top + origin[1] + cell.size[1] - cell.extend[3]};
        children.Place(cell.index, rect);
        offset += cell.size[main] + interval;
    }
}

SIZE SLinearLayout::Measure(const SLayoutChildren& children, int width, int height, bool wrapWidth,
                            bool wrapHeight) const
{
    SIZE result = {0, 0};
    int given[2] = {wrapWidth ? -1 : width, wrapHeight ? -1 : height};
    SDynArray<SCell> cells;
    float weights;
    if (!ComputeCells(children, cells, given, weights, false))
        return result;
    int main = m_orientation == kOrientVert ? 1 : 0;
    int cross = 1 - main;
    int interval = IntervalPixels(children);
    int used = (cells.Count() - 1) * interval;
    for (int k = 0; k < cells.Count(); ++k)
        used += cells[k].size[main];
    int limit = main == 1 ? height : width;
    if (weights != 0.0f && limit != -1 && used < limit)
        ShareSpace(children, cells, limit - used, weights, true);

    int total[2] = {0, 0};
    total[main] = (cells.Count() - 1) * interval;
    for (int k = 0; k < cells.Count(); ++k) {
        total[main] += cells[k].size[main];
        total[cross] = std::max(total[cross], cells[k].size[cross]);
    }
    result.cx = total[0];
    result.cy = total[1];
    return result;
}

} // namespace SKEIN
