#pragma once
// One heap block of container nodes; the blocks of a container form a chain, newest first.
#include <stdlib.h>
#include "core/SContainerUtil.h"

namespace SKEIN {

struct SPlexBlock {
    SPlexBlock* next;
    void* alignWord; // keeps the nodes that follow the header pointer-aligned

    void* Data() { return this + 1; }

    // n nodes of nodeSize bytes; null on overflow or when memory runs out.
    static SPlexBlock* Allocate(SPlexBlock*& chain, UINT32 n, UINT32 nodeSize)
    {
        UINT32 bytes = 0;
        if (FAILED(SafeMulSize(bytes, n, nodeSize)) || FAILED(SafeAddSize(bytes, bytes, sizeof(SPlexBlock))))
            return nullptr;
        SPlexBlock* block = static_cast<SPlexBlock*>(malloc(bytes));
        if (!block)
            return nullptr;
        block->next = chain;
        block->alignWord = nullptr;
        chain = block;
        return block;
    }

    static void FreeChain(SPlexBlock* first)
    {
        while (first) {
            SPlexBlock* next = first->next;
            free(first);
            first = next;
        }
    }
};

} // namespace SKEIN
