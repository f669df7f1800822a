#pragma once
// Hash map that hands every value it drops to a release function (pools, caches, registries).
#include "core/SHashMap.h"

namespace SKEIN {

template <class V, class K>
class SCmnMap {
public:
    typedef void (*ReleaseFn)(V value);
    typedef typename SHashMap<K, V>::Node Node;

    explicit SCmnMap(ReleaseFn releaseValue = nullptr) : m_releaseValue(releaseValue), m_map(17, 0.75f, 0.25f, 2.25f, 10) {}
    virtual ~SCmnMap() { RemoveAll(); }
    SCmnMap(const SCmnMap&) = delete;
    SCmnMap& operator=(const SCmnMap&) = delete;

    int Count() const { return m_map.Count(); }

    // The stored value, or null when the key is absent.
    V* Find(const K& key) const
    {
        Node* node = m_map.Lookup(key);
        return node ? &node->value : nullptr;
    }

    // Stores value under key; a different value already stored there is released.
    bool Set(const K& key, const V& value)
    {
        Node* node = m_map.Lookup(key);
        if (node) {
            if (!(node->value == value))
                Release(node->value);
            node->value = value;
            return true;
        }
        return m_map.SetAt(key, value) != nullptr;
    }

    // Releases the key's value and drops the entry; false when the key is absent.
    bool Remove(const K& key)
    {
        Node* node = m_map.Lookup(key);
        if (!node)
            return false;
        Release(node->value);
        m_map.RemoveNode(node);
        return true;
    }

    // Releases every value in iteration order, then empties the map.
    void RemoveAll()
    {
        for (Node* node = m_map.FirstNode(); node; node = m_map.NextNode(node))
            Release(node->value);
        m_map.RemoveAll();
    }

    const SHashMap<K, V>& Map() const { return m_map; }

private:
    void Release(V value)
    {
        if (m_releaseValue)
            m_releaseValue(value);
    }

    ReleaseFn m_releaseValue;
    SHashMap<K, V> m_map;
};

} // namespace SKEIN
