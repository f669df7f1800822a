#pragma once
// Chained hash map with prime bin counts and load-driven rehashing. Nodes come from
// SPlexBlock blocks through a free list and keep the key's full hash, so rehashing
// never hashes again.
#include <new>
#include <stdlib.h>
#include <type_traits>
#include "core/SPlexBlock.h"
#include "core/SString.h"

namespace SKEIN {

// Class keys hash with their own Hash() and compare with ==.
template <class K, class = void>
struct SHashTraits {
    static UINT32 Hash(const K& key) { return key.Hash(); }
    static bool Equals(const K& a, const K& b) { return a == b; }
};

// Integer keys hash to their own value.
template <class K>
struct SHashTraits<K, std::enable_if_t<std::is_integral<K>::value || std::is_enum<K>::value>> {
    static UINT32 Hash(K key) { return static_cast<UINT32>(key); }
    static bool Equals(K a, K b) { return a == b; }
};

// Pointer keys hash to their own value (the low 32 bits).
template <class K>
struct SHashTraits<K*, void> {
    static UINT32 Hash(const K* key) { return static_cast<UINT32>(reinterpret_cast<UINT_PTR>(key)); }
    static bool Equals(const K* a, const K* b) { return a == b; }
};

template <>
struct SHashTraits<SStringW, void> {
    static UINT32 Hash(const SStringW& key) { return HashWideString(key.c_str()); }
    static bool Equals(const SStringW& a, const SStringW& b) { return a == b; }
};

template <class K, class V>
class SHashMap {
public:
    struct Node {
        K key;
        V value;
        Node* next;
        UINT32 hash;
    };

    explicit SHashMap(UINT32 binCount = 17, float optimalLoad = 0.75f, float lowLoad = 0.25f,
                      float highLoad = 2.25f, int blockSize = 10)
        : m_bins(nullptr), m_count(0), m_binCount(binCount), m_optimalLoad(optimalLoad), m_lowLoad(lowLoad),
          m_highLoad(highLoad), m_growThreshold(0xFFFFFFFFu), m_shrinkThreshold(0), m_rehashLock(0),
          m_blockSize(blockSize), m_blocks(nullptr), m_freeList(nullptr)
    {
        RecomputeThresholds();
    }
    ~SHashMap() { RemoveAll(); }
    SHashMap(const SHashMap&) = delete;
    SHashMap& operator=(const SHashMap&) = delete;

    int Count() const { return m_count; }
    UINT32 BinCount() const { return m_binCount; }

    Node* FindNode(const K& key, UINT32& bin, UINT32& hash, Node*& prev) const
    {
        hash = SHashTraits<K>::Hash(key);
        bin = hash % m_binCount;
        prev = nullptr;
        if (!m_bins)
            return nullptr;
        for (Node* node = m_bins[bin]; node; prev = node, node = node->next) {
            if (node->hash == hash && SHashTraits<K>::Equals(node->key, key))
                return node;
        }
        prev = nullptr;
        return nullptr;
    }

    Node* Lookup(const K& key) const
    {
        UINT32 bin, hash;
        Node* prev;
        return FindNode(key, bin, hash, prev);
    }

    // A new node for key (value default-constructed); null when memory runs out.
    Node* InsertNew(const K& key, UINT32 bin, UINT32 hash)
    {
        if (!m_bins && !InitBins(m_binCount, true))
            return nullptr;
        return AddNodeToBin(key, bin, hash);
    }

    // Stores value under key, adding the key when absent; null when memory runs out.
    Node* SetAt(const K& key, const V& value)
    {
        UINT32 bin, hash;
        Node* prev;
        Node* node = FindNode(key, bin, hash, prev);
        if (!node) {
            V keep(value); // the value may belong to a node that a rehash moves
            node = InsertNew(key, bin, hash);
            if (!node)
                return nullptr;
            node->value = keep;
            return node;
        }
        node->value = value;
        return node;
    }

    void RemoveNode(Node* node)
    {
        Node** link = &m_bins[node->hash % m_binCount];
        while (*link != node)
            link = &(*link)->next;
        *link = node->next;
        FreeNode(node);
    }

    bool RemoveKey(const K& key)
    {
        Node* node = Lookup(key);
        if (!node)
            return false;
        RemoveNode(node);
        return true;
    }

    void RemoveAll()
    {
        ++m_rehashLock;
        if (m_bins) {
            for (UINT32 b = 0; b < m_binCount; ++b) {
                for (Node* node = m_bins[b]; node;) {
                    Node* next = node->next;
                    FreeNode(node);
                    node = next;
                }
            }
        }
        free(m_bins);
        m_bins = nullptr;
        m_count = 0;
        FreeBlocks();
        --m_rehashLock;
    }

