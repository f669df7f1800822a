#pragma once
// CSTree: an n-ary tree of values. Nodes link to their parent, first and last child and both
// siblings; a handle is a node's address. Three reserved handles name the invisible root
// above the top-level nodes and the first and last insert positions. Handles that name no
// node are refused wherever a real node is needed.
#include <windows.h>
#include <new>

namespace SKEIN {

typedef ULONG_PTR STreeHandle;

// The reserved handles; sign-extended, so on 64-bit they lie where no node can be allocated.
const STreeHandle kTviRoot = static_cast<STreeHandle>(-0x10000);
const STreeHandle kTviFirst = static_cast<STreeHandle>(-0x0FFFF);
const STreeHandle kTviLast = static_cast<STreeHandle>(-0x0FFFE);

template <class T>
class CSTree {
public:
    struct STreeNode {
        STreeNode* parent;
        STreeNode* firstChild;
        STreeNode* lastChild;
        STreeNode* prevSibling;
        STreeNode* nextSibling;
        T data;
    };

    CSTree() : m_firstRoot(nullptr), m_lastRoot(nullptr) {}
    // Frees every node; the hook of a subclass no longer runs here, so a subclass whose
    // OnNodeFree releases something calls DeleteAllItems in its own destructor.
    virtual ~CSTree() { DeleteAllItems(); }
    CSTree(const CSTree&) = delete;
    CSTree& operator=(const CSTree&) = delete;

    // parent: kTviRoot (or 0) for the top level, else a node; insertAfter: kTviFirst,
    // kTviLast or a child of parent (one without a next sibling counts as kTviLast). The new
    // node, or 0 when a handle is refused; a refused call allocates nothing.
    STreeHandle InsertItem(const T& value, STreeHandle parent = kTviRoot, STreeHandle insertAfter = kTviLast)
    {
        if (parent == kTviFirst || parent == kTviLast)
            return 0;
        STreeNode* parentNode = parent == kTviRoot ? nullptr : Node(parent);
        STreeNode* after = nullptr;
        if (insertAfter != kTviFirst && insertAfter != kTviLast) {
            after = Node(insertAfter);
            if (!after || after->parent != parentNode)
                return 0;
            if (!after->nextSibling)
                insertAfter = kTviLast;
        }
        STreeNode* node = new (std::nothrow) STreeNode{parentNode, nullptr, nullptr, nullptr, nullptr, value};
        if (!node)
            return 0;
        STreeNode*& first = parentNode ? parentNode->firstChild : m_firstRoot;
        STreeNode*& last = parentNode ? parentNode->lastChild : m_lastRoot;
        if (insertAfter == kTviFirst) {
            node->nextSibling = first;
            (first ? first->prevSibling : last) = node;
            first = node;
        } else if (insertAfter == kTviLast) {
            node->prevSibling = last;
            (last ? last->nextSibling : first) = node;
            last = node;
        } else {
            node->prevSibling = after;
            node->nextSibling = after->nextSibling;
            after->nextSibling->prevSibling = node;
            after->nextSibling = node;
        }
        return Handle(node);
    }

    // kTviRoot frees every node; a node goes with its subtree. FALSE for a handle that names
    // neither.
    virtual BOOL DeleteItem(STreeHandle item)
    {
        if (item == kTviRoot) {
            DeleteAllItems();
            return TRUE;
        }
        STreeNode* node = Node(item);
        if (!node)
            return FALSE;
        STreeNode*& first = node->parent ? node->parent->firstChild : m_firstRoot;
        STreeNode*& last = node->parent ? node->parent->lastChild : m_lastRoot;
        (node->prevSibling ? node->prevSibling->nextSibling : first) = node->nextSibling;
        (node->nextSibling ? node->nextSibling->prevSibling : last) = node->prevSibling;
        FreeSubtree(node);
        return TRUE;
    }

    void DeleteAllItems()
    {
        while (STreeNode* root = m_firstRoot) {
            m_firstRoot = root->nextSibling;
            FreeSubtree(root);
        }
        m_lastRoot = nullptr;
    }

    // The pre-order successor: first child, else next sibling, else the next sibling of the
    // nearest ancestor that has one; 0 after the last node. kTviRoot gives the first root.
    STreeHandle GetNextItem(STreeHandle item) const
    {
        if (item == kTviRoot)
            return Handle(m_firstRoot);
        STreeNode* node = Node(item);
        if (!node)
            return 0;
        if (node->firstChild)
            return Handle(node->firstChild);
        for (; node; node = node->parent) {
            if (node->nextSibling)
                return Handle(node->nextSibling);
        }
        return 0;
    }

    // The number of ancestors (0 at the top level); -1 for kTviRoot and for a handle that
    // names no node.
    int GetItemLevel(STreeHandle item) const
    {
        STreeNode* node = Node(item);
        if (!node)
            return -1;
        int level = 0;
        while ((node = node->parent) != nullptr)
            ++level;
        return level;
    }

    // Link reads; 0 where there is no such node or the handle names none. The children of
    // kTviRoot are the top-level nodes.
    STreeHandle GetParentItem(STreeHandle item) const
    {
        STreeNode* node = Node(item);
        return node ? Handle(node->parent) : 0;
    }
    STreeHandle GetChildItem(STreeHandle item) const
    {
        if (item == kTviRoot)
            return Handle(m_firstRoot);
        STreeNode* node = Node(item);
        return node ? Handle(node->firstChild) : 0;
    }
    STreeHandle GetLastChildItem(STreeHandle item) const
    {
        if (item == kTviRoot)
            return Handle(m_lastRoot);
        STreeNode* node = Node(item);
        return node ? Handle(node->lastChild) : 0;
    }
    STreeHandle GetNextSiblingItem(STreeHandle item) const
    {
        STreeNode* node = Node(item);
        return node ? Handle(node->nextSibling) : 0;
    }
    STreeHandle GetPrevSiblingItem(STreeHandle item) const
    {
        STreeNode* node = Node(item);
        return node ? Handle(node->prevSibling) : 0;
    }

    // The value of a node; null for a handle that names none.
    T* GetItemData(STreeHandle item) const
    {
        STreeNode* node = Node(item);
        return node ? &node->data : nullptr;
    }

protected:
    // Called for every node's value just before the node is freed.
    virtual void OnNodeFree(T& data) {}

    static STreeNode* Node(STreeHandle item)
    {
        if (item == 0 || item == kTviRoot || item == kTviFirst || item == kTviLast)
            return nullptr;
        return reinterpret_cast<STreeNode*>(item);
    }
    static STreeHandle Handle(const STreeNode* node) { return reinterpret_cast<STreeHandle>(node); }

    STreeNode* m_firstRoot;
    STreeNode* m_lastRoot;

private:
    // Post-order without recursion (a deep tree cannot exhaust the stack): each child's
    // subtree in sibling order, then the node itself. Only top's own child links change.
    void FreeSubtree(STreeNode* top)
    {
        STreeNode* node = top;
        for (;;) {
            while (node->firstChild)
                node = node->firstChild;
            if (node == top)
                break;
            STreeNode* parent = node->parent;
            parent->firstChild = node->nextSibling;
            if (parent->firstChild)
                parent->firstChild->prevSibling = nullptr;
            else
                parent->lastChild = nullptr;
            STreeNode* next = node->nextSibling ? node->nextSibling : parent;
            OnNodeFree(node->data);
            delete node;
            node = next;
        }
        OnNodeFree(top->data);
        delete top;
    }
};

} // namespace SKEIN
