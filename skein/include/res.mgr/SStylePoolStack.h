#pragma once
// The stack of reference-counted pools behind the style and template pool managers: pushed
// pools are searched from the newest; the stack holds one reference per pool.
#include "core/SLinkedList.h"

namespace SKEIN {

template <class Pool>
class SPoolStack {
public:
    SPoolStack() {}
    ~SPoolStack()
    {
        while (m_pools.Last())
            Pop(nullptr);
    }
    SPoolStack(const SPoolStack&) = delete;
    SPoolStack& operator=(const SPoolStack&) = delete;

    void Push(Pool* pool)
    {
        if (pool && m_pools.AddTail(pool))
            pool->AddRef();
    }

    // Removes the newest entry of pool (null: the top one) and releases it.
    BOOL Pop(Pool* pool)
    {
        typename SLinkedList<Pool*>::Node* node = m_pools.Last();
        while (node && pool && node->value != pool)
            node = node->prev;
        if (!node)
            return FALSE;
        Pool* found = node->value;
        m_pools.RemoveNode(node);
        found->Release();
        return TRUE;
    }

    // Asks found(pool) from the top down until one answers true.
    template <class Found>
    bool FindFromTop(Found found) const
    {
        for (typename SLinkedList<Pool*>::Node* node = m_pools.Last(); node; node = node->prev) {
            if (found(*node->value))
                return true;
        }
        return false;
    }

    int Count() const { return m_pools.Count(); }

private:
    SLinkedList<Pool*> m_pools;
};

} // namespace SKEIN
