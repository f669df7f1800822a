// STreeViewItemLocator: branch sums, restacking, and position queries over the adapter's tree.
#include "control/STreeViewItemLocator.h"
#include <algorithm>

namespace SKEIN {

STreeViewItemLocator::STreeViewItemLocator(int indent)
    : m_lineSize(kLineSize), m_indent(indent), m_defaultWidth(kDefaultWidth), m_defaultHeight(kDefaultHeight)
{
}

int STreeViewItemLocator::Value(STreeHandle item, int key) const
{
    return m_adapter ? m_adapter->LayoutValue(item, key) : 0;
}

void STreeViewItemLocator::SetValue(STreeHandle item, int key, int value) const
{
    if (m_adapter)
        m_adapter->SetLayoutValue(item, key, value);
}

// The root always counts as expanded.
bool STreeViewItemLocator::IsExpanded(STreeHandle item) const
{
    return item == kTviRoot || (m_adapter && m_adapter->IsExpanded(item));
}

int STreeViewItemLocator::SubtreeHeight(STreeHandle item) const
{
    int height = Value(item, kTreeValueHeight);
    return IsExpanded(item) ? height + Value(item, kTreeValueBranchHeight) : height;
}

int STreeViewItemLocator::IndentUnder(STreeHandle parent) const
{
    return parent == kTviRoot ? 0 : m_indent;
}

int STreeViewItemLocator::SubtreeWidth(STreeHandle item) const
{
    int width = Value(item, kTreeValueWidth);
    if (!m_adapter->FirstChild(item))
        return width;
    return std::max(width, IndentUnder(m_adapter->ParentItem(item)) + Value(item, kTreeValueBranchWidth));
}

int STreeViewItemLocator::TotalHeight() const
{
    return Value(kTviRoot, kTreeValueBranchHeight);
}

int STreeViewItemLocator::TotalWidth() const
{
    return Value(kTviRoot, kTreeValueBranchWidth);
}

int STreeViewItemLocator::ItemIndent(STreeHandle item) const
{
    if (!m_adapter)
        return 0;
    int indent = 0;
    for (STreeHandle parent = m_adapter->ParentItem(item); parent && parent != kTviRoot;
         parent = m_adapter->ParentItem(parent))
        indent += m_indent;
    return indent;
}

// ---- measuring ----

void STreeViewItemLocator::MeasureBranch(STreeHandle item)
{
    if (!m_adapter || !item)
        return;
    int oldHeight = SubtreeHeight(item);
    InitBranch(item);
    int newHeight = SubtreeHeight(item);
    if (oldHeight != newHeight && item != kTviRoot) {
        AddToAncestors(item, newHeight - oldHeight);
        Restack(item);
    }
}

void STreeViewItemLocator::InitBranch(STreeHandle item)
{
    bool root = item == kTviRoot;
    SetValue(item, kTreeValueHeight, root ? 0 : m_defaultHeight);
    SetValue(item, kTreeValueWidth, root ? 0 : m_defaultWidth);
    STreeHandle child = m_adapter->FirstChild(item);
    if (!child) {
        SetValue(item, kTreeValueBranchHeight, 0);
        SetValue(item, kTreeValueBranchWidth, 0);
        return;
    }
    int offset = 0;
    for (; child; child = m_adapter->NextSibling(child)) {
        SetValue(child, kTreeValueOffset, offset);
        InitBranch(child);
        offset += SubtreeHeight(child);
    }
    SetValue(item, kTreeValueBranchHeight, offset);
    SetValue(item, kTreeValueBranchWidth, m_defaultWidth + m_indent);
}

// A collapsed ancestor's own height does not change, so nothing above it does.
void STreeViewItemLocator::AddToAncestors(STreeHandle item, int delta)
{
    for (STreeHandle parent = m_adapter->ParentItem(item); parent; parent = m_adapter->ParentItem(parent)) {
        SetValue(parent, kTreeValueBranchHeight, Value(parent, kTreeValueBranchHeight) + delta);
        if (!IsExpanded(parent) || parent == kTviRoot)
            return;
    }
}

void STreeViewItemLocator::Restack(STreeHandle item)
{
    while (item && item != kTviRoot) {
        STreeHandle previous = item;
        for (STreeHandle next = m_adapter->NextSibling(item); next; next = m_adapter->NextSibling(next)) {
            SetValue(next, kTreeValueOffset, Value(previous, kTreeValueOffset) + SubtreeHeight(previous));
            previous = next;
        }
        item = m_adapter->ParentItem(item);
        if (item && item != kTviRoot && !IsExpanded(item))
            return;
    }
}

void STreeViewItemLocator::SetItemHeight(STreeHandle item, int height)
{
    if (!m_adapter)
        return;
    int delta = height - Value(item, kTreeValueHeight);
    SetValue(item, kTreeValueHeight, height);
    if (delta == 0)
        return;
    AddToAncestors(item, delta);
    Restack(item);
}

void STreeViewItemLocator::SetItemWidth(STreeHandle item, int width)
{
    if (!m_adapter || Value(item, kTreeValueWidth) == width)
        return;
    int oldWidth = SubtreeWidth(item);
    SetValue(item, kTreeValueWidth, width);
    int newWidth = SubtreeWidth(item);
    if (oldWidth == newWidth)
        return;
    for (STreeHandle branch = m_adapter->ParentItem(item); branch; branch = m_adapter->ParentItem(branch)) {
        int extent = Value(branch, kTreeValueBranchWidth);
        int indent = IndentUnder(branch);
        int grown = 0;
        if (indent + oldWidth == extent) {
            // The item defined the branch's width.
            if (oldWidth >= newWidth) {
                int widest = 0;
                for (STreeHandle c = m_adapter->FirstChild(branch); c; c = m_adapter->NextSibling(c))
                    widest = std::max(widest, SubtreeWidth(c));
                grown = indent + widest;
            } else {
                grown = newWidth + indent;
            }
        } else if (extent >= newWidth + indent) {
            return;
        } else {
            grown = newWidth + indent;
        }
        SetValue(branch, kTreeValueBranchWidth, grown);
        if (!IsExpanded(branch))
            return;
        oldWidth = extent;
        newWidth = grown;
    }
}

void STreeViewItemLocator::ExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded)
{
    if (!m_adapter || !wasExpanded == !isExpanded)
        return;
    int branch = Value(item, kTreeValueBranchHeight);
    AddToAncestors(item, isExpanded ? branch : -branch);
    Restack(item);
}

