#include <algorithm>
#include <new>
#include "helper/SStringConv.h"
#include "layout/SGridLayout.h"
#include "layout/SkeinLayoutUtil.h"
#include "res.mgr/SUiDef.h"

namespace SKEIN {

int GridGravity(const SStringW& value)
{
    static const struct {
        const wchar_t* word;
        int gravity;
    } kWords[] = {{L"left", kGravityNear},  {L"top", kGravityNear},     {L"center", kGravityCenter},
                  {L"right", kGravityFar},  {L"bottom", kGravityFar},   {L"fill", kGravityFill}};
    for (const auto& word : kWords) {
        if (value.CompareIgnoringCase(word.word) == 0)
            return word.gravity;
    }
    return kGravityUnset;
}

namespace {

const SGridLayoutParamStruct& RecordOf(const SLayoutChild& child)
{
    return *static_cast<const SGridLayoutParamStruct*>(child.param->GetRawData());
}

// A count or span text: 1..kMaxCount, else false.
bool ParseCount(const SStringW& value, int& out)
{
    int n = ParseLayoutInt(value);
    if (n < 1 || n > SGridLayout::kMaxCount)
        return false;
    out = n;
    return true;
}

// Start and extent of a child inside its area by gravity.
void ApplyGravity(int gravity, int areaStart, int area, int& start, int& size)
{
    start = areaStart;
    if (gravity == kGravityCenter)
        start += (area - size) / 2;
    else if (gravity == kGravityFar)
        start += area - size;
    else if (gravity == kGravityFill)
        size = area;
}

} // namespace

// ---- SGridLayoutParam ----

void SGridLayoutParam::Clear()
{
    m_data.columnSpan = m_data.rowSpan = 1;
    m_data.xGravity = m_data.yGravity = kGravityUnset;
    m_data.width.SetWrapContent();
    m_data.height.SetWrapContent();
    m_data.columnWeight = m_data.rowWeight = 0.0f;
}

HRESULT SGridLayoutParam::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL)
{
    if (name.CompareIgnoringCase(L"columnSpan") == 0)
        return ParseCount(value, m_data.columnSpan) ? S_OK : E_FAIL;
    if (name.CompareIgnoringCase(L"rowSpan") == 0)
        return ParseCount(value, m_data.rowSpan) ? S_OK : E_FAIL;
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
    if (name.CompareIgnoringCase(L"layout_xGravity") == 0) {
        m_data.xGravity = GridGravity(value);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"layout_yGravity") == 0) {
        m_data.yGravity = GridGravity(value);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"columnWeight") == 0) {
        ParseLayoutFloat(value, m_data.columnWeight);
        return S_OK;
    }
    if (name.CompareIgnoringCase(L"rowWeight") == 0) {
        ParseLayoutFloat(value, m_data.rowWeight);
        return S_OK;
    }
    return E_NOTIMPL;
}

// ---- the cell table of one call ----

class SGridLayout::SGrid {
public:
    struct SPlaced {
        int index;
        int row, column;
        int rowSpan, columnSpan;
        int cellWidth, cellHeight;
    };

    SGrid(const SGridLayout& layout, const SLayoutChildren& children);

    bool IsEmpty() const { return m_columns <= 0 || m_rows <= 0; }
    int Columns() const { return m_columns; }
    int Rows() const { return m_rows; }

    SDynArray<int> widths, heights;
    SDynArray<float> columnWeights, rowWeights;
    SDynArray<SPlaced> placed;

private:
    void Derive(const SGridLayout& layout, const SLayoutChildren& children);
    void Place(const SGridLayout& layout, const SLayoutChildren& children);
    // Spans from (row, column) limited to the table and to the cells still free.
    void FitSpans(int row, int column, int& rowSpan, int& columnSpan) const;
    // The next free cell after (row, column); false when none remains.
    bool Advance(int& row, int& column) const;
    bool Occupied(int row, int column) const { return m_occupied[row * m_columns + column]; }

    int m_columns, m_rows;
    SDynArray<bool> m_occupied;
};

SGridLayout::SGrid::SGrid(const SGridLayout& layout, const SLayoutChildren& children) : m_columns(0), m_rows(0)
{
    Derive(layout, children);
    if (IsEmpty())
        return;
    if (!m_occupied.Resize(m_columns * m_rows) || !widths.Resize(m_columns) || !columnWeights.Resize(m_columns) ||
        !heights.Resize(m_rows) || !rowWeights.Resize(m_rows)) {
        m_columns = m_rows = 0;
        return;
    }
    Place(layout, children);
}