    // Bin order, newest first within a bin.
    Node* FirstNode() const
    {
        if (m_count == 0 || !m_bins)
            return nullptr;
        return FirstInBinsFrom(0);
    }

    Node* NextNode(const Node* node) const
    {
        if (node->next)
            return node->next;
        return FirstInBinsFrom(node->hash % m_binCount + 1);
    }

    // Re-bins to n bins (0: the count's own choice); the old bins stay when memory runs out.
    bool ResizeBins(UINT32 n)
    {
        if (n == 0)
            n = PickBinCount(static_cast<UINT32>(m_count));
        if (n == m_binCount)
            return true;
        if (!m_bins)
            return InitBins(n, false) != 0;
        Node** fresh = static_cast<Node**>(calloc(n, sizeof(Node*)));
        if (!fresh)
            return false;
        for (UINT32 b = 0; b < m_binCount; ++b) {
            for (Node* node = m_bins[b]; node;) {
                Node* next = node->next;
                UINT32 to = node->hash % n;
                node->next = fresh[to];
                fresh[to] = node;
                node = next;
            }
        }
        free(m_bins);
        m_bins = fresh;
        m_binCount = n;
        RecomputeThresholds();
        return true;
    }

    int InitBins(UINT32 n, bool allocate)
    {
        free(m_bins);
        m_bins = nullptr;
        if (allocate) {
            m_bins = static_cast<Node**>(calloc(n, sizeof(Node*)));
            if (!m_bins)
                return 0;
        }
        m_binCount = n;
        RecomputeThresholds();
        return 1;
    }

    UINT32 PickBinCount(UINT32 n) const
    {
        static const UINT32 primes[] = {
            17, 23, 29, 37, 41, 53, 67, 83, 103, 131, 163, 211, 257, 331, 409, 521, 647, 821, 1031, 1291,
            1627, 2053, 2591, 3251, 4099, 5167, 6521, 8209, 10331, 13007, 16411, 20663, 26017, 32771, 41299,
            52021, 65537, 82571, 104033, 131101, 165161, 208067, 262147, 330287, 416147, 524309, 660563,
            832291, 1048583, 1321139, 1664543, 2097169, 2642257, 3329023, 4194319, 5284493, 6658049,
            8388617, 10568993, 13316089};
        double wanted = static_cast<double>(n) / m_optimalLoad;
        UINT32 b = wanted >= 4294967295.0 ? 0xFFFFFFFFu : static_cast<UINT32>(wanted);
        if (b <= 17)
            return 17;
        for (UINT32 prime : primes) {
            if (prime >= b)
                return prime;
        }
        return b;
    }

    void RecomputeThresholds()
    {
        m_growThreshold = static_cast<UINT32>(m_highLoad * m_binCount);
        m_shrinkThreshold = static_cast<UINT32>(m_lowLoad * m_binCount);
        if (m_shrinkThreshold < 17)
            m_shrinkThreshold = 0;
    }

    // While locked, adding and removing never rehash.
    void LockRehash() { ++m_rehashLock; }
    void UnlockRehash() { --m_rehashLock; }

private:
    Node* FirstInBinsFrom(UINT32 bin) const
    {
        for (; bin < m_binCount; ++bin) {
            if (m_bins[bin])
                return m_bins[bin];
        }
        return nullptr;
    }

    Node* AddNodeToBin(const K& key, UINT32 bin, UINT32 hash)
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
        new (&node->key) K(key);
        new (&node->value) V();
        node->hash = hash;
        ++m_count;
        node->next = m_bins[bin];
        m_bins[bin] = node;
        if (static_cast<UINT32>(m_count) > m_growThreshold && m_rehashLock == 0)
            ResizeBins(PickBinCount(static_cast<UINT32>(m_count)));
        return node;
    }

    void FreeNode(Node* node)
    {
        node->key.~K();
        node->value.~V();
        node->next = m_freeList;
        m_freeList = node;
        --m_count;
        if (static_cast<UINT32>(m_count) < m_shrinkThreshold && m_rehashLock == 0)
            ResizeBins(PickBinCount(static_cast<UINT32>(m_count)));
        if (m_count == 0)
            FreeBlocks();
    }

    void FreeBlocks()
    {
        SPlexBlock::FreeChain(m_blocks);
        m_blocks = nullptr;
        m_freeList = nullptr;
    }

    Node** m_bins;
    int m_count;
    UINT32 m_binCount;
    float m_optimalLoad;
    float m_lowLoad;
    float m_highLoad;
    UINT32 m_growThreshold;
    UINT32 m_shrinkThreshold;
    int m_rehashLock;
    int m_blockSize;
    SPlexBlock* m_blocks;
    Node* m_freeList;
};

} // namespace SKEIN