// ---- positions ----

int STreeViewItemLocator::ItemTop(STreeHandle item) const
{
    if (!m_adapter || !m_adapter->IsItemVisible(item))
        return -1;
    int top = 0;
    for (STreeHandle parent; item && item != kTviRoot; item = parent) {
        top += Value(item, kTreeValueOffset);
        parent = m_adapter->ParentItem(item);
        if (parent && parent != kTviRoot)
            top += Value(parent, kTreeValueHeight);
    }
    return top;
}

STreeHandle STreeViewItemLocator::ChildAt(STreeHandle parent, int top, int position, int* childTop) const
{
    int branch = Value(parent, kTreeValueBranchHeight);
    if (position - top < branch / 2) {
        for (STreeHandle child = m_adapter->FirstChild(parent); child; child = m_adapter->NextSibling(child)) {
            int bottom = top + SubtreeHeight(child);
            if (position < bottom) {
                *childTop = top;
                return child;
            }
            top = bottom;
        }
        return 0;
    }
    int bottom = top + branch;
    for (STreeHandle child = m_adapter->LastChild(parent); child; child = m_adapter->PreviousSibling(child)) {
        bottom -= SubtreeHeight(child);
        if (bottom <= position) {
            *childTop = bottom;
            return child;
        }
    }
    return 0;
}

STreeHandle STreeViewItemLocator::ItemAt(int position) const
{
    if (!m_adapter)
        return 0;
    STreeHandle branch = kTviRoot;
    int top = 0;
    while (position >= top) {
        if (position >= top + SubtreeHeight(branch))
            return 0;
        top += Value(branch, kTreeValueHeight);
        if (position < top)
            return branch;
        branch = ChildAt(branch, top, position, &top);
        if (!branch)
            return 0;
    }
    return 0;
}

} // namespace SKEIN
