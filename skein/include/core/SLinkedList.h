#pragma once
// Doubly linked list whose nodes come from SPlexBlock blocks through a free list.
#include <new>
#include "core/SPlexBlock.h"

namespace SKEIN {

template <class T>
class SLinkedList {
public:
    struct Node {
        Node* next;
        Node* prev;
        T value;
    };

    explicit SLinkedList(int blockSize = 10)
        : m_first(nullptr), m_last(nullptr), m_count(0), m_blocks(nullptr), m_freeList(nullptr), m_blockSize(blockSize)
    {
    }
    ~SLinkedList() { RemoveAll(); }
    SLinkedList(const SLinkedList&) = delete;
    SLinkedList& operator=(const SLinkedList&) = delete;

    int Count() const { return m_count; }
    Node* First() const { return m_first; }
    Node* Last() const { return m_last; }

    // Each insertion returns the new node, or null when memory runs out.
    Node* AddHead(const T& value) { return Link(NewNode(value), nullptr, m_first); }
    Node* AddTail(const T& value) { return Link(NewNode(value), m_last, nullptr); }
    Node* InsertBefore(Node* at, const T& value) { return Link(NewNode(value), at->prev, at); }
    Node* InsertAfter(Node* at, const T& value) { return Link(NewNode(value), at, at->next); }

    void RemoveNode(Node* node)
    {
        (node->prev ? node->prev->next : m_first) = node->next;
        (node->next ? node->next->prev : m_last) = node->prev;
        node->value.~T();
        node->next = m_freeList;
        m_freeList = node;
        if (--m_count == 0)
            FreeBlocks();
    }

    void RemoveAll()
    {
        while (m_count > 0)
            RemoveNode(m_first);
        m_first = m_last = nullptr;
        FreeBlocks();
    }

    // First node at or after start (from the head when start is null) holding value.
    Node* Find(const T& value, Node* start = nullptr) const
    {
        for (Node* node = start ? start : m_first; node; node = node->next) {
            if (node->value == value)
                return node;
        }
        return nullptr;
    }

private:
    Node* NewNode(const T& value)
    {
        if (!m_freeList) {
            SPlexBlock* block = SPlexBlock::Allocate(m_blocks, static_cast<UINT32>(m_blockSize), sizeof(Node));
            if (!block)
                return nullptr;
            Node* nodes = static_cast<Node*>(block->Data());
            for (int i = m_blockSize - 1; i >= 0; --i) {
                nodes[i].next = m_freeList;
                m_freeList = &nodes[i];
            }
        }
        Node* node = m_freeList;
        m_freeList = node->next;
        new (&node->value) T(value);
        return node;
    }

    Node* Link(Node* node, Node* prev, Node* next)
    {
        if (!node)
            return nullptr;
        node->prev = prev;
        node->next = next;
        (prev ? prev->next : m_first) = node;
        (next ? next->prev : m_last) = node;
        ++m_count;
        return node;
    }

    void FreeBlocks()
    {
        SPlexBlock::FreeChain(m_blocks);
        m_blocks = nullptr;
        m_freeList = nullptr;
    }

    Node* m_first;
    Node* m_last;
    int m_count;
    SPlexBlock* m_blocks;
    Node* m_freeList;
    int m_blockSize;
};

// The values of a list copied at one moment, so that callbacks may change the list meanwhile;
// small lists stay on the stack.
template <class T, int N = 16>
class SListSnapshot {
public:
    explicit SListSnapshot(const SLinkedList<T>& list)
        : m_count(list.Count()), m_items(m_count <= N ? m_inline : new T[m_count])
    {
        int i = 0;
        for (auto* node = list.First(); node; node = node->next)
            m_items[i++] = node->value;
    }
    ~SListSnapshot()
    {
        if (m_items != m_inline)
            delete[] m_items;
    }
    SListSnapshot(const SListSnapshot&) = delete;
    SListSnapshot& operator=(const SListSnapshot&) = delete;

    int Count() const { return m_count; }
    const T& operator[](int i) const { return m_items[i]; }

private:
    int m_count;
    T m_inline[N];
    T* m_items;
};

} // namespace SKEIN
