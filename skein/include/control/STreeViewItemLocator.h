#pragma once
// The tree view's item locator: positions from six integers per item that the adapter keeps
// (height, width, branch height, branch width, offset inside the parent's branch). A measured
// size is propagated through the ancestors' branch sums, and the offsets of the following
// siblings at each level are restacked.
#include "core/SObjRef.h"
#include "interface/SAdapter-i.h"

namespace SKEIN {

struct ITreeViewItemLocator : IObjRef {
    virtual void AttachAdapter(TreeItemAdapter* adapter) = 0;
    // Gives the item's whole branch default sizes and offsets.
    virtual void MeasureBranch(STreeHandle item) = 0;
    virtual void ExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded) = 0;
    virtual int TotalHeight() const = 0;
    virtual int TotalWidth() const = 0;
    // The item's top in the content; -1 under a collapsed ancestor.
    virtual int ItemTop(STreeHandle item) const = 0;
    // The item at a content position, 0 when none.
    virtual STreeHandle ItemAt(int position) const = 0;
    virtual int LineSize() const = 0;
    virtual void SetItemWidth(STreeHandle item, int width) = 0;
    virtual int ItemWidth(STreeHandle item) const = 0;
    virtual void SetItemHeight(STreeHandle item, int height) = 0;
    virtual int ItemHeight(STreeHandle item) const = 0;
    // Indent per ancestor below the root.
    virtual int ItemIndent(STreeHandle item) const = 0;
    virtual ~ITreeViewItemLocator() {}
};

class STreeViewItemLocator : public TObjRefImpl<ITreeViewItemLocator> {
public:
    enum { kLineSize = 50, kDefaultWidth = 10, kDefaultHeight = 50 };

    explicit STreeViewItemLocator(int indent);

    void AttachAdapter(TreeItemAdapter* adapter) override { m_adapter = adapter; }
    void MeasureBranch(STreeHandle item) override;
    void ExpansionChanged(STreeHandle item, BOOL wasExpanded, BOOL isExpanded) override;
    int TotalHeight() const override;
    int TotalWidth() const override;
    int ItemTop(STreeHandle item) const override;
    STreeHandle ItemAt(int position) const override;
    int LineSize() const override { return m_lineSize; }
    void SetItemWidth(STreeHandle item, int width) override;
    int ItemWidth(STreeHandle item) const override { return Value(item, kTreeValueWidth); }
    void SetItemHeight(STreeHandle item, int height) override;
    int ItemHeight(STreeHandle item) const override { return Value(item, kTreeValueHeight); }
    int ItemIndent(STreeHandle item) const override;

private:
    int Value(STreeHandle item, int key) const;
    void SetValue(STreeHandle item, int key, int value) const;
    bool IsExpanded(STreeHandle item) const;
    // Height of the item and, when expanded, its branch.
    int SubtreeHeight(STreeHandle item) const;
    int SubtreeWidth(STreeHandle item) const;
    int IndentUnder(STreeHandle parent) const;
    void InitBranch(STreeHandle item);
    // Adds delta to the branch height of each ancestor, up to the first collapsed one.
    void AddToAncestors(STreeHandle item, int delta);
    void Restack(STreeHandle item);
    // The child of parent (whose branch starts at top) that covers position, and its top.
    STreeHandle ChildAt(STreeHandle parent, int top, int position, int* childTop) const;

    SRefPtr<TreeItemAdapter> m_adapter;
    int m_lineSize;
    int m_indent;
    int m_defaultWidth;
    int m_defaultHeight;
};

} // namespace SKEIN
