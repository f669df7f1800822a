// The fixed and the flexible list-view item locators.
#include "control/SListViewItemLocator.h"
#include <algorithm>

namespace SKEIN {

namespace {

const int kUnmeasured = -1;

// A layout size in pixels; the special values (match parent, wrap content) count as 0.
int Pixels(const SLayoutSize& size, int scale)
{
    return std::max(0, size.ToPixels(scale));
}

} // namespace

// ---- fixed ----

SListViewItemLocatorFix::SListViewItemLocatorFix(const SLayoutSize& itemHeight, const SLayoutSize& dividerSize)
    : m_itemHeight(itemHeight), m_dividerSize(dividerSize), m_scale(100)
{
}

int SListViewItemLocatorFix::ItemHeightPx() const
{
    return Pixels(m_itemHeight, m_scale);
}

int SListViewItemLocatorFix::DividerSize() const
{
    return Pixels(m_dividerSize, m_scale);
}

int SListViewItemLocatorFix::Count() const
{
    return m_adapter ? m_adapter->ItemCount() : 0;
}

int SListViewItemLocatorFix::ItemHeight(int index) const
{
    return InRange(index) ? ItemHeightPx() : 0;
}

int SListViewItemLocatorFix::TotalHeight() const
{
    int count = Count();
    return count > 0 ? count * LineSize() - DividerSize() : 0;
}

int SListViewItemLocatorFix::ItemTop(int index) const
{
    return InRange(index) ? index * LineSize() : 0;
}

int SListViewItemLocatorFix::ItemAt(int position) const
{
    if (!m_adapter)
        return -1;
    int line = LineSize();
    int index = line > 0 ? position / line : 0;
    return std::min(std::max(index, 0), Count());
}

// ---- flexible ----

SListViewItemLocatorFlex::SListViewItemLocatorFlex(const SLayoutSize& defaultHeight, const SLayoutSize& dividerSize)
    : m_defaultHeight(defaultHeight), m_dividerSize(dividerSize), m_scale(100)
{
}

SListViewItemLocatorFlex::~SListViewItemLocatorFlex()
{
    FreeSegments();
}

void SListViewItemLocatorFlex::AttachAdapter(ListItemAdapter* adapter)
{
    m_adapter = adapter;
    Rebuild();
}

void SListViewItemLocatorFlex::SetScale(int scale)
{
    m_scale = scale;
    Rebuild();
}

int SListViewItemLocatorFlex::LineSize() const
{
    return Pixels(m_defaultHeight, m_scale) + DividerSize();
}

int SListViewItemLocatorFlex::DividerSize() const
{
    return Pixels(m_dividerSize, m_scale);
}

int SListViewItemLocatorFlex::TreeDepth(int count)
{
    int segments = (count + kSegmentItems - 1) / kSegmentItems;
    int depth = 0;
    for (long long reach = 1; reach < segments; reach *= kFanOut)
        ++depth;
    return depth;
}

void SListViewItemLocatorFlex::FreeSegments()
{
    for (int i = 0; i < m_segments.Count(); ++i)
        delete m_segments[i];
    m_segments.Resize(0);
}

void SListViewItemLocatorFlex::Rebuild()
{
    m_branches.DeleteAllItems();
    FreeSegments();
    if (!m_adapter)
        return;
    int count = std::max(0, m_adapter->ItemCount());
    long long branchSize = kSegmentItems;
    for (int depth = TreeDepth(count); depth > 0; --depth)
        branchSize *= kFanOut;
    Build(kTviRoot, count, branchSize);
}

void SListViewItemLocatorFlex::Build(STreeHandle parent, int count, long long branchSize)
{
    STreeHandle node = m_branches.InsertItem(BranchInfo{count * LineSize(), count}, parent, kTviLast);
    if (!node)
        return;
    if (count <= kSegmentItems) {
        Segment* segment = new (std::nothrow) Segment;
        if (!segment)
            return;
        segment->leaf = node;
        segment->count = count;
        std::fill(segment->lineSizes, segment->lineSizes + kSegmentItems, kUnmeasured);
        if (m_segments.Add(segment) < 0)
            delete segment;
        return;
    }
    long long childSize = branchSize / kFanOut;
    while (count > 0) {
        int part = static_cast<int>(std::min<long long>(count, childSize));
        Build(node, part, childSize);
        count -= part;
    }
}

int SListViewItemLocatorFlex::Count() const
{
    const BranchInfo* root = m_branches.GetItemData(m_branches.GetChildItem(kTviRoot));
    return m_adapter && root ? root->count : 0;
}

int SListViewItemLocatorFlex::StoredLineSize(int index) const
{
    const Segment* segment = m_segments[index / kSegmentItems];
    int size = segment->lineSizes[index % kSegmentItems];
    return size == kUnmeasured ? LineSize() : size;
}

int SListViewItemLocatorFlex::OffsetOf(STreeHandle node) const
{
    int offset = 0;
    for (; node; node = m_branches.GetParentItem(node)) {
        for (STreeHandle sibling = m_branches.GetPrevSiblingItem(node); sibling;
             sibling = m_branches.GetPrevSiblingItem(sibling))
            offset += m_branches.GetItemData(sibling)->total;
    }
    return offset;
}

int SListViewItemLocatorFlex::CountBefore(STreeHandle node) const
{
    int before = 0;
    for (; node; node = m_branches.GetParentItem(node)) {
        for (STreeHandle sibling = m_branches.GetPrevSiblingItem(node); sibling;
             sibling = m_branches.GetPrevSiblingItem(sibling))
            before += m_branches.GetItemData(sibling)->count;
    }
    return before;
}

int SListViewItemLocatorFlex::ItemHeight(int index) const
{
    return InRange(index) ? StoredLineSize(index) - DividerSize() : 0;
}

void SListViewItemLocatorFlex::SetItemHeight(int index, int height)
{
    if (!InRange(index))
        return;
    Segment* segment = m_segments[index / kSegmentItems];
    int& stored = segment->lineSizes[index % kSegmentItems];
    int oldSize = stored == kUnmeasured ? LineSize() : stored;
    int newSize = std::max(0, height) + DividerSize();
    stored = newSize;
    if (newSize == oldSize)
        return;
    for (STreeHandle node = segment->leaf; node; node = m_branches.GetParentItem(node))
        m_branches.GetItemData(node)->total += newSize - oldSize;
}

int SListViewItemLocatorFlex::TotalHeight() const
{
    const BranchInfo* root = m_branches.GetItemData(m_branches.GetChildItem(kTviRoot));
    if (!m_adapter || !root)
        return 0;
    return root->count > 0 ? root->total - DividerSize() : root->total;
}

int SListViewItemLocatorFlex::ItemTop(int index) const
{
    if (!InRange(index))
        return 0;
    const Segment* segment = m_segments[index / kSegmentItems];
    int top = OffsetOf(segment->leaf);
    for (int i = index - index % kSegmentItems; i < index; ++i)
        top += StoredLineSize(i);
    return top;
}

int SListViewItemLocatorFlex::ItemAt(int position) const
{
    if (!m_adapter || position < 0 || position >= TotalHeight())
        return -1;
    int rest = position;
    STreeHandle node = m_branches.GetChildItem(kTviRoot);
    for (;;) {
        while (node && m_branches.GetItemData(node)->total < rest) {
            rest -= m_branches.GetItemData(node)->total;
            node = m_branches.GetNextSiblingItem(node);
        }
        if (!node)
            return -1;
        STreeHandle child = m_branches.GetChildItem(node);
        if (!child)
            break;
        node = child;
    }
    int first = CountBefore(node);
    const Segment* segment = m_segments[first / kSegmentItems];
    for (int k = 0; k < segment->count; ++k) {
        int size = StoredLineSize(first + k);
        if (size >= rest)
            return first + k;
        rest -= size;
    }
    return -1;
}

} // namespace SKEIN