void SGridLayout::SGrid::Derive(const SGridLayout& layout, const SLayoutChildren& children)
{
    m_columns = layout.m_columns;
    m_rows = layout.m_rows;
    if (m_columns == -1 && m_rows == -1)
        return;
    if (m_columns == -1 || m_rows == -1) {
        long long demand = 0;
        for (int i = 0; i < children.Count(); ++i) {
            if (layout.IsParamAcceptable(children[i].param))
                demand += static_cast<long long>(RecordOf(children[i]).columnSpan) * RecordOf(children[i]).rowSpan;
        }
        int known = m_columns == -1 ? m_rows : m_columns;
        long long derived = (demand + known - 1) / known;
        (m_columns == -1 ? m_columns : m_rows) = static_cast<int>(std::min<long long>(derived, kMaxCount));
    }
}

void SGridLayout::SGrid::FitSpans(int row, int column, int& rowSpan, int& columnSpan) const
{
    columnSpan = std::min(columnSpan, m_columns - column);
    rowSpan = std::min(rowSpan, m_rows - row);
    for (int r = row; r < row + rowSpan; ++r) {
        for (int c = column; c < column + columnSpan; ++c) {
            if (!Occupied(r, c))
                continue;
            if (r == row) {
                columnSpan = c - column;
                rowSpan = 1;
            } else {
                rowSpan = r - row;
            }
            return;
        }
    }
}

bool SGridLayout::SGrid::Advance(int& row, int& column) const
{
    for (int c = column + 1; c < m_columns; ++c) {
        if (!Occupied(row, c)) {
            column = c;
            return true;
        }
    }
    for (int r = row + 1; r < m_rows; ++r) {
        for (int c = 0; c < m_columns; ++c) {
            if (!Occupied(r, c)) {
                row = r;
                column = c;
                return true;
            }
        }
    }
    return false;
}

void SGridLayout::SGrid::Place(const SGridLayout& layout, const SLayoutChildren& children)
{
    int row = 0, column = 0;
    for (int i = 0; i < children.Count(); ++i) {
        if (!layout.IsParamAcceptable(children[i].param))
            continue;
        const SGridLayoutParamStruct& p = RecordOf(children[i]);
        SPlaced item{i, row, column, p.rowSpan, p.columnSpan, 0, 0};
        FitSpans(row, column, item.rowSpan, item.columnSpan);
        SIZE preferred = children.PreferredSize(i, -1, -1);
        item.cellWidth = preferred.cx / item.columnSpan;
        item.cellHeight = preferred.cy / item.rowSpan;
        for (int r = row; r < row + item.rowSpan; ++r) {
            heights[r] = std::max(heights[r], item.cellHeight);
            rowWeights[r] = std::max(rowWeights[r], p.rowWeight / item.rowSpan);
            for (int c = column; c < column + item.columnSpan; ++c)
                m_occupied[r * m_columns + c] = true;
        }
        for (int c = column; c < column + item.columnSpan; ++c) {
            widths[c] = std::max(widths[c], item.cellWidth);
            columnWeights[c] = std::max(columnWeights[c], p.columnWeight / item.columnSpan);
        }
        placed.Add(item);
        if (!Advance(row, column))
            return;
    }
}

// ---- SGridLayout ----

SGridLayout::SGridLayout() : m_columns(-1), m_rows(-1), m_xGravity(kGravityCenter), m_yGravity(kGravityCenter) {}

HRESULT SGridLayout::ApplyAttribute(const SStringW& name, const SStringW& value, BOOL)
{
    if (name.CompareIgnoringCase(L"columnCount") == 0)
        return ParseCount(value, m_columns) ? S_OK : E_FAIL;
    if (name.CompareIgnoringCase(L"rowCount") == 0)
        return ParseCount(value, m_rows) ? S_OK : E_FAIL;
    // Each name sets the x value, the y value or both.
    static const struct {
        const wchar_t* name;
        bool x, y, gravity;
    } kPairs[] = {{L"xInterval", true, false, false}, {L"yInterval", false, true, false},
                  {L"interval", true, true, false},   {L"xGravity", true, false, true},
                  {L"yGravity", false, true, true},   {L"gravity", true, true, true}};
    for (const auto& pair : kPairs) {
        if (name.CompareIgnoringCase(pair.name) != 0)
            continue;
        if (pair.gravity) {
            int gravity = GridGravity(value);
            (pair.x ? m_xGravity : m_yGravity) = gravity;
            if (pair.x && pair.y)
                m_yGravity = gravity;
        } else {
            SLayoutSize interval = ResolveNamedDimension(value.c_str());
            (pair.x ? m_xInterval : m_yInterval) = interval;
            if (pair.x && pair.y)
                m_yInterval = interval;
        }
        return S_OK;
    }
    return E_NOTIMPL;
}

bool SGridLayout::IsParamAcceptable(const ILayoutParam* param) const
{
    return param && param->MatchesClassName(SGridLayoutParam::StaticXmlClassName());
}

ILayoutParam* SGridLayout::CreateLayoutParam() const
{
    return new (std::nothrow) SGridLayoutParam;
}

void SGridLayout::LayoutChildren(SWindow* window)
{
    SLayoutChildren children;
    children.Collect(window);
    Arrange(children, LayoutChildArea(window));
}

void SGridLayout::MeasureChildren(SIZE& size, SWindow* window, int, int) const
{
    SLayoutChildren children;
    children.Collect(window);
    size = Measure(children);
}

SIZE SGridLayout::Measure(const SLayoutChildren& children) const
{
    SIZE size = {0, 0};
    SGrid grid(*this, children);
    if (grid.IsEmpty())
        return size;
    int scale = children.ParentScale();
    size.cx = (grid.Columns() - 1) * m_xInterval.ToPixels(scale);
    size.cy = (grid.Rows() - 1) * m_yInterval.ToPixels(scale);
    for (int c = 0; c < grid.Columns(); ++c)
        size.cx += grid.widths[c];
    for (int r = 0; r < grid.Rows(); ++r)
        size.cy += grid.heights[r];
    return size;
}

namespace {

// Shares what the lines leave of free by their weights; fills starts with the line offsets.
void DistributeLines(SDynArray<int>& lines, const SDynArray<float>& weights, int free, int interval, int origin,
                     SDynArray<int>& starts)
{
    int used = 0;
    float weightSum = 0.0f;
    for (int k = 0; k < lines.Count(); ++k) {
        used += lines[k];
        weightSum += weights[k];
    }
    if (used < free && weightSum > 0.0f) {
        ShareByWeight(lines.Count(), free - used, weightSum, [&](int k) { return weights[k]; },
                      [&](int k, int amount) { lines[k] += amount; });
    }
    starts.Resize(lines.Count());
    for (int k = 0, at = origin; k < lines.Count(); ++k) {
        starts[k] = at;
        at += lines[k] + interval;
    }
}

// The extent of span lines from first, with the intervals between them.
int SpanExtent(const SDynArray<int>& lines, int first, int span, int interval)
{
    int extent = (span - 1) * interval;
    for (int k = first; k < first + span; ++k)
        extent += lines[k];
    return extent;
}

} // namespace

void SGridLayout::Arrange(const SLayoutChildren& children, const RECT& area) const
{
    SGrid grid(*this, children);
    if (grid.IsEmpty())
        return;
    int scale = children.ParentScale();
    int xInterval = m_xInterval.ToPixels(scale);
    int yInterval = m_yInterval.ToPixels(scale);
    SDynArray<int> xs, ys;
    DistributeLines(grid.widths, grid.columnWeights, (area.right - area.left) - (grid.Columns() - 1) * xInterval,
                    xInterval, area.left, xs);
    DistributeLines(grid.heights, grid.rowWeights, (area.bottom - area.top) - (grid.Rows() - 1) * yInterval,
                    yInterval, area.top, ys);
    if (xs.Count() != grid.Columns() || ys.Count() != grid.Rows())
        return;
    for (int k = 0; k < grid.placed.Count(); ++k) {
        const SGrid::SPlaced& item = grid.placed[k];
        const SGridLayoutParamStruct& p = RecordOf(children[item.index]);
        int width = item.cellWidth * item.columnSpan;
        int height = item.cellHeight * item.rowSpan;
        int x, y;
        ApplyGravity(p.xGravity == kGravityUnset ? m_xGravity : p.xGravity, xs[item.column],
                     SpanExtent(grid.widths, item.column, item.columnSpan, xInterval), x, width);
        ApplyGravity(p.yGravity == kGravityUnset ? m_yGravity : p.yGravity, ys[item.row],
                     SpanExtent(grid.heights, item.row, item.rowSpan, yInterval), y, height);
        RECT rect = {x, y, x + width, y + height};
        children.Place(item.index, rect);
    }
}

} // namespace SKEIN
